#include "dialogs/serien.h"

#include "dialogs/pictextplus.h"

#include "controls/MUVButton.h"
#include "controls/SpezialSpin.h"
#include "dialogs/serien_picker.h"
#include "document/document.h"
#include "model/rs.h"
#include "testsupport.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
void fillSheet(TRS &sheet, const std::string &text)
{
    sheet.SetLayout(2, 3, 210, 297, 10, 10, 10, 10, 4, 2, clWhite);
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 3; ++r) {
            TRSObject *f = sheet.GetField(c, r);
            f->Kind = TFieldKind::Text;
            f->Visible = true;
            f->Text = text;
        }
}
} // namespace

TEST(SerienDialog, ListStartLabelPagesAndPdf)
{
    TempProgramFolder dir;
    const QString csv = dir.File(QStringLiteral("liste.csv"));
    QFile list(csv);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("Name\tOrt\n");
    for (int i = 1; i <= 9; ++i)
        list.write(QStringLiteral("N%1\tO%1\n").arg(i).toLatin1());
    list.close();

    TDocument document;
    fillSheet(document.Sheet(), "{Name}\r\n{Ort}");
    TForm_serien dialog(document);
    dialog.show();
    // Without a list the numbered labels cannot fill {Name}.
    EXPECT_FALSE(dialog.Ready());
    EXPECT_TRUE(dialog.lbl_Fehler->text().contains(QStringLiteral("{Name}")));
    EXPECT_FALSE(dialog.btn_Drucken->isEnabled());

    ASSERT_TRUE(dialog.LoadListFile(csv)) << dialog.ErrorText().toStdString();
    EXPECT_TRUE(dialog.Ready());
    EXPECT_EQ(dialog.lbl_Seite->text(), QStringLiteral("Seite 1 von 2"));
    // The field editor offers the list's columns as placeholders.
    {
        TForm_pictextplus editor(document, document.Sheet().GetField(1, 1));
        EXPECT_EQ(editor.Placeholders(), QStringList({"{#}", "{#:000}", "{Name}", "{Ort}"}));
    }

    // A click on the fifth label of the small sheet makes it the start:
    // 2 records on the first page, 6 and 1 after it.
    QTest::mouseClick(dialog.shp_Start, Qt::LeftButton, {},
                      dialog.shp_Start->PlaceRect(4).center().toPoint());
    EXPECT_EQ(dialog.spin_Start->Value(), 5);
    EXPECT_EQ(dialog.Options().StartLabel, 5);
    ASSERT_EQ(dialog.Merge().PageCount(), 3);
    QTest::mouseClick(dialog.btn_Vor, Qt::LeftButton);
    EXPECT_EQ(dialog.lbl_Seite->text(), QStringLiteral("Seite 2 von 3"));
    EXPECT_FALSE(dialog.PreviewImage().isNull());

    const QString pdf = dir.File(QStringLiteral("serie.pdf"));
    QString error;
    ASSERT_TRUE(dialog.SavePdf(pdf, &error)) << error.toStdString();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    EXPECT_TRUE(
        QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\n")));

    // A broken list leaves nothing to print and says why.
    QFile broken(csv);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("A;B\n\"offen;1\n");
    broken.close();
    EXPECT_FALSE(dialog.LoadListFile(csv));
    EXPECT_FALSE(dialog.btn_Pdf->isEnabled());
    EXPECT_TRUE(dialog.lbl_Fehler->text().contains(QStringLiteral("Anführungszeichen")))
        << dialog.lbl_Fehler->text().toStdString();
    EXPECT_EQ(document.Sheet().GetField(0, 0)->Text, "{Name}\r\n{Ort}");
}

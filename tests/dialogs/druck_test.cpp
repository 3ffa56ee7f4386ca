// The print dialog without a print system: its controls, the cut lines, the
// preview and the dialog's size, the shift remembered in "dorlix.ini".

#include "druck_testing.h"
#include "testsupport.h"

#include "controls/SpezialSpin.h"
#include "platform/ini.h"

#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVLabel.h"
#include "controls/MUVPanel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
// No system printers: the default A4 page, no printer name.
class NoPrinters
{
  public:
    NoPrinters()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
    }
    ~NoPrinters()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(true);
        platform::Printer::Instance().Refresh();
    }
};

// A sheet of the given division on an A4 portrait page.
void MakeSheet(TDocument &doc, int columns, int rows)
{
    TRS &sheet = doc.Sheet();
    sheet.SetLayout(columns, rows, 210, 297, 10, 10, 20, 20, 4, 2, 0x00FFFF);
    doc.Opened();
}
} // namespace

TEST(DruckCutLines, TwoColumnsAndThreeRowsGiveThreeVerticalAndFourHorizontalLines)
{
    NoPrinters none;
    PrintFixture f;
    MakeSheet(f.document, 2, 3);
    const TRS &sheet = f.document.Sheet();
    const TRSSpalte *c0 = sheet.GetColumn(0), *c1 = sheet.GetColumn(1);
    ASSERT_TRUE(c0 && c1);
    const std::vector<QLineF> lines = CutLines(sheet, 210, 297);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], QLineF(c0->Left, 0, c0->Left, 297));
    EXPECT_EQ(lines[1], QLineF(c1->Left, 0, c1->Left, 297));
    EXPECT_EQ(lines[2], QLineF(c1->Left + c1->Width, 0, c1->Left + c1->Width, 297));
    const double pitch = c1->Height / 3;
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(lines[size_t(3 + j)], QLineF(0, c1->Top + j * pitch, 210, c1->Top + j * pitch));
    EXPECT_EQ(lines[6], QLineF(0, c1->Top + c1->Height, 210, c1->Top + c1->Height));

    TRS empty;
    EXPECT_TRUE(CutLines(empty, 210, 297).empty());
}

TEST(DruckDialog, ControlsStartAsTheLayoutSays)
{
    NoPrinters none;
    PrintFixture f;
    ASSERT_TRUE(f.opened);
    TForm_druck d(f.document);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Drucken...."));
    EXPECT_EQ(d.Spin_kopien->ValueReal(), 1);
    EXPECT_EQ(d.Spin_kopien->MinValue(), 1);
    EXPECT_EQ(d.Spin_kopien->MaxValue(), 255);
    EXPECT_EQ(d.Spin_kopien->NachkommaStellen(), 0);
    EXPECT_EQ(d.Spin_kopien->TextBefore(), QStringLiteral("Anzahl der Kopien"));
    for (TSpezialSpin *spin : {d.spin_VH, d.SPIN_VV}) {
        EXPECT_EQ(spin->ValueReal(), 0);
        EXPECT_EQ(spin->MinValue(), -10);
        EXPECT_EQ(spin->MaxValue(), 297);
        EXPECT_EQ(spin->NachkommaStellen(), 1);
        EXPECT_EQ(spin->ChangeDelay(), 2500);
        EXPECT_EQ(spin->TextAfter(), QStringLiteral("mm"));
    }
    EXPECT_EQ(d.spin_VH->TextBefore(), QStringLiteral("Horizontal"));
    EXPECT_EQ(d.SPIN_VV->TextBefore(), QStringLiteral("Vertikal"));
    EXPECT_FALSE(d.MUVCheckBox1->isChecked());
    EXPECT_EQ(d.MUVCheckBox1->text(), QStringLiteral("Hintergrundlinien und Spaltenfarbe mit ausdrucken"));
    EXPECT_FALSE(d.cb_Schnittlinien->isChecked());
    EXPECT_EQ(d.cb_Schnittlinien->text(), QStringLiteral("Schnittlinien drucken"));
    EXPECT_TRUE(d.cb_merk->isChecked());
    EXPECT_EQ(d.cb_merk->text(), QStringLiteral("Blattverschiebung für diesen Drucker merken"));
    EXPECT_TRUE(d.lbl_aktdrucker->toolTip().startsWith(QStringLiteral("KLICK!\n")));
}

TEST(DruckDialog, ThePreviewIsAQuarterOfThePageAtZoomPointEightAndTheDialogFitsIt)
{
    NoPrinters none;
    TempProgramFolder folder;
    MessageCapture messages;
    PrintFixture f; // a wide sheet: the default page turned
    TForm_druck d(f.document);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QImage page;
    f.canvas.RenderToBitmap(page, clWhite, 0.8);
    const QImage &preview = d.PreviewBitmap();
    EXPECT_EQ(preview.size(), QSize(page.width() / 4, page.height() / 4));
    EXPECT_EQ(d.img1->size(), preview.size());
    // Narrower than 325 pixels: 357 pixels wide, the preview in the middle.
    ASSERT_LE(preview.width() + 32, 356);
    EXPECT_EQ(d.width(), 357);
    EXPECT_EQ(d.img1->x(), (357 - preview.width()) / 2);
    EXPECT_EQ(d.height(),
              d.pnl1->height() + d.pnl_Drucker->height() + d.pnl_Optionen->height() + d.img1->height() + 32);
    EXPECT_EQ(d.lbl_aktdrucker->Caption(), QStringLiteral("kein Drucker"));
    EXPECT_EQ(d.lbl_Dinfo->text(), QStringLiteral("Papier: 297,0 × 210,0 mm (?)"));

    // An upright sheet: the same width, a taller preview.
    MakeSheet(f.document, 2, 3);
    platform::Printer::Instance().SetOrientation(QPageLayout::Portrait);
    f.canvas.SetPageSetup(PrinterPageFor(f.document.Sheet()).setup);
    d.RefreshPreview();
    EXPECT_LE(d.PreviewBitmap().width() + 32, 356);
    EXPECT_EQ(d.width(), 357);
    EXPECT_EQ(d.img1->x(), (357 - d.PreviewBitmap().width()) / 2);
    EXPECT_EQ(d.lbl_Dinfo->text(), QStringLiteral("Papier: 210,0 × 297,0 mm (?)"));
}

TEST(DruckDialog, OptionsChangeThePreviewAndTheCutLinesLeaveWithTheNextRefresh)
{
    NoPrinters none;
    PrintFixture f;
    MakeSheet(f.document, 2, 3);
    TForm_druck d(f.document);
    d.RefreshPreview();
    const canvas::TDPage &preview = d.PreviewPage();
    const int composed = preview.ElementCount();
    EXPECT_EQ(composed, f.canvas.ElementCount());
    const QImage plain = d.PreviewBitmap();
    QTest::mouseClick(d.cb_Schnittlinien, Qt::LeftButton, {}, QPoint(8, d.cb_Schnittlinien->height() / 2));
    ASSERT_TRUE(d.cb_Schnittlinien->isChecked());
    EXPECT_EQ(preview.ElementCount(), composed + 7);
    EXPECT_NE(d.PreviewBitmap(), plain);
    // The background layer follows its box.
    EXPECT_FALSE(preview.Seite0Ausgabe());
    QTest::mouseClick(d.MUVCheckBox1, Qt::LeftButton, {}, QPoint(8, d.MUVCheckBox1->height() / 2));
    EXPECT_TRUE(preview.Seite0Ausgabe());
    EXPECT_EQ(preview.ElementCount(), composed + 7); // composed afresh, cut lines once
    QTest::mouseClick(d.cb_Schnittlinien, Qt::LeftButton, {}, QPoint(8, d.cb_Schnittlinien->height() / 2));
    EXPECT_EQ(preview.ElementCount(), composed);

    // A shift does not move the preview.
    const QImage unshifted = d.PreviewBitmap();
    d.spin_VH->SetValueReal(8);
    d.SPIN_VV->SetValueReal(-5);
    d.RefreshPreview();
    EXPECT_EQ(d.PreviewBitmap(), unshifted);
    EXPECT_EQ(preview.OffsetX(), 0);
}

TEST(DruckDialog, ThePreviewLeavesTheWindowsPageAsItIs)
{
    NoPrinters none;
    PrintFixture f;
    MakeSheet(f.document, 2, 3);
    f.document.SetModified(false);
    const int count = f.canvas.ElementCount();
    QImage before;
    f.canvas.RenderToBitmap(before, clWhite, 0.5);

    TForm_druck d(f.document);
    d.show();
    d.MUVCheckBox1->setChecked(false);
    d.cb_Schnittlinien->setChecked(true);
    d.spin_VH->SetValueReal(4);
    d.RefreshPreview();

    EXPECT_EQ(f.canvas.ElementCount(), count);
    EXPECT_TRUE(f.canvas.Seite0Ausgabe());
    EXPECT_EQ(f.canvas.OffsetX(), 0);
    EXPECT_EQ(f.canvas.OffsetY(), 0);
    QImage after;
    f.canvas.RenderToBitmap(after, clWhite, 0.5);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(f.document.Modified());

    // The same after a print job (written to a file here).
    QTemporaryDir dir;
    platform::Printer::Instance().SetPdfOutput(dir.filePath(QStringLiteral("job.pdf")));
    d.Spin_kopien->SetValueReal(2);
    const bool printed = d.PrintJob();
    platform::Printer::Instance().SetPdfOutput(QString());
    EXPECT_TRUE(printed);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("job.pdf"))));
    EXPECT_EQ(f.canvas.ElementCount(), count);
    EXPECT_TRUE(f.canvas.Seite0Ausgabe());
    EXPECT_EQ(f.canvas.OffsetX(), 0);
    f.canvas.RenderToBitmap(after, clWhite, 0.5);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(f.document.Modified());
}

TEST(DruckDialog, TheCalibrationHowToNamesThePrinterAndTheShiftFields)
{
    const QString text = TForm_druck::CalibrationHowTo(QStringLiteral("Buero"));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Buero\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("Kreuz A")));
    EXPECT_TRUE(text.contains(QStringLiteral("20 mm")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Horizontal\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Vertikal\"")));
}

TEST(DruckDialog, WithoutAPrinterTheTestPageSaysSoAndPrintsNothing)
{
    NoPrinters none;
    MessageCapture messages;
    PrintFixture f;
    TForm_druck d(f.document);
    d.show();
    ASSERT_TRUE(d.btn_testseite);
    EXPECT_EQ(d.btn_testseite->Caption(), QStringLiteral("Testseite zum Ausmessen"));
    QTest::mouseClick(d.btn_testseite, Qt::LeftButton);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Error);
    EXPECT_TRUE(messages.Messages()[0].text.contains(QStringLiteral("kein Drucker")));
    EXPECT_TRUE(d.isVisible());
}

TEST(DruckDialog, StatusQuestionNamesTheTextAfterTwoBlanks)
{
    EXPECT_EQ(TForm_druck::StatusQuestion(QStringLiteral(" Papierstau!")),
              QStringLiteral("Der Drucker meldet :  Papierstau!\r\n\r\nMöchten Sie dennoch drucken ?"));
}

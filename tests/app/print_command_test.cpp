// The window's print command: the dialog's options and the job leave the
// window's page as it was, the sheet counts as modified afterwards and the
// tool button is released; cancelling prints nothing.
#include "canvas/dpaintbox.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/SpezialSpin.h"
#include "dialogs/druck.h"
#include "window_testing.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

using namespace windowtesting;

namespace
{
class PrintCommand : public WindowTest
{
  protected:
    // Runs action on the print dialog once it shows (from inside its loop).
    static void inPrintDialog(std::function<void(TForm_druck &)> action)
    {
        QTimer::singleShot(0, [action] {
            for (int i = 0; i < 300; ++i) {
                if (auto *d = qobject_cast<TForm_druck *>(QApplication::activeModalWidget());
                    d && d->isVisible()) {
                    action(*d);
                    return;
                }
                QTest::qWait(10);
            }
            ADD_FAILURE() << "the print dialog did not appear";
        });
    }

    static QImage shown(TForm1 &w)
    {
        QImage image;
        w.DPaintbox1()->RenderToBitmap(image, clWhite, 0.4);
        return image;
    }
};
} // namespace

TEST_F(PrintCommand, PrintingLeavesTheWindowsPageAsItWasAndTheSheetModified)
{
    auto w = start("ordner-4-spalten.rsd");
    ASSERT_FALSE(w->Document().Modified());
    const QImage before = shown(*w);
    const int elements = w->DPaintbox1()->ElementCount();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("druck.pdf"));
    platform::Printer::Instance().SetPdfOutput(pdf);

    messages.Answer(platform::mrYes); // no printer to ask: print anyway
    inPrintDialog([](TForm_druck &d) {
        QTest::mouseClick(d.cb_Schnittlinien, Qt::LeftButton, {},
                          QPoint(8, d.cb_Schnittlinien->height() / 2));
        d.spin_VH->SetValueReal(6);
        d.SPIN_VV->SetValueReal(-4);
        d.Spin_kopien->SetValueReal(2);
        QTest::mouseClick(d.BTN_OK, Qt::LeftButton);
    });
    QTest::mouseClick(w->Button(QStringLiteral("btn_print")), Qt::LeftButton);
    platform::Printer::Instance().SetPdfOutput(QString());

    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              TForm_druck::StatusQuestion(QStringLiteral("Drucker nicht verfügbar!")));
    EXPECT_EQ(w->DPaintbox1()->ElementCount(), elements);
    EXPECT_EQ(w->DPaintbox1()->OffsetX(), 0);
    EXPECT_EQ(w->DPaintbox1()->OffsetY(), 0);
    EXPECT_TRUE(w->DPaintbox1()->Seite0Ausgabe());
    EXPECT_EQ(shown(*w), before);
    EXPECT_TRUE(w->Document().Modified());
    EXPECT_FALSE(w->Button(QStringLiteral("btn_print"))->isDown());
}

TEST_F(PrintCommand, CancellingPrintsNothing)
{
    auto w = start("ordner-4-spalten.rsd");
    const QImage before = shown(*w);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("druck.pdf"));
    platform::Printer::Instance().SetPdfOutput(pdf);
    inPrintDialog([](TForm_druck &d) {
        QTest::mouseClick(d.MUVCheckBox1, Qt::LeftButton, {}, QPoint(8, d.MUVCheckBox1->height() / 2));
        QTest::mouseClick(d.BTN_Abbruch, Qt::LeftButton);
    });
    QTest::mouseClick(w->Button(QStringLiteral("btn_print")), Qt::LeftButton);
    platform::Printer::Instance().SetPdfOutput(QString());
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(shown(*w), before);
    EXPECT_FALSE(w->Button(QStringLiteral("btn_print"))->isDown());
}

#include "canvas/dpaintbox.h"
#include "controls/ColourSwatch.h"
#include "controls/MUVButton.h"
#include "controls/MUVRechenzeile.h"
#include "controls/SpezialSpin.h"
#include "dialogs/rsneu.h"
#include "platform/printer.h"
#include "template_folder_env.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace
{

class LayoutDialog : public ::testing::Test
{
  protected:
    LayoutDialog()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        oldPicker_ = TForm_RSNEU::SetColourPicker([this](QWidget *, TColor &c) {
            ++picks;
            if (nextColour == clNone)
                return false;
            c = nextColour;
            return true;
        });
        oldSetup_ = TForm_RSNEU::SetPrinterSetup([this](QWidget *) {
            ++setups;
            return setupAnswer;
        });
    }
    ~LayoutDialog() override
    {
        TForm_RSNEU::SetColourPicker(oldPicker_);
        TForm_RSNEU::SetPrinterSetup(oldSetup_);
    }

    // Shows the dialog as the main window does for a new sheet.
    void showNew()
    {
        TRSLayoutValues v = dlg.Values();
        v.MarginLeft = v.MarginRight = 26.5;
        dlg.SetValues(v);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }

    // Replaces a spin field's text by typing, as the user does.
    static void type(TSpezialSpin *spin, const QString &text)
    {
        QLineEdit *e = spin->Editor();
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, text);
    }
    // The running delay of a spin field, if any.
    static QTimer *pendingDelay(TSpezialSpin *spin)
    {
        for (QTimer *t : spin->findChildren<QTimer *>())
            if (t->isActive() && t->interval() == spin->ChangeDelay())
                return t;
        return nullptr;
    }
    // Lets the delay run out now rather than after 1,5 seconds.
    static void expire(TSpezialSpin *spin)
    {
        QTimer *t = pendingDelay(spin);
        ASSERT_NE(t, nullptr);
        t->setInterval(0);
        EXPECT_TRUE(waitFor([t] { return !t->isActive(); }));
        t->setInterval(spin->ChangeDelay());
    }
    // Runs the event loop until pred holds (at most a few seconds).
    static bool waitFor(const std::function<bool()> &pred)
    {
        for (int i = 0; i < 500 && !pred(); ++i)
            QTest::qWait(10);
        return pred();
    }
    // Chooses a standard with the keyboard in the closed list.
    void choosePresetByKeys(int index)
    {
        dlg.combo_STDs->setFocus();
        QTest::keyClick(dlg.combo_STDs, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(dlg.combo_STDs, Qt::Key_Down);
    }

    // The dialog as on a system without the label template database.
    QTemporaryDir noTemplates_;
    ScopedTemplateFolder templates_{noTemplates_.path()};
    MessageCapture messages;
    TForm_RSNEU dlg;
    int picks = 0, setups = 0;
    TColor nextColour = clNone;
    bool setupAnswer = false;

  private:
    TForm_RSNEU::TColourPicker oldPicker_;
    TForm_RSNEU::TPrinterSetup oldSetup_;
};

} // namespace

TEST_F(LayoutDialog, OpensWithThePrintersLandscapePaperAndNoStandard)
{
    EXPECT_EQ(dlg.size(), QSize(671, 536));
    EXPECT_EQ(dlg.combo_STDs->count(), 7);
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), 0); // until shown
    showNew();
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Landscape);
    // Without a printer: the A4 default page, turned.
    EXPECT_EQ(dlg.Spin_sbreite->ValueText(), "297,0");
    EXPECT_EQ(dlg.spin_shoehe->ValueText(), "210,0");
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), -1);
    EXPECT_EQ(dlg.PreviewIndex(), -1);
    EXPECT_EQ(dlg.lbl_aktdrucker->text(), "kein Drucker");
    EXPECT_EQ(dlg.lbl_Papername->text(), "?");
    EXPECT_EQ(dlg.lbl_HQ->text(), "(Querformat)");
    // (297,01 - 53) / 4 and (209,97 - 18) / 6
    EXPECT_EQ(dlg.lbl_Ebreite->text(), "61,00");
    EXPECT_EQ(dlg.lbl_eHoehe->text(), "32,00");
    EXPECT_EQ(dlg.spin_spalten->Value(), 4);
    EXPECT_EQ(dlg.spin_elem->Value(), 6);
    EXPECT_EQ(dlg.spin_TXTZH->ValueText(), "1,00");
    EXPECT_EQ(dlg.spin_TXTZH->MinValue(), 0.25);
    EXPECT_EQ(dlg.spin_TXTZH->MaxValue(), 5);
    for (TSpezialSpin *s : dlg.findChildren<TSpezialSpin *>())
        EXPECT_EQ(s->ChangeDelay(), 1500) << s->objectName().toStdString();
}

TEST_F(LayoutDialog, EveryStandardFillsItsExactValues)
{
    showNew();
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        choosePresetByKeys(i);
        const TRSPreset &p = RSPresets()[std::size_t(i)];
        EXPECT_EQ(dlg.combo_STDs->currentIndex(), i);
        EXPECT_EQ(dlg.PreviewIndex(), i);
        const TRSLayoutValues v = dlg.Values();
        EXPECT_EQ(v.PageWidth, p.PageWidth);
        EXPECT_EQ(v.PageHeight, p.PageHeight);
        EXPECT_EQ(v.MarginLeft, p.MarginLeft);
        EXPECT_EQ(v.MarginRight, p.MarginRight);
        EXPECT_EQ(v.MarginTop, p.MarginTop);
        EXPECT_EQ(v.MarginBottom, p.MarginBottom);
        EXPECT_EQ(v.ColumnGap, 0.0);
        EXPECT_EQ(v.FieldSpacing, p.FieldSpacing);
        EXPECT_EQ(v.LineFactor, 1.0);
        EXPECT_EQ(v.Columns, p.Columns);
        EXPECT_EQ(v.Rows, p.Rows);
        EXPECT_EQ(platform::Printer::Instance().Orientation(),
                  p.Orientation ? QPageLayout::Landscape : QPageLayout::Portrait);
        EXPECT_EQ(dlg.lbl_HQ->text(), p.Orientation ? "(Querformat)" : "(Hochformat)");
        // Reading the values kept the selection.
        EXPECT_EQ(dlg.combo_STDs->currentIndex(), i);
    }
    // The last one was 3 × 7 labels of 64 × 36 mm.
    EXPECT_EQ(dlg.lbl_Ebreite->text(), "64,00");
    EXPECT_EQ(dlg.lbl_eHoehe->text(), "36,00");
}

TEST_F(LayoutDialog, StandardChosenWithTheMouseInTheOpenList)
{
    showNew();
    QTest::mouseClick(dlg.combo_STDs, Qt::LeftButton);
    QAbstractItemView *view = dlg.combo_STDs->view();
    ASSERT_TRUE(waitFor([view] { return view->isVisible(); }));
    // Moving through the open list shows each entry's picture.
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(dlg.PreviewIndex(), 0);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(dlg.PreviewIndex(), 1);
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), -1);
    // The list takes no click as long as it could still be the opening
    // click's second half, as for a user.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QModelIndex five = view->model()->index(5, 0);
    QTest::mouseMove(view->viewport(), view->visualRect(five).center());
    EXPECT_EQ(dlg.PreviewIndex(), 5);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(five).center());
    EXPECT_TRUE(waitFor([view] { return !view->isVisible(); }));
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), 5);
    EXPECT_EQ(dlg.PreviewIndex(), 5);
    EXPECT_EQ(dlg.lbl_Ebreite->text(), "38,00");
    EXPECT_EQ(dlg.lbl_eHoehe->text(), "21,20");
    EXPECT_EQ(dlg.Values().Rows, 13);
}

TEST_F(LayoutDialog, DisplaysFollowTypingAfterTheDelayAndClearTheStandard)
{
    showNew();
    choosePresetByKeys(0);
    ASSERT_EQ(dlg.lbl_Ebreite->text(), "61,25");
    type(dlg.spin_dx, "2");
    // Nothing happens while the user may still be typing.
    EXPECT_EQ(dlg.lbl_Ebreite->text(), "61,25");
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), 0);
    expire(dlg.spin_dx);
    EXPECT_EQ(dlg.lbl_Ebreite->text(), "59,75");
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), -1);
    EXPECT_EQ(dlg.PreviewIndex(), -1);

    // Enter applies at once; rows are whole numbers.
    type(dlg.spin_elem, "4");
    QTest::keyClick(dlg.spin_elem->Editor(), Qt::Key_Return);
    EXPECT_EQ(dlg.lbl_eHoehe->text(), "48,00");
    EXPECT_TRUE(dlg.isVisible()); // Enter in a field does not close the dialog
    // Choosing the same standard again re-applies all its values.
    choosePresetByKeys(1);
    choosePresetByKeys(0);
    EXPECT_EQ(dlg.Values().ColumnGap, 0);
    EXPECT_EQ(dlg.Values().Rows, 6);
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), 0);
}

TEST_F(LayoutDialog, OkAndCancelGiveTheirResults)
{
    showNew();
    // Caption and glyph fit the buttons at the font in use.
    for (const TMUVButton *b : {dlg.btn_ok, dlg.btn_cancel}) {
        EXPECT_GE(b->height(), b->sizeHint().height());
        EXPECT_GE(b->width(), b->sizeHint().width());
        EXPECT_LE(b->geometry().bottom(), dlg.height() - 8);
    }
    QTest::mouseClick(dlg.btn_cancel, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), TForm_RSNEU::mrCancel);
    EXPECT_FALSE(dlg.isVisible());

    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), TForm_RSNEU::mrCancel);

    dlg.show();
    dlg.close(); // the close box
    EXPECT_EQ(dlg.result(), TForm_RSNEU::mrCancel);

    dlg.show();
    QTest::mouseClick(dlg.btn_ok, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), TForm_RSNEU::mrOk);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(LayoutDialog, ValuesThatMakeNoSheetKeepTheDialogOpenWithWhatWasTyped)
{
    showNew();
    dlg.setResult(0);
    type(dlg.spin_rali, "150");
    type(dlg.spin_rare, "150");
    QTest::mouseClick(dlg.btn_ok, Qt::LeftButton);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Error);
    EXPECT_TRUE(messages.Texts()[0].contains("Rand links (150,00 mm)")) << messages.Texts()[0].toStdString();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.spin_rali->Editor()->text(), "150,0");
    EXPECT_EQ(dlg.spin_rare->Editor()->text(), "150,0");
    // The displays show what the values give.
    EXPECT_TRUE(dlg.lbl_Ebreite->text().startsWith("-"));

    // Corrected, the same OK goes through.
    type(dlg.spin_rare, "10");
    type(dlg.spin_rali, "10");
    QTest::mouseClick(dlg.btn_ok, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), TForm_RSNEU::mrOk);
    EXPECT_EQ(dlg.Values().MarginLeft, 10);
}

TEST_F(LayoutDialog, SpacingThatLeavesNoRoomIsRefused)
{
    showNew();
    type(dlg.spin_white, "40");
    QTest::mouseClick(dlg.btn_ok, Qt::LeftButton);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].startsWith("Der Zwischenabstand von 40,00 mm ist zu groß"));
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(LayoutDialog, SwatchesOpenTheColourChoice)
{
    showNew();
    dlg.SetValues([&] {
        TRSLayoutValues v = dlg.Values();
        v.BackgroundColor = 0x123456;
        return v;
    }());
    EXPECT_EQ(dlg.shp_BK->toolTip(), "Klick für andere Farbe");
    EXPECT_EQ(dlg.shp_LINCOLR->Tag(), 2);
    // Cancelled: the colour stays.
    QTest::mouseClick(dlg.shp_BK, Qt::LeftButton, {}, dlg.shp_BK->rect().center());
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(dlg.Values().BackgroundColor, 0x123456);
    // Chosen: only the clicked swatch changes.
    nextColour = 0x00FF00;
    QTest::mouseClick(dlg.shp_LINCOLR, Qt::LeftButton, {}, dlg.shp_LINCOLR->rect().center());
    EXPECT_EQ(picks, 2);
    EXPECT_EQ(dlg.Values().RowLineColor, 0x00FF00);
    EXPECT_EQ(dlg.Values().ColumnLineColor, clSilver);
    EXPECT_EQ(dlg.Values().BackgroundColor, 0x123456);
}

TEST_F(LayoutDialog, PrinterLabelsOpenThePrinterSetup)
{
    showNew();
    choosePresetByKeys(4); // portrait labels
    type(dlg.spin_shoehe, "280");
    QTest::keyClick(dlg.spin_shoehe->Editor(), Qt::Key_Return);
    // Cancelled setup: nothing is read again.
    QTest::mouseClick(dlg.lbl_aktdrucker, Qt::LeftButton);
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(dlg.spin_shoehe->ValueReal(), 280);
    // The setup opens in the orientation of the page the hidden canvas holds.
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Landscape);
    // Confirmed: the page size follows the printer's paper again.
    setupAnswer = true;
    QTest::mouseClick(dlg.lbl_Papername, Qt::LeftButton);
    EXPECT_EQ(setups, 2);
    EXPECT_NEAR(dlg.spin_shoehe->ValueReal(), 209.97, 0.01);
    EXPECT_NEAR(dlg.Spin_sbreite->ValueReal(), 297.01, 0.01);
}

TEST_F(LayoutDialog, ChangeModeKeepsThePageSizeFieldsShut)
{
    TRSLayoutValues v;
    v.PageWidth = 210;
    v.PageHeight = 297;
    v.Columns = 5;
    v.Rows = 13;
    dlg.SetValues(v);
    dlg.SetChangeMode();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_FALSE(dlg.Spin_sbreite->isEnabled());
    EXPECT_FALSE(dlg.spin_shoehe->isEnabled());
    EXPECT_EQ(dlg.combo_STDs->currentIndex(), -1);
    // The page size is the sheet's, the printer turned to match it.
    EXPECT_EQ(dlg.Spin_sbreite->ValueReal(), 210);
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Portrait);
    EXPECT_EQ(dlg.lbl_HQ->text(), "(Hochformat)");
    EXPECT_EQ(dlg.Values().Columns, 5);
}

TEST_F(LayoutDialog, CalculationLineWorksInTheDialog)
{
    showNew();
    dlg.cb_rechner->setFocus();
    QTest::keyClicks(dlg.cb_rechner, "(297 - 2*30) / 4");
    QTest::keyClick(dlg.cb_rechner, Qt::Key_Return);
    EXPECT_EQ(dlg.cb_rechner->currentText(), "59,25");
    EXPECT_EQ(dlg.cb_rechner->count(), 2);
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClicks(dlg.cb_rechner, "/0");
    QTest::keyClick(dlg.cb_rechner, Qt::Key_Return);
    EXPECT_EQ(messages.Texts(), QStringList{"Division durch 0"});
}

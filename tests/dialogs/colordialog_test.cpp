// The colour dialog driven through real key and mouse input: every way of
// choosing a colour keeps the others in step; favourites are kept in their
// file.
#include "dialogs/colorDialog.h"

#include "canvas/colours.h"
#include "controls/MUVColorHistory.h"
#include "controls/MUVComboFarbFav.h"
#include "controls/MUVWebColorBox.h"
#include "controls/SpezialSpin.h"
#include "controls/oxColorPicker.h"
#include "temp_desktop_home.h"

#include "controls/MUVButton.h"
#include "controls/MUVLabel.h"
#include "controls/MUVPanel.h"
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <gtest/gtest.h>
#include <memory>

using canvas::RGBToTColor;
using canvas::TColor;

namespace
{
// Answers the dialog's input boxes from a queue; an empty queue cancels.
struct ScriptedInput {
    static inline std::deque<QString> answers;
    static inline QStringList captions;
    static inline QStringList presets;
    static bool Ask(QWidget *, const QString &caption, const QString &, QString &value)
    {
        captions << caption;
        presets << value;
        if (answers.empty())
            return false;
        value = answers.front();
        answers.pop_front();
        return true;
    }
};

class ColorDialogTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ScriptedInput::answers.clear();
        ScriptedInput::captions.clear();
        ScriptedInput::presets.clear();
        previousQuery_ = TForm_ColorDLG::SetInputQuery(&ScriptedInput::Ask);
        favs_ = dir_.filePath("cfv.def");
    }
    void TearDown() override { TForm_ColorDLG::SetInputQuery(previousQuery_); }

    std::unique_ptr<TForm_ColorDLG> Open(TColor colour)
    {
        auto dlg = std::make_unique<TForm_ColorDLG>(nullptr, favs_);
        dlg->CurrentColor = colour;
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return dlg;
    }

    static void TypeInto(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static void TypeIntoSpin(TSpezialSpin *spin, const QString &text)
    {
        TypeInto(spin->Editor(), text);
        QTest::keyClick(spin->Editor(), Qt::Key_Return);
    }

    static QColor Swatch(TForm_ColorDLG &dlg)
    {
        return dlg.shape_Akt->grab().toImage().pixelColor(dlg.shape_Akt->width() / 2,
                                                          dlg.shape_Akt->height() / 2);
    }

    QTemporaryDir dir_;
    QString favs_;
    TForm_ColorDLG::InputQuery previousQuery_ = nullptr;
};
} // namespace

TEST_F(ColorDialogTest, OpensWithTheCallersColourInEveryControl)
{
    auto dlg = Open(RGBToTColor(160, 160, 160));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Farbe wählen..."));
    EXPECT_EQ(dlg->size(), QSize(445, 331));
    EXPECT_EQ(dlg->spin_R->Value(), 160);
    EXPECT_EQ(dlg->Spin_G->Value(), 160);
    EXPECT_EQ(dlg->Spin_B->Value(), 160);
    EXPECT_EQ(dlg->spin_H->Value(), 0);
    EXPECT_EQ(dlg->spin_S->Value(), 0);
    EXPECT_EQ(dlg->spin_L->Value(), 63);
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("A0A0A0"));
    EXPECT_EQ(dlg->WebColorBox->currentIndex(),
              colours::IndexOfColor(dlg->WebColorBox->Entries(), RGBToTColor(160, 160, 160)));
    EXPECT_EQ(dlg->ColorPicker->PickColor(), RGBToTColor(160, 160, 160));
    EXPECT_EQ(Swatch(*dlg), QColor(160, 160, 160));
    EXPECT_EQ(dlg->clr_Favs->currentIndex(), -1);
    EXPECT_FALSE(dlg->ColorPicker->EditVisible());
    EXPECT_EQ(dlg->ColorPicker->height(), 293);
    EXPECT_EQ(dlg->spin_H->MaxValue(), 360);
    EXPECT_EQ(dlg->spin_L->MaxValue(), 100);
    EXPECT_EQ(dlg->spin_R->ChangeDelay(), 2000);
    EXPECT_EQ(dlg->clr_Favs->DroppedWidth(), 250);

    // The standard strip from top to bottom.
    const TColor strip[16] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x0000FF, 0x008000, 0xFF0000, 0x00FFFF,
                              0x00FF00, 0xFF00FF, 0xFFFF00, 0x000080, 0x008080, 0x800000, 0x800080, 0x808000};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(dlg->STD_Colorctrl->Color(i), strip[i]) << i;
        EXPECT_EQ(dlg->STD_Colorctrl->CellPos(i), QPoint(0, 16 * i));
    }
}

// Every caption shows whole at the font in use ("Grün", not "Gr..."), and
// nothing it names is covered by the next control.
TEST_F(ColorDialogTest, CaptionsAreNeverCut)
{
    auto dlg = Open(clRed);
    int captions = 0;
    for (const TMUVLabel *label : dlg->findChildren<TMUVLabel *>()) {
        if (label->Caption().isEmpty() || !label->isVisible())
            continue;
        ++captions;
        SCOPED_TRACE(label->Caption().toStdString());
        EXPECT_EQ(label->DisplayedText(), label->Caption());
    }
    EXPECT_GE(captions, 9); // HTML, #, Rot, Grün, Blau, L, S, H, Favoriten
    // The hex field begins after its "#".
    for (const TMUVLabel *label : dlg->findChildren<TMUVLabel *>())
        if (label->Caption() == QStringLiteral("#")) {
            EXPECT_GE(dlg->edit_hex->x(),
                      label->x() + 4 + label->fontMetrics().horizontalAdvance(QStringLiteral("#")));
        }
}

TEST_F(ColorDialogTest, HexEditFiltersKeysPadsAndApplies)
{
    auto dlg = Open(RGBToTColor(160, 160, 160));
    TypeInto(dlg->edit_hex, QStringLiteral("f#z-f"));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("FF"));
    QTest::keyClick(dlg->edit_hex, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible()); // RETURN does not close the dialog
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 0, 255));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("0000FF"));
    EXPECT_EQ(dlg->Spin_B->Value(), 255);
    EXPECT_EQ(dlg->spin_H->Value(), 240);
    EXPECT_EQ(dlg->spin_S->Value(), 100);
    EXPECT_EQ(dlg->WebColorBox->currentText(), QStringLiteral("blue"));
    EXPECT_TRUE(dlg->ColorPicker->Field()->hasFocus());

    TypeInto(dlg->edit_hex, QStringLiteral("12aB9c"));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("12AB9C"));
    QTest::keyClick(dlg->edit_hex, Qt::Key_Backspace);
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("12AB9"));
    QTest::keyClick(dlg->edit_hex, Qt::Key_Enter);
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0x01, 0x2A, 0xB9));

    // Longer text: the last six digits count.
    TypeInto(dlg->edit_hex, QStringLiteral("ABCDEF123456"));
    QTest::keyClick(dlg->edit_hex, Qt::Key_Return);
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0x12, 0x34, 0x56));

    // Text that is no hex (only by code) changes nothing.
    dlg->edit_hex->setText(QStringLiteral("G12345"));
    dlg->ApplyHexEdit();
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0x12, 0x34, 0x56));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("G12345"));

    // Copy as HTML applies the edit first.
    TypeInto(dlg->edit_hex, QStringLiteral("c0"));
    QTest::mouseClick(dlg->btn_clpbrd, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("#0000C0"));
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 0, 0xC0));
}

TEST_F(ColorDialogTest, SpinsChangeTheColour)
{
    auto dlg = Open(RGBToTColor(0, 0, 0));
    TypeIntoSpin(dlg->spin_R, QStringLiteral("200"));
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(200, 0, 0));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("C80000"));
    EXPECT_EQ(dlg->spin_L->Value(), 78);
    TypeIntoSpin(dlg->Spin_B, QStringLiteral("300")); // held to 255
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(200, 0, 255));
    EXPECT_EQ(dlg->Spin_B->Value(), 255);

    // H, S and L go through the picker, which may settle a step away.
    TypeIntoSpin(dlg->spin_H, QStringLiteral("120"));
    const colours::THSV typed{120, colours::PercentToByte(dlg->spin_S->Value()),
                              colours::PercentToByte(dlg->spin_L->Value())};
    const colours::TRGB direct = colours::HSVToRGB(typed.H, typed.S, typed.V);
    const colours::THSV h = colours::RGBToHSV(direct.R, direct.G, direct.B);
    EXPECT_EQ(dlg->CurrentColor, colours::HSVToColor(h.H, h.S, h.V));
    EXPECT_EQ(dlg->ColorPicker->PickColor(), dlg->CurrentColor);
    EXPECT_NEAR(dlg->spin_H->Value(), 120, 1);

    // H = 360 gives the colour of H = 0.
    TypeIntoSpin(dlg->spin_H, QStringLiteral("360"));
    const TColor at360 = dlg->CurrentColor;
    TypeIntoSpin(dlg->spin_H, QStringLiteral("0"));
    EXPECT_EQ(dlg->CurrentColor, at360);

    TypeIntoSpin(dlg->spin_L, QStringLiteral("0"));
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 0, 0));

    // The arrows of a spin change the colour when the button is let go.
    QTest::mouseClick(dlg->Spin_G, Qt::LeftButton, {}, dlg->Spin_G->UpArrowRect().center());
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 1, 0));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("000100"));
    QTest::mouseClick(dlg->Spin_G, Qt::LeftButton, {}, dlg->Spin_G->DownArrowRect().center());
    QTest::mouseClick(dlg->Spin_G, Qt::LeftButton, {}, dlg->Spin_G->DownArrowRect().center());
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 0, 0)); // held at 0
}

TEST_F(ColorDialogTest, DraggingInTheFieldFollowsTheMouse)
{
    auto dlg = Open(RGBToTColor(0, 0, 255));
    QWidget *field = dlg->ColorPicker->Field();
    QTest::mousePress(field, Qt::LeftButton, {}, QPoint(200, 50));
    const QPoint path[] = {QPoint(150, 60), QPoint(100, 100), QPoint(300, -20)};
    for (const QPoint p : path) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), field->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &move);
    }
    QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(300, -20));
    // Beyond the top-right corner: full saturation and value at blue's hue.
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 0, 255));
    EXPECT_EQ(dlg->ColorPicker->Field()->MarkerPos(), QPoint(254, 0));
    EXPECT_EQ(dlg->spin_S->Value(), 100);
    EXPECT_EQ(dlg->spin_L->Value(), 100);
    QMouseEvent move(QEvent::MouseMove, QPointF(51, 204), field->mapToGlobal(QPointF(51, 204)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QTest::mousePress(field, Qt::LeftButton, {}, QPoint(10, 10));
    QApplication::sendEvent(field, &move);
    QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(51, 204));
    // S = 51, V = 51 at hue 240.
    EXPECT_EQ(dlg->CurrentColor, colours::HSVToColor(240, 51, 51));
    EXPECT_EQ(dlg->spin_S->Value(), 20);
    EXPECT_EQ(dlg->spin_L->Value(), 20);
}

TEST_F(ColorDialogTest, PickingInTheFieldTheHueBarTheStripAndTheList)
{
    auto dlg = Open(RGBToTColor(255, 0, 0));
    QTest::mouseClick(dlg->ColorPicker->Field(), Qt::LeftButton, Qt::NoModifier, QPoint(255, 0));
    // The field's top-right corner at red hue.
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(255, 0, 0));
    QTest::mouseClick(dlg->ColorPicker->HueBar(), Qt::LeftButton, Qt::NoModifier, QPoint(85, 8));
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(0, 255, 0));
    EXPECT_EQ(dlg->spin_H->Value(), 120);
    EXPECT_EQ(dlg->WebColorBox->currentText(), QStringLiteral("lime"));
    QTest::mouseClick(dlg->ColorPicker->Field(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 128));
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(127, 127, 127));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("7F7F7F"));
    EXPECT_EQ(dlg->spin_S->Value(), 0);
    EXPECT_EQ(Swatch(*dlg), QColor(127, 127, 127));

    // A cell of the standard strip (the fifth is red).
    QTest::mouseClick(dlg->STD_Colorctrl, Qt::LeftButton, Qt::NoModifier, QPoint(8, 4 * 16 + 8));
    EXPECT_EQ(dlg->CurrentColor, RGBToTColor(255, 0, 0));
    EXPECT_EQ(dlg->ColorPicker->PickColor(), RGBToTColor(255, 0, 0));
    EXPECT_EQ(dlg->ColorPicker->HueBar()->MarkerPos().x(), 0);

    // A named colour chosen with the keyboard.
    dlg->WebColorBox->setFocus();
    dlg->WebColorBox->setCurrentIndex(25);
    QTest::keyClick(dlg->WebColorBox, Qt::Key_Down);
    EXPECT_EQ(dlg->WebColorBox->currentIndex(), 26);
    EXPECT_EQ(dlg->CurrentColor, colours::HtmlValueToColor(0xE9967A));
    EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("E9967A"));
}

TEST_F(ColorDialogTest, FavouritesAreAddedRenamedDeletedAndSavedOnClose)
{
    {
        auto dlg = Open(RGBToTColor(10, 20, 30));
        ScriptedInput::answers = {QStringLiteral("Nachtblau mit einem sehr langen Namen dahinter")};
        QTest::mouseClick(dlg->btn_plusfav, Qt::LeftButton);
        ASSERT_EQ(dlg->clr_Favs->FavoriteCount(), 1);
        EXPECT_EQ(dlg->clr_Favs->currentIndex(), -1);
        EXPECT_EQ(ScriptedInput::captions.value(0), QStringLiteral("Farbfavorit"));
        EXPECT_EQ(ScriptedInput::presets.value(0), QStringLiteral("noch kein Name"));
        EXPECT_EQ(dlg->clr_Favs->FavoriteName(0), QStringLiteral("Nachtblau mit einem sehr langen "));

        // The same R, G, B under another name adds nothing; cancel adds nothing.
        ScriptedInput::answers = {QStringLiteral("anders")};
        QTest::mouseClick(dlg->btn_plusfav, Qt::LeftButton);
        QTest::mouseClick(dlg->btn_plusfav, Qt::LeftButton);
        EXPECT_EQ(dlg->clr_Favs->FavoriteCount(), 1);

        TypeInto(dlg->edit_hex, QStringLiteral("FF8000"));
        QTest::keyClick(dlg->edit_hex, Qt::Key_Return);
        ScriptedInput::answers = {QStringLiteral("Orange")};
        QTest::mouseClick(dlg->btn_plusfav, Qt::LeftButton);
        ASSERT_EQ(dlg->clr_Favs->FavoriteCount(), 2);

        // The menu entries work only with a favourite selected.
        dlg->clr_Favs->setCurrentIndex(-1);
        emit dlg->PM_Favs->aboutToShow();
        EXPECT_FALSE(dlg->PM_Favs_DEL->isEnabled());
        EXPECT_FALSE(dlg->PM_FAVs_Rename->isEnabled());

        // Choosing the first favourite with the keyboard.
        dlg->clr_Favs->setFocus();
        QTest::keyClick(dlg->clr_Favs, Qt::Key_Down);
        EXPECT_EQ(dlg->clr_Favs->currentIndex(), 0);
        EXPECT_EQ(dlg->CurrentColor, RGBToTColor(10, 20, 30));
        EXPECT_EQ(dlg->clr_Favs->currentIndex(), 0); // kept: the change came from the box
        emit dlg->PM_Favs->aboutToShow();
        EXPECT_TRUE(dlg->PM_FAVs_Rename->isEnabled());
        ScriptedInput::answers = {QStringLiteral("Tiefblau")};
        dlg->PM_FAVs_Rename->trigger();
        EXPECT_EQ(ScriptedInput::captions.last(), QStringLiteral("Farbfavoritenname ändern"));
        EXPECT_EQ(ScriptedInput::presets.last(), QStringLiteral("Nachtblau mit einem sehr langen "));
        EXPECT_EQ(dlg->clr_Favs->FavoriteName(0), QStringLiteral("Tiefblau"));
        // A change elsewhere clears the favourite selection.
        QTest::mouseClick(dlg->STD_Colorctrl, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
        EXPECT_EQ(dlg->clr_Favs->currentIndex(), -1);
        EXPECT_FALSE(QFileInfo::exists(favs_)); // written only on closing
        QTest::mouseClick(dlg->BTN_Abbruch, Qt::LeftButton);
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
    }
    EXPECT_EQ(QFileInfo(favs_).size(), 80);
    {
        auto dlg = Open(RGBToTColor(1, 2, 3));
        ASSERT_EQ(dlg->clr_Favs->FavoriteCount(), 2);
        EXPECT_EQ(dlg->clr_Favs->FavoriteName(0), QStringLiteral("Tiefblau"));
        EXPECT_EQ(dlg->clr_Favs->FavoriteName(1), QStringLiteral("Orange"));
        dlg->clr_Favs->setCurrentIndex(1);
        dlg->PM_Favs_DEL->trigger();
        EXPECT_EQ(dlg->clr_Favs->FavoriteCount(), 1);
        EXPECT_EQ(dlg->clr_Favs->currentIndex(), -1);
        QTest::mouseClick(dlg->BTN_OK, Qt::LeftButton);
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
    }
    EXPECT_EQ(QFileInfo(favs_).size(), 40);
}

TEST_F(ColorDialogTest, PickColourReturnsTheChoiceOnlyAfterOk)
{
    TempDesktopHome home; // the default favourites file lives there
    QWidget caller;
    caller.setGeometry(100, 100, 500, 400);
    caller.show();

    TColor colour = RGBToTColor(1, 2, 3);
    QTimer::singleShot(0, [] {
        auto *dlg = qobject_cast<TForm_ColorDLG *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->edit_hex->text(), QStringLiteral("010203"));
        TypeInto(dlg->edit_hex, QStringLiteral("ABCDEF"));
        QTest::keyClick(dlg->edit_hex, Qt::Key_Return);
        QTest::mouseClick(dlg->BTN_Abbruch, Qt::LeftButton);
    });
    EXPECT_FALSE(PickColour(&caller, colour));
    EXPECT_EQ(colour, RGBToTColor(1, 2, 3));

    QTimer::singleShot(0, [] {
        auto *dlg = qobject_cast<TForm_ColorDLG *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        TypeInto(dlg->edit_hex, QStringLiteral("ABCDEF"));
        QTest::keyClick(dlg->edit_hex, Qt::Key_Return);
        ScriptedInput::answers = {QStringLiteral("Lieblingsfarbe")};
        QTest::mouseClick(dlg->btn_plusfav, Qt::LeftButton);
        QTest::mouseClick(dlg->BTN_OK, Qt::LeftButton);
    });
    EXPECT_TRUE(PickColour(&caller, colour, TColorDialogPlace::BeyondCallerCorner));
    EXPECT_EQ(colour, RGBToTColor(0xAB, 0xCD, 0xEF));
    EXPECT_EQ(QFileInfo(TForm_ColorDLG::DefaultFavoritesFile()).size(), 40);
    EXPECT_TRUE(TForm_ColorDLG::DefaultFavoritesFile().startsWith(home.Path()));

    // Escape counts as cancel.
    QTimer::singleShot(0, [] {
        QWidget *dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    EXPECT_FALSE(PickColour(&caller, colour));
    EXPECT_EQ(colour, RGBToTColor(0xAB, 0xCD, 0xEF));
}

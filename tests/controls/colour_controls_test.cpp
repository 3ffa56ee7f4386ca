// The colour controls driven through real mouse and key events: the HSV
// picker with its field, hue bar and edits, the colour strip and the box of
// named colours.
#include "controls/MUVColorHistory.h"
#include "controls/MUVWebColorBox.h"
#include "controls/oxColorPicker.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

using canvas::RGBToTColor;
using canvas::TColor;
using colours::THSV;

namespace
{
class PickerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        picker_ = std::make_unique<ToxColorPicker>();
        picker_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker_.get()));
    }

    QRgb Shown(QWidget *w, QPoint p) { return w->grab().toImage().pixel(p) & 0xFFFFFF; }

    std::unique_ptr<ToxColorPicker> picker_;
};

void Drag(QWidget *w, QPoint from, QPoint to)
{
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
}
} // namespace

TEST_F(PickerTest, LayoutAndHeight)
{
    EXPECT_EQ(picker_->width(), 267);
    EXPECT_EQ(picker_->Field()->geometry(), QRect(6, 6, 255, 255));
    EXPECT_EQ(picker_->HueBar()->geometry(), QRect(6, 268, 255, 16));
    EXPECT_EQ(picker_->Edits()->pos(), QPoint(5, 290));
    EXPECT_EQ(picker_->height(), picker_->Edits()->geometry().bottom() + 1 + 5);
    picker_->SetEditVisible(false);
    EXPECT_EQ(picker_->height(), 293);
    EXPECT_FALSE(picker_->Edits()->isVisible());
}

TEST_F(PickerTest, SettingTheColourGivesItsRoundTripWithoutAnEvent)
{
    QSignalSpy changes(picker_.get(), &ToxColorPicker::OnColorChange);
    picker_->SetPickColor(RGBToTColor(255, 0, 0));
    EXPECT_EQ(picker_->PickColor(), RGBToTColor(255, 0, 0));
    EXPECT_EQ(picker_->Field()->MarkerPos(), QPoint(254, 0)); // kept inside
    EXPECT_EQ(picker_->HueBar()->MarkerPos(), QPoint(0, 8));

    const TColor odd = RGBToTColor(10, 200, 101);
    const THSV hsv = colours::RGBToHSV(10, 200, 101);
    picker_->SetPickColor(odd);
    EXPECT_EQ(picker_->PickColor(), colours::HSVToColor(hsv.H, hsv.S, hsv.V));
    EXPECT_NE(picker_->PickColor(), odd);
    EXPECT_EQ(picker_->Edits()->Edit(0)->text(), QString::number(canvas::RedOf(picker_->PickColor())));
    EXPECT_EQ(picker_->HueBar()->MarkerPos().x(), colours::MulDiv(hsv.H, 255, 360));
    // A system colour is resolved first.
    picker_->SetPickColor(canvas::SystemColor(12));
    EXPECT_EQ(picker_->Edits()->Edit(0)->text(), QStringLiteral("171"));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(PickerTest, PickingInTheFieldAndTheHueBar)
{
    QSignalSpy changes(picker_.get(), &ToxColorPicker::OnColorChange);
    QTest::mouseClick(picker_->Field(), Qt::LeftButton, Qt::NoModifier, QPoint(128, 64));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(picker_->Field()->HSV(), (THSV{0, 128, 191}));
    EXPECT_EQ(changes.at(0).at(0).value<TColor>(), colours::HSVToColor(0, 128, 191));
    EXPECT_EQ(picker_->PickColor(), colours::HSVToColor(0, 128, 191));
    EXPECT_TRUE(picker_->Field()->hasFocus());

    // The hue bar turns the field to green; saturation and value stay.
    QTest::mouseClick(picker_->HueBar(), Qt::LeftButton, Qt::NoModifier, QPoint(85, 8));
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(picker_->Field()->HSV(), (THSV{120, 128, 191}));
    EXPECT_EQ(picker_->PickColor(), colours::HSVToColor(120, 128, 191));
    const colours::TRGB corner = colours::HSVToRGB(120, 254, 255);
    EXPECT_EQ(picker_->Field()->Picture().pixel(254, 0) & 0xFFFFFF,
              QRgb(corner.R << 16 | corner.G << 8 | corner.B));
    EXPECT_EQ(picker_->HueBar()->MarkerPos(), QPoint(85, 8));

    // Dragging beyond the field keeps the cross at the border; the values stop
    // at their limits.
    Drag(picker_->Field(), QPoint(100, 100), QPoint(-30, 400));
    EXPECT_EQ(picker_->Field()->MarkerPos(), QPoint(0, 254));
    EXPECT_EQ(picker_->Field()->HSV().S, 0);
    EXPECT_EQ(picker_->Field()->HSV().V, 0);
    EXPECT_EQ(picker_->PickColor(), RGBToTColor(0, 0, 0));
    Drag(picker_->HueBar(), QPoint(10, 8), QPoint(300, 8));
    EXPECT_EQ(picker_->HueBar()->HSV().H, 360);
}

TEST_F(PickerTest, TheMarkerInvertsThePictureUnderIt)
{
    picker_->SetPickColor(RGBToTColor(40, 80, 200));
    QTest::mouseClick(picker_->Field(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    const QImage shown = picker_->Field()->grab().toImage();
    const QImage &picture = picker_->Field()->Picture();
    for (const QPoint p : {QPoint(100, 46), QPoint(100, 54), QPoint(96, 50), QPoint(104, 50)})
        EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, ~picture.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    // Away from the cross the picture shows unchanged.
    EXPECT_EQ(shown.pixel(110, 60) & 0xFFFFFF, picture.pixel(110, 60) & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(100, 44) & 0xFFFFFF, picture.pixel(100, 44) & 0xFFFFFF);
}

TEST_F(PickerTest, EditsFilterKeysAndFollowTheirText)
{
    QSignalSpy changes(picker_.get(), &ToxColorPicker::OnColorChange);
    QLineEdit *red = picker_->Edits()->Edit(0);
    QLineEdit *green = picker_->Edits()->Edit(1);
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("2x0a-0"));
    EXPECT_EQ(red->text(), QStringLiteral("200"));
    green->setFocus();
    green->selectAll();
    QTest::keyClick(green, Qt::Key_Backspace);
    EXPECT_EQ(green->text(), QString());
    EXPECT_GT(changes.count(), 0);
    const colours::TRGB rgb = colours::ColorToRGB(picker_->Edits()->Color());
    EXPECT_EQ(rgb.R, 200);
    EXPECT_EQ(rgb.G, 0);
    // Leaving an empty edit writes 0; a number above 255 is held to 255.
    red->setFocus();
    EXPECT_EQ(green->text(), QStringLiteral("0"));
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("999"));
    green->setFocus();
    EXPECT_EQ(red->text(), QStringLiteral("255"));
    EXPECT_EQ(picker_->Field()->HSV(), colours::RGBToHSV(255, 0, canvas::BlueOf(picker_->PickColor())));

    // Hexadecimal: two digits, lower-case letters turned to upper case.
    picker_->SetPickColor(RGBToTColor(255, 16, 0));
    picker_->SetHexEdit(true);
    EXPECT_EQ(red->text(), QStringLiteral("FF"));
    EXPECT_EQ(red->maxLength(), 2);
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("a9g"));
    EXPECT_EQ(red->text(), QStringLiteral("A9"));
    EXPECT_EQ(canvas::RedOf(picker_->Edits()->Color()), 0xA9);
}

TEST(ColourStrip, AddColorKeepsSixteenDistinctColours)
{
    TMUVColorHistory strip;
    QSignalSpy changed(&strip, &TMUVColorHistory::OnColorsChanged);
    strip.AddColor(0x0000FF);
    strip.AddColor(0x0000FF);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(strip.Used(0));
    EXPECT_FALSE(strip.Used(1));
    for (int i = 1; i <= 16; ++i)
        strip.AddColor(TColor(i));
    EXPECT_EQ(strip.Color(0), TColor(16));
    EXPECT_EQ(strip.Color(15), TColor(1)); // red has dropped out
    for (int i = 0; i < 16; ++i)
        EXPECT_NE(strip.Color(i), TColor(0x0000FF));
    strip.SetCellMargin(-3);
    EXPECT_EQ(strip.CellMargin(), 0);
    strip.SetCellSize(2);
    EXPECT_EQ(strip.CellSize(), 4);
}

TEST(ColourStrip, LayoutAndClicks)
{
    QWidget host;
    auto *strip = new TMUVColorHistory(&host);
    strip->setGeometry(0, 0, 18, 256);
    strip->SetCellSize(16);
    host.resize(40, 260);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(strip->CellPos(0), QPoint(0, 0));
    EXPECT_EQ(strip->CellPos(1), QPoint(0, 16));
    EXPECT_EQ(strip->CellPos(15), QPoint(0, 240));
    EXPECT_EQ(strip->CellAt(QPoint(15, 31)), 1);
    EXPECT_EQ(strip->CellAt(QPoint(17, 5)), -1);

    strip->AddColor(0x00FF00);
    strip->AddColor(0x0000FF); // now slot 0 red, slot 1 green
    QSignalSpy selected(strip, &TMUVColorHistory::OnSelectColor);
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(8, 20));
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).value<TColor>(), TColor(0x00FF00));
    EXPECT_EQ(selected.at(0).at(2).toInt(), 1);
    EXPECT_EQ(strip->LastMouseSelected(), TColor(0x00FF00));
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(8, 60)); // empty cell
    EXPECT_EQ(selected.count(), 1);
    strip->setEnabled(false);
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(8, 4));
    EXPECT_EQ(selected.count(), 1);
    strip->setEnabled(true);

    // The cells show their colour inside a frame of the frame colour.
    const QImage shown = strip->grab().toImage();
    EXPECT_EQ(shown.pixel(7, 7) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(7, 23) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(shown.pixel(0, 7) & 0xFFFFFF, canvas::ToQColor(strip->FrameColor()).rgb() & 0xFFFFFF);
}

TEST(NamedColourBox, EntriesSelectionAndClicks)
{
    TMUVWebColorBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.count(), 383);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.SelectedColor(), 0);
    EXPECT_EQ(box.LastColor(), canvas::clWhite);
    EXPECT_EQ(box.itemText(25), QStringLiteral("indianred"));
    EXPECT_EQ(box.DroppedWidth(), 300);
    box.SetDroppedWidth(10);
    EXPECT_EQ(box.DroppedWidth(), 32);
    EXPECT_EQ(box.NoSelectionText(), QStringLiteral("WEB-Farben"));
    EXPECT_EQ(TMUVWebColorBox::HexToColor(QStringLiteral("#CD5C5C")), 0xCD5C5C);
    EXPECT_EQ(TMUVWebColorBox::HexToColor(QStringLiteral("CD5C5")), -1);

    const int indianred = box.IndexOfColor(RGBToTColor(0xCD, 0x5C, 0x5C));
    EXPECT_EQ(indianred, 25);
    box.setCurrentIndex(indianred);
    EXPECT_EQ(box.SelectedColor(), RGBToTColor(0xCD, 0x5C, 0x5C));

    // Choosing with the keyboard fires the click event.
    QSignalSpy clicks(&box, &TMUVWebColorBox::OnClick);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(box.currentIndex(), 26);
    EXPECT_EQ(box.SelectedColor(), colours::HtmlValueToColor(0xE9967A)); // darksalmon
    EXPECT_EQ(box.LastColor(), colours::HtmlValueToColor(0xE9967A));
}

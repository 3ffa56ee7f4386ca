// The angle dial: angles from mouse drags, snapping to 15° steps, the
// context menu that switches snapping, and the range of Winkel.
#include "controls/MUVWinkelWahl.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace
{

class DialTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        dial_ = std::make_unique<TMUVWinkelWahl>();
        dial_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dial_.get()));
    }

    // Presses the left button at the centre, drags to centre + offset and
    // releases there.
    double Drag(QPoint offset)
    {
        const QPoint c = dial_->Centre();
        QTest::mousePress(dial_.get(), Qt::LeftButton, {}, c + QPoint(0, -10));
        QTest::mouseMove(dial_.get(), c + offset);
        QTest::mouseRelease(dial_.get(), Qt::LeftButton, {}, c + offset);
        return dial_->Winkel();
    }

    void ToggleSnapThroughMenu()
    {
        const QPoint c = dial_->Centre();
        QTest::mouseClick(dial_.get(), Qt::RightButton, {}, c);
        QMenu *menu = dial_->OwnMenu();
        ASSERT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(dial_->SnapAction()).center());
        EXPECT_FALSE(menu->isVisible());
    }

    std::unique_ptr<TMUVWinkelWahl> dial_;
};

} // namespace

TEST_F(DialTest, DefaultsAndCentre)
{
    EXPECT_EQ(dial_->size(), QSize(52, 52));
    EXPECT_EQ(dial_->Winkel(), 0);
    EXPECT_TRUE(dial_->GlaetteWinkel());
    EXPECT_EQ(dial_->Centre(), QPoint(26, 26));
    dial_->resize(50, 50); // half width 25 is odd: one less
    EXPECT_EQ(dial_->Centre(), QPoint(24, 24));
}

TEST_F(DialTest, AxesAndQuadrants)
{
    EXPECT_EQ(Drag({15, 0}), 0);
    EXPECT_EQ(Drag({0, -15}), 90);
    EXPECT_EQ(Drag({-15, 0}), 180);
    EXPECT_EQ(Drag({0, 15}), 270);
    EXPECT_EQ(Drag({10, -10}), 45);
    EXPECT_EQ(Drag({-10, -10}), 135);
    EXPECT_EQ(Drag({-10, 10}), 225);
    EXPECT_EQ(Drag({10, 10}), 315);
    EXPECT_EQ(dial_->AngleAt(dial_->Centre()), 270);
}

TEST_F(DialTest, SnapsToFifteenDegrees)
{
    EXPECT_EQ(Drag({8, -1}), 0);    // 7.1°
    EXPECT_EQ(Drag({7, -1}), 15);   // 8.1°
    EXPECT_EQ(Drag({20, -11}), 30); // 28.8°
    EXPECT_EQ(Drag({20, 2}), 0);    // 354.3° snaps to 0, not 360
    EXPECT_EQ(TMUVWinkelWahl::Snap(352.5), 0);
    EXPECT_EQ(TMUVWinkelWahl::Snap(352.4), 345);
}

TEST_F(DialTest, MenuSwitchesSnappingOff)
{
    EXPECT_TRUE(dial_->SnapAction()->isChecked());
    ToggleSnapThroughMenu();
    EXPECT_FALSE(dial_->GlaetteWinkel());
    EXPECT_FALSE(dial_->SnapAction()->isChecked());
    const double a = Drag({20, -11});
    EXPECT_NEAR(a, 28.81, 0.01);
    ToggleSnapThroughMenu();
    EXPECT_TRUE(dial_->GlaetteWinkel());
    dial_->SetGlaetteWinkel(false);
    EXPECT_FALSE(dial_->SnapAction()->isChecked());
}

TEST_F(DialTest, EventsWhileDraggingAndOnRelease)
{
    QSignalSpy change(dial_.get(), &TMUVWinkelWahl::OnMouseChange);
    QSignalSpy changed(dial_.get(), &TMUVWinkelWahl::OnMouseChanged);
    const QPoint c = dial_->Centre();
    QTest::mousePress(dial_.get(), Qt::LeftButton, {}, c + QPoint(15, 0));
    QTest::mouseMove(dial_.get(), c + QPoint(0, -15));
    QTest::mouseMove(dial_.get(), c + QPoint(-15, 0));
    EXPECT_EQ(changed.size(), 0);
    EXPECT_GE(change.size(), 2);
    QTest::mouseRelease(dial_.get(), Qt::LeftButton, {}, c + QPoint(-15, 0));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(dial_->Winkel(), 180);
    // Moving without a held button changes nothing; the right button does not drag.
    const int before = change.size();
    QTest::mouseMove(dial_.get(), c + QPoint(15, 0));
    QTest::mousePress(dial_.get(), Qt::RightButton, {}, c + QPoint(0, 15));
    QTest::mouseMove(dial_.get(), c + QPoint(0, 16));
    EXPECT_EQ(change.size(), before);
    EXPECT_EQ(dial_->Winkel(), 180);
    QTest::mouseRelease(dial_.get(), Qt::RightButton, {}, c + QPoint(0, 16));
    EXPECT_EQ(changed.size(), 1);
    dial_->OwnMenu()->hide();
}

TEST_F(DialTest, AssignedMenuReplacesTheOwnOne)
{
    QMenu other;
    other.addAction(QStringLiteral("x"));
    dial_->SetPopupMenu(&other);
    QTest::mouseClick(dial_.get(), Qt::RightButton, {}, dial_->Centre());
    EXPECT_TRUE(other.isVisible());
    EXPECT_FALSE(dial_->OwnMenu()->isVisible());
    other.hide();
}

TEST_F(DialTest, WinkelIsKeptWithinAFullTurn)
{
    dial_->SetWinkel(-90);
    EXPECT_EQ(dial_->Winkel(), 270);
    dial_->SetWinkel(720);
    EXPECT_EQ(dial_->Winkel(), 360);
    dial_->SetWinkel(360);
    EXPECT_EQ(dial_->Winkel(), 360);
    dial_->SetWinkel(370.5);
    EXPECT_DOUBLE_EQ(dial_->Winkel(), 10.5);
    dial_->SetWinkel(-360);
    EXPECT_EQ(dial_->Winkel(), 0);
    dial_->SetWinkel(-725);
    EXPECT_EQ(dial_->Winkel(), 355);
    dial_->SetWinkel(1e300);
    EXPECT_GE(dial_->Winkel(), 0);
    EXPECT_LE(dial_->Winkel(), 360);
}

TEST_F(DialTest, PointerIsDrawnInTheAngleDirection)
{
    auto blueAt = [&](QPoint p) {
        // The pointer is one pixel wide after the smooth reduction: look at
        // the pixel and its lower neighbour for a clearly blue tint.
        const QImage img = dial_->grab().toImage();
        for (const QPoint q : {p, p + QPoint(0, 1), p + QPoint(-1, 0)}) {
            const QColor c = img.pixelColor(q);
            if (c.blue() - c.red() > 60 && c.blue() - c.green() > 60)
                return true;
        }
        return false;
    };
    const QPoint c = dial_->Centre();
    dial_->SetWinkel(0);
    EXPECT_TRUE(blueAt(c + QPoint(14, 0)));
    EXPECT_FALSE(blueAt(c + QPoint(0, -14)));
    dial_->SetWinkel(90);
    EXPECT_TRUE(blueAt(c + QPoint(0, -14)));
    EXPECT_FALSE(blueAt(c + QPoint(14, 0)));
    dial_->setEnabled(false);
    EXPECT_FALSE(blueAt(c + QPoint(0, -14)));
}

// Rounding, dash walks and text block bounds, without a device.

#include "canvas/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace canvas;

TEST(CanvasGeometry, RoundsHalfToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
}

namespace
{
double Length(const QLineF &l)
{
    return std::hypot(l.dx(), l.dy());
}
} // namespace

TEST(CanvasGeometry, DashedLineOfHalfMillimetreHasFiveMillimetreDashesAndReachesItsEnd)
{
    // 0 .. 33 mm: dashes at 0, 7, 14, 21, 28; the last one is cut at 33.
    const auto pieces = DashPieces(QPointF(0, 10), QPointF(33, 10), psDash, 0.5);
    ASSERT_EQ(pieces.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(pieces[size_t(i)].x1(), 7.0 * i, 1e-9);
        EXPECT_NEAR(Length(pieces[size_t(i)]), 5.0, 1e-9);
        EXPECT_NEAR(pieces[size_t(i)].y1(), 10.0, 1e-9);
    }
    EXPECT_NEAR(pieces.back().x1(), 28.0, 1e-9);
    EXPECT_EQ(pieces.back().p2(), QPointF(33, 10));
}

TEST(CanvasGeometry, DashWalkEndingInAGapStillDrawsToTheEndPoint)
{
    // 0 .. 13 mm: dash 0-5, gap 5-7, dash 7-12, gap reaches 13: the closing
    // stroke runs from the last dash end to the end point.
    const auto pieces = DashPieces(QPointF(0, 0), QPointF(0, 13), psDash, 0.5);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1].p1(), QPointF(0, 7));
    EXPECT_EQ(pieces[1].p2(), QPointF(0, 12));
    EXPECT_EQ(pieces[2].p1(), QPointF(0, 12));
    EXPECT_EQ(pieces[2].p2(), QPointF(0, 13));
}

TEST(CanvasGeometry, PatternsOfTheOtherStyles)
{
    const double w = 1.0;
    // dot, gap
    auto dots = DashPieces(QPointF(0, 0), QPointF(20, 0), psDot, w);
    ASSERT_GE(dots.size(), 4u);
    EXPECT_NEAR(Length(dots[0]), 0.33, 1e-9);
    EXPECT_NEAR(dots[1].x1(), 4.33, 1e-9);
    // long dash, gap, dot, gap
    auto dashDot = DashPieces(QPointF(0, 0), QPointF(100, 0), psDashDot, w);
    EXPECT_NEAR(Length(dashDot[0]), 16.0, 1e-9);
    EXPECT_NEAR(dashDot[1].x1(), 20.0, 1e-9);
    EXPECT_NEAR(Length(dashDot[1]), 0.33, 1e-9);
    EXPECT_NEAR(dashDot[2].x1(), 24.33, 1e-9);
    EXPECT_NEAR(Length(dashDot[2]), 16.0, 1e-9);
    // long dash, gap, dot, gap, dot, gap
    auto dashDotDot = DashPieces(QPointF(0, 0), QPointF(100, 0), psDashDotDot, w);
    EXPECT_NEAR(dashDotDot[1].x1(), 20.0, 1e-9);
    EXPECT_NEAR(dashDotDot[2].x1(), 24.33, 1e-9);
    EXPECT_NEAR(dashDotDot[3].x1(), 28.66, 1e-9);
    EXPECT_NEAR(Length(dashDotDot[3]), 16.0, 1e-9);
    // solid: one piece; clear: nothing
    EXPECT_EQ(DashPieces(QPointF(0, 0), QPointF(5, 5), psSolid, w).size(), 1u);
    EXPECT_TRUE(DashPieces(QPointF(0, 0), QPointF(5, 5), psClear, w).empty());
}

TEST(CanvasGeometry, ObliqueDashesFollowTheDirection)
{
    const auto pieces = DashPieces(QPointF(0, 0), QPointF(30, 40), psDash, 0.5); // length 50
    EXPECT_NEAR(pieces[0].x2(), 3.0, 1e-9);
    EXPECT_NEAR(pieces[0].y2(), 4.0, 1e-9);
    EXPECT_NEAR(pieces[1].x1(), 7 * 0.6, 1e-9);
    EXPECT_EQ(pieces.back().p2(), QPointF(30, 40));
}

TEST(CanvasGeometry, DashedLineWithoutWidthEndsAsOneStroke)
{
    const auto pieces = DashPieces(QPointF(0, 0), QPointF(100, 0), psDash, 0.0);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], QLineF(0, 0, 100, 0));
}

TEST(CanvasGeometry, TextBoundsFollowAlignmentAndRotation)
{
    const QPoint a(100, 200);
    // Unrotated: left-top block starts at the anchor.
    EXPECT_EQ(TextBlockBounds(a, 40, 10, 0, 0), QRect(100, 200, 40, 10));
    // Right-bottom: the block ends at the anchor.
    EXPECT_EQ(TextBlockBounds(a, 40, 10, 0, 8), QRect(60, 190, 40, 10));
    // Centre-middle at 90 degrees: centred on the anchor, standing upright.
    EXPECT_EQ(TextBlockBounds(a, 40, 10, 90, 4), QRect(95, 180, 10, 40));
    // Left-top at 90 degrees: the text runs upward from the anchor and its
    // lines stack to the right.
    EXPECT_EQ(TextBlockBounds(a, 40, 10, 90, 0), QRect(100, 160, 10, 40));
    // 45 degrees: a box of (40 + 10) / sqrt 2 on each side.
    const QRect r = TextBlockBounds(a, 40, 10, 45, 4);
    EXPECT_EQ(r.width(), 34);
    EXPECT_EQ(r.height(), 34);
    EXPECT_EQ(r.left() + r.width() / 2, 100);
    EXPECT_EQ(r.top() + r.height() / 2, 200);
    // -90 is the same direction as 270.
    EXPECT_EQ(TextBlockBounds(a, 40, 10, -90, 0), TextBlockBounds(a, 40, 10, 270, 0));
}

TEST(CanvasGeometry, RotatedBoxSizeAndRotation)
{
    const QSizeF s = RotatedBoxSize(30, 10, 90);
    EXPECT_NEAR(s.width(), 10, 1e-9);
    EXPECT_NEAR(s.height(), 30, 1e-9);
    EXPECT_EQ(RotateRounded(0, 10, 90), QPoint(-10, 0));
    EXPECT_EQ(RotateRounded(10, 0, 90), QPoint(0, 10));
    EXPECT_DOUBLE_EQ(NormalizedAngle(-90), 270);
    EXPECT_DOUBLE_EQ(NormalizedAngle(360), 0);
}

// Lines from damaged files: no number, or far too long for a dash pattern.
// They are drawn whole instead of walked, and pixel values stay in range.
TEST(CanvasGeometry, DamagedLinesAreDrawnWholeAndPixelsStayInRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(canvas::DashPieces(QPointF(0, nan), QPointF(100, nan), canvas::psDash, 0.05).size(), 1u);
    EXPECT_EQ(canvas::DashPieces(QPointF(0, 0), QPointF(1e7, 0), canvas::psDot, 0.05).size(), 1u);
    EXPECT_GT(canvas::DashPieces(QPointF(0, 0), QPointF(100, 0), canvas::psDot, 0.05).size(), 100u);
    EXPECT_EQ(canvas::RoundHalfEven(nan), 0);
    EXPECT_EQ(canvas::RoundHalfEven(1e300), 1 << 30);
    EXPECT_EQ(canvas::Trunc(-1e300), -(1 << 30));
}

#pragma once
// Pure geometry of the canvas: rounding, dash walks and text block bounds.
// No device involved, so the rules can be checked on their own.

#include <QLineF>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <cmath>
#include <vector>

namespace canvas
{

// Pixel values stay within ±2^30, so that sums of two of them cannot
// overflow; a value that is no number counts as 0. Damaged files may hold any
// double.
inline int SaturatedInt(double v)
{
    constexpr double kLimit = 1073741824.0;
    if (!(v == v))
        return 0;
    return int(v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v));
}
// Rounds half to even, as the pixel mappings do.
inline int RoundHalfEven(double v)
{
    return SaturatedInt(std::nearbyint(v));
}
inline int Trunc(double v)
{
    return SaturatedInt(std::trunc(v));
}

// Windows pen styles as the program counts them.
enum PenStyle : unsigned char {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5
};
// Fill styles of the canvas.
enum FillStyle : unsigned char { bsSolid = 0, bsClear = 1 };

// The pieces (in mm) that draw a line from a to b in the given pen style and
// line width w (mm): dash 10 w, long dash 16 w, dot 0.33 w, gap 4 w. The last
// piece always ends at b. A clear pen gives no piece; a solid pen, or a width
// too small to make a pattern of, gives the one piece a-b.
std::vector<QLineF> DashPieces(QPointF a, QPointF b, int style, double w);

// Rotates the y-up point (x, y) counter-clockwise by angle degrees and rounds
// both results half to even.
QPoint RotateRounded(double x, double y, double angleDeg);

// Pixel bounds of a text block on a y-down device: anchor in pixels, block
// size in pixels, angle in degrees counter-clockwise, alignment 3 h + v.
// The rectangle runs from the left/top edge up to (excluding) right/bottom.
QRect TextBlockBounds(QPoint anchor, int blockWidthPx, int blockHeightPx, double angleDeg, int alignment);

// Size of the axis-parallel box around a w x h block rotated by the angle.
QSizeF RotatedBoxSize(double w, double h, double angleDeg);

// An angle brought into 0 <= a < 360.
double NormalizedAngle(double angleDeg);

} // namespace canvas

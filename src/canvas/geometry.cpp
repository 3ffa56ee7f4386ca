#include "canvas/geometry.h"

#include <QSizeF>

#include <algorithm>
#include <array>
#include <numbers>

namespace canvas
{

namespace
{
struct Piece {
    bool on;
    double length; // in line widths
};
constexpr double kDash = 10.0, kLongDash = 16.0, kDot = 0.33, kGap = 4.0;
} // namespace

double NormalizedAngle(double angleDeg)
{
    if (!std::isfinite(angleDeg))
        return 0.0;
    double a = std::fmod(angleDeg, 360.0);
    if (a < 0)
        a += 360.0;
    if (a >= 360.0)
        a = 0.0;
    return a;
}

std::vector<QLineF> DashPieces(QPointF a, QPointF b, int style, double w)
{
    std::vector<QLineF> out;
    if (style == psClear)
        return out;
    std::vector<Piece> pattern;
    switch (style) {
    case psDash:
        pattern = {{true, kDash}, {false, kGap}};
        break;
    case psDot:
        pattern = {{true, kDot}, {false, kGap}};
        break;
    case psDashDot:
        pattern = {{true, kLongDash}, {false, kGap}, {true, kDot}, {false, kGap}};
        break;
    case psDashDotDot:
        pattern = {{true, kLongDash}, {false, kGap}, {true, kDot},
                   {false, kGap},     {true, kDot},  {false, kGap}};
        break;
    default:
        break;
    }
    // A line without width has no pattern: walking it would never end.
    if (pattern.empty() || !(w > 1e-6)) {
        out.emplace_back(a, b);
        return out;
    }
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double length = std::hypot(dx, dy);
    // Lines from damaged files (no number, or kilometres long) are drawn
    // whole rather than walked dash by dash.
    constexpr double kMaxPieces = 100000;
    if (!std::isfinite(length) || length / (w * (kDot + kGap)) > kMaxPieces) {
        out.emplace_back(a, b);
        return out;
    }
    const double ux = length > 0 ? dx / length : 0.0, uy = length > 0 ? dy / length : 0.0;
    auto at = [&](double t) { return QPointF(a.x() + ux * t, a.y() + uy * t); };

    QPointF pen = a;
    double pos = 0.0;
    bool done = false;
    while (!done) {
        for (const Piece &p : pattern) {
            const double start = pos;
            pos += p.length * w;
            if (p.on) {
                if (pos >= length) {
                    pen = at(start); // the closing stroke below draws this dash up to b
                    done = true;
                    break;
                }
                out.emplace_back(at(start), at(pos));
                pen = at(pos);
            } else if (pos >= length) {
                done = true;
                break;
            }
        }
    }
    out.emplace_back(pen, b);
    return out;
}

QPoint RotateRounded(double x, double y, double angleDeg)
{
    const double r = angleDeg * std::numbers::pi / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    return QPoint(RoundHalfEven(x * c - y * s), RoundHalfEven(x * s + y * c));
}

QSizeF RotatedBoxSize(double w, double h, double angleDeg)
{
    const double r = angleDeg * std::numbers::pi / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    const std::array<QPointF, 4> corners = {QPointF(0, 0), QPointF(0, h), QPointF(w, h), QPointF(w, 0)};
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (const QPointF &p : corners) {
        const double x = p.x() * c - p.y() * s, y = p.x() * s + p.y() * c;
        if (first) {
            minX = maxX = x;
            minY = maxY = y;
            first = false;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    return QSizeF(maxX - minX, maxY - minY);
}

QRect TextBlockBounds(QPoint anchor, int blockWidthPx, int blockHeightPx, double angleDeg, int alignment)
{
    const int h = alignment / 3, v = alignment % 3;
    const double angle = NormalizedAngle(angleDeg);
    int boxW = blockWidthPx, boxH = blockHeightPx;
    if (angle > 0) {
        const QSizeF s = RotatedBoxSize(blockWidthPx, blockHeightPx, angle);
        boxW = RoundHalfEven(s.width());
        boxH = RoundHalfEven(s.height());
    }
    double dx = h == 0 ? blockWidthPx / 2.0 : h == 1 ? 0.0 : -blockWidthPx / 2.0;
    double dy = v == 0 ? blockHeightPx / 2.0 : v == 1 ? 0.0 : -blockHeightPx / 2.0;
    if (angle > 0) {
        // On the y-down device the block turns clockwise in these coordinates.
        const double r = (360.0 - angle) * std::numbers::pi / 180.0;
        const double c = std::cos(r), s = std::sin(r);
        const double rx = dx * c - dy * s, ry = dx * s + dy * c;
        dx = rx;
        dy = ry;
    }
    const int cx = anchor.x() + RoundHalfEven(dx), cy = anchor.y() + RoundHalfEven(dy);
    const int left = cx - boxW / 2, top = cy - boxH / 2;
    return QRect(left, top, cx + boxW / 2 - left, cy + boxH / 2 - top);
}

} // namespace canvas

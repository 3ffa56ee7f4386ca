#pragma once
// Helpers of the canvas tests: a canvas on the default page, and reading
// back where ink lies in a picture.

#include "canvas/dpaintbox.h"
#include "canvas/geometry.h"
#include "platform/printer.h"

#include <QImage>
#include <QRect>

#include <utility>
#include <vector>

// Switches the system's printers off for as long as it lives, so that the
// canvas shows the default A4 page at 300 dpi.
class WithoutPrinters
{
  public:
    WithoutPrinters()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
    }
    ~WithoutPrinters()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(true);
        platform::Printer::Instance().Refresh();
    }
};

inline bool IsInk(QRgb c, int threshold = 160)
{
    return qGray(c) < threshold;
}

// Bounding box of the pixels darker than the threshold inside region.
inline QRect InkBounds(const QImage &img, QRect region, int threshold = 160)
{
    region &= img.rect();
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (IsInk(img.pixel(x, y), threshold)) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    return l == INT_MAX ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

// Runs of ink along row y between x0 and x1: (first, last) pixel of each.
inline std::vector<std::pair<int, int>> InkRunsInRow(const QImage &img, int y, int x0, int x1,
                                                     int threshold = 160)
{
    std::vector<std::pair<int, int>> runs;
    int start = -1;
    for (int x = x0; x <= x1 + 1; ++x) {
        const bool ink = x <= x1 && x < img.width() && IsInk(img.pixel(x, y), threshold);
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            runs.emplace_back(start, x - 1);
            start = -1;
        }
    }
    return runs;
}

inline int CountColor(const QImage &img, QRect region, QRgb color)
{
    region &= img.rect();
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                ++n;
    return n;
}

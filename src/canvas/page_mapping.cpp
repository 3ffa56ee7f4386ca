#include "canvas/page_mapping.h"

#include "canvas/geometry.h"

#include <cmath>

namespace canvas
{

int TPageMapping::PosToPixelX(double x) const
{
    return RoundHalfEven(zoom * (pixelPerMmX * (x - originXMm)));
}
int TPageMapping::PosToPixelY(double y) const
{
    return RoundHalfEven(zoom * (pixelPerMmY * (y - originYMm)));
}
int TPageMapping::LenToPixelX(double len) const
{
    return RoundHalfEven(len * pixelPerMmX * zoom);
}
int TPageMapping::LenToPixelY(double len) const
{
    return RoundHalfEven(len * pixelPerMmY * zoom);
}
int TPageMapping::LenToPixelTruncX(double len) const
{
    return Trunc(len * pixelPerMmX * zoom);
}
int TPageMapping::LenToPixelTruncY(double len) const
{
    return Trunc(len * pixelPerMmY * zoom);
}

double TPageMapping::PlaceX(double x) const
{
    const double v = x / maszstab + offsetX;
    return xRechts ? pageWidthMm - v : v;
}
double TPageMapping::PlaceY(double y) const
{
    const double v = y / maszstab + offsetY;
    return yUnten ? pageHeightMm - v : v;
}
double TPageMapping::InputX(double placedX) const
{
    return ((xRechts ? pageWidthMm - placedX : placedX) - offsetX) * maszstab;
}
double TPageMapping::InputY(double placedY) const
{
    return ((yUnten ? pageHeightMm - placedY : placedY) - offsetY) * maszstab;
}

double TPageMapping::SnapToGrid(double v) const
{
    if (!rasterFang)
        return v;
    return rasterweite * std::nearbyint(v / rasterweite);
}

} // namespace canvas

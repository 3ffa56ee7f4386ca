#pragma once
// Colour values as the documents store them: $00BBGGRR, $800000nn for a
// system colour, clNone for no colour.

#include <QColor>
#include <cstdint>

namespace canvas {

using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;

constexpr TColor RGBToTColor(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

// The colour to paint with; system colours come from the application palette.
QColor ToQColor(TColor c);

} // namespace canvas

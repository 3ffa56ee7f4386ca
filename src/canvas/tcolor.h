#pragma once
// Colour values as the documents store them: $00BBGGRR, $800000nn for a
// system colour, clNone for no colour. System colours are resolved here, in
// one table, for the canvas, the controls and the dialogs alike.

#include "model/colors.h"

#include <QColor>

namespace canvas
{

using ::clBlack;
using ::clBlue;
using ::clGray;
using ::clNone;
using ::clSilver;
using ::clWhite;
using ::RGBToTColor;
using ::TColor;

// Highest system colour index the program knows (menu bar).
constexpr int kLastSystemColor = 30;

constexpr bool IsSystemColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0x80000000u;
}

constexpr TColor SystemColor(int index)
{
    return TColor(0x80000000u | std::uint32_t(index & 0xFF));
}

// The current $00BBGGRR value of system colour index: taken from the
// application palette while a GUI application runs, else (and for colours
// that have no palette role) the fixed default of the table. Unknown indexes
// give the window colour.
TColor SystemColorValue(int index);
// The fixed default of a system colour, independent of any palette.
TColor SystemColorDefault(int index);

// A colour value ready for arithmetic: system colours resolved, the top byte
// cleared (clNone thus reads as white).
TColor ResolveColor(TColor c);

constexpr int RedOf(TColor c)
{
    return int(std::uint32_t(c) & 0xFF);
}
constexpr int GreenOf(TColor c)
{
    return int((std::uint32_t(c) >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c)
{
    return int((std::uint32_t(c) >> 16) & 0xFF);
}

// The colour to paint with; system colours come from the application palette.
QColor ToQColor(TColor c);
// The colour value of a painted colour (alpha is dropped).
TColor FromQColor(const QColor &c);

} // namespace canvas

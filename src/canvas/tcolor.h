#pragma once
// Colour values as the documents store them: $00BBGGRR, $800000nn for a
// system colour, clNone for no colour.

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

// The colour to paint with; system colours come from the application palette.
QColor ToQColor(TColor c);

} // namespace canvas

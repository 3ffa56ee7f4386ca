#pragma once
// The calibration page: millimetre scales running in from all four paper
// edges and crosses at known distances from the edges, with German
// directions, so a user can measure with a ruler how far a printer shifts
// its print and enter that as the sheet shift when printing.

namespace canvas
{
class TDPage;
}

// Crosses lie this far from the nearest left/right and top/bottom edge.
constexpr double kCalibrationCrossInset = 20.0;
// The scales run this far in from each edge, ticks every millimetre.
constexpr double kCalibrationScaleLength = 40.0;

// Fills the current page of page with the calibration page for paper of
// width × height mm (the page's shift and scale stay untouched).
void AddCalibrationPage(canvas::TDPage &page, double widthMm, double heightMm);

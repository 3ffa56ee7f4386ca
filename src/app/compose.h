#pragma once
// The one translation of the sheet into canvas elements. The main window, the
// print dialog and the command-line tool all show and print a sheet through
// Recompose, so the printout is exactly what the preview shows.

#include "canvas/dpaintbox.h"

class TRS;
class TRSObject;
class TRSUndo;

// What the composition needs besides the sheet and the canvas.
struct TComposeSettings {
    double LineFactor = 1.1; // line spacing of multi-line texts
};

// Rebuilds both canvas pages from the sheet: page 0 the background layer,
// page 1 the visible fields. With pushUndo an undo snapshot is written first.
// Marks the sheet as modified and repaints the canvas.
void Recompose(TRS &sheet, TDPaintbox &canvas, const TComposeSettings &settings, TRSUndo *undo,
               bool pushUndo);

// Only the element building of Recompose, without snapshot, flag and repaint.
void ComposeSheet(TRS &sheet, TDPaintbox &canvas, const TComposeSettings &settings);

// Canvas alignment (0 … 8: column-major left/centre/right, top/middle/bottom)
// and anchor for a field's text.
struct TTextAnchor {
    int alignment;
    double x, y;
};
TTextAnchor TextAnchor(const TRSObject &field);

// The field text as drawn: at most 255 characters, without a trailing CR LF
// when longer than 3 characters.
std::string DrawnText(const std::string &text);

// The box of a picture of gw × gh fitted, centred and with its proportion,
// into the field's frame.
QRectF FitPicture(const TRSObject &field, double gw, double gh);

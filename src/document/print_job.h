#pragma once
// The print job of the window's print command and of "dorlix-cli print": the
// sheet is composed into a page of its own (never the page the window
// shows), with or without the background layer, with cut lines when asked,
// and with the paper shift applied to the content only; every copy is one
// printer document of one page.

#include "document/compose.h"

#include <QLineF>
#include <QString>

#include <vector>

class TRS;
namespace canvas
{
class TDPage;
}

// What the print dialog (or the command line) chose.
struct TPrintOptions {
    int Copies = 1;
    bool Background = false; // background lines and column colours
    bool CutLines = false;
    double ShiftX = 0; // mm, positive moves the print to the right
    double ShiftY = 0; // mm, positive moves the print down
    bool SmoothPictures = false;
};

// The ranges the print dialog offers.
constexpr int kPrintMinCopies = 1;
constexpr int kPrintMaxCopies = 255;
constexpr double kPrintMinShift = -10;
constexpr double kPrintMaxShift = 297;

// The cut lines of a sheet in page millimetres: a vertical line at the left
// edge of every column and at the right edge of the last one, each from the
// top of the page to its bottom; a horizontal line at the top of every row
// and at the bottom of the last one (rows as the last column divides them),
// across the whole page. Nothing without columns or rows.
std::vector<QLineF> CutLines(const TRS &sheet, double pageWidthMm, double pageHeightMm);

// Adds the cut lines (solid, black, 0.1 mm) to the current page of page.
void AddCutLines(const TRS &sheet, canvas::TDPage &page, double pageWidthMm, double pageHeightMm);

// Composes the sheet into page as it is printed: the printer turned to the
// orientation the sheet asks for (the page's metrics read again when they
// lie the other way round), both layers, the background
// layer shown as chosen, no printable-area overlay, cut lines as chosen.
// With withShift the content page (fields and cut lines) is moved by the
// shift; the background layer always keeps its place.
void ComposePrintPage(const TRS &sheet, canvas::TDPage &page, const TComposeSettings &settings,
                      const TPrintOptions &options, bool withShift);

// "Rückenschild (N Kopie)"
QString PrintCopyTitle(int copy);
// The title of the calibration page's printer document.
QString CalibrationTitle();

// Prints the sheet on the current printer, one document per copy. False
// with the German reason in error when a copy could not be handed over.
bool PrintSheet(const TRS &sheet, const TComposeSettings &settings, const TPrintOptions &options,
                QString *error);

// Prints the calibration page on the current printer in portrait, without
// any shift, copies times.
bool PrintCalibrationPage(int copies, QString *error);

// The shift remembered for a printer in "dorlix.ini" of the program folder
// (0 where nothing is kept), clamped to the dialog's range.
struct TRememberedShift {
    double x = 0, y = 0;
};
TRememberedShift ReadRememberedShift(const QString &iniPath, const QString &printer);
void WriteRememberedShift(const QString &iniPath, const QString &printer, const TRememberedShift &shift);

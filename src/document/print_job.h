#pragma once
// The print job of the window's print command and of "dorlix-cli print": the
// sheet is composed into a page of its own (never the page the window
// shows) on the printer's page, with or without the background layer, with
// cut lines when asked, and with the paper shift applied to the content
// only; every copy is one printer document (document/output.h).

#include "document/output.h"

#include <QString>

class TRS;

// The ranges the print dialog offers.
constexpr int kPrintMinCopies = 1;
constexpr int kPrintMaxCopies = 255;
constexpr double kPrintMinShift = -10;
constexpr double kPrintMaxShift = 297;

// "Rückenschild (N Kopie)"
QString PrintCopyTitle(int copy);
// The title of the calibration page's printer document.
QString CalibrationTitle();

// Prints the sheet on the current printer's page in the sheet's
// orientation, one document per copy. False
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

#pragma once
// The page a sheet is laid out on and printed on, as a value: paper size,
// printable area and its offsets in the device's pixels, resolution,
// orientation, the printer's paper list and name (for the page's info
// overlay), and the resolution of the screen that shows it.
//
// The page (canvas::TDPage) is made from such a value and never asks the
// printer itself; callers bring it: the window and the print dialog from the
// printer (ReadPrinterPage in platform/printer.h), a PDF from its paper.

#include <QPageLayout>
#include <QSizeF>
#include <QString>

#include <vector>

namespace platform
{

// Page metrics in device pixels.
struct PrinterMetrics {
    int dpiX = 0, dpiY = 0;
    int physWidthPx = 0, physHeightPx = 0;    // whole sheet
    int physOffsetXPx = 0, physOffsetYPx = 0; // unprintable left / top margin
    int printableWidthPx = 0, printableHeightPx = 0;
    int colorBits = 8; // 1 for a monochrome printer
};

// One paper of a printer's paper list.
struct PaperInfo {
    QString name;      // at most 63 characters
    int id = 0;        // Windows paper id (DMPAPER_*), 0 for custom sizes
    int width01mm = 0; // portrait size in tenths of a millimetre
    int height01mm = 0;
};

// The default page used without a printer: DIN A4 at 300 dpi with 60 pixels
// unprintable margin at the left and top; portrait unless asked otherwise.
PrinterMetrics DefaultPrinterMetrics(QPageLayout::Orientation orientation = QPageLayout::Portrait);

// The orientation a page of width × height mm is printed in: landscape when
// it is wider than high, else portrait. The one rule for the window, the
// print dialog, the print job and the command-line tool.
QPageLayout::Orientation OrientationFor(double widthMm, double heightMm);

// Logical resolution of the primary screen; 96 without a screen.
int ScreenDpi();

struct PageSetup {
    PrinterMetrics metrics = DefaultPrinterMetrics();
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    bool hasPrinter = false;
    QString printerName;
    std::vector<PaperInfo> papers; // the printer's paper list
    int paperId = 0;               // Windows id of the paper the printer is set to, 0: none
    int screenDpi = 96;

    double WidthMm() const;
    double HeightMm() const;
    double OffsetXMm() const;
    double OffsetYMm() const;
    double PrintableWidthMm() const;
    double PrintableHeightMm() const;
    // Name of the paper in the paper list, "?" when it names none.
    QString PaperName() const;
};

// The default page without a printer, on the primary screen.
PageSetup DefaultPageSetup(QPageLayout::Orientation orientation = QPageLayout::Portrait);
// A paper of its own (a PDF file's): the whole sheet printable at dpi, the
// orientation by OrientationFor, on the primary screen.
PageSetup PaperPageSetup(QSizeF paperMm, int dpi);

} // namespace platform

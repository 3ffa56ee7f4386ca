#pragma once
// The one process-wide printer: which printer is current, its orientation
// and paper, its page metrics and paper list, and print documents on it.
//
// Every part of the program that asks about "the printer" uses this object,
// so a printer chosen in one dialog is the printer of the whole program.

#include <QPageLayout>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPrinter;

namespace platform
{

// Page metrics of the current printer in its own device pixels.
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

class Printer
{
  public:
    static Printer &Instance();

    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;
    ~Printer();

    // Reads the system's printer list again; keeps the current printer when
    // it still exists, else falls back to the system default (or the first).
    void Refresh();
    const QStringList &Printers() const { return printers_; }
    // Index of the current printer in Printers(); -1 when there is none.
    int PrinterIndex() const { return index_; }
    void SetPrinterIndex(int index);
    bool SetPrinterName(const QString &name);
    QString PrinterName() const;

    QPageLayout::Orientation Orientation() const;
    void SetOrientation(QPageLayout::Orientation orientation);

    // Metrics of the current printer in the current orientation; false when
    // there is no printer or it cannot be queried.
    bool Metrics(PrinterMetrics *out) const;
    // Paper list of printer index i (i < 0 means 0); false when the printer
    // cannot be queried.
    bool PaperList(int index, std::vector<PaperInfo> *out);
    // Windows paper id of the paper the current printer is set to.
    int CurrentPaperId() const;

    // The device that documents are printed on, for the printer setup and
    // print dialogs. Changing the printer there changes the current printer;
    // call SyncFromDevice() afterwards.
    QPrinter &Device();
    void SyncFromDevice();

    // Prepares the device for a new document with the given title. The
    // document begins with QPainter::begin() on Device() and ends with
    // QPainter::end(); every begin/end pair is one printer job. While a PDF
    // output file is set (see below), documents are written there instead.
    QPrinter &BeginDocument(const QString &title);
    // Where the printable area begins on the device of the document, in its
    // pixels; the painter's origin must be moved there.
    QPoint PrintableOriginPx() const { return pdfOrigin_; }

    // Without a printer scheduler, documents can still be written to a PDF
    // file: the page has the metrics of the current printer (or the A4
    // default page). An empty path prints to the printer again.
    void SetPdfOutput(const QString &path);
    QString PdfOutput() const { return pdfOutput_; }

    // Ignores the system's printers (tests, batch tools that want the default
    // page). Takes effect at the next Refresh().
    void SetSystemPrintersEnabled(bool enabled);
    bool SystemPrintersEnabled() const { return systemEnabled_; }

  private:
    Printer();

    std::unique_ptr<QPrinter> device_;
    std::unique_ptr<QPrinter> pdfDevice_;
    QStringList printers_;
    int index_ = -1;
    bool systemEnabled_ = true;
    QString pdfOutput_;
    QPoint pdfOrigin_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
};

// The default page used without a printer: DIN A4 at 300 dpi with 60 pixels
// unprintable margin at the left and top; portrait unless asked otherwise.
PrinterMetrics DefaultPrinterMetrics(QPageLayout::Orientation orientation = QPageLayout::Portrait);

} // namespace platform

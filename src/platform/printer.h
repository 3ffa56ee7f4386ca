#pragma once
// The one process-wide printer: which printer is current, its orientation
// and paper, its page metrics and paper list, and print documents on it.
//
// Every part of the program that asks about "the printer" uses this object,
// so a printer chosen in one dialog is the printer of the whole program.
//
// The page comes from the queue itself: its default paper with the margins
// it cannot print on, asked with one request (platform/printer_cups.h). A
// paper chosen in the printer setup dialog stays until another printer is
// chosen. The queue list, the paper lists of other printers and the Qt print
// device are set up only when something asks for them.

#include "platform/page_setup.h"
#include "platform/printer_cups.h"
#include "platform/printer_status.h"

#include <QPageLayout>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QPrinter;

namespace platform
{

class Printer
{
  public:
    static Printer &Instance();

    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;
    ~Printer();

    // Asks the print system again about the current printer (one request);
    // when it is gone, or none was current, the default printer becomes
    // current. The queue list is read again the next time it is asked for.
    void Refresh();
    // True when there is a current printer.
    bool HasPrinter() const
    {
        Ensure();
        return !name_.isEmpty();
    }
    // The system's printers (read when first asked after a Refresh).
    const QStringList &Printers() const;
    // Index of the current printer in Printers(); -1 when there is none.
    int PrinterIndex() const;
    // An index outside the list leaves no printer chosen; the next question
    // to the printer looks for the default one again.
    void SetPrinterIndex(int index);
    // Makes the named printer current with its own default paper; false when
    // the print system does not know it (the current printer stays).
    bool SetPrinterName(const QString &name);
    QString PrinterName() const
    {
        Ensure();
        return name_;
    }

    QPageLayout::Orientation Orientation() const;
    void SetOrientation(QPageLayout::Orientation orientation);

    // Metrics of the current printer in the current orientation; false when
    // there is no printer or it reports no paper.
    bool Metrics(PrinterMetrics *out) const { return Metrics(out, orientation_); }
    // The same in the given orientation.
    bool Metrics(PrinterMetrics *out, QPageLayout::Orientation orientation) const;
    // Paper list of printer index i (i < 0 means 0); false when the printer
    // cannot be queried.
    bool PaperList(int index, std::vector<PaperInfo> *out);
    // Paper list of the current printer as it answered last (no request).
    bool CurrentPaperList(std::vector<PaperInfo> *out) const;
    // Windows paper id of the paper the current printer is set to.
    int CurrentPaperId() const;

    // Asks the current printer for its state now (one request). Not answered
    // when there is no printer or the print system cannot be reached.
    PrinterStatus Status();
    // printer-location of the current printer as last asked.
    QString Location() const
    {
        Ensure();
        return info_.status.location;
    }

    // The device that documents are printed on, for the printer setup and
    // print dialogs, set to the current printer, paper and orientation.
    // Changing the printer or the paper there changes them for the program;
    // call SyncFromDevice() afterwards.
    QPrinter &Device();
    void SyncFromDevice();

    // Prepares the device for a new document with the given title. The
    // document begins with QPainter::begin() on the returned device and ends
    // with QPainter::end(); every begin/end pair is one printer job. The
    // device prints the whole paper; the painter's origin must be moved to
    // PrintableOriginPx(). While a PDF output file is set (see below),
    // documents are written there instead.
    QPrinter &BeginDocument(const QString &title) { return BeginDocument(title, orientation_); }
    // The same for a page in the given orientation; the printer's own
    // orientation (that of its setup dialog) stays.
    QPrinter &BeginDocument(const QString &title, QPageLayout::Orientation orientation);
    // Where the printable area begins on the device of the document, in its
    // pixels.
    QPoint PrintableOriginPx() const { return origin_; }

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
    // The print system is first asked when something wants to know.
    void Ensure() const
    {
        if (!refreshed_)
            const_cast<Printer *>(this)->Refresh();
    }
    bool Adopt(const CupsQueueInfo &info);
    CupsPaper CurrentPaper() const;
    void PrepareDevice(bool wholePaper, QPageLayout::Orientation orientation);

    bool refreshed_ = false;
    CupsQueueInfo info_; // what the current printer said last
    QString name_;
    std::optional<CupsPaper> chosenPaper_; // from the printer setup dialog
    mutable QStringList printers_;
    mutable bool printersRead_ = false;
    std::unique_ptr<QPrinter> device_;
    std::unique_ptr<QPrinter> pdfDevice_;
    CupsPaper devicePaper_; // the paper handed to the device before a dialog
    QString deviceName_;
    bool systemEnabled_ = true;
    QString pdfOutput_;
    QPoint origin_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
};

// The current printer's page in the given orientation, for the page that
// shows or prints a sheet, with what the user should be told about it
// (empty when all is well). Without a printer: the default page, no message.
struct PrinterPage {
    PageSetup setup;
    QString message;
};
PrinterPage ReadPrinterPage(QPageLayout::Orientation orientation);

// The paper record of a PWG media name ("na_letter_8.5x11in"): the common
// name, the Windows id and the portrait size; false for names without a size.
bool PaperInfoFromPwg(const QString &pwgName, PaperInfo *out);

} // namespace platform

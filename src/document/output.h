#pragma once
// The one output path of the program: the print job of the window and of
// "dorlix-cli print", the PDF file of "dorlix-cli pdf", the picture of
// "dorlix-cli render" and the print dialog's preview all compose and draw
// their pages here.
//
// A page source yields the pages one after another, each composed into a
// page whose paper the writer sets from the page setup it was given: the
// sheet as printed (TSheetPages), the calibration page (TCalibrationPages),
// or a source of one's own that fills copies of a sheet page after page. A
// writer draws every page of a source into one printer document per copy,
// into one PDF file, or the first page into a PNG picture. The document's
// own sheet and page are never touched by output.

#include "document/compose.h"
#include "platform/printer.h"

#include <QImage>
#include <QLineF>
#include <QString>

#include <functional>
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

// --- Composition for output ------------------------------------------------

// The orientation of the page a sheet is shown and printed on.
QPageLayout::Orientation SheetOrientation(const TRS &sheet);
// The current printer's page in that orientation, with the German note to
// show about it (empty when all is well).
platform::PrinterPage PrinterPageFor(const TRS &sheet);

// The cut lines of a sheet in page millimetres: a vertical line at the left
// edge of every column and at the right edge of the last one, each from the
// top of the page to its bottom; a horizontal line at the top of every row
// and at the bottom of the last one (rows as the last column divides them),
// across the whole page. Nothing without columns or rows.
std::vector<QLineF> CutLines(const TRS &sheet, double pageWidthMm, double pageHeightMm);

// Adds the cut lines (solid, black, 0.1 mm) to the current page of page.
void AddCutLines(const TRS &sheet, canvas::TDPage &page, double pageWidthMm, double pageHeightMm);

// Composes the sheet into page as it is printed, on the paper the page has:
// both layers, the background layer shown as chosen, no printable-area
// overlay, cut lines as chosen. With withShift the content page (fields and
// cut lines) is moved by the shift; the background layer always keeps its
// place.
void ComposePrintPage(const TRS &sheet, canvas::TDPage &page, const TComposeSettings &settings,
                      const TPrintOptions &options, bool withShift);

// --- Page sources --------------------------------------------------------------

class TPageSource
{
  public:
    virtual ~TPageSource() = default;
    // Composes the next page into page (its paper is set); false when there
    // is none left.
    virtual bool Next(canvas::TDPage &page) = 0;
    // Back to the first page: every copy of a print starts there.
    virtual void Rewind() = 0;
    // How many pages one pass gives; -1 when the source cannot tell.
    virtual int PageCount() const { return -1; }
};

// Told after each page is drawn: the pages drawn so far over all copies,
// and how many there are in all (-1 when not known). Returning false stops
// writing a file, which is then left as it was; a print job, once begun, is
// always handed over whole (the printer drivers cannot take one back), so
// printing only reports.
using TOutputProgress = std::function<bool(int done, int total)>;

// The sheet once, composed as ComposePrintPage does. The sheet must outlive
// the source.
class TSheetPages : public TPageSource
{
  public:
    TSheetPages(const TRS &sheet, const TComposeSettings &settings, const TPrintOptions &options,
                bool withShift = true);
    bool Next(canvas::TDPage &page) override;
    void Rewind() override { done_ = false; }

  private:
    const TRS &sheet_;
    TComposeSettings settings_;
    TPrintOptions options_;
    bool withShift_;
    bool done_ = false;
};

// The calibration page once, for the paper of the page.
class TCalibrationPages : public TPageSource
{
  public:
    bool Next(canvas::TDPage &page) override;
    void Rewind() override { done_ = false; }

  private:
    bool done_ = false;
};

// --- Writers -------------------------------------------------------------------

// Prints every page of the source on the current printer, one printer
// document per copy (1 … copies) titled title(copy), on the paper of setup
// (the printer's page). False with the German reason in error when a
// document could not be handed over; nothing is printed without a printer.
bool PrintPages(TPageSource &source, const platform::PageSetup &setup, int copies,
                const std::function<QString(int copy)> &title, bool smoothPictures, QString *error,
                const TOutputProgress &progress = {});

// The resolution of PDF pages: fine enough that millimetre positions stay exact.
constexpr int kPdfDpi = 1200;
// The page setup of a PDF file of the given paper.
platform::PageSetup PdfPageSetup(QSizeF paperMm);

// Writes every page of the source into one vector PDF file on the paper of
// setup, origin at the paper's corner; pictures used more than once are
// kept once. The file at out is replaced only when the whole PDF was
// written; error holds the German reason otherwise.
bool WritePdf(TPageSource &source, const platform::PageSetup &setup, const QString &out, const QString &title,
              QString *error, const TOutputProgress &progress = {});

// The first page of the source as a 24-bit picture on white at the zoom of
// the screen mapping (1: the page at the setup's screen resolution). False
// when the source has no page.
bool RenderFirstPage(TPageSource &source, const platform::PageSetup &setup, double zoom, QImage *image);

// The first page of the source as a PNG file at dpi; error holds the German
// reason when it could not be written.
bool WritePng(TPageSource &source, const platform::PageSetup &setup, int dpi, const QString &out,
              QString *error);

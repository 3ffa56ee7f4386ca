#include "document/output.h"

#include "canvas/dpage.h"
#include "canvas/tcolor.h"
#include "document/calibration.h"
#include "model/rs.h"
#include "model/safe_file.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace
{
constexpr double kMmPerInch = 25.4;

// The wait cursor while a document is written, put back however it ends.
class WaitCursor
{
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QString notWritten(const QString &shown, const QString &reason = QString())
{
    QString text = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.").arg(shown);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return text;
}
} // namespace

// ---------------------------------------------------------------------------
// Composition for output

QPageLayout::Orientation SheetOrientation(const TRS &sheet)
{
    return platform::OrientationFor(sheet.PageWidth, sheet.PageHeight);
}

platform::PrinterPage PrinterPageFor(const TRS &sheet)
{
    return platform::ReadPrinterPage(SheetOrientation(sheet));
}

std::vector<QLineF> CutLines(const TRS &sheet, double pageWidthMm, double pageHeightMm)
{
    std::vector<QLineF> lines;
    if (sheet.ColumnCount <= 0 || sheet.RowCount <= 0)
        return lines;
    const TRSSpalte *last = nullptr;
    for (std::int32_t i = 0; i < sheet.ColumnCount; ++i) {
        const TRSSpalte *column = sheet.GetColumn(i);
        if (!column)
            continue;
        lines.emplace_back(column->Left, 0.0, column->Left, pageHeightMm);
        last = column;
    }
    if (!last)
        return lines;
    lines.emplace_back(last->Left + last->Width, 0.0, last->Left + last->Width, pageHeightMm);
    const double pitch = last->Height / sheet.RowCount;
    for (std::int32_t j = 0; j < sheet.RowCount; ++j)
        lines.emplace_back(0.0, last->Top + j * pitch, pageWidthMm, last->Top + j * pitch);
    lines.emplace_back(0.0, last->Top + last->Height, pageWidthMm, last->Top + last->Height);
    return lines;
}

void AddCutLines(const TRS &sheet, canvas::TDPage &page, double pageWidthMm, double pageHeightMm)
{
    page.SetLineStyle(0, clBlack, 0.1);
    for (const QLineF &l : CutLines(sheet, pageWidthMm, pageHeightMm))
        page.AddLine(l.x1(), l.y1(), l.x2(), l.y2());
}

void ComposePrintPage(const TRS &sheet, canvas::TDPage &page, const TComposeSettings &settings,
                      const TPrintOptions &options, bool withShift)
{
    // Composed without shift; setting it afterwards moves what the content
    // page holds, cut lines included.
    page.SetOffsetX(0);
    page.SetOffsetY(0);
    ComposeSheet(sheet, page, settings); // leaves the content page current
    page.SetSeite0Ausgabe(options.Background);
    page.SetPageInfosShown(false);
    if (options.CutLines)
        AddCutLines(sheet, page, page.PageWidthMm(), page.PageHeightMm());
    if (withShift) {
        page.SetOffsetX(options.ShiftX);
        page.SetOffsetY(options.ShiftY);
    }
}

// ---------------------------------------------------------------------------
// Page sources

TSheetPages::TSheetPages(const TRS &sheet, const TComposeSettings &settings, const TPrintOptions &options,
                         bool withShift)
    : sheet_(sheet), settings_(settings), options_(options), withShift_(withShift)
{
}

bool TSheetPages::Next(canvas::TDPage &page)
{
    if (done_)
        return false;
    done_ = true;
    ComposePrintPage(sheet_, page, settings_, options_, withShift_);
    return true;
}

bool TCalibrationPages::Next(canvas::TDPage &page)
{
    if (done_)
        return false;
    done_ = true;
    page.SetOffsetX(0);
    page.SetOffsetY(0);
    page.SelectPage(0);
    page.ClearPage();
    page.SelectPage(1);
    page.SetPageInfosShown(false);
    AddCalibrationPage(page, page.PageWidthMm(), page.PageHeightMm());
    return true;
}

// ---------------------------------------------------------------------------
// Writers

bool PrintPages(TPageSource &source, const platform::PageSetup &setup, int copies,
                const std::function<QString(int copy)> &title, bool smoothPictures, QString *error,
                const TOutputProgress &progress)
{
    platform::Printer &printer = platform::Printer::Instance();
    // Nothing can be printed without a printer, unless documents go to a file.
    if (!printer.HasPrinter() && printer.PdfOutput().isEmpty()) {
        if (error)
            *error = QStringLiteral("Es ist kein Drucker eingerichtet. Bitte richten Sie einen Drucker ein.");
        return false;
    }
    auto handOver = [&] {
        if (error)
            *error = QStringLiteral("Der Druckauftrag konnte nicht an den Drucker \"%1\" übergeben werden.")
                         .arg(printer.PrinterName());
        return false;
    };
    const WaitCursor wait;
    canvas::TDPage page(setup);
    const int total = source.PageCount() < 0 ? -1 : source.PageCount() * copies;
    int done = 0;
    for (int copy = 1; copy <= copies; ++copy) {
        source.Rewind();
        if (!source.Next(page))
            return true;
        QPrinter &device = printer.BeginDocument(title(copy), setup.orientation);
        QPainter p;
        if (!p.begin(&device))
            return handOver();
        p.translate(printer.PrintableOriginPx());
        bool more = true;
        for (bool first = true; more; first = false) {
            if (!first && !device.newPage()) {
                p.end();
                return handOver();
            }
            canvas::TDrawTarget target = page.PrinterTarget();
            target.smoothPictures = smoothPictures;
            page.Draw(p, target);
            if (progress)
                progress(++done, total);
            more = source.Next(page);
        }
        if (!p.end())
            return handOver();
    }
    return true;
}

platform::PageSetup PdfPageSetup(QSizeF paperMm)
{
    return platform::PaperPageSetup(paperMm, kPdfDpi);
}

bool WritePdf(TPageSource &source, const platform::PageSetup &setup, const QString &out, const QString &title,
              QString *error, const TOutputProgress &progress)
{
    const QString shown = QDir::toNativeSeparators(out);
    if (QFileInfo(out).isDir()) {
        *error = QStringLiteral("\"%1\" ist ein Ordner, keine Datei.").arg(shown);
        return false;
    }
    canvas::TDPage page(setup);
    source.Rewind();
    if (!source.Next(page)) {
        *error = notWritten(shown);
        return false;
    }
    TSafeFile file(out);
    if (!file.Open()) {
        *error = notWritten(shown, file.ErrorString());
        return false;
    }
    bool painted = false, stopped = false;
    {
        QPdfWriter writer(&file.Device());
        writer.setCreator(QStringLiteral("Dorlix"));
        writer.setTitle(title);
        writer.setResolution(setup.metrics.dpiX);
        const QPageSize size(QSizeF(setup.WidthMm(), setup.HeightMm()), QPageSize::Millimeter, QString(),
                             QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        QPainter p;
        if (p.begin(&writer)) {
            painted = true;
            bool more = true;
            for (int done = 1; more && painted && !stopped; ++done) {
                if (done > 1)
                    painted = writer.newPage();
                // The PDF page is the whole sheet: origin at its corner.
                canvas::TDrawTarget target = page.PrinterTarget();
                target.map.originXMm = target.map.originYMm = 0;
                target.pageInfo = false;
                page.Draw(p, target);
                stopped = progress && !progress(done, source.PageCount());
                more = source.Next(page);
            }
            painted = p.end() && painted;
        }
    }
    if (stopped) {
        file.Cancel();
        *error = QStringLiteral("Das Schreiben von \"%1\" wurde abgebrochen.").arg(shown);
        return false;
    }
    if (!painted) {
        file.Cancel();
        *error = notWritten(shown);
        return false;
    }
    if (!file.Commit()) {
        *error = notWritten(shown, file.ErrorString());
        return false;
    }
    return true;
}

bool RenderFirstPage(TPageSource &source, const platform::PageSetup &setup, double zoom, QImage *image)
{
    canvas::TDPage page(setup);
    source.Rewind();
    if (!source.Next(page))
        return false;
    page.RenderToBitmap(*image, clWhite, zoom);
    return true;
}

bool WritePng(TPageSource &source, const platform::PageSetup &setup, int dpi, const QString &out,
              QString *error)
{
    QImage image;
    const bool rendered = RenderFirstPage(source, setup, double(dpi) / std::max(1, setup.screenDpi), &image);
    const int dotsPerMetre = int(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    if (!rendered || !image.save(out, "PNG")) {
        *error = notWritten(QDir::toNativeSeparators(out));
        return false;
    }
    return true;
}

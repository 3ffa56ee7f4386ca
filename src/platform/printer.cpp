#include "platform/printer.h"

#include <utility>

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace platform
{

PrinterMetrics DefaultPrinterMetrics(QPageLayout::Orientation orientation)
{
    PrinterMetrics m;
    m.dpiX = 300;
    m.dpiY = 300;
    m.physWidthPx = 2480;
    m.physHeightPx = 3508;
    m.physOffsetXPx = 60;
    m.physOffsetYPx = 60;
    m.printableWidthPx = 2360;
    m.printableHeightPx = 3270;
    m.colorBits = 8;
    // A wide sheet without a printer still gets its whole page.
    if (orientation == QPageLayout::Landscape) {
        std::swap(m.physWidthPx, m.physHeightPx);
        std::swap(m.physOffsetXPx, m.physOffsetYPx);
        std::swap(m.printableWidthPx, m.printableHeightPx);
    }
    return m;
}

Printer &Printer::Instance()
{
    static Printer printer;
    return printer;
}

Printer::Printer() : device_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    Refresh();
}

Printer::~Printer() = default;

void Printer::Refresh()
{
    const QString current = PrinterName();
    printers_ = systemEnabled_ ? QPrinterInfo::availablePrinterNames() : QStringList();
    int index = printers_.indexOf(current);
    if (index < 0 && !printers_.isEmpty()) {
        index = printers_.indexOf(QPrinterInfo::defaultPrinterName());
        if (index < 0)
            index = 0;
    }
    index_ = -1;
    SetPrinterIndex(index);
}

void Printer::SetPrinterIndex(int index)
{
    if (index < 0 || index >= printers_.size()) {
        index_ = -1;
        return;
    }
    index_ = index;
    if (device_->outputFormat() != QPrinter::NativeFormat)
        device_->setOutputFormat(QPrinter::NativeFormat);
    if (device_->printerName() != printers_[index])
        device_->setPrinterName(printers_[index]);
    device_->setPageOrientation(orientation_);
}

bool Printer::SetPrinterName(const QString &name)
{
    const int index = printers_.indexOf(name);
    if (index < 0)
        return false;
    SetPrinterIndex(index);
    return true;
}

QString Printer::PrinterName() const
{
    return index_ >= 0 && index_ < printers_.size() ? printers_[index_] : QString();
}

QPageLayout::Orientation Printer::Orientation() const
{
    return orientation_;
}

void Printer::SetOrientation(QPageLayout::Orientation orientation)
{
    orientation_ = orientation;
    if (index_ >= 0)
        device_->setPageOrientation(orientation);
}

bool Printer::Metrics(PrinterMetrics *out) const
{
    if (index_ < 0)
        return false;
    const int res = device_->resolution();
    if (res <= 0)
        return false;
    const QPageLayout layout = device_->pageLayout();
    if (!layout.isValid())
        return false;
    const QRect full = layout.fullRectPixels(res);
    const QRect paint = layout.paintRectPixels(res);
    if (full.width() <= 0 || full.height() <= 0)
        return false;
    PrinterMetrics m;
    m.dpiX = res;
    m.dpiY = res;
    m.physWidthPx = full.width();
    m.physHeightPx = full.height();
    m.physOffsetXPx = paint.left() - full.left();
    m.physOffsetYPx = paint.top() - full.top();
    m.printableWidthPx = paint.width();
    m.printableHeightPx = paint.height();
    const QList<QPrinter::ColorMode> modes =
        QPrinterInfo::printerInfo(printers_[index_]).supportedColorModes();
    m.colorBits = (!modes.isEmpty() && !modes.contains(QPrinter::Color)) ? 1 : 8;
    *out = m;
    return true;
}

bool Printer::PaperList(int index, std::vector<PaperInfo> *out)
{
    out->clear();
    if (index < 0)
        index = 0;
    if (index >= printers_.size())
        return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printers_[index]);
    if (info.isNull())
        return false;
    for (const QPageSize &size : info.supportedPageSizes()) {
        if (!size.isValid())
            continue;
        const QSizeF mm = size.size(QPageSize::Millimeter);
        PaperInfo p;
        p.name = size.name().left(63);
        p.id = size.windowsId();
        p.width01mm = int(std::lround(mm.width() * 10.0));
        p.height01mm = int(std::lround(mm.height() * 10.0));
        out->push_back(p);
    }
    return true;
}

int Printer::CurrentPaperId() const
{
    if (index_ < 0)
        return 0;
    return device_->pageLayout().pageSize().windowsId();
}

QPrinter &Printer::Device()
{
    return *device_;
}

void Printer::SyncFromDevice()
{
    const int index = printers_.indexOf(device_->printerName());
    if (index >= 0)
        index_ = index;
    orientation_ = device_->pageLayout().orientation();
}

QPrinter &Printer::BeginDocument(const QString &title)
{
    pdfOrigin_ = QPoint();
    if (pdfOutput_.isEmpty()) {
        if (index_ >= 0)
            SetPrinterIndex(index_);
        device_->setDocName(title);
        return *device_;
    }
    // A file of the same page as the printer would print: paper size, printable
    // area and resolution from the current metrics.
    PrinterMetrics m;
    if (!Metrics(&m))
        m = DefaultPrinterMetrics(orientation_);
    pdfDevice_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdfDevice_->setOutputFormat(QPrinter::PdfFormat);
    pdfDevice_->setOutputFileName(pdfOutput_);
    pdfDevice_->setResolution(m.dpiX);
    // The paper in whole points (as PDF pages are), printed from its corner:
    // margins are rounded to whole points, which would move the printable
    // area by up to half a point; the caller shifts by PrintableOriginPx().
    const double dx = m.dpiX, dy = m.dpiY;
    const QPageSize size(QSizeF(m.physWidthPx / dx, m.physHeightPx / dy), QPageSize::Inch, QString(),
                         QPageSize::ExactMatch);
    pdfDevice_->setFullPage(true);
    pdfDevice_->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Inch));
    pdfOrigin_ = QPoint(m.physOffsetXPx, m.physOffsetYPx);
    pdfDevice_->setDocName(title);
    pdfDevice_->setCreator(QStringLiteral("Rückenschilder"));
    return *pdfDevice_;
}

void Printer::SetPdfOutput(const QString &path)
{
    pdfOutput_ = path;
}

void Printer::SetSystemPrintersEnabled(bool enabled)
{
    systemEnabled_ = enabled;
}

} // namespace platform

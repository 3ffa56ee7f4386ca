#include "platform/printer.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <utility>

namespace platform
{

namespace
{

constexpr double kHundredthsPerInch = 2540.0;

int ToPixels(int hundredthsMm, int dpi)
{
    return int(std::lround(hundredthsMm * double(dpi) / kHundredthsPerInch));
}

// Qt's page size for a paper: the named size where one matches, so that the
// print system gets the paper's own name, else an exact custom size.
QPageSize PageSizeOf(const CupsPaper &paper)
{
    const QSizeF mm(paper.width / 100.0, paper.height / 100.0);
    const QPageSize::PageSizeId id = QPageSize::id(mm, QPageSize::Millimeter, QPageSize::FuzzyMatch);
    if (id != QPageSize::Custom)
        return QPageSize(id);
    return QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

// The paper of a Qt page layout: portrait size and the margins the printer
// cannot print on, in hundredths of a millimetre.
CupsPaper PaperOf(const QPageLayout &layout)
{
    CupsPaper paper;
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    paper.width = int(std::lround(mm.width() * 100.0));
    paper.height = int(std::lround(mm.height() * 100.0));
    const QMarginsF m = layout.minimumMargins();
    const double k = kHundredthsPerInch / 72.0; // margins in points
    auto toMm = [&](double points) { return int(std::lround(points * k)); };
    if (layout.units() == QPageLayout::Point) {
        paper.left = toMm(m.left());
        paper.right = toMm(m.right());
        paper.top = toMm(m.top());
        paper.bottom = toMm(m.bottom());
    } else {
        QPageLayout inPoints = layout;
        inPoints.setUnits(QPageLayout::Point);
        const QMarginsF p = inPoints.minimumMargins();
        paper.left = toMm(p.left());
        paper.right = toMm(p.right());
        paper.top = toMm(p.top());
        paper.bottom = toMm(p.bottom());
    }
    return paper;
}

bool SameSize(const CupsPaper &a, const CupsPaper &b)
{
    // Qt keeps page sizes in points; a tenth of a millimetre covers its rounding.
    return std::abs(a.width - b.width) <= 10 && std::abs(a.height - b.height) <= 10;
}

} // namespace

bool PaperInfoFromPwg(const QString &pwgName, PaperInfo *out)
{
    int w = 0, h = 0;
    if (!CupsPaperSize(pwgName, &w, &h))
        return false;
    const QSizeF mm(w / 100.0, h / 100.0);
    const QPageSize::PageSizeId id = QPageSize::id(mm, QPageSize::Millimeter, QPageSize::FuzzyMatch);
    PaperInfo p;
    if (id != QPageSize::Custom) {
        const QPageSize size(id);
        p.name = size.name();
        p.id = size.windowsId();
    } else {
        p.name = QStringLiteral("%1 × %2 mm").arg(mm.width(), 0, 'g', 4).arg(mm.height(), 0, 'g', 4);
    }
    p.name = p.name.left(63);
    p.width01mm = int(std::lround(w / 10.0));
    p.height01mm = int(std::lround(h / 10.0));
    *out = p;
    return true;
}

Printer &Printer::Instance()
{
    static Printer printer;
    return printer;
}

Printer::Printer() = default;

Printer::~Printer() = default;

bool Printer::Adopt(const CupsQueueInfo &info)
{
    if (info.name.isEmpty() || !info.paper.IsValid())
        return false;
    if (info.name != name_)
        chosenPaper_.reset();
    name_ = info.name;
    info_ = info;
    return true;
}

void Printer::Refresh()
{
    refreshed_ = true;
    printersRead_ = false;
    printers_.clear();
    if (!systemEnabled_) {
        name_.clear();
        info_ = CupsQueueInfo();
        chosenPaper_.reset();
        return;
    }
    CupsQueueInfo info;
    if (!name_.isEmpty() && QueryCupsQueue(name_, &info) && Adopt(info))
        return;
    // No current printer, or it is gone: the default one, as the user or the
    // system set it.
    const QString local = LocalDefaultQueueName();
    if ((!local.isEmpty() && QueryCupsQueue(local, &info) && Adopt(info)) ||
        (QueryCupsQueue(QString(), &info) && Adopt(info)))
        return;
    // Without any default, the first printer the system lists.
    for (const QString &name : Printers())
        if (QueryCupsQueue(name, &info) && Adopt(info))
            return;
    name_.clear();
    info_ = CupsQueueInfo();
    chosenPaper_.reset();
}

const QStringList &Printer::Printers() const
{
    Ensure();
    if (!printersRead_) {
        printers_ = systemEnabled_ ? QPrinterInfo::availablePrinterNames() : QStringList();
        // The current printer was just asked for; it belongs to the list even
        // when the list was read a moment too early or too late.
        if (!name_.isEmpty() && !printers_.contains(name_))
            printers_.append(name_);
        printersRead_ = true;
    }
    return printers_;
}

int Printer::PrinterIndex() const
{
    return name_.isEmpty() ? -1 : int(Printers().indexOf(name_));
}

void Printer::SetPrinterIndex(int index)
{
    Ensure();
    const QStringList &list = Printers();
    if (index < 0 || index >= list.size()) {
        name_.clear();
        info_ = CupsQueueInfo();
        chosenPaper_.reset();
        // No printer chosen: the default one is looked for when the printer
        // is next asked for, as at start.
        refreshed_ = false;
        return;
    }
    SetPrinterName(list[index]);
}

bool Printer::SetPrinterName(const QString &name)
{
    Ensure();
    if (!systemEnabled_ || name.isEmpty())
        return false;
    if (name == name_)
        return true;
    CupsQueueInfo info;
    return QueryCupsQueue(name, &info) && Adopt(info);
}

QPageLayout::Orientation Printer::Orientation() const
{
    return orientation_;
}

void Printer::SetOrientation(QPageLayout::Orientation orientation)
{
    orientation_ = orientation;
}

CupsPaper Printer::CurrentPaper() const
{
    return chosenPaper_ ? *chosenPaper_ : info_.paper;
}

bool Printer::Metrics(PrinterMetrics *out, QPageLayout::Orientation orientation) const
{
    Ensure();
    if (name_.isEmpty())
        return false;
    const CupsPaper paper = CurrentPaper();
    if (!paper.IsValid())
        return false;
    PrinterMetrics m;
    m.dpiX = info_.dpiX > 0 ? info_.dpiX : 300;
    m.dpiY = info_.dpiY > 0 ? info_.dpiY : 300;
    // A landscape page is the paper turned a quarter to the left (as print
    // systems turn it): its left edge lies on the paper's bottom edge, its top
    // edge on the paper's left edge.
    const bool landscape = orientation == QPageLayout::Landscape;
    const int w = ToPixels(landscape ? paper.height : paper.width, m.dpiX);
    const int h = ToPixels(landscape ? paper.width : paper.height, m.dpiY);
    const int left = ToPixels(landscape ? paper.bottom : paper.left, m.dpiX);
    const int right = ToPixels(landscape ? paper.top : paper.right, m.dpiX);
    const int top = ToPixels(landscape ? paper.left : paper.top, m.dpiY);
    const int bottom = ToPixels(landscape ? paper.right : paper.bottom, m.dpiY);
    m.physWidthPx = w;
    m.physHeightPx = h;
    m.physOffsetXPx = left;
    m.physOffsetYPx = top;
    m.printableWidthPx = std::max(1, w - left - right);
    m.printableHeightPx = std::max(1, h - top - bottom);
    m.colorBits = info_.color ? 8 : 1;
    *out = m;
    return true;
}

bool Printer::PaperList(int index, std::vector<PaperInfo> *out)
{
    out->clear();
    if (index < 0)
        index = 0;
    QStringList papers;
    if (index == PrinterIndex()) {
        papers = info_.papers;
    } else {
        const QStringList &list = Printers();
        if (index >= list.size())
            return false;
        CupsQueueInfo info;
        if (!QueryCupsQueue(list[index], &info))
            return false;
        papers = info.papers;
    }
    for (const QString &pwg : papers) {
        PaperInfo p;
        if (PaperInfoFromPwg(pwg, &p))
            out->push_back(p);
    }
    return true;
}

bool Printer::CurrentPaperList(std::vector<PaperInfo> *out) const
{
    Ensure();
    out->clear();
    if (name_.isEmpty())
        return false;
    for (const QString &pwg : info_.papers) {
        PaperInfo p;
        if (PaperInfoFromPwg(pwg, &p))
            out->push_back(p);
    }
    return true;
}

int Printer::CurrentPaperId() const
{
    Ensure();
    if (name_.isEmpty())
        return 0;
    const CupsPaper paper = CurrentPaper();
    if (!paper.IsValid())
        return 0;
    return PageSizeOf(paper).windowsId();
}

PrinterStatus Printer::Status()
{
    Ensure();
    if (name_.isEmpty())
        return PrinterStatus();
    CupsQueueInfo info;
    if (!QueryCupsQueue(name_, &info))
        return PrinterStatus();
    // CUPS learns that a network printer is gone only while it tries to send
    // it a job; ask the printer itself whether it takes a connection.
    info.status.deviceUnreachable = !DeviceAnswers(info.deviceUri, 1500);
    info_.status = info.status;
    return info.status;
}

void Printer::PrepareDevice(bool wholePaper, QPageLayout::Orientation orientation)
{
    Ensure();
    if (!device_)
        device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (device_->outputFormat() != QPrinter::NativeFormat)
        device_->setOutputFormat(QPrinter::NativeFormat);
    if (!name_.isEmpty() && device_->printerName() != name_)
        device_->setPrinterName(name_);
    devicePaper_ = CurrentPaper();
    deviceName_ = name_;
    if (!devicePaper_.IsValid())
        return;
    PrinterMetrics m;
    if (!Metrics(&m, orientation))
        return;
    device_->setResolution(m.dpiX);
    QPageLayout layout(PageSizeOf(devicePaper_), orientation, QMarginsF(), QPageLayout::Millimeter);
    // A queue that writes PDF files lets Ghostscript turn every page so that
    // most of its text reads from left to right, which stands spine labels on
    // their side. Outlines are no text to it, and a wide page on a wide sheet
    // (instead of turned onto an upright one) is shown the way it was drawn.
    device_->setFontEmbeddingEnabled(!(wholePaper && info_.writesFiles));
    if (wholePaper && info_.writesFiles && orientation == QPageLayout::Landscape) {
        const QSizeF wide(devicePaper_.height / 100.0, devicePaper_.width / 100.0);
        layout = QPageLayout(QPageSize(wide, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                             QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    }
    if (wholePaper) {
        layout.setMode(QPageLayout::FullPageMode);
    } else {
        // The dialogs show the margins the printer cannot print on.
        const QMarginsF margins(devicePaper_.left / 100.0, devicePaper_.top / 100.0,
                                devicePaper_.right / 100.0, devicePaper_.bottom / 100.0);
        layout.setMinimumMargins(margins);
        layout.setMargins(margins);
    }
    device_->setPageLayout(layout);
    device_->setFullPage(wholePaper);
}

QPrinter &Printer::Device()
{
    PrepareDevice(false, orientation_);
    return *device_;
}

void Printer::SyncFromDevice()
{
    if (!device_)
        return;
    orientation_ = device_->pageLayout().orientation();
    const CupsPaper shown = PaperOf(device_->pageLayout());
    const QString name = device_->printerName();
    const bool paperChanged = shown.IsValid() && !SameSize(shown, devicePaper_);
    if (name != deviceName_ && !name.isEmpty()) {
        // Another printer: its own default paper, unless a paper was chosen too.
        if (!SetPrinterName(name))
            return;
    }
    if (paperChanged && name_ == name)
        chosenPaper_ = shown;
}

QPrinter &Printer::BeginDocument(const QString &title, QPageLayout::Orientation orientation)
{
    PrinterMetrics m;
    if (!Metrics(&m, orientation))
        m = DefaultPrinterMetrics(orientation);
    origin_ = QPoint(m.physOffsetXPx, m.physOffsetYPx);
    if (pdfOutput_.isEmpty()) {
        PrepareDevice(true, orientation);
        device_->setDocName(title);
        return *device_;
    }
    // A file of the same page as the printer would print: paper size, printable
    // area and resolution from the current metrics.
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

PrinterPage ReadPrinterPage(QPageLayout::Orientation orientation)
{
    PrinterPage page;
    PageSetup &s = page.setup;
    s = DefaultPageSetup(orientation);
    const Printer &printer = Printer::Instance();
    // The printer as it answered last (at start or the last Refresh): nothing
    // more goes to the print system here.
    if (!printer.HasPrinter())
        return page;
    s.hasPrinter = true;
    s.printerName = printer.PrinterName();
    PrinterMetrics m;
    if (!printer.Metrics(&m, orientation)) {
        // The whole default page rather than half-read values.
        page.message =
            QStringLiteral("Kein Drucker vorhanden !!\r\nDarstellung DIN A4-Standardseite - Hochformat.");
        return page;
    }
    s.metrics = m;
    if (!printer.CurrentPaperList(&s.papers))
        page.message = QStringLiteral("Bitte stellen Sie einen Standarddrucker ein!");
    s.paperId = printer.CurrentPaperId();
    return page;
}

} // namespace platform

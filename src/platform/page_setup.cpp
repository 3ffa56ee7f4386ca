#include "platform/page_setup.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform
{

namespace
{
constexpr double kMmPerInch = 25.4;

double ToMm(int px, int dpi)
{
    return double(px) / dpi * kMmPerInch;
}
} // namespace

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

QPageLayout::Orientation OrientationFor(double widthMm, double heightMm)
{
    return widthMm > heightMm ? QPageLayout::Landscape : QPageLayout::Portrait;
}

int ScreenDpi()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    // Half to even, as every other pixel rounding of the page.
    return screen ? std::max(1, int(std::nearbyint(screen->logicalDotsPerInch()))) : 96;
}

double PageSetup::WidthMm() const
{
    return ToMm(metrics.physWidthPx, metrics.dpiX);
}
double PageSetup::HeightMm() const
{
    return ToMm(metrics.physHeightPx, metrics.dpiY);
}
double PageSetup::OffsetXMm() const
{
    return ToMm(metrics.physOffsetXPx, metrics.dpiX);
}
double PageSetup::OffsetYMm() const
{
    return ToMm(metrics.physOffsetYPx, metrics.dpiY);
}
double PageSetup::PrintableWidthMm() const
{
    return ToMm(metrics.printableWidthPx, metrics.dpiX);
}
double PageSetup::PrintableHeightMm() const
{
    return ToMm(metrics.printableHeightPx, metrics.dpiY);
}

QString PageSetup::PaperName() const
{
    QString name = QStringLiteral("?");
    // Id 0 stands for a paper without a Windows number; it names nothing.
    if (papers.size() >= 2 && paperId > 0) {
        for (const PaperInfo &p : papers)
            if (p.id == paperId)
                name = p.name;
    }
    return name;
}

PageSetup DefaultPageSetup(QPageLayout::Orientation orientation)
{
    PageSetup s;
    s.metrics = DefaultPrinterMetrics(orientation);
    s.orientation = orientation;
    s.screenDpi = ScreenDpi();
    return s;
}

PageSetup PaperPageSetup(QSizeF paperMm, int dpi)
{
    PageSetup s;
    s.orientation = OrientationFor(paperMm.width(), paperMm.height());
    s.screenDpi = ScreenDpi();
    PrinterMetrics &m = s.metrics;
    m.dpiX = m.dpiY = std::max(1, dpi);
    m.physWidthPx = m.printableWidthPx = std::max(1, int(std::lround(paperMm.width() / kMmPerInch * dpi)));
    m.physHeightPx = m.printableHeightPx = std::max(1, int(std::lround(paperMm.height() / kMmPerInch * dpi)));
    m.physOffsetXPx = m.physOffsetYPx = 0;
    m.colorBits = 8;
    return s;
}

} // namespace platform

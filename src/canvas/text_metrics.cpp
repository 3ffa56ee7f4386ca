#include "canvas/text_metrics.h"

#include "canvas/elements.h"

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <memory>

namespace canvas
{

namespace
{
// The size widths are measured at: large enough that the engine's rounding
// of advances (1/64 pixel) is far below anything visible.
constexpr int kMeasureEmPx = 2048;

// The metrics of the last font asked for; texts come in runs of the same
// font, so this avoids building metrics for every text.
const QFontMetricsF &measureMetrics(const QString &family, int styleBits)
{
    struct Last {
        QString family;
        int styleBits;
        QFontMetricsF metrics;
    };
    static std::unique_ptr<Last> last;
    if (!last || last->styleBits != styleBits || last->family != family) {
        QFont f = CanvasFont(family, styleBits);
        f.setPixelSize(kMeasureEmPx);
        last.reset(new Last{family, styleBits, QFontMetricsF(f)});
    }
    return last->metrics;
}
} // namespace

QFont CanvasFont(const QString &family, int styleBits)
{
    QFont f(family);
    f.setBold(styleBits & fsBold);
    f.setItalic(styleBits & fsItalic);
    f.setUnderline(styleBits & fsUnderline);
    f.setStrikeOut(styleBits & fsStrikeOut);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

double EmPerCell(const QString &family, int styleBits)
{
    static QHash<QString, double> cache;
    const QString key = family + QLatin1Char('/') + QString::number(styleBits & (fsBold | fsItalic));
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    constexpr int kProbe = 1000;
    QFont f = CanvasFont(family, styleBits & (fsBold | fsItalic));
    f.setPixelSize(kProbe);
    const QFontMetricsF fm(f);
    const double cell = fm.ascent() + fm.descent();
    const double ratio = cell > 0 ? kProbe / cell : 1.0;
    cache.insert(key, ratio);
    return ratio;
}

QStringList SplitTextLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r')) {
            lines << text.mid(start, i - start);
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    lines << text.mid(start);
    return lines;
}

TDrawnFont DrawnFont(const QString &family, int styleBits, double cellPx, int dpi)
{
    const double emPx = cellPx * EmPerCell(family, styleBits);
    // Any other size would be rounded by the font engine anyway.
    const int wholePx = std::max(1, int(std::lround(emPx)));
    TDrawnFont d{CanvasFont(family, styleBits), emPx / wholePx};
    // A point size for the device's resolution, so that printers, whose
    // fonts are given in points, get the same pixel size.
    d.font.setPointSizeF(wholePx * 72.0 / std::max(1, dpi));
    return d;
}

double WidestAdvance(const QString &family, int styleBits, const QStringList &lines, double cellHeight)
{
    const QFontMetricsF &m = measureMetrics(family, styleBits);
    double widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, m.horizontalAdvance(line));
    return widest * cellHeight * EmPerCell(family, styleBits) / kMeasureEmPx;
}

double WidestInk(const QString &family, int styleBits, const QStringList &lines, double cellHeight)
{
    const QFontMetricsF &m = measureMetrics(family, styleBits);
    double widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, m.tightBoundingRect(line).width());
    return widest * cellHeight * EmPerCell(family, styleBits) / kMeasureEmPx;
}

} // namespace canvas

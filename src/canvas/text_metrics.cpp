#include "canvas/text_metrics.h"

#include "canvas/elements.h"

#include <QHash>

#include <memory>

namespace canvas
{

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

TextMeasurer::TextMeasurer(const QFont &font, const QString &family, int styleBits, int emPx)
    : metrics_(font), family_(family), styleBits_(styleBits), emPx_(emPx)
{
}

const TextMeasurer &TextMeasurer::For(const QString &family, int styleBits, int emPx)
{
    static std::unique_ptr<TextMeasurer> last;
    if (!last || last->emPx_ != emPx || last->styleBits_ != styleBits || last->family_ != family) {
        QFont f = CanvasFont(family, styleBits);
        f.setPixelSize(std::max(1, emPx));
        last.reset(new TextMeasurer(f, family, styleBits, emPx));
    }
    return *last;
}

} // namespace canvas

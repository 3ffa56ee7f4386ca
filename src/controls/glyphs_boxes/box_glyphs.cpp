#include "controls/glyphs_boxes/box_glyphs.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace box_glyphs
{

namespace
{
QImage Render(const QString &name, qreal dpr, QSize size = QSize())
{
    QSvgRenderer svg(QStringLiteral(":/box_glyphs/%1.svg").arg(name));
    if (!svg.isValid())
        return QImage();
    const QSize logical = size.isValid() ? size : svg.defaultSize();
    QImage img((QSizeF(logical) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        svg.render(&p);
    }
    img.setDevicePixelRatio(dpr);
    return img;
}
} // namespace

QPixmap Glyph(const QString &name, qreal dpr)
{
    static QHash<QString, QPixmap> cache;
    const QString key = name + QLatin1Char('@') + QString::number(dpr);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QImage img = Render(name, dpr);
    const QPixmap pm = img.isNull() ? QPixmap() : QPixmap::fromImage(img);
    cache.insert(key, pm);
    return pm;
}

QPixmap GlyphSized(const QString &name, QSize size, qreal dpr)
{
    const QImage img = Render(name, dpr, size);
    return img.isNull() ? QPixmap() : QPixmap::fromImage(img);
}

QPixmap TintedGlyph(const QString &name, const QColor &colour, qreal dpr)
{
    QImage img = Render(name, dpr);
    if (img.isNull())
        return QPixmap();
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(img.size()) / dpr), colour);
    p.end();
    return QPixmap::fromImage(img);
}

QImage HintBackground()
{
    return Render(QStringLiteral("hintbk"), 1.0);
}

} // namespace box_glyphs

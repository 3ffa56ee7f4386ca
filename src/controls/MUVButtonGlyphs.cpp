#include "controls/MUVButtonGlyphs.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

QImage MUVGlyph(const QString &name, int size)
{
    if (size <= 0)
        return {};
    // Buttons of one dialog share their pictures.
    static QHash<QString, QImage> cache;
    const QString key = name + QLatin1Char('@') + QString::number(size);
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QString file = QStringLiteral(":/glyphs/%1.svg").arg(name);
    if (!QFile::exists(file))
        return {};
    QSvgRenderer svg(file);
    if (!svg.isValid())
        return {};
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, size, size));
    p.end();
    img = img.convertToFormat(QImage::Format_ARGB32);
    cache.insert(key, img);
    return img;
}

QStringList MUVGlyphNames()
{
    QStringList names;
    for (const QString &file :
         QDir(QStringLiteral(":/glyphs")).entryList({QStringLiteral("*.svg")}, QDir::Files))
        names.append(file.chopped(4));
    names.sort();
    return names;
}

// Drawing a picture stretched into a box, on any paint device. Converted
// forms (decoded bitmaps, scaled JPEG decodes, the SVG of a metafile and its
// last rendering) are kept in the picture's cache, so that repeated paints
// of an unchanged page do not convert again.
#include "model/picture_internal.h"

#include <QPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

QImage DecodeBmp(const TBmpInfo &info, const TBytes &bytes);

TPictureCache::TPictureCache() = default;
TPictureCache::~TPictureCache() = default;

namespace
{

// Renderings and smooth scalings larger than this are not kept: the picture
// is drawn directly instead.
constexpr qint64 kMaxCachedPixels = 16'000'000;

bool isRasterDevice(const QPaintDevice *device)
{
    switch (device ? device->devType() : 0) {
    case QInternal::Widget:
    case QInternal::Pixmap:
    case QInternal::Image:
    case QInternal::CustomRaster:
        return true;
    default:
        return false; // printers, PDF and SVG writers keep the drawing as vectors
    }
}

// The box in device pixels when the painter only scales and moves, else an
// empty size.
QSize deviceSize(const QPainter &painter, const QRectF &box, qreal *ratio)
{
    *ratio = 1;
    if (painter.transform().type() > QTransform::TxScale || !isRasterDevice(painter.device()))
        return QSize();
    *ratio = painter.device()->devicePixelRatioF();
    const QRectF mapped = painter.transform().mapRect(box);
    const QSize size(int(std::lround(mapped.width() * *ratio)), int(std::lround(mapped.height() * *ratio)));
    if (size.isEmpty() || qint64(size.width()) * size.height() > kMaxCachedPixels)
        return QSize();
    return size;
}

void drawRaster(QPainter &painter, const QRectF &box, const QImage &source, qint64 sourceKey,
                TPictureCache &cache)
{
    if (source.isNull())
        return;
    if (painter.testRenderHint(QPainter::SmoothPixmapTransform)) {
        // Smooth reduction averages every source pixel; the painter's own
        // smooth transform only interpolates between neighbours.
        qreal ratio = 1;
        const QSize size = deviceSize(painter, box, &ratio);
        if (!size.isEmpty() && size != source.size() &&
            (size.width() < source.width() || size.height() < source.height())) {
            if (cache.scaled.size() != size || cache.scaledSourceKey != sourceKey) {
                cache.scaled = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                cache.scaledSourceKey = sourceKey;
            }
            painter.drawImage(box, cache.scaled);
            return;
        }
    }
    painter.drawImage(box, source);
}

} // namespace

void TPicture::Draw(QPainter &painter, const QRectF &box, int jpegScaleDenom) const
{
    const QRectF target = box.normalized();
    if (target.isEmpty())
        return;
    if (!cache_)
        cache_ = std::make_shared<TPictureCache>();
    TPictureCache &cache = *cache_;

    switch (kind_) {
    case Kind::Bitmap:
        if (!cache.imageDone) {
            cache.image = DecodeBmp(bmp_, bytes_);
            cache.imageDone = true;
        }
        drawRaster(painter, target, cache.image, 1, cache);
        return;
    case Kind::Jpeg: {
        if (jpegScaleDenom != 2 && jpegScaleDenom != 4 && jpegScaleDenom != 8) {
            drawRaster(painter, target, decoded_, 1, cache);
            return;
        }
        auto it = cache.jpegScaled.find(jpegScaleDenom);
        if (it == cache.jpegScaled.end()) {
            QImage scaled;
            if (!DecodeJpeg(bytes_, jpegScaleDenom, &scaled, nullptr))
                scaled = decoded_; // the photo decoded once already; keep to that
            it = cache.jpegScaled.emplace(jpegScaleDenom, std::move(scaled)).first;
        }
        drawRaster(painter, target, it->second, 1 + jpegScaleDenom, cache);
        return;
    }
    case Kind::Metafile:
        break;
    }

    if (!cache.metaDone) {
        cache.metaDone = true;
        if (!MetafileToSvg(bytes_, metaType_, &cache.svg))
            cache.svg = TMetafileSvg();
    }
    if (!cache.renderer && !cache.svg.svg.isEmpty()) {
        cache.renderer = std::make_unique<QSvgRenderer>(cache.svg.svg);
        if (cache.renderer->isValid())
            cache.renderer->setViewBox(cache.svg.frame);
        else
            cache.svg.svg.clear(); // unreadable: never try again
    }
    if (cache.svg.svg.isEmpty() || !cache.renderer || !cache.renderer->isValid())
        return; // a metafile that draws nothing

    // Transparent: only the metafile's own ink covers what lies below. The
    // drawing stays inside its box, as a field's content must.
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    qreal ratio = 1;
    const QSize size = deviceSize(painter, target, &ratio);
    if (!size.isEmpty()) {
        if (cache.rendered.size() != size || cache.rendered.devicePixelRatio() != ratio) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                             QPainter::SmoothPixmapTransform);
            cache.renderer->render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
            p.end();
            image.setDevicePixelRatio(ratio);
            cache.rendered = std::move(image);
        }
        painter.drawImage(target, cache.rendered);
    } else {
        painter.setRenderHint(QPainter::Antialiasing, true);
        cache.renderer->render(&painter, target);
    }
    painter.restore();
}

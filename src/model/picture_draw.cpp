// Drawing a picture stretched into a box, on any paint device. Converted
// forms (decoded bitmaps, scaled JPEG decodes, the SVG of a metafile and its
// last rendering) are kept in the picture's cache, so that repeated paints
// of an unchanged page do not convert again.
#include "model/picture_internal.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_set>

namespace
{

// Every cache of converted forms, for the common budget.
struct Caches {
    std::unordered_set<TPictureCache *> live;
    qint64 held = 0;
    std::uint64_t clock = 0;
};
Caches &caches()
{
    static Caches c;
    return c;
}

qint64 imageBytes(const QImage &image)
{
    return image.sizeInBytes();
}

} // namespace

qint64 ConvertedBytesHeld()
{
    return caches().held;
}

TPictureCache::TPictureCache()
{
    caches().live.insert(this);
}

TPictureCache::~TPictureCache()
{
    caches().live.erase(this);
    caches().held -= held;
}

void TPictureCache::Drop()
{
    image = QImage();
    imageDone = false;
    jpegScaled.clear();
    scaled.clear();
    metaDone = false;
    svg = TMetafileSvg();
    renderer.reset();
    rendered.clear();
    directSize = QSize();
    directImage = QImage();
    caches().held -= held;
    held = 0;
}

void TPictureCache::Used()
{
    Caches &all = caches();
    qint64 now = imageBytes(image);
    for (const auto &[denom, decoded] : jpegScaled)
        now += imageBytes(decoded);
    for (const Scaled &s : scaled)
        now += imageBytes(s.image);
    for (const QImage &r : rendered)
        now += imageBytes(r);
    now += imageBytes(directImage);
    if (renderer)
        now += qint64(svg.svg.size()) * (1 + kSvgRendererBytesPerByte);
    all.held += now - held;
    held = now;
    used = ++all.clock;
    while (all.held > kMaxConvertedBytes) {
        TPictureCache *oldest = nullptr;
        for (TPictureCache *c : all.live)
            if (c != this && c->held > 0 && (!oldest || c->used < oldest->used))
                oldest = c;
        if (!oldest)
            break; // this picture alone: it is drawn all the same
        oldest->Drop();
    }
}

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

// The size a raster picture is decoded at for drawing: its own, or within
// kMaxDrawnPixels at its aspect.
QSize drawnSize(int w, int h)
{
    const qint64 pixels = qint64(w) * h;
    if (pixels <= kMaxDrawnPixels)
        return QSize(w, h);
    const double scale = std::sqrt(double(kMaxDrawnPixels) / double(pixels));
    return QSize(std::max(1, int(w * scale)), std::max(1, int(h * scale)));
}

// Moves the kept form at index i to the front (most recently used) and
// drops what exceeds the number of kept sizes.
template <class T> void useFirst(std::vector<T> &kept, std::size_t i)
{
    if (i > 0)
        std::rotate(kept.begin(), kept.begin() + std::ptrdiff_t(i), kept.begin() + std::ptrdiff_t(i) + 1);
    if (kept.size() > TPictureCache::kKeptSizes)
        kept.resize(TPictureCache::kKeptSizes);
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
            auto &kept = cache.scaled;
            std::size_t i = 0;
            while (i < kept.size() && (kept[i].image.size() != size || kept[i].sourceKey != sourceKey))
                ++i;
            if (i == kept.size())
                kept.push_back(
                    {sourceKey, source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)});
            useFirst(kept, i);
            painter.drawImage(box, kept.front().image);
            return;
        }
    }
    painter.drawImage(box, source);
}

// Windows draws every pen at least one device pixel wide. A metafile's thin
// lines scaled down into a field would fade to a faint grey on the screen
// while the printer, with its fine pixels, draws them black: on a bitmap they
// keep one pixel. minWidth is that pixel in the drawing's units; the SVG is
// returned unchanged (and changed false) when no line is thinner.
QByteArray widenThinStrokes(const QByteArray &svg, double minWidth, bool *changed)
{
    *changed = false;
    static const QRegularExpression width(
        QStringLiteral("(stroke-width(?::\\s*|=\"))([0-9]*\\.?[0-9]+(?:[eE][-+]?[0-9]+)?)"));
    const QString text = QString::fromUtf8(svg);
    QString out;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = width.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const double w = m.captured(2).toDouble();
        if (!(w > 0 && w < minWidth))
            continue;
        if (!*changed)
            out.reserve(text.size() + 64);
        out += QStringView(text).mid(done, m.capturedStart(2) - done);
        out += QString::number(minWidth, 'g', 8);
        done = m.capturedEnd(2);
        *changed = true;
    }
    if (!*changed)
        return svg;
    out += QStringView(text).mid(done);
    return out.toUtf8();
}

} // namespace

double ThinStrokeWidth(const QSizeF &frame, const QSize &pixels)
{
    // The raster engine draws a line of at most one pixel as a hairline of
    // that pixel's strength, along its own fast path; a line even slightly
    // wider is stroked as an outline and filled, which costs a hundred times
    // more for long lines. So the width is one pixel along the finer axis,
    // a hair less to stay below it after rounding.
    const double unitsPerPixel = std::min(frame.width() / pixels.width(), frame.height() / pixels.height());
    return unitsPerPixel * (1 - 1e-6);
}

namespace
{

// A renderer of the metafile with its thin lines widened to one pixel of the
// given size; null when no line is that thin.
std::unique_ptr<QSvgRenderer> widenedRenderer(const TMetafileSvg &m, const QSize &pixels)
{
    bool widened = false;
    const QByteArray svg = widenThinStrokes(m.svg, ThinStrokeWidth(m.frame.size(), pixels), &widened);
    if (!widened)
        return nullptr;
    auto renderer = std::make_unique<QSvgRenderer>(svg);
    renderer->setViewBox(m.frame);
    return renderer;
}

// Renders the metafile into an image of the given size: at that size, or,
// when that would cost more than kMaxDrawCost, smaller and stretched, so
// that no metafile keeps the program busy for long.
QImage renderMetafile(TPictureCache &cache, const QSize &size)
{
    std::unique_ptr<QSvgRenderer> widened = widenedRenderer(cache.svg, size);
    const QSize drawn = AffordableDrawSize(widened ? *widened : *cache.renderer, size);
    if (drawn != size)
        widened = widenedRenderer(cache.svg, drawn); // thin lines: one pixel of the smaller size
    QSvgRenderer &renderer = widened ? *widened : *cache.renderer;
    QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(drawn)));
    p.end();
    return drawn == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Draws a metafile from its SVG form, converting it first if need be.
void drawMetafile(QPainter &painter, const QRectF &target, const TPictureData &d, TPictureCache &cache)
{
    if (!cache.metaDone) {
        cache.metaDone = true;
        if (!MetafileToSvg(d.bytes, d.metaType, &cache.svg))
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
    struct Restore {
        QPainter &p;
        ~Restore() { p.restore(); }
    } restore{painter};
    painter.setClipRect(target, Qt::IntersectClip);
    qreal ratio = 1;
    const QSize size = deviceSize(painter, target, &ratio);
    if (!size.isEmpty()) {
        auto &kept = cache.rendered;
        std::size_t i = 0;
        while (i < kept.size() && (kept[i].size() != size || kept[i].devicePixelRatio() != ratio))
            ++i;
        if (i == kept.size()) {
            QImage image = renderMetafile(cache, size);
            image.setDevicePixelRatio(ratio);
            kept.push_back(std::move(image));
        }
        useFirst(kept, i);
        painter.drawImage(target, kept.front());
        return;
    }
    // Vectors for PDF and printers. On a raster device this is a box too
    // large to keep a rendering of, or a turned one: drawn directly unless
    // the part in view costs too much, then from a smaller rendering.
    if (isRasterDevice(painter.device())) {
        const qreal dpr = painter.device()->devicePixelRatioF();
        const QRectF box = painter.transform().mapRect(target);
        const QRectF inView =
            painter.transform()
                .mapRect(painter.clipBoundingRect())
                .intersected(QRectF(0, 0, painter.device()->width(), painter.device()->height()));
        const QSize pixels = (box.size() * dpr).boundedTo(QSizeF(1e6, 1e6)).toSize();
        if (pixels.isEmpty() || inView.isEmpty())
            return;
        if (cache.directSize != pixels) {
            cache.directSize = pixels;
            cache.directImage = QImage();
            const QRectF part((inView.topLeft() - box.topLeft()) * dpr, inView.size() * dpr);
            if (DrawScaleWithin(SvgDrawCost(*cache.renderer, pixels, part), kMaxDrawCost) < 1) {
                const double fit =
                    std::sqrt(double(kMaxCachedPixels) / (double(pixels.width()) * pixels.height()));
                const QSize kept = (QSizeF(pixels) * std::min(1.0, fit)).toSize().expandedTo(QSize(1, 1));
                cache.directImage = renderMetafile(cache, kept);
            }
        }
        if (!cache.directImage.isNull()) {
            painter.drawImage(target, cache.directImage);
            return;
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    cache.renderer->render(&painter, target);
}

} // namespace

void TPicture::Draw(QPainter &painter, const QRectF &box, int jpegScaleDenom) const
{
    const QRectF target = box.normalized();
    if (target.isEmpty())
        return;
    TPictureData &d = *d_; // only its converted forms are filled in here
    TPictureCache &cache = d.Cache();

    switch (d.kind) {
    case Kind::Bitmap:
        if (!cache.imageDone) {
            cache.image = DecodeBmp(d.bmp, d.bytes, drawnSize(d.bmp.width, d.bmp.AbsHeight()));
            cache.imageDone = true;
        }
        drawRaster(painter, target, cache.image, 1, cache);
        cache.Used();
        return;
    case Kind::Jpeg: {
        if (jpegScaleDenom != 2 && jpegScaleDenom != 4 && jpegScaleDenom != 8) {
            drawRaster(painter, target, d.decoded, 1, cache);
            cache.Used();
            return;
        }
        auto it = cache.jpegScaled.find(jpegScaleDenom);
        if (it == cache.jpegScaled.end()) {
            QImage scaled;
            if (!DecodeJpeg(d.bytes, jpegScaleDenom, &scaled, nullptr))
                scaled = d.decoded; // the photo decoded once already; keep to that
            it = cache.jpegScaled.emplace(jpegScaleDenom, std::move(scaled)).first;
        }
        drawRaster(painter, target, it->second, 1 + jpegScaleDenom, cache);
        cache.Used();
        return;
    }
    case Kind::Metafile:
        break;
    }

    // A metafile beyond the memory to be had draws nothing, like one that
    // cannot be converted.
    try {
        drawMetafile(painter, target, d, cache);
    } catch (const std::bad_alloc &) {
        cache.Drop();
        cache.metaDone = true; // never tried again
    }
    cache.Used();
}

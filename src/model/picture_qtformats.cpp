// PNG, GIF, TIFF and WebP through Qt's image readers, SVG through
// QSvgRenderer; all of them become plain images before they reach a field.
#include "model/picture_qtformats.h"

#include "model/picture_internal.h"
#include "model/svg_filter.h"
#include "model/tiff_messages.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QString formatName(TOtherImageFormat f)
{
    switch (f) {
    case TOtherImageFormat::Png:
        return QStringLiteral("PNG");
    case TOtherImageFormat::Gif:
        return QStringLiteral("GIF");
    case TOtherImageFormat::Tiff:
        return QStringLiteral("TIFF");
    case TOtherImageFormat::WebP:
        return QStringLiteral("WebP");
    case TOtherImageFormat::Svg:
        return QStringLiteral("SVG");
    case TOtherImageFormat::None:
        break;
    }
    return QString();
}

QByteArray readerFormat(TOtherImageFormat f)
{
    switch (f) {
    case TOtherImageFormat::Png:
        return "png";
    case TOtherImageFormat::Gif:
        return "gif";
    case TOtherImageFormat::Tiff:
        return "tiff";
    case TOtherImageFormat::WebP:
        return "webp";
    default:
        return QByteArray();
    }
}

bool startsWith(const char *data, qsizetype size, const char *magic, qsizetype n)
{
    return size >= n && std::memcmp(data, magic, std::size_t(n)) == 0;
}

// An SVG drawing is XML text whose root element is <svg>: look for it near
// the start, after an XML declaration, comments or a document type.
bool looksLikeSvg(const char *data, qsizetype size)
{
    qsizetype i = 0;
    if (startsWith(data, size, "\xEF\xBB\xBF", 3))
        i = 3;
    while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    if (i >= size || data[i] != '<')
        return false;
    const QByteArray head = QByteArray::fromRawData(data + i, std::min<qsizetype>(size - i, 4096));
    return head.contains("<svg");
}

QString tooLarge(qint64 w, qint64 h)
{
    return QStringLiteral("Das Bild ist zu groß (%1 × %2 Bildpunkte; erlaubt sind höchstens %3 Millionen "
                          "Bildpunkte und %4 Bildpunkte je Seite)")
        .arg(w)
        .arg(h)
        .arg(kMaxDecodedPixels / 1'000'000)
        .arg(kMaxBitmapSide);
}

bool sizeAllowed(qint64 w, qint64 h)
{
    return w > 0 && h > 0 && w <= kMaxBitmapSide && h <= kMaxBitmapSide && w * h <= kMaxDecodedPixels;
}

bool decodeSvg(const QByteArray &bytes, int renderWidth, const QColor &background, QImage *out,
               QString *error)
{
    const QString broken = QStringLiteral("SVG-Grafik ist nicht gültig (die Datei ist beschädigt)");
    // Pictures inside the drawing are decoded within the same bounds.
    QImageReader::setAllocationLimit(int(kMaxDecodedPixels * 4 / (1024 * 1024)) + 16);
    const QByteArray filtered = SvgWithOwnReferencesOnly(bytes);
    QSvgRenderer renderer;
    if (filtered.isEmpty() || !renderer.load(filtered) || !renderer.isValid())
        return fail(error, broken);
    const QSizeF own =
        renderer.viewBoxF().isEmpty() ? QSizeF(renderer.defaultSize()) : renderer.viewBoxF().size();
    if (!(own.width() > 0) || !(own.height() > 0))
        return fail(error, QStringLiteral("Die SVG-Grafik hat keine Größe"));
    QSize size = renderer.defaultSize();
    if (renderWidth > 0 || size.isEmpty()) {
        const double w = renderWidth > 0 ? renderWidth : own.width();
        const double h = w * own.height() / own.width();
        if (!std::isfinite(h) || w > kMaxBitmapSide || h > kMaxBitmapSide)
            return fail(error, tooLarge(qint64(w), std::isfinite(h) ? qint64(h) : kMaxBitmapSide + 1));
        size = QSize(std::max(1, int(std::lround(w))), std::max(1, int(std::lround(h))));
    }
    if (!sizeAllowed(size.width(), size.height()))
        return fail(error, tooLarge(size.width(), size.height()));
    // A drawing too costly for its size is drawn smaller and stretched.
    const QSize drawn = AffordableDrawSize(renderer, size);
    QImage image(drawn, QImage::Format_RGB32);
    if (image.isNull())
        return fail(error, QStringLiteral("Nicht genügend Speicher für das Bild"));
    image.fill(background.isValid() ? background : QColor(Qt::white));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(drawn)));
    painter.end();
    *out = drawn == size ? std::move(image)
                         : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (out->isNull())
        return fail(error, QStringLiteral("Nicht genügend Speicher für das Bild"));
    return true;
}

} // namespace

TOtherImageFormat DetectOtherImageFormat(const QByteArray &bytes)
{
    const char *d = bytes.constData();
    const qsizetype n = bytes.size();
    if (startsWith(d, n, "\x89PNG\r\n\x1A\n", 8))
        return TOtherImageFormat::Png;
    if (startsWith(d, n, "GIF87a", 6) || startsWith(d, n, "GIF89a", 6))
        return TOtherImageFormat::Gif;
    if (startsWith(d, n, "II*\0", 4) || startsWith(d, n, "MM\0*", 4))
        return TOtherImageFormat::Tiff;
    if (n >= 12 && startsWith(d, n, "RIFF", 4) && std::memcmp(d + 8, "WEBP", 4) == 0)
        return TOtherImageFormat::WebP;
    if (looksLikeSvg(d, n))
        return TOtherImageFormat::Svg;
    return TOtherImageFormat::None;
}

TOtherImageFormat DetectOtherImageFormat(const TBytes &bytes)
{
    return DetectOtherImageFormat(
        QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())));
}

QImage FlattenOnto(const QImage &image, const QColor &background)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(background.isValid() ? background.rgb() : qRgb(255, 255, 255));
    QPainter p(&out);
    p.drawImage(0, 0, image);
    return out;
}

bool DecodeOtherImage(const QByteArray &bytes, int renderWidth, const QColor &background, QImage *out,
                      QString *error)
{
    const TOtherImageFormat format = DetectOtherImageFormat(bytes);
    if (format == TOtherImageFormat::None)
        return fail(error, QStringLiteral("Unbekanntes Bildformat"));
    if (format == TOtherImageFormat::Svg)
        return decodeSvg(bytes, renderWidth, background, out, error);

    const QString name = formatName(format);
    const QByteArray fmt = readerFormat(format);
    if (!QImageReader::supportedImageFormats().contains(fmt))
        return fail(error,
                    QStringLiteral("%1-Bilder können hier nicht gelesen werden: die Qt-Erweiterung für "
                                   "Bildformate fehlt (Paket qt6-image-formats-plugins)")
                        .arg(name));
    if (format == TOtherImageFormat::Tiff)
        QuietTiffMessages();
    QByteArray data = bytes; // shared, not copied
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, fmt);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    // Four bytes per pixel of the largest picture allowed, and a little more.
    QImageReader::setAllocationLimit(int(kMaxDecodedPixels * 4 / (1024 * 1024)) + 16);
    const QString broken = QStringLiteral("%1-Bild ist nicht gültig (die Datei ist beschädigt)").arg(name);
    if (!reader.canRead())
        return fail(error, broken);
    const QSize size = reader.size();
    if (!size.isValid())
        return fail(error, broken);
    if (!sizeAllowed(size.width(), size.height()))
        return fail(error, tooLarge(size.width(), size.height()));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return fail(error, broken);
    *out = FlattenOnto(image, background);
    if (out->isNull())
        return fail(error, QStringLiteral("Nicht genügend Speicher für das Bild"));
    return true;
}

int Field300DpiWidth(double fieldWidthMm)
{
    const double t = std::nearbyint(fieldWidthMm / 25.4 * 300.0);
    if (!std::isfinite(t) || t < 1)
        return 1;
    return t > kMaxBitmapSide ? kMaxBitmapSide : int(t);
}

QSize Reduced300DpiSize(int w, int h, double fieldWidthMm)
{
    const double target = std::nearbyint(fieldWidthMm / 25.4 * 300.0);
    double scale = target / w;
    if (!(scale < 1)) // never enlarged (also for a width that is no number)
        scale = 1;
    return QSize(std::max(1, int(std::nearbyint(w * scale))), std::max(1, int(std::nearbyint(h * scale))));
}

std::unique_ptr<TPicture> FieldPictureFromImage(const QImage &image, double fieldWidthMm,
                                                const QColor &background)
{
    if (image.isNull())
        return nullptr;
    QImage flat = FlattenOnto(image, background);
    const QSize size = Reduced300DpiSize(flat.width(), flat.height(), fieldWidthMm);
    if (flat.size() != size)
        flat = flat.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return TPicture::FromImage(flat);
}

std::unique_ptr<TPicture> LoadFieldPicture(const QString &path, double fieldWidthMm, const QColor &background,
                                           QString *error)
{
    TBytes bytes;
    if (!ReadPictureFile(path, &bytes, error))
        return nullptr;
    const TOtherImageFormat format = DetectOtherImageFormat(bytes);
    if (format == TOtherImageFormat::None)
        return TPicture::LoadReducedFromFile(path, fieldWidthMm, error);
    const QByteArray raw =
        QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    QImage image;
    // A drawing is drawn at the field's width at 300 dpi: it has no pixels of its own.
    const int width = format == TOtherImageFormat::Svg ? Field300DpiWidth(fieldWidthMm) : 0;
    if (!DecodeOtherImage(raw, width, background, &image, error))
        return nullptr;
    return FieldPictureFromImage(image, fieldWidthMm, background);
}

bool RefuseJpegPrecision(const TBytes &b, QString *error)
{
    // Walk the markers up to the frame header, which states the precision.
    std::size_t i = 2;
    while (i + 4 <= b.size()) {
        if (b[i] != 0xFF)
            return false;
        const std::uint8_t marker = b[i + 1];
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            i += 2;
            continue;
        }
        const std::size_t length = std::size_t(b[i + 2]) << 8 | b[i + 3];
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (i + 4 >= b.size())
                return false;
            const int precision = b[i + 4];
            if (precision == 8)
                return false;
            fail(error,
                 QStringLiteral("Das JPEG-Bild hat %1 Bit je Farbkanal: JPEG-Bilder mit %1 Bit je Farbkanal "
                                "werden nicht unterstützt (nur 8 Bit)")
                     .arg(precision));
            return true;
        }
        if (marker == 0xDA || length < 2)
            return false;
        i += 2 + length;
    }
    return false;
}

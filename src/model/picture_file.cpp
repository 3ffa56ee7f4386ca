// Picture files, recognised by their content: the extension may lie or be
// missing (files from mail attachments, downloads, other systems).
#include "model/le_bytes.h"
#include "model/picture_internal.h"
#include "model/picture_qtformats.h"

#include <QFile>
#include <QFileInfo>
#include <QSvgRenderer>

#include <new>

using lebytes::le16;
using lebytes::le32;

namespace
{

const QString kBrokenMetafile = QStringLiteral("Fehlerhafte Grafik");

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool looksLikeJpeg(const TBytes &b)
{
    return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}
bool looksLikeBmp(const TBytes &b)
{
    return b.size() >= 2 && b[0] == 'B' && b[1] == 'M';
}
bool looksLikeEmf(const TBytes &b)
{
    return b.size() >= 44 && le32(b.data()) == 1 && le32(b.data() + 40) == 0x464D4520u;
}
bool looksLikePlaceable(const TBytes &b)
{
    return b.size() >= 4 && le32(b.data()) == 0x9AC6CDD7u;
}
bool looksLikePlainWmf(const TBytes &b)
{
    if (b.size() < 18)
        return false;
    const std::uint16_t type = le16(b.data()), words = le16(b.data() + 2), version = le16(b.data() + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

} // namespace

std::unique_ptr<TPicture> TPicture::FromFileBytes(TBytes bytes, QString *error)
{
    if (bytes.empty()) {
        fail(error, QStringLiteral("Die Grafikdatei ist leer"));
        return nullptr;
    }
    if (looksLikeBmp(bytes)) {
        std::size_t consumed = 0;
        return FromBmpStream(bytes.data(), bytes.size(), TBmpMode::File, &consumed, error);
    }
    if (looksLikeJpeg(bytes)) {
        if (RefuseJpegPrecision(bytes, error))
            return nullptr;
        return FromJpegBytes(std::move(bytes), error);
    }
    if (DetectOtherImageFormat(bytes) != TOtherImageFormat::None) {
        // Other raster formats and drawings become bitmaps of their own size,
        // on white where they are transparent.
        QImage image;
        const QByteArray raw =
            QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
        if (!DecodeOtherImage(raw, 0, QColor(Qt::white), &image, error))
            return nullptr;
        return FromImage(image);
    }

    // EMF and placeable WMF carry their frame in a header; plain WMF do not.
    const bool framed = looksLikeEmf(bytes) || looksLikePlaceable(bytes);
    if (!framed && !looksLikePlainWmf(bytes)) {
        fail(error, QStringLiteral("Unbekanntes Grafikformat: erlaubt sind Bitmaps (BMP), JPEG-Bilder, "
                                   "Metadateien (EMF, WMF) und PNG-, GIF-, TIFF-, WebP- und SVG-Bilder"));
        return nullptr;
    }
    if (bytes.size() > kMaxMetafileBytes) {
        fail(error,
             QStringLiteral("Die Metadatei ist zu groß (höchstens %1 MB)").arg(kMaxMetafileBytes >> 20));
        return nullptr;
    }
    if (!framed) {
        if (!WmfWithinLimits(bytes, 0)) {
            fail(error, MetafileTooLargeText());
            return nullptr;
        }
        // A label file holds Windows metafiles only with placeable header.
        bytes = WrapPlainWmf(bytes);
        if (bytes.empty()) {
            fail(error, kBrokenMetafile);
            return nullptr;
        }
    }
    std::unique_ptr<TPicture> pic = FromMetafileBytes(std::move(bytes), error);
    if (!pic)
        return nullptr;
    if (!MetafileWithinLimits(pic->d_->bytes, pic->d_->metaType)) {
        fail(error, MetafileTooLargeText());
        return nullptr;
    }
    // Convert now: a metafile that cannot be drawn at all is refused, one that
    // can is drawn later from this conversion.
    try {
        auto cache = std::make_unique<TPictureCache>();
        cache->metaDone = true;
        if (!MetafileToSvg(pic->d_->bytes, pic->d_->metaType, &cache->svg)) {
            fail(error, kBrokenMetafile);
            return nullptr;
        }
        if (!cache->svg.svg.isEmpty()) {
            cache->renderer = std::make_unique<QSvgRenderer>(cache->svg.svg);
            if (!cache->renderer->isValid()) {
                fail(error, kBrokenMetafile);
                return nullptr;
            }
            cache->renderer->setViewBox(cache->svg.frame);
        }
        pic->d_->cache = std::move(cache);
        pic->d_->cache->Used();
    } catch (const std::bad_alloc &) {
        fail(error, QStringLiteral("Nicht genügend Speicher für die Metadatei"));
        return nullptr;
    }
    return pic;
}

bool ReadPictureFile(const QString &path, TBytes *bytes, QString *error)
{
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("Die Grafikdatei \"%1\" kann nicht geöffnet werden").arg(name));
        return false;
    }
    const qint64 size = file.size();
    if (size > kMaxPictureFileBytes) {
        fail(error, QStringLiteral("Die Grafikdatei \"%1\" ist zu groß (höchstens %2 MB)")
                        .arg(name)
                        .arg(kMaxPictureFileBytes >> 20));
        return false;
    }
    bytes->assign(static_cast<std::size_t>(size), 0);
    if (size > 0 && file.read(reinterpret_cast<char *>(bytes->data()), size) != size) {
        fail(error, QStringLiteral("Die Grafikdatei \"%1\" kann nicht gelesen werden").arg(name));
        return false;
    }
    return true;
}

std::unique_ptr<TPicture> TPicture::LoadFromFile(const QString &path, QString *error)
{
    TBytes bytes;
    if (!ReadPictureFile(path, &bytes, error))
        return nullptr;
    return FromFileBytes(std::move(bytes), error);
}

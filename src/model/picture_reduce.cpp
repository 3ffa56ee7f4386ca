// Raster pictures placed into a field become 24-bit bitmaps of at most 300
// dots per inch of the field's width.
#include "model/picture.h"
#include "model/picture_internal.h"
#include "model/picture_qtformats.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace
{
// The field width in pixels at 300 dots per inch, rounded half to even.
double TargetWidth300Dpi(double fieldWidthMm)
{
    return std::nearbyint(fieldWidthMm / 25.4 * 300.0);
}
} // namespace

std::unique_ptr<TPicture> TPicture::ReducedTo300Dpi(double fieldWidthMm) const
{
    if (IsMetafile())
        return nullptr;
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return nullptr;
    const double target = TargetWidth300Dpi(fieldWidthMm);
    double scale = target / w;
    if (!(scale < 1)) // never enlarged (also catches a field width that is no number)
        scale = 1;
    // A field narrower than a dot still gets a visible picture of one pixel.
    const int newW = std::max(1, int(std::nearbyint(w * scale)));
    const int newH = std::max(1, int(std::nearbyint(h * scale)));

    // A JPEG photo was decoded at full size when it was loaded: scaling that
    // decode smoothly costs less than decoding it again at a reduced scale.
    QImage source = ToImage();
    if (source.isNull())
        return nullptr;
    const QSize size(newW, newH);
    if (source.size() != size)
        source = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return FromImage(source);
}

std::unique_ptr<TPicture> TPicture::LoadReducedFromFile(const QString &path, double fieldWidthMm,
                                                        QString *error)
{
    TBytes bytes;
    if (!ReadPictureFile(path, &bytes, error))
        return nullptr;
    const bool jpeg = bytes.size() > 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
    if (jpeg && RefuseJpegPrecision(bytes, error))
        return nullptr;
    if (jpeg) {
        // The header alone tells the size; decode at the smallest size that
        // is still at least as wide as the field needs.
        QByteArray raw =
            QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
        QBuffer buffer(&raw);
        QImageReader reader(&buffer, "jpeg");
        // The stored size; a photo turned a quarter by its Exif data is drawn
        // the other way round.
        QSize full = reader.size();
        if (JpegExifOrientation(bytes) >= 5)
            full.transpose();
        const double target = TargetWidth300Dpi(fieldWidthMm);
        int denom = 1;
        if (full.isValid() && target > 0)
            while (denom < 8 && (full.width() + 2 * denom - 1) / (2 * denom) >= target)
                denom *= 2;
        if (denom > 1) {
            QImage scaled;
            if (!DecodeJpeg(bytes, denom, &scaled, error))
                return nullptr;
            // Width and height of the result follow the full picture, as if
            // it had been decoded whole.
            double scale = target / full.width();
            if (!(scale < 1))
                scale = 1;
            const QSize size(std::max(1, int(std::nearbyint(full.width() * scale))),
                             std::max(1, int(std::nearbyint(full.height() * scale))));
            return FromImage(scaled.size() == size
                                 ? scaled
                                 : scaled.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
    }
    std::unique_ptr<TPicture> pic = FromFileBytes(std::move(bytes), error);
    if (!pic || pic->IsMetafile())
        return pic;
    return pic->ReducedTo300Dpi(fieldWidthMm);
}

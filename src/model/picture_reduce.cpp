// Raster pictures placed into a field become 24-bit bitmaps of at most 300
// dots per inch of the field's width.
#include "model/picture.h"

#include <algorithm>
#include <cmath>

std::unique_ptr<TPicture> TPicture::ReducedTo300Dpi(double fieldWidthMm) const
{
    if (kind_ == Kind::Metafile)
        return nullptr;
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return nullptr;
    const double target = std::round(fieldWidthMm / 25.4 * 300.0);
    double scale = target / w;
    if (!(scale < 1)) // never enlarged (also catches a field width that is no number)
        scale = 1;
    // A field narrower than a dot still gets a visible picture of one pixel.
    const int newW = std::max(1, int(std::lround(w * scale)));
    const int newH = std::max(1, int(std::lround(h * scale)));

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

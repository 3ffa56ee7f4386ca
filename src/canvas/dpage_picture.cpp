// Picture elements: the page keeps its own copy of every picture it shows
// (a cheap one: copies share the data and its converted forms).

#include "canvas/dpage.h"

#include "canvas/geometry.h"
#include "model/picture.h"

#include <QPainter>

namespace canvas
{

TDTPicture::TDTPicture() : TDElement(TDruckTyp::Picture) {}
TDTPicture::~TDTPicture() = default;

int TDPage::AddPicture(std::int32_t copyMode, const TPicture *picture, double x, double y, double width,
                       double height)
{
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0)
        return -1;
    auto p = std::make_unique<TDTPicture>();
    p->copyMode = copyMode;
    p->picture = picture->Clone();
    p->inX = x;
    p->inY = y;
    p->inWidth = width;
    p->inHeight = height;
    PlaceElement(*p);
    return Append(std::move(p));
}

void TDPage::DrawPicture(QPainter &p, const TDTPicture &pic, const TDrawTarget &t) const
{
    const TPageMapping &m = t.map;
    const int left = m.PosToPixelX(pic.x), top = m.PosToPixelY(pic.y);
    const int w = m.LenToPixelX(pic.width), h = m.LenToPixelY(pic.height);
    const QRect bounds(left, top, w, h);
    if (t.recordBounds)
        pic.bounds = bounds;
    if (t.clip && !bounds.intersects(*t.clip))
        return;
    if (!pic.picture || w <= 0 || h <= 0)
        return;
    // JPEG photos decode at the target's scale (full size on the printer).
    int denom = 1;
    switch (t.jpegScale) {
    case TJPEGScale::jsHalf:
        denom = 2;
        break;
    case TJPEGScale::jsQuarter:
        denom = 4;
        break;
    case TJPEGScale::jsEighth:
        denom = 8;
        break;
    default:
        break;
    }
    p.save();
    // Only bitmaps are smoothed, and only when asked for; photos and
    // metafiles are stretched as they are.
    const TPicture::Kind kind = pic.picture->GetKind();
    p.setRenderHint(QPainter::SmoothPixmapTransform, t.smoothPictures && kind == TPicture::Kind::Bitmap);
    pic.picture->Draw(p, QRectF(left, top, w, h), kind == TPicture::Kind::Jpeg ? denom : 1);
    p.restore();
}

} // namespace canvas

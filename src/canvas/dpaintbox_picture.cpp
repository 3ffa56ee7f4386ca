// Picture elements: the canvas keeps its own copy of every picture it shows
// (a cheap one: copies share the data and its converted forms).

#include "canvas/dpaintbox.h"

#include "canvas/geometry.h"
#include "model/picture.h"

#include <QPainter>

namespace canvas
{

TDTPicture::TDTPicture() : TDElement(TDruckTyp::Picture) {}
TDTPicture::~TDTPicture() = default;

int TDPaintbox::AddPicture(std::int32_t copyMode, const TPicture *picture, double x, double y, double width,
                           double height)
{
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0)
        return -1;
    auto p = std::make_unique<TDTPicture>();
    p->copyMode = copyMode;
    p->picture = picture->Clone();
    switch (picture->GetKind()) {
    case TPicture::Kind::Jpeg:
        p->pictureKind = 2;
        break;
    case TPicture::Kind::Metafile:
        p->pictureKind = 3;
        break;
    default:
        p->pictureKind = 1;
        break;
    }
    p->inX = x;
    p->inY = y;
    p->inWidth = width;
    p->inHeight = height;
    PlaceElement(*p);
    pages_[currentPage_].push_back(std::move(p));
    emit OnElementListChange();
    return int(pages_[currentPage_].size()) - 1;
}

void TDPaintbox::DrawPicture(QPainter &p, TDTPicture &pic, const QRect *clip)
{
    const int left = PosToPixelX(pic.x), top = PosToPixelY(pic.y);
    const int w = LenToPixelX(pic.width), h = LenToPixelY(pic.height);
    pic.bounds = QRect(left, top, w, h);
    if (clip && !pic.bounds.intersects(*clip))
        return;
    if (!pic.picture || w <= 0 || h <= 0)
        return;
    // JPEG photos decode at the chosen scale on the screen and at full size
    // on the printer (PrintPage switches the scale to full size).
    int denom = 1;
    switch (jpegScale_) {
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
    p.setRenderHint(QPainter::SmoothPixmapTransform, grafikenWeich_ && pic.pictureKind == 1);
    pic.picture->Draw(p, QRectF(left, top, w, h), pic.pictureKind == 2 ? denom : 1);
    p.restore();
}

} // namespace canvas

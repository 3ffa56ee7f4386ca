// The page's hit tests and the changes of single elements that the edit
// mode of the view makes: copy, move, resize.

#include "canvas/dpage.h"

#include "canvas/geometry.h"
#include "model/picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace canvas
{

namespace
{

// Tolerances of the element hit tests, in mm (mm² for the line triangle).
constexpr double kLineTriangleArea = 100.0;
constexpr double kLineBoxMargin = 2.0;
constexpr double kOutlineBand = 0.5;

// Pixel box of a text block around its anchor, in mm, without rounding:
// the same geometry as the pixel bounds of drawn texts.
QRectF TextBoxMm(const TDTText &t)
{
    const int h = t.alignment / 3, v = t.alignment % 3;
    const double angle = NormalizedAngle(t.angle);
    QSizeF box(t.blockWidth, t.blockHeight);
    if (angle > 0)
        box = RotatedBoxSize(t.blockWidth, t.blockHeight, angle);
    double dx = h == 0 ? t.blockWidth / 2 : h == 1 ? 0.0 : -t.blockWidth / 2;
    double dy = v == 0 ? t.blockHeight / 2 : v == 1 ? 0.0 : -t.blockHeight / 2;
    if (angle > 0) {
        const double r = (360.0 - angle) * std::numbers::pi / 180.0;
        const double c = std::cos(r), s = std::sin(r);
        const double rx = dx * c - dy * s, ry = dx * s + dy * c;
        dx = rx;
        dy = ry;
    }
    const QPointF centre(t.x + dx, t.y + dy);
    return QRectF(centre.x() - box.width() / 2, centre.y() - box.height() / 2, box.width(), box.height());
}

std::unique_ptr<TDElement> CloneElement(const TDElement &e)
{
    switch (e.kind) {
    case TDruckTyp::Text:
        return std::make_unique<TDTText>(static_cast<const TDTText &>(e));
    case TDruckTyp::Line:
        return std::make_unique<TDTLine>(static_cast<const TDTLine &>(e));
    case TDruckTyp::Rectangle:
        return std::make_unique<TDTRect>(static_cast<const TDTRect &>(e));
    case TDruckTyp::Circle:
        return std::make_unique<TDTCircle>(static_cast<const TDTCircle &>(e));
    case TDruckTyp::Picture: {
        const auto &src = static_cast<const TDTPicture &>(e);
        auto p = std::make_unique<TDTPicture>();
        p->marked = src.marked;
        p->bounds = src.bounds;
        p->inX = src.inX;
        p->inY = src.inY;
        p->x = src.x;
        p->y = src.y;
        p->inWidth = src.inWidth;
        p->inHeight = src.inHeight;
        p->width = src.width;
        p->height = src.height;
        p->copyMode = src.copyMode;
        if (src.picture)
            p->picture = src.picture->Clone();
        return p;
    }
    default:
        return nullptr;
    }
}

bool IsLeftHandle(int part)
{
    return part == 2 || part == 4;
} // top-left, bottom-left
bool IsTopHandle(int part)
{
    return part == 2 || part == 3;
} // top-left, top-right

// The corner of r that stays where it is while the handle is dragged.
QPointF OppositeCorner(const QRectF &r, int part)
{
    return QPointF(IsLeftHandle(part) ? r.right() : r.left(), IsTopHandle(part) ? r.bottom() : r.top());
}

} // namespace

int TDPage::ElementAtPoint(double xMm, double yMm, const TPageMapping &view) const
{
    return ElementAtPlaced(view.PlaceX(xMm), view.PlaceY(yMm), view);
}

int TDPage::ElementAtPlaced(double xMm, double yMm, const TPageMapping &view) const
{
    // Every test works on the placed element, as it is drawn: scale,
    // offsets and mirroring do not matter.
    const auto &list = pages_[size_t(currentPage_)];
    for (int i = int(list.size()) - 1; i >= 0; --i) {
        const TDElement &e = *list[size_t(i)];
        bool hit = false;
        switch (e.kind) {
        case TDruckTyp::Text:
            hit = e.bounds.contains(view.PosToPixelX(xMm), view.PosToPixelY(yMm));
            break;
        case TDruckTyp::Line: {
            const auto &l = static_cast<const TDTLine &>(e);
            const double area = std::abs((l.x2 - l.x1) * (yMm - l.y1) - (l.y2 - l.y1) * (xMm - l.x1)) / 2.0;
            hit = area < kLineTriangleArea && xMm >= std::min(l.x1, l.x2) - kLineBoxMargin &&
                  xMm <= std::max(l.x1, l.x2) + kLineBoxMargin &&
                  yMm >= std::min(l.y1, l.y2) - kLineBoxMargin &&
                  yMm <= std::max(l.y1, l.y2) + kLineBoxMargin;
            break;
        }
        case TDruckTyp::Rectangle: {
            const auto &r = static_cast<const TDTRect &>(e);
            const double l = r.left, t = r.top, rt = r.right, b = r.bottom;
            // Only a rectangle that shows a filling can be taken by its inside.
            const bool filled = r.fillStyle != bsClear && r.fillColor != clNone;
            if (filled) {
                hit = xMm > l && xMm < rt && yMm > t && yMm < b;
            } else {
                const double d = kOutlineBand;
                auto in = [&](double x0, double y0, double x1, double y1) {
                    return xMm > x0 && xMm < x1 && yMm > y0 && yMm < y1;
                };
                hit = in(l - d, t - d, rt + d, t + d) || in(l - d, b - d, rt + d, b + d) ||
                      in(l - d, t - d, l + d, b + d) || in(rt - d, t - d, rt + d, b + d);
            }
            break;
        }
        case TDruckTyp::Circle: {
            const auto &c = static_cast<const TDTCircle &>(e);
            const double dist = std::hypot(xMm - c.x, yMm - c.y);
            const bool filled = c.fillStyle != bsClear && c.fillColor != clNone;
            hit = filled ? dist < c.radius : std::abs(dist - c.radius) < kOutlineBand;
            break;
        }
        case TDruckTyp::Picture: {
            const auto &p = static_cast<const TDTPicture &>(e);
            hit = xMm > p.x && xMm < p.x + p.width && yMm > p.y && yMm < p.y + p.height;
            break;
        }
        default:
            break;
        }
        if (hit)
            return i;
    }
    return -1;
}

int TDPage::CopyElement(int number)
{
    const TDElement *e = ElementAt(number);
    if (!e)
        return -1;
    std::unique_ptr<TDElement> copy = CloneElement(*e);
    if (!copy)
        return -1;
    auto &list = pages_[size_t(currentPage_)];
    list.push_back(std::move(copy));
    Changed();
    return int(list.size()) - 1;
}

void TDPage::ShiftElement(TDElement &e, double dxMm, double dyMm)
{
    // The offset is in placed millimetres; the input values move so that
    // placing them again gives exactly this shift.
    const double ix = (xRechts_ ? -dxMm : dxMm) * maszstab_;
    const double iy = (yUnten_ ? -dyMm : dyMm) * maszstab_;
    switch (e.kind) {
    case TDruckTyp::Text: {
        auto &t = static_cast<TDTText &>(e);
        t.inX += ix;
        t.inY += iy;
        break;
    }
    case TDruckTyp::Line: {
        auto &l = static_cast<TDTLine &>(e);
        l.inX1 += ix;
        l.inY1 += iy;
        l.inX2 += ix;
        l.inY2 += iy;
        break;
    }
    case TDruckTyp::Rectangle: {
        auto &r = static_cast<TDTRect &>(e);
        r.inX += ix;
        r.inY += iy;
        break;
    }
    case TDruckTyp::Picture: {
        auto &p = static_cast<TDTPicture &>(e);
        p.inX += ix;
        p.inY += iy;
        break;
    }
    case TDruckTyp::Circle: {
        // Circles have no input values; they are placed as they are.
        auto &c = static_cast<TDTCircle &>(e);
        c.x += dxMm;
        c.y += dyMm;
        c.left += dxMm;
        c.right += dxMm;
        c.top += dyMm;
        c.bottom += dyMm;
        return;
    }
    default:
        return;
    }
    PlaceElement(e);
}

void TDPage::ElementCorners(const TDElement &e, double &x, double &y, double &x2, double &y2) const
{
    x = y = x2 = y2 = 0;
    switch (e.kind) {
    case TDruckTyp::Text: {
        const auto &t = static_cast<const TDTText &>(e);
        x = t.inX;
        y = t.inY;
        x2 = t.inX + t.blockWidth * maszstab_;
        y2 = t.inY + t.blockHeight * maszstab_;
        break;
    }
    case TDruckTyp::Line: {
        const auto &l = static_cast<const TDTLine &>(e);
        x = l.inX1;
        y = l.inY1;
        x2 = l.inX2;
        y2 = l.inY2;
        break;
    }
    case TDruckTyp::Rectangle: {
        const auto &r = static_cast<const TDTRect &>(e);
        x = r.inX;
        y = r.inY;
        x2 = r.inX + r.inWidth;
        y2 = r.inY + r.inHeight;
        break;
    }
    case TDruckTyp::Picture: {
        const auto &p = static_cast<const TDTPicture &>(e);
        x = p.inX;
        y = p.inY;
        x2 = p.inX + p.inWidth;
        y2 = p.inY + p.inHeight;
        break;
    }
    case TDruckTyp::Circle: {
        const auto &c = static_cast<const TDTCircle &>(e);
        x = c.left;
        y = c.top;
        x2 = c.right;
        y2 = c.bottom;
        break;
    }
    default:
        break;
    }
}

void TDPage::ResizeElement(TDElement &e, int corner, double rw, double rh, bool freeProportion)
{
    const TPageMapping m = Mapping(1.0);
    auto InputX = [&m](double x) { return m.InputX(x); };
    auto InputY = [&m](double y) { return m.InputY(y); };
    switch (e.kind) {
    case TDruckTyp::Text: {
        // The height follows the width; the block is measured anew and the
        // anchor moves so that the opposite corner of the block stays.
        auto &t = static_cast<TDTText &>(e);
        const QPointF fixedBefore = OppositeCorner(TextBoxMm(t), corner);
        t.inHeight *= rw;
        PlaceText(t);
        const QPointF shift = fixedBefore - OppositeCorner(TextBoxMm(t), corner);
        t.inX = InputX(t.x + shift.x());
        t.inY = InputY(t.y + shift.y());
        PlaceElement(t);
        break;
    }
    case TDruckTyp::Rectangle: {
        auto &r = static_cast<TDTRect &>(e);
        const QRectF before(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
        const QPointF fixed = OppositeCorner(before, corner);
        const double w = before.width() * rw, h = before.height() * rh;
        const double left = IsLeftHandle(corner) ? fixed.x() - w : fixed.x();
        const double top = IsTopHandle(corner) ? fixed.y() - h : fixed.y();
        r.inWidth = w * maszstab_;
        r.inHeight = h * maszstab_;
        r.inX = InputX(xRechts_ ? left + w : left);
        r.inY = InputY(yUnten_ ? top + h : top);
        PlaceElement(r);
        break;
    }
    case TDruckTyp::Picture: {
        auto &p = static_cast<TDTPicture &>(e);
        const QRectF before(p.x, p.y, p.width, p.height);
        const QPointF fixed = OppositeCorner(before, corner);
        const double w = p.width * rw;
        double h = p.height * rh;
        if (!freeProportion && p.width > 0 && p.height > 0)
            h = w / (p.width / p.height);
        const double left = IsLeftHandle(corner) ? fixed.x() - w : fixed.x();
        const double top = IsTopHandle(corner) ? fixed.y() - h : fixed.y();
        p.inWidth = w * maszstab_;
        p.inHeight = h * maszstab_;
        p.inX = InputX(xRechts_ ? left + w : left);
        p.inY = InputY(yUnten_ ? top + h : top);
        PlaceElement(p);
        break;
    }
    case TDruckTyp::Line: {
        // The line's box is scaled about the corner opposite the handle, as
        // the drag rectangle showed it: the end at the grabbed corner follows,
        // the end at the opposite corner stays.
        auto &l = static_cast<TDTLine &>(e);
        const QRectF box(QPointF(std::min(l.x1, l.x2), std::min(l.y1, l.y2)),
                         QPointF(std::max(l.x1, l.x2), std::max(l.y1, l.y2)));
        const QPointF fixed = OppositeCorner(box, corner);
        auto scaled = [&](double x, double y) {
            return QPointF(fixed.x() + rw * (x - fixed.x()), fixed.y() + rh * (y - fixed.y()));
        };
        const QPointF a = scaled(l.x1, l.y1), b = scaled(l.x2, l.y2);
        l.inX1 = InputX(a.x());
        l.inY1 = InputY(a.y());
        l.inX2 = InputX(b.x());
        l.inY2 = InputY(b.y());
        PlaceElement(l);
        break;
    }
    case TDruckTyp::Circle: {
        auto &c = static_cast<TDTCircle &>(e);
        const QRectF before(QPointF(c.left, c.top), QPointF(c.right, c.bottom));
        const QPointF fixed = OppositeCorner(before, corner);
        c.radius *= rw;
        const double d = 2 * c.radius;
        c.left = IsLeftHandle(corner) ? fixed.x() - d : fixed.x();
        c.top = IsTopHandle(corner) ? fixed.y() - d : fixed.y();
        c.right = c.left + d;
        c.bottom = c.top + d;
        c.x = c.left + c.radius;
        c.y = c.top + c.radius;
        break;
    }
    default:
        break;
    }
}

} // namespace canvas

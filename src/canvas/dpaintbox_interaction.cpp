// Pointing into the page: the pointer position in millimetres, the crosshair
// that follows it, and the edit mode in which elements are moved, copied and
// resized with the mouse.
//
// Crosshair and drag rectangle look like the XOR drawing of old: they are
// kept as state and drawn by paintEvent with a NOT-XOR raster operation, so
// a move only repaints the strips they cover and nothing is ever left behind.

#include "canvas/dpaintbox.h"

#include "canvas/geometry.h"
#include "model/picture.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

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
constexpr int kHandleRadius = 4; // handles are 9 x 9 pixels

// Sets the NOT-XOR look on the painter. Raster targets (the widget's backing
// store, images) have the raster operation; otherwise "difference" with the
// inverted colour gives the same pixels on black and white, and where not
// even that exists the shape is drawn plainly.
void SetNotXor(QPainter &p, QColor &color)
{
    QPaintEngine *engine = p.paintEngine();
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    } else if (engine && engine->hasFeature(QPaintEngine::BlendModes)) {
        p.setCompositionMode(QPainter::CompositionMode_Difference);
        color = QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    }
}

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
        p->pictureKind = src.pictureKind;
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
bool IsCornerHandle(int part)
{
    return part >= 2 && part <= 5;
}

// The corner of r that stays where it is while the handle is dragged.
QPointF OppositeCorner(const QRectF &r, int part)
{
    return QPointF(IsLeftHandle(part) ? r.right() : r.left(), IsTopHandle(part) ? r.bottom() : r.top());
}

} // namespace

// ---------------------------------------------------------------------------
// Crosshair

void TDPaintbox::SetAchsenCursor(bool on)
{
    achsenCursor_ = on;
    Redraw();
}

void TDPaintbox::SetAchsenCursorTyp(TAchsenkreuz typ)
{
    achsenCursorTyp_ = typ;
    ForgetCrosshair();
    Redraw();
}

QRegion TDPaintbox::CrosshairRegion(QPoint pos) const
{
    QRegion r;
    if (achsenCursorTyp_ != ta_obun)
        r += QRect(0, pos.y(), width(), 1);
    if (achsenCursorTyp_ != ta_lire)
        r += QRect(pos.x(), 0, 1, height());
    return r;
}

void TDPaintbox::ForgetCrosshair()
{
    if (crossShown_ && achsenCursor_)
        update(CrosshairRegion(crossPos_));
    crossShown_ = false;
    crossPos_ = QPoint(-1, -1);
}

void TDPaintbox::leaveEvent(QEvent *event)
{
    unsetCursor();
    ForgetCrosshair();
    QWidget::leaveEvent(event);
}

void TDPaintbox::DrawInteraction(QPainter &p)
{
    const bool cross = achsenCursor_ && crossShown_;
    if (!cross && dragRect_.isEmpty())
        return;
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);

    if (!dragRect_.isEmpty()) {
        QColor color = ToQColor(clBlue);
        SetNotXor(p, color);
        QPen pen(color, 1);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({1, 3});
        p.setPen(pen);
        p.drawRect(QRect(dragRect_.left(), dragRect_.top(), dragRect_.width() - 1, dragRect_.height() - 1));
    }

    if (cross) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        QColor color = ToQColor(clBlue);
        SetNotXor(p, color);
        QPen pen(color, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setCosmetic(true);
        p.setPen(pen);
        const int W = width(), H = height(), x = crossPos_.x(), y = crossPos_.y();
        switch (achsenCursorTyp_) {
        case ta_alle:
            p.drawLine(x, 0, x, H);
            p.drawLine(0, y, W, y);
            break;
        case ta_lire:
            p.drawLine(0, y, W, y);
            break;
        case ta_obun:
            p.drawLine(x, 0, x, H);
            break;
        case ta_liun: {
            const QPoint pts[] = {{0, y}, {x, y}, {x, H}};
            p.drawPolyline(pts, 3);
            break;
        }
        case ta_liob: {
            const QPoint pts[] = {{0, y}, {x, y}, {x, 0}};
            p.drawPolyline(pts, 3);
            break;
        }
        case ta_reob: {
            const QPoint pts[] = {{x, 0}, {x, y}, {W, y}};
            p.drawPolyline(pts, 3);
            break;
        }
        case ta_reun: {
            const QPoint pts[] = {{x, H}, {x, y}, {W, y}};
            p.drawPolyline(pts, 3);
            break;
        }
        }
    }
    p.restore();
}

// ---------------------------------------------------------------------------
// Mouse events

void TDPaintbox::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pt = event->position().toPoint();
    double x = pt.x() / zoom_ / pixelPerMmX_ * maszstab_;
    double y = pt.y() / zoom_ / pixelPerMmY_ * maszstab_;
    if (yUnten_)
        y = maszstab_ * pageHeightMm_ - y;
    if (xRechts_)
        x = pageWidthMm_ * maszstab_ - x;
    x = SnapToGrid(x);
    y = SnapToGrid(y);
    pointerMm_ = QPointF(x, y);

    if (bearbeitbar_)
        EditMove(pt);
    emit OnMouseMove(event->buttons(), event->modifiers(), pt);
    emit OnXYChange(x, y);

    // The position is kept also while the crosshair is off, so that it
    // appears at the pointer when switched on.
    QRegion dirty = CrosshairRegion(pt);
    if (crossShown_)
        dirty += CrosshairRegion(crossPos_);
    crossPos_ = pt;
    crossShown_ = true;
    if (achsenCursor_)
        update(dirty);
}

void TDPaintbox::mousePressEvent(QMouseEvent *event)
{
    const QPoint pt = event->position().toPoint();
    if (bearbeitbar_)
        EditPress(event->button(), event->modifiers(), pt);
    // The second press of a double click completes no further click.
    if (event->button() == Qt::LeftButton && event->type() != QEvent::MouseButtonDblClick)
        clickArmed_ = true;
    emit OnMouseDown(event->button(), event->modifiers(), pt);
}

void TDPaintbox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pt = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const bool click = clickArmed_ && rect().contains(pt);
        clickArmed_ = false;
        if (click)
            emit OnClick();
    }
    if (bearbeitbar_)
        EditRelease(event->modifiers());
    emit OnMouseUp(event->button(), event->modifiers(), pt);
}

// ---------------------------------------------------------------------------
// Hit tests

int TDPaintbox::ElementAtPoint(double xMm, double yMm) const
{
    const auto &list = pages_[size_t(currentPage_)];
    for (int i = int(list.size()) - 1; i >= 0; --i) {
        const TDElement &e = *list[size_t(i)];
        bool hit = false;
        switch (e.kind) {
        case TDruckTyp::Text:
            hit = e.bounds.contains(PosToPixelX(xMm), PosToPixelY(yMm));
            break;
        case TDruckTyp::Line: {
            const auto &l = static_cast<const TDTLine &>(e);
            const double area =
                std::abs((l.inX2 - l.inX1) * (yMm - l.inY1) - (l.inY2 - l.inY1) * (xMm - l.inX1)) / 2.0;
            hit = area < kLineTriangleArea && xMm >= std::min(l.inX1, l.inX2) - kLineBoxMargin &&
                  xMm <= std::max(l.inX1, l.inX2) + kLineBoxMargin &&
                  yMm >= std::min(l.inY1, l.inY2) - kLineBoxMargin &&
                  yMm <= std::max(l.inY1, l.inY2) + kLineBoxMargin;
            break;
        }
        case TDruckTyp::Rectangle: {
            const auto &r = static_cast<const TDTRect &>(e);
            const double l = r.inX, t = r.inY, rt = r.inX + r.inWidth, b = r.inY + r.inHeight;
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
            hit = xMm > p.inX && xMm < p.inX + p.inWidth && yMm > p.inY && yMm < p.inY + p.inHeight;
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

QRect TDPaintbox::MarkingRect() const
{
    QRect r;
    for (size_t page = 0; page < pages_.size(); ++page) {
        if (int(page) != currentPage_ && !(page == 0 && seite0Ausgabe_))
            continue;
        for (const auto &e : pages_[page])
            if (e->marked)
                r |= e->bounds;
    }
    return r;
}

TDPaintbox::TGriff TDPaintbox::PartAt(QPoint pt) const
{
    const QRect r = MarkingRect();
    if (r.isEmpty())
        return griffKeiner;
    const int right = r.left() + r.width(), bottom = r.top() + r.height();
    const struct {
        QPoint centre;
        TGriff part;
    } handles[] = {{{r.left(), r.top()}, griffLinksOben},
                   {{right, r.top()}, griffRechtsOben},
                   {{r.left(), bottom}, griffLinksUnten},
                   {{right, bottom}, griffRechtsUnten},
                   {{(r.left() + right) / 2, (r.top() + bottom) / 2}, griffMitte}};
    for (const auto &h : handles) {
        const QRect box(h.centre.x() - kHandleRadius, h.centre.y() - kHandleRadius, 2 * kHandleRadius + 1,
                        2 * kHandleRadius + 1);
        if (box.contains(pt))
            return h.part;
    }
    return r.contains(pt) ? griffKoerper : griffKeiner;
}

// ---------------------------------------------------------------------------
// Edit mode

void TDPaintbox::SetBearbeitbar(bool on)
{
    bearbeitbar_ = on;
    griff_ = griffKeiner;
    dragging_ = false;
    dragRect_ = QRect();
    Redraw();
}

void TDPaintbox::EditPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pt)
{
    if (button != Qt::LeftButton) {
        dragging_ = false;
        return;
    }
    dragging_ = true;
    pressShift_ = modifiers.testFlag(Qt::ShiftModifier);
    pressPoint_ = pt;
    // A handle of the marking may lie outside the element itself: then the
    // element keeps being the one worked on.
    const TDElement *held = ElementAt(currentElement_);
    if (griff_ == griffKeiner || !held || !held->marked)
        currentElement_ = ElementAtPoint(PixelToMmNoSnapX(pt.x()), PixelToMmNoSnapY(pt.y()));
    TDElement *e = ElementAt(currentElement_);
    if (!e) {
        currentElement_ = -1;
        Redraw();
        return;
    }
    UnmarkAll();
    e->marked = true;
    Redraw();
    emit ONElementMarked(currentElement_, int(e->kind));
    griff_ = PartAt(pt);
    // Thin elements are hit a little beside their drawn pixels; what was hit
    // can be dragged from there.
    if (griff_ == griffKeiner)
        griff_ = griffKoerper;
    dragStart_ = e->bounds;
    grabOffset_ = pt - dragStart_.topLeft();
    currentKind_ = e->kind;
}

QRect TDPaintbox::DraggedRect(QPoint pt) const
{
    const QRect s = dragStart_;
    if (griff_ == griffKoerper || griff_ == griffMitte) {
        QPoint topLeft = pt - grabOffset_;
        if (pressShift_) {
            const QPoint d = pt - pressPoint_;
            if (std::abs(d.x()) >= std::abs(d.y()))
                topLeft.setY(s.top());
            else
                topLeft.setX(s.left());
        }
        return QRect(topLeft, s.size());
    }
    if (!IsCornerHandle(griff_))
        return s;
    // The opposite corner stays; the grabbed one follows the pointer but
    // never crosses it, so no element turns inside out.
    const int fixedX = IsLeftHandle(griff_) ? s.left() + s.width() : s.left();
    const int fixedY = IsTopHandle(griff_) ? s.top() + s.height() : s.top();
    const int w = std::max(1, IsLeftHandle(griff_) ? fixedX - pt.x() : pt.x() - fixedX);
    int h = std::max(1, IsTopHandle(griff_) ? fixedY - pt.y() : pt.y() - fixedY);
    if (currentKind_ == TDruckTyp::Text && s.width() > 0)
        h = std::max(1, RoundHalfEven(double(w) * s.height() / s.width()));
    else if (currentKind_ == TDruckTyp::Circle)
        h = w;
    const int left = IsLeftHandle(griff_) ? fixedX - w : fixedX;
    const int top = IsTopHandle(griff_) ? fixedY - h : fixedY;
    return QRect(left, top, w, h);
}

void TDPaintbox::UpdateDragRect(const QRect &newRect)
{
    auto outline = [](const QRect &r) {
        return r.isEmpty() ? QRegion() : QRegion(r) - QRegion(r.adjusted(1, 1, -1, -1));
    };
    update(outline(dragRect_) + outline(newRect));
    dragRect_ = newRect;
}

void TDPaintbox::EditMove(QPoint pt)
{
    if (!dragging_) {
        griff_ = PartAt(pt);
        switch (griff_) {
        case griffKoerper:
        case griffMitte:
            setCursor(Qt::SizeAllCursor);
            break;
        case griffLinksOben:
        case griffRechtsUnten:
            setCursor(Qt::SizeFDiagCursor);
            break;
        case griffRechtsOben:
        case griffLinksUnten:
            setCursor(Qt::SizeBDiagCursor);
            break;
        default:
            unsetCursor();
            break;
        }
        return;
    }
    if (!ElementAt(currentElement_) || griff_ == griffKeiner)
        return;
    UpdateDragRect(DraggedRect(pt));
}

void TDPaintbox::EditRelease(Qt::KeyboardModifiers modifiers)
{
    if (!dragging_)
        return;
    const TGriff part = griff_;
    const QRect moved = dragRect_.isEmpty() ? dragStart_ : dragRect_;
    dragging_ = false;
    griff_ = griffKeiner;
    UpdateDragRect(QRect());

    TDElement *e = ElementAt(currentElement_);
    if (e && part != griffKeiner) {
        if (part == griffKoerper || part == griffMitte) {
            const QPoint offset = moved.topLeft() - dragStart_.topLeft();
            const double dx = PixelToMmX(offset.x()), dy = PixelToMmY(offset.y());
            if (modifiers.testFlag(Qt::ControlModifier)) {
                const int copy = CopyElement(currentElement_);
                if (TDElement *c = ElementAt(copy)) {
                    ShiftElement(*c, dx, dy);
                    UnmarkAll();
                    c->marked = true;
                    currentElement_ = copy;
                }
            } else {
                MoveElement(currentElement_, dx, dy);
            }
        } else if (IsCornerHandle(part) && dragStart_.width() > 0 && dragStart_.height() > 0) {
            const double rw = double(moved.width()) / dragStart_.width();
            const double rh = double(moved.height()) / dragStart_.height();
            ResizeElement(*e, part, rw, rh, pressShift_);
            MoveElement(currentElement_, 0, 0);
        }
    }
    Redraw();
}

// ---------------------------------------------------------------------------
// Changing elements

double TDPaintbox::InputX(double placedX) const
{
    return ((xRechts_ ? pageWidthMm_ - placedX : placedX) - offsetX_) * maszstab_;
}

double TDPaintbox::InputY(double placedY) const
{
    return ((yUnten_ ? pageHeightMm_ - placedY : placedY) - offsetY_) * maszstab_;
}

int TDPaintbox::CopyElement(int number)
{
    const TDElement *e = ElementAt(number);
    if (!e)
        return -1;
    std::unique_ptr<TDElement> copy = CloneElement(*e);
    if (!copy)
        return -1;
    auto &list = pages_[size_t(currentPage_)];
    list.push_back(std::move(copy));
    emit OnElementListChange();
    return int(list.size()) - 1;
}

void TDPaintbox::ShiftElement(TDElement &e, double dxMm, double dyMm)
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

void TDPaintbox::MoveElement(int number, double dxMm, double dyMm)
{
    TDElement *e = ElementAt(number);
    if (!e)
        return;
    ShiftElement(*e, dxMm, dyMm);
    double x = 0, y = 0, x2 = 0, y2 = 0;
    switch (e->kind) {
    case TDruckTyp::Text: {
        const auto &t = static_cast<const TDTText &>(*e);
        x = t.inX;
        y = t.inY;
        x2 = t.inX + t.blockWidth * maszstab_;
        y2 = t.inY + t.blockHeight * maszstab_;
        break;
    }
    case TDruckTyp::Line: {
        const auto &l = static_cast<const TDTLine &>(*e);
        x = l.inX1;
        y = l.inY1;
        x2 = l.inX2;
        y2 = l.inY2;
        break;
    }
    case TDruckTyp::Rectangle: {
        const auto &r = static_cast<const TDTRect &>(*e);
        x = r.inX;
        y = r.inY;
        x2 = r.inX + r.inWidth;
        y2 = r.inY + r.inHeight;
        break;
    }
    case TDruckTyp::Picture: {
        const auto &p = static_cast<const TDTPicture &>(*e);
        x = p.inX;
        y = p.inY;
        x2 = p.inX + p.inWidth;
        y2 = p.inY + p.inHeight;
        break;
    }
    case TDruckTyp::Circle: {
        const auto &c = static_cast<const TDTCircle &>(*e);
        x = c.left;
        y = c.top;
        x2 = c.right;
        y2 = c.bottom;
        break;
    }
    default:
        break;
    }
    emit OnElementGeaendert(number, int(e->kind), x, y, x2, y2);
}

void TDPaintbox::ResizeElement(TDElement &e, TGriff corner, double rw, double rh, bool freeProportion)
{
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

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
    // The pixel in the adders' coordinates: scale, offsets and mirroring
    // taken back, then snapped.
    const TPageMapping m = Mapping();
    const QPointF input = m.PixelToInput(pt);
    const double x = m.SnapToGrid(input.x()), y = m.SnapToGrid(input.y());
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

int TDPaintbox::ElementAtPixel(QPoint pt) const
{
    const TPageMapping m = Mapping();
    return page_->ElementAtPlaced(m.PixelToPosX(pt.x()), m.PixelToPosY(pt.y()), m);
}

QRect TDPaintbox::MarkingRect() const
{
    QRect r;
    for (int page = 0; page < 2; ++page) {
        if (page != CurrentPage() && !(page == 0 && Seite0Ausgabe()))
            continue;
        for (const auto &e : page_->Elements(page))
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
    const TDElement *held = page_->ElementAt(currentElement_);
    if (griff_ == griffKeiner || !held || !held->marked)
        currentElement_ = ElementAtPixel(pt);
    TDElement *e = page_->ElementAt(currentElement_);
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

// A zoom during a drag: the press, the grab and the frame move to where
// they lie at the new zoom (pixels grow from the page's pixel 0), so the
// drag goes on under the pointer and the frame is not left at the old place.
void TDPaintbox::RescaleDrag(double ratio)
{
    auto scaled = [ratio](QPoint p) {
        return QPoint(int(std::lround(p.x() * ratio)), int(std::lround(p.y() * ratio)));
    };
    auto scaledRect = [&](const QRect &r) {
        return r.isEmpty() ? r
                           : QRect(scaled(r.topLeft()),
                                   scaled(r.topLeft() + QPoint(r.width(), r.height())) - QPoint(1, 1));
    };
    pressPoint_ = scaled(pressPoint_);
    grabOffset_ = scaled(grabOffset_);
    dragStart_ = scaledRect(dragStart_);
    dragRect_ = scaledRect(dragRect_);
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
    if (!page_->ElementAt(currentElement_) || griff_ == griffKeiner)
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

    TDElement *e = page_->ElementAt(currentElement_);
    if (e && part != griffKeiner) {
        if (part == griffKoerper || part == griffMitte) {
            const QPoint offset = moved.topLeft() - dragStart_.topLeft();
            const double dx = PixelToMmX(offset.x()), dy = PixelToMmY(offset.y());
            if (modifiers.testFlag(Qt::ControlModifier)) {
                const int copy = page_->CopyElement(currentElement_);
                if (TDElement *c = page_->ElementAt(copy)) {
                    page_->ShiftElement(*c, dx, dy);
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
            page_->ResizeElement(*e, part, rw, rh, pressShift_);
            MoveElement(currentElement_, 0, 0);
        }
    }
    Redraw();
}

// ---------------------------------------------------------------------------
// Changing elements

void TDPaintbox::MoveElement(int number, double dxMm, double dyMm)
{
    TDElement *e = page_->ElementAt(number);
    if (!e)
        return;
    page_->ShiftElement(*e, dxMm, dyMm);
    double x = 0, y = 0, x2 = 0, y2 = 0;
    page_->ElementCorners(*e, x, y, x2, y2);
    emit OnElementGeaendert(number, int(e->kind), x, y, x2, y2);
}

} // namespace canvas

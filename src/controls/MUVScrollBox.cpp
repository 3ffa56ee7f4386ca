#include "controls/MUVScrollBox.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>

namespace
{

// One notch of a mouse wheel in eighths of a degree.
constexpr int kWheelNotch = 120;
constexpr int kShadowGrey = 158;

} // namespace

TMUVScrollBox::TMUVScrollBox(QWidget *parent) : QScrollArea(parent)
{
    // The content follows the scroll bars while they are dragged.
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    backgroundBmp_ = DefaultBackgroundPattern();
}

TMUVScrollBox::~TMUVScrollBox() = default;

QImage TMUVScrollBox::DefaultBackgroundPattern()
{
    QImage img(32, 32, QImage::Format_RGB32);
    const QRgb light = qRgb(224, 224, 224);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            img.setPixel(x, y, ((x < 16) != (y < 16)) ? light : qRgb(255, 255, 255));
    return img;
}

void TMUVScrollBox::SetBackgroundOn(bool on)
{
    backgroundOn_ = on;
    ApplyContentTransparency();
    viewport()->update();
}

// QScrollArea gives its content an opaque background; with the pattern on,
// the content has to let it through.
void TMUVScrollBox::ApplyContentTransparency()
{
    if (QWidget *content = widget())
        content->setAutoFillBackground(!backgroundOn_);
}

bool TMUVScrollBox::viewportEvent(QEvent *event)
{
    // A new content widget is made opaque after it has been added, so
    // undo that once setWidget() has finished.
    if (event->type() == QEvent::ChildAdded && backgroundOn_)
        QMetaObject::invokeMethod(this, &TMUVScrollBox::ApplyContentTransparency, Qt::QueuedConnection);
    return QScrollArea::viewportEvent(event);
}

void TMUVScrollBox::SetBackgroundBMP(const QImage &image)
{
    backgroundBmp_ = image.isNull() ? DefaultBackgroundPattern() : image;
    viewport()->update();
}

void TMUVScrollBox::SetShadowOn(bool on)
{
    shadowOn_ = on;
    viewport()->update();
}

void TMUVScrollBox::SetShadowOffset(int px)
{
    shadowOffset_ = qMax(0, px);
    viewport()->update();
}

void TMUVScrollBox::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    // The pattern is anchored to the content and has to move with it.
    if (backgroundOn_)
        viewport()->update();
    if (dy != 0)
        emit OnScroll(true, verticalScrollBar()->value());
    if (dx != 0)
        emit OnScroll(false, horizontalScrollBar()->value());
}

void TMUVScrollBox::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        // A sideways wheel scrolls as usual.
        QScrollArea::wheelEvent(event);
        return;
    }
    const QPoint pos = event->globalPosition().toPoint();
    const Qt::KeyboardModifiers shift = event->modifiers();
    bool handled = false;
    emit OnMouseWheel(shift, delta, pos, &handled);
    if (!handled) {
        // Fine-grained wheels deliver parts of a notch; the direction
        // signals fire for whole notches only.
        wheelAccumulator_ += delta;
        while (std::abs(wheelAccumulator_) >= kWheelNotch) {
            const bool down = wheelAccumulator_ < 0;
            wheelAccumulator_ += down ? kWheelNotch : -kWheelNotch;
            if (down)
                emit OnMouseWheelDown(shift, pos, &handled);
            else
                emit OnMouseWheelUp(shift, pos, &handled);
        }
    }
    if (handled)
        event->accept();
    else
        QScrollArea::wheelEvent(event);
}

void TMUVScrollBox::paintEvent(QPaintEvent *event)
{
    if (!backgroundOn_) {
        QScrollArea::paintEvent(event);
        return;
    }
    QPainter p(viewport());
    QWidget *content = widget();
    const QPoint origin =
        content ? content->pos() : QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value());

    // The controls on the content, in viewport coordinates.
    QList<QRect> controls;
    if (content && content->isVisible()) {
        for (QObject *child : content->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (w && w->isVisible() && !w->isWindow())
                controls.append(w->geometry().translated(origin));
        }
        if (controls.isEmpty())
            controls.append(content->geometry());
    }

    // Leave the controls out; transparent ones would otherwise show the
    // pattern through.
    QRegion area(event->rect());
    for (const QRect &r : controls)
        area -= r;
    p.setClipRegion(area);

    if (!backgroundBmp_.isNull()) {
        const QPixmap tile = QPixmap::fromImage(backgroundBmp_);
        const int tw = tile.width();
        const int th = tile.height();
        // Pattern pixel (0, 0) sits at the content's origin.
        const QPoint offset((-origin.x() % tw + tw) % tw, (-origin.y() % th + th) % th);
        p.drawTiledPixmap(viewport()->rect(), tile, offset);
    }
    if (shadowOn_ && shadowOffset_ > 0) {
        for (const QRect &r : controls)
            PaintShadow(p, r);
    }
}

// A drop shadow: a band right of and below r, shifted by its depth, that
// fades from grey to nothing away from r.
void TMUVScrollBox::PaintShadow(QPainter &p, const QRect &r) const
{
    const int d = shadowOffset_;
    for (int i = 0; i < d; ++i) {
        const int alpha = 255 * (d - i) / (d + 1);
        const QColor c(kShadowGrey, kShadowGrey, kShadowGrey, alpha);
        // column i pixels right of the control, row i pixels below it
        p.fillRect(QRect(r.right() + 1 + i, r.top() + d, 1, r.height() - d + i), c);
        p.fillRect(QRect(r.left() + d, r.bottom() + 1 + i, r.width() - d + i, 1), c);
        p.fillRect(QRect(r.right() + 1 + i, r.bottom() + 1 + i, 1, 1), c);
    }
}

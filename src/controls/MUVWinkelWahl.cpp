#include "controls/MUVWinkelWahl.h"

#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

TMUVWinkelWahl::TMUVWinkelWahl(QWidget *parent) : QWidget(parent)
{
    colorBackground_ = palette().color(QPalette::Button);
    resize(52, 52);
    setContextMenuPolicy(Qt::PreventContextMenu);
    ownMenu_ = new QMenu(this);
    snapAction_ = ownMenu_->addAction(QStringLiteral("Winkelraster verwenden"));
    snapAction_->setCheckable(true);
    snapAction_->setChecked(glaetteWinkel_);
    connect(snapAction_, &QAction::triggered, this, [this](bool on) { SetGlaetteWinkel(on); });
}

void TMUVWinkelWahl::SetWinkel(double degrees)
{
    if (!std::isfinite(degrees))
        degrees = 0;
    // As if 360 were added or subtracted until the value lies in 0...360;
    // fmod does it at once, also for huge values.
    if (degrees > 360) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees == 0)
            degrees = 360;
    } else if (degrees < 0) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees < 0)
            degrees += 360;
    }
    winkel_ = degrees + 0.0; // no negative zero
    update();
}

void TMUVWinkelWahl::SetGlaetteWinkel(bool on)
{
    glaetteWinkel_ = on;
    snapAction_->setChecked(on);
}

void TMUVWinkelWahl::SetColorBackground(const QColor &colour)
{
    colorBackground_ = colour;
    update();
}

QPoint TMUVWinkelWahl::Centre() const
{
    int w = width() / 2;
    if (w % 2 != 0)
        --w;
    return QPoint(w, w);
}

double TMUVWinkelWahl::AngleAt(const QPoint &pos) const
{
    const QPoint c = Centre();
    const int dx = pos.x() - c.x(), dy = pos.y() - c.y();
    if (dx == 0)
        return dy < 0 ? 90 : 270;
    if (dy == 0)
        return dx > 0 ? 0 : 180;
    const double t = std::atan(double(std::abs(dy)) / std::abs(dx)) * 180.0 / std::numbers::pi;
    if (dy < 0)
        return dx > 0 ? t : 180 - t;
    return dx < 0 ? 180 + t : 360 - t;
}

double TMUVWinkelWahl::Snap(double degrees)
{
    const double n = std::nearbyint(degrees / 15.0);
    return n < 24 ? n * 15.0 : 0.0;
}

void TMUVWinkelWahl::DragTo(const QPoint &pos)
{
    double a = AngleAt(pos);
    if (glaetteWinkel_)
        a = Snap(a);
    winkel_ = a;
    update();
    emit OnMouseChange();
}

void TMUVWinkelWahl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    // The pointer follows the mouse from the press on, so a click alone
    // already points the dial.
    dragging_ = true;
    DragTo(event->position().toPoint());
}

void TMUVWinkelWahl::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_)
        DragTo(event->position().toPoint());
}

void TMUVWinkelWahl::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        emit OnMouseChanged();
    }
    if (event->button() == Qt::RightButton) {
        QMenu *menu = popupMenu_ ? popupMenu_.data() : ownMenu_;
        menu->popup(event->globalPosition().toPoint());
    }
}

void TMUVWinkelWahl::paintEvent(QPaintEvent *)
{
    const int w = width();
    if (w <= 0)
        return;
    // Drawn eight times larger and reduced smoothly, which rounds the edges.
    const int big = 8 * w;
    const int m = big / 2;
    const bool on = isEnabled();
    const QColor face = on ? QColor(Qt::white) : palette().color(QPalette::Button);
    const QColor outline = on ? QColor(Qt::black) : palette().color(QPalette::Dark);
    const QColor pointer = on ? QColor(Qt::blue) : palette().color(QPalette::Dark);

    QImage image(big, big, QImage::Format_RGB32);
    image.fill(colorBackground_);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(outline, 8);
        p.setPen(pen);
        p.setBrush(face);
        p.drawEllipse(QRectF(2, 2, 2 * m - 4 - 2, 2 * m - 4 - 2));
        const int tick = int(std::lround(w * 0.1666 * 8));
        p.drawLine(big, m, big - tick, m);
        p.drawLine(0, m, tick, m);
        p.drawLine(m, 0, m, tick);
        p.drawLine(m, big, m, big - tick);
        const double a = winkel_ * std::numbers::pi / 180.0;
        p.setPen(QPen(pointer, 8));
        p.drawLine(m, m, m + int(std::lround(m * std::cos(a))), m - int(std::lround(m * std::sin(a))));
        p.setPen(QPen(outline, 8));
        p.setBrush(outline);
        p.drawEllipse(QRectF(m - 8, m - 8, 24, 24));
    }
    QPainter p(this);
    p.fillRect(rect(), colorBackground_);
    p.drawImage(QRect(0, 0, w, w), image.scaled(w, w, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

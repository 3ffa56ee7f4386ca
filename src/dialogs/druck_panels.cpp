#include "dialogs/druck_panels.h"

#include <QMouseEvent>
#include <QPainter>

TDruckPanel::TDruckPanel(const QString &caption, QWidget *parent) : QFrame(parent), caption_(caption)
{
    setObjectName(caption);
}

void TDruckPanel::SetColors(const QColor &background, const QColor &caption)
{
    background_ = background;
    captionColor_ = caption;
    update();
}

void TDruckPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.setBrush(background_.isValid() ? background_ : palette().color(QPalette::Window));
    p.drawRoundedRect(box, 6, 6);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(captionColor_.isValid() ? captionColor_ : palette().color(QPalette::WindowText));
    p.drawText(QRectF(box.left() + 8, box.top() + 1, box.width() - 16, 16), Qt::AlignLeft | Qt::AlignVCenter,
               caption_);
}

TDruckerLabel::TDruckerLabel(QWidget *parent) : QLabel(parent)
{
    QFont f = font();
    f.setBold(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    SetHover(false);
}

void TDruckerLabel::SetHover(bool on)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    pal.setColor(QPalette::Window,
                 on ? QColor(Qt::yellow) : parentWidget()->palette().color(QPalette::Window));
    setPalette(pal);
}

void TDruckerLabel::enterEvent(QEnterEvent *event)
{
    SetHover(true);
    QLabel::enterEvent(event);
}

void TDruckerLabel::leaveEvent(QEvent *event)
{
    SetHover(false);
    QLabel::leaveEvent(event);
}

void TDruckerLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

#include "controls/ColourSwatch.h"

#include <QMouseEvent>
#include <QPainter>

TColourSwatch::TColourSwatch(bool round, QWidget *parent) : QWidget(parent), round_(round)
{
    setCursor(Qt::PointingHandCursor);
}

void TColourSwatch::SetColour(TColor colour)
{
    colour_ = colour;
    update();
}

void TColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::Dark), 1));
    if (colour_ == clNone)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(canvas::ToQColor(colour_));
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (round_)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 3, 3);
}

void TColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit MouseUp(this);
}

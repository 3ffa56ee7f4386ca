#include "controls/MUVLines.h"

#include "controls/MUVButtonColors.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{
Qt::PenStyle PenStyle(int code)
{
    switch (code) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}
} // namespace

TMUVLines::TMUVLines(QWidget *parent) : QWidget(parent)
{
    linFarbe_ = muv::clWindowFrame;
    resize(100, 1);
}

void TMUVLines::SetLinFarbe(TColor c)
{
    linFarbe_ = c;
    update();
}

void TMUVLines::SetLinDicke(int px)
{
    linDicke_ = qMax(1, px);
    update();
}

void TMUVLines::SetLinStyle(int style)
{
    linStyle_ = style;
    update();
}

void TMUVLines::SetLinien(TLinien set)
{
    linien_ = set;
    update();
}

void TMUVLines::SetRundeEcken(TRundeEcken set)
{
    rundeEcken_ = set;
    update();
}

int TMUVLines::EckRadius() const
{
    return qMax(0, qMin(eckRadius_, qMin(width() / 2, height() / 2)));
}

void TMUVLines::SetEckRadius(int r)
{
    eckRadius_ = qMax(0, r);
    update();
}

bool TMUVLines::Corner(TRoundCorner c) const
{
    return (rundeEcken_ & MuvBit(trc_AllCorners)) || (rundeEcken_ & MuvBit(c));
}

void TMUVLines::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor color = muv::Q(isEnabled() ? linFarbe_ : muv::clBtnShadow);
    QPen pen(color, linDicke_, PenStyle(linStyle_));
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    const int W = width();
    const int H = height();
    // Lines thicker than a pixel move inwards by one so that they stay
    // inside the control.
    const int in = linDicke_ > 1 ? 1 : 0;
    const int l = in;
    const int t = in;
    const int r = W - 1 - in;
    const int b = H - 1 - in;
    const int rad = EckRadius();
    const int rTL = Corner(trc_TopLeft) ? rad : 0;
    const int rTR = Corner(trc_TopRight) ? rad : 0;
    const int rBL = Corner(trc_BottomLeft) ? rad : 0;
    const int rBR = Corner(trc_BottomRight) ? rad : 0;
    const auto has = [this](TLinienTyp e) { return (linien_ & MuvBit(e)) != 0; };

    if (has(ltlinks))
        p.drawLine(l, t + rTL, l, b - rBL);
    if (has(ltrechts))
        p.drawLine(r, t + rTR, r, b - rBR);
    if (has(ltoben))
        p.drawLine(l + rTL, t, r - rTR, t);
    if (has(ltunten))
        p.drawLine(l + rBL, b, r - rBR, b);
    if (has(ltdiagli))
        p.drawLine(0, 0, W - 1, H - 1);
    if (has(ltdiagre))
        p.drawLine(0, H - 1, W - 1, 0);
    if (has(ltMitteVertikal))
        p.drawLine(W / 2, 0, W / 2, H - 1);
    if (has(ltMitteHorizontal))
        p.drawLine(0, H / 2, W - 1, H / 2);

    // Quarter arcs where two edges meet in a rounded corner.
    if (rad > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        const int d = 2 * rad;
        if (rTL && (has(ltlinks) || has(ltoben)))
            p.drawArc(QRect(l, t, d, d), 90 * 16, 90 * 16);
        if (rTR && (has(ltrechts) || has(ltoben)))
            p.drawArc(QRect(r - d, t, d, d), 0, 90 * 16);
        if (rBL && (has(ltlinks) || has(ltunten)))
            p.drawArc(QRect(l, b - d, d, d), 180 * 16, 90 * 16);
        if (rBR && (has(ltrechts) || has(ltunten)))
            p.drawArc(QRect(r - d, b - d, d, d), 270 * 16, 90 * 16);
    }
    emit OnPaint(&p);
}

void TMUVLines::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    const QPoint pos = event->position().toPoint();
    emit OnExtClick(this, pos.x(), event->button(), pos.y());
}

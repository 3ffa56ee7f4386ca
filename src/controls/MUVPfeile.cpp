#include "controls/MUVPfeile.h"

#include "controls/MUVButtonColors.h"

#include <QPainter>

TMUVPfeile::TMUVPfeile(QWidget *parent) : QWidget(parent)
{
    resize(32, 8);
}

#define PF_SETTER(Name, Type, member)                                                                        \
    void TMUVPfeile::Set##Name(Type v)                                                                       \
    {                                                                                                        \
        member = v;                                                                                          \
        update();                                                                                            \
    }
PF_SETTER(Pfeiltyp, TPfeilTyp, pfeiltyp_)
PF_SETTER(PfeilLinks, bool, pfeilLinks_)
PF_SETTER(PfeilRechts, bool, pfeilRechts_)
PF_SETTER(PfeilFarbe, TColor, pfeilFarbe_)
PF_SETTER(PfeilBegrenzer, bool, pfeilBegrenzer_)
PF_SETTER(LinienTyp, int, linienTyp_)
#undef PF_SETTER

void TMUVPfeile::SetPfeilGroesse(int px)
{
    pfeilGroesse_ = qMax(0, px);
    update();
}

QPolygon TMUVPfeile::StartHead() const
{
    if (!pfeilLinks_ || pfeiltyp_ == pt_none)
        return {};
    const int len = pfeilGroesse_;
    const int half = pfeilGroesse_ / 3;
    if (pfeiltyp_ == pt_horizontal) {
        const int y = height() / 2;
        return QPolygon({QPoint(0, y), QPoint(len, y - half), QPoint(len, y + half)});
    }
    const int x = width() / 2;
    return QPolygon({QPoint(x, 0), QPoint(x - half, len), QPoint(x + half, len)});
}

QPolygon TMUVPfeile::EndHead() const
{
    if (!pfeilRechts_ || pfeiltyp_ == pt_none)
        return {};
    const int len = pfeilGroesse_;
    const int half = pfeilGroesse_ / 3;
    if (pfeiltyp_ == pt_horizontal) {
        const int y = height() / 2;
        const int r = width() - 1;
        return QPolygon({QPoint(r, y), QPoint(r - len, y - half), QPoint(r - len, y + half)});
    }
    const int x = width() / 2;
    const int b = height() - 1;
    return QPolygon({QPoint(x, b), QPoint(x - half, b - len), QPoint(x + half, b - len)});
}

void TMUVPfeile::paintEvent(QPaintEvent *)
{
    if (pfeiltyp_ == pt_none)
        return;
    QPainter p(this);
    const QColor c = muv::Q(pfeilFarbe_);
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    p.setPen(QPen(c, 1, styles[qBound(0, linienTyp_, 5)]));
    const bool horiz = pfeiltyp_ == pt_horizontal;
    const int W = width();
    const int H = height();
    if (horiz)
        p.drawLine(0, H / 2, W - 1, H / 2);
    else
        p.drawLine(W / 2, 0, W / 2, H - 1);
    if (pfeilBegrenzer_) {
        p.setPen(QPen(c, 1));
        if (horiz) {
            p.drawLine(0, 0, 0, H - 1);
            p.drawLine(W - 1, 0, W - 1, H - 1);
        } else {
            p.drawLine(0, 0, W - 1, 0);
            p.drawLine(0, H - 1, W - 1, H - 1);
        }
    }
    p.setPen(QPen(c, 1));
    p.setBrush(c);
    for (const QPolygon &head : {StartHead(), EndHead()})
        if (!head.isEmpty())
            p.drawPolygon(head);
}

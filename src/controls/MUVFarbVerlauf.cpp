#include "controls/MUVFarbVerlauf.h"

#include "controls/ColorPanel.h"
#include "controls/MUVButtonColors.h"

#include <QPainter>

TMUVFarbVerlauf::TMUVFarbVerlauf(QWidget *parent) : QWidget(parent)
{
    colorEnd_ = muv::clBtnFace;
    colorBorder_ = muv::clBtnFace;
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(255, 24);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
}

#define FV_SETTER(Name, Type, member)                                                                        \
    void TMUVFarbVerlauf::Set##Name(Type v)                                                                  \
    {                                                                                                        \
        member = v;                                                                                          \
        update();                                                                                            \
    }
FV_SETTER(ColorStart, TColor, colorStart_)
FV_SETTER(ColorEnd, TColor, colorEnd_)
FV_SETTER(Verlauf, bool, verlauf_)
FV_SETTER(Horizontal, bool, horizontal_)
FV_SETTER(Horizontal3D, bool, horizontal3D_)
FV_SETTER(RechterOffset, int, rechterOffset_)
FV_SETTER(BeschriftungX, int, beschriftungX_)
FV_SETTER(BeschriftungY, int, beschriftungY_)
FV_SETTER(BeschriftungMitte, bool, beschriftungMitte_)
FV_SETTER(BeschriftungAlsDatei, bool, beschriftungAlsDatei_)
FV_SETTER(ColorBorder, TColor, colorBorder_)
FV_SETTER(Borders, unsigned, borders_)
#undef FV_SETTER

void TMUVFarbVerlauf::SetBeschriftung(const QString &text)
{
    beschriftung_ = text;
    setAccessibleName(text);
    update();
}

int TMUVFarbVerlauf::GradientEnd() const
{
    const int g = width() - rechterOffset_;
    // Narrow bands run the gradient over the whole width.
    return g < 255 ? width() - 1 : g;
}

QString TMUVFarbVerlauf::ShownCaption() const
{
    if (!beschriftungAlsDatei_)
        return beschriftung_;
    const int room = qMax(0, width() - (beschriftungMitte_ ? 8 : beschriftungX_ + 4));
    return fontMetrics().elidedText(beschriftung_, Qt::ElideMiddle, room);
}

void TMUVFarbVerlauf::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor start = muv::Q(colorStart_);
    const QColor end = muv::Q(colorEnd_);
    const int W = width();
    const int H = height();
    if (!verlauf_) {
        p.fillRect(rect(), start);
    } else if (horizontal_) {
        const int g = GradientEnd();
        for (int x = 0; x <= g; ++x)
            p.fillRect(x, 0, 1, H, TColorPanel::GradientColor(start, end, x, g));
        if (g + 1 < W)
            p.fillRect(g + 1, 0, W - g - 1, H, end);
    } else if (!horizontal3D_) {
        for (int y = 0; y < H; ++y)
            p.fillRect(0, y, W, 1, TColorPanel::GradientColor(end, start, y, H - 1));
    } else {
        // From both edges toward the middle, closed by one line there.
        const int mid = H / 2;
        for (int y = 0; y < mid; ++y) {
            const QColor c = TColorPanel::GradientColor(end, start, y, mid);
            p.fillRect(0, y, W, 1, c);
            p.fillRect(0, H - 1 - y, W, 1, c);
        }
        p.fillRect(0, mid, W, 1, start);
    }

    p.setPen(muv::Q(colorBorder_));
    if (borders_ & brd_left)
        p.drawLine(0, 0, 0, H - 1);
    if (borders_ & brd_right)
        p.drawLine(W - 1, 0, W - 1, H - 1);
    if (borders_ & brd_top)
        p.drawLine(0, 0, W - 1, 0);
    if (borders_ & brd_bottom)
        p.drawLine(0, H - 1, W - 1, H - 1);

    const QString text = ShownCaption();
    if (text.isEmpty())
        return;
    p.setPen(palette().color(QPalette::WindowText));
    if (beschriftungMitte_)
        p.drawText(rect(), Qt::AlignCenter, text);
    else
        p.drawText(QRect(beschriftungX_, beschriftungY_, W, H), Qt::AlignLeft | Qt::AlignTop, text);
}

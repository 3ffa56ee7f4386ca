#include "controls/ColorPanel.h"

#include "controls/MUVButtonColors.h"

#include <QPainter>

#include <cmath>

TColorPanel::TColorPanel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TColorPanel::SetStartColor(TColor c)
{
    startColor_ = c;
    update();
}

void TColorPanel::SetEndColor(TColor c)
{
    endColor_ = c;
    update();
}

void TColorPanel::SetBorderColor(TColor c)
{
    borderColor_ = c;
    update();
}

void TColorPanel::SetBorderSingle(bool on)
{
    borderSingle_ = on;
    update();
}

void TColorPanel::SetStyle(TColorPanelStyle s)
{
    style_ = s;
    update();
}

void TColorPanel::SetSwapped(bool on)
{
    swapped_ = on;
    update();
}

QColor TColorPanel::GradientColor(const QColor &from, const QColor &to, int i, int n)
{
    if (n <= 0)
        return from;
    const auto channel = [i, n](int a, int b) {
        return qBound(0, a + int(std::lround(double(b - a) * i / n)), 255);
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

void TColorPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QColor from = muv::Q(startColor_);
    QColor to = muv::Q(endColor_);
    if (swapped_)
        std::swap(from, to);
    if (from == to) {
        p.fillRect(rect(), from);
    } else if (style_ == cpsVertical) {
        const int n = height();
        for (int y = 0; y <= n; ++y)
            p.fillRect(0, y, width(), 1, GradientColor(from, to, y, n));
    } else {
        const int n = width();
        for (int x = 0; x <= n; ++x)
            p.fillRect(x, 0, 1, height(), GradientColor(from, to, x, n));
    }
    if (borderSingle_ && !muv::IsNone(borderColor_)) {
        p.setPen(muv::Q(borderColor_));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
}

#include "controls/MUVPixelLineal.h"

#include "canvas/tcolor.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace
{

using canvas::ToQColor;

// Ticks closer than this are left out.
constexpr int kMinTickDistance = 8;
// Space between the labels and the short ticks.
constexpr int kGap = 2;

// Rounding as the scale has always done it: halves go to the even neighbour.
double RoundEven(double v)
{
    return std::nearbyint(v);
}

// Pixel rows or columns [from, to), whichever way round they are given.
void FillSpan(QPainter &p, bool alongY, int from, int to, int crossFrom, int crossLast, const QColor &c)
{
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    if (crossLast < crossFrom)
        return;
    if (alongY)
        p.fillRect(QRect(crossFrom, lo, crossLast - crossFrom + 1, hi - lo), c);
    else
        p.fillRect(QRect(lo, crossFrom, hi - lo, crossLast - crossFrom + 1), c);
}

QFont LabelFontFor()
{
    static const QString family =
        QFontDatabase::families().contains(QStringLiteral("Calibri"), Qt::CaseInsensitive)
            ? QStringLiteral("Calibri")
            : QStringLiteral("Arial");
    QFont f(family);
    f.setPixelSize(11);
    f.setStyleStrategy(QFont::PreferQuality);
    return f;
}

} // namespace

TMUVPixelLineal::TMUVPixelLineal(QWidget *parent)
    : QWidget(parent), colorBackground_(clWhite), colorLinesText_(clBlack), colorNoTextLines_(clGray),
      baseLineColor_(clBtnShadow), markUpColor_(0xDFDFFF)
{
    // Provisional font until the type is set.
    labelFont_ = LabelFontFor();
    labelFont_.setPixelSize(12);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(24, 400);
}

TMUVPixelLineal::~TMUVPixelLineal() = default;

void TMUVPixelLineal::SetLinealTyp(TLinealTyp typ)
{
    linealTyp_ = typ;
    // The vertical types turn the painter, not the font.
    labelFont_ = LabelFontFor();
    updateGeometry();
    update();
}

void TMUVPixelLineal::SetZoomFaktor(double zoom)
{
    if (!(zoom > 0.0) || !std::isfinite(zoom))
        zoom = 1.0;
    if (zoom == zoomFaktor_)
        return;
    zoomFaktor_ = zoom;
    update();
}

void TMUVPixelLineal::SetLeftValue(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    if (value == leftValue_)
        return;
    leftValue_ = value;
    update();
}

void TMUVPixelLineal::SetValues(double leftValue, double zoom)
{
    if (!std::isfinite(leftValue))
        leftValue = 0.0;
    if (!(zoom > 0.0))
        zoom = 0.01;
    else if (!std::isfinite(zoom))
        zoom = 1.0;
    if (leftValue == leftValue_ && zoom == zoomFaktor_)
        return;
    leftValue_ = leftValue;
    zoomFaktor_ = zoom;
    update();
}

void TMUVPixelLineal::SetColorBackground(TColor c)
{
    colorBackground_ = c;
    update();
}

void TMUVPixelLineal::SetColorLinesText(TColor c)
{
    colorLinesText_ = c;
    update();
}

void TMUVPixelLineal::SetColorNoTextLines(TColor c)
{
    colorNoTextLines_ = c;
    update();
}

void TMUVPixelLineal::SetLinesonOtherSide(bool on)
{
    linesonOtherSide_ = on;
    update();
}

void TMUVPixelLineal::SetBaseLineVisible(bool on)
{
    baseLineVisible_ = on;
    update();
}

void TMUVPixelLineal::SetBaseLineColor(TColor c)
{
    baseLineColor_ = c;
    update();
}

void TMUVPixelLineal::SetMarkUpColor(TColor c)
{
    markUpColor_ = c;
    update();
}

void TMUVPixelLineal::SetMarkupStart(double v)
{
    markupStart_ = std::isfinite(v) ? v : 0.0;
    update();
}

void TMUVPixelLineal::SetMarkupEnd(double v)
{
    markupEnd_ = std::isfinite(v) ? v : 0.0;
    update();
}

void TMUVPixelLineal::SetMassFaktor(double f)
{
    massFaktor_ = (f < 0.00001 || !std::isfinite(f)) ? 1.0 : f;
    update();
}

bool TMUVPixelLineal::ScaledLabels() const
{
    return std::abs(massFaktor_ - 1.0) > 0.00001;
}

int TMUVPixelLineal::Length() const
{
    return linealTyp_ == lin_horizontal ? width() : height();
}

QSize TMUVPixelLineal::sizeHint() const
{
    return linealTyp_ == lin_horizontal ? QSize(400, 24) : QSize(24, 400);
}

void TMUVPixelLineal::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Draw(p);
}

void TMUVPixelLineal::Draw(QPainter &p) const
{
    const int W = width();
    const int H = height();
    const bool vertical = linealTyp_ == lin_vertikal;
    const bool reverse = linealTyp_ == lin_vertikalreverse;
    const bool horizontal = linealTyp_ == lin_horizontal;

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(labelFont_);
    const QFontMetrics fm(labelFont_, p.device());
    const int w = fm.horizontalAdvance(QStringLiteral("22222"));
    const int q = fm.height() - 1;

    p.fillRect(QRect(0, 0, W, H), ToQColor(colorBackground_));

    // Marked range.
    const double za = RoundEven((markupStart_ - leftValue_) * zoomFaktor_);
    const double zb = RoundEven((markupEnd_ - leftValue_) * zoomFaktor_);
    if (za != zb) {
        // Ends far outside the ruler are pulled to just beyond its edges.
        const double limit = Length() + 1.0;
        const int a = int(std::clamp(za, -1.0, limit));
        const int b = int(std::clamp(zb, -1.0, limit));
        const QColor mark = ToQColor(markUpColor_);
        if (vertical)
            FillSpan(p, true, a, b, q + kGap, W - 1, mark);
        else if (reverse)
            FillSpan(p, true, H - a, H - b, q + kGap, W - 1, mark);
        else if (linesonOtherSide_)
            FillSpan(p, false, a, b, 1, q - kGap, mark);
        else
            FillSpan(p, false, a, b, q + kGap, H - 1, mark);
    }

    const QColor shortColor = ToQColor(colorNoTextLines_);
    const QColor longColor = ToQColor(colorLinesText_);
    const QColor negativeColor = ToQColor(clRed);
    const bool scaled = ScaledLabels();
    const QLocale locale;

    // A tick across the ruler at pixel t (along its length), reaching in
    // from the outer edge to the given depth.
    auto tick = [&](int t, bool labelled) {
        const QColor &c = labelled ? longColor : shortColor;
        if (vertical) {
            const int x = labelled ? q : q + 2;
            p.fillRect(QRect(x, t, std::max(0, W - x), 1), c);
        } else if (reverse) {
            p.fillRect(QRect(q, H - t, std::max(0, W - q), 1), c);
        } else if (linesonOtherSide_) {
            const int y = labelled ? H - q : H - q - 2;
            p.fillRect(QRect(t, 0, 1, std::max(0, y + 1)), c);
        } else {
            const int y = labelled ? q : q + kGap;
            p.fillRect(QRect(t, y, 1, std::max(0, H - y)), c);
        }
    };

    // Label text with its top centred on the reference point; vertical
    // labels run upwards with their top towards the left edge.
    auto label = [&](int t, double value) {
        const QString text =
            scaled ? locale.toString(value * massFaktor_, 'f', 2) : QString::number(value, 'f', 0);
        p.setPen(value < 0 ? negativeColor : longColor);
        const int tw = fm.horizontalAdvance(text);
        if (horizontal) {
            const int y = linesonOtherSide_ ? H - q : 0;
            p.drawText(QPoint(t - tw / 2, y + fm.ascent()), text);
        } else {
            p.save();
            p.translate(0, reverse ? H - t : t);
            p.rotate(-90);
            p.drawText(QPoint(-tw / 2, fm.ascent()), text);
            p.restore();
        }
    };

    const double n = std::trunc(leftValue_);
    const double o = RoundEven((leftValue_ - n) * zoomFaktor_);
    const int length = Length();
    double lastTick = -2.0 * kMinTickDistance;
    double lastLabel = -2.0 * w;
    double k = 0;
    for (;;) {
        const double t = RoundEven(k * zoomFaktor_) - o;
        if (t > length)
            break;
        if (t >= lastTick + kMinTickDistance) {
            tick(int(t), false);
            lastTick = t;
            if (t >= lastLabel + w) {
                tick(int(t), true);
                label(int(t), n + k);
                lastLabel = t;
            }
        }
        // With less than 8 pixels per unit most values are skipped; jump
        // close to the next one that can be drawn instead of walking there.
        // Pixels grow with k, so the walk after the jump finds the same tick.
        double next = k + 1;
        const double wanted = lastTick + kMinTickDistance + o - 0.5;
        if (zoomFaktor_ < kMinTickDistance)
            next = std::max(next, std::floor(wanted / zoomFaktor_) - 1);
        if (next <= k) // beyond the precision of a double
            break;
        k = next;
    }

    if (baseLineVisible_) {
        const QColor c = ToQColor(baseLineColor_);
        if (horizontal)
            p.fillRect(QRect(0, H - 1, W, 1), c);
        else
            p.fillRect(QRect(W - 1, 0, 1, H), c);
    }
    p.restore();
}

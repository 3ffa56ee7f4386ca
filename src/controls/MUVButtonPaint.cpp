// TMUVButton: layout and drawing.

#include "controls/MUVButton.h"
#include "controls/MUVButtonColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace
{

QSize TextSize(const QFontMetrics &fm, const QString &text)
{
    if (text.isEmpty())
        return {};
    const QRect r = fm.boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, text);
    return {r.width(), r.height()};
}

} // namespace

TMUVButtonLayout TMUVButton::ComputeLayout(TTextPosition pos, QSize control, QSize textSize, QSize glyphSize,
                                           int m)
{
    const int W = control.width();
    const int H = control.height();
    const int tw = textSize.width();
    const int th = textSize.height();
    const int gw = glyphSize.width();
    const int gh = glyphSize.height();
    const bool hasGlyph = gw > 0 && gh > 0;
    const bool hasText = tw > 0 && th > 0 && pos != tp_none;
    // The gap between glyph and text exists only when both are there.
    const int gap = (hasGlyph && hasText) ? m : 0;

    TMUVButtonLayout l;
    QPoint g((W - gw) / 2, (H - gh) / 2);
    QPoint t((W - tw) / 2, (H - th) / 2);
    switch (pos) {
    case tp_none:
        break;
    case tp_left: {
        if (!hasGlyph) {
            t.setX(m);
            break;
        }
        const int x = (W - (tw + gap + gw)) / 2;
        t.setX(x);
        g.setX(x + tw + gap);
        break;
    }
    case tp_right: {
        if (!hasGlyph) {
            t.setX(W - m - tw);
            break;
        }
        const int x = (W - (tw + gap + gw)) / 2;
        g.setX(x);
        t.setX(x + gw + gap);
        break;
    }
    case tp_bottom: {
        const int y = (H - (gh + gap + th)) / 2;
        g.setY(y);
        t = QPoint(W / 2 + 1 - tw / 2, y + gh + gap);
        break;
    }
    case tp_top: {
        const int y = (H - (th + gap + gh)) / 2;
        t = QPoint(W / 2 + 1 - tw / 2, y);
        g.setY(y + th + gap);
        break;
    }
    case tp_center:
        break;
    case tp_Strikt_L:
        g.setX(m);
        t.setX(hasGlyph ? gw + 2 * m : m);
        break;
    case tp_Strikt_R:
        g.setX(W - m - gw);
        t.setX((hasGlyph ? g.x() - m : W - m) - tw);
        break;
    }
    if (hasGlyph)
        l.glyph = QRect(g, glyphSize);
    if (hasText)
        l.text = QRect(t, textSize);
    return l;
}

TMUVButtonLayout TMUVButton::CurrentLayout() const
{
    return ComputeLayout(captionPosition_, size(), TextSize(fontMetrics(), text()), glyph_.size(), margin_);
}

QSize TMUVButton::sizeHint() const
{
    const QSize ts = TextSize(fontMetrics(), text());
    const QSize gs = glyph_.size();
    const int m = margin_;
    const bool both = !ts.isEmpty() && !gs.isEmpty() && captionPosition_ != tp_none;
    int w = 0;
    int h = 0;
    switch (captionPosition_) {
    case tp_none:
        w = gs.width();
        h = gs.height();
        break;
    case tp_bottom:
    case tp_top:
        w = qMax(ts.width(), gs.width());
        h = ts.height() + gs.height() + (both ? m : 0);
        break;
    case tp_center:
        w = qMax(ts.width(), gs.width());
        h = qMax(ts.height(), gs.height());
        break;
    default:
        w = ts.width() + gs.width() + (both ? m : 0);
        h = qMax(ts.height(), gs.height());
        break;
    }
    return QSize(qMax(w + 2 * m + 2, 24), qMax(h + 2 * m, 24));
}

QSize TMUVButton::minimumSizeHint() const
{
    return sizeHint();
}

// ------------------------------------------------------------ painting

void TMUVButton::PaintFace(QPainter &p, const QRect &r, bool pressedLook) const
{
    if (pressedLook) {
        if (edgestyle_ == bs_rectHollow)
            return;
        const QBrush pattern(PressedPattern());
        if (edgestyle_ == bs_circle) {
            p.setPen(Qt::NoPen);
            p.setBrush(pattern);
            p.drawEllipse(r.adjusted(0, 0, -1, -1));
        } else {
            p.fillRect(r, pattern);
        }
        return;
    }
    if (muv::IsNone(colorHighlight_) || edgestyle_ == bs_rectHollow)
        return;
    if (edgestyle_ == bs_circle) {
        p.setPen(Qt::NoPen);
        p.setBrush(muv::Q(colorHighlight_));
        p.drawEllipse(r.adjusted(0, 0, -1, -1));
    } else {
        p.fillRect(r, muv::Q(colorHighlight_));
    }
}

void TMUVButton::PaintEdge(QPainter &p, bool sunken) const
{
    const int W = width();
    const int H = height();
    const QColor light = muv::Q(colorEdgeLight_);
    const QColor shadow = muv::Q(colorEdgeShadow_);
    const QColor first = sunken ? shadow : light;  // top and left
    const QColor second = sunken ? light : shadow; // bottom and right
    const QColor special = muv::Q(colorSpezialFrame_);
    p.setBrush(Qt::NoBrush);
    auto line = [&](const QColor &c, int x1, int y1, int x2, int y2) {
        p.setPen(QPen(c, 1));
        p.drawLine(x1, y1, x2, y2);
    };
    switch (edgestyle_) {
    case bs_rectangle:
        line(first, 0, 0, W - 1, 0);
        line(first, 0, 0, 0, H - 1);
        line(second, W - 1, 0, W - 1, H - 1);
        line(second, 0, H - 1, W - 1, H - 1);
        if (spezialFrame_) {
            p.setPen(QPen(special, 1));
            p.drawRect(1, 1, W - 3, H - 3);
        }
        break;
    case bs_breakedrect:
        // The corners are cut by two pixels.
        line(first, 2, 0, W - 3, 0);
        line(first, 0, 2, 0, H - 3);
        line(first, 0, 2, 2, 0);
        line(second, W - 1, 2, W - 1, H - 3);
        line(second, 2, H - 1, W - 3, H - 1);
        line(second, W - 3, H - 1, W - 1, H - 3);
        line(first, W - 3, 0, W - 1, 2);
        line(second, 0, H - 3, 2, H - 1);
        break;
    case bs_architectural:
        // Lines that overshoot the corners, as on a drawing board.
        line(first, 2, 0, 2, H - 1);
        line(first, 0, 2, W - 1, 2);
        line(second, W - 3, 0, W - 3, H - 1);
        line(second, 0, H - 3, W - 1, H - 3);
        if (spezialFrame_) {
            p.setPen(QPen(special, 1));
            p.drawRect(3, 3, W - 7, H - 7);
        }
        break;
    case bs_circle: {
        const QColor c = (sunken || !isEnabled()) ? muv::Q(muv::cl3DLight) : muv::Q(colorAllwaysBorder_);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(c, 1));
        p.drawEllipse(QRectF(0.5, 0.5, W - 1, H - 1));
        p.setRenderHint(QPainter::Antialiasing, false);
        break;
    }
    case bs_none:
        break;
    case bs_rectHollow:
        p.setPen(QPen(isEnabled() ? first : muv::Q(muv::cl3DLight), 1));
        p.drawRect(0, 0, W - 1, H - 1);
        if (spezialFrame_) {
            p.setPen(QPen(special, 1));
            p.drawRect(1, 1, W - 3, H - 3);
        }
        break;
    }
}

void TMUVButton::PaintText(QPainter &p, const QRect &r, const QColor &color) const
{
    if (r.isEmpty())
        return;
    p.setPen(color);
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop, text());
}

// The bottom-left colour is the background of the picture.
QImage TMUVButton::KeyedOut(const QImage &img)
{
    if (img.isNull())
        return {};
    QImage shown = img.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = shown.pixel(0, shown.height() - 1);
    if (qAlpha(key) != 0) {
        for (int y = 0; y < shown.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(shown.scanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    return shown;
}

void TMUVButton::PaintGlyph(QPainter &p, const QImage &img, QPoint at) const
{
    if (!img.isNull())
        p.drawImage(at, img);
}

void TMUVButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    const TMUVButtonLayout l = CurrentLayout();
    const bool enabled = isEnabled();
    const bool held = isDown(); // mouse button (or Space) held on the button
    const bool downLook = down_ || (held && !hovered_);

    if (showBackgroundColor_ && !muv::IsNone(colorBackground_)) {
        if (edgestyle_ == bs_circle) {
            p.setPen(Qt::NoPen);
            p.setBrush(muv::Q(colorBackground_));
            p.drawEllipse(r.adjusted(0, 0, -1, -1));
        } else {
            p.fillRect(r, muv::Q(colorBackground_));
        }
    }

    auto paintDownFace = [&] {
        if (muv::IsNone(colorDownBackGround_))
            PaintFace(p, r, true);
        else
            p.fillRect(r, muv::Q(colorDownBackGround_));
    };

    if (enabled && hovered_) {
        PaintFace(p, r, held);
        // Glyph and text move by a pixel as the mouse comes over.
        const int shift = (simpleAnimation_ && !down_) ? 1 : 0;
        const int gshift = (shift && glyph_.width() > 1) ? 1 : 0;
        PaintGlyph(p, shownColour_, l.glyph.topLeft() + QPoint(0, gshift));
        PaintText(p, l.text.translated(shift, shift), muv::Q(colorHighlightText_));
        PaintEdge(p, down_ || held);
    } else if (enabled && downLook) {
        paintDownFace();
        PaintGlyph(p, shownColour_, l.glyph.topLeft());
        PaintText(p, l.text, muv::Q(colorButtonDownText_));
        PaintEdge(p, true);
    } else if (enabled) {
        PaintGlyph(p, showAllwaysColor_ ? shownColour_ : shownGrey_, l.glyph.topLeft());
        PaintText(p, l.text, palette().color(QPalette::ButtonText));
    } else {
        if (down_)
            paintDownFace();
        PaintGlyph(p, shownDisabled_, l.glyph.topLeft());
        // Embossed text.
        PaintText(p, l.text.translated(1, 1), Qt::white);
        PaintText(p, l.text, muv::Q(muv::clGrayText));
        if (down_)
            PaintEdge(p, true);
    }

    if (showAllwaysSimpleBorder_ && !down_ && !downLook && !(enabled && hovered_)) {
        p.setBrush(Qt::NoBrush);
        p.setPen(muv::Q(enabled ? colorAllwaysBorder_ : muv::cl3DLight));
        p.drawRect(0, 0, width() - 1, height() - 1);
    }

    // The keyboard focus, as every focusable control shows it.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = r.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
}

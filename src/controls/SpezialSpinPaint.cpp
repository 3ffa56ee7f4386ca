// The spin field's layout and its painting: frame, texts around the value
// and the two arrow buttons in the 3D look.
#include "controls/SpezialSpin.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace
{

// Rectangle from Windows-style coordinates (right and bottom exclusive).
QRect Ltrb(int left, int top, int right, int bottom)
{
    return QRect(left, top, qMax(0, right - left), qMax(0, bottom - top));
}

// A two-pixel edge: outer ring then inner ring, each with its top/left and
// bottom/right colour.
void DrawEdge(QPainter &p, const QRect &r, const QColor &outerTL, const QColor &outerBR,
              const QColor &innerTL, const QColor &innerBR)
{
    auto ring = [&p](const QRect &q, const QColor &tl, const QColor &br) {
        if (q.width() <= 0 || q.height() <= 0)
            return;
        p.fillRect(QRect(q.left(), q.top(), q.width(), 1), tl);
        p.fillRect(QRect(q.left(), q.top(), 1, q.height()), tl);
        p.fillRect(QRect(q.left(), q.bottom(), q.width(), 1), br);
        p.fillRect(QRect(q.right(), q.top(), 1, q.height()), br);
    };
    ring(r, outerTL, outerBR);
    ring(r.adjusted(1, 1, -1, -1), innerTL, innerBR);
}

// The fixed system colours of the 3D look. The palette's disabled group is
// washed out; a disabled control shows its state through the emboss and the
// glyph colour instead.
QColor Sys(const QPalette &pal, QPalette::ColorRole role)
{
    return pal.color(QPalette::Active, role);
}

bool HasMarlett()
{
    static const bool has =
        QFontDatabase::families().contains(QStringLiteral("Marlett"), Qt::CaseInsensitive);
    return has;
}

// A row-by-row triangle as the symbol font draws its scroll arrows: the
// base about 7/11 of the em height, always odd so the tip is one pixel.
void DrawTriangle(QPainter &p, const QRect &r, bool up, const QColor &color, double emPixels)
{
    int base = qMax(3, int(std::lround(emPixels * 7.0 / 11.0)));
    if (base % 2 == 0)
        ++base;
    const int rows = (base + 1) / 2;
    const int cx = r.left() + r.width() / 2;
    const int top = r.top() + (r.height() - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        const int half = up ? i : rows - 1 - i;
        p.fillRect(QRect(cx - half, top + i, 2 * half + 1, 1), color);
    }
}

} // namespace

// ---- layout and painting -------------------------------------------------

void TSpezialSpin::ReLayout()
{
    const QFontMetrics fm(font());
    const int before = textBefore_.isEmpty() ? 0 : fm.horizontalAdvance(textBefore_);
    const int after = textAfter_.isEmpty() ? 0 : fm.horizontalAdvance(textAfter_);
    const int h = height();
    const int bw = borderWidth_;
    boxLeft_ = before + textSpacing_;
    boxRight_ = width() - textSpacing_ - after;

    // The arrow column is as wide as the font is high, at least 16 pixels.
    const int fontPixels = font().pixelSize() > 0
                               ? font().pixelSize()
                               : int(std::lround(font().pointSizeF() * logicalDpiY() / 72.0));
    const int a = qMax(16, fontPixels);

    const int b = boxRight_ - (bw + 1);
    upRect_ = Ltrb(b - a, bw, b, h / 2);
    downRect_ = Ltrb(b - a, h / 2, b, h - bw);
    innerRect_ = Ltrb(boxLeft_ + bw, bw, b - a - 1, h - bw);

    const int editLeft = boxLeft_ + bw + 2;
    const int editTop = qMax((h - a) / 2, bw) + marginTop_;
    const int editWidth = (boxRight_ - boxLeft_) - 2 * bw - a - 8;
    edit_->setGeometry(editLeft, editTop, qMax(0, editWidth), a);
    update();
}

void TSpezialSpin::PaintArrowButton(QPainter &p, const QRect &r, bool up, bool pressed) const
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QPalette &pal = palette();
    p.fillRect(r, Sys(pal, QPalette::Button));
    if (borderWidth_ == 1) {
        // These lines belong to the flat frame and turn grey with it.
        const QColor line = isEnabled() ? borderColWidth1_ : Sys(pal, QPalette::Dark);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), line);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), line);
    } else if (pressed) {
        DrawEdge(p, r, Sys(pal, QPalette::Dark), Sys(pal, QPalette::Light), Sys(pal, QPalette::Shadow),
                 Sys(pal, QPalette::Button));
    } else {
        DrawEdge(p, r, Sys(pal, QPalette::Midlight), Sys(pal, QPalette::Shadow), Sys(pal, QPalette::Light),
                 Sys(pal, QPalette::Dark));
    }

    QColor glyphColor = arrowColor_;
    if (!isEnabled())
        glyphColor = Sys(pal, QPalette::Light);
    else if (pressed)
        glyphColor = Sys(pal, QPalette::Highlight);
    const QRect glyphRect = pressed ? r.translated(0, up ? -1 : 1) : r;

    if (HasMarlett()) {
        QFont marlett(QStringLiteral("Marlett"));
        marlett.setPointSize(arrowSize_);
        p.setFont(marlett);
        p.setPen(glyphColor);
        p.drawText(glyphRect, Qt::AlignCenter, up ? QStringLiteral("5") : QStringLiteral("6"));
    } else {
        DrawTriangle(p, glyphRect, up, glyphColor, arrowSize_ * logicalDpiY() / 72.0);
    }
}

void TSpezialSpin::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    if (!parentColor_)
        p.fillRect(rect(), color_);
    p.fillRect(innerRect_, Qt::white);

    const QRect box = BoxRect();
    if (borderWidth_ == 1) {
        const QColor c = isEnabled() ? borderColWidth1_ : Sys(pal, QPalette::Dark);
        p.fillRect(QRect(box.left(), box.top(), box.width(), 1), c);
        p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), c);
        p.fillRect(QRect(box.left(), box.top(), 1, box.height()), c);
        p.fillRect(QRect(box.right(), box.top(), 1, box.height()), c);
    } else if (borderWidth_ == 2) {
        DrawEdge(p, box, Sys(pal, QPalette::Dark), Sys(pal, QPalette::Light), Sys(pal, QPalette::Shadow),
                 Sys(pal, QPalette::Button));
    }

    PaintArrowButton(p, upRect_, true, upPressed_);
    PaintArrowButton(p, downRect_, false, downPressed_);

    // Captions at the height of the edit field.
    p.setFont(font());
    const QFontMetrics fm(font());
    const int y = edit_->geometry().top() + fm.ascent();
    auto caption = [&](int x, const QString &text) {
        if (text.isEmpty())
            return;
        if (isEnabled()) {
            p.setPen(Sys(pal, QPalette::ButtonText));
            p.drawText(x, y, text);
        } else {
            p.setPen(Sys(pal, QPalette::Light));
            p.drawText(x + 1, y + 1, text);
            p.setPen(Sys(pal, QPalette::Dark));
            p.drawText(x, y, text);
        }
    };
    caption(0, textBefore_);
    caption(boxRight_ + textSpacing_, textAfter_);
}

void TSpezialSpin::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ReLayout();
}

void TSpezialSpin::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (!edit_)
        return; // the font set during construction
    switch (event->type()) {
    case QEvent::FontChange:
        edit_->setFont(font());
        ReLayout();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
}

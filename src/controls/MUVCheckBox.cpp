#include "controls/MUVCheckBox.h"

#include "controls/glyphs_boxes/box_glyphs.h"

#include <QPainter>
#include <QStyle>

namespace
{
constexpr TColor kBtnShadow = TColor(0x80000010);
constexpr TColor kWindow = TColor(0x80000005);
} // namespace

TMUVCheckBox::TMUVCheckBox(QWidget *parent) : QCheckBox(parent)
{
    resize(80, 20);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, [this] { emit OnChange(this); });
}

void TMUVCheckBox::SetCaption(const QString &caption)
{
    setText(caption);
    update();
}

void TMUVCheckBox::SetChecked(bool checked)
{
    setChecked(checked);
    update();
}

void TMUVCheckBox::SetStyle(TMUVCheckBoxStyle style)
{
    style_ = style;
    update();
}

void TMUVCheckBox::SetRightHand(bool right)
{
    rightHand_ = right;
    update();
}

void TMUVCheckBox::SetHookColor(TColor c)
{
    hookColor_ = c;
    update();
}

void TMUVCheckBox::SetBackgroundOpak(bool opak)
{
    backgroundOpak_ = opak;
    update();
}

void TMUVCheckBox::SetBackgroundColor(TColor c)
{
    backgroundColor_ = c;
    update();
}

void TMUVCheckBox::SetGroupIndex(int group)
{
    groupIndex_ = group;
}

QPixmap TMUVCheckBox::BoxPicture() const
{
    const bool dot = style_ == cs_Dot;
    QString name;
    if (!isChecked())
        name = dot ? QStringLiteral("cb_circleer") : QStringLiteral("cb_hookleer");
    else if (!isEnabled())
        name = dot ? QStringLiteral("cb_circna") : QStringLiteral("cb_hookna");
    else
        name = dot ? QStringLiteral("cb_circset") : QStringLiteral("cb_hookset");
    return box_glyphs::Glyph(name, devicePixelRatioF());
}

QRect TMUVCheckBox::BoxRect() const
{
    const QPixmap pm = BoxPicture();
    const QSize bs = (QSizeF(pm.size()) / pm.devicePixelRatio()).toSize();
    const int g = (height() - bs.height()) / 2;
    const int x = rightHand_ ? width() - g - bs.width() : g;
    return QRect(QPoint(x, g), bs);
}

QPoint TMUVCheckBox::CaptionPos() const
{
    const QRect box = BoxRect();
    const int g = box.top();
    const QFontMetrics fm(font());
    // The text cell of "A" centred on the height.
    const int top = (height() - fm.height()) / 2;
    const int x = rightHand_ ? box.left() - g - fm.horizontalAdvance(text()) : box.width() + 2 * g;
    return QPoint(x, top);
}

QSize TMUVCheckBox::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(qMax(80, 13 + 12 + fm.horizontalAdvance(text())), qMax(20, fm.height() + 4));
}

QSize TMUVCheckBox::minimumSizeHint() const
{
    return QSize(13, 13);
}

void TMUVCheckBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (backgroundOpak_ && backgroundColor_ != clNone)
        p.fillRect(rect(), canvas::ToQColor(backgroundColor_));
    const QRect box = BoxRect();
    p.drawPixmap(box.topLeft(), BoxPicture());

    const QPoint cp = CaptionPos();
    const QFontMetrics fm(font());
    const QRect textRect(cp, QSize(fm.horizontalAdvance(text()) + 1, fm.height()));
    p.setFont(font());
    if (!isEnabled()) {
        p.setPen(canvas::ToQColor(kWindow));
        p.drawText(textRect.translated(1, 1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
        p.setPen(canvas::ToQColor(kBtnShadow));
    } else if (isDown()) {
        p.setPen(canvas::ToQColor(hookColor_));
    } else {
        p.setPen(palette().color(QPalette::WindowText));
    }
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());

    if (hasFocus()) {
        // Keyboard users see which box Space would toggle.
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRect focus = text().isEmpty() ? box.adjusted(-2, -2, 1, 1) : textRect.adjusted(-2, 0, 1, -1);
        p.drawRect(focus.intersected(rect().adjusted(0, 0, -1, -1)));
    }
}

bool TMUVCheckBox::hitButton(const QPoint &pos) const
{
    // The whole control reacts, as its caption belongs to it.
    return rect().contains(pos);
}

void TMUVCheckBox::nextCheckState()
{
    if (groupIndex_ == 0) {
        setChecked(!isChecked());
        return;
    }
    setChecked(true);
    if (QWidget *parent = parentWidget()) {
        for (TMUVCheckBox *other : parent->findChildren<TMUVCheckBox *>(Qt::FindDirectChildrenOnly)) {
            if (other != this && other->groupIndex_ == groupIndex_ && other->isChecked())
                other->SetChecked(false);
        }
    }
}

void TMUVCheckBox::checkStateSet()
{
    QCheckBox::checkStateSet();
    update();
}

void TMUVCheckBox::enterEvent(QEnterEvent *event)
{
    QCheckBox::enterEvent(event);
    emit OnMouseEnter(this);
}

void TMUVCheckBox::leaveEvent(QEvent *event)
{
    QCheckBox::leaveEvent(event);
    emit OnMouseExit(this);
}

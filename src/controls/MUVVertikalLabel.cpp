#include "controls/MUVVertikalLabel.h"

#include <QPainter>

TMUVVertikalLabel::TMUVVertikalLabel(QWidget *parent) : QWidget(parent)
{
    resize(20, 200);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    setFont(f);
    setAccessibleName(caption_);
}

void TMUVVertikalLabel::SetCaption(const QString &caption)
{
    caption_ = caption;
    setAccessibleName(caption);
    update();
}

void TMUVVertikalLabel::SetMargin(int px)
{
    margin_ = px;
    update();
}

void TMUVVertikalLabel::SetTextAlign(Qt::Alignment align)
{
    align_ = align;
    update();
}

QRect TMUVVertikalLabel::TextRect() const
{
    const QFontMetrics fm(font());
    const int len = fm.horizontalAdvance(caption_);
    int bottom; // where the first character stands
    if (align_ & Qt::AlignRight)
        bottom = margin_ + len;
    else if (align_ & Qt::AlignHCenter)
        bottom = (height() + len) / 2;
    else
        bottom = height() - margin_;
    return QRect(margin_, bottom - len, fm.height(), len);
}

QSize TMUVVertikalLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(qMax(20, fm.height() + 2 * margin_),
                 qMax(200, fm.horizontalAdvance(caption_) + 2 * margin_));
}

void TMUVVertikalLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect t = TextRect();
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    // Turned a quarter to the left: the text's top faces the left edge.
    p.translate(t.left(), t.bottom() + 1);
    p.rotate(-90);
    p.drawText(QRect(0, 0, t.height() + 1, t.width()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
               caption_);
}

#include "controls/MUVColorHistory.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

using canvas::TColor;

TMUVColorHistory::TMUVColorHistory(QWidget *parent) : QWidget(parent)
{
    resize(64, 64);
}

void TMUVColorHistory::AddColor(TColor c)
{
    for (int i = 0; i < kSlots; ++i)
        if (used_[i] && colors_[i] == c)
            return;
    for (int i = kSlots - 1; i > 0; --i) {
        colors_[i] = colors_[i - 1];
        used_[i] = used_[i - 1];
    }
    colors_[0] = c;
    used_[0] = true;
    update();
    emit OnColorsChanged();
}

void TMUVColorHistory::SetCellSize(int px)
{
    cellSize_ = std::max(4, px);
    if (cellMargin_ < 0 || cellMargin_ > cellSize_)
        cellMargin_ = 0;
    update();
}

void TMUVColorHistory::SetCellMargin(int px)
{
    cellMargin_ = (px < 0 || px > cellSize_) ? 0 : px;
    update();
}

void TMUVColorHistory::SetFrameColor(TColor c)
{
    frameColor_ = c;
    update();
}

int TMUVColorHistory::EffectiveCellSize() const
{
    // A control narrower than a cell still shows whole cells.
    if (width() < cellSize_)
        return std::max(4, width() - 2);
    return cellSize_;
}

QPoint TMUVColorHistory::CellPos(int slot) const
{
    const int size = EffectiveCellSize();
    int x = 0, y = 0;
    for (int i = 0; i < slot; ++i) {
        x += size;
        if (x > width() - size) {
            x = 0;
            y += size;
        }
    }
    return QPoint(x, y);
}

int TMUVColorHistory::CellAt(QPoint p) const
{
    const int size = EffectiveCellSize();
    for (int i = 0; i < kSlots; ++i) {
        const QPoint c = CellPos(i);
        if (p.x() >= c.x() && p.x() <= c.x() + size - 1 && p.y() >= c.y() && p.y() <= c.y() + size - 1)
            return i;
    }
    return -1;
}

void TMUVColorHistory::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int size = EffectiveCellSize();
    const int margin = (cellMargin_ < 0 || cellMargin_ > size) ? 0 : cellMargin_;
    for (int i = 0; i < kSlots; ++i) {
        const QPoint c = CellPos(i);
        // The frame runs along the rectangle's edge, the fill inside it.
        const QRect r(c.x(), c.y(), size - margin, size - margin);
        if (r.width() <= 0 || r.height() <= 0)
            continue;
        const bool filled = used_[i] && isEnabled();
        if (filled)
            p.fillRect(r, canvas::ToQColor(colors_[i]));
        const TColor frame =
            frameColor_ == canvas::clNone ? (used_[i] ? colors_[i] : canvas::clGray) : frameColor_;
        p.setPen(QPen(canvas::ToQColor(frame), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void TMUVColorHistory::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton && popup_)
        popup_->popup(event->globalPosition().toPoint());
}

void TMUVColorHistory::mouseReleaseEvent(QMouseEvent *event)
{
    if (!isEnabled())
        return;
    if (event->button() == Qt::RightButton && popup_)
        return;
    const int slot = CellAt(event->position().toPoint());
    if (slot < 0 || !used_[slot])
        return;
    lastMouseSelected_ = colors_[slot];
    emit OnSelectColor(colors_[slot], event->button(), slot);
}

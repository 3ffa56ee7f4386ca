#include "controls/MUVComboFarbFav.h"

#include "controls/MUVWebColorBox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

using canvas::TColor;
using canvas::ToQColor;

namespace
{
class FavoriteDelegate : public QStyledItemDelegate
{
  public:
    explicit FavoriteDelegate(TMUVComboFarbFav *box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool highlighted = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        box_->PaintFavorite(*p, option.rect, index.row(), highlighted, false);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return QSize(box_->DroppedWidth(), TMUVComboFarbFav::kItemHeight);
    }

  private:
    TMUVComboFarbFav *box_;
};
} // namespace

TMUVComboFarbFav::TMUVComboFarbFav(QWidget *parent) : QComboBox(parent)
{
    UseDropDownList(this);
    setItemDelegate(new FavoriteDelegate(this));
    setMaxVisibleItems(20);
    resize(200, 24);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < favs_.Count())
            emit OnSelectFavoriteColor(favs_.At(index).Color);
    });
}

void TMUVComboFarbFav::SyncItems()
{
    // One empty item per favourite; the rows are drawn from the records.
    // A combo box selects its first item by itself; the selection stays as
    // it was.
    const QSignalBlocker block(this);
    const int selected = currentIndex() < favs_.Count() ? currentIndex() : -1;
    while (count() > favs_.Count())
        removeItem(count() - 1);
    while (count() < favs_.Count())
        addItem(QString());
    setCurrentIndex(selected);
    update();
}

void TMUVComboFarbFav::LoadFavorites()
{
    const auto result = favs_.Load(file_);
    fileUnreadable_ = result == TColorFavorites::LoadResult::Unreadable;
    if (result == TColorFavorites::LoadResult::Missing)
        return;
    SyncItems();
    setCurrentIndex(-1);
}

void TMUVComboFarbFav::SaveFavorites()
{
    if (fileUnreadable_)
        return;
    favs_.Save(file_); // a failed write leaves the old file; nothing to tell
}

void TMUVComboFarbFav::AddFavorite(TColor colour, int r, const QString &name, int b, int g)
{
    if (favs_.Add(colour, r, g, b, name))
        SyncItems();
}

void TMUVComboFarbFav::DeleteFavorite(int index)
{
    if (index < 0 || index >= favs_.Count())
        return;
    const QSignalBlocker block(this);
    favs_.Delete(index);
    removeItem(index);
    setCurrentIndex(-1);
    update();
}

void TMUVComboFarbFav::RenameFavorite(int index, const QString &name)
{
    if (favs_.Rename(index, name))
        update();
}

void TMUVComboFarbFav::SetDroppedWidth(int px)
{
    droppedWidth_ = std::max(32, px);
}

void TMUVComboFarbFav::SetColorHighLightFrame(TColor c)
{
    highLightFrame_ = c;
    update();
}

void TMUVComboFarbFav::SetAllwaysBorder(bool on)
{
    allwaysBorder_ = on;
    update();
}

void TMUVComboFarbFav::SetChooseTextBold(bool on)
{
    chooseTextBold_ = on;
    update();
}

void TMUVComboFarbFav::SetNoChooseText(const QString &t)
{
    noChooseText_ = t;
    update();
}

void TMUVComboFarbFav::showPopup()
{
    view()->setMinimumWidth(std::max(width(), droppedWidth_));
    QComboBox::showPopup();
}

void TMUVComboFarbFav::enterEvent(QEnterEvent *event)
{
    hover_ = true;
    update();
    QComboBox::enterEvent(event);
}

void TMUVComboFarbFav::leaveEvent(QEvent *event)
{
    hover_ = false;
    update();
    QComboBox::leaveEvent(event);
}

void TMUVComboFarbFav::PaintFavorite(QPainter &p, const QRect &r, int index, bool highlighted,
                                     bool bold) const
{
    p.save();
    p.fillRect(r, highlighted ? ToQColor(kSelectedBackground) : palette().color(QPalette::Base));
    if (index < 0 || index >= favs_.Count()) {
        p.restore();
        return;
    }
    const TColorFavorite &f = favs_.At(index);
    const QRect square(r.left() + 2, r.top() + 2, r.height() - 4, r.height() - 4);
    p.fillRect(square, ToQColor(f.Color));
    p.setPen(Qt::black);
    p.drawRect(square.adjusted(0, 0, -1, -1));
    const int step = fontMetrics().horizontalAdvance(QStringLiteral("  G555 "));
    int x = square.right() + 1 + 6;
    const QString columns[3] = {QStringLiteral("R%1").arg(f.R), QStringLiteral("G%1").arg(f.G),
                                QStringLiteral("B%1").arg(f.B)};
    for (const QString &t : columns) {
        p.drawText(QRect(x, r.top(), step, r.height()), Qt::AlignLeft | Qt::AlignVCenter, t);
        x += step;
    }
    if (bold) {
        QFont font = p.font();
        font.setBold(true);
        p.setFont(font);
    }
    p.drawText(QRect(x, r.top(), std::max(0, r.right() - x), r.height()), Qt::AlignLeft | Qt::AlignVCenter,
               favs_.Name(index));
    p.restore();
}

void TMUVComboFarbFav::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, isEnabled() ? palette().color(QPalette::Base) : palette().color(QPalette::Window));
    const TColor frame =
        hover_ ? highLightFrame_ : (allwaysBorder_ ? canvas::SystemColor(16) : canvas::SystemColor(15));
    PaintComboFrame(p, all, ToQColor(frame), allwaysBorder_ || hover_);
    PaintComboArrow(p, all, ToQColor(hover_ && isEnabled() ? highLightFrame_ : canvas::SystemColor(16)));
    if (width() <= height())
        return;
    const QRect text(2, 2, width() - height() - 2, height() - 4);
    const int index = currentIndex();
    if (index < 0 || index >= favs_.Count()) {
        p.setPen(Qt::gray);
        p.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, noChooseText_);
        return;
    }
    PaintFavorite(p, text, index, false, chooseTextBold_);
}

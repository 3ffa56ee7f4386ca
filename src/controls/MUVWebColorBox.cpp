#include "controls/MUVWebColorBox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QProxyStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

using canvas::TColor;
using canvas::ToQColor;

void PaintComboArrow(QPainter &p, const QRect &control, const QColor &colour)
{
    const int button = TMUVWebColorBox::kButtonWidth;
    int b = button - 12; // arrow width, kept even
    b -= b % 2;
    const int h = int(std::lround(b / 2.0));
    const int top = (control.height() - h + 2) / 2;
    const int left = control.width() + (button - b) / 2 - button;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    // Row by row, so the triangle has crisp pixel steps.
    for (int row = 0; row < h; ++row)
        p.drawRect(left + row, top + row, b - 2 * row, 1);
    p.drawRect(left, top - 2, b, 1);
    p.restore();
}

void PaintComboFrame(QPainter &p, const QRect &control, const QColor &outer, bool innerWhite)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(outer);
    p.drawRect(control.adjusted(0, 0, -1, -1));
    if (innerWhite) {
        p.setPen(Qt::white);
        p.drawRect(control.adjusted(1, 1, -2, -2));
    }
    p.restore();
}

namespace
{
// The list drops down below the control with at most maxVisibleItems rows,
// whatever the desktop style does with combo box lists.
class ListPopupStyle : public QProxyStyle
{
  public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

void UseDropDownList(QComboBox *box)
{
    auto *style = new ListPopupStyle;
    style->setParent(box);
    box->setStyle(style);
}

namespace
{
class WebColorDelegate : public QStyledItemDelegate
{
  public:
    explicit WebColorDelegate(TMUVWebColorBox *box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        QColor text = option.palette.color(QPalette::Text);
        if (selected) {
            p->fillRect(r, ToQColor(box_->ColorHighLightBKG()));
            text = ToQColor(box_->ColorHighLightText());
        } else {
            p->fillRect(r, option.palette.color(QPalette::Base));
        }
        const auto html = index.data(Qt::UserRole).toUInt();
        const QRect square(r.left() + 1, r.top() + 1, r.height() - 2, r.height() - 2);
        p->fillRect(square, ToQColor(colours::HtmlValueToColor(html)));
        p->setPen(Qt::black);
        p->drawRect(square.adjusted(0, 0, -1, -1));
        p->setPen(text);
        p->drawText(QRect(square.right() + 5, r.top() + 1, r.width(), r.height() - 1),
                    Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_Selected) {
            QPen dots(text, 1, Qt::DotLine);
            p->setPen(dots);
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 24, TMUVWebColorBox::kItemHeight);
    }

  private:
    TMUVWebColorBox *box_;
};
} // namespace

TMUVWebColorBox::TMUVWebColorBox(QWidget *parent) : QComboBox(parent)
{
    UseDropDownList(this);
    setItemDelegate(new WebColorDelegate(this));
    setMaxVisibleItems(20);
    resize(145, 22);
    BuildList();
    SetDroppedWidth(300);
    connect(this, &QComboBox::activated, this, [this] { emit OnClick(); });
}

void TMUVWebColorBox::BuildList()
{
    const QSignalBlocker block(this);
    entries_ = colours::NamedColors();
    clear();
    for (const colours::TNamedColor &e : entries_)
        addItem(e.Name, QVariant::fromValue(uint(e.Html)));
    setCurrentIndex(-1);
}

TColor TMUVWebColorBox::SelectedColor()
{
    const int i = currentIndex();
    if (i < 0 || i >= int(entries_.size()))
        return 0;
    lastColor_ = colours::HtmlValueToColor(entries_[std::size_t(i)].Html);
    return lastColor_;
}

int TMUVWebColorBox::IndexOfColor(TColor c)
{
    update();
    return colours::IndexOfColor(entries_, c);
}

qint64 TMUVWebColorBox::HexToColor(const QString &text)
{
    const auto v = colours::HexToColor(text);
    return v ? qint64(*v) : -1;
}

void TMUVWebColorBox::SetColorHighLightFrame(TColor c)
{
    highLightFrame_ = c;
    update();
}

void TMUVWebColorBox::SetColorHighLightBKG(TColor c)
{
    highLightBkg_ = c;
    update();
}

void TMUVWebColorBox::SetColorHighLightText(TColor c)
{
    highLightText_ = c;
    update();
}

void TMUVWebColorBox::SetAllwaysBorder(bool on)
{
    allwaysBorder_ = on;
    update();
}

void TMUVWebColorBox::SetNoSelectionText(const QString &t)
{
    noSelectionText_ = t;
    update();
}

void TMUVWebColorBox::SetShowColorBoxInEdit(bool on)
{
    showColorBoxInEdit_ = on;
    update();
}

void TMUVWebColorBox::SetDroppedWidth(int px)
{
    droppedWidth_ = std::max(32, px);
}

void TMUVWebColorBox::showPopup()
{
    if (entries_.empty())
        BuildList();
    view()->setMinimumWidth(std::max(width(), droppedWidth_));
    QComboBox::showPopup();
}

void TMUVWebColorBox::enterEvent(QEnterEvent *event)
{
    hover_ = true;
    update();
    QComboBox::enterEvent(event);
}

void TMUVWebColorBox::leaveEvent(QEvent *event)
{
    hover_ = false;
    update();
    QComboBox::leaveEvent(event);
}

void TMUVWebColorBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, isEnabled() ? palette().color(QPalette::Base) : palette().color(QPalette::Window));
    const TColor frame =
        hover_ ? highLightFrame_ : (allwaysBorder_ ? canvas::SystemColor(16) : canvas::SystemColor(15));
    PaintComboFrame(p, all, ToQColor(frame), false);
    const int index = currentIndex();
    const bool none = index < 0 || index >= int(entries_.size());
    PaintComboArrow(p, all,
                    ToQColor(!isEnabled() || none ? canvas::SystemColor(16) : canvas::SystemColor(13)));
    if (width() <= height())
        return;
    QRect text(3, 0, width() - height() - 3, height());
    if (none) {
        p.setPen(Qt::gray);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, noSelectionText_);
        return;
    }
    const colours::TNamedColor &e = entries_[std::size_t(index)];
    if (showColorBoxInEdit_) {
        const QRect square(4, 4, height() - 8, height() - 8);
        p.fillRect(square, ToQColor(colours::HtmlValueToColor(e.Html)));
        p.setPen(Qt::black);
        p.drawRect(square.adjusted(0, 0, -1, -1));
        text.setLeft(square.right() + 5);
    }
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, e.Name);
}

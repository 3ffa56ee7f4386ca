#include "controls/MUVFontComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace
{

// Windows fonts and the metric-compatible fonts fontconfig puts in their place.
struct Alias {
    const char *windowsName;
    const char *standIn;
};
constexpr Alias kAliases[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Calibri", "Carlito"},
    {"Cambria", "Caladea"},
};

// Name on the left, a sample in the entry's font (navy) on the right, a
// vertical line between them; the name column holds the longest name.
class FontItemDelegate : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int nameWidth = 0; // 0: half the row

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QString name = index.data(Qt::DisplayRole).toString();
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        const QRect r = option.rect;
        const int half = nameWidth > 0 ? std::min(nameWidth, r.width() / 2 + r.width() / 4) : r.width() / 2;
        p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        p->setFont(option.font);
        p->drawText(r.adjusted(3, 0, -(r.width() - half), 0), Qt::AlignVCenter | Qt::AlignLeft, name);
        p->setPen(option.palette.color(QPalette::Mid));
        p->drawLine(r.left() + half, r.top(), r.left() + half, r.bottom());
        QFont sample(name);
        sample.setPixelSize(std::max(8, r.height() - 4));
        p->setFont(sample);
        p->setPen(selected ? option.palette.color(QPalette::HighlightedText) : QColor(0, 0, 128));
        p->drawText(r.adjusted(half + 4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, name);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(std::max(s.height(), 20));
        return s;
    }
};

} // namespace

TMUVFontComboBox::TMUVFontComboBox(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new FontItemDelegate(this));
    setMaxVisibleItems(16);
    Reload();
    connect(this, &QComboBox::activated, this, [this](int) { emit SelectionChange(currentText()); });
}

QStringList TMUVFontComboBox::AvailableFonts()
{
    QStringList names;
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        if (family.startsWith(QLatin1Char('@')) || QFontDatabase::isPrivateFamily(family))
            continue;
        if (!QFontDatabase::isScalable(family))
            continue;
        // A family installed by several foundries comes as "C059 [urw]" and
        // "C059 [UKWN]": one entry under its plain name, which finds either.
        QString name = family;
        if (const qsizetype bracket = name.indexOf(QStringLiteral(" [")); bracket > 0 && name.endsWith(']'))
            name.truncate(bracket);
        names << name;
    }
    for (const Alias &a : kAliases) {
        const QString standIn = QString::fromLatin1(a.standIn);
        const QString windows = QString::fromLatin1(a.windowsName);
        if (names.contains(standIn) && !names.contains(windows) &&
            QFontInfo(QFont(windows)).family() == standIn)
            names << windows;
    }
    std::sort(names.begin(), names.end(),
              [](const QString &x, const QString &y) { return x.compare(y, Qt::CaseInsensitive) < 0; });
    names.removeDuplicates();
    return names;
}

void TMUVFontComboBox::Reload()
{
    const QString keep = currentText();
    blockSignals(true);
    clear();
    const QStringList names = AvailableFonts();
    addItems(names);
    blockSignals(false);
    // The list opens wide enough for every name and a sample beside it.
    const QFontMetrics fm(view()->font());
    int widest = 0;
    for (const QString &name : names)
        widest = std::max(widest, fm.horizontalAdvance(name));
    const int nameWidth = widest + 12;
    static_cast<FontItemDelegate *>(itemDelegate())->nameWidth = nameWidth;
    view()->setMinimumWidth(nameWidth + std::max(nameWidth * 3 / 2, 160) +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * view()->frameWidth());
    if (!keep.isEmpty())
        SetSelectedName(keep);
}

void TMUVFontComboBox::SetSelectedName(const QString &name)
{
    int i = findText(name, Qt::MatchFixedString);
    if (i < 0)
        i = 0;
    setCurrentIndex(i);
}

bool TMUVFontComboBox::event(QEvent *event)
{
    // The application hears of newly installed or removed fonts.
    if (event->type() == QEvent::ApplicationFontChange)
        Reload();
    return QComboBox::event(event);
}

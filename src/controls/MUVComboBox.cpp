#include "controls/MUVComboBox.h"

#include "controls/MUVLabel.h"
#include "controls/glyphs_boxes/box_glyphs.h"

#include <QAbstractItemView>
#include <QEnterEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace
{
constexpr TColor kBtnShadow = TColor(0x80000010);
constexpr int kItemHeight = 16;
constexpr int kButtonWidth = 20;

QColor Q(TColor c)
{
    return canvas::ToQColor(c);
}

// Draws the entries of the dropped list through the control's own painting.
class ComboDelegate : public QStyledItemDelegate
{
  public:
    explicit ComboDelegate(TMUVComboBox *combo) : QStyledItemDelegate(combo), combo_(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool highlighted = (option.state & QStyle::State_Selected) != 0;
        combo_->PaintItem(*painter, option.rect, index.row(), highlighted, false);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QFontMetrics fm(combo_->font());
        int w = fm.horizontalAdvance(index.data().toString()) + 8;
        const QPixmap pm = combo_->ItemImage(index.row());
        if (!pm.isNull())
            w += int(pm.width() / pm.devicePixelRatio()) + 6;
        Q_UNUSED(option);
        return QSize(w, qMax(kItemHeight, fm.height() + 1));
    }

  private:
    TMUVComboBox *combo_;
};

bool IsNetworkPath(const QString &path)
{
    return path.startsWith(QLatin1Char('\\')) || path.startsWith(QLatin1String("//"));
}
} // namespace

TMUVComboBox::TMUVComboBox(QWidget *parent) : QComboBox(parent)
{
    resize(200, 24);
    setItemDelegate(new ComboDelegate(this));
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    ApplyDroppedWidth();
    view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view()->viewport()->installEventFilter(this);

    auto *m = model();
    connect(m, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { UpdateSeparatorFlags(first, last); });
    connect(m, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                UpdateSeparatorFlags(from.row(), to.row());
            });
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        // The bare "-" is no choice: it stands for "nothing selected".
        if (index >= 0 && IsBareSeparator(itemText(index)))
            setCurrentIndex(-1);
    });
}

void TMUVComboBox::UpdateSeparatorFlags(int first, int last)
{
    auto *m = qobject_cast<QStandardItemModel *>(model());
    if (!m || updatingFlags_)
        return;
    updatingFlags_ = true;
    for (int row = qMax(0, first); row <= last && row < m->rowCount(); ++row) {
        QStandardItem *item = m->item(row);
        if (!item)
            continue;
        const bool bare = IsBareSeparator(item->text());
        Qt::ItemFlags flags = item->flags();
        // Disabled rows are passed over by the cursor keys, the wheel and
        // the list's own keyboard navigation.
        if (bare)
            flags &= ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        else
            flags |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (flags != item->flags())
            item->setFlags(flags);
    }
    updatingFlags_ = false;
    if (currentIndex() >= first && currentIndex() <= last && IsBareSeparator(currentText()))
        setCurrentIndex(-1);
}

void TMUVComboBox::ApplyDroppedWidth()
{
    view()->setMinimumWidth(qMax(droppedWidth_, width()));
}

void TMUVComboBox::SetDroppedWidth(int w)
{
    droppedWidth_ = qMax(32, w);
    ApplyDroppedWidth();
}

#define MUV_COMBO_SETTER(Name, Type, member)                                                                 \
    void TMUVComboBox::Set##Name(Type v)                                                                     \
    {                                                                                                        \
        member = v;                                                                                          \
        update();                                                                                            \
        view()->viewport()->update();                                                                        \
    }
MUV_COMBO_SETTER(ColorHighLightFrame, TColor, colorHighLightFrame_)
MUV_COMBO_SETTER(ColorFrame, TColor, colorFrame_)
MUV_COMBO_SETTER(ColorHighLightBKG, TColor, colorHighLightBkg_)
MUV_COMBO_SETTER(ColorHighLightText, TColor, colorHighLightText_)
MUV_COMBO_SETTER(AllwaysBorder, bool, allwaysBorder_)
MUV_COMBO_SETTER(NoChooseText, const QString &, noChooseText_)
MUV_COMBO_SETTER(ChooseTextBold, bool, chooseTextBold_)
MUV_COMBO_SETTER(ItemsAsPath, bool, itemsAsPath_)
MUV_COMBO_SETTER(SeperatorLineStyle, Qt::PenStyle, separatorLineStyle_)
MUV_COMBO_SETTER(ButtonStyleOld, bool, buttonStyleOld_)
MUV_COMBO_SETTER(ImageList, const QList<QPixmap> &, imageList_)
MUV_COMBO_SETTER(EditImage, const QPixmap &, editImage_)
#undef MUV_COMBO_SETTER

void TMUVComboBox::SetPopUpMenu(QMenu *menu)
{
    popupMenu_ = menu;
}

QPixmap TMUVComboBox::ItemImage(int index) const
{
    if (imageList_.isEmpty() || index < 0 || index >= count())
        return QPixmap();
    const int pic = itemsAsPath_ ? (IsNetworkPath(itemText(index)) ? 1 : 0) : index;
    return pic < imageList_.size() ? imageList_[pic] : QPixmap();
}

QRect TMUVComboBox::ButtonRect() const
{
    return QRect(width() - 1 - kButtonWidth, 1, kButtonWidth, height() - 2);
}

QRect TMUVComboBox::EditRect() const
{
    return QRect(2, 2, width() - kButtonWidth - 4, height() - 4);
}

QSize TMUVComboBox::sizeHint() const
{
    return QSize(200, 24);
}

QSize TMUVComboBox::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(kButtonWidth + 16, qMax(kItemHeight + 4, fm.height() + 4));
}

void TMUVComboBox::PaintItem(QPainter &p, const QRect &r, int index, bool highlighted, bool editArea) const
{
    p.save();
    p.setClipRect(r);
    const QString text = itemText(index);
    const QColor base = palette().color(QPalette::Base);
    QFont f = font();
    if (editArea && chooseTextBold_)
        f.setBold(true);
    p.setFont(f);
    const QFontMetrics fm(f);

    if (IsSeparator(text)) {
        // Never highlighted: a line through the middle with its title.
        p.fillRect(r, base);
        const int y = r.top() + r.height() / 2;
        const QColor line = Q(kBtnShadow);
        if (separatorLineStyle_ == Qt::DotLine) {
            for (int x = r.left(); x <= r.right(); x += 2)
                p.fillRect(x, y, 1, 1, line);
        } else if (separatorLineStyle_ != Qt::NoPen) {
            p.fillRect(r.left(), y, r.width(), 1, line);
        }
        const QString title = text.mid(1);
        if (!title.isEmpty()) {
            const int tw = fm.horizontalAdvance(title);
            const QRect tr(r.right() - 4 - tw, r.top(), tw, r.height());
            p.fillRect(tr.adjusted(-3, 0, 2, 0), base);
            p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
            p.drawText(tr.adjusted(0, 0, 1, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                       title);
        }
        p.restore();
        return;
    }

    p.fillRect(r, highlighted ? Q(colorHighLightBkg_) : base);
    const QColor textColour = !isEnabled()
                                  ? palette().color(QPalette::Disabled, QPalette::Text)
                                  : (highlighted ? Q(colorHighLightText_) : palette().color(QPalette::Text));
    p.setPen(textColour);

    int x = r.left() + 2;
    const QPixmap pm = editArea && !editImage_.isNull() ? editImage_ : ItemImage(index);
    if (!pm.isNull()) {
        const QSize ps = (QSizeF(pm.size()) / pm.devicePixelRatio()).toSize();
        p.drawPixmap(x, r.top() + (r.height() - ps.height()) / 2, pm);
        x += ps.width() + 4;
    }
    const QRect tr(x, r.top(), r.right() - x - 1, r.height());
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;

    if (itemsAsPath_) {
        QFont headFont = f, lastFont = f;
        lastFont.setBold(true);
        const bool missing = !QFileInfo(text).isDir();
        headFont.setStrikeOut(missing);
        lastFont.setStrikeOut(missing);
        const muvtext::PathParts parts =
            muvtext::ShortenPathParts(text, QFontMetrics(headFont), QFontMetrics(lastFont), tr.width());
        p.setFont(headFont);
        p.drawText(tr, flags | Qt::AlignLeft, parts.head);
        p.setFont(lastFont);
        p.drawText(tr.adjusted(QFontMetrics(headFont).horizontalAdvance(parts.head), 0, 0, 0),
                   flags | Qt::AlignLeft, parts.last);
    } else if (const qsizetype split = text.indexOf(QLatin1String("||")); split >= 0) {
        const QString right = text.mid(split + 2);
        const int rw = fm.horizontalAdvance(right);
        const QRect rightRect(r.right() - 4 - rw, r.top(), rw + 1, r.height());
        p.drawText(rightRect, flags | Qt::AlignLeft, right);
        p.drawText(QRect(x, r.top(), qMax(0, rightRect.left() - 4 - x), r.height()), flags | Qt::AlignLeft,
                   muvtext::ShortenCaption(text.left(split), fm, qMax(0, rightRect.left() - 4 - x)));
    } else {
        p.drawText(tr, flags | Qt::AlignLeft, text);
    }
    p.restore();
}

void TMUVComboBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().color(QPalette::Base));

    // The selected entry; with the focus it is shown highlighted, so that
    // keyboard users see where their keys go.
    const QRect edit = EditRect();
    const bool focusHighlight = hasFocus() && !view()->isVisible();
    const int index = currentIndex();
    if (index >= 0) {
        PaintItem(p, edit, index, focusHighlight, true);
    } else {
        if (focusHighlight)
            p.fillRect(edit, Q(colorHighLightBkg_));
        int x = edit.left() + 2;
        if (!editImage_.isNull()) {
            p.drawPixmap(x,
                         edit.top() +
                             (edit.height() - int(editImage_.height() / editImage_.devicePixelRatio())) / 2,
                         editImage_);
            x += int(editImage_.width() / editImage_.devicePixelRatio()) + 4;
        }
        p.setPen(focusHighlight ? Q(colorHighLightText_) : QColor(0x80, 0x80, 0x80));
        p.drawText(QRect(x, edit.top(), edit.right() - x, edit.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, noChooseText_);
    }

    // The button.
    const QRect button = ButtonRect();
    const qreal dpr = devicePixelRatioF();
    if (buttonStyleOld_) {
        p.drawPixmap(button.topLeft() + QPoint(button.width() - 17, 0),
                     box_glyphs::GlyphSized(QStringLiteral("combobtn3d"), QSize(17, button.height()), dpr));
    } else {
        const QColor arrowColour =
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
        const QPixmap arrow = box_glyphs::TintedGlyph(QStringLiteral("combo_arrow"), arrowColour, dpr);
        const QSize as = (QSizeF(arrow.size()) / arrow.devicePixelRatio()).toSize();
        p.drawPixmap(button.left() + (button.width() - as.width()) / 2,
                     button.top() + (button.height() - as.height()) / 2, arrow);
    }

    // The frame: blue under the mouse, ColorFrame when always wanted, else a
    // quiet line so the field stays visible on the dialog.
    QColor frame = palette().color(QPalette::Mid);
    if (isEnabled() && underMouse())
        frame = Q(colorHighLightFrame_);
    else if (allwaysBorder_)
        frame = Q(colorFrame_);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void TMUVComboBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton && popupMenu_) {
        popupMenu_->popup(event->globalPosition().toPoint());
        return;
    }
    QComboBox::mouseReleaseEvent(event);
}

void TMUVComboBox::enterEvent(QEnterEvent *event)
{
    QComboBox::enterEvent(event);
    update();
}

void TMUVComboBox::leaveEvent(QEvent *event)
{
    QComboBox::leaveEvent(event);
    update();
}

void TMUVComboBox::showPopup()
{
    ApplyDroppedWidth();
    QComboBox::showPopup();
    PlacePopupBelow();
    disconnect(highlightConnection_);
    if (QItemSelectionModel *sel = view()->selectionModel()) {
        highlightConnection_ =
            connect(sel, &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
                if (view()->isVisible() && current.isValid())
                    emit OnDrawHighlightedItem(this, current.row());
            });
    }
    if (view()->currentIndex().isValid())
        emit OnDrawHighlightedItem(this, view()->currentIndex().row());
    update();
}

void TMUVComboBox::PlacePopupBelow()
{
    // Some styles lay the list over the control; ours drops below it (above
    // when the screen ends), as wide as DroppedWidth.
    QWidget *popup = view()->window();
    if (!popup || popup == window() || !popup->isVisible())
        return;
    QRect r(mapToGlobal(QPoint(0, height())), QSize(qMax(droppedWidth_, width()), popup->height()));
    if (QScreen *s = screen()) {
        const QRect avail = s->availableGeometry();
        if (r.bottom() > avail.bottom())
            r.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
        if (r.right() > avail.right())
            r.moveRight(avail.right());
        if (r.left() < avail.left())
            r.moveLeft(avail.left());
        if (r.top() < avail.top())
            r.moveTop(avail.top());
    }
    popup->setGeometry(r);
}

void TMUVComboBox::hidePopup()
{
    disconnect(highlightConnection_);
    QComboBox::hidePopup();
    update();
}

bool TMUVComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto *me = static_cast<QMouseEvent *>(event);
        const QModelIndex at = view()->indexAt(me->position().toPoint());
        if (me->button() == Qt::LeftButton && at.isValid() && IsBareSeparator(at.data().toString())) {
            // Choosing the bare separator clears the selection.
            hidePopup();
            setCurrentIndex(-1);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

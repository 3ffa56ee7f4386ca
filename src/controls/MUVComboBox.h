#pragma once
// TMUVComboBox: the flat drop-down list of the dialogs. Its entries are
// drawn by the control: an entry beginning with "-" is a separator line with
// an optional title (the text after the "-"), "links||rechts" puts two texts
// at the left and right edge, entries can be folder paths (shortened, the
// last folder bold, struck out when it is missing) and carry pictures.
// The bare entry "-" can never be selected: choosing it with the mouse
// clears the selection, and the cursor keys and the wheel pass over it.

#include "canvas/tcolor.h"

#include <QComboBox>
#include <QList>
#include <QPixmap>
#include <QPointer>

#include <QMenu>
class QStyleOptionViewItem;

class TMUVComboBox : public QComboBox
{
    Q_OBJECT
  public:
    explicit TMUVComboBox(QWidget *parent = nullptr);

    // Width of the dropped list (at least 32, and never below the control).
    int DroppedWidth() const { return droppedWidth_; }
    void SetDroppedWidth(int w);
    TColor ColorHighLightFrame() const { return colorHighLightFrame_; }
    void SetColorHighLightFrame(TColor c);
    TColor ColorFrame() const { return colorFrame_; }
    void SetColorFrame(TColor c);
    TColor ColorHighLightBKG() const { return colorHighLightBkg_; }
    void SetColorHighLightBKG(TColor c);
    TColor ColorHighLightText() const { return colorHighLightText_; }
    void SetColorHighLightText(TColor c);
    // A frame in ColorFrame also when the mouse is elsewhere.
    bool AllwaysBorder() const { return allwaysBorder_; }
    void SetAllwaysBorder(bool on);
    // Shown in grey while nothing is selected.
    QString NoChooseText() const { return noChooseText_; }
    void SetNoChooseText(const QString &text);
    bool ChooseTextBold() const { return chooseTextBold_; }
    void SetChooseTextBold(bool bold);
    bool ItemsAsPath() const { return itemsAsPath_; }
    void SetItemsAsPath(bool on);
    // Qt::SolidLine, or Qt::DotLine for lines of single dots.
    Qt::PenStyle SeperatorLineStyle() const { return separatorLineStyle_; }
    void SetSeperatorLineStyle(Qt::PenStyle style);
    // false: the flat arrow; true: the raised button picture.
    bool ButtonStyleOld() const { return buttonStyleOld_; }
    void SetButtonStyleOld(bool old);
    // Picture i belongs to entry i; with ItemsAsPath picture 1 stands
    // before network paths ("\\server", "//server") and picture 0 before
    // all others.
    QList<QPixmap> ImageList() const { return imageList_; }
    void SetImageList(const QList<QPixmap> &images);
    // Shown before the selected text in the closed control.
    QPixmap EditImage() const { return editImage_; }
    void SetEditImage(const QPixmap &image);
    // Opened at the mouse by a right-button release.
    QMenu *PopUpMenu() const { return popupMenu_; }
    void SetPopUpMenu(QMenu *menu);

    static bool IsSeparator(const QString &text) { return text.startsWith(QLatin1Char('-')); }
    static bool IsBareSeparator(const QString &text) { return text == QLatin1String("-"); }
    // The picture of entry index (null when there is none).
    QPixmap ItemImage(int index) const;

    // Draws entry index into r as the list and the closed control show it.
    void PaintItem(QPainter &p, const QRect &r, int index, bool highlighted, bool editArea) const;
    // The part of the control the selected entry is drawn into.
    QRect EditRect() const;
    // The button area at the right.
    QRect ButtonRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;
    void hidePopup() override;

  signals:
    // While the list is dropped down: the entry under the highlight changed.
    void OnDrawHighlightedItem(QObject *sender, int index);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void UpdateSeparatorFlags(int first, int last);
    void ApplyDroppedWidth();
    void PlacePopupBelow();

    int droppedWidth_ = 200;
    TColor colorHighLightFrame_ = clBlue;
    TColor colorFrame_ = TColor(0x80000006);         // window frame
    TColor colorHighLightBkg_ = TColor(0x8000000D);  // highlight
    TColor colorHighLightText_ = TColor(0x8000000E); // highlight text
    bool allwaysBorder_ = false;
    QString noChooseText_;
    bool chooseTextBold_ = false;
    bool itemsAsPath_ = false;
    Qt::PenStyle separatorLineStyle_ = Qt::SolidLine;
    bool buttonStyleOld_ = false;
    QList<QPixmap> imageList_;
    QPixmap editImage_;
    QPointer<QMenu> popupMenu_;
    bool updatingFlags_ = false;
    QMetaObject::Connection highlightConnection_;
};

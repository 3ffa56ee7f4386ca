#pragma once
// TMUVWebColorBox: a drop-down list of the named colours (system colours,
// CSS names, RAL colours), each row with a colour square and its name.

#include "canvas/colours.h"

#include <QComboBox>

class TMUVWebColorBox : public QComboBox
{
    Q_OBJECT
  public:
    explicit TMUVWebColorBox(QWidget *parent = nullptr);

    // The colour value of the selected entry (0 if none); remembered as the
    // last chosen colour.
    canvas::TColor SelectedColor();
    canvas::TColor LastColor() const { return lastColor_; }
    // Lowest index with that colour, or -1 (the earlier of equal entries wins).
    int IndexOfColor(canvas::TColor c);
    // Six hex digits RRGGBB (optional "#") as an HTML value; -1 when invalid.
    static qint64 HexToColor(const QString &text);

    const std::vector<colours::TNamedColor> &Entries() const { return entries_; }

    canvas::TColor ColorHighLightFrame() const { return highLightFrame_; }
    void SetColorHighLightFrame(canvas::TColor c);
    canvas::TColor ColorHighLightBKG() const { return highLightBkg_; }
    void SetColorHighLightBKG(canvas::TColor c);
    canvas::TColor ColorHighLightText() const { return highLightText_; }
    void SetColorHighLightText(canvas::TColor c);
    bool AllwaysBorder() const { return allwaysBorder_; }
    void SetAllwaysBorder(bool on);
    QString NoSelectionText() const { return noSelectionText_; }
    void SetNoSelectionText(const QString &t);
    bool ShowColorBoxInEdit() const { return showColorBoxInEdit_; }
    void SetShowColorBoxInEdit(bool on);
    int DroppedWidth() const { return droppedWidth_; }
    void SetDroppedWidth(int px);
    bool Hovered() const { return hover_; }

    // Rebuilds the list (system colours take their current values).
    void BuildList();

    static constexpr int kButtonWidth = 20;
    static constexpr int kItemHeight = 16;

    void showPopup() override;

  signals:
    void OnClick(); // an entry was chosen by the user

  protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    std::vector<colours::TNamedColor> entries_;
    canvas::TColor highLightFrame_ = 0xFF0000;
    canvas::TColor highLightBkg_ = canvas::SystemColor(13);
    canvas::TColor highLightText_ = canvas::SystemColor(14);
    bool allwaysBorder_ = false;
    QString noSelectionText_ = QStringLiteral("WEB-Farben");
    bool showColorBoxInEdit_ = false;
    int droppedWidth_ = 200;
    canvas::TColor lastColor_ = canvas::clWhite;
    bool hover_ = false;
};

// The drop-down arrow of the program's combo boxes: a small filled triangle
// with a bar above it, at the right end of the control.
void PaintComboArrow(class QPainter &p, const QRect &control, const QColor &colour);
// Lets the list drop down below the box with its maximum number of rows.
void UseDropDownList(QComboBox *box);
// The frame of the edit area.
void PaintComboFrame(QPainter &p, const QRect &control, const QColor &outer, bool innerWhite);

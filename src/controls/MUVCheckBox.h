#pragma once
// TMUVCheckBox: the flat check box of the dialogs. A drawn box (a hook or a
// dot) with its caption, optionally at the right-hand side; check boxes of
// one parent that share a GroupIndex other than 0 behave as radio buttons.
// It takes the focus with Tab and toggles with Space like any check box.

#include "canvas/tcolor.h"

#include <QCheckBox>

enum TMUVCheckBoxStyle { cs_Hook, cs_Dot };

class TMUVCheckBox : public QCheckBox
{
    Q_OBJECT
  public:
    explicit TMUVCheckBox(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString &caption);
    bool Checked() const { return isChecked(); }
    // Sets the state without the group rule and without OnChange.
    void SetChecked(bool checked);
    TMUVCheckBoxStyle Style() const { return style_; }
    void SetStyle(TMUVCheckBoxStyle style);
    // Box at the right, caption right-aligned before it.
    bool RightHand() const { return rightHand_; }
    void SetRightHand(bool right);
    // Caption colour while the mouse button is held.
    TColor HookColor() const { return hookColor_; }
    void SetHookColor(TColor c);
    bool BackgroundOpak() const { return backgroundOpak_; }
    void SetBackgroundOpak(bool opak);
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor c);
    // 0: an independent check box; otherwise clicking checks this box and
    // unchecks every sibling of the same group.
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int group);

    // The box picture for the current state, style and enabled state.
    QPixmap BoxPicture() const;
    // Where the box and the caption stand (logical pixels).
    QRect BoxRect() const;
    QPoint CaptionPos() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // After every click (also a click on a checked box of a group, and
    // Space), once the new state is set.
    void OnChange(QObject *sender);
    void OnMouseEnter(QObject *sender);
    void OnMouseExit(QObject *sender);

  protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;
    void checkStateSet() override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    TMUVCheckBoxStyle style_ = cs_Hook;
    bool rightHand_ = false;
    TColor hookColor_ = clBlue;
    bool backgroundOpak_ = false;
    TColor backgroundColor_ = TColor(0x8000000F); // button face
    int groupIndex_ = 0;
};

#pragma once
// TMUVButton: the program's flat button. It shows a glyph in grey until the
// mouse comes over it, then in colour on a highlighted face with a raised
// edge; it can stay down as a toggle, form exclusive groups with its
// siblings, open a popup menu instead of clicking, hand a document or
// address to the desktop, and repeat OnMouseHold while it is held.
//
// It is a QAbstractButton, so it takes the keyboard focus with Tab, clicks
// with Space or Enter, and tells assistive tools its caption (or the short
// part of its hint) as its name.

#include "canvas/tcolor.h"

#include <QAbstractButton>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QRect>

class QTimer;

// Where the caption stands relative to the glyph.
enum TTextPosition { tp_none, tp_left, tp_right, tp_bottom, tp_top, tp_center, tp_Strikt_L, tp_Strikt_R };
// The frame drawn while hovered or down.
enum TButtonStyle { bs_rectangle, bs_breakedrect, bs_architectural, bs_circle, bs_none, bs_rectHollow };
// typ_execute hands Button_Execute to the desktop instead of clicking.
enum TButtonTyp { typ_normal, typ_execute };

// Where glyph and caption go in a button of a given size.
struct TMUVButtonLayout {
    QRect glyph; // empty size when there is no glyph
    QRect text;  // empty when no caption is shown
};

class TMUVButton : public QAbstractButton
{
    Q_OBJECT
  public:
    explicit TMUVButton(QWidget *parent = nullptr);
    // A button with a caption and (optionally) a glyph from the program's
    // glyph set (see MUVButtonGlyphs.h), e.g. TMUVButton("OK", "ok", parent).
    TMUVButton(const QString &caption, const QString &glyphName, QWidget *parent = nullptr);
    ~TMUVButton() override;

    // ---- appearance
    QString Caption() const { return text(); }
    void SetCaption(const QString &caption);
    TTextPosition CaptionPosition() const { return captionPosition_; }
    void SetCaptionPosition(TTextPosition pos);
    // The pixel colour at the glyph's bottom-left corner is transparent;
    // images with an alpha channel keep their transparency as well.
    const QImage &Glyph() const { return glyph_; }
    void SetGlyph(const QImage &glyph);
    // A glyph of the program's set, rendered at size x size pixels.
    void SetGlyphName(const QString &name, int size = 24);
    // The copies shown when not hovered and when disabled.
    const QImage &GreyGlyph() const { return grey_; }
    const QImage &DisabledGlyph() const { return disabled_; }
    int Margin() const { return margin_; }
    void SetMargin(int m);
    TButtonStyle Edgestyle() const { return edgestyle_; }
    void SetEdgestyle(TButtonStyle s);

    TColor ColorHighlight() const { return colorHighlight_; }
    void SetColorHighlight(TColor c);
    TColor ColorEdgeLight() const { return colorEdgeLight_; }
    void SetColorEdgeLight(TColor c);
    TColor ColorEdgeShadow() const { return colorEdgeShadow_; }
    void SetColorEdgeShadow(TColor c);
    TColor ColorHighlightText() const { return colorHighlightText_; }
    void SetColorHighlightText(TColor c);
    bool SpezialFrame() const { return spezialFrame_; }
    void SetSpezialFrame(bool on);
    TColor ColorSpezialFrame() const { return colorSpezialFrame_; }
    void SetColorSpezialFrame(TColor c);
    bool ShowAllwaysSimpleBorder() const { return showAllwaysSimpleBorder_; }
    void SetShowAllwaysSimpleBorder(bool on);
    TColor ColorAllwaysBorder() const { return colorAllwaysBorder_; }
    void SetColorAllwaysBorder(TColor c);
    bool ShowAllwaysColor() const { return showAllwaysColor_; }
    void SetShowAllwaysColor(bool on);
    bool ShowBackgroundColor() const { return showBackgroundColor_; }
    void SetShowBackgroundColor(bool on);
    TColor ColorBackground() const { return colorBackground_; }
    void SetColorBackground(TColor c);
    TColor ColorDownBackGround() const { return colorDownBackGround_; }
    void SetColorDownBackGround(TColor c);
    TColor ColorButtonDownText() const { return colorButtonDownText_; }
    void SetColorButtonDownText(TColor c);
    bool SimpleAnimation() const { return simpleAnimation_; }
    void SetSimpleAnimation(bool on);

    // ---- behaviour
    // The toggle state. (isDown() stays Qt's "mouse button held" state.)
    bool Down() const { return down_; }
    // Setting a button down releases the other buttons of its group.
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    // In a group, a click on the button that is down releases it (else one
    // button of the group always stays down).
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool on);
    // true: a push button that never stays down; false: a toggle button.
    bool NormalFlat() const { return normalFlat_; }
    void SetNormalFlat(bool on);
    TButtonTyp Buttontyp() const { return buttontyp_; }
    void SetButtontyp(TButtonTyp t);
    QString Button_Execute() const { return buttonExecute_; }
    void SetButton_Execute(const QString &target);
    // A click opens this menu at the mouse instead of clicking; not owned.
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu);
    // "short|long": the tool tip shows the short part, the status bar the
    // long one; without "|" both are the whole text. Line breaks "\r\n" are
    // allowed.
    QString Hint() const { return hint_; }
    void SetHint(const QString &hint);
    // Pause between two OnMouseHold while the button is held (ms).
    int HoldInterval() const { return holdInterval_; }
    void SetHoldInterval(int ms);

    bool Hovered() const { return hovered_; }

    // Where glyph and caption go (integer pixel rules; gw = gh = 0 without
    // a glyph, tw = th = 0 without a caption).
    static TMUVButtonLayout ComputeLayout(TTextPosition pos, QSize control, QSize textSize, QSize glyphSize,
                                          int margin);
    TMUVButtonLayout CurrentLayout() const;

    // The grey and disabled copies of a glyph (key pixels unchanged).
    static QImage MakeGreyGlyph(const QImage &glyph);
    static QImage MakeDisabledGlyph(const QImage &glyph);
    // The pattern behind a pressed button, shared by all buttons while any
    // exists: 640 x 64, a checkerboard of grey 255 and 208 with the two top
    // rows and two left columns blended halfway toward 218.
    static const QImage &PressedPattern();
    static int LiveButtons();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void OnClick();
    // A click with the Ctrl key held when the mouse button was released.
    void OnSTRGClick();
    void OnMouseIn();
    void OnMouseOut();
    // Once at the press and then every HoldInterval while the button is
    // held; only when something is connected.
    void OnMouseHold();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void nextCheckState() override;
    bool hitButton(const QPoint &pos) const override;

  private:
    void Init();
    void HandleClick();
    void ApplyGroupRule();
    void SyncChecked();
    void UpdateAccessibleName();
    void StopHold();
    void Changed();

    // drawing (MUVButtonPaint.cpp)
    void PaintFace(QPainter &p, const QRect &r, bool pressedLook) const;
    void PaintEdge(QPainter &p, bool sunken) const;
    void PaintText(QPainter &p, const QRect &r, const QColor &color) const;
    void PaintGlyph(QPainter &p, const QImage &img, QPoint at) const;
    static QImage KeyedOut(const QImage &img);

    QString hint_;
    TTextPosition captionPosition_ = tp_top;
    QImage glyph_;
    QImage grey_;
    QImage disabled_;
    // The three pictures as drawn, with the key colour transparent.
    QImage shownColour_;
    QImage shownGrey_;
    QImage shownDisabled_;
    int margin_ = 4;
    TButtonStyle edgestyle_ = bs_rectangle;
    TColor colorHighlight_;
    TColor colorEdgeLight_;
    TColor colorEdgeShadow_;
    TColor colorHighlightText_;
    bool spezialFrame_ = true;
    TColor colorSpezialFrame_;
    bool showAllwaysSimpleBorder_ = false;
    TColor colorAllwaysBorder_;
    bool showAllwaysColor_ = false;
    bool showBackgroundColor_ = false;
    TColor colorBackground_;
    TColor colorDownBackGround_;
    TColor colorButtonDownText_;
    bool simpleAnimation_ = true;

    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool normalFlat_ = true;
    TButtonTyp buttontyp_ = typ_normal;
    QString buttonExecute_;
    QPointer<QMenu> popupMenu_;
    int holdInterval_ = 80;

    bool hovered_ = false;
    bool ctrlAtRelease_ = false;
    bool byKeyboard_ = false;
    QTimer *holdTimer_ = nullptr;
};

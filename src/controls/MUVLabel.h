#pragma once
// TMUVLabel: the label of the dialogs. Besides plain text it shows file
// paths shortened to fit, links that open with the desktop's opener,
// entries that light up under the mouse, glowing, raised and lowered text,
// bevels and single border lines.

#include "canvas/tcolor.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class QFontMetrics;

enum TMUVLabelTyp {
    ltnormal,
    ltfile,
    lthyperlink,
    lthoover,
    ltglow,
    ltraised,
    ltlowered,
    ltshadowed,
    ltprinter
};
enum TMUVLabelLayout {
    lylefttop,
    lycentertop,
    lyrighttop,
    lycenter,
    lycenterbottom,
    lycenterleft,
    lycenterright
};
enum TMUVLabelBevel { bfnone, bfraised, bflowered, bfsingle };
enum TMUVLabelBorder { blbl_Left = 1, blbl_top = 2, blbl_right = 4, blbl_bottom = 8 };

namespace muvtext
{
// text itself when it fits into maxWidth; else its longest prefix of at
// least two characters that fits together with "...", followed by "...".
QString ShortenCaption(const QString &text, const QFontMetrics &fm, int maxWidth);
// A folder or file path shortened to fit: folders after the first element
// give way to "..." from the left ("/home/.../Ordner/Datei"), then the
// beginning goes (".../Datei"), and at last the name itself is cut.
QString ShortenPath(const QString &path, const QFontMetrics &fm, int maxWidth);
// The same, as the part up to and including the last separator and the last
// element, measured with headFm and lastFm (a bold last element).
struct PathParts {
    QString head;
    QString last;
};
PathParts ShortenPathParts(const QString &path, const QFontMetrics &headFm, const QFontMetrics &lastFm,
                           int maxWidth);
} // namespace muvtext

class TMUVLabel : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVLabel(QWidget *parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    // Shown in grey while the caption is empty.
    QString NoChooseCaption() const { return noChooseCaption_; }
    void SetNoChooseCaption(const QString &text);
    TMUVLabelTyp LabelTyp() const { return typ_; }
    // lthyperlink makes the font blue and underlined.
    void SetLabelTyp(TMUVLabelTyp typ);
    TMUVLabelLayout LabelLayout() const { return layout_; }
    void SetLabelLayout(TMUVLabelLayout layout);
    TMUVLabelBevel LabelBevel() const { return bevel_; }
    void SetLabelBevel(TMUVLabelBevel bevel);
    // What a click on a link label opens ("mailto:…", "https://…", a file).
    QString LabelExecute() const { return execute_; }
    void SetLabelExecute(const QString &target);
    // Or-ed TMUVLabelBorder values.
    int Borders() const { return borders_; }
    void SetBorders(int borders);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TColor ColorHoover() const { return colorHoover_; }
    void SetColorHoover(TColor c);
    TColor ColorHooverText() const { return colorHooverText_; }
    void SetColorHooverText(TColor c);
    TColor ColorGlow() const { return colorGlow_; }
    void SetColorGlow(TColor c);
    TColor ColorSingleBorder() const { return colorSingleBorder_; }
    void SetColorSingleBorder(TColor c);
    TColor ColorEllipsesLine() const { return colorEllipsesLine_; }
    void SetColorEllipsesLine(TColor c);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor c);
    int CaptionMarginTop() const { return captionMarginTop_; }
    void SetCaptionMarginTop(int px);
    bool ShowEllipses() const { return showEllipses_; }
    void SetShowEllipses(bool show);
    QPixmap Glyph() const { return glyph_; }
    void SetGlyph(const QPixmap &glyph);
    // The label's own font and its colour (the text colour when not hovered).
    QFont Font() const { return font(); }
    void SetFont(const QFont &f);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c);

    bool Hovered() const { return hovered_; }
    // The text as it is drawn now (shortened, or NoChooseCaption).
    QString DisplayedText() const;
    // Where the text block starts (logical pixels).
    QRect TextRect() const;

    QSize sizeHint() const override;

  signals:
    void OnClick(QObject *sender);
    void OnMouseEnter(QObject *sender);
    void OnMouseLeave(QObject *sender);
    // The caption changed while the label was visible.
    void OnChange(QObject *sender);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    bool IsEffectTyp() const { return typ_ == ltglow || typ_ == ltraised || typ_ == ltlowered; }
    int AvailableTextWidth() const;
    QColor TextColour() const;
    QImage EffectImage(const QString &text) const;
    void Activate();

    QString caption_;
    QString noChooseCaption_;
    TMUVLabelTyp typ_ = ltnormal;
    TMUVLabelLayout layout_ = lycenterleft;
    TMUVLabelBevel bevel_ = bfnone;
    QString execute_;
    int borders_ = 0;
    TColor color_ = clNone;
    TColor colorHoover_ = clSilver;
    TColor colorHooverText_ = TColor(0x80000008); // window text
    TColor colorGlow_ = RGBToTColor(255, 255, 192);
    TColor colorSingleBorder_ = TColor(0x80000010); // button shadow
    TColor colorEllipsesLine_ = TColor(0x80000014); // button highlight
    TColor colorBorder_ = TColor(0x80000010);
    TColor fontColor_ = TColor(0x80000008);
    int captionMarginTop_ = 0;
    bool showEllipses_ = false;
    QPixmap glyph_;
    bool hovered_ = false;
    bool pressed_ = false;

    // The pre-rendered caption of the glow, raised and lowered types.
    mutable QString effectText_;
    mutable QImage effectImage_;
};

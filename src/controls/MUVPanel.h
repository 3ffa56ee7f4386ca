#pragma once
// TMUVPanel: a panel with a group-box look: a (round) frame with its caption
// set into the top edge, on a plain, stretched or tiled background.
//
// The panel keeps its contents margins clear of the frame and the caption,
// so a layout set on it places its controls inside the frame.

#include "canvas/tcolor.h"

#include <QFont>
#include <QImage>
#include <QWidget>

// Where the caption stands on the frame's top edge.
enum TPanelTextPosition { tpp_left, tpp_middle, ttp_right };
// How BackgroundBMP covers the panel.
enum TPanelBkStyle { pbk_stretch, pbk_wallpaper };

class TMUVPanel : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVPanel(QWidget *parent = nullptr);
    TMUVPanel(const QString &caption, QWidget *parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    TPanelTextPosition CaptionPosition() const { return captionPosition_; }
    void SetCaptionPosition(TPanelTextPosition pos);
    // Until set, a copy of the panel's font.
    QFont CaptionFont() const;
    void SetCaptionFont(const QFont &font);
    // Fill of the whole panel.
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    // Fill inside the frame.
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor c);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor c);
    // Gap between the panel's edge and the frame; 0 draws no frame.
    int BorderMargin() const { return borderMargin_; }
    void SetBorderMargin(int m);
    bool BorderRound() const { return borderRound_; }
    void SetBorderRound(bool on);
    const QImage &BackgroundBMP() const { return backgroundBmp_; }
    void SetBackgroundBMP(const QImage &image);
    TPanelBkStyle BackgroundBMPStyle() const { return backgroundBmpStyle_; }
    void SetBackgroundBMPStyle(TPanelBkStyle s);

    // The frame rectangle (empty when BorderMargin is 0) and where the
    // caption text goes (empty without a caption).
    QRect FrameRect() const;
    QRect CaptionRect() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void Changed();
    QString ShownCaption() const;

    QString caption_;
    TPanelTextPosition captionPosition_ = tpp_left;
    QFont captionFont_;
    bool captionFontSet_ = false;
    TColor color_;
    TColor backgroundColor_;
    TColor borderColor_;
    int borderMargin_ = 3;
    bool borderRound_ = false;
    QImage backgroundBmp_;
    TPanelBkStyle backgroundBmpStyle_ = pbk_wallpaper;
};

#pragma once
// TColorPanel: a panel filled with a two-colour gradient (headers of the
// main window).

#include "canvas/tcolor.h"

#include <QWidget>

enum TColorPanelStyle { cpsVertical, cpsHorizontal };

class TColorPanel : public QWidget
{
    Q_OBJECT
  public:
    explicit TColorPanel(QWidget *parent = nullptr);

    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor c);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor c);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor c);
    // false: no frame; true: a one-pixel frame in BorderColor.
    bool BorderSingle() const { return borderSingle_; }
    void SetBorderSingle(bool on);
    // cpsVertical runs from top to bottom, cpsHorizontal from left to right.
    TColorPanelStyle Style() const { return style_; }
    void SetStyle(TColorPanelStyle s);
    // Draws from EndColor to StartColor instead.
    bool Swapped() const { return swapped_; }
    void SetSwapped(bool on);

    // The colour of line i of n (0 <= i <= n) between two colours.
    static QColor GradientColor(const QColor &from, const QColor &to, int i, int n);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    TColor startColor_ = clGray;
    TColor endColor_ = clSilver;
    TColor borderColor_ = clGray;
    bool borderSingle_ = false;
    TColorPanelStyle style_ = cpsVertical;
    bool swapped_ = false;
};

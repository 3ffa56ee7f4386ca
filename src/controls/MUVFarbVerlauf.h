#pragma once
// TMUVFarbVerlauf: a colour band (gradient or plain) with optional edge
// lines and a caption; the caption can be a file path shortened to fit.

#include "canvas/tcolor.h"

#include <QWidget>

// Which edges get a line in ColorBorder (bit values, may be combined).
enum TMUVBorder : unsigned { brd_left = 1, brd_right = 2, brd_top = 4, brd_bottom = 8 };

class TMUVFarbVerlauf : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVFarbVerlauf(QWidget *parent = nullptr);

    TColor ColorStart() const { return colorStart_; }
    void SetColorStart(TColor c);
    TColor ColorEnd() const { return colorEnd_; }
    void SetColorEnd(TColor c);
    // false: plain ColorStart.
    bool Verlauf() const { return verlauf_; }
    void SetVerlauf(bool on);
    // true: from left to right; false: from ColorEnd at the top to
    // ColorStart at the bottom.
    bool Horizontal() const { return horizontal_; }
    void SetHorizontal(bool on);
    // Vertical only: from both edges toward the middle.
    bool Horizontal3D() const { return horizontal3D_; }
    void SetHorizontal3D(bool on);
    // Horizontal: the gradient ends this far from the right edge.
    int RechterOffset() const { return rechterOffset_; }
    void SetRechterOffset(int px);
    QString Beschriftung() const { return beschriftung_; }
    void SetBeschriftung(const QString &text);
    int BeschriftungX() const { return beschriftungX_; }
    void SetBeschriftungX(int x);
    int BeschriftungY() const { return beschriftungY_; }
    void SetBeschriftungY(int y);
    bool BeschriftungMitte() const { return beschriftungMitte_; }
    void SetBeschriftungMitte(bool on);
    // The caption is a path, shortened in the middle when it is too long.
    bool BeschriftungAlsDatei() const { return beschriftungAlsDatei_; }
    void SetBeschriftungAlsDatei(bool on);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor c);
    unsigned Borders() const { return borders_; }
    void SetBorders(unsigned set);

    // Last x of the gradient in horizontal mode.
    int GradientEnd() const;
    // The caption as it is drawn.
    QString ShownCaption() const;

    QSize sizeHint() const override { return QSize(255, 24); }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    TColor colorStart_ = clBlack;
    TColor colorEnd_;
    bool verlauf_ = true;
    bool horizontal_ = true;
    bool horizontal3D_ = false;
    int rechterOffset_ = 0;
    QString beschriftung_;
    int beschriftungX_ = 4;
    int beschriftungY_ = 4;
    bool beschriftungMitte_ = false;
    bool beschriftungAlsDatei_ = false;
    TColor colorBorder_;
    unsigned borders_ = 0;
};

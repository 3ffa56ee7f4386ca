#pragma once
// TMUVLines: lines along chosen edges, diagonals or middles of its area,
// with optional rounded corners; used as separators and frames.

#include "canvas/tcolor.h"

#include <QWidget>

enum TLinienTyp {
    ltlinks,
    ltrechts,
    ltoben,
    ltunten,
    ltdiagli,
    ltdiagre,
    ltMitteVertikal,
    ltMitteHorizontal
};
enum TRoundCorner { trc_none, trc_TopLeft, trc_TopRight, trc_BottomLeft, trc_BottomRight, trc_AllCorners };

// Sets of the two enumerations above (bit n for value n).
using TLinien = unsigned;
using TRundeEcken = unsigned;
constexpr unsigned MuvBit(int value)
{
    return 1u << value;
}

class TMUVLines : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVLines(QWidget *parent = nullptr);

    TColor LinFarbe() const { return linFarbe_; }
    void SetLinFarbe(TColor c);
    int LinDicke() const { return linDicke_; }
    void SetLinDicke(int px);
    // Pen style 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot,
    // 5 no line.
    int LinStyle() const { return linStyle_; }
    void SetLinStyle(int style);
    TLinien Linien() const { return linien_; }
    void SetLinien(TLinien set);
    TRundeEcken RundeEcken() const { return rundeEcken_; }
    void SetRundeEcken(TRundeEcken set);
    // Kept within 0 and half the width and height.
    int EckRadius() const;
    void SetEckRadius(int r);

    QSize sizeHint() const override { return QSize(100, 1); }

  signals:
    // After drawing, with the painter still open.
    void OnPaint(QPainter *painter);
    // Mouse button released over the lines.
    void OnExtClick(TMUVLines *sender, int x, Qt::MouseButton button, int y);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    bool Corner(TRoundCorner c) const;

    TColor linFarbe_;
    int linDicke_ = 1;
    int linStyle_ = 0;
    TLinien linien_ = MuvBit(ltunten);
    TRundeEcken rundeEcken_ = 0;
    int eckRadius_ = 0;
};

#pragma once
// TMUVPfeile: a dimension arrow (a line with filled heads, optionally with
// end bars) as the layout dialog draws beside its measures.

#include "canvas/tcolor.h"

#include <QPolygon>
#include <QWidget>

enum TPfeilTyp { pt_none, pt_horizontal, pt_vertikal };

class TMUVPfeile : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVPfeile(QWidget *parent = nullptr);

    TPfeilTyp Pfeiltyp() const { return pfeiltyp_; }
    void SetPfeiltyp(TPfeilTyp t);
    int PfeilGroesse() const { return pfeilGroesse_; }
    void SetPfeilGroesse(int px);
    bool PfeilLinks() const { return pfeilLinks_; }
    void SetPfeilLinks(bool on);
    bool PfeilRechts() const { return pfeilRechts_; }
    void SetPfeilRechts(bool on);
    TColor PfeilFarbe() const { return pfeilFarbe_; }
    void SetPfeilFarbe(TColor c);
    bool PfeilBegrenzer() const { return pfeilBegrenzer_; }
    void SetPfeilBegrenzer(bool on);
    // Pen style code of the line (0 solid … 5 none).
    int LinienTyp() const { return linienTyp_; }
    void SetLinienTyp(int style);

    // The heads as drawn: start (left or top) and end (right or bottom);
    // empty when switched off.
    QPolygon StartHead() const;
    QPolygon EndHead() const;

    QSize sizeHint() const override { return QSize(32, 8); }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    TPfeilTyp pfeiltyp_ = pt_horizontal;
    int pfeilGroesse_ = 6;
    bool pfeilLinks_ = true;
    bool pfeilRechts_ = true;
    TColor pfeilFarbe_ = clBlue;
    bool pfeilBegrenzer_ = false;
    int linienTyp_ = 0;
};

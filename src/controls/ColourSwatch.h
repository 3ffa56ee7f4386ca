#pragma once
// A colour swatch of the dialogs, round or with rounded corners; a left click
// (released over it) asks the dialog to choose another colour.

#include "canvas/tcolor.h"

#include <QWidget>

class TColourSwatch : public QWidget
{
    Q_OBJECT
  public:
    explicit TColourSwatch(bool round, QWidget *parent = nullptr);
    TColor Colour() const { return colour_; }
    void SetColour(TColor colour);
    // Which of a dialog's swatches this is.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

  signals:
    void MouseUp(TColourSwatch *swatch);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    bool round_;
    int tag_ = 0;
    TColor colour_ = clBlack;
};

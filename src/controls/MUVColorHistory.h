#pragma once
// TMUVColorHistory: a strip of 16 colour cells. New colours come in at the
// front, the oldest falls out; a click on a used cell reports its colour.

#include "canvas/tcolor.h"

#include <QWidget>

class QMenu;

class TMUVColorHistory : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int kSlots = 16;

    explicit TMUVColorHistory(QWidget *parent = nullptr);

    // Puts c in front unless a used cell holds it already.
    void AddColor(canvas::TColor c);

    int CellSize() const { return cellSize_; }
    void SetCellSize(int px);
    int CellMargin() const { return cellMargin_; }
    void SetCellMargin(int px);
    // clNone frames every cell in its own colour.
    canvas::TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(canvas::TColor c);
    canvas::TColor LastMouseSelected() const { return lastMouseSelected_; }
    QMenu *PopupMenu() const { return popup_; }
    void SetPopupMenu(QMenu *menu) { popup_ = menu; }

    bool Used(int slot) const { return used_[slot]; }
    canvas::TColor Color(int slot) const { return colors_[slot]; }
    // The cell's top-left corner in the current layout.
    QPoint CellPos(int slot) const;
    // The cell under a point, or -1.
    int CellAt(QPoint p) const;

    QSize sizeHint() const override { return QSize(64, 64); }

  signals:
    void OnSelectColor(canvas::TColor colour, Qt::MouseButton button, int slot);
    void OnColorsChanged();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    int EffectiveCellSize() const;

    canvas::TColor colors_[kSlots] = {};
    bool used_[kSlots] = {};
    int cellSize_ = 12;
    int cellMargin_ = 2;
    canvas::TColor frameColor_ = canvas::SystemColor(12);
    canvas::TColor lastMouseSelected_ = 0;
    QMenu *popup_ = nullptr;
};

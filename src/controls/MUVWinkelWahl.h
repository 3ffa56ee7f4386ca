#pragma once
// TMUVWinkelWahl: a small dial on which an angle is chosen by dragging with
// the left mouse button, in steps of 15° unless snapping is switched off in
// its context menu. Angles count counter-clockwise from the right.

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <QMenu>

class TMUVWinkelWahl : public QWidget
{
    Q_OBJECT
  public:
    explicit TMUVWinkelWahl(QWidget *parent = nullptr);

    // Degrees, kept within 0...360 (360 stays 360).
    double Winkel() const { return winkel_; }
    void SetWinkel(double degrees);

    // Snap dragged angles to multiples of 15°.
    bool GlaetteWinkel() const { return glaetteWinkel_; }
    void SetGlaetteWinkel(bool on);

    // The area around the dial.
    QColor ColorBackground() const { return colorBackground_; }
    void SetColorBackground(const QColor &colour);

    // Another menu for the right button instead of the own one.
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu) { popupMenu_ = menu; }

    // The own context menu and its one item "Winkelraster verwenden".
    QMenu *OwnMenu() const { return ownMenu_; }
    QAction *SnapAction() const { return snapAction_; }

    // The dial's centre in control coordinates.
    QPoint Centre() const;
    // The angle a mouse position gives, before snapping.
    double AngleAt(const QPoint &pos) const;
    // Snapping to 15° steps; 352.5° and more become 0.
    static double Snap(double degrees);

    QSize sizeHint() const override { return QSize(52, 52); }

  signals:
    void OnMouseChange();
    void OnMouseChanged();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void DragTo(const QPoint &pos);

    double winkel_ = 0;
    bool glaetteWinkel_ = true;
    QColor colorBackground_;
    bool dragging_ = false;
    QMenu *ownMenu_ = nullptr;
    QAction *snapAction_ = nullptr;
    QPointer<QMenu> popupMenu_;
};

#pragma once
// The print dialog's own small widgets: captioned panels with rounded
// borders, and the printer's name as a label that reacts to the pointer and
// opens the printer setup when clicked.

#include <QColor>
#include <QFrame>
#include <QLabel>

class TDruckPanel : public QFrame
{
  public:
    TDruckPanel(const QString &caption, QWidget *parent);
    // Background and caption colour; the default is the dialog's own colour
    // with a dark caption.
    void SetColors(const QColor &background, const QColor &caption);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QString caption_;
    QColor background_;
    QColor captionColor_;
};

// Bold blue, yellow under the pointer, a hand cursor; clicked on release.
class TDruckerLabel : public QLabel
{
    Q_OBJECT
  public:
    explicit TDruckerLabel(QWidget *parent);

  signals:
    void clicked();

  protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void SetHover(bool on);
};

#pragma once
// The panels of the status bar. Each keeps its width from the left; the last
// one takes what is left. In a narrow window the panels that no longer fit
// shrink from the right and show their text shortened with "…", so no panel
// is ever drawn over another or cut off at the window's edge.

#include <QLabel>
#include <QWidget>

#include <vector>

class TStatusPanel : public QLabel
{
  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return QSize(0, QLabel::minimumSizeHint().height()); }
    // The text as shown: whole, or shortened with "…" to the panel's width.
    QString ShownText() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
};

class TStatusPanels : public QWidget
{
  public:
    explicit TStatusPanels(QWidget *parent = nullptr);

    // Adds a panel of the given width; the last panel added fills the rest.
    TStatusPanel *AddPanel(const QString &text, int width, Qt::Alignment align, bool bevel);
    void SetPanelWidth(int index, int width);
    int PanelWidth(int index) const { return widths_[std::size_t(index)]; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent *event) override;

  private:
    void Arrange();

    std::vector<TStatusPanel *> panels_;
    std::vector<int> widths_;
};

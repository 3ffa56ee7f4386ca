#pragma once
// TMUVPageControl: a tab control whose pages fill the whole area below the
// tabs, without the usual frame around them. Optionally the tabs are drawn
// flat: fixed size, bold captions, the current one blue and underlined.
// Switching pages works as with every tab control: a click on a tab,
// Ctrl+Tab / Ctrl+Shift+Tab anywhere in it, the arrow keys on the tabs.

#include <QTabBar>
#include <QTabWidget>

class TMUVTabBar : public QTabBar
{
    Q_OBJECT
  public:
    explicit TMUVTabBar(QWidget *parent = nullptr);
    bool FlatTabs() const { return flat_; }
    void SetFlatTabs(bool on);
    QSize TabSize() const { return tabSize_; }
    void SetTabSize(QSize size);

  protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;

  private:
    bool flat_ = false;
    QSize tabSize_{128, 24};
};

class TMUVPageControl : public QTabWidget
{
    Q_OBJECT
  public:
    explicit TMUVPageControl(QWidget *parent = nullptr);

    TMUVTabBar *Tabs() const { return tabs_; }
    // Flat tabs of TabSize (default 128 x 24).
    void SetFlatTabs(bool on);
    bool FlatTabs() const { return tabs_->FlatTabs(); }
    void SetTabSize(QSize size);

    // The area the pages take: the whole client area below the tabs.
    QRect PageRect() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

  private:
    void PlacePages();
    TMUVTabBar *tabs_;
};

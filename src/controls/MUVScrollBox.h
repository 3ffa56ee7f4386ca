#pragma once
// TMUVScrollBox: the scroll box around the page preview. It reports every
// change of its scroll position through OnScroll once the content has moved,
// whether the user dragged a scroll bar or the owner set a position, and lets
// its owner take over the mouse wheel. Optionally it paints a tiled pattern
// behind its content with a soft shadow under the content's controls.

#include <QImage>
#include <QScrollArea>

class TMUVScrollBox : public QScrollArea
{
    Q_OBJECT
  public:
    explicit TMUVScrollBox(QWidget *parent = nullptr);
    ~TMUVScrollBox() override;

    // Pattern behind the content, tiled from the content's origin so that it
    // scrolls with it; the content widget is made transparent for it. Off
    // by default: then the box paints as a plain one.
    bool BackgroundOn() const { return backgroundOn_; }
    void SetBackgroundOn(bool on);
    QImage BackgroundBMP() const { return backgroundBmp_; }
    // An empty image restores the default pattern.
    void SetBackgroundBMP(const QImage &image);

    // With the pattern on: a shadow ShadowOffset pixels deep right of and
    // below every visible control on the content widget (or below the
    // content widget itself when it holds no controls).
    bool ShadowOn() const { return shadowOn_; }
    void SetShadowOn(bool on);
    int ShadowOffset() const { return shadowOffset_; }
    // Negative values become 0.
    void SetShadowOffset(int px);

    // 32 x 32 white with light grey squares in a 16-pixel checkerboard.
    static QImage DefaultBackgroundPattern();

  signals:
    // After the content has moved: (true, new vertical position) or
    // (false, new horizontal position).
    void OnScroll(bool vertScroll, int newPos);

    // The wheel, first as a whole (delta in eighths of a degree, 120 a
    // notch; position on the screen). A handler that sets *handled keeps
    // the direction signals and the box's own scrolling from running.
    void OnMouseWheel(Qt::KeyboardModifiers shift, int wheelDelta, QPoint mousePos, bool *handled);
    // Then once per full notch; setting *handled stops the box scrolling.
    void OnMouseWheelDown(Qt::KeyboardModifiers shift, QPoint mousePos, bool *handled);
    void OnMouseWheelUp(Qt::KeyboardModifiers shift, QPoint mousePos, bool *handled);

  protected:
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;

  private:
    void ApplyContentTransparency();
    void PaintShadow(QPainter &p, const QRect &r) const;

    bool backgroundOn_ = false;
    QImage backgroundBmp_;
    bool shadowOn_ = false;
    int shadowOffset_ = 8;
    int wheelAccumulator_ = 0;
};

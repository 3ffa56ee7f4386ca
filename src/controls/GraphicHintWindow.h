#pragma once
// TGraphicHintWindow: the program's hint (tool tip) window. A picture
// background, a blue title bar and the short part of the hint text; it fades
// in where the window system can make windows translucent.
//
// Install() makes it the application's hint window: from then on every
// widget's tool tip is shown in it instead of Qt's own tool tip.

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class TGraphicHintWindow : public QWidget
{
    Q_OBJECT
  public:
    explicit TGraphicHintWindow(QWidget *parent = nullptr);

    // Picture stretched over the whole window; empty: the drawn default.
    QImage Background() const { return background_; }
    void SetBackground(const QImage &image);

    // Size of the window for text (before the enlargement of ActivateHint);
    // lines longer than maxWidth wrap.
    QRect CalcHintRect(int maxWidth, const QString &text) const;
    // Shows text in rect (screen coordinates), enlarged by 14 × 4 pixels
    // and kept on the screen, on top and without taking the focus. Starts
    // the fade-in.
    void ActivateHint(const QRect &rect, const QString &text);
    // Where a hint of rect ends up on a screen with the available area
    // screen: moved left and up until it fits, but never past the left or
    // top edge.
    static QRect PlaceOnScreen(const QRect &rect, const QRect &screen);

    QString Text() const { return text_; }
    // The current fade step: 25, 50, … 250 (of 255).
    int Alpha() const { return alpha_; }

    // The part of a hint that a tool tip shows: the text before "|".
    static QString ShortHint(const QString &hint);

    // Makes hint windows of this class the application's hint windows,
    // with background as their picture. Calling it again changes the
    // picture. Returns the shared window.
    static TGraphicHintWindow *Install(const QImage &background);
    // Hides and removes the installed hint window (tests).
    static void Uninstall();
    static TGraphicHintWindow *Installed();

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void FadeStep();

    QImage background_;
    QString text_;
    QTimer fade_;
    int alpha_ = 250;
};

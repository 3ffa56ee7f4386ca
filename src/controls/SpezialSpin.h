#pragma once
// TSpezialSpin: the numeric input of the dialogs. A caption before the box,
// a unit after it, an edit field and two arrow buttons. The value is a double
// shown with a fixed number of decimals and the locale's separators; every
// change the user makes is reported through OnDelayedChange, at once for the
// arrows, Enter and the cursor keys, and after a quiet period for typing.

#include <QColor>
#include <QRect>
#include <QSet>
#include <QWidget>

class QLineEdit;
class QTimer;

class TSpezialSpin : public QWidget
{
    Q_OBJECT
  public:
    explicit TSpezialSpin(QWidget *parent = nullptr);
    ~TSpezialSpin() override;

    // Number of decimals, 0...8; the arrow step is 10^-n.
    int NachkommaStellen() const { return nachkommaStellen_; }
    void SetNachkommaStellen(int n);

    // Quiet period after typing, in ms; values <= 0 become 400.
    int ChangeDelay() const { return changeDelay_; }
    void SetChangeDelay(int ms);

    // Reading any of the four values stops a pending delayed change and
    // normalises first; writing does not fire OnDelayedChange.
    double ValueReal() const;
    void SetValueReal(double v);
    int Value() const; // truncated toward zero (saturated to the int range)
    void SetValue(int v);
    double ValuePrec() const; // ValueReal() - Value()
    QString ValueText() const;

    // Upper limit, applied only when > 0.
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double v);
    // Lower limit, always applied.
    double MinValue() const { return minValue_; }
    void SetMinValue(double v);

    int MarginTop() const { return marginTop_; }
    void SetMarginTop(int px);

    bool EditorEnabled() const { return editorEnabled_; }
    // True while an arrow step waits for its pause.
    bool StepPending() const { return pendingStep_ != 0; }
    void SetEditorEnabled(bool on);

    bool TextCenter() const { return textCenter_; }
    void SetTextCenter(bool on);

    // Background, painted only when ParentColor() is false; setting it
    // clears ParentColor.
    QColor Color() const { return color_; }
    void SetColor(const QColor &c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    // Frame: 0 none, 1 flat line in BorderColWidth1, 2 sunken.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    QColor BorderColWidth1() const { return borderColWidth1_; }
    void SetBorderColWidth1(const QColor &c);

    // Arrow glyph size in points, 6...72.
    int ArrowSize() const { return arrowSize_; }
    void SetArrowSize(int pt);
    QColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(const QColor &c);

    QString TextBefore() const { return textBefore_; }
    void SetTextBefore(const QString &t);
    QString TextAfter() const { return textAfter_; }
    void SetTextAfter(const QString &t);
    int TextSpacing() const { return textSpacing_; }
    void SetTextSpacing(int px);

    bool TausenderZeichen() const { return tausenderZeichen_; }
    void SetTausenderZeichen(bool on);

    // The edit field, for focus chains and tests.
    QLineEdit *Editor() const { return edit_; }

    // Layout, in widget coordinates.
    QRect UpArrowRect() const { return upRect_; }
    QRect DownArrowRect() const { return downRect_; }
    QRect InnerRect() const { return innerRect_; }
    QRect BoxRect() const { return QRect(boxLeft_, 0, boxRight_ - boxLeft_, height()); }

    QSize sizeHint() const override { return QSize(120, 20); }

  signals:
    void OnDelayedChange();
    void OnEnter();
    void OnExit();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void NormalizeAndShow() const;
    double ParseText(const QString &text) const;
    QString FormatValue(double v) const;
    // +1 up, -1 down, after the step's pause; with apply the change is
    // applied and reported after the step.
    void StepBy(int direction, bool apply);
    void FinishStep(); // the waiting step, at once
    void Step(int direction);
    void Apply();
    void RepeatStep();
    void ReLayout();
    void EditKeyRelease(QKeyEvent *event);
    void PaintArrowButton(class QPainter &p, const QRect &r, bool up, bool pressed) const;

    QLineEdit *edit_ = nullptr;
    QTimer *timer_ = nullptr;       // the delayed change
    QTimer *repeatTimer_ = nullptr; // the held arrow
    QTimer *stepTimer_ = nullptr;   // the pause before a step
    int pendingStep_ = 0;           // direction of the step waiting on stepTimer_
    bool pendingApply_ = false;

    static constexpr int kStepPauseMs = 100;   // before every step
    static constexpr int kRepeatPauseMs = 150; // between repetitions of a held arrow

    int nachkommaStellen_ = 0;
    double step_ = 1;
    int changeDelay_ = 1500;
    mutable double value_ = 0;
    double maxValue_ = 0;
    double minValue_ = 0;
    int marginTop_ = 0;
    bool editorEnabled_ = true;
    bool textCenter_ = false;
    QColor color_ = Qt::black;
    bool parentColor_ = true;
    int borderWidth_ = 2;
    QColor borderColWidth1_ = QColor(0, 0, 255);
    int arrowSize_ = 8;
    QColor arrowColor_;
    QString textBefore_;
    QString textAfter_;
    int textSpacing_ = 4;
    bool tausenderZeichen_ = true;

    double accelSum_ = 0;
    bool mouseHeld_ = false;
    bool upPressed_ = false;
    bool downPressed_ = false;
    QSet<int> keysDown_; // keys pressed in the edit field and not yet released

    int boxLeft_ = 0;
    int boxRight_ = 0;
    QRect upRect_;
    QRect downRect_;
    QRect innerRect_;
};

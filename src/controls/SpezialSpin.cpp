#include "controls/SpezialSpin.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <climits>
#include <cmath>

TSpezialSpin::TSpezialSpin(QWidget *parent) : QWidget(parent)
{
    // The control's own font; a parent's font is not taken over.
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(8);
    setFont(f);
    arrowColor_ = palette().color(QPalette::ButtonText);

    edit_ = new QLineEdit(this);
    edit_->setFrame(false);
    edit_->setText(QStringLiteral("0"));
    QPalette ep = edit_->palette();
    ep.setColor(QPalette::Base, Qt::white);
    ep.setColor(QPalette::Window, Qt::white);
    // Dark text while enabled; the disabled group keeps its grey.
    ep.setColor(QPalette::Active, QPalette::Text, palette().color(QPalette::ButtonText));
    ep.setColor(QPalette::Inactive, QPalette::Text, palette().color(QPalette::ButtonText));
    edit_->setPalette(ep);
    edit_->installEventFilter(this);
    // Edits without a key (pasting from the context menu, dropping text)
    // wait for the delay like typing; typed keys are taken on release.
    connect(edit_, &QLineEdit::textEdited, this, [this] {
        if (keysDown_.isEmpty() && editorEnabled_) {
            value_ = ParseText(edit_->text());
            timer_->start(changeDelay_);
        }
    });
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(changeDelay_);
    connect(timer_, &QTimer::timeout, this, &TSpezialSpin::Apply);

    repeatTimer_ = new QTimer(this);
    repeatTimer_->setSingleShot(true);
    connect(repeatTimer_, &QTimer::timeout, this, &TSpezialSpin::RepeatStep);

    stepTimer_ = new QTimer(this);
    stepTimer_->setSingleShot(true);
    stepTimer_->setInterval(kStepPauseMs);
    connect(stepTimer_, &QTimer::timeout, this, &TSpezialSpin::FinishStep);

    resize(120, 20);
    ReLayout();
}

TSpezialSpin::~TSpezialSpin()
{
    timer_->stop();
    repeatTimer_->stop();
    stepTimer_->stop();
    // The edit field outlives this object's part of the destruction; its
    // last focus events must not reach a half-destroyed filter.
    edit_->removeEventFilter(this);
}

// ---- value ---------------------------------------------------------------

QString TSpezialSpin::FormatValue(double v) const
{
    QLocale loc;
    if (tausenderZeichen_)
        loc.setNumberOptions(loc.numberOptions() & ~QLocale::OmitGroupSeparator);
    else
        loc.setNumberOptions(loc.numberOptions() | QLocale::OmitGroupSeparator);
    QString text = loc.toString(v, 'f', nachkommaStellen_);
    // A small negative value rounds to zero: no "-0".
    if (text.startsWith(loc.negativeSign())) {
        bool allZero = true;
        for (const QChar c : text) {
            if (c.isDigit() && c != QLatin1Char('0'))
                allZero = false;
        }
        if (allZero)
            text.remove(0, loc.negativeSign().size());
    }
    return text;
}

double TSpezialSpin::ParseText(const QString &input) const
{
    const QLocale loc;
    QString text = input.trimmed();
    text.remove(loc.groupSeparator());
    if (text.isEmpty() || text == QLatin1String("-") || text == loc.negativeSign())
        return 0;
    bool ok = false;
    const double v = loc.toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return 0;
    return v;
}

void TSpezialSpin::NormalizeAndShow() const
{
    timer_->stop();
    if (maxValue_ > 0 && value_ > maxValue_)
        value_ = maxValue_;
    if (value_ < minValue_)
        value_ = minValue_;
    const QString text = FormatValue(value_);
    // Rewriting an unchanged text would move the caret for nothing.
    if (edit_->text() != text)
        edit_->setText(text);
}

double TSpezialSpin::ValueReal() const
{
    NormalizeAndShow();
    return value_;
}

void TSpezialSpin::SetValueReal(double v)
{
    timer_->stop();
    stepTimer_->stop(); // a step still waiting would land on the new value
    pendingStep_ = 0;
    value_ = std::isfinite(v) ? v : 0;
    NormalizeAndShow();
}

int TSpezialSpin::Value() const
{
    NormalizeAndShow();
    const double t = std::trunc(value_);
    if (t >= double(INT_MAX))
        return INT_MAX;
    if (t <= double(INT_MIN))
        return INT_MIN;
    return int(t);
}

void TSpezialSpin::SetValue(int v)
{
    SetValueReal(double(v));
}

double TSpezialSpin::ValuePrec() const
{
    NormalizeAndShow();
    return value_ - std::trunc(value_);
}

QString TSpezialSpin::ValueText() const
{
    NormalizeAndShow();
    return edit_->text();
}

// ---- properties ----------------------------------------------------------

void TSpezialSpin::SetNachkommaStellen(int n)
{
    nachkommaStellen_ = qBound(0, n, 8);
    step_ = std::pow(10.0, -nachkommaStellen_);
    NormalizeAndShow();
}

void TSpezialSpin::SetChangeDelay(int ms)
{
    changeDelay_ = ms <= 0 ? 400 : ms;
    timer_->setInterval(changeDelay_);
}

void TSpezialSpin::SetMaxValue(double v)
{
    maxValue_ = v;
    NormalizeAndShow();
}

void TSpezialSpin::SetMinValue(double v)
{
    minValue_ = v;
    NormalizeAndShow();
}

void TSpezialSpin::SetTausenderZeichen(bool on)
{
    tausenderZeichen_ = on;
    NormalizeAndShow();
}

void TSpezialSpin::SetMarginTop(int px)
{
    marginTop_ = px;
    ReLayout();
}

void TSpezialSpin::SetEditorEnabled(bool on)
{
    editorEnabled_ = on;
    edit_->setReadOnly(!on);
}

void TSpezialSpin::SetTextCenter(bool on)
{
    textCenter_ = on;
    edit_->setAlignment(on ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
}

void TSpezialSpin::SetColor(const QColor &c)
{
    color_ = c;
    parentColor_ = false;
    update();
}

void TSpezialSpin::SetParentColor(bool on)
{
    parentColor_ = on;
    update();
}

void TSpezialSpin::SetBorderWidth(int w)
{
    borderWidth_ = qBound(0, w, 2);
    ReLayout();
}

void TSpezialSpin::SetBorderColWidth1(const QColor &c)
{
    borderColWidth1_ = c;
    update();
}

void TSpezialSpin::SetArrowSize(int pt)
{
    arrowSize_ = qBound(6, pt, 72);
    update();
}

void TSpezialSpin::SetArrowColor(const QColor &c)
{
    arrowColor_ = c;
    update();
}

void TSpezialSpin::SetTextBefore(const QString &t)
{
    textBefore_ = t;
    ReLayout();
}

void TSpezialSpin::SetTextAfter(const QString &t)
{
    textAfter_ = t;
    ReLayout();
}

void TSpezialSpin::SetTextSpacing(int px)
{
    textSpacing_ = px;
    ReLayout();
}

// ---- stepping and the delayed change -------------------------------------

void TSpezialSpin::Step(int direction)
{
    // Each repetition adds one step more than the one before: 1, 2, 3 ...
    accelSum_ += step_;
    value_ += direction * accelSum_;
    NormalizeAndShow();
}

void TSpezialSpin::StepBy(int direction, bool apply)
{
    // A short pause before every step keeps the stepping at a readable pace;
    // the step waits on its timer, the window stays responsive meanwhile. A
    // step still waiting is taken first, so that none is lost.
    FinishStep();
    if (apply)
        timer_->stop(); // the step applies the typed value with its own
    pendingStep_ = direction;
    pendingApply_ = apply;
    stepTimer_->start();
}

void TSpezialSpin::FinishStep()
{
    stepTimer_->stop();
    const int direction = pendingStep_;
    if (direction == 0)
        return;
    pendingStep_ = 0;
    Step(direction);
    if (pendingApply_)
        Apply();
    else if (mouseHeld_ && (upPressed_ || downPressed_))
        repeatTimer_->start(kRepeatPauseMs + kStepPauseMs); // the held arrow repeats
}

void TSpezialSpin::Apply()
{
    NormalizeAndShow();
    timer_->stop();
    const QPointer<TSpezialSpin> alive(this);
    emit OnDelayedChange();
    if (alive && edit_->hasFocus())
        edit_->selectAll();
}

void TSpezialSpin::RepeatStep()
{
    if (!mouseHeld_ || !(upPressed_ || downPressed_))
        return;
    edit_->setCursorPosition(0);
    Step(upPressed_ ? 1 : -1);
    // The pause between repetitions and the pause of the next step.
    repeatTimer_->start(kRepeatPauseMs + kStepPauseMs);
}

void TSpezialSpin::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    timer_->stop();
    const QPoint pos = event->position().toPoint();
    upPressed_ = upRect_.contains(pos);
    downPressed_ = !upPressed_ && downRect_.contains(pos);
    mouseHeld_ = true;
    repaint();
    edit_->setFocus(Qt::MouseFocusReason);
    edit_->setCursorPosition(0);
    if (upPressed_ || downPressed_)
        StepBy(upPressed_ ? 1 : -1, false); // the repetition starts after this step
}

void TSpezialSpin::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !mouseHeld_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    FinishStep(); // a click steps once, however short
    mouseHeld_ = false;
    upPressed_ = false;
    downPressed_ = false;
    repeatTimer_->stop();
    timer_->stop();
    accelSum_ = 0;
    repaint();
    emit OnDelayedChange();
}

void TSpezialSpin::EditKeyRelease(QKeyEvent *event)
{
    const QPointer<TSpezialSpin> alive(this);
    if (editorEnabled_) {
        // Taken as typed; the text is formatted again when the change applies.
        value_ = ParseText(edit_->text());
        timer_->start(changeDelay_);
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Apply();
        break;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        FinishStep();
        accelSum_ = 0;
        StepBy(1, true);
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        FinishStep();
        accelSum_ = 0;
        StepBy(-1, true);
        break;
    default:
        break;
    }
}

bool TSpezialSpin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *ke = static_cast<QKeyEvent *>(event);
        const int key = ke->key();
        // Tab only moves the focus on (the dialog takes it before the field
        // sees a key): a change typed before still applies after its delay.
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
            !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            break;
        timer_->stop();
        keysDown_.insert(key);
        // These act on release; Enter must not reach a dialog's default
        // button.
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down ||
            key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto *ke = static_cast<QKeyEvent *>(event);
        // A held key counts once, when it is let go.
        if (ke->isAutoRepeat())
            return true;
        // A key pressed elsewhere (the Tab that brought the focus here) has
        // changed nothing in this field.
        if (!keysDown_.remove(ke->key()))
            return true;
        EditKeyRelease(ke);
        return true;
    }
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit OnEnter();
        break;
    }
    case QEvent::FocusOut: {
        keysDown_.clear(); // their releases go to the next field
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit OnExit();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

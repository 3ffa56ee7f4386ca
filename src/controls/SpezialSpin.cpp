#include "controls/SpezialSpin.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include <climits>
#include <cmath>

namespace
{

// Rectangle from Windows-style coordinates (right and bottom exclusive).
QRect Ltrb(int left, int top, int right, int bottom)
{
    return QRect(left, top, qMax(0, right - left), qMax(0, bottom - top));
}

// A two-pixel edge: outer ring then inner ring, each with its top/left and
// bottom/right colour.
void DrawEdge(QPainter &p, const QRect &r, const QColor &outerTL, const QColor &outerBR,
              const QColor &innerTL, const QColor &innerBR)
{
    auto ring = [&p](const QRect &q, const QColor &tl, const QColor &br) {
        if (q.width() <= 0 || q.height() <= 0)
            return;
        p.fillRect(QRect(q.left(), q.top(), q.width(), 1), tl);
        p.fillRect(QRect(q.left(), q.top(), 1, q.height()), tl);
        p.fillRect(QRect(q.left(), q.bottom(), q.width(), 1), br);
        p.fillRect(QRect(q.right(), q.top(), 1, q.height()), br);
    };
    ring(r, outerTL, outerBR);
    ring(r.adjusted(1, 1, -1, -1), innerTL, innerBR);
}

// The fixed system colours of the 3D look. The palette's disabled group is
// washed out; a disabled control shows its state through the emboss and the
// glyph colour instead.
QColor Sys(const QPalette &pal, QPalette::ColorRole role)
{
    return pal.color(QPalette::Active, role);
}

bool HasMarlett()
{
    static const bool has =
        QFontDatabase::families().contains(QStringLiteral("Marlett"), Qt::CaseInsensitive);
    return has;
}

// A row-by-row triangle as the symbol font draws its scroll arrows: the
// base about 7/11 of the em height, always odd so the tip is one pixel.
void DrawTriangle(QPainter &p, const QRect &r, bool up, const QColor &color, double emPixels)
{
    int base = qMax(3, int(std::lround(emPixels * 7.0 / 11.0)));
    if (base % 2 == 0)
        ++base;
    const int rows = (base + 1) / 2;
    const int cx = r.left() + r.width() / 2;
    const int top = r.top() + (r.height() - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        const int half = up ? i : rows - 1 - i;
        p.fillRect(QRect(cx - half, top + i, 2 * half + 1, 1), color);
    }
}

} // namespace

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

// ---- layout and painting -------------------------------------------------

void TSpezialSpin::ReLayout()
{
    const QFontMetrics fm(font());
    const int before = textBefore_.isEmpty() ? 0 : fm.horizontalAdvance(textBefore_);
    const int after = textAfter_.isEmpty() ? 0 : fm.horizontalAdvance(textAfter_);
    const int h = height();
    const int bw = borderWidth_;
    boxLeft_ = before + textSpacing_;
    boxRight_ = width() - textSpacing_ - after;

    // The arrow column is as wide as the font is high, at least 16 pixels.
    const int fontPixels = font().pixelSize() > 0
                               ? font().pixelSize()
                               : int(std::lround(font().pointSizeF() * logicalDpiY() / 72.0));
    const int a = qMax(16, fontPixels);

    const int b = boxRight_ - (bw + 1);
    upRect_ = Ltrb(b - a, bw, b, h / 2);
    downRect_ = Ltrb(b - a, h / 2, b, h - bw);
    innerRect_ = Ltrb(boxLeft_ + bw, bw, b - a - 1, h - bw);

    const int editLeft = boxLeft_ + bw + 2;
    const int editTop = qMax((h - a) / 2, bw) + marginTop_;
    const int editWidth = (boxRight_ - boxLeft_) - 2 * bw - a - 8;
    edit_->setGeometry(editLeft, editTop, qMax(0, editWidth), a);
    update();
}

void TSpezialSpin::PaintArrowButton(QPainter &p, const QRect &r, bool up, bool pressed) const
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QPalette &pal = palette();
    p.fillRect(r, Sys(pal, QPalette::Button));
    if (borderWidth_ == 1) {
        // These lines belong to the flat frame and turn grey with it.
        const QColor line = isEnabled() ? borderColWidth1_ : Sys(pal, QPalette::Dark);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), line);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), line);
    } else if (pressed) {
        DrawEdge(p, r, Sys(pal, QPalette::Dark), Sys(pal, QPalette::Light), Sys(pal, QPalette::Shadow),
                 Sys(pal, QPalette::Button));
    } else {
        DrawEdge(p, r, Sys(pal, QPalette::Midlight), Sys(pal, QPalette::Shadow), Sys(pal, QPalette::Light),
                 Sys(pal, QPalette::Dark));
    }

    QColor glyphColor = arrowColor_;
    if (!isEnabled())
        glyphColor = Sys(pal, QPalette::Light);
    else if (pressed)
        glyphColor = Sys(pal, QPalette::Highlight);
    const QRect glyphRect = pressed ? r.translated(0, up ? -1 : 1) : r;

    if (HasMarlett()) {
        QFont marlett(QStringLiteral("Marlett"));
        marlett.setPointSize(arrowSize_);
        p.setFont(marlett);
        p.setPen(glyphColor);
        p.drawText(glyphRect, Qt::AlignCenter, up ? QStringLiteral("5") : QStringLiteral("6"));
    } else {
        DrawTriangle(p, glyphRect, up, glyphColor, arrowSize_ * logicalDpiY() / 72.0);
    }
}

void TSpezialSpin::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    if (!parentColor_)
        p.fillRect(rect(), color_);
    p.fillRect(innerRect_, Qt::white);

    const QRect box = BoxRect();
    if (borderWidth_ == 1) {
        const QColor c = isEnabled() ? borderColWidth1_ : Sys(pal, QPalette::Dark);
        p.fillRect(QRect(box.left(), box.top(), box.width(), 1), c);
        p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), c);
        p.fillRect(QRect(box.left(), box.top(), 1, box.height()), c);
        p.fillRect(QRect(box.right(), box.top(), 1, box.height()), c);
    } else if (borderWidth_ == 2) {
        DrawEdge(p, box, Sys(pal, QPalette::Dark), Sys(pal, QPalette::Light), Sys(pal, QPalette::Shadow),
                 Sys(pal, QPalette::Button));
    }

    PaintArrowButton(p, upRect_, true, upPressed_);
    PaintArrowButton(p, downRect_, false, downPressed_);

    // Captions at the height of the edit field.
    p.setFont(font());
    const QFontMetrics fm(font());
    const int y = edit_->geometry().top() + fm.ascent();
    auto caption = [&](int x, const QString &text) {
        if (text.isEmpty())
            return;
        if (isEnabled()) {
            p.setPen(Sys(pal, QPalette::ButtonText));
            p.drawText(x, y, text);
        } else {
            p.setPen(Sys(pal, QPalette::Light));
            p.drawText(x + 1, y + 1, text);
            p.setPen(Sys(pal, QPalette::Dark));
            p.drawText(x, y, text);
        }
    };
    caption(0, textBefore_);
    caption(boxRight_ + textSpacing_, textAfter_);
}

void TSpezialSpin::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ReLayout();
}

void TSpezialSpin::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (!edit_)
        return; // the font set during construction
    switch (event->type()) {
    case QEvent::FontChange:
        edit_->setFont(font());
        ReLayout();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
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

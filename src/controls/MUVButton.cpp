#include "controls/MUVButton.h"

#include "controls/MUVButtonColors.h"
#include "controls/MUVButtonGlyphs.h"
#include "platform/messages.h"
#include "platform/shell_open.h"

#include <QCursor>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QTimer>

#include <memory>

namespace
{

// The pressed pattern lives while any button does.
int g_liveButtons = 0;
std::unique_ptr<QImage> g_pressedPattern;

QImage BuildPressedPattern()
{
    QImage img(640, 64, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            int v = ((x + y) % 2 == 0) ? 255 : 208;
            // A soft shadow along the top and left inner edge.
            if (y < 2 || x < 2)
                v = (v + 218) / 2;
            line[x] = qRgb(v, v, v);
        }
    }
    return img;
}

int GreyOf(QRgb c)
{
    // 0.3 R + 0.59 G + 0.11 B, truncated; in whole numbers so that white
    // stays 255.
    const int l = (30 * qRed(c) + 59 * qGreen(c) + 11 * qBlue(c)) / 100;
    return qBound(0, l, 255);
}

template <typename F> QImage MapGlyph(const QImage &glyph, F grey)
{
    if (glyph.isNull())
        return {};
    QImage src =
        glyph.convertToFormat(glyph.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QRgb key = src.pixel(0, src.height() - 1);
    for (int y = 0; y < src.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(src.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            if (line[x] == key)
                continue;
            const int v = grey(GreyOf(line[x]));
            line[x] = qRgba(v, v, v, qAlpha(line[x]));
        }
    }
    return src;
}

// The short part of a hint ("short|long"), shown in the tool tip.
QString ShortHint(const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    QString s = bar < 0 ? hint : hint.left(bar);
    return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString LongHint(const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    QString s = bar < 0 ? hint : hint.mid(bar + 1);
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return s.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

TMUVButton::TMUVButton(QWidget *parent) : QAbstractButton(parent)
{
    Init();
}

TMUVButton::TMUVButton(const QString &caption, const QString &glyphName, QWidget *parent)
    : QAbstractButton(parent)
{
    Init();
    SetCaption(caption);
    if (!glyphName.isEmpty())
        SetGlyphName(glyphName);
}

void TMUVButton::Init()
{
    if (g_liveButtons++ == 0)
        g_pressedPattern = std::make_unique<QImage>(BuildPressedPattern());
    colorHighlight_ = muv::clInfoBk;
    colorEdgeLight_ = clWhite;
    colorEdgeShadow_ = muv::cl3DDkShadow;
    colorHighlightText_ = muv::clWindowText;
    colorSpezialFrame_ = clWhite;
    colorAllwaysBorder_ = muv::clBtnShadow;
    colorBackground_ = muv::clBtnFace;
    colorDownBackGround_ = clNone;
    colorButtonDownText_ = clBlack;
    resize(64, 24);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    holdTimer_ = new QTimer(this);
    connect(holdTimer_, &QTimer::timeout, this, [this] {
        if (isDown())
            emit OnMouseHold();
        else
            StopHold();
    });
    connect(this, &QAbstractButton::clicked, this, &TMUVButton::HandleClick);
}

TMUVButton::~TMUVButton()
{
    if (--g_liveButtons == 0)
        g_pressedPattern.reset();
}

const QImage &TMUVButton::PressedPattern()
{
    // Also usable before the first button exists (then built on demand and
    // kept until the last button goes).
    if (!g_pressedPattern)
        g_pressedPattern = std::make_unique<QImage>(BuildPressedPattern());
    return *g_pressedPattern;
}

int TMUVButton::LiveButtons()
{
    return g_liveButtons;
}

QImage TMUVButton::MakeGreyGlyph(const QImage &glyph)
{
    return MapGlyph(glyph, [](int l) { return l; });
}

QImage TMUVButton::MakeDisabledGlyph(const QImage &glyph)
{
    return MapGlyph(glyph, [](int l) { return l / 4 + 160; });
}

// ------------------------------------------------------------ properties

void TMUVButton::Changed()
{
    updateGeometry();
    update();
}

void TMUVButton::SetCaption(const QString &caption)
{
    setText(caption);
    UpdateAccessibleName();
    Changed();
}

void TMUVButton::SetCaptionPosition(TTextPosition pos)
{
    captionPosition_ = pos;
    Changed();
}

void TMUVButton::SetGlyph(const QImage &glyph)
{
    glyph_ = glyph;
    grey_ = MakeGreyGlyph(glyph);
    disabled_ = MakeDisabledGlyph(glyph);
    shownColour_ = KeyedOut(glyph_);
    shownGrey_ = KeyedOut(grey_);
    shownDisabled_ = KeyedOut(disabled_);
    Changed();
}

void TMUVButton::SetGlyphName(const QString &name, int size)
{
    SetGlyph(MUVGlyph(name, size));
}

void TMUVButton::SetMargin(int m)
{
    margin_ = qMax(0, m);
    Changed();
}

void TMUVButton::SetEdgestyle(TButtonStyle s)
{
    edgestyle_ = s;
    update();
}

#define MUV_COLOR_SETTER(Name, member)                                                                       \
    void TMUVButton::Set##Name(TColor c)                                                                     \
    {                                                                                                        \
        member = c;                                                                                          \
        update();                                                                                            \
    }
MUV_COLOR_SETTER(ColorHighlight, colorHighlight_)
MUV_COLOR_SETTER(ColorEdgeLight, colorEdgeLight_)
MUV_COLOR_SETTER(ColorEdgeShadow, colorEdgeShadow_)
MUV_COLOR_SETTER(ColorHighlightText, colorHighlightText_)
MUV_COLOR_SETTER(ColorSpezialFrame, colorSpezialFrame_)
MUV_COLOR_SETTER(ColorAllwaysBorder, colorAllwaysBorder_)
MUV_COLOR_SETTER(ColorBackground, colorBackground_)
MUV_COLOR_SETTER(ColorDownBackGround, colorDownBackGround_)
MUV_COLOR_SETTER(ColorButtonDownText, colorButtonDownText_)
#undef MUV_COLOR_SETTER

#define MUV_BOOL_SETTER(Name, member)                                                                        \
    void TMUVButton::Set##Name(bool on)                                                                      \
    {                                                                                                        \
        member = on;                                                                                         \
        update();                                                                                            \
    }
MUV_BOOL_SETTER(SpezialFrame, spezialFrame_)
MUV_BOOL_SETTER(ShowAllwaysSimpleBorder, showAllwaysSimpleBorder_)
MUV_BOOL_SETTER(ShowAllwaysColor, showAllwaysColor_)
MUV_BOOL_SETTER(ShowBackgroundColor, showBackgroundColor_)
MUV_BOOL_SETTER(SimpleAnimation, simpleAnimation_)
MUV_BOOL_SETTER(AllowAllUp, allowAllUp_)
#undef MUV_BOOL_SETTER

void TMUVButton::SetDown(bool down)
{
    down_ = down;
    if (down_)
        ApplyGroupRule();
    SyncChecked();
    update();
}

void TMUVButton::SetGroupIndex(int index)
{
    groupIndex_ = index;
    if (down_)
        ApplyGroupRule();
}

void TMUVButton::SetNormalFlat(bool on)
{
    normalFlat_ = on;
    SyncChecked();
    update();
}

void TMUVButton::SetButtontyp(TButtonTyp t)
{
    buttontyp_ = t;
}

void TMUVButton::SetButton_Execute(const QString &target)
{
    buttonExecute_ = target;
}

void TMUVButton::SetPopupMenu(QMenu *menu)
{
    popupMenu_ = menu;
}

void TMUVButton::SetHint(const QString &hint)
{
    hint_ = hint;
    setToolTip(ShortHint(hint));
    setStatusTip(LongHint(hint));
    setAccessibleDescription(LongHint(hint));
    UpdateAccessibleName();
}

void TMUVButton::SetHoldInterval(int ms)
{
    holdInterval_ = qMax(1, ms);
}

// Assistive tools name the button by its caption, or by its hint when it
// only shows a glyph.
void TMUVButton::UpdateAccessibleName()
{
    QString name = text().trimmed();
    name.remove(QLatin1Char('&'));
    if (name.isEmpty())
        name = ShortHint(hint_).replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
    setAccessibleName(name);
}

// Toggle buttons report their state as "checked" to Qt and to assistive
// tools; the state itself is down_.
void TMUVButton::SyncChecked()
{
    const bool checkable = !normalFlat_;
    if (isCheckable() != checkable)
        setCheckable(checkable);
    if (checkable && isChecked() != down_) {
        const QSignalBlocker block(this);
        setChecked(down_);
    }
}

// ------------------------------------------------------------ behaviour

void TMUVButton::nextCheckState()
{
    // HandleClick decides the new state.
}

void TMUVButton::HandleClick()
{
    const bool ctrl = ctrlAtRelease_;
    ctrlAtRelease_ = false;
    const bool wasDown = down_;
    down_ = !down_;
    if (normalFlat_)
        down_ = false;
    else if (groupIndex_ != 0) {
        // One button of a group stays down unless the group may be all up.
        if (wasDown && !allowAllUp_)
            down_ = true;
        if (down_)
            ApplyGroupRule();
    }
    SyncChecked();
    update();

    if (popupMenu_) {
        const QPoint at = byKeyboard_ ? mapToGlobal(rect().bottomLeft()) : QCursor::pos();
        popupMenu_->popup(at);
        return;
    }
    if (buttontyp_ == typ_execute) {
        if (!platform::ShellOpen(buttonExecute_))
            platform::ShowWarning(QStringLiteral("\"%1\" konnte nicht geöffnet werden.").arg(buttonExecute_));
        return;
    }
    if (ctrl)
        emit OnSTRGClick();
    else
        emit OnClick();
}

// Every other non-flat button of the same group among the siblings goes up.
void TMUVButton::ApplyGroupRule()
{
    if (groupIndex_ == 0 || !parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<TMUVButton *>(Qt::FindDirectChildrenOnly);
    for (TMUVButton *b : siblings) {
        if (b != this && b->groupIndex_ == groupIndex_ && !b->normalFlat_ && b->down_) {
            b->down_ = false;
            b->SyncChecked();
            b->update();
        }
    }
}

bool TMUVButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void TMUVButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (!hovered_) {
        hovered_ = true;
        update();
        emit OnMouseIn();
    }
}

void TMUVButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    if (hovered_) {
        hovered_ = false;
        update();
        emit OnMouseOut();
    }
}

void TMUVButton::mousePressEvent(QMouseEvent *event)
{
    byKeyboard_ = false;
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isDown() &&
        isSignalConnected(QMetaMethod::fromSignal(&TMUVButton::OnMouseHold))) {
        // The repeat runs from the event loop, so the window stays alive
        // while the button is held.
        emit OnMouseHold();
        if (isDown())
            holdTimer_->start(holdInterval_);
    }
}

void TMUVButton::mouseReleaseEvent(QMouseEvent *event)
{
    StopHold();
    ctrlAtRelease_ = event->modifiers().testFlag(Qt::ControlModifier);
    QAbstractButton::mouseReleaseEvent(event);
    ctrlAtRelease_ = false;
}

void TMUVButton::keyPressEvent(QKeyEvent *event)
{
    byKeyboard_ = true;
    // Enter clicks the focused button like Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        ctrlAtRelease_ = event->modifiers().testFlag(Qt::ControlModifier);
        click();
        ctrlAtRelease_ = false;
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TMUVButton::keyReleaseEvent(QKeyEvent *event)
{
    byKeyboard_ = true;
    ctrlAtRelease_ = event->modifiers().testFlag(Qt::ControlModifier);
    QAbstractButton::keyReleaseEvent(event);
    ctrlAtRelease_ = false;
}

void TMUVButton::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            StopHold();
            hovered_ = false;
        } else {
            hovered_ = underMouse();
        }
        update();
    } else if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
}

void TMUVButton::StopHold()
{
    holdTimer_->stop();
}

#include "controls/GraphicHintWindow.h"

#include "controls/glyphs_boxes/box_glyphs.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>
#include <QToolTip>

namespace
{
constexpr int kTitleBottom = 12; // the title bar runs from y = 1 to 12
constexpr int kTextTop = 14;
constexpr int kTextLeft = 2;
constexpr int kBorder = 1; // the window's own frame line
constexpr int kMaxHintWidth = 400;

// Watches every widget for tool tip requests and shows them in the hint
// window; hides the window when the mouse or the keyboard moves on.
class HintFilter : public QObject
{
  public:
    explicit HintFilter(TGraphicHintWindow *window) : QObject(qApp), window_(window)
    {
        hideTimer_.setSingleShot(true);
        connect(&hideTimer_, &QTimer::timeout, this, [this] { HideHint(); });
    }

    void HideHint()
    {
        hideTimer_.stop();
        owner_.clear();
        if (window_)
            window_->hide();
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ToolTip: {
            auto *w = qobject_cast<QWidget *>(watched);
            if (!w || !window_)
                return false;
            const QString tip = w->toolTip();
            // Rich text and widgets that answer tool tips themselves keep
            // Qt's own tool tip.
            if (tip.isEmpty() || Qt::mightBeRichText(tip))
                return false;
            const QString text = TGraphicHintWindow::ShortHint(tip);
            auto *help = static_cast<QHelpEvent *>(event);
            if (text.isEmpty()) {
                HideHint();
                return true;
            }
            if (owner_ == w && window_->isVisible() && window_->Text() == text)
                return true;
            QToolTip::hideText();
            QRect r = window_->CalcHintRect(kMaxHintWidth, text);
            // Below the mouse pointer, as tool tips stand.
            r.moveTopLeft(help->globalPos() + QPoint(0, 20));
            window_->ActivateHint(r, text);
            owner_ = w;
            const int duration = w->toolTipDuration() > 0 ? w->toolTipDuration() : 10000;
            hideTimer_.start(duration);
            return true;
        }
        case QEvent::Leave:
        case QEvent::Hide:
            if (watched == owner_)
                HideHint();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::WindowDeactivate:
            if (owner_ && window_ && window_->isVisible())
                HideHint();
            break;
        default:
            break;
        }
        return false;
    }

  private:
    QPointer<TGraphicHintWindow> window_;
    QPointer<QWidget> owner_;
    QTimer hideTimer_;
};

QPointer<TGraphicHintWindow> &installedWindow()
{
    static QPointer<TGraphicHintWindow> window;
    return window;
}

QPointer<HintFilter> &installedFilter()
{
    static QPointer<HintFilter> filter;
    return filter;
}
} // namespace

TGraphicHintWindow::TGraphicHintWindow(QWidget *parent)
    : QWidget(parent,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(QToolTip::font());
    fade_.setInterval(25);
    connect(&fade_, &QTimer::timeout, this, &TGraphicHintWindow::FadeStep);
}

void TGraphicHintWindow::SetBackground(const QImage &image)
{
    background_ = image;
    update();
}

QString TGraphicHintWindow::ShortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QRect TGraphicHintWindow::CalcHintRect(int maxWidth, const QString &text) const
{
    const QFontMetrics fm(font());
    const QRect t = fm.boundingRect(QRect(0, 0, maxWidth, 0), Qt::AlignLeft | Qt::TextWordWrap, text);
    // Room for the frame and the title bar above the text, so that the
    // last line is never cut off once ActivateHint has added its 14 × 4.
    return QRect(0, 0, t.width() + 6, t.height() + kTextTop - 1 + 2 * kBorder);
}

QRect TGraphicHintWindow::PlaceOnScreen(const QRect &rect, const QRect &screen)
{
    QRect r = rect;
    if (r.right() > screen.right())
        r.moveRight(screen.right());
    if (r.bottom() > screen.bottom())
        r.moveBottom(screen.bottom());
    if (r.left() < screen.left())
        r.moveLeft(screen.left());
    if (r.top() < screen.top())
        r.moveTop(screen.top());
    return r;
}

void TGraphicHintWindow::ActivateHint(const QRect &rect, const QString &text)
{
    text_ = text;
    QRect r = rect.adjusted(0, 0, 14, 4);
    QScreen *screen = QGuiApplication::screenAt(rect.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        r = PlaceOnScreen(r, screen->geometry());
    setGeometry(r);
    // Fade in from almost transparent; windows systems without
    // translucent windows show it at once.
    alpha_ = 25;
    setWindowOpacity(alpha_ / 255.0);
    fade_.start();
    show();
    raise();
    update();
}

void TGraphicHintWindow::FadeStep()
{
    alpha_ = qMin(250, alpha_ + 25);
    setWindowOpacity(alpha_ / 255.0);
    if (alpha_ >= 250)
        fade_.stop();
}

void TGraphicHintWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    if (!background_.isNull())
        p.drawImage(all, background_);
    else
        p.fillRect(all, palette().color(QPalette::ToolTipBase));
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(all.adjusted(0, 0, -1, -1));

    // Inside the frame line.
    p.translate(kBorder, kBorder);
    const int w = width() - 2 * kBorder;
    const QRect title(1, 1, w - 2, kTitleBottom);
    p.fillRect(title, QColor(0, 128, 255));
    p.setPen(Qt::white);
    p.drawRect(title.adjusted(0, 0, -1, -1));

    p.setPen(palette().color(QPalette::ToolTipText));
    p.setFont(font());
    p.drawText(QRect(kTextLeft, kTextTop, w - kTextLeft, height() - kTextTop),
               Qt::AlignLeft | Qt::TextWordWrap, text_);
}

TGraphicHintWindow *TGraphicHintWindow::Install(const QImage &background)
{
    QPointer<TGraphicHintWindow> &window = installedWindow();
    if (!window)
        window = new TGraphicHintWindow;
    window->SetBackground(background);
    if (!installedFilter()) {
        installedFilter() = new HintFilter(window);
        qApp->installEventFilter(installedFilter());
    }
    return window;
}

void TGraphicHintWindow::Uninstall()
{
    if (HintFilter *filter = installedFilter()) {
        qApp->removeEventFilter(filter);
        delete filter;
    }
    delete installedWindow();
}

TGraphicHintWindow *TGraphicHintWindow::Installed()
{
    return installedWindow();
}

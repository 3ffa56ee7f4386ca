#include "controls/MUVPageControl.h"

#include "controls/MUVButtonColors.h"

#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QTimer>

TMUVTabBar::TMUVTabBar(QWidget *parent) : QTabBar(parent)
{
    setDrawBase(false);
}

void TMUVTabBar::SetFlatTabs(bool on)
{
    flat_ = on;
    updateGeometry();
    update();
}

void TMUVTabBar::SetTabSize(QSize size)
{
    tabSize_ = size;
    updateGeometry();
    update();
}

QSize TMUVTabBar::tabSizeHint(int index) const
{
    return flat_ ? tabSize_ : QTabBar::tabSizeHint(index);
}

QSize TMUVTabBar::minimumTabSizeHint(int index) const
{
    return flat_ ? tabSize_ : QTabBar::minimumTabSizeHint(index);
}

void TMUVTabBar::paintEvent(QPaintEvent *event)
{
    if (!flat_) {
        QTabBar::paintEvent(event);
        return;
    }
    QPainter p(this);
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        p.fillRect(r, muv::Q(muv::clBtnFace));
        QFont f = font();
        f.setPointSize(8);
        f.setBold(true);
        const bool current = i == currentIndex();
        f.setUnderline(current);
        p.setFont(f);
        p.setPen(!isTabEnabled(i) ? palette().color(QPalette::Disabled, QPalette::WindowText)
                 : current        ? QColor(0, 0, 255)
                                  : muv::Q(muv::clBtnShadow));
        p.drawText(QRect(r.left(), r.top() + 5, r.width(), r.height() - 5), Qt::AlignHCenter | Qt::AlignTop,
                   tabText(i));
        if (current && hasFocus()) {
            QStyleOptionFocusRect opt;
            opt.initFrom(this);
            opt.rect = r.adjusted(2, 2, -2, -2);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
        }
    }
}

TMUVPageControl::TMUVPageControl(QWidget *parent) : QTabWidget(parent)
{
    tabs_ = new TMUVTabBar(this);
    setTabBar(tabs_);
    setDocumentMode(true);
    connect(this, &QTabWidget::currentChanged, this, [this] { PlacePages(); });
}

void TMUVPageControl::SetFlatTabs(bool on)
{
    tabs_->SetFlatTabs(on);
    PlacePages();
}

void TMUVPageControl::SetTabSize(QSize size)
{
    tabs_->SetTabSize(size);
    PlacePages();
}

QRect TMUVPageControl::PageRect() const
{
    const int top = tabs_->isVisible() ? tabs_->geometry().bottom() + 1 : 0;
    return QRect(0, top, width(), height() - top);
}

// Qt places the pages inside a frame; they take the whole area instead.
void TMUVPageControl::PlacePages()
{
    if (auto *stack = findChild<QStackedWidget *>(QString(), Qt::FindDirectChildrenOnly))
        stack->setGeometry(PageRect());
}

void TMUVPageControl::paintEvent(QPaintEvent *)
{
    // No frame around the pages: only the background.
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
}

void TMUVPageControl::resizeEvent(QResizeEvent *event)
{
    QTabWidget::resizeEvent(event);
    PlacePages();
}

void TMUVPageControl::showEvent(QShowEvent *event)
{
    QTabWidget::showEvent(event);
    PlacePages();
}

void TMUVPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    // The tab widget lays itself out after this; follow it.
    QTimer::singleShot(0, this, [this] { PlacePages(); });
    PlacePages();
}

void TMUVPageControl::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    QTimer::singleShot(0, this, [this] { PlacePages(); });
}

#include "app/status_panels.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

QString TStatusPanel::ShownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(0, contentsRect().width()));
}

void TStatusPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    drawFrame(&p);
    p.setPen(palette().color(foregroundRole()));
    p.drawText(contentsRect(), int(alignment()), ShownText());
}

TStatusPanels::TStatusPanels(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

TStatusPanel *TStatusPanels::AddPanel(const QString &text, int width, Qt::Alignment align, bool bevel)
{
    auto *panel = new TStatusPanel(text, this);
    panel->setAlignment(align | Qt::AlignVCenter);
    panel->setFrameStyle(bevel ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
    panel->setContentsMargins(2, 0, 2, 0);
    panels_.push_back(panel);
    widths_.push_back(width);
    Arrange();
    return panel;
}

void TStatusPanels::SetPanelWidth(int index, int width)
{
    widths_[std::size_t(index)] = width;
    Arrange();
}

QSize TStatusPanels::sizeHint() const
{
    int w = 0;
    for (int width : widths_)
        w += width;
    return QSize(w, minimumSizeHint().height());
}

QSize TStatusPanels::minimumSizeHint() const
{
    return QSize(0, fontMetrics().height() + 6);
}

void TStatusPanels::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void TStatusPanels::Arrange()
{
    int x = 0;
    const int h = height();
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int room = std::max(0, width() - x);
        const int w = last ? std::max(room, 0) : std::min(widths_[i], room);
        panels_[i]->setGeometry(x, 0, w, h);
        panels_[i]->setVisible(w > 0);
        x += w;
    }
}

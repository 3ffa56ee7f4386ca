#include "controls/MUVPanel.h"

#include "controls/MUVButtonColors.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

TMUVPanel::TMUVPanel(QWidget *parent) : QWidget(parent)
{
    color_ = muv::clBtnFace;
    backgroundColor_ = muv::clBtnFace;
    borderColor_ = muv::clBtnShadow;
    // Painted in one go; no flicker when the panel is resized.
    setAttribute(Qt::WA_OpaquePaintEvent);
    Changed();
}

TMUVPanel::TMUVPanel(const QString &caption, QWidget *parent) : TMUVPanel(parent)
{
    SetCaption(caption);
}

void TMUVPanel::Changed()
{
    // Controls laid out on the panel keep clear of the frame and caption.
    const QFontMetrics fm(CaptionFont());
    const int m = borderMargin_;
    const int top = caption_.isEmpty() ? (m > 0 ? fm.height() / 2 + 4 : 0) : fm.height() + 2;
    const int side = m > 0 ? m + 5 : 0;
    setContentsMargins(side, top, side, m > 0 ? m + 5 : 0);
    update();
}

void TMUVPanel::SetCaption(const QString &caption)
{
    caption_ = caption;
    setAccessibleName(caption);
    Changed();
}

void TMUVPanel::SetCaptionPosition(TPanelTextPosition pos)
{
    captionPosition_ = pos;
    update();
}

QFont TMUVPanel::CaptionFont() const
{
    return captionFontSet_ ? captionFont_ : font();
}

void TMUVPanel::SetCaptionFont(const QFont &font)
{
    captionFont_ = font;
    captionFontSet_ = true;
    Changed();
}

void TMUVPanel::SetColor(TColor c)
{
    color_ = c;
    update();
}

void TMUVPanel::SetBackgroundColor(TColor c)
{
    backgroundColor_ = c;
    update();
}

void TMUVPanel::SetBorderColor(TColor c)
{
    borderColor_ = c;
    update();
}

void TMUVPanel::SetBorderMargin(int m)
{
    borderMargin_ = qMax(0, m);
    Changed();
}

void TMUVPanel::SetBorderRound(bool on)
{
    borderRound_ = on;
    update();
}

void TMUVPanel::SetBackgroundBMP(const QImage &image)
{
    backgroundBmp_ = image;
    update();
}

void TMUVPanel::SetBackgroundBMPStyle(TPanelBkStyle s)
{
    backgroundBmpStyle_ = s;
    update();
}

void TMUVPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Changed();
}

QString TMUVPanel::ShownCaption() const
{
    return QLatin1Char(' ') + caption_ + QLatin1Char(' ');
}

QRect TMUVPanel::FrameRect() const
{
    if (borderMargin_ == 0)
        return {};
    const QFontMetrics fm(CaptionFont());
    const int top = fm.boundingRect(QStringLiteral("A")).height() / 2;
    const int left = borderMargin_ + 1;
    const int right = width() - borderMargin_ - 1;
    const int bottom = height() - borderMargin_ - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect TMUVPanel::CaptionRect() const
{
    if (caption_.isEmpty())
        return {};
    const QFontMetrics fm(CaptionFont());
    const QString text = ShownCaption();
    const int tw = fm.horizontalAdvance(text);
    // Without a frame the caption sits where the frame would be.
    const int left = borderMargin_ + 1;
    const int right = width() - borderMargin_ - 1;
    int x = 0;
    switch (captionPosition_) {
    case tpp_left:
        x = left + 3 * borderMargin_;
        break;
    case tpp_middle:
        x = left + (right - left - tw) / 2;
        break;
    case ttp_right:
        x = right - 2 * borderMargin_ - tw;
        break;
    }
    return QRect(x, 0, tw, fm.height());
}

void TMUVPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!backgroundBmp_.isNull()) {
        if (backgroundBmpStyle_ == pbk_stretch)
            p.drawImage(rect(), backgroundBmp_);
        else
            p.drawTiledPixmap(rect(), QPixmap::fromImage(backgroundBmp_));
    } else {
        p.fillRect(rect(), muv::IsNone(color_) ? palette().color(QPalette::Window) : muv::Q(color_));
    }

    const QRect frame = FrameRect();
    if (!frame.isEmpty()) {
        p.setPen(muv::IsNone(borderColor_) ? QPen(Qt::NoPen) : QPen(muv::Q(borderColor_), 1));
        p.setBrush(muv::IsNone(backgroundColor_) ? QBrush(Qt::NoBrush) : QBrush(muv::Q(backgroundColor_)));
        // Corners of 6 x 6 pixels, as a window-system round rectangle.
        const QRect r = frame.adjusted(0, 0, -1, -1);
        if (borderRound_) {
            p.setRenderHint(QPainter::Antialiasing);
            p.drawRoundedRect(QRectF(r).translated(0.5, 0.5), 3, 3);
            p.setRenderHint(QPainter::Antialiasing, false);
        } else {
            p.drawRect(r);
        }
    }

    const QRect cap = CaptionRect();
    if (cap.isEmpty())
        return;
    p.setFont(CaptionFont());
    if (!frame.isEmpty()) {
        // The frame's top edge is taken out under the caption.
        p.fillRect(QRect(cap.left(), frame.top(), cap.width() + 1, 1),
                   muv::IsNone(color_) ? palette().color(QPalette::Window) : muv::Q(color_));
    }
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(cap, Qt::AlignLeft | Qt::AlignTop, ShownCaption());
}

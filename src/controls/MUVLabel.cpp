#include "controls/MUVLabel.h"

#include "platform/shell_open.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace
{
constexpr TColor kBtnFace = TColor(0x8000000F);
constexpr TColor kBtnShadow = TColor(0x80000010);
constexpr TColor kBtnHighlight = TColor(0x80000014);
constexpr TColor kNoChooseGray = 0x808080;
const QString kDots = QStringLiteral("...");

QColor Q(TColor c)
{
    return canvas::ToQColor(c);
}
} // namespace

namespace muvtext
{

QString ShortenCaption(const QString &text, const QFontMetrics &fm, int maxWidth)
{
    if (fm.horizontalAdvance(text) <= maxWidth)
        return text;
    int n = int(text.size()) - 1;
    while (n > 2 && fm.horizontalAdvance(text.left(n) + kDots) > maxWidth)
        --n;
    return text.left(qMax(n, 2)) + kDots;
}

PathParts ShortenPathParts(const QString &path, const QFontMetrics &headFm, const QFontMetrics &lastFm,
                           int maxWidth)
{
    const QChar sep = path.contains(QLatin1Char('/')) || !path.contains(QLatin1Char('\\'))
                          ? QLatin1Char('/')
                          : QLatin1Char('\\');
    const int cut = int(path.lastIndexOf(sep));
    PathParts whole{path.left(cut + 1), path.mid(cut + 1)};
    auto width = [&](const PathParts &p) {
        return headFm.horizontalAdvance(p.head) + lastFm.horizontalAdvance(p.last);
    };
    if (width(whole) <= maxWidth)
        return whole;

    const QStringList parts = path.split(sep);
    const int n = int(parts.size());
    if (n == 1)
        return PathParts{QString(), ShortenCaption(path, lastFm, maxWidth)};
    // The head kept in front: the root and the first folder ("/home", "C:").
    int keep = 0;
    while (keep < n - 1 && parts[keep].isEmpty())
        ++keep;
    const QString head = QStringList(parts.mid(0, keep + 1)).join(sep);
    if (keep < n - 1) {
        for (int from = keep + 1; from < n; ++from) {
            const QString middle = QStringList(parts.mid(from, n - 1 - from)).join(sep);
            PathParts p{head + sep + kDots + sep + (middle.isEmpty() ? QString() : middle + sep),
                        parts.last()};
            if (from == keep + 1)
                continue; // nothing left out yet
            if (width(p) <= maxWidth)
                return p;
        }
    }
    PathParts tail{kDots + sep, parts.last()};
    if (width(tail) <= maxWidth)
        return tail;
    return PathParts{QString(), ShortenCaption(parts.last(), lastFm, maxWidth)};
}

QString ShortenPath(const QString &path, const QFontMetrics &fm, int maxWidth)
{
    const PathParts p = ShortenPathParts(path, fm, fm, maxWidth);
    return p.head + p.last;
}

} // namespace muvtext

TMUVLabel::TMUVLabel(QWidget *parent) : QWidget(parent)
{
    resize(200, 20);
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(8);
    setFont(f);
    execute_ = QStringLiteral("mailto:dorlix@localhost");
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
}

void TMUVLabel::SetCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    setAccessibleName(caption);
    update();
    if (isVisible())
        emit OnChange(this);
}

void TMUVLabel::SetNoChooseCaption(const QString &text)
{
    noChooseCaption_ = text;
    update();
}

void TMUVLabel::SetLabelTyp(TMUVLabelTyp typ)
{
    typ_ = typ;
    if (typ == lthyperlink) {
        fontColor_ = clBlue;
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        // Links are reached with Tab and opened with Enter or Space.
        setFocusPolicy(Qt::StrongFocus);
    } else {
        setFocusPolicy(Qt::NoFocus);
    }
    if (!IsEffectTyp())
        effectImage_ = QImage();
    effectText_.clear();
    if (hovered_)
        setCursor(typ == lthyperlink ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void TMUVLabel::SetLabelLayout(TMUVLabelLayout layout)
{
    layout_ = layout;
    update();
}

void TMUVLabel::SetLabelBevel(TMUVLabelBevel bevel)
{
    bevel_ = bevel;
    update();
}

void TMUVLabel::SetLabelExecute(const QString &target)
{
    execute_ = target;
    update();
}

void TMUVLabel::SetBorders(int borders)
{
    borders_ = borders;
    update();
}

#define MUV_LABEL_SETTER(Name, member)                                                                       \
    void TMUVLabel::Set##Name(TColor c)                                                                      \
    {                                                                                                        \
        member = c;                                                                                          \
        effectText_.clear();                                                                                 \
        update();                                                                                            \
    }
MUV_LABEL_SETTER(Color, color_)
MUV_LABEL_SETTER(ColorHoover, colorHoover_)
MUV_LABEL_SETTER(ColorHooverText, colorHooverText_)
MUV_LABEL_SETTER(ColorGlow, colorGlow_)
MUV_LABEL_SETTER(ColorSingleBorder, colorSingleBorder_)
MUV_LABEL_SETTER(ColorEllipsesLine, colorEllipsesLine_)
MUV_LABEL_SETTER(ColorBorder, colorBorder_)
MUV_LABEL_SETTER(FontColor, fontColor_)
#undef MUV_LABEL_SETTER

void TMUVLabel::SetCaptionMarginTop(int px)
{
    captionMarginTop_ = px;
    update();
}

void TMUVLabel::SetShowEllipses(bool show)
{
    showEllipses_ = show;
    update();
}

void TMUVLabel::SetGlyph(const QPixmap &glyph)
{
    glyph_ = glyph;
    update();
}

void TMUVLabel::SetFont(const QFont &f)
{
    setFont(f);
    effectText_.clear();
    update();
}

QSize TMUVLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(qMax(200, fm.horizontalAdvance(caption_) + 16), qMax(20, fm.height() + 4));
}

int TMUVLabel::AvailableTextWidth() const
{
    if (typ_ == ltfile) {
        int w = width() - 12;
        if (showEllipses_) {
            QFont bold = font();
            bold.setBold(true);
            w -= QFontMetrics(bold).horizontalAdvance(QChar(0x2026));
        }
        return w;
    }
    const int glyphWidth = glyph_.isNull() ? 0 : int(glyph_.width() / glyph_.devicePixelRatio());
    return width() - glyphWidth - 12;
}

QString TMUVLabel::DisplayedText() const
{
    if (typ_ == ltshadowed || typ_ == ltprinter)
        return QString();
    const QString text = caption_.isEmpty() ? noChooseCaption_ : caption_;
    const QFontMetrics fm(font());
    if (typ_ == ltfile && !caption_.isEmpty())
        return muvtext::ShortenPath(text, fm, AvailableTextWidth());
    return muvtext::ShortenCaption(text, fm, AvailableTextWidth());
}

QRect TMUVLabel::TextRect() const
{
    const QFontMetrics fm(font());
    const QString text = DisplayedText();
    const int tw = fm.horizontalAdvance(text);
    const int th = fm.height();
    const int gw = glyph_.isNull() ? 0 : int(glyph_.width() / glyph_.devicePixelRatio());
    const int gap = gw > 0 ? 4 : 0;
    const int total = gw + gap + tw;
    int x = 4;
    switch (layout_) {
    case lylefttop:
    case lycenterleft:
        x = 4;
        break;
    case lycentertop:
    case lycenter:
    case lycenterbottom:
        x = (width() - total) / 2;
        break;
    case lyrighttop:
    case lycenterright:
        x = width() - 3 - total;
        break;
    }
    int y;
    switch (layout_) {
    case lylefttop:
    case lycentertop:
    case lyrighttop:
        y = 2;
        break;
    case lycenterbottom:
        y = height() - th - 2;
        break;
    default:
        y = (height() - th) / 2;
        break;
    }
    return QRect(x + gw + gap, y + captionMarginTop_, tw, th);
}

QColor TMUVLabel::TextColour() const
{
    if (caption_.isEmpty())
        return Q(kNoChooseGray);
    return Q(hovered_ ? colorHooverText_ : fontColor_);
}

QImage TMUVLabel::EffectImage(const QString &text) const
{
    if (text == effectText_ && !effectImage_.isNull())
        return effectImage_;
    QFont f = font();
    f.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(f);
    const QSize size(fm.horizontalAdvance(text) + 8, fm.height() + 8);
    // The text alone, black on button face, to find its pixels.
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Q(kBtnFace));
    {
        QPainter p(&mask);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(4, 4, size.width() - 4, fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
    }
    auto isText = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < size.width() && y < size.height() &&
               (mask.pixel(x, y) & 0xFFFFFF) == 0;
    };
    const QColor glow = Q(colorGlow_);
    const QColor light = Qt::white;
    const QColor dark(128, 128, 128);
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (!isText(x, y))
                continue;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if ((dx == 0 && dy == 0) || isText(nx, ny) || nx < 0 || ny < 0 || nx >= size.width() ||
                        ny >= size.height())
                        continue;
                    // Left, upper-left and upper neighbours face the light.
                    const bool lit = (dx == -1 && dy <= 0) || (dx == 0 && dy == -1);
                    QColor c = glow;
                    if (typ_ == ltraised)
                        c = lit ? light : dark;
                    else if (typ_ == ltlowered)
                        c = lit ? dark : light;
                    out.setPixelColor(nx, ny, c);
                }
            }
        }
    }
    {
        QPainter p(&out);
        p.setFont(f);
        p.setPen(Q(fontColor_));
        p.drawText(QRect(4, 4, size.width() - 4, fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
    }
    effectText_ = text;
    effectImage_ = out;
    return out;
}

void TMUVLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    if (hovered_ && typ_ == lthoover && isEnabled())
        p.fillRect(r, Q(colorHoover_));
    else if (color_ != clNone)
        p.fillRect(r, Q(color_));

    // Bevel and border lines.
    const QColor light = Q(kBtnHighlight), shadow = Q(kBtnShadow);
    const int R = width() - 1, B = height() - 1;
    if (bevel_ == bfraised || bevel_ == bflowered) {
        const QColor tl = bevel_ == bfraised ? light : shadow;
        const QColor br = bevel_ == bfraised ? shadow : light;
        p.setPen(tl);
        p.drawLine(0, 0, R, 0);
        p.drawLine(0, 0, 0, B);
        p.setPen(br);
        p.drawLine(0, B, R, B);
        p.drawLine(R, 0, R, B);
    } else if (bevel_ == bfsingle && colorSingleBorder_ != clNone) {
        p.setPen(Q(colorSingleBorder_));
        p.drawRect(0, 0, R, B);
    }
    if (borders_ != 0 && colorBorder_ != clNone) {
        p.setPen(Q(colorBorder_));
        if (borders_ & blbl_Left)
            p.drawLine(0, 0, 0, B);
        if (borders_ & blbl_top)
            p.drawLine(0, 0, R, 0);
        if (borders_ & blbl_right)
            p.drawLine(R, 0, R, B);
        if (borders_ & blbl_bottom)
            p.drawLine(0, B, R, B);
    }

    const QString text = DisplayedText();
    const QRect tr = TextRect();
    if (!glyph_.isNull() && typ_ != ltshadowed && typ_ != ltprinter) {
        const QSize gs = (QSizeF(glyph_.size()) / glyph_.devicePixelRatio()).toSize();
        const int gap = 4;
        p.drawPixmap(tr.left() - gap - gs.width(), tr.center().y() - gs.height() / 2 + 1, glyph_);
    }
    p.setFont(font());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    const QRect drawRect = tr.adjusted(0, 0, 1, 0);
    if (!text.isEmpty()) {
        if (!isEnabled()) {
            p.setPen(Qt::white);
            p.drawText(drawRect.translated(1, 1), flags, text);
            p.setPen(shadow);
            p.drawText(drawRect, flags, text);
        } else if (IsEffectTyp() && !caption_.isEmpty()) {
            p.drawImage(tr.topLeft() - QPoint(4, 4), EffectImage(text));
        } else {
            p.setPen(TextColour());
            p.drawText(drawRect, flags, text);
        }
    }

    if (showEllipses_) {
        QFont bold = font();
        bold.setBold(true);
        bold.setUnderline(false);
        const QFontMetrics bfm(bold);
        const QString dots(QChar(0x2026));
        const int ew = bfm.horizontalAdvance(dots);
        const int ex = width() - ew - 3;
        if (bevel_ == bfsingle && hovered_ && colorEllipsesLine_ != clNone) {
            p.setPen(Q(colorEllipsesLine_));
            p.drawLine(ex - 3, 1, ex - 3, B - 1);
        }
        p.setFont(bold);
        p.setPen(isEnabled() ? TextColour() : shadow);
        p.drawText(QRect(ex, 0, ew + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, dots);
    }

    if (hasFocus()) {
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(tr.adjusted(-2, 0, 1, -1).intersected(r.adjusted(0, 0, -1, -1)));
    }
}

void TMUVLabel::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!isEnabled())
        return;
    hovered_ = true;
    if (typ_ == lthyperlink)
        setCursor(Qt::PointingHandCursor);
    update();
    emit OnMouseEnter(this);
}

void TMUVLabel::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    const bool was = hovered_;
    hovered_ = false;
    pressed_ = false;
    unsetCursor();
    update();
    if (was)
        emit OnMouseLeave(this);
}

void TMUVLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    QWidget::mousePressEvent(event);
}

void TMUVLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        Activate();
}

void TMUVLabel::keyPressEvent(QKeyEvent *event)
{
    if (typ_ == lthyperlink &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        Activate();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TMUVLabel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled() && hovered_) {
        hovered_ = false;
        unsetCursor();
        update();
    } else if (event->type() == QEvent::FontChange) {
        effectText_.clear();
    }
}

void TMUVLabel::Activate()
{
    emit OnClick(this);
    // A link that cannot be opened is no error of the program's.
    if (typ_ == lthyperlink && isEnabled())
        platform::ShellOpen(execute_);
}

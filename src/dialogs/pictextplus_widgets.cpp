#include "dialogs/pictextplus_widgets.h"

#include "canvas/tcolor.h"
#include "model/picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>

TFieldColourSwatch::TFieldColourSwatch(bool round, QWidget *parent) : QWidget(parent), round_(round)
{
    setCursor(Qt::PointingHandCursor);
}

void TFieldColourSwatch::SetColour(TColor colour)
{
    colour_ = colour;
    update();
}

void TFieldColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::Dark), 1));
    if (colour_ == clNone)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(canvas::ToQColor(colour_));
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (round_)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 3, 3);
}

void TFieldColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit MouseUp(this);
}

TFieldPicturePreview::TFieldPicturePreview(QWidget *parent) : QWidget(parent) {}

TFieldPicturePreview::~TFieldPicturePreview() = default;

void TFieldPicturePreview::SetPicture(std::unique_ptr<TPicture> picture)
{
    picture_ = std::move(picture);
    update();
}

void TFieldPicturePreview::paintEvent(QPaintEvent *)
{
    if (!picture_)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    picture_->Draw(p, QRectF(rect()));
}

TFieldMemo::TFieldMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        changeStart_ = position;
        changeAdded_ = added;
    });
    connect(this, &QPlainTextEdit::textChanged, this, &TFieldMemo::Limit);
}

int TFieldMemo::FieldLength(const QString &text)
{
    int n = 0;
    for (const char32_t c : text.toUcs4())
        n += (c == U'\n' || c == 0x2029) ? 2 : 1;
    return n;
}

void TFieldMemo::Limit()
{
    if (limiting_)
        return;
    const QString text = toPlainText();
    int excess = FieldLength(text) - maxLength_;
    if (excess > 0) {
        // Cut the end of what was just inserted, as a limited edit box
        // refuses the characters that do not fit.
        limiting_ = true;
        const int end = std::min<int>(changeStart_ + changeAdded_, int(text.size()));
        int start = end;
        while (excess > 0 && start > 0) {
            --start;
            excess -= text[start] == QLatin1Char('\n') ? 2 : 1;
            if (start > 0 && text[start].isLowSurrogate() && text[start - 1].isHighSurrogate())
                --start; // one character, two code units
        }
        QTextCursor cursor(document());
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        setTextCursor(cursor);
        limiting_ = false;
    }
    emit Changed();
}

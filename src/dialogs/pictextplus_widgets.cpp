#include "dialogs/pictextplus_widgets.h"

#include "canvas/tcolor.h"
#include "model/picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>

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

#include "model/text_template.h"

#include <QStringList>

namespace
{

constexpr int kMaxNumberWidth = 18;
const QString kLineBreak = QStringLiteral("\r\n");

// The piece a "{…}" stands for, from what lies between the braces.
TTextPiece placeholder(const QString &inner, const QString &written)
{
    TTextPiece piece;
    piece.text = written;
    const QString name = inner.trimmed();
    if (name == QLatin1String("#")) {
        piece.kind = TTextPiece::Number;
        return piece;
    }
    if (name.startsWith(QLatin1String("#:"))) {
        const QString pad = name.mid(2);
        if (!pad.isEmpty() && pad.size() <= kMaxNumberWidth && pad.count(QLatin1Char('0')) == pad.size()) {
            piece.kind = TTextPiece::Number;
            piece.width = int(pad.size());
            return piece;
        }
    }
    piece.kind = TTextPiece::Column;
    bool isNumber = false;
    const int number = name.toInt(&isNumber);
    if (isNumber && number >= 1 && !name.startsWith(QLatin1Char('+')))
        piece.column = number - 1;
    else
        piece.name = name;
    return piece;
}

void appendLiteral(std::vector<TTextPiece> &line, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!line.empty() && line.back().kind == TTextPiece::Literal)
        line.back().text += text;
    else
        line.push_back(TTextPiece{TTextPiece::Literal, text, QString(), -1, 0});
}

std::vector<TTextPiece> parseLine(const QString &line)
{
    std::vector<TTextPiece> pieces;
    QString literal;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const bool doubled = i + 1 < line.size() && line[i + 1] == c;
        if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && doubled) {
            literal += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('{')) {
            const qsizetype close = line.indexOf(QLatin1Char('}'), i + 1);
            const qsizetype nextOpen = line.indexOf(QLatin1Char('{'), i + 1);
            const bool closed = close > i + 1 && (nextOpen < 0 || nextOpen > close);
            if (closed) {
                const QString inner = line.mid(i + 1, close - i - 1);
                if (!inner.trimmed().isEmpty()) {
                    appendLiteral(pieces, literal);
                    literal.clear();
                    pieces.push_back(placeholder(inner, line.mid(i, close - i + 1)));
                    i = close;
                    continue;
                }
            }
        }
        literal += c;
    }
    appendLiteral(pieces, literal);
    return pieces;
}

} // namespace

bool TTextTemplate::HasPlaceholder() const
{
    for (const auto &line : lines)
        for (const TTextPiece &p : line)
            if (p.kind != TTextPiece::Literal)
                return true;
    return false;
}

TTextTemplate ParseTextTemplate(const QString &text)
{
    TTextTemplate t;
    for (const QString &line : text.split(kLineBreak))
        t.lines.push_back(parseLine(line));
    return t;
}

bool HasPlaceholder(const QString &text)
{
    return text.contains(QLatin1Char('{')) && ParseTextTemplate(text).HasPlaceholder();
}

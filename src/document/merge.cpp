#include "document/merge.h"

#include "model/data_list.h"
#include "model/field_kind.h"
#include "model/rs.h"
#include "platform/codepage.h"

#include <algorithm>

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

QString number(std::int64_t n, int width)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// Line breaks inside a value become the field's own.
QString asFieldLines(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    value.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    value.replace(QLatin1Char('\n'), kLineBreak);
    return value;
}

} // namespace

std::vector<TLabelPlace> LabelPlaces(const TRS &sheet, TFillOrder order)
{
    std::vector<TLabelPlace> places;
    const bool byRows = order == TFillOrder::Rows;
    const int outer = byRows ? sheet.RowCount : sheet.ColumnCount;
    const int inner = byRows ? sheet.ColumnCount : sheet.RowCount;
    for (int o = 0; o < outer; ++o)
        for (int i = 0; i < inner; ++i) {
            const int column = byRows ? i : o, row = byRows ? o : i;
            const TRSObject *f = sheet.GetField(column, row);
            if (!f)
                continue;
            const bool takes =
                f->Visible && IsTextKind(f->Kind) && HasPlaceholder(platform::FromAnsi(f->Text));
            places.push_back({column, row, takes});
        }
    return places;
}

std::size_t TMergeSource::RecordCount() const
{
    if (List)
        return List->RecordCount();
    return Count > 0 ? std::size_t(Count) : 0;
}

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

bool TMerge::Prepare(const TRS &sheet, const TMergeSource &source, const TMergeOptions &options,
                     QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    *this = TMerge();
    sheet_ = &sheet;
    source_ = source;
    options_ = options;

    if (!source.List && (source.Count < 1 || source.Count > kMaxMergeCount)) {
        why = QStringLiteral("Die Anzahl der Etiketten muss zwischen 1 und %L1 liegen.").arg(kMaxMergeCount);
        return false;
    }
    if (!source.List && (source.First < 0 || source.First > 999999999 - source.Count)) {
        why = QStringLiteral("Die erste Nummer muss zwischen 0 und 999.999.999 liegen.");
        return false;
    }
    records_ = source.RecordCount();
    if (records_ == 0) {
        why = QStringLiteral("Die Liste enthält keine Datensätze.");
        return false;
    }

    QStringList unknown;
    for (const TLabelPlace &label : LabelPlaces(sheet, options.Order)) {
        const TRSObject *f = sheet.GetField(label.column, label.row);
        TPlace place{label.column, label.row};
        if (IsTextKind(f->Kind) && f->Text.find_first_of("{}") != std::string::npos) {
            TTextTemplate t = ParseTextTemplate(platform::FromAnsi(f->Text));
            for (auto &line : t.lines)
                for (TTextPiece &p : line) {
                    if (p.kind != TTextPiece::Column)
                        continue;
                    if (source.List && !p.name.isEmpty())
                        p.column = source.List->ColumnOf(p.name);
                    else if (!source.List || p.column >= source.List->ColumnCount())
                        p.column = -1;
                    if (p.column < 0 && !unknown.contains(p.text))
                        unknown.append(p.text);
                }
            place.takesRecord = label.takesRecord;
            place.text = int(templates_.size());
            templates_.push_back(std::move(t));
        }
        if (place.takesRecord)
            ++fillPlaces_;
        places_.push_back(place);
    }

    if (!unknown.isEmpty()) {
        const QString names = unknown.join(QStringLiteral(", "));
        if (!source.List)
            why = QStringLiteral("%1: ohne Liste gibt es nur die laufende Nummer {#}.").arg(names);
        else
            why = QStringLiteral("%1 %2 zu keiner Spalte der Liste.\r\nDie Liste hat die Spalten: %3")
                      .arg(unknown.size() == 1 ? QStringLiteral("Der Platzhalter ") + names
                                               : QStringLiteral("Die Platzhalter ") + names,
                           unknown.size() == 1 ? QStringLiteral("passt") : QStringLiteral("passen"),
                           source.List->HeadingsText());
        return false;
    }
    if (fillPlaces_ == 0) {
        why = QStringLiteral("Kein sichtbares Textfeld des Bogens enthält einen Platzhalter wie {Name}, {1} "
                             "oder {#}.");
        return false;
    }
    if (options.StartLabel < 1 || options.StartLabel > int(places_.size())) {
        why = QStringLiteral("Das Startetikett muss zwischen 1 und %1 liegen.").arg(places_.size());
        return false;
    }
    firstPageFill_ = int(std::count_if(places_.begin() + (options.StartLabel - 1), places_.end(),
                                       [](const TPlace &p) { return p.takesRecord; }));
    if (firstPageFill_ == 0) {
        why = QStringLiteral("Ab dem Startetikett %1 enthält kein Feld mehr einen Platzhalter.")
                  .arg(options.StartLabel);
        return false;
    }
    pageCount_ = 1;
    if (records_ > std::size_t(firstPageFill_))
        pageCount_ += int((records_ - std::size_t(firstPageFill_) + std::size_t(fillPlaces_) - 1) /
                          std::size_t(fillPlaces_));
    return true;
}

QString TMerge::Fill(const TTextTemplate &t, std::size_t record) const
{
    QStringList lines;
    for (const auto &line : t.lines) {
        QString text;
        bool placeholders = false;
        for (const TTextPiece &p : line) {
            switch (p.kind) {
            case TTextPiece::Literal:
                text += p.text;
                break;
            case TTextPiece::Column:
                placeholders = true;
                text += asFieldLines(source_.List ? source_.List->Value(record, p.column) : QString());
                break;
            case TTextPiece::Number:
                placeholders = true;
                text += number((source_.List ? 1 : source_.First) + std::int64_t(record), p.width);
                break;
            }
        }
        // An address without a second street line loses that line, not
        // just its text.
        if (placeholders && text.trimmed().isEmpty())
            continue;
        lines.append(text);
    }
    return lines.join(kLineBreak);
}

void TMerge::FillPage(int page, TRS &copy, std::vector<std::pair<int, int>> *filled) const
{
    copy.Assign(*sheet_);
    if (filled)
        filled->clear();
    if (page < 0 || page >= pageCount_)
        return;
    std::size_t record = page == 0 ? 0 : std::size_t(firstPageFill_) + std::size_t(page - 1) * fillPlaces_;
    for (std::size_t i = 0; i < places_.size(); ++i) {
        const TPlace &place = places_[i];
        TRSObject *f = copy.GetField(place.column, place.row);
        if (!f)
            continue;
        if (page == 0 && int(i) < options_.StartLabel - 1) {
            f->Visible = false; // already used
            continue;
        }
        if (!place.takesRecord) {
            if (place.text >= 0)
                f->Text = platform::ToAnsi(Fill(templates_[std::size_t(place.text)], 0));
            continue;
        }
        if (record >= records_) {
            f->Visible = false;
            continue;
        }
        f->Text = platform::ToAnsi(Fill(templates_[std::size_t(place.text)], record++));
        if (filled)
            filled->push_back({place.column, place.row});
    }
}

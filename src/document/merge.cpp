#include "document/merge.h"

#include "model/barcode.h"
#include "model/data_list.h"
#include "model/field_kind.h"
#include "model/rs.h"
#include "platform/codepage.h"

#include <algorithm>

namespace
{

const QString kLineBreak = QStringLiteral("\r\n");

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
            const TBarcodeSettings *code = FieldBarcode(*f);
            const bool takes =
                f->Visible && (IsTextKind(f->Kind) ? HasPlaceholder(platform::FromAnsi(f->Text))
                                                   : code && BarcodeHasPlaceholder(*code));
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
        place.takesRecord = label.takesRecord;
        if (IsTextKind(f->Kind) && f->Text.find_first_of("{}") != std::string::npos) {
            TTextTemplate t = ParseTextTemplate(platform::FromAnsi(f->Text));
            ResolveColumns(t, unknown);
            place.text = int(templates_.size());
            templates_.push_back(std::move(t));
        } else if (label.takesRecord) {
            TCodeTemplate code{*FieldBarcode(*f), ParseTextTemplate(FieldBarcode(*f)->data)};
            ResolveColumns(code.data, unknown);
            place.code = int(codes_.size());
            codes_.push_back(std::move(code));
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
        why =
            QStringLiteral("Kein sichtbares Textfeld und kein Code des Bogens enthält einen Platzhalter wie "
                           "{Name}, {1} oder {#}.");
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
    return codes_.empty() || CheckCodes(why);
}

void TMerge::ResolveColumns(TTextTemplate &t, QStringList &unknown) const
{
    for (auto &line : t.lines)
        for (TTextPiece &p : line) {
            if (p.kind != TTextPiece::Column)
                continue;
            if (source_.List && !p.name.isEmpty())
                p.column = source_.List->ColumnOf(p.name);
            else if (!source_.List || p.column >= source_.List->ColumnCount())
                p.column = -1;
            if (p.column < 0 && !unknown.contains(p.text))
                unknown.append(p.text);
        }
}

// Every record goes through the code of the place it lands on, so a list
// with one bad entry stops before the first page is printed, not halfway.
bool TMerge::CheckCodes(QString &why) const
{
    std::vector<int> first, later; // the places of page one, of every other page
    for (std::size_t i = 0; i < places_.size(); ++i) {
        if (!places_[i].takesRecord)
            continue;
        if (int(i) >= options_.StartLabel - 1)
            first.push_back(int(i));
        later.push_back(int(i));
    }
    for (std::size_t record = 0; record < records_; ++record) {
        const std::size_t slot = record < first.size()
                                     ? std::size_t(first[record])
                                     : std::size_t(later[(record - first.size()) % later.size()]);
        const TPlace &place = places_[slot];
        if (place.code < 0)
            continue;
        const TCodeTemplate &code = codes_[std::size_t(place.code)];
        TBarcodeSettings filled = code.settings;
        filled.data = Fill(code.data, record);
        QString error;
        if (filled.data.isEmpty() || CheckBarcode(filled, &error))
            continue;
        const QString which = source_.List
                                  ? QStringLiteral("Datensatz %L1").arg(record + 1)
                                  : QStringLiteral("Nummer %L1").arg(source_.First + std::int64_t(record));
        why = QStringLiteral("%1 lässt sich nicht als Code in Spalte %2, Reihe %3 darstellen:\r\n%4")
                  .arg(which)
                  .arg(place.column + 1)
                  .arg(place.row + 1)
                  .arg(error);
        return false;
    }
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
        if (place.code >= 0) {
            TBarcodeSettings code = codes_[std::size_t(place.code)].settings;
            code.data = Fill(codes_[std::size_t(place.code)].data, record++);
            // Checked when prepared; a record without data gets no code.
            if (code.data.isEmpty() || !SetFieldBarcode(*f, code, nullptr)) {
                f->Visible = false;
                continue;
            }
        } else {
            f->Text = platform::ToAnsi(Fill(templates_[std::size_t(place.text)], record++));
        }
        if (filled)
            filled->push_back({place.column, place.row});
    }
}

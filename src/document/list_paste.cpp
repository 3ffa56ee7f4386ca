#include "document/list_paste.h"

#include "document/document.h"
#include "model/field_kind.h"
#include "model/rs.h"

#include <QStringList>

#include <vector>

namespace
{
// The lines of the text without the empty ones at its end; the cells of a
// line become the lines of its field.
std::vector<std::string> listLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    auto finish = [&] {
        std::string field;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            std::string cell = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            if (!cell.empty()) {
                if (!field.empty())
                    field += "\r\n";
                field += cell;
            }
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        lines.push_back(field);
        line.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            finish();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        finish();
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}
} // namespace

TCommandResult PasteListIntoFields(TDocument &document, TFieldPos pos, const std::string &clipboardText,
                                   TFillOrder order)
{
    TCommandResult result;
    TRS &sheet = document.Sheet();
    if (!FieldAt(sheet, pos))
        return result;
    const std::vector<std::string> lines = listLines(clipboardText);
    if (lines.empty()) {
        result.message = QStringLiteral("Die Zwischenablage enthält keine Liste.");
        return result;
    }
    const std::vector<TLabelPlace> places = LabelPlaces(sheet, order);
    std::size_t first = 0;
    while (first < places.size() && (places[first].column != pos.column || places[first].row != pos.row))
        ++first;
    std::size_t pasted = 0;
    for (std::size_t i = first; i < places.size() && pasted < lines.size(); ++i, ++pasted) {
        TRSObject *field = sheet.GetField(places[i].column, places[i].row);
        field->Kind = TFieldKind::Text;
        field->Visible = true;
        field->Text = PreparePastedText(lines[pasted]).text;
    }
    if (pasted < lines.size())
        result.message = QStringLiteral("Der Bogen endet: %1 von %2 Zeilen wurden eingefügt.")
                             .arg(pasted)
                             .arg(lines.size());
    result.done = pasted > 0;
    document.Commit(true);
    return result;
}

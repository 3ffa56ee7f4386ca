#include "document/field_commands.h"

#include "document/document.h"
#include "model/rs.h"

namespace
{

// The values a format copy takes from a text field and a format paste gives.
void copyFormatValues(TRSObject &to, const TRSObject &from)
{
    to.LinesTopBottom = from.LinesTopBottom;
    to.LinesLeftRight = from.LinesLeftRight;
    to.LineColor = from.LineColor;
    to.LineWidth = from.LineWidth;
    to.Alignment = from.Alignment;
    to.FontName = from.FontName;
    to.FontHeight = from.FontHeight;
    to.FontStyle = from.FontStyle;
    to.FontColor = from.FontColor;
    to.Angle = from.Angle;
    to.BackgroundColor = from.BackgroundColor;
}

} // namespace

TFieldPos FieldPosAt(const TRS &sheet, double x, double y)
{
    TFieldPos pos;
    const TRSSpalte *column = sheet.ColumnAtPoint(x, y);
    const TRSObject *field = sheet.FieldAtPoint(x, y);
    for (int c = 0; column && c < int(sheet.Columns.size()); ++c) {
        if (sheet.Columns[std::size_t(c)].get() != column)
            continue;
        pos.column = c;
        for (int r = 0; field && r < int(column->Fields.size()); ++r)
            if (column->Fields[std::size_t(r)].get() == field)
                pos.row = r;
    }
    return pos;
}

TRSObject *FieldAt(const TRS &sheet, TFieldPos pos)
{
    return pos.row < 0 ? nullptr : sheet.GetField(pos.column, pos.row);
}

TRSSpalte *ColumnAt(const TRS &sheet, TFieldPos pos)
{
    return sheet.GetColumn(pos.column);
}

TPastedText PreparePastedText(const std::string &raw)
{
    TPastedText p;
    p.text.reserve(kMaxStringBytes);
    auto add = [&p](const char *chars, std::size_t n) {
        p.length += n;
        // Once something did not fit, nothing after it is taken either.
        if (!p.cut && p.text.size() + n <= kMaxStringBytes)
            p.text.append(chars, n);
        else
            p.cut = true;
    };
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(raw[i]);
        if (ch == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            add("\r\n", 2);
            ++i;
        } else if (ch == '\t') {
            add(" ", 1);
        } else if (ch < 0x20 || ch == 0x7F) {
            p.controlsRemoved = true;
        } else {
            add(&raw[i], 1);
        }
    }
    return p;
}

TCommandResult PasteText(TDocument &document, TFieldPos pos, const std::string &clipboardText)
{
    TRSObject *field = FieldAt(document.Sheet(), pos);
    if (!field)
        return {};
    const TPastedText pasted = PreparePastedText(clipboardText);
    if (pasted.text.empty())
        return {false, QStringLiteral("Die Zwischenablage enthält keinen einfügbaren Text.")};
    field->Kind = TFieldKind::Text;
    field->Text = pasted.text;
    field->Visible = true;
    document.Commit(true);
    QStringList notes;
    if (pasted.cut)
        notes << QStringLiteral("Der Text aus der Zwischenablage hatte %1 Zeichen; ein Feld fasst %2, "
                                "der Rest wurde weggelassen.")
                     .arg(pasted.length)
                     .arg(kMaxStringBytes);
    if (pasted.controlsRemoved)
        notes << QStringLiteral("Steuerzeichen aus der Zwischenablage wurden entfernt.");
    return {true, notes.join(QLatin1Char(' '))};
}

bool ToggleFieldVisible(TDocument &document, TFieldPos pos)
{
    TRSObject *field = FieldAt(document.Sheet(), pos);
    if (!field)
        return false;
    field->Visible = !field->Visible;
    document.Commit(true);
    return true;
}

bool SetColumnFieldsVisible(TDocument &document, TFieldPos pos, bool visible)
{
    TRSSpalte *column = ColumnAt(document.Sheet(), pos);
    if (!column)
        return false;
    for (auto &f : column->Fields)
        f->Visible = visible;
    document.Commit(true);
    return true;
}

bool SetColumnBackgroundOn(TDocument &document, TFieldPos pos, bool on)
{
    TRSSpalte *column = ColumnAt(document.Sheet(), pos);
    if (!column)
        return false;
    column->BackgroundOn = on;
    document.Commit(true);
    return true;
}

bool SetColumnBackgroundColour(TDocument &document, TFieldPos pos, TColor colour)
{
    TRSSpalte *column = ColumnAt(document.Sheet(), pos);
    if (!column)
        return false;
    column->BackgroundColor = colour;
    column->BackgroundOn = true;
    document.Commit(true);
    return true;
}

bool CopyToAllFields(TDocument &document, TFieldPos pos, TCopyContent content)
{
    TRS &sheet = document.Sheet();
    const TRSObject *field = FieldAt(sheet, pos);
    if (!field)
        return false;
    if (content != TCopyContent::Nothing)
        sheet.CopyFieldToAll(field, content == TCopyContent::Everything);
    document.Commit(true);
    return true;
}

bool CopyToColumn(TDocument &document, TFieldPos pos, bool confirmed)
{
    TRS &sheet = document.Sheet();
    const TRSObject *field = FieldAt(sheet, pos);
    if (!field)
        return false;
    if (confirmed)
        sheet.CopyFieldToColumn(field, ColumnAt(sheet, pos));
    document.Commit(true);
    return true;
}

bool CopyToRow(TDocument &document, TFieldPos pos, bool confirmed)
{
    TRS &sheet = document.Sheet();
    const TRSObject *field = FieldAt(sheet, pos);
    if (!field)
        return false;
    if (confirmed)
        sheet.CopyFieldToRow(field, pos.row);
    document.Commit(true);
    return true;
}

bool CopyFormat(TDocument &document, TFieldPos pos)
{
    const TRSObject *field = FieldAt(document.Sheet(), pos);
    if (!field || !IsTextKind(field->Kind))
        return false;
    copyFormatValues(document.FormatTemplate, *field);
    return true;
}

bool ApplyFormat(TDocument &document, TFieldPos pos)
{
    TRSObject *field = FieldAt(document.Sheet(), pos);
    if (!field || !IsTextKind(field->Kind))
        return false;
    copyFormatValues(*field, document.FormatTemplate);
    field->Visible = true;
    document.Commit(true);
    return true;
}

void ShiftColumns(TDocument &document, bool toLeft)
{
    document.Sheet().ShiftColumns(toLeft);
    document.Commit(true);
}

void ShiftRows(TDocument &document, bool up)
{
    document.Sheet().ShiftRows(up);
    document.Commit(true);
}

void CopyFirstColumn(TDocument &document)
{
    document.Sheet().CopyFirstColumn();
    document.Commit(true);
}

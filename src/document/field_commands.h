#pragma once
// The commands on fields, columns and rows of the open document: copies of a
// field, format copy and paste, pasted text, visibility, column backgrounds,
// and the moves of columns and rows. They work on a field position, not on a
// window: the main window finds the position under the pointer (FieldPosAt),
// asks the user where a command needs a decision and passes the answer in,
// and shows what comes back. Every command that runs ends in one Commit with
// an undo snapshot; one that finds nothing at its position changes nothing
// and returns false.

#include "model/colors.h"

#include <QString>

#include <string>

class TDocument;
class TRS;
class TRSObject;
class TRSSpalte;

// A place on the sheet, counted from 0. A point on a column but between its
// fields has a column and row -1; outside every column both are -1.
struct TFieldPos {
    int column = -1;
    int row = -1;
};

// Where page point (x, y) lies: the column there and the row of the field
// there (FieldAtPoint's field).
TFieldPos FieldPosAt(const TRS &sheet, double x, double y);
TRSObject *FieldAt(const TRS &sheet, TFieldPos pos);
TRSSpalte *ColumnAt(const TRS &sheet, TFieldPos pos);

// A text from the clipboard made fit for a field: tabs become blanks, other
// control characters go (CR LF line breaks stay), and the text is cut to
// what a field holds without splitting a line break.
struct TPastedText {
    std::string text;
    std::size_t length = 0; // characters before cutting
    bool cut = false;
    bool controlsRemoved = false;
};
TPastedText PreparePastedText(const std::string &raw);

// What a command that may refuse or has something to tell gives back: done
// when it changed the sheet; message, when not empty, is for the user.
struct TCommandResult {
    bool done = false;
    QString message;
};

// The clipboard's text (Windows-1252) replaces the field's text whole; the
// field becomes a visible text field (a picture stays in it unseen).
// Refused, with the reason, when nothing of the text can be pasted; the
// message tells about a cut text or removed control characters.
TCommandResult PasteText(TDocument &document, TFieldPos pos, const std::string &clipboardText);

bool ToggleFieldVisible(TDocument &document, TFieldPos pos);
bool SetColumnFieldsVisible(TDocument &document, TFieldPos pos, bool visible);
bool SetColumnBackgroundOn(TDocument &document, TFieldPos pos, bool on);
// Also switches the column's background on.
bool SetColumnBackgroundColour(TDocument &document, TFieldPos pos, TColor colour);

// What the copy to all fields takes along: everything (text and picture
// too), the format and kind only, or nothing (the user cancelled; the
// command still leaves an undo step).
enum class TCopyContent { Everything, FormatOnly, Nothing };
bool CopyToAllFields(TDocument &document, TFieldPos pos, TCopyContent content);
// The field copied over the other fields of its column or row, when
// confirmed; an undo step either way.
bool CopyToColumn(TDocument &document, TFieldPos pos, bool confirmed);
bool CopyToRow(TDocument &document, TFieldPos pos, bool confirmed);

// The format of a text field into the document's format template (no
// change of the sheet, no undo step), and the template applied to a text
// field, which becomes visible. Other kinds of fields are left alone.
bool CopyFormat(TDocument &document, TFieldPos pos);
bool ApplyFormat(TDocument &document, TFieldPos pos);

// The tool bar's column and row commands.
void ShiftColumns(TDocument &document, bool toLeft);
void ShiftRows(TDocument &document, bool up);
void CopyFirstColumn(TDocument &document);

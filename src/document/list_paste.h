#pragma once
// "Liste in Felder einfügen": a list of lines (a column copied from a
// spreadsheet, a text of one value a line) fills consecutive fields of the
// sheet in fill order, from the field at a position on, as plain text, in
// one undo step. A line of several cells (tab-separated) becomes a field of
// several lines.

#include "document/field_commands.h"
#include "document/merge.h"

#include <string>

// clipboardText is Windows-1252 with CR LF line breaks. Refused with the
// reason when there is no field at pos or no line to paste; the message
// tells when lines were left over because the sheet ended.
TCommandResult PasteListIntoFields(TDocument &document, TFieldPos pos, const std::string &clipboardText,
                                   TFillOrder order);

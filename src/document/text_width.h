#pragma once
// Fitting text heights to the field widths ("Optimierte Textbreite"): each
// text, as the last composition drew it, is scaled so that its ink becomes
// exactly as wide as the space between its field's left and right border
// lines.

#include "document/field_commands.h"

#include <functional>
#include <optional>

class TDocument;
class TRS;
class TRSObject;

// The width between a column's border lines: the column width less one
// field spacing (the field is inset by a spacing on each side, its lines
// stand half a spacing outside it).
double TextWidthTarget(double columnWidth, double fieldSpacing);

// The text height that makes a text drawn drawnWidth wide at fontHeight
// exactly target wide; none when it cannot be fitted (no width drawn, no
// room, or no finite result).
std::optional<double> FittedFontHeight(double fontHeight, double drawnWidth, double target);

// The drawn width of a field's own text element in the last composition;
// none when the field has no text element of its own there.
using TDrawnTextWidth = std::function<std::optional<double>(const TRSObject &field, int column, int row)>;

// Which fields a fitting covers: the field at a position, every field of
// its column, or every field of the sheet.
enum class TTextFitScope { Field, Column, Sheet };

// Fits the text fields of the scope at pos (unused for the whole sheet).
// Every width is read before any height is changed, so all fields are
// measured against the same composition. Returns the number of fields whose
// height changed.
int FitTextWidths(TRS &sheet, TTextFitScope scope, TFieldPos pos, const TDrawnTextWidth &drawnWidth);

// The command: fits against the document's composed page and commits with
// an undo snapshot, also when nothing was scaled (not without a sheet).
// Returns the number of fields whose height changed.
int FitTextWidths(TDocument &document, TTextFitScope scope, TFieldPos pos);

// The width the last composition of the document drew the text of field
// (column, row) with, from the first to the last inked point of its widest
// line (for a turned text: of the box around the turned block); none when
// the field got no text element of its own (not a visible text field, or an
// empty text).
std::optional<double> OwnTextWidth(const TDocument &document, int column, int row);

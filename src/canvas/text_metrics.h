#pragma once
// Fonts of canvas texts: the font for a name and style bits, the relation
// between a font's cell height and its character height, the font a text
// is drawn with at an exact size, and the widths of its lines.
//
// A text's height is its cell height (ascent plus descent). Font engines
// give whole pixel sizes only, so a text is drawn with the font at the next
// whole pixel size and the painter scaled by what is left (DrawnFont); the
// widths are measured at one large size and scaled (WidestAdvance,
// WidestInk). Both grow exactly in proportion to the height, so the width measured is the
// width drawn, on any device and at any zoom.

#include <QFont>
#include <QString>
#include <QStringList>

namespace canvas
{

// A font of the family with the style bits (bold, italic, underline,
// strike-out), unhinted so that screen and paper agree on widths.
QFont CanvasFont(const QString &family, int styleBits);

// Character height (em) per cell height (ascent + descent) of the font.
double EmPerCell(const QString &family, int styleBits);

// Splits a text into the lines it shows: at every CR, skipping a LF after it.
QStringList SplitTextLines(const QString &text);

// The font for a text of cellPx device pixels cell height on a device of
// dpi dots per inch, and the scale to draw it with: font × scale is the
// exact size.
struct TDrawnFont {
    QFont font;
    double scale = 1.0;
};
TDrawnFont DrawnFont(const QString &family, int styleBits, double cellPx, int dpi);

// The width of the widest line of a text at cell height cellHeight, in the
// unit of cellHeight: by advance, the width that alignment and underline
// follow; by ink, from the first to the last painted point.
double WidestAdvance(const QString &family, int styleBits, const QStringList &lines, double cellHeight);
double WidestInk(const QString &family, int styleBits, const QStringList &lines, double cellHeight);

} // namespace canvas

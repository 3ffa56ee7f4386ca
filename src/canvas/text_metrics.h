#pragma once
// Fonts of canvas texts: the font for a name and style bits, the relation
// between a font's cell height and its character height, and cached width
// measuring.

#include <QFont>
#include <QFontMetricsF>
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

// Width measuring with a font of a whole-pixel character height.
class TextMeasurer
{
  public:
    // The measurer of the last request is kept; texts come in runs of the
    // same font, so this avoids building metrics for every text.
    static const TextMeasurer &For(const QString &family, int styleBits, int emPx);
    double Width(const QString &line) const { return metrics_.horizontalAdvance(line); }

  private:
    TextMeasurer(const QFont &font, const QString &family, int styleBits, int emPx);
    QFontMetricsF metrics_;
    QString family_;
    int styleBits_;
    int emPx_;
};

} // namespace canvas

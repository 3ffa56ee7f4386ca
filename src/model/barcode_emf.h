#pragma once
// The drawing of a symbol as libzint lays it out, and its writing as an
// enhanced metafile. Only the barcode sources include this header.

#include "model/colors.h"
#include "model/picture.h"

#include <QRectF>
#include <QString>

#include <vector>

// A symbol in libzint's vector units (two per module), y downward.
struct TSymbolDrawing {
    double width = 0, height = 0; // with the quiet zones
    std::vector<QRectF> bars;     // filled in the code's colour
    struct Text {
        QPointF base;   // the baseline point the alignment refers to
        double size;    // font size (em)
        double advance; // width the text should take, 0 for the font's own
        int align;      // 0 centred, 1 left, 2 right
        QString text;
        int angle = 0; // of the baseline, tenths of a degree anticlockwise
    };
    std::vector<Text> texts;
};

// Module size of the written metafile: libzint units of 0.25 mm, so a
// module is 0.5 mm. The size only matters for readers that place pictures
// at their own size; the program fits them into the field.
constexpr int kEmfUnitsPerSymbolUnit = 25; // device units of 0.01 mm

// The drawing as a vector EMF whose first record after the header is a
// comment holding commentData. Transparent: only bars and texts are inked.
TBytes WriteSymbolEmf(const TSymbolDrawing &drawing, TColor colour, const TBytes &commentData);

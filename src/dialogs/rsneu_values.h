#pragma once
// The values of the sheet layout dialog and what follows from them: the
// seven predefined standards, the column width and row height the dialog
// shows, and the check that the values make a sheet at all. Pure logic, no
// widgets.

#include "model/colors.h"
#include "model/label_products.h"

#include <QString>

#include <cstdint>
#include <vector>

// One predefined standard of the layout dialog.
struct TRSPreset {
    QString Name; // begins with a blank, at most 255 characters
    double PageWidth = 0, PageHeight = 0;
    std::uint8_t Orientation = 0; // 0 portrait, 1 landscape
    double MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    double ColumnGap = 0;
    double FieldSpacing = 0;
    double LineFactor = 1;
    std::int32_t Columns = 0, Rows = 0;
};

// The table of standards, built once, in the order the dialog lists them.
const std::vector<TRSPreset> &RSPresets();

// A vendor's label product as a standard: its page, the layout that puts
// the fields on its labels, portrait unless the page is wider than high;
// the line factor is not the product's business and is passed in.
TRSPreset PresetFromLabelProduct(const TLabelProduct &product, double lineFactor);

// Everything the dialog collects.
struct TRSLayoutValues {
    double PageWidth = 297, PageHeight = 210;
    double MarginLeft = 26, MarginRight = 26, MarginTop = 9, MarginBottom = 9;
    std::int32_t Columns = 4, Rows = 6;
    double ColumnGap = 0;
    double FieldSpacing = 4;
    double LineFactor = 1;
    TColor BackgroundColor = clYellow;
    TColor ColumnLineColor = clSilver;
    TColor RowLineColor = clSilver;
};

// (page width − left − right margin − column gap × (columns − 1)) / columns.
double LayoutColumnWidth(const TRSLayoutValues &v);
// (page height − top − bottom margin) / rows.
double LayoutRowHeight(const TRSLayoutValues &v);

// A measure with two decimals and the locale's decimal and thousands
// separators ("61,25", "1.234,50").
QString FormatMeasure(double v);

// The longest measure a sheet can have, in mm (a page of five metres is far
// beyond any printer's paper).
constexpr double kMaxSheetMeasure = 5000;

// The smallest top or bottom margin: -1.5 × the field spacing, where the
// first field begins at the page edge (label sheets whose labels come close
// to the edge need it).
double LeastTopBottomMargin(double fieldSpacing);

// The most fields one sheet can hold; more would take the program's whole
// memory and time to build.
constexpr std::int64_t kMaxSheetFields = 10000;

// Why the values make no sheet, as a message for the user naming the value
// at fault; empty when they do. Field sizes are checked too: a spacing that
// leaves the fields no room makes no sheet either.
QString LayoutProblem(const TRSLayoutValues &v);

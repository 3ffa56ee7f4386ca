#include "app/textwidth.h"

#include "document/document.h"
#include "model/rs.h"
#include "platform/codepage.h"

#include <cmath>
#include <vector>

double TextWidthTarget(double columnWidth, double fieldSpacing)
{
    return columnWidth - fieldSpacing;
}

std::optional<double> FittedFontHeight(double fontHeight, double drawnWidth, double target)
{
    if (!(drawnWidth > 0) || !(target > 0) || !(fontHeight > 0) || !std::isfinite(drawnWidth))
        return std::nullopt;
    const double height = fontHeight * (target / drawnWidth);
    if (!std::isfinite(height) || !(height > 0))
        return std::nullopt;
    return height;
}

int FitTextWidths(TRS &sheet, TTextFitScope scope, double x, double y, const TDrawnTextWidth &drawnWidth)
{
    struct Fit {
        TRSObject *field;
        double height;
    };
    std::vector<Fit> fits;
    auto collect = [&](TRSSpalte &column, TRSObject *field, int row) {
        if (!field || field->Kind != 1)
            return;
        const std::optional<double> width = drawnWidth(*field, column.Index, row);
        if (!width)
            return;
        const auto height =
            FittedFontHeight(field->FontHeight, *width, TextWidthTarget(column.Width, sheet.FieldSpacing));
        if (height)
            fits.push_back({field, *height});
    };

    if (scope == TTextFitScope::Sheet) {
        for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
            if (TRSSpalte *column = sheet.GetColumn(c))
                for (std::int32_t r = 0; r < sheet.RowCount; ++r)
                    collect(*column, column->GetField(r), r);
    } else if (TRSSpalte *column = sheet.ColumnAtPoint(x, y)) {
        if (scope == TTextFitScope::Column) {
            for (std::int32_t r = 0; r < sheet.RowCount; ++r)
                collect(*column, column->GetField(r), r);
        } else if (TRSObject *field = sheet.FieldAtPoint(x, y)) {
            // The field at the point lies in that column; its row is its place there.
            for (std::int32_t r = 0; r < sheet.RowCount; ++r)
                if (column->GetField(r) == field)
                    collect(*column, field, r);
        }
    }
    int changed = 0;
    for (const Fit &f : fits) {
        if (f.field->FontHeight != f.height)
            ++changed;
        f.field->FontHeight = f.height;
    }
    return changed;
}

std::optional<double> OwnTextWidth(const TDocument &document, int column, int row)
{
    const TRSObject *f = document.Sheet().GetField(column, row);
    if (!f || !f->Visible || f->Kind != 1)
        return std::nullopt;
    canvas::ElementInfo info;
    if (!document.FieldElementInfo(column, row, info))
        return std::nullopt;
    // The element shows this field's text as it is now.
    if (info.text != platform::FromAnsi(DrawnText(f->Text)))
        return std::nullopt;
    return info.width;
}

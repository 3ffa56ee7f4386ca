#include "document/text_width.h"

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

int FitTextWidths(TRS &sheet, TTextFitScope scope, TFieldPos pos, const TDrawnTextWidth &drawnWidth)
{
    struct Fit {
        TRSObject *field;
        double height;
    };
    std::vector<Fit> fits;
    auto collect = [&](const TRSSpalte &column, int c, int r) {
        TRSObject *field = column.GetField(r);
        if (!field || !IsTextKind(field->Kind))
            return;
        const std::optional<double> width = drawnWidth(*field, c, r);
        if (!width)
            return;
        const auto height =
            FittedFontHeight(field->FontHeight, *width, TextWidthTarget(column.Width, sheet.FieldSpacing));
        if (height)
            fits.push_back({field, *height});
    };
    auto collectColumn = [&](int c) {
        if (const TRSSpalte *column = sheet.GetColumn(c))
            for (std::int32_t r = 0; r < sheet.RowCount; ++r)
                collect(*column, c, r);
    };

    switch (scope) {
    case TTextFitScope::Sheet:
        for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
            collectColumn(c);
        break;
    case TTextFitScope::Column:
        collectColumn(pos.column);
        break;
    case TTextFitScope::Field:
        if (const TRSSpalte *column = sheet.GetColumn(pos.column); column && pos.row >= 0)
            collect(*column, pos.column, pos.row);
        break;
    }
    int changed = 0;
    for (const Fit &f : fits) {
        if (f.field->FontHeight != f.height)
            ++changed;
        f.field->FontHeight = f.height;
    }
    return changed;
}

int FitTextWidths(TDocument &document, TTextFitScope scope, TFieldPos pos)
{
    if (!document.Sheet().GridBuilt)
        return 0;
    const int changed =
        FitTextWidths(document.Sheet(), scope, pos,
                      [&document](const TRSObject &, int c, int r) { return OwnTextWidth(document, c, r); });
    document.Commit(true);
    return changed;
}

std::optional<double> OwnTextWidth(const TDocument &document, int column, int row)
{
    const TRSObject *f = document.Sheet().GetField(column, row);
    if (!f || !f->Visible || !IsTextKind(f->Kind))
        return std::nullopt;
    canvas::ElementInfo info;
    if (!document.FieldElementInfo(column, row, info))
        return std::nullopt;
    // The element shows this field's text as it is now.
    if (info.text != platform::FromAnsi(DrawnText(f->Text)))
        return std::nullopt;
    return info.inkWidth;
}

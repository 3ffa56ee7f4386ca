#include "document/merge_pages.h"

#include "canvas/dpage.h"
#include "model/field_kind.h"
#include "model/rs.h"

TMergePages::TMergePages(const TMerge &merge, const TComposeSettings &settings, const TPrintOptions &options,
                         bool withShift)
    : merge_(merge), settings_(settings), options_(options), withShift_(withShift)
{
}

bool TMergePages::Next(canvas::TDPage &page)
{
    if (next_ < 0 || next_ >= merge_.PageCount())
        return false;
    TRS copy;
    std::vector<std::pair<int, int>> filled;
    merge_.FillPage(next_++, copy, &filled);
    if (merge_.Options().Fit)
        ShrinkToFit(copy, filled, page, settings_);
    ComposePrintPage(copy, page, settings_, options_, withShift_);
    return true;
}

void ShrinkToFit(TRS &sheet, const std::vector<std::pair<int, int>> &fields, canvas::TDPage &page,
                 const TComposeSettings &settings)
{
    const TFieldElements elements = ComposeSheet(sheet, page, settings);
    for (const auto &[column, row] : fields) {
        TRSObject *f = sheet.GetField(column, row);
        const TRSSpalte *c = sheet.GetColumn(column);
        const int element = elements.Element(column, row);
        if (!f || !c || element < 0 || !IsTextKind(f->Kind))
            continue;
        canvas::ElementInfo info;
        page.GetElementInfo(1, element, info);
        const double target = c->Width - sheet.FieldSpacing;
        if (info.width > target && target > 0)
            f->FontHeight *= target / info.width;
    }
}

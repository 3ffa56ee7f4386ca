// Lists of records for labels: any text read as a list, then filled into a
// small sheet through a field text with placeholders. The input holds the
// list, then byte 0x1F, then the field text.
#include "fuzz_support.h"

#include "document/merge.h"
#include "model/data_list.h"
#include "model/rs.h"

#include <QByteArray>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\x1f');
    TDataList list;
    if (!list.ReadText(split < 0 ? input : input.left(split), nullptr))
        return 0;
    if (list.RecordCount() == 0 || list.ColumnCount() < 1)
        __builtin_trap();
    for (std::size_t r = 0; r < list.RecordCount(); ++r)
        if (list.Records[r].size() > list.ColumnCount())
            __builtin_trap();
    (void)list.HeadingsText();

    TRS sheet;
    sheet.SetLayout(2, 2, 210, 297, 10, 10, 10, 10, 2, 2, clWhite);
    const std::string text =
        split < 0 ? std::string("{1} {#:0000}") : input.mid(split + 1).left(255).toStdString();
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r) {
            sheet.GetField(c, r)->Visible = true;
            sheet.GetField(c, r)->Text = text;
        }
    TMerge merge;
    TMergeOptions options;
    options.StartLabel = 1 + int(size % 4);
    options.Order = size % 2 ? TFillOrder::Columns : TFillOrder::Rows;
    if (!merge.Prepare(sheet, {&list}, options, nullptr))
        return 0;
    std::size_t placed = 0;
    for (int p = 0; p < merge.PageCount() && p < 3; ++p) {
        TRS page;
        std::vector<std::pair<int, int>> filled;
        merge.FillPage(p, page, &filled);
        placed += filled.size();
    }
    if (placed == 0)
        __builtin_trap(); // a prepared merge places at least one record
    return 0;
}

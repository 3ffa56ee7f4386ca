#pragma once
// Labels filled from a list: placeholders in field texts and the pages a
// sheet gives for a list of records.
//
// A field text may hold {Name} (the list column with that heading), {1},
// {2} … (columns by number), {#} (the running label number; {#:000} pads it
// to three digits); {{ and }} stand for literal braces. Every visible text
// field holding a placeholder is a label place that takes the next record in
// fill order, and so is every visible code whose data hold one (one code
// per record); the other fields print unchanged on every page. The sheet
// repeats as a page until every record is placed. The caller's sheet is
// never changed: each page is filled into a copy.
//
//   TMerge merge;
//   if (!merge.Prepare(sheet, source, options, &error)) show(error);
//   for (int p = 0; p < merge.PageCount(); ++p) { TRS copy; merge.FillPage(p, copy); output(copy); }

#include "model/barcode.h"
#include "model/text_template.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class TDataList;
class TRS;

// Where the records come from: a list, or a count of numbered labels whose
// {#} runs from First.
struct TMergeSource {
    const TDataList *List = nullptr;
    std::int64_t Count = 0;
    std::int64_t First = 1;

    std::size_t RecordCount() const;
};

enum class TFillOrder {
    Rows,    // left to right, then down
    Columns, // top to bottom, then right: as binders stand on a shelf
};

struct TMergeOptions {
    TFillOrder Order = TFillOrder::Rows;
    // The first free label of the first page (1-based, in fill order over
    // every field of the sheet); the places before it stay empty.
    int StartLabel = 1;
    // Filled texts wider than their field are scaled down to fit.
    bool Fit = false;
};

// The largest count of numbered labels, as for a list.
constexpr std::int64_t kMaxMergeCount = 100000;

// A field of the sheet as a label place, in fill order.
struct TLabelPlace {
    int column = 0, row = 0;
    bool takesRecord = false; // a visible text field or code holding a placeholder
};
// Every field of the sheet in fill order.
std::vector<TLabelPlace> LabelPlaces(const TRS &sheet, TFillOrder order);

class TMerge
{
  public:
    // Checks the sheet's placeholders against the source and plans the
    // pages. False with the German reason in error: a placeholder that names
    // no column, no records, no field with a placeholder, a start label
    // outside the sheet or after its last label place, a record whose data a
    // code cannot hold (checked for every record before anything is output).
    bool Prepare(const TRS &sheet, const TMergeSource &source, const TMergeOptions &options, QString *error);

    int PageCount() const { return pageCount_; }
    std::size_t RecordCount() const { return records_; }
    // Label places of the sheet (every field) and those that take records.
    int PlaceCount() const { return int(places_.size()); }
    int FillPlaceCount() const { return fillPlaces_; }
    const TMergeOptions &Options() const { return options_; }

    // Page (0-based) of the output into copy: a copy of the sheet whose label
    // places hold their records' texts and codes; places without a record
    // (used ones before the start label, those after the last record) and
    // codes whose filled data are empty are left out.
    // filled receives the (column, row) of every field that got a record.
    void FillPage(int page, TRS &copy, std::vector<std::pair<int, int>> *filled = nullptr) const;

    // The (column, row) of label place i (0-based) in fill order.
    std::pair<int, int> Place(int i) const
    {
        const TPlace &p = places_[std::size_t(i)];
        return {p.column, p.row};
    }

  private:
    struct TPlace {
        int column, row;
        int text = -1;            // its template, -1 when the field's text stays as it is
        int code = -1;            // its code's template, -1 for other fields
        bool takesRecord = false; // the template holds a placeholder
    };
    struct TCodeTemplate {
        TBarcodeSettings settings;
        TTextTemplate data;
    };
    QString Fill(const TTextTemplate &t, std::size_t record) const;
    void ResolveColumns(TTextTemplate &t, QStringList &unknown) const;
    bool CheckCodes(QString &why) const;

    const TRS *sheet_ = nullptr;
    TMergeSource source_;
    TMergeOptions options_;
    std::vector<TPlace> places_; // every field, in fill order
    std::vector<TTextTemplate> templates_;
    std::vector<TCodeTemplate> codes_;
    int fillPlaces_ = 0;
    int firstPageFill_ = 0; // label places with placeholders from the start label on
    std::size_t records_ = 0;
    int pageCount_ = 0;
};

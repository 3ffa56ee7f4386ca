#pragma once
// The pages of labels filled from a list, for the one output path: each page
// is a copy of the sheet whose label places hold their records, composed as
// it is printed. Too wide texts shrink to their field when asked.

#include "document/merge.h"
#include "document/output.h"

class TMergePages : public TPageSource
{
  public:
    // The merge (prepared) and its sheet must outlive the pages.
    TMergePages(const TMerge &merge, const TComposeSettings &settings, const TPrintOptions &options,
                bool withShift = true);
    bool Next(canvas::TDPage &page) override;
    void Rewind() override { next_ = 0; }
    int PageCount() const override { return merge_.PageCount(); }
    // The page (0-based) the next call of Next composes.
    void Seek(int page) { next_ = page; }

  private:
    const TMerge &merge_;
    TComposeSettings settings_;
    TPrintOptions options_;
    bool withShift_;
    int next_ = 0;
};

// Scales the text of every listed field of the sheet down (never up) so its
// widest line, as composed on page, spans at most its column's width less
// one field spacing. Page is composed anew.
void ShrinkToFit(TRS &sheet, const std::vector<std::pair<int, int>> &fields, canvas::TDPage &page,
                 const TComposeSettings &settings);

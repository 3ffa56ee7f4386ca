#pragma once
// The one translation of the sheet into canvas elements. The main window, the
// dialogs and the command-line tool all show and print a sheet through it
// (TDocument::Commit runs it for the open document), so the printout is
// exactly what the preview shows.

#include "canvas/dpage.h"

#include <map>
#include <utility>

class TRS;
class TRSObject;

// What the composition needs besides the sheet and the canvas.
struct TComposeSettings {
    double LineFactor = canvas::kDefaultLineFactor; // line spacing of multi-line texts
};

// Which text element of the content page (page 1) shows which field's text.
// Valid until the page is composed again.
class TFieldElements
{
  public:
    // The element number, -1 when the field has no text element (not a
    // visible text field, or an empty text).
    int Element(int column, int row) const
    {
        const auto it = map_.find({column, row});
        return it == map_.end() ? -1 : it->second;
    }
    void Set(int column, int row, int element) { map_[{column, row}] = element; }
    void Clear() { map_.clear(); }
    std::size_t Size() const { return map_.size(); }

  private:
    std::map<std::pair<int, int>, int> map_;
};

// Rebuilds both layers of the page from the sheet: page 0 the background layer,
// page 1 the visible fields. Neither the sheet nor its flags change; no
// repaint. Returns the text element of every field that got one.
TFieldElements ComposeSheet(const TRS &sheet, canvas::TDPage &page, const TComposeSettings &settings);

// Canvas alignment (0 … 8: column-major left/centre/right, top/middle/bottom)
// and anchor for a field's text.
struct TTextAnchor {
    int alignment;
    double x, y;
};
TTextAnchor TextAnchor(const TRSObject &field);

// The field text as drawn: at most 255 characters, without a trailing CR LF
// when longer than 3 characters.
std::string DrawnText(const std::string &text);

// The box of a picture of gw × gh fitted, centred and with its proportion,
// into the field's frame.
QRectF FitPicture(const TRSObject &field, double gw, double gh);

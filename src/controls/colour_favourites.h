#pragma once
// The user's favourite colours and their file "cfv.def": 40-byte records back
// to back, no header, little-endian:
//   0  4  colour value ($00BBGGRR, as chosen)
//   4  1  red      5  1  green      6  1  blue
//   7  1  name length n (0..32)
//   8 32  name (Windows-1252), first n bytes used
// Plain data and file handling; the favourites box shows it.

#include "model/colors.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

struct TColorFavorite {
    TColor Color = 0;
    std::uint8_t R = 0, G = 0, B = 0;
    std::string Name; // Windows-1252, at most kNameSize bytes
};

class TColorFavorites
{
  public:
    static constexpr int kRecordSize = 40;
    static constexpr int kNameSize = 32;

    int Count() const { return int(items_.size()); }
    const TColorFavorite &At(int index) const { return items_[std::size_t(index)]; }
    const std::vector<TColorFavorite> &Items() const { return items_; }

    // Lowest index with these red, green and blue bytes, or -1.
    int Find(int r, int g, int b) const;
    // Appends unless an entry with the same R, G, B exists; the name is cut to
    // 32 bytes. True when added.
    bool Add(TColor color, int r, int g, int b, const QString &name);
    bool AddRecord(TColorFavorite record); // the same, for a record already in file form
    // Both ignore indexes outside the list.
    bool Delete(int index);
    bool Rename(int index, const QString &name);
    QString Name(int index) const; // empty outside the list
    void Clear() { items_.clear(); }

    enum class LoadResult {
        Missing,   // no file: the list is left as it was
        Loaded,    // every whole record read (a short tail is ignored)
        Unreadable // the file is there but could not be read (fully): what was read is kept
    };
    // Clears the list and reads every whole record of the file.
    LoadResult Load(const QString &path);
    // Rewrites the file with all records in list order, atomically: on any
    // failure the old file stays. An empty list empties an existing file and
    // makes none where there is none.
    bool Save(const QString &path) const;

    // The 40 bytes of one record, and back.
    static std::string Encode(const TColorFavorite &f);
    static TColorFavorite Decode(const char *record);

  private:
    std::vector<TColorFavorite> items_;
};

#include "controls/colour_favourites.h"

#include "model/safe_file.h"
#include "platform/codepage.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace
{
std::string CutName(const QString &name)
{
    std::string ansi = platform::ToAnsi(name);
    if (ansi.size() > std::size_t(TColorFavorites::kNameSize))
        ansi.resize(std::size_t(TColorFavorites::kNameSize));
    return ansi;
}
} // namespace

int TColorFavorites::Find(int r, int g, int b) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].R == r && items_[i].G == g && items_[i].B == b)
            return int(i);
    return -1;
}

bool TColorFavorites::Add(TColor color, int r, int g, int b, const QString &name)
{
    TColorFavorite f;
    f.Color = color;
    f.R = std::uint8_t(std::clamp(r, 0, 255));
    f.G = std::uint8_t(std::clamp(g, 0, 255));
    f.B = std::uint8_t(std::clamp(b, 0, 255));
    f.Name = CutName(name);
    return AddRecord(std::move(f));
}

bool TColorFavorites::AddRecord(TColorFavorite record)
{
    if (Find(record.R, record.G, record.B) >= 0)
        return false;
    if (record.Name.size() > std::size_t(kNameSize))
        record.Name.resize(std::size_t(kNameSize));
    items_.push_back(std::move(record));
    return true;
}

bool TColorFavorites::Delete(int index)
{
    if (index < 0 || index >= Count())
        return false;
    items_.erase(items_.begin() + index);
    return true;
}

bool TColorFavorites::Rename(int index, const QString &name)
{
    if (index < 0 || index >= Count())
        return false;
    items_[std::size_t(index)].Name = CutName(name);
    return true;
}

QString TColorFavorites::Name(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return platform::FromAnsi(items_[std::size_t(index)].Name);
}

std::string TColorFavorites::Encode(const TColorFavorite &f)
{
    std::string rec(std::size_t(kRecordSize), '\0');
    const auto v = static_cast<std::uint32_t>(f.Color);
    for (int i = 0; i < 4; ++i)
        rec[std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    rec[4] = char(f.R);
    rec[5] = char(f.G);
    rec[6] = char(f.B);
    const std::size_t n = std::min(f.Name.size(), std::size_t(kNameSize));
    rec[7] = char(n);
    std::copy_n(f.Name.begin(), n, rec.begin() + 8);
    return rec;
}

TColorFavorite TColorFavorites::Decode(const char *record)
{
    const auto *b = reinterpret_cast<const unsigned char *>(record);
    TColorFavorite f;
    f.Color = TColor(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                     (std::uint32_t(b[3]) << 24));
    f.R = b[4];
    f.G = b[5];
    f.B = b[6];
    // A damaged length byte cannot reach past the record.
    const std::size_t n = std::min<std::size_t>(b[7], std::size_t(kNameSize));
    f.Name.assign(record + 8, n);
    return f;
}

TColorFavorites::LoadResult TColorFavorites::Load(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return LoadResult::Missing;
    items_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    char record[kRecordSize];
    for (;;) {
        const qint64 got = file.read(record, kRecordSize);
        if (got < 0)
            return LoadResult::Unreadable;
        if (got < kRecordSize)
            break; // end of the file, or a short tail that is no record
        AddRecord(Decode(record));
    }
    return LoadResult::Loaded;
}

bool TColorFavorites::Save(const QString &path) const
{
    if (path.isEmpty())
        return false;
    // With every favourite deleted the file is emptied, so that they do not
    // come back; where there is no file, none is made.
    if (items_.empty() && !QFileInfo(path).isFile())
        return !QFileInfo::exists(path);
    TSafeFile out(path);
    if (!out.Open())
        return false;
    for (const TColorFavorite &f : items_) {
        const std::string rec = Encode(f);
        if (out.Device().write(rec.data(), qint64(rec.size())) != qint64(rec.size())) {
            out.Cancel();
            return false;
        }
    }
    return out.Commit();
}

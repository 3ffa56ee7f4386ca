// The colour favourites file: any content, loaded, used and written back.
#include "fuzz_support.h"

#include "controls/colour_favourites.h"

#include <QFile>
#include <QTemporaryDir>

namespace
{
QString path, copy;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    static QTemporaryDir dir;
    path = dir.filePath(QStringLiteral("cfv.def"));
    copy = dir.filePath(QStringLiteral("kopie.def"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    TColorFavorites favourites;
    if (favourites.Load(path) != TColorFavorites::LoadResult::Loaded)
        return 0;
    if (std::size_t(favourites.Count()) > size / TColorFavorites::kRecordSize)
        __builtin_trap(); // whole records only; repeated colours are read once
    for (int i = 0; i < favourites.Count(); ++i) {
        (void)favourites.Name(i);
        const TColorFavorite &f = favourites.At(i);
        (void)favourites.Find(f.R, f.G, f.B);
        if (TColorFavorites::Encode(f).size() != std::size_t(TColorFavorites::kRecordSize))
            __builtin_trap();
    }
    favourites.Rename(0, QStringLiteral("Lieblingsfarbe mit einem sehr langen Namen über 32 Bytes"));
    if (favourites.Save(copy)) {
        TColorFavorites back;
        back.Load(copy);
        if (back.Count() != favourites.Count())
            __builtin_trap();
    }
    return 0;
}

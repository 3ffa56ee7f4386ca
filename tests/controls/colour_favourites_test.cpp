// Favourite colours: the 40-byte records of "cfv.def", loading damaged files
// and saving without ever losing the old file.
#include "controls/MUVComboFarbFav.h"
#include "controls/colour_favourites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
std::string Record(canvas::TColor colour, int r, int g, int b, const std::string &name, int lengthByte = -1)
{
    TColorFavorite f;
    f.Color = colour;
    f.R = std::uint8_t(r);
    f.G = std::uint8_t(g);
    f.B = std::uint8_t(b);
    f.Name = name.substr(0, 32);
    std::string rec = TColorFavorites::Encode(f);
    if (lengthByte >= 0)
        rec[7] = char(lengthByte);
    return rec;
}

void WriteFile(const QString &path, const std::string &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(ColourFavourites, RecordLayout)
{
    TColorFavorite f;
    f.Color = canvas::TColor(0x80000005);
    f.R = 1;
    f.G = 2;
    f.B = 3;
    f.Name = "Gr\xFCn"; // "Grün" in Windows-1252
    const std::string rec = TColorFavorites::Encode(f);
    ASSERT_EQ(rec.size(), 40u);
    EXPECT_EQ(std::uint8_t(rec[0]), 0x05);
    EXPECT_EQ(std::uint8_t(rec[3]), 0x80);
    EXPECT_EQ(rec[4], 1);
    EXPECT_EQ(rec[5], 2);
    EXPECT_EQ(rec[6], 3);
    EXPECT_EQ(rec[7], 4);
    EXPECT_EQ(rec.substr(8, 4), "Gr\xFCn");
    const TColorFavorite back = TColorFavorites::Decode(rec.data());
    EXPECT_EQ(back.Color, f.Color);
    EXPECT_EQ(back.Name, f.Name);
    EXPECT_EQ(back.R + back.G + back.B, 6);
}

TEST(ColourFavourites, AddFindRenameDelete)
{
    TColorFavorites favs;
    EXPECT_TRUE(favs.Add(0x0000FF, 255, 0, 0, QStringLiteral("Rot")));
    // The same R, G, B under another colour value or name is not added.
    EXPECT_FALSE(favs.Add(0x1234, 255, 0, 0, QStringLiteral("Noch ein Rot")));
    EXPECT_TRUE(favs.Add(0x00FF00, 0, 255, 0, QString(40, QLatin1Char('x'))));
    EXPECT_EQ(favs.Count(), 2);
    EXPECT_EQ(favs.Name(1).size(), 32);
    EXPECT_EQ(favs.Find(255, 0, 0), 0);
    EXPECT_EQ(favs.Find(0, 255, 0), 1);
    EXPECT_EQ(favs.Find(0, 0, 255), -1);
    EXPECT_TRUE(favs.Rename(0, QStringLiteral("Kräftiges Rot, viel zu lang für einen Namen")));
    EXPECT_EQ(favs.Name(0), QStringLiteral("Kräftiges Rot, viel zu lang für "));
    EXPECT_FALSE(favs.Rename(2, QStringLiteral("x")));
    EXPECT_FALSE(favs.Delete(-1));
    EXPECT_FALSE(favs.Delete(2));
    EXPECT_TRUE(favs.Delete(0));
    EXPECT_EQ(favs.Count(), 1);
    EXPECT_EQ(favs.Find(0, 255, 0), 0);
    EXPECT_EQ(favs.Name(5), QString());
}

TEST(ColourFavourites, FileRoundTripKeepsOrderAndValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cfv.def");
    TColorFavorites favs;
    favs.Add(0x0000FF, 255, 0, 0, QStringLiteral("Rot"));
    favs.Add(canvas::SystemColor(15), 240, 240, 240, QStringLiteral("Schaltfläche"));
    favs.Add(0x123456, 0x56, 0x34, 0x12, QString());
    ASSERT_TRUE(favs.Save(path));
    EXPECT_EQ(QFileInfo(path).size(), 120);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    TColorFavorites back;
    EXPECT_EQ(back.Load(path), TColorFavorites::LoadResult::Loaded);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.At(1).Color, canvas::SystemColor(15));
    EXPECT_EQ(back.Name(1), QStringLiteral("Schaltfläche"));
    EXPECT_EQ(back.At(2).R, 0x56);
    EXPECT_EQ(back.Name(2), QString());
    EXPECT_EQ(ReadFile(path), [&] {
        std::string all;
        for (const auto &f : favs.Items())
            all += TColorFavorites::Encode(f);
        return QByteArray::fromStdString(all);
    }());
}

TEST(ColourFavourites, DamagedFilesLoadEveryWholeRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cfv.def");
    // Two records with equal R, G, B: the second is dropped.
    WriteFile(path,
              Record(1, 10, 20, 30, "eins") + Record(2, 10, 20, 30, "zwei") + Record(3, 1, 2, 3, "drei"));
    TColorFavorites favs;
    EXPECT_EQ(favs.Load(path), TColorFavorites::LoadResult::Loaded);
    ASSERT_EQ(favs.Count(), 2);
    EXPECT_EQ(favs.Name(0), QStringLiteral("eins"));
    EXPECT_EQ(favs.Name(1), QStringLiteral("drei"));

    // A truncated last record is ignored.
    WriteFile(path,
              Record(1, 1, 1, 1, "a") + Record(2, 2, 2, 2, "b") + Record(3, 3, 3, 3, "c").substr(0, 17));
    EXPECT_EQ(favs.Load(path), TColorFavorites::LoadResult::Loaded);
    EXPECT_EQ(favs.Count(), 2);

    // A length byte beyond the record holds the name to 32 bytes.
    WriteFile(path, Record(5, 5, 5, 5, std::string(32, 'n'), 200));
    EXPECT_EQ(favs.Load(path), TColorFavorites::LoadResult::Loaded);
    ASSERT_EQ(favs.Count(), 1);
    EXPECT_EQ(favs.Name(0), QString(32, QLatin1Char('n')));

    // An empty file gives an empty list; a missing file leaves the list alone.
    WriteFile(path, std::string());
    EXPECT_EQ(favs.Load(path), TColorFavorites::LoadResult::Loaded);
    EXPECT_EQ(favs.Count(), 0);
    favs.Add(7, 7, 7, 7, QStringLiteral("bleibt"));
    EXPECT_EQ(favs.Load(dir.filePath("fehlt.def")), TColorFavorites::LoadResult::Missing);
    EXPECT_EQ(favs.Count(), 1);
}

TEST(ColourFavourites, SavingNeverDestroysTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cfv.def");
    const std::string old = Record(1, 1, 2, 3, "alt");
    WriteFile(path, old);

    // A folder that cannot take the file: the write fails, nothing is left.
    TColorFavorites favs;
    favs.Add(9, 9, 9, 9, QStringLiteral("neu"));
    EXPECT_FALSE(favs.Save(dir.filePath("fehlt/cfv.def")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("fehlt")));

    // A target that is a folder stays what it is.
    const QString folder = dir.filePath("ordner.def");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(favs.Save(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(ReadFile(path), QByteArray::fromStdString(old));

    // An empty list empties the file, and makes none where there is none.
    TColorFavorites empty;
    EXPECT_TRUE(empty.Save(path));
    EXPECT_EQ(ReadFile(path), QByteArray());
    EXPECT_TRUE(empty.Save(dir.filePath("neu.def")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("neu.def")));
}

TEST(ColourFavouritesBox, LoadsSavesAndKeepsAnUnreadableFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cfv.def");
    WriteFile(path, Record(0x0000FF, 255, 0, 0, "Rot") + Record(0xFF0000, 0, 0, 255, "Blau"));
    TMUVComboFarbFav box;
    EXPECT_EQ(box.size(), QSize(200, 24));
    box.SetFavoritesFile(path);
    box.LoadFavorites();
    EXPECT_EQ(box.FavoriteCount(), 2);
    EXPECT_EQ(box.count(), 2); // one empty item per favourite
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.itemText(0), QString());

    box.AddFavorite(0x00FF00, 0, QStringLiteral("Grün"), 0, 255);
    EXPECT_EQ(box.currentIndex(), -1);                                 // adding selects nothing
    box.AddFavorite(0x00FF01, 0, QStringLiteral("fast Grün"), 0, 255); // same R, G, B
    EXPECT_EQ(box.count(), 3);
    box.setCurrentIndex(1);
    box.DeleteFavorite(1);
    EXPECT_EQ(box.count(), 2);
    EXPECT_EQ(box.currentIndex(), -1);
    box.DeleteFavorite(7);
    EXPECT_EQ(box.count(), 2);
    box.SaveFavorites();
    EXPECT_EQ(QFileInfo(path).size(), 80);

    // Deleting everything empties the file: the deleted favourites stay gone.
    box.DeleteFavorite(0);
    box.DeleteFavorite(0);
    box.SaveFavorites();
    EXPECT_EQ(QFileInfo(path).size(), 0);
    TMUVComboFarbFav reopened;
    reopened.SetFavoritesFile(path);
    reopened.LoadFavorites();
    EXPECT_EQ(reopened.FavoriteCount(), 0);

    // A favourites file that cannot be read is never replaced.
    const QString odd = dir.filePath("odd.def");
    ASSERT_TRUE(QDir().mkdir(odd));
    TMUVComboFarbFav other;
    other.SetFavoritesFile(odd);
    other.LoadFavorites();
    other.AddFavorite(1, 1, QStringLiteral("x"), 1, 1);
    EXPECT_EQ(other.count(), 1);
    EXPECT_EQ(other.currentIndex(), -1);
    other.SaveFavorites();
    EXPECT_TRUE(QFileInfo(odd).isDir());
}

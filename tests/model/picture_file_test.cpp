#include "picture_testutil.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>
#include <set>

namespace
{

void writeAll(const QString &path, const TBytes &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
}

std::uint16_t le16(const TBytes &b, std::size_t at)
{
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

// Draws into a small image; a picture must draw without trouble.
int inkPixels(const TPicture &pic)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    pic.Draw(p, QRectF(0, 0, 64, 64), 2);
    p.end();
    int n = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}
} // namespace

// Every file of the corpus loads and draws, or is refused with a German
// message; only the files known to be broken are refused.
TEST(PictureFile, CorpusLoadsOrIsRefused)
{
    const std::set<QString> broken = {
        "emf/libemf2svg_bad_corrupted_2014-12-02-215338.emf", // corrupted header record
        "emf/libemf2svg_bad_corrupted_2014-12-02-215425.emf", // corrupted polyline
        "jpeg/jpeg-decoder_missing-sof.jpg",
        "wmf/poi_61338.wmf", // record chain breaks before its end
    };
    const QStringList folders = {"bmp/g", "bmp/q", "bmp/b", "bmp/other", "jpeg", "emf", "wmf"};
    int loaded = 0;
    for (const QString &folder : folders) {
        const QDir dir(CorpusPath(folder));
        for (const QString &name : dir.entryList(QDir::Files)) {
            const QString relative = folder + "/" + name;
            SCOPED_TRACE(relative.toStdString());
            QString error;
            auto pic = TPicture::LoadFromFile(dir.filePath(name), &error);
            if (broken.count(relative)) {
                EXPECT_FALSE(pic);
                EXPECT_FALSE(error.isEmpty());
                continue;
            }
            if ((folder == "bmp/q" || folder == "bmp/b") && !pic) {
                EXPECT_FALSE(error.isEmpty()); // the bitmap reader's own decision
                continue;
            }
            ASSERT_TRUE(pic) << error.toStdString();
            ++loaded;
            EXPECT_GT(pic->Width(), 0);
            EXPECT_GT(pic->Height(), 0);
            if (folder == "jpeg") {
                EXPECT_EQ(pic->GetKind(), TPicture::Kind::Jpeg);
            } else if (folder == "emf" || folder == "wmf") {
                EXPECT_TRUE(pic->IsMetafile());
            } else {
                EXPECT_TRUE(pic->IsBitmap());
            }
            if (name != "libemf2svg_test-030.emf") { // the one that draws nothing
                EXPECT_GT(inkPixels(*pic), 0);
            }
        }
    }
    EXPECT_GE(loaded, 57); // all but the refused ones
}

// The content decides, not the name.
TEST(PictureFile, RecognisedByContent)
{
    QTemporaryDir tmp;
    const struct {
        const char *source;
        const char *disguise;
        TPicture::Kind kind;
    } cases[] = {
        {"jpeg/pillow_hopper.jpg", "hopper.bmp", TPicture::Kind::Jpeg},
        {"emf/poi_wrench.emf", "wrench", TPicture::Kind::Metafile},
        {"wmf/dotnet_telescope_01.wmf", "telescope.jpg", TPicture::Kind::Metafile},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.disguise);
        const QString path = tmp.filePath(c.disguise);
        writeAll(path, ReadCorpus(c.source));
        QString error;
        auto pic = TPicture::LoadFromFile(path, &error);
        ASSERT_TRUE(pic) << error.toStdString();
        EXPECT_EQ(pic->GetKind(), c.kind);
    }

    QString error;
    const QString text = tmp.filePath("notes.bmp");
    writeAll(text, TBytes{'H', 'a', 'l', 'l', 'o'});
    EXPECT_FALSE(TPicture::LoadFromFile(text, &error));
    EXPECT_TRUE(error.startsWith("Unbekanntes Grafikformat")) << error.toStdString();

    const QString empty = tmp.filePath("empty.jpg");
    writeAll(empty, TBytes());
    EXPECT_FALSE(TPicture::LoadFromFile(empty, &error));
    EXPECT_EQ(error, "Die Grafikdatei ist leer");

    EXPECT_FALSE(TPicture::LoadFromFile(tmp.filePath("missing.emf"), &error));
    EXPECT_EQ(error, "Die Grafikdatei \"missing.emf\" kann nicht geöffnet werden");
}

// A Windows metafile without placeable header gets one: the label file only
// holds placeable ones. The header is valid, and the records follow unchanged.
TEST(PictureFile, PlainWmfGetsPlaceableHeader)
{
    const struct {
        const char *file;
        int left, top, right, bottom, inch;
    } cases[] = {
        {"wmf/dotnet_gdiwmfboundariesbug.wmf", 0, 0, 324, 252, 72}, // its window, small units
        {"wmf/poi_testException2.doc-2.wmf", -27, 269, 416, 451, 72},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const TBytes plain = ReadCorpus(c.file);
        QString error;
        auto pic = TPicture::FromFileBytes(plain, &error);
        ASSERT_TRUE(pic) << error.toStdString();
        ASSERT_EQ(pic->GetMetafileType(), TPicture::MetafileType::Wmf);
        const TBytes &b = pic->Bytes();
        ASSERT_EQ(b.size(), plain.size() + 22);
        EXPECT_EQ(DetectMetafile(b), TPicture::MetafileType::Wmf);
        EXPECT_TRUE(std::equal(plain.begin(), plain.end(), b.begin() + 22));
        EXPECT_EQ(std::int16_t(le16(b, 6)), c.left);
        EXPECT_EQ(std::int16_t(le16(b, 8)), c.top);
        EXPECT_EQ(std::int16_t(le16(b, 10)), c.right);
        EXPECT_EQ(std::int16_t(le16(b, 12)), c.bottom);
        EXPECT_EQ(le16(b, 14), c.inch);
        EXPECT_GT(inkPixels(*pic), 0);
    }
    // Without a window the drawing's extent is the frame.
    auto text = TPicture::FromFileBytes(ReadCorpus("wmf/poi_testException2.doc-2.wmf"), nullptr);
    ASSERT_TRUE(text);
    EXPECT_GT(text->Width(), 0);
    EXPECT_GT(inkPixels(*text), 0);
}

// Broken metafiles are refused with the program's message; a placeable
// header with a wrong checksum is no metafile.
TEST(PictureFile, BrokenMetafiles)
{
    QString error;
    EXPECT_FALSE(TPicture::FromFileBytes(ReadCorpus("wmf/poi_61338.wmf"), &error));
    EXPECT_EQ(error, "Fehlerhafte Grafik");

    TBytes wmf = ReadCorpus("wmf/dotnet_telescope_01.wmf");
    ASSERT_GT(wmf.size(), 40u);
    wmf[20] ^= 0x55;
    error.clear();
    EXPECT_FALSE(TPicture::FromFileBytes(wmf, &error));
    EXPECT_EQ(error, "Fehlerhafte Grafik");

    // A header announcing a record far larger than the file: the records
    // themselves are sound, so the picture loads and draws.
    TBytes big = ReadCorpus("wmf/dotnet_telescope_01.wmf");
    ASSERT_GT(big.size(), 40u);
    big[22 + 12] = 0xFF;
    big[22 + 13] = 0xFF;
    big[22 + 14] = 0xFF;
    big[22 + 15] = 0x7F;
    auto pic = TPicture::FromFileBytes(big, &error);
    ASSERT_TRUE(pic) << error.toStdString();
    EXPECT_GT(inkPixels(*pic), 500);
    EXPECT_EQ(pic->Bytes(), big); // kept exactly as read
}

// Damaged copies of every corpus picture (cut short, bytes overwritten) load
// or are refused, but never crash, hang or run out of memory.
TEST(PictureFile, DamagedFilesAreHandled)
{
    std::mt19937 random(20261208);
    const QStringList files = {"emf/libemf2svg_test-007.emf",
                               "emf/poi_wrench.emf",
                               "emf/libgdiplus_test.emf",
                               "wmf/dotnet_telescope_01.wmf",
                               "wmf/poi_60677.wmf",
                               "wmf/dotnet_gdiwmfboundariesbug.wmf",
                               "jpeg/pillow_hopper.jpg",
                               "jpeg/jpeg-decoder_jpg-progressive.jpg",
                               "bmp/g/pal8.bmp"};
    int refused = 0, loaded = 0;
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        const TBytes original = ReadCorpus(file);
        ASSERT_GT(original.size(), 16u);
        for (int round = 0; round < 12; ++round) {
            TBytes bytes = original;
            if (round % 3 == 0) {
                bytes.resize(std::max<std::size_t>(8, bytes.size() * (round + 1) / 13));
            } else {
                const int hits = 1 + round;
                for (int i = 0; i < hits; ++i)
                    bytes[8 + random() % (bytes.size() - 8)] = std::uint8_t(random());
            }
            QString error;
            auto pic = TPicture::FromFileBytes(bytes, &error);
            if (!pic) {
                EXPECT_FALSE(error.isEmpty());
                ++refused;
                continue;
            }
            ++loaded;
            inkPixels(*pic);
        }
    }
    EXPECT_GT(refused + loaded, 100);
}

#include "model/picture.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace
{
TBytes readAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray a = f.readAll();
    return TBytes(a.begin(), a.end());
}

// Largest difference of one colour channel between two images.
int maxChannelDiff(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}
} // namespace

// Every good bitmap of the corpus decodes to the same pixels as Qt's own
// reader shows them, and embedded as a stream it is taken byte for byte.
TEST(Bmp, GoodFilesDecodeLikeQtAndEmbedExactly)
{
    const QDir dir(CorpusPath("bmp/g"));
    const QStringList files = dir.entryList({"*.bmp"}, QDir::Files);
    ASSERT_GE(files.size(), 10);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const TBytes bytes = readAll(dir.filePath(name));
        QString error;
        std::size_t consumed = 0;
        auto pic = TPicture::FromBmpStream(bytes.data(), bytes.size(), TBmpMode::File, &consumed, &error);
        ASSERT_TRUE(pic) << error.toStdString();
        const QImage mine = pic->ToImage();
        QImage ref(dir.filePath(name));
        ASSERT_FALSE(ref.isNull());
        ref = ref.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(mine.size(), ref.size());
        EXPECT_LE(maxChannelDiff(mine, ref), 8);
        EXPECT_EQ(pic->Width(), 127);
        EXPECT_EQ(pic->Height(), 64);

        // The stored stream (no gaps) reads back as the same bytes.
        const TBytes &stored = pic->Bytes();
        std::size_t again = 0;
        auto pic2 = TPicture::FromBmpStream(stored.data(), stored.size(), TBmpMode::Embedded, &again, &error);
        ASSERT_TRUE(pic2) << error.toStdString();
        EXPECT_EQ(again, stored.size());
        EXPECT_EQ(pic2->Bytes(), stored);
        EXPECT_EQ(maxChannelDiff(pic2->ToImage(), mine), 0);
    }
}

TEST(Bmp, BadFilesAreRefusedOrReadSafely)
{
    const QDir dir(CorpusPath("bmp/b"));
    for (const QString &name : dir.entryList({"*.bmp"}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        const TBytes bytes = readAll(dir.filePath(name));
        QString error;
        std::size_t consumed = 0;
        auto pic = TPicture::FromBmpStream(bytes.data(), bytes.size(), TBmpMode::File, &consumed, &error);
        if (pic) {
            // Only a bad palette index may load; it must decode without harm.
            EXPECT_EQ(name, QStringLiteral("pal8badindex.bmp"));
            EXPECT_FALSE(pic->ToImage().isNull());
        } else {
            EXPECT_TRUE(error.startsWith(QStringLiteral("Bitmap-Bild ist nicht gültig")));
        }
    }
    // Every truncation of a good stream is refused when embedded.
    const TBytes good = readAll(CorpusPath("bmp/g/pal4.bmp"));
    for (std::size_t n = 0; n < good.size(); n += 97) {
        std::size_t consumed = 0;
        EXPECT_FALSE(TPicture::FromBmpStream(good.data(), n, TBmpMode::Embedded, &consumed, nullptr)) << n;
    }
}

TEST(Bmp, OtherProjectsFilesLoadOrRefuseWithoutCrash)
{
    for (const QString &dirName : {QStringLiteral("bmp/other"), QStringLiteral("bmp/q")}) {
        const QDir dir(CorpusPath(dirName));
        for (const QString &name : dir.entryList({"*.bmp"}, QDir::Files)) {
            const TBytes bytes = readAll(dir.filePath(name));
            std::size_t consumed = 0;
            QString error;
            auto pic = TPicture::FromBmpStream(bytes.data(), bytes.size(), TBmpMode::File, &consumed, &error);
            if (!pic)
                continue;
            const QImage img = pic->ToImage();
            EXPECT_EQ(img.width(), pic->Width()) << name.toStdString();
            EXPECT_EQ(img.height(), pic->Height()) << name.toStdString();
        }
    }
}

TEST(Bmp, NewBitmapIs24BitBottomUp)
{
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 0, qRgb(255, 0, 0)); // top-left red
    img.setPixel(2, 1, qRgb(0, 0, 255)); // bottom-right blue
    auto pic = TPicture::FromImage(img);
    const TBytes &b = pic->Bytes();
    ASSERT_EQ(b.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[28], 24);
    // first stored row is the bottom row: its third pixel is blue (B, G, R)
    EXPECT_EQ(b[54 + 6], 255);
    EXPECT_EQ(b[54 + 8], 0);
    // the second stored row starts with red
    EXPECT_EQ(b[54 + 12 + 2], 255);
    EXPECT_EQ(b[54 + 12 + 0], 0);
    EXPECT_EQ(pic->ToImage().pixel(0, 0), qRgb(255, 0, 0));
}

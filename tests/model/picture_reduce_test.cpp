#include "picture_testutil.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A photo-like test picture: smooth colour gradients.
QImage gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(255 * x / w, 255 * y / h, 128);
    }
    return image;
}

TBytes jpegOf(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(92);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return TBytes(data.begin(), data.end());
}

void expect24BitBitmap(const TPicture &pic, int w, int h)
{
    EXPECT_TRUE(pic.IsBitmap());
    EXPECT_EQ(pic.BmpInfo().bitCount, 24);
    EXPECT_EQ(pic.BmpInfo().compression, 0u);
    EXPECT_EQ(pic.Width(), w);
    EXPECT_EQ(pic.Height(), h);
    EXPECT_EQ(pic.ToImage().size(), QSize(w, h));
}
} // namespace

// A wide photo for a 50 mm field becomes a bitmap 591 pixels wide (300 dpi),
// with the height in proportion, and looks like the photo.
TEST(PictureReduce, JpegToFieldWidth)
{
    const QImage source = gradient(4000, 600);
    QString error;
    auto photo = TPicture::FromJpegBytes(jpegOf(source), &error);
    ASSERT_TRUE(photo) << error.toStdString();
    auto reduced = photo->ReducedTo300Dpi(50.0);
    ASSERT_TRUE(reduced);
    expect24BitBitmap(*reduced, 591, 89); // 600 × 591 / 4000 = 88.65
    const QImage expected = source.scaled(591, 89, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanDiff(reduced->ToImage(), expected), 3.0);

    // Narrow photos decode at full size and give the same kind of result.
    auto small = TPicture::FromJpegBytes(ReadCorpus("jpeg/libjpeg-turbo_testorig.jpg"), &error);
    ASSERT_TRUE(small);
    auto r = small->ReducedTo300Dpi(10.0); // 118 pixels
    ASSERT_TRUE(r);
    expect24BitBitmap(*r, 118, 77); // 149 × 118 / 227 = 77.46
}

// A photo file placed into a field is decoded only at the scale the field
// needs, and gives the bitmap the full decode would give.
TEST(PictureReduce, JpegFileDecodedAtTheNeededScale)
{
    QTemporaryDir dir;
    const QImage source = gradient(4000, 600);
    const TBytes bytes = jpegOf(source);
    const QString path = dir.filePath("foto.jpg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    f.close();

    QString error;
    auto direct = TPicture::LoadReducedFromFile(path, 50.0, &error);
    ASSERT_TRUE(direct) << error.toStdString();
    expect24BitBitmap(*direct, 591, 89);
    auto whole = TPicture::FromJpegBytes(bytes, &error)->ReducedTo300Dpi(50.0);
    EXPECT_LT(MeanDiff(direct->ToImage(), whole->ToImage()), 3.0);

    // A field wider than the photo: full size, never enlarged.
    auto wide = TPicture::LoadReducedFromFile(path, 400.0, &error);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->Width(), 4000);

    // Metafiles stay metafiles; a missing file says why.
    auto meta = TPicture::LoadReducedFromFile(CorpusPath("emf/poi_wrench.emf"), 50.0, &error);
    ASSERT_TRUE(meta);
    EXPECT_TRUE(meta->IsMetafile());
    EXPECT_FALSE(TPicture::LoadReducedFromFile(dir.filePath("fehlt.jpg"), 50.0, &error));
    EXPECT_TRUE(error.contains("fehlt.jpg"));
}

// Pictures narrower than the target keep their size, but become a new
// 24-bit bitmap with the same pixels; the original stays as it was.
TEST(PictureReduce, NeverEnlarged)
{
    const TBytes bytes = ReadCorpus("bmp/g/pal8.bmp");
    auto pal = TPicture::FromBmpStream(bytes.data(), bytes.size(), TBmpMode::File, nullptr, nullptr);
    ASSERT_TRUE(pal);
    auto r = pal->ReducedTo300Dpi(100.0);
    ASSERT_TRUE(r);
    expect24BitBitmap(*r, 127, 64);
    EXPECT_EQ(r->ToImage(), pal->ToImage());
    EXPECT_EQ(pal->BmpInfo().bitCount, 8);

    auto photo = TPicture::FromJpegBytes(ReadCorpus("jpeg/pillow_hopper.jpg"), nullptr);
    ASSERT_TRUE(photo);
    auto same = photo->ReducedTo300Dpi(20.0); // 236 pixels > 128
    ASSERT_TRUE(same);
    expect24BitBitmap(*same, 128, 128);
    EXPECT_EQ(same->ToImage(), photo->ToImage());
}

// The size follows the rounding rules: target = round(mm / 25.4 × 300), new
// size = round(size × target / width); at least one pixel each way.
TEST(PictureReduce, SizesAndLimits)
{
    auto wide = TPicture::FromImage(gradient(1000, 333));
    ASSERT_TRUE(wide);
    auto r = wide->ReducedTo300Dpi(30.0); // 354.33 → 354; 333 × 0.354 = 117.88
    ASSERT_TRUE(r);
    expect24BitBitmap(*r, 354, 118);

    auto strip = TPicture::FromImage(gradient(1000, 2));
    auto s = strip->ReducedTo300Dpi(5.0); // 59 wide; 2 × 0.059 would round to 0
    ASSERT_TRUE(s);
    expect24BitBitmap(*s, 59, 1);

    // A field too narrow for a single dot still shows one pixel.
    auto tiny = wide->ReducedTo300Dpi(0.01);
    ASSERT_TRUE(tiny);
    expect24BitBitmap(*tiny, 1, 1);
    auto negative = wide->ReducedTo300Dpi(-5.0);
    ASSERT_TRUE(negative);
    expect24BitBitmap(*negative, 1, 1);

    QString error;
    auto meta = TPicture::LoadFromFile(CorpusPath("emf/poi_wrench.emf"), &error);
    ASSERT_TRUE(meta);
    EXPECT_FALSE(meta->ReducedTo300Dpi(50.0));
}

// Raster pictures drawn smoothly: every source pixel counts, and JPEG photos
// may be drawn from a reduced decode.
TEST(PictureReduce, RasterDrawing)
{
    // Reduced smoothly, fine stripes average to grey instead of aliasing.
    QImage stripes(400, 10, QImage::Format_RGB32);
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 10; ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    auto striped = TPicture::FromImage(stripes);
    QImage small(40, 1, QImage::Format_RGB32);
    {
        QPainter p(&small);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        striped->Draw(p, QRectF(0, 0, 40, 1));
    }
    for (int x = 0; x < 40; ++x)
        EXPECT_NEAR(qGray(small.pixel(x, 0)), 128, 20) << x;

    auto photo = TPicture::FromJpegBytes(jpegOf(gradient(800, 400)), nullptr);
    ASSERT_TRUE(photo);
    for (int denom : {1, 2, 4, 8}) {
        SCOPED_TRACE(denom);
        QImage drawn(100, 50, QImage::Format_RGB32);
        QPainter p(&drawn);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        photo->Draw(p, QRectF(0, 0, 100, 50), denom);
        p.end();
        EXPECT_LT(MeanDiff(drawn, gradient(100, 50)), 4.0);
    }
}

#include "model/picture_internal.h"
#include "picture_testutil.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace
{

// The frame header (SOF0) of a JPEG with its size replaced.
TBytes withSize(TBytes bytes, int width, int height)
{
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = std::uint8_t(height >> 8);
            bytes[i + 6] = std::uint8_t(height);
            bytes[i + 7] = std::uint8_t(width >> 8);
            bytes[i + 8] = std::uint8_t(width);
            return bytes;
        }
    ADD_FAILURE() << "no frame header";
    return bytes;
}
} // namespace

// Every readable photo of the corpus decodes like Qt's own JPEG reader shows
// it, in every colour model (YCbCr, greyscale, CMYK, progressive, arithmetic).
TEST(PictureJpeg, CorpusPhotosDecodeLikeQt)
{
    const QDir dir(CorpusPath("jpeg"));
    const struct {
        const char *name;
        int w, h;
    } files[] = {
        {"libjpeg-turbo_testorig.jpg", 227, 149},
        {"libjpeg-turbo_testimgint.jpg", 227, 149},
        {"libjpeg-turbo_testimgari.jpg", 227, 149},
        {"jpeg-decoder_jpg-gray.jpg", 32, 32},
        {"jpeg-decoder_jpg-progressive.jpg", 32, 32},
        {"jpeg-decoder_jpg-cmyk-1.jpg", 32, 32},
        {"jpeg-decoder_jpg-size-1x1.jpg", 1, 1},
        {"jpeg-decoder_jpg-size-33x33.jpg", 33, 33},
        {"jpeg-decoder_restarts.jpg", 33, 33},
        {"jpeg-decoder_grayscale_16x24_sampling2x2.jpg", 16, 24},
        {"pillow_hopper.jpg", 128, 128},
        {"pillow_hopper_orientation_6.jpg", 128, 128},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        QString error;
        auto pic = TPicture::FromJpegBytes(ReadCorpus(QStringLiteral("jpeg/") + f.name), &error);
        ASSERT_TRUE(pic) << error.toStdString();
        EXPECT_EQ(pic->GetKind(), TPicture::Kind::Jpeg);
        EXPECT_FALSE(pic->IsBitmap());
        EXPECT_EQ(pic->Width(), f.w);
        EXPECT_EQ(pic->Height(), f.h);
        const QImage mine = pic->ToImage();
        ASSERT_EQ(mine.size(), QSize(f.w, f.h));
        if (QString(f.name).contains("ari"))
            continue; // Qt's reader may lack arithmetic decoding
        // Upright, as the Exif orientation says.
        QImageReader reader(dir.filePath(f.name));
        reader.setAutoTransform(true);
        QImage ref = reader.read();
        ASSERT_FALSE(ref.isNull());
        ref = ref.convertToFormat(QImage::Format_RGB32);
        EXPECT_LT(MeanDiff(mine, ref), 3.0);
    }
    // The arithmetic-coded file holds the same photo as the Huffman-coded one.
    auto ari = TPicture::FromJpegBytes(ReadCorpus("jpeg/libjpeg-turbo_testimgari.jpg"), nullptr);
    auto huff = TPicture::FromJpegBytes(ReadCorpus("jpeg/libjpeg-turbo_testimgint.jpg"), nullptr);
    ASSERT_TRUE(ari && huff);
    EXPECT_LT(MeanDiff(ari->ToImage(), huff->ToImage()), 1.0);
}

namespace
{
// A 60 × 30 photo, red on the left, blue on the right, with an Exif block
// giving its orientation (in Motorola or Intel byte order).
TBytes orientedPhoto(int orientation, bool intel)
{
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    EXPECT_TRUE(writer.write(image));
    const auto u16 = [intel](unsigned v) {
        QByteArray b(2, 0);
        b[intel ? 0 : 1] = char(v & 0xFF);
        b[intel ? 1 : 0] = char(v >> 8);
        return b;
    };
    QByteArray tiff = intel ? QByteArray("II") : QByteArray("MM");
    tiff += u16(42) + (intel ? QByteArray("\x08\0\0\0", 4) : QByteArray("\0\0\0\x08", 4));
    // Two entries: something else first, then the orientation.
    tiff += u16(2);
    tiff +=
        u16(0x010F) + u16(2) + QByteArray(intel ? "\x01\0\0\0" : "\0\0\0\x01", 4) + QByteArray("X\0\0\0", 4);
    tiff += u16(0x0112) + u16(3) + QByteArray(intel ? "\x01\0\0\0" : "\0\0\0\x01", 4) +
            u16(unsigned(orientation)) + QByteArray(2, 0);
    tiff += QByteArray(4, 0);
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(exif.size()) + 2;
    const QByteArray app1 = QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif;
    jpeg.insert(2, app1); // right after the start marker
    return TBytes(jpeg.begin(), jpeg.end());
}

// Where the red part lies: 'l', 'r', 't' or 'b'.
char redSide(const QImage &img)
{
    const auto red = [&](double fx, double fy) {
        return qRed(img.pixel(int(fx * (img.width() - 1)), int(fy * (img.height() - 1)))) > 200;
    };
    if (red(0.1, 0.5) && !red(0.9, 0.5))
        return 'l';
    if (red(0.9, 0.5) && !red(0.1, 0.5))
        return 'r';
    if (red(0.5, 0.1) && !red(0.5, 0.9))
        return 't';
    if (red(0.5, 0.9) && !red(0.5, 0.1))
        return 'b';
    return '?';
}
} // namespace

// Phone photos carry their orientation in the Exif data: the photo, its
// scaled decodings and its reduction for a field come out upright.
TEST(PictureJpeg, ExifOrientationTurnsThePhotoUpright)
{
    const struct {
        int orientation;
        char side;
    } cases[] = {{1, 'l'}, {2, 'r'}, {3, 'r'}, {4, 'l'}, {5, 't'}, {6, 't'}, {7, 'b'}, {8, 'b'}};
    for (const bool intel : {false, true})
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << (intel ? " II" : " MM"));
            const TBytes bytes = orientedPhoto(c.orientation, intel);
            EXPECT_EQ(JpegExifOrientation(bytes), c.orientation);
            QString error;
            auto pic = TPicture::FromJpegBytes(bytes, &error);
            ASSERT_TRUE(pic) << error.toStdString();
            const QSize upright = c.orientation >= 5 ? QSize(30, 60) : QSize(60, 30);
            EXPECT_EQ(QSize(pic->Width(), pic->Height()), upright);
            EXPECT_EQ(redSide(pic->ToImage()), c.side);
            // Drawn on the screen from the scaled decoding.
            const QImage drawn = RenderTransparent(*pic, upright.width(), upright.height(), 2);
            EXPECT_EQ(redSide(drawn), c.side);
            QImage half;
            ASSERT_TRUE(DecodeJpeg(bytes, 2, &half, &error));
            EXPECT_EQ(half.size(), upright / 2);
            EXPECT_EQ(redSide(half), c.side);
        }
    // Reduced for a field 12 pixels wide at 300 dpi (decoded at half size).
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hoch.jpg"));
    {
        const TBytes bytes = orientedPhoto(6, true);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    }
    QString error;
    auto reduced = TPicture::LoadReducedFromFile(path, 12 * 25.4 / 300, &error);
    ASSERT_TRUE(reduced) << error.toStdString();
    EXPECT_EQ(QSize(reduced->Width(), reduced->Height()), QSize(12, 24));
    EXPECT_EQ(redSide(reduced->ToImage()), 't');

    // Damaged Exif data: the photo as stored.
    TBytes cut = orientedPhoto(6, false);
    cut[2 + 2 + 2 + 6 + 4] = 0x7F; // the directory offset points far beyond the block
    EXPECT_EQ(JpegExifOrientation(cut), 1);
    TBytes tiny = {0xFF, 0xD8, 0xFF, 0xE1, 0x00};
    EXPECT_EQ(JpegExifOrientation(tiny), 1);
}

// Scaled decoding gives libjpeg's rounded-up sizes and the same picture.
TEST(PictureJpeg, ScaledDecodingKeepsThePicture)
{
    const TBytes bytes = ReadCorpus("jpeg/libjpeg-turbo_testorig.jpg");
    QImage full;
    QString error;
    ASSERT_TRUE(DecodeJpeg(bytes, 1, &full, &error)) << error.toStdString();
    for (int denom : {2, 4, 8}) {
        SCOPED_TRACE(denom);
        QImage scaled;
        ASSERT_TRUE(DecodeJpeg(bytes, denom, &scaled, &error));
        EXPECT_EQ(scaled.size(), QSize((227 + denom - 1) / denom, (149 + denom - 1) / denom));
        const QImage reference = full.scaled(scaled.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(MeanDiff(scaled, reference), 12.0);
    }
    // Another denominator is decoded at full size.
    QImage odd;
    ASSERT_TRUE(DecodeJpeg(bytes, 3, &odd, &error));
    EXPECT_EQ(odd.size(), QSize(227, 149));
}

// Damaged files: a missing frame header is refused with a German message; a
// truncated photo shows what could be decoded.
TEST(PictureJpeg, DamagedFiles)
{
    QString error;
    EXPECT_FALSE(TPicture::FromJpegBytes(ReadCorpus("jpeg/jpeg-decoder_missing-sof.jpg"), &error));
    EXPECT_TRUE(error.startsWith("JPEG-Bild ist nicht gültig")) << error.toStdString();

    error.clear();
    EXPECT_FALSE(TPicture::FromJpegBytes(TBytes(), &error));
    EXPECT_FALSE(error.isEmpty());

    auto truncated = TPicture::FromJpegBytes(ReadCorpus("jpeg/pillow_truncated_jpeg.jpg"), &error);
    ASSERT_TRUE(truncated);
    EXPECT_EQ(truncated->Width(), 100);
    EXPECT_EQ(truncated->Height(), 100);

    // Cut in the middle of the entropy-coded data.
    TBytes cut = ReadCorpus("jpeg/pillow_hopper.jpg");
    cut.resize(cut.size() / 2);
    auto half = TPicture::FromJpegBytes(cut, &error);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->Width(), 128);
}

// A small file announcing an enormous photo is refused before any pixel
// memory is taken.
TEST(PictureJpeg, OversizedPhotoIsRefused)
{
    const TBytes bytes = ReadCorpus("jpeg/libjpeg-turbo_testorig.jpg");
    QString error;
    EXPECT_FALSE(TPicture::FromJpegBytes(withSize(bytes, 60000, 60000), &error));
    EXPECT_TRUE(error.startsWith("JPEG-Bild ist zu groß")) << error.toStdString();
    EXPECT_TRUE(error.contains("60000")) << error.toStdString();
    EXPECT_FALSE(TPicture::FromJpegBytes(withSize(bytes, 65000, 4000), &error));
    EXPECT_TRUE(error.startsWith("JPEG-Bild ist zu groß")) << error.toStdString();
    // Within the limits the same file is read (its data then ends early).
    auto larger = TPicture::FromJpegBytes(withSize(bytes, 454, 298), &error);
    ASSERT_TRUE(larger) << error.toStdString();
    EXPECT_EQ(larger->Width(), 454);

    // A few kilobytes claiming a huge photo would take gigabytes: refused
    // before any pixel memory is taken, in German.
    EXPECT_FALSE(TPicture::FromJpegBytes(withSize(bytes, 14000, 14000), &error));
    EXPECT_EQ(error, "JPEG-Bild ist nicht gültig (die Datei ist beschädigt)");
}

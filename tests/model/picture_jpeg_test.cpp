#include "model/picture_internal.h"
#include "picture_testutil.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
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
        QImage ref(dir.filePath(f.name));
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

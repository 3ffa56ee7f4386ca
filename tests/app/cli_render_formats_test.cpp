// render-picture draws the further picture formats through the program's
// picture code: PNG, GIF, TIFF, WebP and SVG, and refuses what it cannot read
// with the reader's German message.
#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <gtest/gtest.h>

namespace
{

QImage halfTransparent()
{
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.fillRect(QRect(20, 0, 20, 20), Qt::red);
    return img;
}
} // namespace

TEST(CliRenderFormats, DrawsEveryFurtherFormat)
{
    TempProgramFolder dir;
    for (const char *format : {"png", "tiff", "webp"}) {
        const QString in = dir.File(QStringLiteral("bild.") + QLatin1String(format));
        ASSERT_TRUE(halfTransparent().save(in, format, 100));
        const QString out = dir.File(QStringLiteral("aus.png"));
        QByteArray err;
        ASSERT_EQ(CliExitCode({"render-picture", in, out}, &err), 0) << format << ": " << err.toStdString();
        const QImage img(out);
        ASSERT_EQ(img.size(), QSize(40, 20)) << format;
        // Transparent areas become white: the picture is a plain bitmap.
        EXPECT_EQ(img.pixelColor(2, 10), QColor(Qt::white)) << format;
        EXPECT_EQ(img.pixelColor(37, 10), QColor(Qt::red)) << format;
    }
    const QString svg = dir.File(QStringLiteral("z.svg"));
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30\" height=\"10\">"
            "<rect x=\"15\" width=\"15\" height=\"10\" fill=\"#0000ff\"/></svg>");
    f.close();
    const QString out = dir.File(QStringLiteral("svg.png"));
    QByteArray err;
    ASSERT_EQ(CliExitCode({"render-picture", svg, out, "300"}, &err), 0) << err.toStdString();
    const QImage img(out);
    ASSERT_EQ(img.size(), QSize(300, 100));
    EXPECT_EQ(img.pixelColor(250, 50), QColor(0, 0, 255));
}

TEST(CliRenderFormats, RefusedFilesGiveTheirMessage)
{
    TempProgramFolder dir;
    const QString bad = dir.File(QStringLiteral("kaputt.gif"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("GIF89a\x10\x00\x10\x00", 10));
    f.close();
    QByteArray err;
    EXPECT_EQ(CliExitCode({"render-picture", bad, dir.File(QStringLiteral("a.png"))}, &err), 2);
    EXPECT_TRUE(QString::fromUtf8(err).contains(QStringLiteral("GIF-Bild ist nicht gültig")))
        << err.toStdString();
}

// A 60-byte metafile whose header claims 32767 inches a side once made a
// 16384 × 16384 image: without a width the output is at most 2000 pixels
// wide, and no width makes an image of more than 50 million pixels.
TEST(CliRenderFormats, OutputSizeIsBoundedWhateverThePictureClaims)
{
    TempProgramFolder dir;
    QByteArray wmf;
    auto u16 = [&wmf](int v) { wmf.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto u32 = [&u16](std::uint32_t v) { u16(int(v & 0xFFFF)), u16(int(v >> 16)); };
    const int placeable[] = {0, 0, 0, 32767, 32767, 1};
    u32(0x9AC6CDD7u);
    std::uint16_t sum = 0xCDD7 ^ 0x9AC6;
    for (int v : placeable) {
        u16(v);
        sum ^= std::uint16_t(v);
    }
    u32(0);
    u16(sum);
    u16(1), u16(9), u16(0x300), u32(19), u16(0), u32(7), u16(0); // header: 19 words in all
    u32(7), u16(0x041B), u16(100), u16(100), u16(0), u16(0);     // a rectangle
    u32(3), u16(0);                                              // end
    ASSERT_EQ(wmf.size(), 60);
    const QString in = dir.File(QStringLiteral("riesig.wmf"));
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(wmf);
    f.close();
    const QString out = dir.File(QStringLiteral("aus.png"));
    QByteArray err;
    ASSERT_EQ(CliExitCode({"render-picture", in, out}, &err), 0) << err.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(2000, 2000));
    EXPECT_EQ(CliExitCode({"render-picture", in, out, "16384"}, &err), 2);
    EXPECT_TRUE(QString::fromUtf8(err).contains(QStringLiteral("höchstens 50 Millionen")))
        << err.toStdString();
}

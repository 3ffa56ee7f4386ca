// The "DPB-Grafik" stream: magic, length, Windows bitmap.

#include "canvas/dpbgraphic.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

#include <gtest/gtest.h>

using canvas::TDPBGraphic;

namespace
{
QByteArray Bmp(const QImage &img)
{
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "BMP");
    return bytes;
}

QByteArray Dpb(const QByteArray &bmp, qint32 length)
{
    QByteArray out("DP01");
    char len[4];
    qToLittleEndian(length, len);
    out.append(len, 4);
    out.append(bmp);
    return out;
}

QImage Checker()
{
    QImage img(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            img.setPixel(x, y, (x + y) % 2 ? qRgb(200, 10, 30) : qRgb(0, 90, 250));
    return img;
}

bool Load(TDPBGraphic &g, QByteArray data, qint64 startAt = 0)
{
    QBuffer b(&data);
    b.open(QIODevice::ReadOnly);
    b.seek(startAt);
    return g.LoadFromStream(b);
}
} // namespace

TEST(DPBGraphic, LoadsTheBitmapBehindTheHeaderFromTheStreamStart)
{
    const QByteArray bmp = Bmp(Checker());
    TDPBGraphic g;
    EXPECT_TRUE(Load(g, Dpb(bmp, qint32(bmp.size())), 6));
    ASSERT_FALSE(g.Empty());
    EXPECT_EQ(g.Image().size(), QSize(7, 5));
    EXPECT_EQ(g.Image().pixel(1, 0), qRgb(200, 10, 30));
    EXPECT_EQ(g.Image().pixel(0, 0), qRgb(0, 90, 250));

    // Saving gives the plain bitmap again.
    QByteArray saved;
    QBuffer out(&saved);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(g.SaveToStream(out));
    EXPECT_TRUE(saved.startsWith("BM"));
    EXPECT_EQ(QImage::fromData(saved, "BMP").pixel(1, 0), qRgb(200, 10, 30));
    EXPECT_EQ(TDPBGraphic::Extension(), QStringLiteral("dpb"));
    EXPECT_EQ(TDPBGraphic::Description(), QStringLiteral("DPB-Grafik"));
}

TEST(DPBGraphic, BrokenStreamsLeaveTheGraphicAsItWas)
{
    const QByteArray bmp = Bmp(Checker());
    TDPBGraphic g;
    ASSERT_TRUE(Load(g, Dpb(bmp, qint32(bmp.size()))));
    const QImage before = g.Image();

    QByteArray wrongMagic = Dpb(bmp, qint32(bmp.size()));
    wrongMagic[3] = '2';
    EXPECT_FALSE(Load(g, wrongMagic));
    EXPECT_FALSE(Load(g, Dpb(bmp, qint32(bmp.size()) + 100))); // longer than the stream
    EXPECT_FALSE(Load(g, Dpb(bmp, -5)));
    EXPECT_FALSE(Load(g, Dpb(QByteArray(60, 'x'), 60))); // no bitmap
    EXPECT_FALSE(Load(g, QByteArray("DP0")));
    EXPECT_TRUE(g.Image() == before);
}

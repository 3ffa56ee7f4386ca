// EMF files the converter is not given: hand-made metafiles with one fault
// each, and the real metafiles of the corpus, which all still convert.
#include "model/picture_internal.h"
#include "picture_testutil.h"

#include <QDir>
#include <gtest/gtest.h>

namespace
{
// A small EMF written record by record.
class EmfBuilder
{
  public:
    EmfBuilder()
    {
        // EMR_HEADER, 108 bytes: bounds 0,0-99,99 px, frame 0,0-2645,2645
        // (0.01 mm), device 1000 × 1000 px on 264 × 264 mm.
        u32(1);
        u32(108);
        for (std::int32_t v : {0, 0, 99, 99, 0, 0, 2645, 2645})
            u32(std::uint32_t(v));
        u32(0x464D4520); // " EMF"
        u32(0x10000);    // version
        u32(0);          // file size, set by Bytes()
        u32(0);          // records, set by Bytes()
        u16(1);          // handles
        u16(0);
        u32(0); // description characters
        u32(0); // description offset
        u32(0); // palette entries
        for (std::int32_t v : {1000, 1000, 264, 264})
            u32(std::uint32_t(v));
        u32(0); // pixel format size
        u32(0); // pixel format offset
        u32(0); // OpenGL
        u32(264000);
        u32(264000);
        ++records_;
    }
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b_.push_back(std::uint8_t(v >> (8 * i)));
    }
    void u16(std::uint16_t v)
    {
        b_.push_back(std::uint8_t(v));
        b_.push_back(std::uint8_t(v >> 8));
    }
    void set32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b_[at + i] = std::uint8_t(v >> (8 * i));
    }
    std::size_t Size() const { return b_.size(); }

    // A record of the given type with its words after type and size.
    std::size_t Record(std::uint32_t type, const std::vector<std::uint32_t> &words)
    {
        const std::size_t at = b_.size();
        u32(type);
        u32(std::uint32_t(8 + 4 * words.size()));
        for (std::uint32_t w : words)
            u32(w);
        ++records_;
        return at;
    }
    // A red rectangle in EMR_RECTANGLE with a solid brush.
    void Rectangle()
    {
        Record(39, {1, 0, 0x0000FF, 0}); // EMR_CREATEBRUSHINDIRECT: handle 1, solid red
        Record(37, {1});                 // EMR_SELECTOBJECT
        Record(43, {10, 10, 90, 90});    // EMR_RECTANGLE
    }
    // EMR_STRETCHDIBITS with a 24-bit bitmap of w × h whose bits are given
    // with bitsBytes bytes.
    std::size_t StretchDib(std::int32_t w, std::int32_t h, std::uint32_t bitsBytes,
                           std::uint16_t bitCount = 24, std::uint32_t compression = 0)
    {
        const std::size_t at = b_.size();
        const std::uint32_t size = 80 + 40 + ((bitsBytes + 3) & ~3u);
        u32(81);
        u32(size);
        for (std::int32_t v : {0, 0, 99, 99}) // bounds
            u32(std::uint32_t(v));
        for (std::int32_t v : {0, 0, 0, 0, w, h}) // xDest yDest xSrc ySrc cxSrc cySrc
            u32(std::uint32_t(v));
        u32(80);         // offBmiSrc
        u32(40);         // cbBmiSrc
        u32(120);        // offBitsSrc
        u32(bitsBytes);  // cbBitsSrc
        u32(0);          // DIB_RGB_COLORS
        u32(0x00CC0020); // SRCCOPY
        u32(100);        // cxDest
        u32(100);        // cyDest
        // BITMAPINFOHEADER
        u32(40);
        u32(std::uint32_t(w));
        u32(std::uint32_t(h));
        u16(1);
        u16(bitCount);
        u32(compression);
        u32(bitsBytes);
        u32(0);
        u32(0);
        u32(0);
        u32(0);
        while (b_.size() < at + size)
            b_.push_back(0x80);
        ++records_;
        return at;
    }
    TBytes Bytes()
    {
        TBytes out = b_;
        // EMR_EOF
        for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u})
            for (int i = 0; i < 4; ++i)
                out.push_back(std::uint8_t(v >> (8 * i)));
        auto put = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                out[at + i] = std::uint8_t(v >> (8 * i));
        };
        put(48, std::uint32_t(out.size()));
        put(52, std::uint32_t(records_ + 1));
        return out;
    }

  private:
    TBytes b_;
    int records_ = 0;
};

bool converts(const TBytes &emf)
{
    TMetafileSvg svg;
    return MetafileToSvg(emf, TPicture::MetafileType::Emf, &svg) && !svg.svg.isEmpty();
}

// A file with one fault is refused for the stated reason and never reaches
// the converter, and loading it gives the usual message.
void expectRefused(const TBytes &emf, TEmfCheck why)
{
    EXPECT_EQ(CheckEmfForConversion(emf), why);
    TMetafileSvg svg;
    EXPECT_FALSE(MetafileToSvg(emf, TPicture::MetafileType::Emf, &svg));
    QString error;
    EXPECT_EQ(TPicture::FromFileBytes(emf, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}
} // namespace

TEST(EmfCheck, SoundHandMadeFilesConvert)
{
    EmfBuilder plain;
    plain.Rectangle();
    EXPECT_EQ(CheckEmfForConversion(plain.Bytes()), TEmfCheck::Ok);
    EXPECT_TRUE(converts(plain.Bytes()));

    // A 4 × 3 bitmap of 24 bits: rows of 12 bytes, 36 bytes in all.
    EmfBuilder bitmap;
    bitmap.Rectangle();
    bitmap.StretchDib(4, 3, 36);
    EXPECT_EQ(CheckEmfForConversion(bitmap.Bytes()), TEmfCheck::Ok);
    EXPECT_TRUE(converts(bitmap.Bytes()));
    // Top-down rows (negative height) are as good.
    EmfBuilder topDown;
    topDown.StretchDib(4, -3, 36);
    EXPECT_EQ(CheckEmfForConversion(topDown.Bytes()), TEmfCheck::Ok);
}

TEST(EmfCheck, HeaderFaultsAreRefused)
{
    {
        TBytes emf = EmfBuilder().Bytes();
        emf[40] = 'X'; // signature
        expectRefused(emf, TEmfCheck::Header);
    }
    {
        EmfBuilder b;
        b.set32(4, 100000); // header record larger than the file
        expectRefused(b.Bytes(), TEmfCheck::Header);
    }
    {
        EmfBuilder b;
        b.set32(60, 1000); // description of 1000 characters at offset 88
        b.set32(64, 88);
        expectRefused(b.Bytes(), TEmfCheck::Header);
    }
    {
        EmfBuilder b;
        b.set32(88, 0xFFFFFF00); // pixel format far beyond the header
        b.set32(92, 100);
        expectRefused(b.Bytes(), TEmfCheck::Header);
    }
    TBytes cut = EmfBuilder().Bytes();
    cut.resize(60);
    EXPECT_EQ(CheckEmfForConversion(cut), TEmfCheck::Header);
}

TEST(EmfCheck, AbsurdFramesAndDevicesAreRefused)
{
    {
        EmfBuilder b;
        b.Rectangle();
        b.set32(32, 0x7FFFFFFF); // frame right: 21 km
        expectRefused(b.Bytes(), TEmfCheck::Frame);
    }
    {
        EmfBuilder b;
        b.Rectangle();
        b.set32(8, 0x80000000); // bounds left at -2^31: 2^31 pixels wide
        expectRefused(b.Bytes(), TEmfCheck::Frame);
    }
    {
        EmfBuilder b;
        b.Rectangle();
        b.set32(72, 50'000'000); // device of 50 million pixels
        expectRefused(b.Bytes(), TEmfCheck::Frame);
    }
    {
        EmfBuilder b;
        b.Rectangle();
        b.set32(84, 0); // device of no height in millimetres
        expectRefused(b.Bytes(), TEmfCheck::Frame);
    }
}

TEST(EmfCheck, RecordsBeyondTheDataAreRefused)
{
    {
        EmfBuilder b;
        const std::size_t at = b.Record(43, {10, 10, 90, 90});
        b.set32(at + 4, 0x10000000); // size far past the end
        expectRefused(b.Bytes(), TEmfCheck::Record);
    }
    {
        EmfBuilder b;
        const std::size_t at = b.Record(43, {10, 10, 90, 90});
        b.set32(at + 4, 4); // size below a record's own head: the walk would not move
        expectRefused(b.Bytes(), TEmfCheck::Record);
    }
    {
        EmfBuilder b;
        // EMR_POLYLINE16 claiming a million points with two given.
        b.Record(87, {0, 0, 99, 99, 1'000'000, 0x000A000A, 0x00500050});
        expectRefused(b.Bytes(), TEmfCheck::Record);
    }
    {
        EmfBuilder b;
        // EMR_POLYPOLYGON16: polygon counts adding up to more than the points.
        b.Record(91, {0, 0, 99, 99, 1, 3, 1000, 0x000A000A, 0x00500050, 0x0050000A});
        expectRefused(b.Bytes(), TEmfCheck::Record);
    }
    {
        EmfBuilder b;
        b.Record(81, {0, 0, 99, 99}); // EMR_STRETCHDIBITS cut short
        expectRefused(b.Bytes(), TEmfCheck::Record);
    }
}

// A million two-point lines once took the converter and the SVG renderer
// minutes and gigabytes; a polyline of twelve million points as much. Both
// are refused, and a picture file of either is refused with that message.
TEST(EmfCheck, TooManyRecordsOrPointsAreRefused)
{
    EmfBuilder records;
    for (std::uint64_t i = 0; i <= kMaxMetafileRecords; ++i)
        records.Record(54, {10, 10}); // EMR_LINETO
    EmfBuilder points;
    std::vector<std::uint32_t> line = {0, 0, 99, 99, std::uint32_t(kMaxMetafilePoints + 1)};
    line.resize(line.size() + kMaxMetafilePoints + 1, 0x00320032); // EMR_POLYLINE16 points (50, 50)
    points.Record(87, line);
    for (EmfBuilder *b : {&records, &points}) {
        const TBytes emf = b->Bytes();
        expectRefused(emf, TEmfCheck::RecordCount);
        QString error;
        EXPECT_FALSE(TPicture::FromFileBytes(emf, &error));
        EXPECT_EQ(error,
                  QStringLiteral("Die Metadatei enthält zu viele Zeichenbefehle (erlaubt sind höchstens "
                                 "20.000 Befehle und 500.000 Punkte)"));
    }
}

TEST(EmfCheck, BitmapFaultsAreRefused)
{
    {
        EmfBuilder b;
        const std::size_t at = b.StretchDib(4, 3, 36);
        b.set32(at + 48, 0xFFFFFFF0); // header offset beyond the record (and wrapping in 32 bits)
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        const std::size_t at = b.StretchDib(4, 3, 36);
        b.set32(at + 60, 100000); // bits larger than the record
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        b.StretchDib(100000, 100000, 36); // 10^10 pixels, with 36 bytes of bits
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        // 2^30 pixels wide: rows of 3 GB, whose size overflows 32 bits.
        b.StretchDib(0x40000000, 4, 36);
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        b.StretchDib(40, 30, 36); // rows of 120 bytes: 3600 needed
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        b.StretchDib(4, 3, 36, 7); // seven bits per pixel do not exist
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        b.StretchDib(4, 3, 36, 8); // 256 colours without a colour table
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        const std::size_t at = b.StretchDib(4, 3, 36);
        b.set32(at + 80 + 8, 0x80000000); // height -2^31
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
    {
        EmfBuilder b;
        // RLE8 of 20000 × 20000: compressed bits are short, the picture is not.
        b.StretchDib(20000, 20000, 36, 8, 1);
        expectRefused(b.Bytes(), TEmfCheck::Bitmap);
    }
}

// Every EMF of the corpus passes the checks, and those that converted
// before still do.
TEST(EmfCheck, CorpusMetafilesStillConvert)
{
    const QDir dir(CorpusPath(QStringLiteral("emf")));
    const QStringList files = dir.entryList({QStringLiteral("*.emf")}, QDir::Files);
    ASSERT_GE(files.size(), 10);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const TBytes emf = ReadCorpus(QStringLiteral("emf/") + name);
        if (name.contains(QStringLiteral("bad_corrupted")))
            continue; // damaged on purpose: below
        EXPECT_EQ(CheckEmfForConversion(emf), TEmfCheck::Ok);
        QString error;
        EXPECT_NE(TPicture::FromFileBytes(emf, &error), nullptr) << error.toStdString();
    }
    // The two damaged on purpose: a header record larger than the file and a
    // polyline whose count goes past its record.
    EXPECT_EQ(CheckEmfForConversion(
                  ReadCorpus(QStringLiteral("emf/libemf2svg_bad_corrupted_2014-12-02-215338.emf"))),
              TEmfCheck::Header);
    EXPECT_EQ(CheckEmfForConversion(
                  ReadCorpus(QStringLiteral("emf/libemf2svg_bad_corrupted_2014-12-02-215425.emf"))),
              TEmfCheck::Record);
}

// WMF bitmaps the converter is not given: libwmf's bitmap reader trusts the
// header it finds in a record, and a header size of 0 kept it reading for
// minutes (found by fuzzing). The corpus metafiles all still pass.
#include "model/picture_internal.h"
#include "picture_testutil.h"

#include <QDir>
#include <gtest/gtest.h>

namespace
{
// A placeable WMF: window 100 × 100, a pattern brush from an 8 × 8
// one-bit bitmap, a filled square, the end record.
class WmfBuilder
{
  public:
    // Another record, written before the brush.
    WmfBuilder &With(std::uint16_t function, std::vector<std::uint16_t> words)
    {
        extra_.push_back({function, std::move(words)});
        return *this;
    }

    // dibHeaderSize: the bitmap's header size field; width and rows of
    // bits present as given. endLike: a record of function 0 but five words
    // before the brush, which libwmf passes over.
    TBytes Build(std::uint32_t dibHeaderSize = 40, std::int32_t width = 8, int bitRows = 8,
                 bool endLike = false)
    {
        b_.clear();
        u32(0x9AC6CDD7);
        u16(0);
        for (std::uint16_t v : {0, 0, 100, 100})
            u16(v);
        u16(1440);
        u32(0);
        std::uint16_t sum = 0;
        for (int i = 0; i < 20; i += 2)
            sum ^= std::uint16_t(b_[i] | b_[i + 1] << 8);
        u16(sum);
        const std::size_t header = b_.size();
        for (std::uint16_t v : {1, 9, 0x0300, 0, 0, 1, 0, 0, 0})
            u16(v);
        record(0x020C, {100, 100}); // SETWINDOWEXT
        if (endLike)
            record(0x0000, {0, 0});
        for (const auto &[function, words] : extra_)
            record(function, words);
        // DIBCREATEPATTERNBRUSH: style 5 (DIB pattern), colour usage 0, the bitmap.
        const std::size_t brush = b_.size();
        u32(0);
        u16(0x0142);
        u16(5);
        u16(0);
        u32(dibHeaderSize);
        u32(std::uint32_t(width));
        u32(8);
        u16(1);
        u16(1);
        for (int i = 0; i < 6; ++i)
            u32(0);
        u32(0x00000000);
        u32(0x00FFFFFF);
        for (int row = 0; row < bitRows; ++row)
            u32(row % 2 ? 0xAA : 0x55);
        set32(brush, std::uint32_t((b_.size() - brush) / 2));
        record(0x012D, {0});                                        // SELECTOBJECT
        record(0x0324, {4, 10, 10, 90, 10, 90, 90, 10, 90});        // POLYGON
        record(0x0000, {});                                         // EOF
        set32(header + 6, std::uint32_t((b_.size() - header) / 2)); // file size in words
        set32(header + 12, std::uint32_t((b_.size() - brush) / 2)); // largest record (at most)
        return b_;
    }

  private:
    void u16(std::uint16_t v)
    {
        b_.push_back(std::uint8_t(v));
        b_.push_back(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(std::uint16_t(v));
        u16(std::uint16_t(v >> 16));
    }
    void set32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b_[at + i] = std::uint8_t(v >> (8 * i));
    }
    void record(std::uint16_t function, const std::vector<std::uint16_t> &words)
    {
        u32(std::uint32_t(3 + words.size()));
        u16(function);
        for (std::uint16_t w : words)
            u16(w);
    }
    TBytes b_;
    std::vector<std::pair<std::uint16_t, std::vector<std::uint16_t>>> extra_;
};

constexpr std::size_t kHeaderAt = 22; // after the placeable header

TEST(WmfCheck, SoundPatternBrushConverts)
{
    const TBytes wmf = WmfBuilder().Build();
    EXPECT_TRUE(WmfBitmapsOk(wmf, kHeaderAt));
    TMetafileSvg out;
    EXPECT_TRUE(MetafileToSvg(wmf, TPicture::MetafileType::Wmf, &out));
    EXPECT_FALSE(out.svg.isEmpty());
}

TEST(WmfCheck, BitmapsLibwmfWouldStickOnAreRefused)
{
    struct Case {
        const char *what;
        std::uint32_t headerSize;
        std::int32_t width;
        int rows;
    };
    const Case cases[] = {{"header size 0", 0, 8, 8},
                          {"header size beyond the record", 4000, 8, 8},
                          {"rows missing", 40, 8, 3},
                          {"negative width", 40, -8, 8},
                          {"a width no drawing has", 40, 100'000'000, 8}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const TBytes wmf = WmfBuilder().Build(c.headerSize, c.width, c.rows);
        EXPECT_FALSE(WmfBitmapsOk(wmf, kHeaderAt));
        TMetafileSvg out;
        EXPECT_FALSE(MetafileToSvg(wmf, TPicture::MetafileType::Wmf, &out));
    }
}

// Found by fuzzing: the check ended at the first record of function 0, the
// player only at one of three words, and went on to a bitmap with header
// size 0 behind it (26 s in the fuzzer's build).
TEST(WmfCheck, BitmapsBehindARecordLikeTheEndAreChecked)
{
    const TBytes sound = WmfBuilder().Build(40, 8, 8, true);
    EXPECT_TRUE(WmfBitmapsOk(sound, kHeaderAt));
    TMetafileSvg out;
    EXPECT_TRUE(MetafileToSvg(sound, TPicture::MetafileType::Wmf, &out));

    const TBytes stuck = WmfBuilder().Build(0, 8, 8, true);
    EXPECT_FALSE(WmfBitmapsOk(stuck, kHeaderAt));
    EXPECT_FALSE(MetafileToSvg(stuck, TPicture::MetafileType::Wmf, &out));
}

// Found by fuzzing: a pattern brush of four words, its bitmap header size 0
// in the record's last two words. libwmf reads a bitmap from every pattern
// brush and from every blit with something to draw, however short the
// record; from this one it read for minutes. Blits it reads no bitmap from
// still pass.
TEST(WmfCheck, RecordsTooShortForTheirBitmapAreRefused)
{
    struct Case {
        const char *what;
        std::uint16_t function;
        std::vector<std::uint16_t> words;
        bool ok;
    };
    const std::vector<Case> cases = {
        {"pattern brush of four words", 0x0142, {5, 0, 0, 0}, false},
        {"pattern brush of style and usage only", 0x0142, {5, 0}, false},
        {"DIBBITBLT of ten words", 0x0940, {0x0020, 0x00CC, 0, 0, 50, 50, 10, 10, 0, 0}, false},
        {"DIBSTRETCHBLT without a bitmap", 0x0B41, {0x0020, 0x00CC, 8, 8, 0, 0, 50, 50, 10, 10}, false},
        {"STRETCHDIB without a bitmap", 0x0F43, {0x0020, 0x00CC, 0, 8, 8, 0, 0, 50, 50, 10, 10}, false},
        {"SETDIBTODEV without a bitmap", 0x0D33, {0, 8, 8, 0, 0, 8, 8, 10, 10}, false},
        {"DIBBITBLT of nine words, the form without a bitmap",
         0x0940,
         {0x0042, 0x0000, 0, 0, 0, 50, 50, 10, 10},
         true},
        {"DIBSTRETCHBLT without a bitmap and nothing to draw",
         0x0B41,
         {0x0020, 0x00CC, 8, 8, 0, 0, 0, 50, 10, 10},
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const TBytes wmf = WmfBuilder().With(c.function, c.words).Build();
        EXPECT_EQ(WmfBitmapsOk(wmf, kHeaderAt), c.ok);
        TMetafileSvg out;
        EXPECT_EQ(MetafileToSvg(wmf, TPicture::MetafileType::Wmf, &out), c.ok);
    }
}

TEST(WmfCheck, CorpusMetafilesPass)
{
    const QStringList names = QDir(CorpusPath(QStringLiteral("wmf"))).entryList({QStringLiteral("*.wmf")});
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const TBytes wmf = ReadCorpus(QStringLiteral("wmf/") + name);
        const std::size_t headerAt = wmf.size() >= 4 && wmf[0] == 0xD7 && wmf[1] == 0xCD ? kHeaderAt : 0;
        EXPECT_TRUE(WmfBitmapsOk(wmf, headerAt));
    }
}

} // namespace

// A million rectangles once took half a minute to convert: more records than
// any drawing needs are refused, with or without the placeable header.
TEST(WmfCheck, TooManyRecordsAreRefused)
{
    WmfBuilder builder;
    for (std::uint64_t i = 0; i < kMaxMetafileRecords; ++i)
        builder.With(0x0213, {10, 10}); // LINETO
    const TBytes wmf = builder.Build();
    EXPECT_FALSE(WmfWithinLimits(wmf, kHeaderAt));
    TMetafileSvg out;
    EXPECT_FALSE(MetafileToSvg(wmf, TPicture::MetafileType::Wmf, &out));
    for (const TBytes &file : {wmf, TBytes(wmf.begin() + kHeaderAt, wmf.end())}) {
        QString error;
        EXPECT_FALSE(TPicture::FromFileBytes(file, &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("Die Metadatei enthält zu viele Zeichenbefehle")))
            << error.toStdString();
    }
    EXPECT_TRUE(WmfWithinLimits(WmfBuilder().Build(), kHeaderAt));
}

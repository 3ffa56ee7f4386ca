// Counts, sizes and offsets read from files: the boundaries of what the
// readers accept, and files made to exhaust the memory.
#include "label_file_bytes.h"
#include "model/picture_internal.h"
#include "model/rs.h"
#include "testsupport.h"

#include <QByteArray>
#include <QColor>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{

class RsFileLimits : public ::testing::Test
{
  protected:
    QStringList errors; // the reader's message of the last load

    // Loads bytes into a sheet that already holds a 2 × 3 grid.
    bool load(const QByteArray &bytes, TRS &rs)
    {
        rs.SetLayout(2, 3, 100, 100, 0, 0, 0, 0, 0, 0, clYellow);
        errors.clear();
        QString error;
        const bool ok =
            rs.LoadFromBytes(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                             std::size_t(bytes.size()), QStringLiteral("grenze.rsd"), nullptr, &error);
        if (!error.isEmpty())
            errors << error;
        return ok;
    }
    // A version 4 file of cols × rows bare fields.
    static QByteArray grid(std::int32_t cols, std::int32_t rows, std::int32_t writtenCols,
                           std::int32_t writtenRows)
    {
        Bytes b;
        b.sheet("RUECKENSCHILD_00000004", cols, rows).v4rest();
        for (std::int32_t c = 0; c < writtenCols; ++c) {
            b.u8(0).i32(0);
            for (std::int32_t r = 0; r < writtenRows; ++r)
                b.bareField();
        }
        return b.b;
    }
};

} // namespace

// 194 bytes once made the reader build 2^30 columns of 2^30 fields: the size
// check multiplied the counts by the least record size and overflowed to 0.
TEST_F(RsFileLimits, CountsWhoseProductOverflowsAreRefusedWithoutBuilding)
{
    Bytes b;
    b.sheet("RUECKENSCHILD_00000001", 1 << 30, 1 << 30);
    b.b.append(QByteArray(64, '\0'));
    ASSERT_EQ(b.b.size(), 194);
    TRS rs;
    EXPECT_FALSE(load(b.b, rs));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("zu viele Spalten oder Reihen")) << errors[0].toStdString();
    EXPECT_EQ(rs.ColumnCount, 2); // the sheet is unchanged
    EXPECT_EQ(rs.RowCount, 3);
    EXPECT_EQ(rs.Columns.size(), 2u);

    // The same with every other product that wraps around 2^64.
    for (auto [cols, rows] : {std::pair{1 << 28, 1 << 28}, {0x7FFFFFFF, 0x7FFFFFFF}, {1 << 16, 1 << 16}}) {
        Bytes v1;
        v1.sheet("RUECKENSCHILD_00000001", cols, rows);
        v1.b.append(QByteArray(64, '\0'));
        EXPECT_FALSE(load(v1.b, rs)) << cols << " x " << rows;
        EXPECT_EQ(errors.size(), 1);
    }
}

TEST_F(RsFileLimits, ColumnAndRowCountsAtTheirBoundaries)
{
    EXPECT_TRUE(GridCountsAllowed(1, 1));
    EXPECT_TRUE(GridCountsAllowed(kMaxColumns, 1));
    EXPECT_TRUE(GridCountsAllowed(1, kMaxRows));
    EXPECT_TRUE(GridCountsAllowed(1024, 1024)); // exactly 2^20 fields
    EXPECT_TRUE(GridCountsAllowed(32, 32767));
    EXPECT_FALSE(GridCountsAllowed(1024, 1025)); // one row of fields too many
    EXPECT_FALSE(GridCountsAllowed(33, 32767));
    EXPECT_FALSE(GridCountsAllowed(1 << 15, 1));
    EXPECT_FALSE(GridCountsAllowed(1, 1 << 15));
    EXPECT_FALSE(GridCountsAllowed(1 << 16, 1));
    EXPECT_FALSE(GridCountsAllowed(1, 1 << 16));
    EXPECT_FALSE(GridCountsAllowed(0x7FFFFFFF, 1));
    EXPECT_FALSE(GridCountsAllowed(1, 0x7FFFFFFF));
    EXPECT_FALSE(GridCountsAllowed(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_FALSE(GridCountsAllowed(0, 1));
    EXPECT_FALSE(GridCountsAllowed(1, -1));
    EXPECT_FALSE(GridCountsAllowed(INT32_MIN, INT32_MIN));

    // Files: the largest allowed counts read; one more is refused with the
    // limits named, even when the file holds all the records.
    TRS rs;
    EXPECT_TRUE(load(grid(kMaxColumns, 1, kMaxColumns, 1), rs));
    EXPECT_EQ(rs.ColumnCount, kMaxColumns);
    EXPECT_EQ(rs.GetField(kMaxColumns - 1, 0)->Kind, 3);
    EXPECT_TRUE(load(grid(1, kMaxRows, 1, kMaxRows), rs));
    EXPECT_EQ(rs.RowCount, kMaxRows);
    EXPECT_TRUE(errors.isEmpty());

    for (auto [cols, rows] : {std::pair{kMaxColumns + 1, 1}, {1, kMaxRows + 1}, {1 << 16, 1}, {1, 1 << 16}}) {
        EXPECT_FALSE(load(grid(cols, rows, cols, rows), rs)) << cols << " x " << rows;
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("höchstens 32767 Spalten, 32767 Reihen und 1048576 Felder"))
            << errors[0].toStdString();
        EXPECT_EQ(rs.ColumnCount, 2);
    }
    EXPECT_FALSE(load(grid(1024, 1025, 1, 1), rs));
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(load(grid(0x7FFFFFFF, 1, 1, 1), rs));
    EXPECT_FALSE(load(grid(1, 0x7FFFFFFF, 1, 1), rs));
}

// Allowed counts in a file too short for them: refused as incomplete before
// the grid is built.
TEST_F(RsFileLimits, AllowedCountsInAShortFileAreIncomplete)
{
    TRS rs;
    EXPECT_FALSE(load(grid(1024, 1024, 1, 1), rs));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("unvollständig"));
    EXPECT_EQ(rs.ColumnCount, 2);
}

// A run-length bitmap whose runs go past the right edge: the pixels beyond
// are dropped, the next line starts at the left, and no position counts on.
TEST(BitmapLimits, RunsPastTheRightEdgeAreDropped)
{
    Bytes b;
    const std::uint8_t rle[] = {255, 1, 255, 1, 0, 2, 200, 0, 0, 0, 2, 2, 0, 1};
    b.raw("BM").i32(0).i32(0).i32(0);
    b.i32(40).i32(4).i32(2).u16(1).u16(8).i32(1).i32(sizeof rle).i32(0).i32(0).i32(3).i32(0);
    b.i32(0x000000).i32(0xFF0000).i32(0x00FF00); // black, red, green
    b.b.append(reinterpret_cast<const char *>(rle), sizeof rle);
    QString error;
    std::size_t consumed = 0;
    auto pic = TPicture::FromBmpStream(reinterpret_cast<const std::uint8_t *>(b.b.constData()),
                                       std::size_t(b.b.size()), TBmpMode::Embedded, &consumed, &error);
    ASSERT_TRUE(pic) << error.toStdString();
    const QImage img = pic->ToImage();
    ASSERT_EQ(img.size(), QSize(4, 2));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(img.pixel(x, 1), qRgb(255, 0, 0)) << x; // bottom row: red run
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 255, 0));          // top row after the line end
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(2, 0), qRgb(0, 0, 0));
}

namespace
{
// A placeable Windows metafile with one STRETCHDIB record whose bitmap
// header claims w × h pixels of 24 bits, followed by a few bytes only.
TBytes hugeDibWmf(std::int32_t w, std::int32_t h, bool rle8 = false)
{
    Bytes b;
    b.i32(std::int32_t(0x9AC6CDD7u)).u16(0).u16(0).u16(0).u16(1000).u16(1000).u16(1440).i32(0);
    std::uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= std::uint16_t(std::uint8_t(b.b[i]) | std::uint8_t(b.b[i + 1]) << 8);
    b.u16(sum);
    // RLE8: a colour table of 256 entries, then a few bytes of runs.
    const int table = rle8 ? 256 * 4 : 0;
    const int dibBytes = 40 + table + 64;
    const int recordWords = (6 + 4 + 2 + 16 + dibBytes) / 2;
    const int total = 9 + recordWords + 3;
    b.u16(1).u16(9).u16(0x0300).i32(total).u16(0).i32(recordWords).u16(0);
    b.i32(recordWords).u16(0x0F43);                  // STRETCHDIB
    b.i32(0x00CC0020).u16(0);                        // SRCCOPY, DIB_RGB_COLORS
    b.u16(h & 0xFFFF).u16(w & 0xFFFF).u16(0).u16(0); // source height, width, y, x
    b.u16(1000).u16(1000).u16(0).u16(0);             // destination height, width, y, x
    b.i32(40).i32(w).i32(h).u16(1).u16(rle8 ? 8 : 24).i32(rle8 ? 1 : 0).i32(0).i32(0).i32(0).i32(0).i32(0);
    b.b.append(QByteArray(table, '\x40'));
    b.b.append(QByteArray(64, '\x7F'));
    b.i32(3).u16(0); // EOF
    return TBytes(b.b.begin(), b.b.end());
}

long maxResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
} // namespace

// A bitmap record claiming 65535 × 65535 × 3 bytes (12.8 GB) with a few
// bytes of bits is refused before libwmf sees it (libwmf allocates what a
// record claims; its memory is capped besides). A run-length bitmap, whose
// rows cannot be counted beforehand, reaches libwmf within the pixel limit.
// Either way the process stays far below 1 GB.
TEST(MetafileLimits, WmfBitmapClaimingGigabytesIsRefusedByTheCap)
{
    for (auto [w, h] : {std::pair{65535, 65535}, {32768, 32768}, {0x7FFFFFFF, 1}, {20000, -20000}}) {
        const TBytes wmf = hugeDibWmf(w, h);
        ASSERT_EQ(DetectMetafile(wmf), TPicture::MetafileType::Wmf);
        EXPECT_FALSE(WmfBitmapsOk(wmf, 22)) << w << " x " << h;
        TMetafileSvg svg;
        EXPECT_FALSE(MetafileToSvg(wmf, TPicture::MetafileType::Wmf, &svg)) << w << " x " << h;
    }
    const TBytes rle = hugeDibWmf(8000, 8000, true);
    ASSERT_TRUE(WmfBitmapsOk(rle, 22));
    TMetafileSvg svg;
    MetafileToSvg(rle, TPicture::MetafileType::Wmf, &svg);
    EXPECT_LT(svg.svg.size(), 1 << 20);
    EXPECT_LT(maxResidentMb(), 1024);
}

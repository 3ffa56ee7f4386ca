// What an enhanced metafile may be before it goes to the converter. The
// converter trusts sizes, counts and bitmap headers inside the records; a
// damaged or hostile file could make it read past the data, allocate
// gigabytes for a bitmap or produce an endless drawing. Such files are
// refused here as a whole.
#include "model/le_bytes.h"
#include "model/picture_internal.h"

#include <cstdint>
#include <cstdlib>

using lebytes::le16;
using lebytes::le32;
using lebytes::le32s;

namespace
{

constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kHeaderMinSize = 88;
// The reference device: no screen or printer has a million pixels or a
// kilometre on a side.
constexpr std::int64_t kMaxDevicePixels = 1'000'000;
constexpr std::int64_t kMaxDeviceMm = 1'000'000;
// Frame (0.01 mm) and bounds (device pixels): ten metres, a million pixels.
constexpr std::int64_t kMaxFrame = 1'000'000;
constexpr std::int64_t kMaxBounds = 1'000'000;

enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_EOF = 14,
    EMR_POLYDRAW = 56,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_MASKBLT = 78,
    EMR_PLGBLT = 79,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_POLYDRAW16 = 92,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_ALPHABLEND = 114,
    EMR_TRANSPARENTBLT = 116,
};

} // namespace

// A bitmap header (BITMAPINFO, cbBmi bytes with its colour table) and
// cbBits bytes of bits: sizes that fit and a size a drawing can have.
bool DibOk(const std::uint8_t *bmi, std::uint64_t cbBmi, std::uint64_t cbBits)
{
    if (cbBmi < 12)
        return false;
    const std::uint32_t headerSize = le32(bmi);
    std::int64_t width, height;
    std::uint32_t bitCount, compression = 0, coloursUsed = 0;
    if (headerSize == 12) { // BITMAPCOREHEADER
        width = le16(bmi + 4);
        height = le16(bmi + 6);
        bitCount = le16(bmi + 10);
    } else {
        if (headerSize < 40 || headerSize > cbBmi)
            return false;
        width = le32s(bmi + 4);
        height = le32s(bmi + 8);
        bitCount = le16(bmi + 14);
        compression = le32(bmi + 16);
        coloursUsed = le32(bmi + 32);
    }
    if (width < 0 || height == INT32_MIN)
        return false;
    height = std::llabs(height);
    switch (bitCount) {
    case 0: // JPEG or PNG inside
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    if (width * height > kMaxEmfBitmapPixels)
        return false;
    // The colour table must lie inside the header's bytes.
    if (bitCount >= 1 && bitCount <= 8) {
        const std::uint64_t max = std::uint64_t(1) << bitCount;
        if (coloursUsed > max)
            return false;
        const std::uint64_t colours = coloursUsed ? coloursUsed : max;
        const std::uint64_t entry = headerSize == 12 ? 3 : 4;
        if (headerSize + colours * entry > cbBmi)
            return false;
    }
    // Uncompressed rows must all be there.
    if (compression == 0 || compression == 3) {
        if (bitCount == 0)
            return false;
        const std::uint64_t stride = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
        if (stride * std::uint64_t(height) > cbBits)
            return false;
    }
    return true;
}

bool PackedDibOk(const std::uint8_t *dib, std::uint64_t size)
{
    if (size < 12)
        return false;
    const std::uint64_t headerSize = le32(dib);
    if (headerSize != 12 && (headerSize < 40 || headerSize > size))
        return false;
    std::uint64_t table = 0;
    const std::uint32_t bitCount = headerSize == 12 ? le16(dib + 10) : le16(dib + 14);
    if (bitCount >= 1 && bitCount <= 8) {
        const std::uint64_t used = headerSize == 12 ? 0 : le32(dib + 32);
        table = (used ? used : std::uint64_t(1) << bitCount) * (headerSize == 12 ? 3 : 4);
    } else if (headerSize == 40 && le32(dib + 16) == 3) {
        table = 12; // the three colour masks after the header
    }
    const std::uint64_t bmiSize = headerSize + table;
    if (bmiSize > size)
        return false;
    return DibOk(dib, bmiSize, size - bmiSize);
}

namespace
{

// A bitmap inside a record: header (BITMAPINFO) and bits, both given as
// offset and size from the record's start.
bool bitmapOk(const std::uint8_t *rec, std::uint64_t recSize, std::uint32_t fieldsAt)
{
    const std::uint64_t offBmi = le32(rec + fieldsAt), cbBmi = le32(rec + fieldsAt + 4);
    const std::uint64_t offBits = le32(rec + fieldsAt + 8), cbBits = le32(rec + fieldsAt + 12);
    if (cbBmi == 0)
        return cbBits == 0 || offBits + cbBits <= recSize; // no bitmap (a pattern operation)
    if (offBmi + cbBmi > recSize || offBits + cbBits > recSize)
        return false;
    return DibOk(rec + offBmi, cbBmi, cbBits);
}

// Point lists: counts that fit the record.
bool pointsOk(std::uint32_t type, const std::uint8_t *rec, std::uint64_t size)
{
    auto need = [&](std::uint64_t bytes) { return bytes <= size; };
    switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
        return need(28) && need(28 + std::uint64_t(le32(rec + 24)) * 8);
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        return need(28) && need(28 + std::uint64_t(le32(rec + 24)) * 4);
    case EMR_POLYDRAW:
        return need(28) && need(28 + std::uint64_t(le32(rec + 24)) * 9);
    case EMR_POLYDRAW16:
        return need(28) && need(28 + std::uint64_t(le32(rec + 24)) * 5);
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
        if (!need(32))
            return false;
        const std::uint64_t polys = le32(rec + 24), points = le32(rec + 28);
        const std::uint64_t pointSize = (type == EMR_POLYPOLYLINE || type == EMR_POLYPOLYGON) ? 8 : 4;
        if (!need(32 + polys * 4 + points * pointSize))
            return false;
        // The polygons' counts add up to no more than the points given.
        std::uint64_t sum = 0;
        for (std::uint64_t i = 0; i < polys; ++i)
            sum += le32(rec + 32 + i * 4);
        return sum <= points;
    }
    default:
        return true;
    }
}

// Points a record draws (its counts are checked against its size first).
std::uint64_t pointCount(std::uint32_t type, const std::uint8_t *rec)
{
    switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
    case EMR_POLYDRAW:
    case EMR_POLYDRAW16:
        return le32(rec + 24);
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
        return le32(rec + 28);
    default:
        return 1; // a line to, an arc, a rectangle: a point or a few
    }
}

// Fixed part of the records that carry bitmaps and where their bitmap
// fields are (0 for none).
struct BitmapRecord {
    std::uint32_t type, minSize, first, second;
};
constexpr BitmapRecord kBitmapRecords[] = {
    {EMR_BITBLT, 100, 84, 0},           {EMR_STRETCHBLT, 108, 84, 0},
    {EMR_MASKBLT, 128, 84, 112},        {EMR_PLGBLT, 140, 96, 124},
    {EMR_SETDIBITSTODEVICE, 76, 48, 0}, {EMR_STRETCHDIBITS, 80, 48, 0},
    {EMR_CREATEMONOBRUSH, 32, 16, 0},   {EMR_CREATEDIBPATTERNBRUSHPT, 32, 16, 0},
    {EMR_ALPHABLEND, 108, 84, 0},       {EMR_TRANSPARENTBLT, 108, 84, 0},
};

bool inRange(std::int64_t v, std::int64_t min, std::int64_t max)
{
    return v >= min && v <= max;
}
} // namespace

TEmfCheck CheckEmfForConversion(const TBytes &bytes)
{
    const std::uint64_t n = bytes.size();
    const std::uint8_t *p = bytes.data();
    if (n < kHeaderMinSize || le32(p) != EMR_HEADER || le32(p + 40) != kEmfSignature)
        return TEmfCheck::Header;
    const std::uint64_t headerSize = le32(p + 4);
    if (headerSize < kHeaderMinSize || headerSize > n || headerSize % 4 != 0)
        return TEmfCheck::Header;
    // The description and the pixel format lie inside the header record.
    const std::uint64_t descChars = le32(p + 60), descAt = le32(p + 64);
    if (descChars > 0 && (descAt < kHeaderMinSize || descAt + descChars * 2 > headerSize))
        return TEmfCheck::Header;
    // The pixel format fields follow the base header only where the
    // description does not begin there.
    if (headerSize >= 100 && (descChars == 0 || descAt >= 100)) {
        const std::uint64_t pfSize = le32(p + 88), pfAt = le32(p + 92);
        if (pfSize > 0 && (pfAt < kHeaderMinSize || pfAt + pfSize > headerSize))
            return TEmfCheck::Header;
    }
    const std::int64_t devX = le32s(p + 72), devY = le32s(p + 76);
    const std::int64_t mmX = le32s(p + 80), mmY = le32s(p + 84);
    if (!inRange(devX, 1, kMaxDevicePixels) || !inRange(devY, 1, kMaxDevicePixels) ||
        !inRange(mmX, 1, kMaxDeviceMm) || !inRange(mmY, 1, kMaxDeviceMm))
        return TEmfCheck::Frame;
    const std::int64_t boundsW = std::int64_t(le32s(p + 16)) - le32s(p + 8);
    const std::int64_t boundsH = std::int64_t(le32s(p + 20)) - le32s(p + 12);
    const std::int64_t frameW = std::int64_t(le32s(p + 32)) - le32s(p + 24);
    const std::int64_t frameH = std::int64_t(le32s(p + 36)) - le32s(p + 28);
    if (std::llabs(boundsW) > kMaxBounds || std::llabs(boundsH) > kMaxBounds ||
        std::llabs(frameW) > kMaxFrame || std::llabs(frameH) > kMaxFrame)
        return TEmfCheck::Frame;

    std::uint64_t records = 0, points = 0;
    for (std::uint64_t off = 0; off < n;) {
        if (n - off < 8)
            return TEmfCheck::Record;
        const std::uint8_t *rec = p + off;
        const std::uint32_t type = le32(rec);
        const std::uint64_t size = le32(rec + 4);
        if (size < 8 || size % 4 != 0 || size > n - off)
            return TEmfCheck::Record;
        if (++records > kMaxEmfRecords)
            return TEmfCheck::RecordCount;
        if (type == EMR_EOF)
            break;
        if (!pointsOk(type, rec, size))
            return TEmfCheck::Record;
        points += pointCount(type, rec);
        if (points > kMaxMetafilePoints)
            return TEmfCheck::RecordCount;
        for (const BitmapRecord &b : kBitmapRecords) {
            if (b.type != type)
                continue;
            if (size < b.minSize)
                return TEmfCheck::Record;
            if (!bitmapOk(rec, size, b.first) || (b.second && !bitmapOk(rec, size, b.second)))
                return TEmfCheck::Bitmap;
        }
        off += size;
    }
    return TEmfCheck::Ok;
}

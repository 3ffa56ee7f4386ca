// The bitmaps in WMF records, checked before libwmf plays them: its bitmap
// reader trusts the header it is given, and a header size of 0, rows that are
// not there or a record too short for its bitmap keep it reading for minutes.
#include "model/le_bytes.h"
#include "model/picture_internal.h"

#include <QLocale>

#include <algorithm>

using lebytes::le16;
using lebytes::le32;

namespace
{
// Where the player's bitmap starts in a record (bytes from the record's
// start), or 0 when it reads none from it. The player reads a bitmap as soon
// as it has the parameters it needs and a picture to draw, however short the
// record is: it then reads on past the record's end.
std::uint64_t bitmapOffset(const std::uint8_t *rec, std::uint64_t words, std::uint16_t function)
{
    auto par = [rec](unsigned i) { return le16(rec + 6 + 2 * i); };
    switch (function) {
    case 0x0142: // DIBCREATEPATTERNBRUSH: style, colour usage
        return 10;
    case 0x0940: // DIBBITBLT: raster operation, 6 coordinates; 9 words without a bitmap
        return words >= 8 && words != 9 && par(5) && par(4) ? 22 : 0;
    case 0x0B41: // DIBSTRETCHBLT: raster operation, 8 coordinates
        return words >= 10 && par(7) && par(6) && par(3) && par(2) ? 26 : 0;
    case 0x0F43: // STRETCHDIB: raster operation, colour usage, 8 coordinates
        return words >= 11 && par(8) && par(7) && par(4) && par(3) ? 28 : 0;
    case 0x0D33: // SETDIBTODEV: colour usage, 8 values
        return words >= 9 && par(6) && par(5) ? 24 : 0;
    default:
        return 0;
    }
}
} // namespace

bool WmfBitmapsOk(const TBytes &bytes, std::size_t headerAt)
{
    const std::uint64_t end = bytes.size();
    if (end < headerAt + 18)
        return false;
    const std::uint8_t *b = bytes.data();
    std::uint64_t at = headerAt + std::uint64_t(le16(b + headerAt + 2)) * 2;
    while (at + 6 <= end) {
        const std::uint64_t size = std::uint64_t(le32(b + at)) * 2;
        const std::uint16_t function = le16(b + at + 4);
        // libwmf ends at the end record of exactly three words and stops at
        // a size below that; a record of function 0 with more words it
        // passes over like any record it does not know.
        if ((function == 0 && size == 6) || size < 6)
            break;
        const std::uint64_t available = std::min(size, end - at);
        const std::uint64_t offset = bitmapOffset(b + at, (available - 6) / 2, function);
        if (offset && (available < offset + 12 || !PackedDibOk(b + at + offset, available - offset)))
            return false;
        at += size;
    }
    return true;
}

bool WmfWithinLimits(const TBytes &bytes, std::size_t headerAt)
{
    const std::uint64_t end = bytes.size();
    if (end < headerAt + 18)
        return true; // no metafile: for the other checks to say
    const std::uint8_t *b = bytes.data();
    std::uint64_t records = 0, points = 0;
    std::uint64_t at = headerAt + std::uint64_t(le16(b + headerAt + 2)) * 2;
    // Walked as libwmf walks them (see WmfBitmapsOk).
    while (at + 6 <= end) {
        const std::uint64_t size = std::uint64_t(le32(b + at)) * 2;
        const std::uint16_t function = le16(b + at + 4);
        if ((function == 0 && size == 6) || size < 6)
            break;
        const std::uint64_t available = std::min(size, end - at);
        std::uint64_t drawn = 1;
        if ((function == 0x0324 || function == 0x0325) && available >= 8) { // POLYGON, POLYLINE
            drawn = le16(b + at + 6);
        } else if (function == 0x0538 && available >= 8) { // POLYPOLYGON: the polygons' counts
            const std::uint64_t polygons = std::min<std::uint64_t>(le16(b + at + 6), (available - 8) / 2);
            for (std::uint64_t i = 0; i < polygons; ++i)
                drawn += le16(b + at + 8 + 2 * i);
        }
        points += drawn;
        if (++records > kMaxMetafileRecords || points > kMaxMetafilePoints)
            return false;
        at += size;
    }
    return true;
}

bool MetafileWithinLimits(const TBytes &bytes, TPicture::MetafileType type)
{
    switch (type) {
    case TPicture::MetafileType::Emf:
        return CheckEmfForConversion(bytes) != TEmfCheck::RecordCount;
    case TPicture::MetafileType::Wmf:
        return WmfWithinLimits(bytes, 22);
    case TPicture::MetafileType::None:
        break;
    }
    return true;
}

QString MetafileTooLargeText()
{
    return QStringLiteral("Die Metadatei enthält zu viele Zeichenbefehle (erlaubt sind höchstens %1 Befehle "
                          "und %2 Punkte)")
        .arg(QLocale(QLocale::German).toString(qulonglong(kMaxMetafileRecords)),
             QLocale(QLocale::German).toString(qulonglong(kMaxMetafilePoints)));
}

// Recognises the two metafile forms a field may hold.
#include "model/le_bytes.h"
#include "model/picture.h"

#include <cstring>

using lebytes::le16;
using lebytes::le32;

namespace
{

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::uint32_t kEmfSignature = 0x464D4520u; // " EMF"
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr std::size_t kWmfHeaderSize = 18;
constexpr std::size_t kEmfMinHeaderSize = 88;
} // namespace

TPicture::MetafileType DetectMetafile(const TBytes &bytes)
{
    const std::uint8_t *p = bytes.data();
    const std::size_t n = bytes.size();

    if (n >= kPlaceableHeaderSize + kWmfHeaderSize && le32(p) == kPlaceableKey) {
        // The checksum is the XOR of the ten words before it.
        std::uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= le16(p + 2 * i);
        if (sum != le16(p + 20))
            return TPicture::MetafileType::None;
        const std::uint8_t *hdr = p + kPlaceableHeaderSize;
        const std::uint16_t type = le16(hdr);
        const std::uint16_t headerWords = le16(hdr + 2);
        if ((type != 1 && type != 2) || headerWords != 9)
            return TPicture::MetafileType::None;
        const std::int16_t left = std::int16_t(le16(p + 6)), top = std::int16_t(le16(p + 8));
        const std::int16_t right = std::int16_t(le16(p + 10)), bottom = std::int16_t(le16(p + 12));
        if (right == left || bottom == top || le16(p + 14) == 0)
            return TPicture::MetafileType::None;
        return TPicture::MetafileType::Wmf;
    }

    if (n >= kEmfMinHeaderSize && le32(p) == 1 && le32(p + 40) == kEmfSignature) {
        const std::uint32_t headerSize = le32(p + 4);
        const std::uint32_t totalBytes = le32(p + 48);
        if (headerSize < kEmfMinHeaderSize || headerSize > n || totalBytes < headerSize)
            return TPicture::MetafileType::None;
        return TPicture::MetafileType::Emf;
    }
    return TPicture::MetafileType::None;
}

#pragma once
// Little-endian numbers in file bytes (BMP, WMF, EMF headers and records).

#include <cstdint>

namespace lebytes
{
inline std::uint16_t le16(const std::uint8_t *p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}
inline std::int16_t le16s(const std::uint8_t *p)
{
    return std::int16_t(le16(p));
}
inline std::uint32_t le32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::int32_t le32s(const std::uint8_t *p)
{
    return std::int32_t(le32(p));
}
} // namespace lebytes

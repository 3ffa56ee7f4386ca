#pragma once
// Little-endian numbers in file bytes (BMP, WMF, EMF headers and records),
// read and written.

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Writes over bytes already there (at + 2 or at + 4 within out).
inline void put16(std::vector<std::uint8_t> &out, std::size_t at, std::uint16_t v)
{
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
}
inline void put32(std::vector<std::uint8_t> &out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = std::uint8_t(v >> (8 * i));
}
inline void append16(std::vector<std::uint8_t> &out, std::uint16_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
inline void append32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    append16(out, std::uint16_t(v));
    append16(out, std::uint16_t(v >> 16));
}
} // namespace lebytes

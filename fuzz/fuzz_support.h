#pragma once
// Common set-up of the fuzz targets: a quiet offscreen application and
// message boxes that are answered at once.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz
{
// Call once from LLVMFuzzerInitialize.
void Init();
inline std::vector<std::uint8_t> Bytes(const std::uint8_t *data, std::size_t size)
{
    return std::vector<std::uint8_t>(data, data + size);
}
// Raster pictures are decoded only up to this size: larger ones take the same
// code paths and would only slow the search down.
constexpr long long kMaxDecodedPixels = 1'000'000;
} // namespace fuzz

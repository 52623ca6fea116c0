// Run-length encoded palette pictures (BI_RLE8, BI_RLE4).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vyn::gdi::bmp {

// Decodes the runs straight into `pixels` (width * height colours from
// `palette`, top row first; the data itself runs from the bottom row up).
// Pixels the data skips over (delta escapes, rows ended early) take palette
// entry 0. Runs past the right edge are clipped. False when the data ends
// before the end-of-bitmap escape while rows are still to come. `palette`
// holds 2^bitsPerPixel entries.
bool DecodeRle(std::span<const std::uint8_t> data, int bitsPerPixel, std::int32_t width, std::int32_t height,
               std::span<const std::uint32_t> palette, std::vector<std::uint32_t>& pixels);

}  // namespace vyn::gdi::bmp

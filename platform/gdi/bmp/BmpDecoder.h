// A whole BMP file turned into 32-bit pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vyn::gdi::bmp {

struct DecodedBmp {
  std::int32_t width;
  std::int32_t height;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// Every form that Windows' own loader reads: core and info headers (with the
// V4 and V5 forms), 1, 4, 8, 16, 24 and 32 bits a pixel, BI_RGB, BI_BITFIELDS,
// BI_RLE4 and BI_RLE8, bottom-up and top-down rows, short colour tables.
// Nothing for a file that is truncated, corrupt, past the limits or of
// another compression. Reads only inside `file`.
std::optional<DecodedBmp> DecodeBmp(std::span<const std::uint8_t> file);

}  // namespace vyn::gdi::bmp

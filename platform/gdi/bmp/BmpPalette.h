// The colour table of a palette picture.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/bmp/BmpHeaders.h"

namespace vyn::gdi::bmp {

// 2^bitCount entries as 32-bit DIB pixels (0x00RRGGBB). A table shorter than
// the depth allows is filled up with black, so every index a pixel can hold
// has a colour.
std::vector<std::uint32_t> ReadPalette(const ByteReader& file, const BmpLayout& layout);

}  // namespace vyn::gdi::bmp

// 16- and 32-bit pixels described by channel masks.
#pragma once

#include <cstdint>
#include <optional>

#include "gdi/bmp/BmpHeaders.h"

namespace vyn::gdi::bmp {

struct ChannelField {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  // The channel at 8 bits. A field of 8 bits or more keeps its top 8 bits. A
  // narrower field is scaled so that its largest value becomes 255, rounding
  // to nearest: a 5-bit 31 is 255 and a 5-bit 16 is 132, so a white 16-bit
  // pixel stays white. An empty mask reads as 0.
  std::uint32_t Expand(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    const std::uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return value >> (bits - 8);
    const std::uint32_t top = (1u << bits) - 1;
    return (value * 255 + top / 2) / top;
  }
};

struct BitFields {
  ChannelField red, green, blue;
  std::uint32_t ToDib(std::uint32_t pixel) const {
    return (red.Expand(pixel) << 16) | (green.Expand(pixel) << 8) | blue.Expand(pixel);
  }
};

// The fields of a 16- or 32-bit picture: its masks for BI_BITFIELDS, else
// 5-5-5 (16 bits) or 8-8-8 (32 bits). Nothing when a mask is not one
// contiguous run of bits, lies outside the pixel, or overlaps another.
std::optional<BitFields> ReadBitFields(const BmpLayout& layout);

}  // namespace vyn::gdi::bmp

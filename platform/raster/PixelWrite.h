// Storing one pixel of 1 to 4 bytes; chosen at compile time so that no pixel
// goes through a run-time format switch.
#pragma once

#include <cstdint>
#include <cstring>

#include "raster/PaletteMatch.h"
#include "raster/PixelPacking.h"

namespace vyn::raster {

template <int Bytes>
inline void StorePixel(std::uint8_t* at, std::uint32_t pixel) {
  if constexpr (Bytes == 1) {
    *at = static_cast<std::uint8_t>(pixel);
  } else if constexpr (Bytes == 2) {
    const auto value = static_cast<std::uint16_t>(pixel);
    std::memcpy(at, &value, 2);
  } else if constexpr (Bytes == 3) {
    at[0] = static_cast<std::uint8_t>(pixel);
    at[1] = static_cast<std::uint8_t>(pixel >> 8);
    at[2] = static_cast<std::uint8_t>(pixel >> 16);
  } else {
    std::memcpy(at, &pixel, 4);
  }
}

// An 8-bit RGB colour as a pixel of a target of `Bytes` bytes.
template <int Bytes>
inline std::uint32_t PackRgb(const PixelPacking& p, unsigned r, unsigned g, unsigned b) {
  if constexpr (Bytes == 1) {
    return p.palette != nullptr ? p.palette->Nearest(r, g, b) : 0;
  } else {
    return ((r >> p.redDrop) << p.redShift) | ((g >> p.greenDrop) << p.greenShift) |
           ((b >> p.blueDrop) << p.blueShift);
  }
}

}  // namespace vyn::raster

// Where the rasteriser draws: colour and 16-bit depth over raw memory that
// somebody else owns (a DirectDraw surface, a test's buffer).
#pragma once

#include <cstdint>

#include "raster/PixelPacking.h"
#include "raster/Rect.h"

namespace vyn::raster {

struct RenderTarget {
  std::uint8_t* color = nullptr;  // row 0 is the top row
  int colorPitch = 0;             // bytes
  std::uint16_t* depth = nullptr;  // may be null: no depth test
  int depthPitch = 0;              // bytes
  int width = 0;
  int height = 0;
  PixelPacking packing;

  PixelRect Bounds() const { return {0, 0, width, height}; }
};

// Depth of the far plane, the value a clear writes.
inline constexpr std::uint16_t FarDepth = 0xFFFF;

// Fills `rect` (clipped to the target) with `pixel` and the depth with FarDepth.
void ClearRect(const RenderTarget& target, const PixelRect& rect, std::uint32_t pixel);

// The nearest depth stored inside `rect` (FarDepth when it is empty).
std::uint16_t NearestDepth(const RenderTarget& target, const PixelRect& rect);

}  // namespace vyn::raster

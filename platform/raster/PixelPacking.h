// How an RGB colour becomes a pixel of the target: shifts of each channel for
// the packed formats (16-bit 5-6-5 or 5-5-5, 24- and 32-bit 8-8-8), or the
// nearest palette entry for 8-bit targets.
#pragma once

#include <cstdint>

namespace vyn::raster {

class PaletteMatch;

struct PixelPacking {
  int bytesPerPixel = 4;
  // Packed formats: channel c (8 bits) goes to ((c >> drop) << shift).
  int redShift = 16, greenShift = 8, blueShift = 0;
  int redDrop = 0, greenDrop = 0, blueDrop = 0;
  // 8-bit targets: the palette lookup (null for packed formats).
  const PaletteMatch* palette = nullptr;

  std::uint32_t Pack(unsigned r, unsigned g, unsigned b) const;
};

// The packing of a format described by its depth and channel masks; 8 bits
// per pixel needs the palette lookup.
PixelPacking PackingFor(int bitsPerPixel, std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask,
                        const PaletteMatch* palette);

}  // namespace vyn::raster

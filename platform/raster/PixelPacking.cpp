#include "raster/PixelPacking.h"

#include <bit>

#include "raster/PaletteMatch.h"

namespace vyn::raster {

namespace {

void ChannelOf(std::uint32_t mask, int& shift, int& drop) {
  if (mask == 0) {
    shift = 0;
    drop = 8;
    return;
  }
  shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  drop = bits >= 8 ? 0 : 8 - bits;
}

}  // namespace

std::uint32_t PixelPacking::Pack(unsigned r, unsigned g, unsigned b) const {
  if (palette != nullptr) return palette->Nearest(r, g, b);
  return ((r >> redDrop) << redShift) | ((g >> greenDrop) << greenShift) | ((b >> blueDrop) << blueShift);
}

PixelPacking PackingFor(int bitsPerPixel, std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask,
                        const PaletteMatch* palette) {
  PixelPacking p;
  p.bytesPerPixel = bitsPerPixel / 8;
  if (bitsPerPixel == 8) {
    p.palette = palette;
    return p;
  }
  if (redMask == 0 && greenMask == 0 && blueMask == 0) {
    if (bitsPerPixel == 16) {
      redMask = 0xF800, greenMask = 0x07E0, blueMask = 0x001F;
    } else {
      redMask = 0xFF0000, greenMask = 0x00FF00, blueMask = 0x0000FF;
    }
  }
  ChannelOf(redMask, p.redShift, p.redDrop);
  ChannelOf(greenMask, p.greenShift, p.greenDrop);
  ChannelOf(blueMask, p.blueShift, p.blueDrop);
  return p;
}

}  // namespace vyn::raster

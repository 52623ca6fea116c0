#include "gdi/bmp/BmpPalette.h"

namespace vyn::gdi::bmp {

std::vector<std::uint32_t> ReadPalette(const ByteReader& file, const BmpLayout& layout) {
  std::vector<std::uint32_t> palette(std::size_t{1} << layout.bitCount, 0);
  const std::size_t entrySize = layout.core ? 3 : 4;
  for (std::size_t i = 0; i < layout.paletteEntries && i < palette.size(); ++i) {
    const std::size_t at = layout.paletteOffset + i * entrySize;
    // Entries are stored blue, green, red (and a reserved byte).
    palette[i] = file.U8(at) | (file.U8(at + 1) << 8) | (static_cast<std::uint32_t>(file.U8(at + 2)) << 16);
  }
  return palette;
}

}  // namespace vyn::gdi::bmp

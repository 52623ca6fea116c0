#include "gdi/bmp/BmpHeaders.h"

#include "gdi/bmp/BmpLimits.h"

namespace vyn::gdi::bmp {
namespace {

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

bool KnownInfoSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Depth and compression go together: RLE8 only at 8 bits, RLE4 only at 4,
// bit fields only at 16 or 32. JPEG and PNG inside a BMP are for printers and
// are not decoded.
bool DepthFitsCompression(int bits, std::uint32_t compression) {
  switch (compression) {
    case BI_RGB: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BI_RLE8: return bits == 8;
    case BI_RLE4: return bits == 4;
    case BI_BITFIELDS: return bits == 16 || bits == 32;
    default: return false;
  }
}

bool ReadCore(const ByteReader& file, BmpLayout& layout) {
  constexpr std::size_t h = FileHeaderSize;
  layout.width = file.U16(h + 4);
  layout.height = file.U16(h + 6);
  if (file.U16(h + 8) != 1) return false;  // planes
  layout.bitCount = file.U16(h + 10);
  if (layout.bitCount == 16 || layout.bitCount == 32) return false;  // not in core files
  layout.core = true;
  layout.paletteOffset = h + CoreHeaderSize;
  return true;
}

bool ReadInfo(const ByteReader& file, std::uint32_t headerSize, BmpLayout& layout,
              std::size_t& declaredColors) {
  constexpr std::size_t h = FileHeaderSize;
  const std::int64_t width = file.I32(h + 4);
  const std::int64_t height = file.I32(h + 8);
  if (file.U16(h + 12) != 1) return false;  // planes
  layout.bitCount = file.U16(h + 14);
  layout.compression = file.U32(h + 16);
  declaredColors = file.U32(h + 32);
  if (width <= 0 || height == 0 || width > MaxSide || height > MaxSide || height < -MaxSide) return false;
  layout.width = static_cast<std::int32_t>(width);
  layout.topDown = height < 0;
  layout.height = static_cast<std::int32_t>(height < 0 ? -height : height);
  layout.paletteOffset = h + headerSize;
  if (layout.compression == BI_BITFIELDS) {
    // A plain 40-byte header is followed by the three masks; the longer
    // headers carry them inside.
    const std::size_t at = h + InfoHeaderSize;
    if (!file.Has(at, 12)) return false;
    for (int c = 0; c < 3; ++c) layout.masks[c] = file.U32(at + 4 * c);
    if (headerSize == InfoHeaderSize) layout.paletteOffset += 12;
  }
  return true;
}

}  // namespace

std::optional<BmpLayout> ReadLayout(const ByteReader& file) {
  if (!file.Has(0, FileHeaderSize + 4) || file.U8(0) != 'B' || file.U8(1) != 'M') return std::nullopt;
  const std::uint32_t headerSize = file.U32(FileHeaderSize);
  if (!file.Has(FileHeaderSize, headerSize)) return std::nullopt;

  BmpLayout layout;
  std::size_t declaredColors = 0;
  if (headerSize == CoreHeaderSize) {
    if (!ReadCore(file, layout)) return std::nullopt;
  } else if (KnownInfoSize(headerSize)) {
    if (!ReadInfo(file, headerSize, layout, declaredColors)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (layout.width <= 0 || layout.height <= 0 || layout.width > MaxSide || layout.height > MaxSide)
    return std::nullopt;
  if (static_cast<std::int64_t>(layout.width) * layout.height > MaxPixels) return std::nullopt;
  if (!DepthFitsCompression(layout.bitCount, layout.compression)) return std::nullopt;
  // Run-length data is always stored bottom-up.
  if (layout.topDown && (layout.compression == BI_RLE8 || layout.compression == BI_RLE4)) return std::nullopt;

  // The pixel data starts at bfOffBits; an offset of 0 (some writers) means
  // right after the colour table.
  const std::size_t entrySize = layout.core ? 3 : 4;
  std::size_t tableSize = 0;
  if (layout.bitCount <= 8) {
    const std::size_t full = std::size_t{1} << layout.bitCount;
    tableSize = declaredColors == 0 || declaredColors > full ? full : declaredColors;
  }
  const std::size_t offBits = file.U32(10);
  layout.dataOffset = offBits != 0 ? offBits : layout.paletteOffset + tableSize * entrySize;
  if (layout.dataOffset < layout.paletteOffset || layout.dataOffset >= file.size()) return std::nullopt;
  // A colour table that the pixel data cuts short has only the entries that fit.
  const std::size_t room = (layout.dataOffset - layout.paletteOffset) / entrySize;
  layout.paletteEntries = tableSize < room ? tableSize : room;
  if (layout.bitCount <= 8 && layout.paletteEntries == 0) return std::nullopt;
  return layout;
}

}  // namespace vyn::gdi::bmp

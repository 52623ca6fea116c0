#include "gdi/bmp/BmpDecoder.h"

#include "gdi/bmp/BmpBitFields.h"
#include "gdi/bmp/BmpHeaders.h"
#include "gdi/bmp/BmpPalette.h"
#include "gdi/bmp/BmpRle.h"

namespace vyn::gdi::bmp {
namespace {

std::size_t RowStride(const BmpLayout& layout) {
  const std::size_t bits = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.bitCount);
  return (bits + 31) / 32 * 4;
}

// The stored row that is displayed as row y.
std::size_t StoredRow(const BmpLayout& layout, std::int32_t y) {
  return static_cast<std::size_t>(layout.topDown ? y : layout.height - 1 - y);
}

// Index of pixel x of a packed palette row of 1, 4 or 8 bits: the leftmost
// pixel sits in the high bits of its byte.
std::uint32_t PackedIndex(const std::uint8_t* row, std::int32_t x, int bits) {
  const std::size_t bit = static_cast<std::size_t>(x) * bits;
  const int shift = 8 - bits - static_cast<int>(bit % 8);
  return (row[bit / 8] >> shift) & ((1u << bits) - 1);
}

std::uint32_t DirectPixel(const std::uint8_t* row, std::int32_t x, int bits, const BitFields& fields) {
  const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
  switch (bits) {
    case 16: return fields.ToDib(row[at] | (row[at + 1] << 8));
    case 24: return row[at] | (row[at + 1] << 8) | (static_cast<std::uint32_t>(row[at + 2]) << 16);
    default:
      return fields.ToDib(row[at] | (row[at + 1] << 8) | (static_cast<std::uint32_t>(row[at + 2]) << 16) |
                          (static_cast<std::uint32_t>(row[at + 3]) << 24));
  }
}

std::optional<DecodedBmp> DecodeUncompressed(const ByteReader& file, const BmpLayout& layout) {
  const std::size_t stride = RowStride(layout);
  // The last row may come without its padding.
  const std::size_t usedBytes = (static_cast<std::size_t>(layout.width) * layout.bitCount + 7) / 8;
  if (!file.Has(layout.dataOffset, stride * (layout.height - 1) + usedBytes)) return std::nullopt;
  std::optional<BitFields> fields;
  std::vector<std::uint32_t> palette;
  if (layout.bitCount <= 8) {
    palette = ReadPalette(file, layout);
  } else if (layout.bitCount != 24) {
    fields = ReadBitFields(layout);
    if (!fields) return std::nullopt;
  }
  const BitFields direct = fields.value_or(BitFields{});
  DecodedBmp out{layout.width, layout.height, {}};
  out.pixels.resize(static_cast<std::size_t>(layout.width) * layout.height);
  for (std::int32_t y = 0; y < layout.height; ++y) {
    const std::uint8_t* row = file.bytes().data() + layout.dataOffset + StoredRow(layout, y) * stride;
    std::uint32_t* target = out.pixels.data() + static_cast<std::size_t>(y) * layout.width;
    for (std::int32_t x = 0; x < layout.width; ++x)
      target[x] = layout.bitCount <= 8 ? palette[PackedIndex(row, x, layout.bitCount)]
                                       : DirectPixel(row, x, layout.bitCount, direct);
  }
  return out;
}

std::optional<DecodedBmp> DecodeRunLength(const ByteReader& file, const BmpLayout& layout) {
  const std::vector<std::uint32_t> palette = ReadPalette(file, layout);
  DecodedBmp out{layout.width, layout.height, {}};
  if (!DecodeRle(file.bytes().subspan(layout.dataOffset), layout.bitCount, layout.width, layout.height, palette,
                 out.pixels))
    return std::nullopt;
  return out;
}

}  // namespace

std::optional<DecodedBmp> DecodeBmp(std::span<const std::uint8_t> bytes) {
  const ByteReader file(bytes);
  const std::optional<BmpLayout> layout = ReadLayout(file);
  if (!layout) return std::nullopt;
  if (layout->compression == BI_RLE8 || layout->compression == BI_RLE4) return DecodeRunLength(file, *layout);
  return DecodeUncompressed(file, *layout);
}

}  // namespace vyn::gdi::bmp

#include "gdi/bmp/BmpBitFields.h"

#include <bit>

namespace vyn::gdi::bmp {
namespace {

std::optional<ChannelField> FieldOf(std::uint32_t mask) {
  ChannelField field;
  field.mask = mask;
  if (mask == 0) return field;
  field.shift = std::countr_zero(mask);
  field.bits = std::popcount(mask);
  // Contiguous: shifting down leaves 2^bits - 1.
  if (field.bits < 32 && (mask >> field.shift) != (1u << field.bits) - 1) return std::nullopt;
  return field;
}

}  // namespace

std::optional<BitFields> ReadBitFields(const BmpLayout& layout) {
  std::uint32_t masks[3];
  if (layout.compression == BI_BITFIELDS) {
    for (int c = 0; c < 3; ++c) masks[c] = layout.masks[c];
  } else if (layout.bitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  const std::uint32_t pixelBits = layout.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2])) return std::nullopt;
  BitFields fields;
  ChannelField* channels[3] = {&fields.red, &fields.green, &fields.blue};
  for (int c = 0; c < 3; ++c) {
    if (masks[c] & ~pixelBits) return std::nullopt;
    std::optional<ChannelField> field = FieldOf(masks[c]);
    if (!field) return std::nullopt;
    *channels[c] = *field;
  }
  return fields;
}

}  // namespace vyn::gdi::bmp

// Nearest palette entry for any colour, through a table over 15-bit RGB built
// once per palette, so that an 8-bit target costs one lookup per pixel.
#pragma once

#include <array>
#include <cstdint>

namespace vyn::raster {

struct PaletteColor {
  std::uint8_t r, g, b;
};

class PaletteMatch {
 public:
  // Builds the table for 256 entries; entries whose `usable` flag is false are
  // never chosen (when none is usable every entry is).
  void Build(const PaletteColor (&entries)[256], const bool (&usable)[256]);
  void Build(const PaletteColor (&entries)[256]);

  std::uint8_t Nearest(unsigned r, unsigned g, unsigned b) const {
    return table_[((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)];
  }
  const std::array<PaletteColor, 256>& entries() const { return entries_; }

 private:
  std::array<PaletteColor, 256> entries_{};
  std::array<std::uint8_t, 32768> table_{};
};

}  // namespace vyn::raster

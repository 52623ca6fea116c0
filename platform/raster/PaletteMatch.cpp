#include "raster/PaletteMatch.h"

namespace vyn::raster {

void PaletteMatch::Build(const PaletteColor (&entries)[256]) {
  bool usable[256];
  for (bool& u : usable) u = true;
  Build(entries, usable);
}

void PaletteMatch::Build(const PaletteColor (&entries)[256], const bool (&usable)[256]) {
  for (int i = 0; i < 256; ++i) entries_[i] = entries[i];
  int candidates[256];
  int count = 0;
  for (int i = 0; i < 256; ++i) {
    if (usable[i]) candidates[count++] = i;
  }
  if (count == 0) {
    for (int i = 0; i < 256; ++i) candidates[i] = i;
    count = 256;
  }
  for (int key = 0; key < 32768; ++key) {
    // The centre of the 15-bit cell, in 8-bit channels (0 and 255 at the ends).
    const int r = ((key >> 10) & 31) * 255 / 31;
    const int g = ((key >> 5) & 31) * 255 / 31;
    const int b = (key & 31) * 255 / 31;
    int best = candidates[0];
    int bestDistance = 1 << 30;
    for (int c = 0; c < count; ++c) {
      const PaletteColor& e = entries_[candidates[c]];
      const int dr = r - e.r, dg = g - e.g, db = b - e.b;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = candidates[c];
      }
    }
    table_[key] = static_cast<std::uint8_t>(best);
  }
}

}  // namespace vyn::raster

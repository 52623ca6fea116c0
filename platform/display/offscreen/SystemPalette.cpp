#include "display/offscreen/SystemPalette.h"

namespace vyn::display {
namespace {

struct Rgb {
  BYTE red, green, blue;
};

// Windows' static colours: the first ten and the last ten entries.
constexpr Rgb LowStatic[10] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
};
constexpr Rgb HighStatic[10] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

PALETTEENTRY entry(BYTE red, BYTE green, BYTE blue) { return {red, green, blue, 0}; }

}  // namespace

void FillDefaultSystemPalette(PALETTEENTRY (&entries)[256]) {
  for (int i = 0; i < 10; ++i) {
    entries[i] = entry(LowStatic[i].red, LowStatic[i].green, LowStatic[i].blue);
    entries[246 + i] = entry(HighStatic[i].red, HighStatic[i].green, HighStatic[i].blue);
  }
  // 216 entries: a 6x6x6 colour cube; then 20 greys between black and white.
  int index = 10;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        entries[index++] = entry(static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51),
                                 static_cast<BYTE>(b * 51));
  for (int grey = 1; index < 246; ++grey) {
    const BYTE level = static_cast<BYTE>(grey * 255 / 21);
    entries[index++] = entry(level, level, level);
  }
}

}  // namespace vyn::display

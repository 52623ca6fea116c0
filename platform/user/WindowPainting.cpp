#include "user/WindowPainting.h"

#include <algorithm>
#include <bit>

namespace vyn::user {
namespace {

BYTE RedOf(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
BYTE GreenOf(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
BYTE BlueOf(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// Scales an 8-bit component into the bits of `mask`.
std::uint32_t IntoMask(BYTE component, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  std::uint32_t maximum = mask >> shift;
  return ((component * maximum + 127) / 255) << shift;
}

std::uint32_t NearestPaletteIndex(COLORREF color, const PALETTEENTRY (&palette)[256]) {
  std::uint32_t best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    int dr = palette[i].peRed - RedOf(color);
    int dg = palette[i].peGreen - GreenOf(color);
    int db = palette[i].peBlue - BlueOf(color);
    int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<std::uint32_t>(i);
    }
  }
  return best;
}

}  // namespace

std::uint32_t PackColor(const display::PixelFormat& format, COLORREF color,
                        const PALETTEENTRY (&palette)[256]) {
  if (format.bitsPerPixel == 8) return NearestPaletteIndex(color, palette);
  return IntoMask(RedOf(color), format.redMask) | IntoMask(GreenOf(color), format.greenMask) |
         IntoMask(BlueOf(color), format.blueMask);
}

void FillClientArea(Window& window, COLORREF color) {
  display::Display& screen = display::ActiveDisplay();
  RECT area = CurrentRect(window);
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, screen.width());
  area.bottom = std::min<LONG>(area.bottom, screen.height());
  if (area.right <= area.left || area.bottom <= area.top) return;

  display::PixelFormat format = screen.format();
  PALETTEENTRY palette[256]{};
  if (format.bitsPerPixel == 8) screen.systemPalette(palette);
  screen.fill(area, PackColor(format, color, palette));
}

}  // namespace vyn::user

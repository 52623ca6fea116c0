// What a DC tells about its device. Every DC here belongs to the one screen,
// so the answers come from the active display.
#include <algorithm>

#include "display/Display.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjects.h"

int GetDeviceCaps(HDC dc, int index) {
  if (vyn::gdi::FindDc(dc) == nullptr) return 0;
  vyn::display::Display& display = vyn::display::ActiveDisplay();
  switch (index) {
    case BITSPIXEL: return display.format().bitsPerPixel;
    case PLANES: return 1;
    case HORZRES: return display.width();
    case VERTRES: return display.height();
    default: return 0;
  }
}

// Without a buffer: the number of entries of the system palette (0 when the
// display has none). With one: copies entries [start, start + count) that
// exist and returns how many it copied.
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries) {
  if (vyn::gdi::FindDc(dc) == nullptr) return 0;
  PALETTEENTRY palette[256];
  if (!vyn::display::ActiveDisplay().systemPalette(palette)) return 0;
  if (entries == nullptr) return 256;
  if (start >= 256) return 0;
  const UINT copied = std::min<UINT>(count, 256 - start);
  std::copy_n(palette + start, copied, entries);
  return copied;
}

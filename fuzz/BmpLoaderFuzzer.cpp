// Feeds arbitrary bytes to the BMP loader, then reads every pixel of what it
// accepts back through a memory DC, as the saver does. The sanitizers turn
// any read outside the input or the bitmap into a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gdi/Gdi.h"
#include "gdi/GdiObjects.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HGDIOBJ bitmap = vyn::gdi::CreateBitmapFromBmp(std::span(data, size));
  if (bitmap == nullptr) return 0;
  BITMAP info{};
  if (GetObjectA(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 || info.bmHeight <= 0)
    __builtin_trap();
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  std::uint32_t mix = 0;
  // Every fourth row, as the slab scan reads them, plus the row past the end.
  for (int y = 0; y <= info.bmHeight; y += 4)
    for (int x = 0; x <= info.bmWidth; ++x) mix ^= GetPixel(memory, x, y);
  if (GetPixel(memory, info.bmWidth, 0) != CLR_INVALID) __builtin_trap();
  SelectObject(memory, previous);
  DeleteDC(memory);
  if (!DeleteObject(bitmap)) __builtin_trap();
  return static_cast<int>(mix & 0);
}

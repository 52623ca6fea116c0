// Device contexts: window and screen DCs (GetDC / ReleaseDC) and memory DCs
// (CreateCompatibleDC / DeleteDC) with the objects selected into them.
#include <memory>

#include "gdi/Gdi.h"
#include "gdi/GdiObjects.h"
#include "gdi/StockObjects.h"
#include "testctl/TestControls.h"

using vyn::gdi::DcType;
using vyn::gdi::DeviceContext;

namespace {

HDC AddDc(DcType type, HWND window) {
  auto dc = std::make_unique<DeviceContext>(type, window);
  dc->brush = GetStockObject(WHITE_BRUSH);
  if (type == DcType::Memory) dc->bitmap = vyn::gdi::DefaultBitmap();
  return static_cast<HDC>(vyn::gdi::AddObject(std::move(dc)));
}

}  // namespace

// The window handle is kept, not checked: GDI here draws nothing on windows,
// and a DC of any window answers the device questions of the screen.
HDC GetDC(HWND window) {
  if (vyn::testctl::Enter("GetDC") != S_OK) return nullptr;
  return AddDc(window == nullptr ? DcType::Screen : DcType::Window, window);
}

int ReleaseDC(HWND window, HDC dc) {
  DeviceContext* context = vyn::gdi::FindDc(dc);
  if (context == nullptr || context->type == DcType::Memory || context->window != window) return 0;
  vyn::gdi::RemoveObject(dc);
  return 1;
}

// A memory DC starts with the 1 x 1 default bitmap selected. The reference DC
// only matters for its device, and every DC here is of the one screen.
HDC CreateCompatibleDC(HDC dc) {
  if (vyn::testctl::Enter("CreateCompatibleDC") != S_OK) return nullptr;
  if (dc != nullptr && vyn::gdi::FindDc(dc) == nullptr) return nullptr;
  return AddDc(DcType::Memory, nullptr);
}

BOOL DeleteDC(HDC dc) {
  DeviceContext* context = vyn::gdi::FindDc(dc);
  if (context == nullptr || context->type != DcType::Memory) return FALSE;
  if (vyn::gdi::Bitmap* bitmap = vyn::gdi::FindBitmap(context->bitmap)) bitmap->selectedInto = nullptr;
  vyn::gdi::RemoveObject(dc);
  return TRUE;
}

// Bitmaps go into memory DCs only, and into one DC at a time; brushes into
// any DC. The result is the object of the same kind that was selected before,
// or null when the selection is refused.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = vyn::gdi::FindDc(dc);
  if (context == nullptr) return nullptr;
  if (vyn::gdi::Bitmap* bitmap = vyn::gdi::FindBitmap(object)) {
    if (context->type != DcType::Memory) return nullptr;
    if (bitmap->selectedInto != nullptr && bitmap->selectedInto != dc) return nullptr;
    HGDIOBJ previous = context->bitmap;
    if (vyn::gdi::Bitmap* old = vyn::gdi::FindBitmap(previous)) old->selectedInto = nullptr;
    bitmap->selectedInto = bitmap->permanent ? nullptr : dc;
    context->bitmap = object;
    return previous;
  }
  COLORREF color;
  const int stock = vyn::gdi::StockObjectIndex(object);
  if (stock == NULL_BRUSH || vyn::gdi::StockBrushColor(static_cast<HBRUSH>(object), &color)) {
    HGDIOBJ previous = context->brush;
    context->brush = object;
    return previous;
  }
  return nullptr;
}

// Stock objects are never deleted (and deleting them is harmless); a bitmap
// still selected into a DC is refused.
BOOL DeleteObject(HGDIOBJ object) {
  if (vyn::gdi::StockObjectIndex(object) >= 0) return TRUE;
  vyn::gdi::Bitmap* bitmap = vyn::gdi::FindBitmap(object);
  if (bitmap == nullptr || bitmap->permanent || bitmap->selectedInto != nullptr) return FALSE;
  vyn::gdi::RemoveObject(object);
  return TRUE;
}

// Pixels are read from the bitmap of a memory DC, as 0x00BBGGRR: the stored
// colour of 24- and 32-bit pixels, the colour-table entry of palette pixels,
// and for 16-bit and bit-field pixels each channel scaled to 8 bits so that
// the field's largest value is 255 (see ChannelField::Expand). Outside the
// bitmap, and on window and screen DCs (GDI here keeps no copy of what is on
// the screen), the answer is CLR_INVALID.
COLORREF GetPixel(HDC dc, int x, int y) {
  DeviceContext* context = vyn::gdi::FindDc(dc);
  if (context == nullptr || context->type != DcType::Memory) return CLR_INVALID;
  const vyn::gdi::Bitmap* bitmap = vyn::gdi::FindBitmap(context->bitmap);
  if (bitmap == nullptr) return CLR_INVALID;
  return bitmap->ColorAt(x, y);
}

// Bitmaps answer with a BITMAP record: the loaded bitmap is a 32-bit
// top-down DIB section, so bmBits points at its first (top) row.
int GetObjectA(HANDLE object, int size, LPVOID buffer) {
  const vyn::gdi::Bitmap* bitmap = vyn::gdi::FindBitmap(object);
  if (bitmap == nullptr) return 0;
  constexpr int needed = static_cast<int>(sizeof(BITMAP));
  if (buffer == nullptr) return needed;
  if (size < needed) return 0;
  BITMAP record{};
  record.bmType = 0;
  record.bmWidth = bitmap->width;
  record.bmHeight = bitmap->height;
  record.bmWidthBytes = bitmap->width * 4;
  record.bmPlanes = 1;
  record.bmBitsPixel = 32;
  record.bmBits = const_cast<std::uint32_t*>(bitmap->pixels.data());
  *static_cast<BITMAP*>(buffer) = record;
  return needed;
}

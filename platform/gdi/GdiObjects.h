// The GDI handle table: every bitmap and device context is an object in a
// slot, and its handle names the slot and the slot's generation, so a stale
// or made-up handle is recognised in constant time instead of being followed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gdi/Gdi.h"
#include "kernel/Win32Types.h"

namespace vyn::gdi {

enum class ObjectKind { Bitmap, DeviceContext };

struct GdiObject {
  explicit GdiObject(ObjectKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  const ObjectKind kind;
};

// A device-independent bitmap, 32 bits a pixel, rows top-down. Each pixel is
// stored as a 32-bit DIB pixel: 0x00RRGGBB (blue in the lowest byte).
struct Bitmap final : GdiObject {
  Bitmap(std::int32_t w, std::int32_t h, std::vector<std::uint32_t> p)
      : GdiObject(ObjectKind::Bitmap), width(w), height(h), pixels(std::move(p)) {}
  std::int32_t width;
  std::int32_t height;
  std::vector<std::uint32_t> pixels;
  HDC selectedInto = nullptr;  // a bitmap is selected into one memory DC at most
  bool permanent = false;      // the default bitmap of new memory DCs

  COLORREF ColorAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const std::uint32_t dib = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)];
    // DIB 0x00RRGGBB -> COLORREF 0x00BBGGRR.
    return ((dib & 0xFF) << 16) | (dib & 0xFF00) | ((dib >> 16) & 0xFF);
  }
};

enum class DcType { Window, Screen, Memory };

struct DeviceContext final : GdiObject {
  DeviceContext(DcType t, HWND w) : GdiObject(ObjectKind::DeviceContext), type(t), window(w) {}
  DcType type;
  HWND window;                      // Window DCs: the window they were taken for
  HGDIOBJ bitmap = nullptr;         // Memory DCs: the selected bitmap
  HGDIOBJ brush = nullptr;          // the selected brush (a stock brush)
};

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object);
// The live object behind `handle` if it is of `kind`, else null.
GdiObject* FindObject(const void* handle, ObjectKind kind);
Bitmap* FindBitmap(const void* handle);
DeviceContext* FindDc(const void* handle);
void RemoveObject(const void* handle);
// Live objects in the table, the default bitmap aside (leak checks in tests).
std::size_t LiveObjectCount();

// Decodes BMP file bytes into a new bitmap: its handle, or null when the
// bytes are no bitmap the loader reads (LoadImageA's decoding step).
HGDIOBJ CreateBitmapFromBmp(std::span<const std::uint8_t> bytes);

// The 1 x 1 black bitmap that a new memory DC starts with; never deleted.
HGDIOBJ DefaultBitmap();

}  // namespace vyn::gdi

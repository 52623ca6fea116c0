#include "ddraw/Blit.h"

#include <cstring>

#include "ddraw/Clipper.h"
#include "ddraw/RectMath.h"

namespace vyn::ddraw {
namespace {

HRESULT checkSurfaces(const Surface& dest, const Surface& source) {
  if (dest.lost() || source.lost()) return DDERR_SURFACELOST;
  if (dest.locked() || source.locked()) return DDERR_SURFACEBUSY;
  if (source.kind() != SurfaceKind::Offscreen || dest.kind() == SurfaceKind::ZBuffer)
    return DDERR_UNSUPPORTED;
  if (!(dest.format() == source.format())) return DDERR_INVALIDPIXELFORMAT;
  return DD_OK;
}

RECT wholeOf(const Surface& surface) { return RECT{0, 0, surface.width(), surface.height()}; }

// Where on the destination pixels may land, in its own coordinates.
HRESULT visibleArea(const Surface& dest, const RECT& destArea, RECT& visible) {
  const RECT whole = wholeOf(dest);
  const Clipper* clipper = dest.kind() == SurfaceKind::Primary ? dest.clipper() : nullptr;
  if (clipper == nullptr) {
    if (!LiesWithin(destArea, whole)) return DDERR_INVALIDRECT;
    visible = whole;
    return DD_OK;
  }
  RECT window{};
  if (HRESULT hr = clipper->visibleScreenRect(window)) return hr;
  visible = IntersectRects(window, whole);
  return DD_OK;
}

// The source's damage moved to destination coordinates: what needs copying.
RECT damagedArea(const SurfaceMemory& source, const RECT& sourceArea, const RECT& destArea) {
  if (!source.damageTracked) return destArea;
  const RECT damage = IntersectRects(source.damage, sourceArea);
  if (IsEmptyRect(damage)) return RECT{};
  // The moved damage lies inside destArea, so it fits LONG; the offset may not.
  const std::int64_t dx = std::int64_t{destArea.left} - sourceArea.left;
  const std::int64_t dy = std::int64_t{destArea.top} - sourceArea.top;
  return RECT{static_cast<LONG>(damage.left + dx), static_cast<LONG>(damage.top + dy),
              static_cast<LONG>(damage.right + dx), static_cast<LONG>(damage.bottom + dy)};
}

void copyRows(const std::uint8_t* from, int fromPitch, std::uint8_t* to, int toPitch, std::size_t rowBytes,
              int rows) {
  for (int y = 0; y < rows; ++y, from += fromPitch, to += toPitch) std::memcpy(to, from, rowBytes);
}

}  // namespace

HRESULT BlitSurface(Surface& dest, const RECT* destRect, Surface& source, const RECT* sourceRect) {
  if (HRESULT hr = checkSurfaces(dest, source)) return hr;
  const RECT sourceArea = sourceRect != nullptr ? *sourceRect : wholeOf(source);
  if (!LiesWithin(sourceArea, source.width(), source.height())) return DDERR_INVALIDRECT;
  const RECT destArea = destRect != nullptr ? *destRect : wholeOf(dest);
  if (IsEmptyRect(destArea)) return DDERR_INVALIDRECT;
  if (RectWidth(destArea) != RectWidth(sourceArea) || RectHeight(destArea) != RectHeight(sourceArea))
    return DDERR_UNSUPPORTED;
  RECT visible{};
  if (HRESULT hr = visibleArea(dest, destArea, visible)) return hr;

  SurfaceMemory& from = source.memory();
  const RECT copy = IntersectRects(IntersectRects(destArea, visible), damagedArea(from, sourceArea, destArea));
  from.damage = RECT{};

  const int bytes = from.format.bytesPerPixel();
  const std::uint8_t* firstPixel = from.pixels;
  if (!IsEmptyRect(copy)) {
    const std::int64_t sx = sourceArea.left + (std::int64_t{copy.left} - destArea.left);
    const std::int64_t sy = sourceArea.top + (std::int64_t{copy.top} - destArea.top);
    firstPixel += static_cast<std::ptrdiff_t>(sy) * from.pitch + static_cast<std::ptrdiff_t>(sx) * bytes;
  }
  if (dest.kind() == SurfaceKind::Primary) {
    dest.display().present(copy, firstPixel, from.pitch);
    return DD_OK;
  }
  if (IsEmptyRect(copy)) return DD_OK;
  SurfaceMemory& to = dest.memory();
  std::uint8_t* target = to.pixels + static_cast<std::ptrdiff_t>(copy.top) * to.pitch +
                         static_cast<std::ptrdiff_t>(copy.left) * bytes;
  copyRows(firstPixel, from.pitch, target, to.pitch, static_cast<std::size_t>(RectWidth(copy)) * bytes,
           static_cast<int>(RectHeight(copy)));
  return DD_OK;
}

}  // namespace vyn::ddraw

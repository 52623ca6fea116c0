// Rectangle arithmetic for blits and locks. Rectangles are half-open:
// (left, top) is inside, (right, bottom) is not.
#pragma once

#include <algorithm>
#include <cstdint>

#include "kernel/Win32Types.h"

namespace vyn::ddraw {

inline bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Width and height in 64 bits: a hostile RECT can span more than LONG holds.
inline std::int64_t RectWidth(const RECT& r) { return std::int64_t{r.right} - r.left; }
inline std::int64_t RectHeight(const RECT& r) { return std::int64_t{r.bottom} - r.top; }

inline RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (IsEmptyRect(r)) r = RECT{};
  return r;
}

// True when `inner` is non-empty and lies wholly inside (0, 0, width, height).
inline bool LiesWithin(const RECT& inner, std::int64_t width, std::int64_t height) {
  return !IsEmptyRect(inner) && inner.left >= 0 && inner.top >= 0 && inner.right <= width &&
         inner.bottom <= height;
}

inline bool LiesWithin(const RECT& inner, const RECT& outer) {
  return !IsEmptyRect(inner) && inner.left >= outer.left && inner.top >= outer.top &&
         inner.right <= outer.right && inner.bottom <= outer.bottom;
}

}  // namespace vyn::ddraw

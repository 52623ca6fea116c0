// Integer pixel rectangles, half-open: [x0, x1) x [y0, y1).
#pragma once

#include <algorithm>

namespace vyn::raster {

struct PixelRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

  bool Empty() const { return x1 <= x0 || y1 <= y0; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// The smallest rectangle holding both; an empty side does not count.
inline PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

}  // namespace vyn::raster

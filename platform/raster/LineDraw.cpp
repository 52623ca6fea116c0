// Wireframe lines and points, depth-tested like triangles.
//
// A line runs between the pixels that hold its end points (Bresenham). Its
// ends are put in a fixed order first, so an edge shared by two faces gives
// the same pixels whichever face draws it, and each tile plots only its own
// pixels of the one sequence.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "raster/PixelWrite.h"
#include "raster/Primitives.h"

namespace vyn::raster {

namespace {

template <int Bytes, bool Depth>
void Plot(const RenderTarget& target, int x, int y, std::uint16_t z, std::uint32_t pixel) {
  if constexpr (Depth) {
    auto* depth = reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(target.depth) +
                                                   static_cast<std::ptrdiff_t>(y) * target.depthPitch);
    if (z > depth[x]) return;
    depth[x] = z;
  }
  StorePixel<Bytes>(target.color + static_cast<std::ptrdiff_t>(y) * target.colorPitch + x * Bytes, pixel);
}

inline bool Inside(const PixelRect& r, int x, int y) { return x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1; }

template <int Bytes, bool Depth>
void Bresenham(const TileContext& context, const ScreenVertex& from, const ScreenVertex& to, std::uint32_t pixel) {
  int x0 = PixelOf(from.x), y0 = PixelOf(from.y), x1 = PixelOf(to.x), y1 = PixelOf(to.y);
  std::int64_t z0 = from.z, z1 = to.z;
  if (std::make_pair(y1, x1) < std::make_pair(y0, x0)) {
    std::swap(x0, x1);
    std::swap(y0, y1);
    std::swap(z0, z1);
  }
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const int steps = std::max(dx, -dy);
  const PixelRect& clip = context.clip;
  int error = dx + dy;
  int x = x0, y = y0;
  for (int k = 0;; ++k) {
    if (Inside(clip, x, y)) {
      const std::int64_t z = steps == 0 ? z0 : z0 + (z1 - z0) * k / steps;
      Plot<Bytes, Depth>(*context.target, x, y, static_cast<std::uint16_t>(std::clamp<std::int64_t>(z >> 16, 0, 0xFFFF)),
                         pixel);
    }
    if (x == x1 && y == y1) break;
    // Past the tile's last row nothing more of this line can be inside it.
    if (y >= clip.y1 && sy > 0) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

template <bool Depth>
void LineFormat(const TileContext& context, const ScreenVertex& a, const ScreenVertex& b, std::uint32_t pixel) {
  switch (context.target->packing.bytesPerPixel) {
    case 1: return Bresenham<1, Depth>(context, a, b, pixel);
    case 2: return Bresenham<2, Depth>(context, a, b, pixel);
    case 3: return Bresenham<3, Depth>(context, a, b, pixel);
    default: return Bresenham<4, Depth>(context, a, b, pixel);
  }
}

template <bool Depth>
void PointFormat(const TileContext& context, int x, int y, std::uint16_t z, std::uint32_t pixel) {
  switch (context.target->packing.bytesPerPixel) {
    case 1: return Plot<1, Depth>(*context.target, x, y, z, pixel);
    case 2: return Plot<2, Depth>(*context.target, x, y, z, pixel);
    case 3: return Plot<3, Depth>(*context.target, x, y, z, pixel);
    default: return Plot<4, Depth>(*context.target, x, y, z, pixel);
  }
}

}  // namespace

void DrawLine(const TileContext& context, const Primitive& line) {
  const auto& vertices = context.list->vertices();
  const ScreenVertex& a = vertices[line.v[0]];
  const ScreenVertex& b = vertices[line.v[1]];
  if (context.target->depth != nullptr) {
    LineFormat<true>(context, a, b, line.pixel);
  } else {
    LineFormat<false>(context, a, b, line.pixel);
  }
}

void DrawPoint(const TileContext& context, const Primitive& point) {
  const ScreenVertex& v = context.list->vertices()[point.v[0]];
  const int x = PixelOf(v.x), y = PixelOf(v.y);
  if (!Inside(context.clip, x, y)) return;
  const auto z = static_cast<std::uint16_t>(v.z >> 16);
  if (context.target->depth != nullptr) {
    PointFormat<true>(context, x, y, z, point.pixel);
  } else {
    PointFormat<false>(context, x, y, z, point.pixel);
  }
}

}  // namespace vyn::raster

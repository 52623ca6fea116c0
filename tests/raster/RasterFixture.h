// A small 32-bit colour buffer with a depth buffer, and helpers to put
// triangles into a draw list in pixel coordinates.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "raster/DrawList.h"
#include "raster/RenderTarget.h"
#include "raster/TileRenderer.h"

namespace vyn::raster::testing {

struct Canvas {
  Canvas(int w, int h, int bytesPerPixel = 4)
      : width(w), height(h), color(static_cast<std::size_t>(w) * h * bytesPerPixel), depth(static_cast<std::size_t>(w) * h, FarDepth) {
    target.color = color.data();
    target.colorPitch = w * bytesPerPixel;
    target.depth = depth.data();
    target.depthPitch = w * 2;
    target.width = w;
    target.height = h;
    target.packing.bytesPerPixel = bytesPerPixel;
  }
  std::uint32_t At(int x, int y) const {
    const int bytes = target.packing.bytesPerPixel;
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint32_t{color[static_cast<std::size_t>(y) * target.colorPitch + x * bytes + i]} << (8 * i);
    return v;
  }
  int width, height;
  std::vector<std::uint8_t> color;
  std::vector<std::uint16_t> depth;
  RenderTarget target;
};

inline ScreenVertex At(double x, double y, double depth = 0.5) {
  ScreenVertex v{};
  v.x = static_cast<std::int32_t>(std::lround(x * SubpixelScale));
  v.y = static_cast<std::int32_t>(std::lround(y * SubpixelScale));
  v.z = static_cast<std::uint32_t>(depth * 65535.0 * 65536.0);
  return v;
}

// Adds a flat triangle (any winding: it is put clockwise first).
inline void AddFlat(DrawList& list, ScreenVertex a, ScreenVertex b, ScreenVertex c, std::uint32_t pixel,
                    Fill fill = Fill::Solid) {
  if (DrawList::DoubledArea(a, b, c) < 0) std::swap(b, c);
  const auto ia = list.AddVertex(a), ib = list.AddVertex(b), ic = list.AddVertex(c);
  list.AddTriangle(ia, ib, ic, fill, Shading::Flat, pixel, 0, EdgeAB | EdgeBC | EdgeCA);
}

inline void Draw(Canvas& canvas, const DrawList& list) {
  TileRenderer renderer;
  renderer.Render(list, canvas.target, canvas.target.Bounds(), nullptr);
}

}  // namespace vyn::raster::testing

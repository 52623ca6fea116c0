#include "raster/DrawList.h"

namespace vyn::raster {

void DrawList::Clear() {
  // Keeps the capacity: the next frame reuses the memory.
  vertices_.clear();
  primitives_.clear();
  shadeTables_.clear();
}

std::uint16_t DrawList::AddShadeTable(const std::uint32_t (&pixels)[256]) {
  shadeTables_.insert(shadeTables_.end(), pixels, pixels + 256);
  return static_cast<std::uint16_t>(shadeTables_.size() / 256 - 1);
}

bool DrawList::AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, Fill fill, Shading shading,
                           std::uint32_t pixel, std::uint16_t table, std::uint8_t edges) {
  if (DoubledArea(vertices_[a], vertices_[b], vertices_[c]) <= 0) return false;
  switch (fill) {
    case Fill::Solid:
      primitives_.push_back({{a, b, c}, pixel, PrimitiveKind::Triangle, shading, table});
      break;
    case Fill::Wireframe:
      if (edges & EdgeAB) AddLine(a, b, pixel);
      if (edges & EdgeBC) AddLine(b, c, pixel);
      if (edges & EdgeCA) AddLine(c, a, pixel);
      break;
    case Fill::Points:
      for (std::uint32_t v : {a, b, c}) primitives_.push_back({{v, v, v}, pixel, PrimitiveKind::Point, Shading::Flat, 0});
      break;
  }
  return true;
}

void DrawList::AddLine(std::uint32_t a, std::uint32_t b, std::uint32_t pixel) {
  primitives_.push_back({{a, b, b}, pixel, PrimitiveKind::Line, Shading::Flat, 0});
}

}  // namespace vyn::raster

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
  AppendTriangle(primitives_, a, b, c, fill, shading, pixel, table, edges);
  return true;
}

}  // namespace vyn::raster

#include <cstring>

#include "raster/RenderTarget.h"

namespace vyn::raster {

namespace {

void FillRow(std::uint8_t* row, int count, int bytes, std::uint32_t pixel) {
  switch (bytes) {
    case 1:
      std::memset(row, static_cast<int>(pixel & 0xFF), static_cast<std::size_t>(count));
      break;
    case 2: {
      auto* p = reinterpret_cast<std::uint16_t*>(row);
      for (int i = 0; i < count; ++i) p[i] = static_cast<std::uint16_t>(pixel);
      break;
    }
    case 3:
      for (int i = 0; i < count; ++i) {
        row[3 * i] = static_cast<std::uint8_t>(pixel);
        row[3 * i + 1] = static_cast<std::uint8_t>(pixel >> 8);
        row[3 * i + 2] = static_cast<std::uint8_t>(pixel >> 16);
      }
      break;
    default: {
      if (pixel == 0) {
        std::memset(row, 0, static_cast<std::size_t>(count) * 4);
        break;
      }
      auto* p = reinterpret_cast<std::uint32_t*>(row);
      for (int i = 0; i < count; ++i) p[i] = pixel;
      break;
    }
  }
}

}  // namespace

void ClearRect(const RenderTarget& target, const PixelRect& area, std::uint32_t pixel) {
  const PixelRect rect = Intersect(area, target.Bounds());
  if (rect.Empty()) return;
  const int bytes = target.packing.bytesPerPixel;
  const int count = rect.x1 - rect.x0;
  for (int y = rect.y0; y < rect.y1; ++y) {
    FillRow(target.color + static_cast<std::ptrdiff_t>(y) * target.colorPitch + rect.x0 * bytes, count, bytes,
            pixel);
    if (target.depth != nullptr) {
      auto* z = reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(target.depth) +
                                                 static_cast<std::ptrdiff_t>(y) * target.depthPitch) +
                rect.x0;
      std::memset(z, 0xFF, static_cast<std::size_t>(count) * 2);
    }
  }
}

}  // namespace vyn::raster

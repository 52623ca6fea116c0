// Draws a draw list into a target: bins every primitive into the square
// tiles it touches, then draws the tiles (in parallel when a pool is given).
// Inside a tile primitives keep their submission order and each tile belongs
// to one thread, so the image is the same whatever the number of threads.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/DrawList.h"
#include "raster/Rect.h"
#include "raster/RenderTarget.h"

namespace vyn::raster {

class ThreadPool;

inline constexpr int TileSize = 64;

class TileRenderer {
 public:
  // Draws `list` into `target`, inside `scissor`. Returns the bounds of the
  // pixels that may have been drawn (empty when nothing was).
  PixelRect Render(const DrawList& list, const RenderTarget& target, const PixelRect& scissor, ThreadPool* pool);

 private:
  PixelRect Bin(const DrawList& list, const PixelRect& scissor);
  void DrawTile(const DrawList& list, const RenderTarget& target, const PixelRect& scissor, int tile) const;

  int tilesAcross_ = 0;
  int tilesDown_ = 0;
  std::vector<std::vector<std::uint32_t>> bins_;  // kept between frames: their memory is reused
  std::vector<int> busyTiles_;
};

}  // namespace vyn::raster

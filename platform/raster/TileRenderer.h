// Draws a draw list into a target: bins every primitive into the square
// tiles it touches, then draws the tiles (in parallel when a pool is given).
// With a pool the list is binned in contiguous parts, one bin set each, and
// a tile draws its bins part after part. Inside a tile primitives therefore
// keep their submission order, and each tile belongs to one thread, so the
// image is the same whatever the number of threads.
//
// A tile whose triangles come mostly back to front is drawn in reverse order
// with the depth test made strict: the image is the same (see
// RunsBackToFront), and hidden surfaces then fail the test before any colour
// is worked out instead of being drawn over.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/DrawList.h"
#include "raster/Rect.h"
#include "raster/RenderTarget.h"

namespace vyn::raster {

class ThreadPool;
struct TileContext;

inline constexpr int TileSize = 128;

class TileRenderer {
 public:
  // Draws `list` into `target`, inside `scissor`. Returns the bounds of the
  // pixels that may have been drawn (empty when nothing was).
  PixelRect Render(const DrawList& list, const RenderTarget& target, const PixelRect& scissor, ThreadPool* pool);

 private:
  PixelRect Bin(const DrawList& list, const PixelRect& scissor, std::size_t part, std::size_t parts);
  void DrawTile(const DrawList& list, const RenderTarget& target, const PixelRect& scissor, int tile) const;
  template <bool Backwards>
  static void DrawBin(const TileContext& context, const PrimitiveArray& primitives, const VertexArray& vertices,
                      const std::vector<std::uint32_t>& bin);
  bool DrawsBackwards(const DrawList& list, const RenderTarget& target, const PixelRect& clip, int tile) const;
  bool RunsBackToFront(const DrawList& list, int tile) const;
  std::uint32_t DeepestCorner(int tile) const;

  int tilesAcross_ = 0;
  int tilesDown_ = 0;
  // Per part of the list, per tile: kept between frames, their memory is reused.
  std::vector<std::vector<std::vector<std::uint32_t>>> bins_;
  // Per part, per tile: the deepest corner (16-bit depth) of its primitives.
  std::vector<std::vector<std::uint16_t>> deepest_;
  // Per part: whether every primitive is a triangle.
  std::vector<char> onlyTriangles_;
  std::size_t parts_ = 1;
  std::vector<int> busyTiles_;
};

}  // namespace vyn::raster

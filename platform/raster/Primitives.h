// Drawing of one primitive inside one tile of the target: the tile renderer
// calls these for the primitives binned to a tile, in submission order.
#pragma once

#include "raster/DrawList.h"
#include "raster/RenderTarget.h"

namespace vyn::raster {

struct TileContext {
  const RenderTarget* target;
  const DrawList* list;
  PixelRect clip;  // the tile, cut to the scissor rectangle
  // 0: a fragment passes when its depth is less than or equal to the stored
  // one (the device's test, for primitives in submission order); 1: only
  // when it is less (for a tile drawn in reverse order, see TileRenderer).
  std::uint32_t depthBias = 0;
};

void FillTriangle(const TileContext& context, const Primitive& triangle);
void DrawLine(const TileContext& context, const Primitive& line);
void DrawPoint(const TileContext& context, const Primitive& point);

// Floor division by the sub-pixel scale: the pixel that holds a position.
inline int PixelOf(std::int32_t fixed) { return fixed >> SubpixelBits; }

}  // namespace vyn::raster

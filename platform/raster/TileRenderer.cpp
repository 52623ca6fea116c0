#include "raster/TileRenderer.h"

#include <algorithm>

#include "raster/Primitives.h"
#include "raster/ThreadPool.h"

namespace vyn::raster {

namespace {

// How many primitives ahead of the one being drawn a tile fetches memory.
constexpr std::size_t PrefetchAhead = 8;
// Lists at least this long are binned in parallel.
constexpr std::size_t PrimitivesPerPart = 16384;

// How many primitives of each half of a tile's list are looked at to guess
// whether the list runs front to back or back to front.
constexpr std::size_t OrderSamples = 32;

// The pixels a primitive can touch, before clipping, and its deepest corner.
PixelRect Reach(const DrawList& list, const Primitive& p, std::uint16_t& deepest) {
  const auto& v = list.vertices();
  const ScreenVertex& a = v[p.v[0]];
  const ScreenVertex& b = v[p.v[1]];
  const ScreenVertex& c = v[p.v[2]];
  deepest = static_cast<std::uint16_t>(std::max({a.z, b.z, c.z}) >> 16);
  const int minX = PixelOf(std::min({a.x, b.x, c.x})), maxX = PixelOf(std::max({a.x, b.x, c.x}));
  const int minY = PixelOf(std::min({a.y, b.y, c.y})), maxY = PixelOf(std::max({a.y, b.y, c.y}));
  return {minX, minY, maxX + 1, maxY + 1};
}

}  // namespace

PixelRect TileRenderer::Bin(const DrawList& list, const PixelRect& scissor, std::size_t part, std::size_t parts) {
  std::vector<std::vector<std::uint32_t>>& bins = bins_[part];
  for (auto& bin : bins) bin.clear();
  std::vector<std::uint16_t>& deepest = deepest_[part];
  std::fill(deepest.begin(), deepest.end(), std::uint16_t{0});

  bool onlyTriangles = true;
  PixelRect drawn{};
  const auto& primitives = list.primitives();
  const std::size_t total = primitives.size();
  const auto first = static_cast<std::uint32_t>(total * part / parts);
  const auto last = static_cast<std::uint32_t>(total * (part + 1) / parts);
  for (std::uint32_t i = first; i < last; ++i) {
    std::uint16_t depth;
    const PixelRect reach = Intersect(Reach(list, primitives[i], depth), scissor);
    if (reach.Empty()) continue;
    onlyTriangles = onlyTriangles && primitives[i].kind == PrimitiveKind::Triangle;
    drawn = Union(drawn, reach);
    const int tx0 = reach.x0 / TileSize, tx1 = (reach.x1 - 1) / TileSize;
    const int ty0 = reach.y0 / TileSize, ty1 = (reach.y1 - 1) / TileSize;
    for (int ty = ty0; ty <= ty1; ++ty) {
      for (int tx = tx0; tx <= tx1; ++tx) {
        const std::size_t tile = static_cast<std::size_t>(ty) * tilesAcross_ + tx;
        bins[tile].push_back(i);
        deepest[tile] = std::max(deepest[tile], depth);
      }
    }
  }
  onlyTriangles_[part] = onlyTriangles;
  return drawn;
}

void TileRenderer::DrawTile(const DrawList& list, const RenderTarget& target, const PixelRect& scissor,
                            int tile) const {
  const int tx = tile % tilesAcross_, ty = tile / tilesAcross_;
  const PixelRect area{tx * TileSize, ty * TileSize, (tx + 1) * TileSize, (ty + 1) * TileSize};
  TileContext context{&target, &list, Intersect(area, scissor)};
  const auto& primitives = list.primitives();
  const auto& vertices = list.vertices();
  if (DrawsBackwards(list, target, context.clip, tile)) {
    context.depthBias = 1;
    for (std::size_t part = parts_; part-- > 0;) {
      DrawBin<true>(context, primitives, vertices, bins_[part][static_cast<std::size_t>(tile)]);
    }
    return;
  }
  for (std::size_t part = 0; part < parts_; ++part) {
    DrawBin<false>(context, primitives, vertices, bins_[part][static_cast<std::size_t>(tile)]);
  }
}

// Only triangles can be drawn backwards: lines and points keep their order.
bool TileRenderer::DrawsBackwards(const DrawList& list, const RenderTarget& target, const PixelRect& clip,
                                  int tile) const {
  if (target.depth == nullptr) return false;
  for (std::size_t part = 0; part < parts_; ++part) {
    if (!onlyTriangles_[part]) return false;
  }
  return RunsBackToFront(list, tile) && DeepestCorner(tile) + 1 < NearestDepth(target, clip);
}

std::uint32_t TileRenderer::DeepestCorner(int tile) const {
  std::uint32_t deepest = 0;
  for (std::size_t part = 0; part < parts_; ++part) {
    deepest = std::max<std::uint32_t>(deepest, deepest_[part][static_cast<std::size_t>(tile)]);
  }
  return deepest;
}

// A tile whose list runs back to front is drawn in reverse order, so that
// hidden surfaces fail the depth test instead of being drawn over. With the test "less or equal" in
// submission order, a pixel ends up with the last of the fragments at the
// nearest depth, provided that depth is not behind what was stored. With the
// test "less" in reverse order it ends up with the first of them in that
// order: the same fragment. The two differ only where a fragment ties with a
// depth stored before this list, so DrawsBackwards takes the reverse order only
// when every corner in the tile is nearer than everything stored there (one
// step of margin for the rounding of the depth plane).
//
// Whether the list runs back to front is judged from samples of its first
// and second halves.
bool TileRenderer::RunsBackToFront(const DrawList& list, int tile) const {
  const auto t = static_cast<std::size_t>(tile);
  std::size_t count = 0;
  for (std::size_t part = 0; part < parts_; ++part) count += bins_[part][t].size();
  if (count < 2) return false;
  const auto primitiveAt = [&](std::size_t k) -> const Primitive& {
    for (std::size_t part = 0;; ++part) {
      const auto& bin = bins_[part][t];
      if (k < bin.size()) return list.primitives()[bin[k]];
      k -= bin.size();
    }
  };
  const auto& vertices = list.vertices();
  const auto depthOf = [&](const Primitive& p) { return std::uint64_t{vertices[p.v[0]].z >> 16}; };
  const std::size_t half = count / 2, samples = std::min(OrderSamples, half);
  std::uint64_t front = 0, back = 0;
  for (std::size_t i = 0; i < samples; ++i) {
    front += depthOf(primitiveAt(i * half / samples));
    back += depthOf(primitiveAt(half + i * (count - half) / samples));
  }
  return front > back;
}

template <bool Backwards>
void TileRenderer::DrawBin(const TileContext& context, const PrimitiveArray& primitives, const VertexArray& vertices,
                           const std::vector<std::uint32_t>& bin) {
  const std::size_t count = bin.size();
  for (std::size_t n = 0; n < count; ++n) {
    const std::size_t k = Backwards ? count - 1 - n : n;
    // A tile's primitives are scattered over the frame's arrays: fetch the
    // primitives a little ahead, and their corners a little less far ahead,
    // so that the memory is there by the time they are drawn.
    if (n + 2 * PrefetchAhead < count) {
      __builtin_prefetch(&primitives[bin[Backwards ? k - 2 * PrefetchAhead : k + 2 * PrefetchAhead]]);
    }
    if (n + PrefetchAhead < count) {
      const Primitive& ahead = primitives[bin[Backwards ? k - PrefetchAhead : k + PrefetchAhead]];
      for (std::uint32_t v : ahead.v) __builtin_prefetch(&vertices[v]);
    }
    const Primitive& p = primitives[bin[k]];
    switch (p.kind) {
      case PrimitiveKind::Triangle: FillTriangle(context, p); break;
      case PrimitiveKind::Line: DrawLine(context, p); break;
      case PrimitiveKind::Point: DrawPoint(context, p); break;
    }
  }
}

PixelRect TileRenderer::Render(const DrawList& list, const RenderTarget& target, const PixelRect& scissorIn,
                               ThreadPool* pool) {
  const PixelRect scissor = Intersect(scissorIn, target.Bounds());
  if (scissor.Empty() || list.primitives().empty()) return {};
  tilesAcross_ = (scissor.x1 + TileSize - 1) / TileSize;
  tilesDown_ = (scissor.y1 + TileSize - 1) / TileSize;
  const std::size_t tiles = static_cast<std::size_t>(tilesAcross_) * tilesDown_;
  // Small lists are binned in one part: splitting would cost more than it saves.
  parts_ = pool != nullptr && list.primitives().size() >= PrimitivesPerPart ? static_cast<std::size_t>(pool->threads()) : 1;
  if (bins_.size() < parts_) {
    bins_.resize(parts_);
    deepest_.resize(parts_);
    onlyTriangles_.resize(parts_);
  }
  for (std::size_t part = 0; part < parts_; ++part) {
    if (bins_[part].size() < tiles) bins_[part].resize(tiles);
    if (deepest_[part].size() < tiles) deepest_[part].resize(tiles);
  }
  std::vector<PixelRect> drawnParts(parts_);
  const auto bin = [&](int part) {
    drawnParts[static_cast<std::size_t>(part)] = Bin(list, scissor, static_cast<std::size_t>(part), parts_);
  };
  if (parts_ > 1) {
    pool->Run(static_cast<int>(parts_), bin);
  } else {
    bin(0);
  }
  PixelRect drawn{};
  for (const PixelRect& r : drawnParts) drawn = Union(drawn, r);

  busyTiles_.clear();
  for (std::size_t t = 0; t < tiles; ++t) {
    for (std::size_t part = 0; part < parts_; ++part) {
      if (!bins_[part][t].empty()) {
        busyTiles_.push_back(static_cast<int>(t));
        break;
      }
    }
  }
  const auto work = [&](int i) { DrawTile(list, target, scissor, busyTiles_[static_cast<std::size_t>(i)]); };
  if (pool != nullptr) {
    pool->Run(static_cast<int>(busyTiles_.size()), work);
  } else {
    for (std::size_t i = 0; i < busyTiles_.size(); ++i) work(static_cast<int>(i));
  }
  return drawn;
}

}  // namespace vyn::raster

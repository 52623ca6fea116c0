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

// The pixels a primitive can touch, before clipping.
PixelRect Reach(const DrawList& list, const Primitive& p) {
  const auto& v = list.vertices();
  const ScreenVertex& a = v[p.v[0]];
  const ScreenVertex& b = v[p.v[1]];
  const ScreenVertex& c = v[p.v[2]];
  const int minX = PixelOf(std::min({a.x, b.x, c.x})), maxX = PixelOf(std::max({a.x, b.x, c.x}));
  const int minY = PixelOf(std::min({a.y, b.y, c.y})), maxY = PixelOf(std::max({a.y, b.y, c.y}));
  return {minX, minY, maxX + 1, maxY + 1};
}

}  // namespace

PixelRect TileRenderer::Bin(const DrawList& list, const PixelRect& scissor, std::size_t part, std::size_t parts) {
  std::vector<std::vector<std::uint32_t>>& bins = bins_[part];
  for (auto& bin : bins) bin.clear();
  PixelRect drawn{};
  const auto& primitives = list.primitives();
  const std::size_t total = primitives.size();
  const auto first = static_cast<std::uint32_t>(total * part / parts);
  const auto last = static_cast<std::uint32_t>(total * (part + 1) / parts);
  for (std::uint32_t i = first; i < last; ++i) {
    const PixelRect reach = Intersect(Reach(list, primitives[i]), scissor);
    if (reach.Empty()) continue;
    drawn = Union(drawn, reach);
    const int tx0 = reach.x0 / TileSize, tx1 = (reach.x1 - 1) / TileSize;
    const int ty0 = reach.y0 / TileSize, ty1 = (reach.y1 - 1) / TileSize;
    for (int ty = ty0; ty <= ty1; ++ty) {
      for (int tx = tx0; tx <= tx1; ++tx) bins[static_cast<std::size_t>(ty) * tilesAcross_ + tx].push_back(i);
    }
  }
  return drawn;
}

void TileRenderer::DrawTile(const DrawList& list, const RenderTarget& target, const PixelRect& scissor,
                            int tile) const {
  const int tx = tile % tilesAcross_, ty = tile / tilesAcross_;
  const PixelRect area{tx * TileSize, ty * TileSize, (tx + 1) * TileSize, (ty + 1) * TileSize};
  const TileContext context{&target, &list, Intersect(area, scissor)};
  const auto& primitives = list.primitives();
  const auto& vertices = list.vertices();
  for (std::size_t part = 0; part < parts_; ++part) {
    DrawBin(context, primitives, vertices, bins_[part][static_cast<std::size_t>(tile)]);
  }
}

void TileRenderer::DrawBin(const TileContext& context, const PrimitiveArray& primitives, const VertexArray& vertices,
                           const std::vector<std::uint32_t>& bin) {
  const std::size_t count = bin.size();
  for (std::size_t k = 0; k < count; ++k) {
    // A tile's primitives are scattered over the frame's arrays: fetch the
    // primitives a little ahead, and their corners a little less far ahead,
    // so that the memory is there by the time they are drawn.
    if (k + 2 * PrefetchAhead < count) __builtin_prefetch(&primitives[bin[k + 2 * PrefetchAhead]]);
    if (k + PrefetchAhead < count) {
      const Primitive& ahead = primitives[bin[k + PrefetchAhead]];
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
  if (bins_.size() < parts_) bins_.resize(parts_);
  for (std::size_t part = 0; part < parts_; ++part) {
    if (bins_[part].size() < tiles) bins_[part].resize(tiles);
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

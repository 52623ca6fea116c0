#include "SlabMesh.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "gdi/Gdi.h"
#include "kernel/Kernel.h"

namespace vyn::saver {

PixelGrid::PixelGrid(std::int32_t w, std::int32_t h, RowReader readRow)
    : width(w > 0 && h > 0 ? w : 0), height(w > 0 && h > 0 ? h : 0), readRow_(std::move(readRow)) {}

PixelGrid PixelGrid::FromPixels(std::int32_t w, std::int32_t h, std::vector<COLORREF> pixels) {
  auto held = std::make_shared<const std::vector<COLORREF>>(std::move(pixels));
  return PixelGrid(w, h, [held, w](std::int32_t row, std::span<COLORREF> out) {
    const std::size_t first = static_cast<std::size_t>(row) * static_cast<std::size_t>(w);
    for (std::size_t x = 0; x < out.size(); ++x)
      out[x] = first + x < held->size() ? (*held)[first + x] : CLR_INVALID;
  });
}

COLORREF PixelGrid::ColorAt(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  if (y != cachedRow_) {
    row_.resize(static_cast<std::size_t>(width));
    readRow_(y, row_);
    cachedRow_ = y;
  }
  return row_[static_cast<std::size_t>(x)];
}

void PixelGrid::Release() {
  readRow_ = nullptr;
  row_.clear();
  row_.shrink_to_fit();
  cachedRow_ = -1;
  width = 0;
  height = 0;
}

std::vector<PixelRun> ScanRowRuns(const PixelGrid& grid, std::int32_t row) {
  std::vector<PixelRun> runs;
  const std::int32_t width = grid.width;
  auto white = [&](std::int32_t x) { return grid.ColorAt(x, row) == WhitePixel; };
  std::int32_t a = 0;
  std::int32_t b = 0;
  while (!(a == width && b == width)) {
    while (a < width && white(a)) b = ++a;
    while (b < width && !white(b)) ++b;
    if (b > a) {
      // The list is full: the rest of the row is dropped rather than stored.
      if (runs.size() == static_cast<std::size_t>(MaxRunsPerRow)) break;
      if (runs.empty()) runs.reserve(8);
      runs.push_back({static_cast<float>(a), static_cast<float>(b)});
      a = b;
    }
  }
  return runs;
}

const std::array<SlabFace, SlabFaceCount> SlabFaces = {{
    {{{0, 0}, {4, 4}, {5, 4}, {1, 1}}},
    {{{1, 1}, {5, 4}, {6, 4}, {2, 2}}},
    {{{2, 2}, {6, 4}, {7, 4}, {3, 3}}},
    {{{3, 3}, {7, 4}, {4, 4}, {0, 0}}},
    {{{0, 0}, {1, 1}, {9, 5}, {8, 5}}},
    {{{1, 1}, {2, 2}, {10, 5}, {9, 5}}},
    {{{2, 2}, {3, 3}, {11, 5}, {10, 5}}},
    {{{3, 3}, {0, 0}, {8, 5}, {11, 5}}},
    {{{4, 4}, {7, 4}, {6, 4}, {5, 4}}},
    {{{8, 5}, {9, 5}, {10, 5}, {11, 5}}},
}};

namespace {

// Model coordinate of a pixel coordinate p offset by `shift` (0, +D or -D):
// computed in double from the float operands and rounded once to float.
float Model(float p, float shift) {
  return static_cast<float>((static_cast<double>(p) + static_cast<double>(shift) - PixelCentre) / PixelsPerUnit);
}

constexpr std::array<D3DVECTOR, SlabNormalCount> SlabNormals = {{
    {-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {0, 0, 1}, {0, 0, -1},
}};

void ReportBudgetReached(std::uint32_t kept) {
  char line[96];
  std::snprintf(line, sizeof line, "Slab budget reached: kept %u slabs, the rest of the picture is dropped.\n",
                kept);
  OutputDebugStringA(line);
}

}  // namespace

SlabFace AbsoluteFace(const SlabFace& relative, std::uint32_t s) {
  SlabFace face;
  for (std::size_t c = 0; c < face.size(); ++c)
    face[c] = {SlabVertexCount * s + relative[c].vertex, SlabNormalCount * s + relative[c].normal};
  return face;
}

Slab MakeSlab(const PixelRun& across, const PixelRun& along, float row) {
  constexpr float D = SlabBevel;
  const float x0 = Model(across.start, 0), x1 = Model(across.end, 0);
  const float y0 = Model(along.start, 0), y1 = Model(along.end, 0);
  const float ix0 = Model(across.start, D), ix1 = Model(across.end, -D);
  const float iy0 = Model(along.start, D), iy1 = Model(along.end, -D);
  const float z = Model(row, 0), zFront = Model(row, D), zBack = Model(row, -D);
  Slab slab;
  slab.vertices = {{
      {x0, y0, z}, {x0, y1, z}, {x1, y1, z}, {x1, y0, z},
      {ix0, iy0, zFront}, {ix0, iy1, zFront}, {ix1, iy1, zFront}, {ix1, iy0, zFront},
      {ix0, iy0, zBack}, {ix0, iy1, zBack}, {ix1, iy1, zBack}, {ix1, iy0, zBack},
  }};
  slab.normals = SlabNormals;
  return slab;
}

std::uint32_t ForEachSlab(const PixelGrid& grid, const SlabSink& emit, std::uint32_t budget) {
  std::uint32_t s = 0;
  // 64-bit row counter: height may be close to the top of int32.
  for (std::int64_t r = 0; r < grid.height; r += RowStep) {
    const std::vector<PixelRun> runs = ScanRowRuns(grid, static_cast<std::int32_t>(r));
    const float row = static_cast<float>(r);
    for (const PixelRun& across : runs) {
      for (const PixelRun& along : runs) {
        if (s == budget) {
          ReportBudgetReached(s);
          return s;
        }
        emit(MakeSlab(across, along, row), s);
        ++s;
      }
    }
  }
  return s;
}

SlabMesh BuildSlabMesh(const PixelGrid& grid, std::uint32_t budget) {
  SlabMesh mesh;
  const std::uint32_t count = ForEachSlab(
      grid,
      [&mesh](const Slab& slab, std::uint32_t s) {
        mesh.vertices.insert(mesh.vertices.end(), slab.vertices.begin(), slab.vertices.end());
        mesh.normals.insert(mesh.normals.end(), slab.normals.begin(), slab.normals.end());
        for (const SlabFace& relative : SlabFaces) mesh.faces.push_back(AbsoluteFace(relative, s));
      },
      budget);
  mesh.slabCount = static_cast<std::int32_t>(count);
  return mesh;
}

double FitScale(const D3DRMBOX& box) {
  const double dx = static_cast<double>(box.max.x) - static_cast<double>(box.min.x);
  const double dy = static_cast<double>(box.max.y) - static_cast<double>(box.min.y);
  // On equality dx is taken; an unordered comparison (a NaN) takes dy.
  const double larger = dx >= dy ? dx : dy;
  // An empty builder may report an empty or inverted box: nothing to scale.
  if (larger <= 0.0) return 1.0;
  return FitExtent / larger;
}

D3DRMBOX BoundingBox(const SlabMesh& mesh) {
  D3DRMBOX box{{0, 0, 0}, {0, 0, 0}};
  if (mesh.vertices.empty()) return box;
  box.min = box.max = mesh.vertices.front();
  for (const D3DVECTOR& v : mesh.vertices) {
    box.min = {std::min(box.min.x, v.x), std::min(box.min.y, v.y), std::min(box.min.z, v.z)};
    box.max = {std::max(box.max.x, v.x), std::max(box.max.y, v.y), std::max(box.max.z, v.z)};
  }
  return box;
}

}  // namespace vyn::saver

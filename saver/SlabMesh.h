// The solid built from a two-tone picture: every fourth pixel row is cut into
// runs of non-white pixels, and every ordered pair of runs of one row becomes
// a bevelled square slab (12 vertices, 6 normals, 10 four-cornered faces).
// Everything here is pure data; the bitmap load and the hand-off to the
// retained-mode builder live in SlabBitmap.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "d3drm/D3DRM.h"
#include "kernel/Win32Types.h"

namespace vyn::saver {

// The bevel D in pixels: how far each cap is inset from the middle rectangle
// and how far it lies in front of or behind its row.
inline constexpr float SlabBevel = 2.0f;
// Sampled rows are 2 * trunc(D) apart, so the caps of neighbouring rows touch.
inline constexpr int RowStep = 2 * static_cast<int>(SlabBevel);
// The pixel coordinate that maps to model coordinate 0, and pixels per unit.
inline constexpr double PixelCentre = 64.0;
inline constexpr double PixelsPerUnit = 20.0;
// The larger of the x and y extents is scaled to this.
inline constexpr double FitExtent = 3.0;
inline constexpr int MaxRunsPerRow = 1000;
// Slabs kept at most. The count grows with the square of the runs per row, so
// a picture of thin stripes could otherwise exhaust memory. A million slabs
// keeps any picture up to 1024 x 1024 with up to 64 runs a row whole.
inline constexpr std::uint32_t SlabBudget = 1u << 20;
inline constexpr COLORREF WhitePixel = 0x00FFFFFF;

// The picture as the generator sees it. Rows are fetched whole, one call per
// row, into a cache, so ColorAt on the row being scanned is a plain load: the
// generator reads each sampled row left to right and never goes back.
class PixelGrid {
 public:
  // Fills `out` (width entries) with the 0x00BBGGRR colours of `row`.
  using RowReader = std::function<void(std::int32_t row, std::span<COLORREF> out)>;

  PixelGrid() = default;  // 0 x 0: nothing to scan
  PixelGrid(std::int32_t width, std::int32_t height, RowReader readRow);
  // A grid over colours held in memory, row 0 first (tests, the fuzzer).
  static PixelGrid FromPixels(std::int32_t width, std::int32_t height, std::vector<COLORREF> pixels);

  std::int32_t width = 0;
  std::int32_t height = 0;

  // Column x of row y; CLR_INVALID outside the picture.
  COLORREF ColorAt(std::int32_t x, std::int32_t y) const;

  // Gives up the row reader and whatever it holds (the device contexts of a
  // loaded bitmap); the grid is 0 x 0 from then on.
  void Release();

 private:
  RowReader readRow_;
  mutable std::vector<COLORREF> row_;
  mutable std::int32_t cachedRow_ = -1;
};

// One maximal stretch [start, end) of non-white pixels of a row.
struct PixelRun {
  float start;
  float end;
  friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// The runs of one row, left to right; at most MaxRunsPerRow of them, the
// further runs of a wider row are dropped.
std::vector<PixelRun> ScanRowRuns(const PixelGrid& grid, std::int32_t row);

struct FaceCorner {
  std::uint32_t vertex;
  std::uint32_t normal;
  friend bool operator==(const FaceCorner&, const FaceCorner&) = default;
};
using SlabFace = std::array<FaceCorner, 4>;

inline constexpr int SlabVertexCount = 12;
inline constexpr int SlabNormalCount = 6;
inline constexpr int SlabFaceCount = 10;

// One slab with its corners relative to its own first vertex and normal.
struct Slab {
  std::array<D3DVECTOR, SlabVertexCount> vertices;
  std::array<D3DVECTOR, SlabNormalCount> normals;
};

// The faces of every slab, as (vertex, normal) relative to the slab's base.
extern const std::array<SlabFace, SlabFaceCount> SlabFaces;

// A face of slab s with its corners' indices made absolute.
SlabFace AbsoluteFace(const SlabFace& relative, std::uint32_t s);

// The slab of runs `across` (x extent) and `along` (y extent) of row `row`.
Slab MakeSlab(const PixelRun& across, const PixelRun& along, float row);

// Walks the sampled rows and hands each slab, numbered from 0 over the whole
// picture, to `emit`. Stops at `budget` slabs and then says on the debugger
// output how many were kept. Returns the number of slabs emitted.
using SlabSink = std::function<void(const Slab& slab, std::uint32_t index)>;
std::uint32_t ForEachSlab(const PixelGrid& grid, const SlabSink& emit, std::uint32_t budget = SlabBudget);

struct SlabMesh {
  std::vector<D3DVECTOR> vertices;
  std::vector<D3DVECTOR> normals;
  std::vector<SlabFace> faces;
  std::int32_t slabCount = 0;
};

// The whole mesh of the picture, before the fit.
SlabMesh BuildSlabMesh(const PixelGrid& grid, std::uint32_t budget = SlabBudget);

// The factor that scales the larger of the box's x and y extents to
// FitExtent. An empty or inverted box (nothing to scale) gives 1.
double FitScale(const D3DRMBOX& box);

// The box of a mesh's vertices; all zero for an empty mesh.
D3DRMBOX BoundingBox(const SlabMesh& mesh);

}  // namespace vyn::saver

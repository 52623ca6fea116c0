// The geometry stage of a render: transforms a mesh's vertex buffer into the
// camera's space, lights and projects it straight into the draw list (one
// pass over the arrays), then culls the faces, clips what crosses the front
// and back planes or leaves the guard band, and hands the front-facing
// triangles to the draw list.
//
// Both passes work on fixed chunks of the vertices and of the faces, in
// parallel when a thread pool is given. Each chunk of faces collects its own
// primitives, and the chunks are joined in their order, so the draw list is
// the same whatever the number of threads. Buffers are kept between frames.
#pragma once

#include <cstdint>
#include <vector>

#include "d3drm/MeshGeometry.h"
#include "d3drm/SceneWalk.h"
#include "d3drm/Shading.h"
#include "d3drm/Transform.h"
#include "raster/DrawList.h"
#include "raster/PixelPacking.h"

namespace vyn::raster {
class ThreadPool;
}

namespace vyn::d3drm {

struct Projection {
  float scale;   // pixels per unit of x/z (and y/z)
  float cx, cy;  // the screen point straight ahead (pixel edges, not centres)
  float front, back;
};

class MeshDrawer {
 public:
  void Draw(const MeshGeometry& mesh, const Placement& modelWorld, const Placement& worldToView,
            const SceneLights& lights, const Projection& projection, const RenderStyle& style,
            const raster::PixelPacking& packing, raster::DrawList& list, raster::ThreadPool* pool = nullptr);

 private:
  struct ClipVertex {
    float x, y, z;  // camera space
    float r, g, b;  // Gouraud colour (0..255), r alone for a shade level
  };

  // Outcodes: which planes a camera-space vertex lies outside of. The guard
  // band keeps projected positions small enough for the rasteriser's fixed
  // point; inside it the scissor rectangle does the rest of the clipping.
  static constexpr std::uint8_t OutFront = 1, OutBack = 2, OutLeft = 4, OutRight = 8, OutTop = 16, OutBottom = 32;
  // A vertex that is not a finite point: faces using it are not drawn.
  static constexpr std::uint8_t OutInvalid = 64;
  static constexpr float GuardBand = 8192.0f;  // pixels from the centre of projection
  static constexpr float MaxDepth = 65535.0f * 65536.0f;
  static std::uint8_t OutcodeOf(const ClipVertex& v, const Projection& p);

  // What one chunk of faces produced: its primitives and the vertices its
  // clipped faces made. Those vertices are numbered from ClippedVertex
  // upwards until the chunks are joined.
  struct FaceChunk {
    raster::PrimitiveArray primitives;
    raster::VertexArray clipped;
    std::vector<ClipVertex> polygon, scratch;
    std::vector<std::uint32_t> clippedIndex;
  };

  // Everything a pass needs to know about the mesh being drawn.
  struct Job {
    const MeshGeometry* mesh;
    Projection projection;
    RenderStyle style;
    raster::Shading shading;
    std::uint16_t table;
    const raster::PixelPacking* packing;
    std::uint32_t base;  // the draw list's number of the mesh's vertex 0
    const raster::ScreenVertex* screen;
  };

  void SetUpFrame(const MeshGeometry& mesh, const Placement& modelWorld, const Placement& worldToView,
                  const SceneLights& lights, const Projection& projection);
  void VertexRange(const Job& job, std::size_t begin, std::size_t end, raster::ScreenVertex* out);
  template <std::uint32_t Corners>
  void FaceRange(const Job& job, std::size_t begin, std::size_t end, FaceChunk& chunk) const;
  void Join(std::size_t chunks, raster::DrawList& list, raster::ThreadPool* pool);

  ClipVertex CameraVertex(const MeshGeometry& mesh, std::uint32_t i, raster::Shading shading, bool ramp) const;
  void Shade(const MeshGeometry& mesh, std::size_t i, bool ramp, float& r, float& g, float& b) const;
  raster::ScreenVertex Project(const ClipVertex& v, const Projection& projection) const;
  std::uint32_t FacePixel(const MeshGeometry& mesh, std::size_t face, const RenderStyle& style,
                          const raster::PixelPacking& packing) const;
  void Clip(const Job& job, std::uint32_t begin, std::uint32_t end, std::uint32_t pixel, FaceChunk& chunk) const;

  ModelLights lights_;
  unsigned material_[3] = {255, 255, 255};
  float m_[12] = {};  // model to camera: rows x, y, z of the basis, then the origin
  std::vector<std::uint8_t> outcode_;
  std::vector<FaceChunk> chunks_;
  std::vector<std::size_t> primitiveStart_, clippedStart_;
  float zScale_ = 0;  // depth = zScale * (1 - front / z), in 16.16 units
};

}  // namespace vyn::d3drm

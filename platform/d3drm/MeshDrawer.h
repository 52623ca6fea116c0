// The geometry stage of a render: transforms a mesh's vertex buffer into the
// camera's space (one pass over the arrays), lights it, projects it, clips
// what crosses the front and back planes or leaves the guard band, and hands
// the front-facing triangles to the draw list. Its buffers are kept between
// frames.
#pragma once

#include <cstdint>
#include <vector>

#include "d3drm/MeshGeometry.h"
#include "d3drm/SceneWalk.h"
#include "d3drm/Shading.h"
#include "d3drm/Transform.h"
#include "raster/DrawList.h"
#include "raster/PixelPacking.h"

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
            const raster::PixelPacking& packing, raster::DrawList& list);

 private:
  struct ClipVertex {
    float x, y, z;  // camera space
    float r, g, b;  // Gouraud colour (0..255), r alone for a shade level
  };

  void TransformVertices(const MeshGeometry& mesh, const Placement& modelToView, const Projection& projection);
  void ShadeVertices(const MeshGeometry& mesh, const RenderStyle& style);
  ClipVertex CameraVertex(std::uint32_t i, bool perVertexShade, bool ramp) const;
  raster::ScreenVertex Project(const ClipVertex& v, const Projection& projection) const;
  std::uint32_t FacePixel(const MeshGeometry& mesh, std::size_t face, const RenderStyle& style,
                          const raster::PixelPacking& packing) const;
  void ClipAndAdd(const MeshGeometry& mesh, std::uint32_t begin, std::uint32_t end, const Projection& projection,
                  const RenderStyle& style, raster::Shading shading, std::uint32_t pixel, std::uint16_t table,
                  raster::DrawList& list);

  ModelLights lights_;
  unsigned material_[3] = {255, 255, 255};
  std::vector<float> vx_, vy_, vz_;
  std::vector<std::uint8_t> outcode_;
  std::vector<std::uint8_t> shade_[3];  // per-vertex colour or shade level
  std::vector<ClipVertex> polygon_, scratch_;
  std::vector<std::uint32_t> clippedIndex_;
  float zScale_ = 0;  // depth = zScale * (1 - front / z), in 16.16 units
};

}  // namespace vyn::d3drm

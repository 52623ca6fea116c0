// The drawable form of a mesh: one vertex buffer (positions and unit normals,
// one array per component so that transforms run over plain float arrays) and
// one index list of face corners. Faces are polygons drawn as triangle fans.
#pragma once

#include <cstdint>
#include <vector>

#include "d3drm/D3DRM.h"

namespace vyn::d3drm {

struct MeshGeometry {
  // Vertex buffer: vertex i is (x[i], y[i], z[i]) with unit normal (nx[i], ny[i], nz[i]).
  std::vector<float> x, y, z;
  std::vector<float> nx, ny, nz;
  // Index list: the corners of every face, face after face.
  std::vector<std::uint32_t> corners;
  // When every face has the same number of corners, `cornersPerFace` holds it
  // and `faceStart` stays empty; otherwise face f's corners are
  // corners[faceStart[f] .. faceStart[f + 1]).
  std::uint32_t cornersPerFace = 0;
  std::vector<std::uint32_t> faceStart;
  // Unit normal of each face's plane, for flat shading.
  std::vector<float> faceNx, faceNy, faceNz;

  D3DRMRENDERQUALITY quality = D3DRMRENDER_GOURAUD;
  D3DCOLOR color = 0xFFFFFFFFu;
  D3DRMBOX box{};

  std::size_t VertexCount() const { return x.size(); }
  std::size_t FaceCount() const { return faceNx.size(); }
  std::uint32_t FaceBegin(std::size_t face) const {
    return cornersPerFace != 0 ? static_cast<std::uint32_t>(face * cornersPerFace) : faceStart[face];
  }
  std::uint32_t FaceEnd(std::size_t face) const {
    return cornersPerFace != 0 ? static_cast<std::uint32_t>((face + 1) * cornersPerFace) : faceStart[face + 1];
  }
};

}  // namespace vyn::d3drm

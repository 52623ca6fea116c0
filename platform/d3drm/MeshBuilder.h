// The mesh builder: vertices, normals and faces added one call at a time,
// kept in flat arrays (a face is a range of corners, its COM object only a
// handle), and turned into a drawable mesh by CreateMesh.
#pragma once

#include <cstdint>
#include <vector>

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"
#include "d3drm/MeshGeometry.h"

namespace vyn::d3drm {

struct Vec3f {
  float x, y, z;
};

struct FaceCorner {
  std::uint32_t vertex;
  std::uint32_t normal;
};

class MeshBuilder final : public com::ComObject<IDirect3DRMMeshBuilder2> {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override;

  int AddVertex(D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
  int AddNormal(D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
  HRESULT CreateFace(LPDIRECT3DRMFACE* face) override;
  HRESULT CreateMesh(LPDIRECT3DRMMESH* mesh) override;
  HRESULT GetBox(D3DRMBOX* box) override;
  int GetFaceCount() override;
  int GetVertexCount() override;
  D3DRMRENDERQUALITY GetQuality() override;
  HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override;
  HRESULT SetColor(D3DCOLOR color) override;
  HRESULT SetQuality(D3DRMRENDERQUALITY quality) override;

  // Used by the face handles.
  HRESULT AppendCorner(std::uint32_t face, std::uint32_t vertex, std::uint32_t normal);
  std::uint32_t CornerCount(std::uint32_t face) const { return faces_[face].count; }

  // The drawable geometry of what the builder holds now.
  MeshGeometry BuildGeometry() const;

  D3DCOLOR color() const { return color_; }

 private:
  D3DRMBOX ComputeBox() const;

  struct FaceRange {
    std::uint32_t first;
    std::uint32_t count;
  };

  std::vector<Vec3f> vertices_;
  std::vector<Vec3f> normals_;
  std::vector<FaceRange> faces_;
  std::vector<FaceCorner> corners_;
  D3DRMRENDERQUALITY quality_ = D3DRMRENDER_GOURAUD;
  D3DCOLOR color_ = 0xFFFFFFFFu;
};

}  // namespace vyn::d3drm

// A mesh ready to draw, made by a mesh builder.
#pragma once

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"
#include "d3drm/MeshGeometry.h"

namespace vyn::d3drm {

class Mesh final : public com::ComObject<IDirect3DRMMesh> {
 public:
  explicit Mesh(MeshGeometry geometry) : geometry_(std::move(geometry)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetBox(D3DRMBOX* box) override;

  const MeshGeometry& geometry() const { return geometry_; }

 private:
  MeshGeometry geometry_;
};

}  // namespace vyn::d3drm

// A face of a mesh builder: a thin handle (the builder and the face's number);
// the corners live in the builder's flat arrays.
#pragma once

#include <cstdint>

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"

namespace vyn::d3drm {

class MeshBuilder;

class Face final : public com::ComObject<IDirect3DRMFace> {
 public:
  Face(MeshBuilder* builder, std::uint32_t index);
  ~Face() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT AddVertexAndNormalIndexed(DWORD vertex, DWORD normal) override;
  int GetVertexCount() override;

 private:
  MeshBuilder* builder_;  // holds a reference, so a kept face stays usable
  std::uint32_t index_;
};

}  // namespace vyn::d3drm

#include "d3drm/Mesh.h"

#include "d3drm/Iids.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

HRESULT Mesh::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMMesh* self = this;
  return com::QueryFor(self, iid, object,
                       {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Visual, self}, {&IID_Mesh, self}});
}

HRESULT Mesh::GetBox(D3DRMBOX* box) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMesh::GetBox", this); hr != S_OK) return hr;
  if (box == nullptr) return D3DRMERR_BADVALUE;
  *box = geometry_.box;
  return D3DRM_OK;
}

}  // namespace vyn::d3drm

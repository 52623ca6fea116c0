#include "d3drm/Face.h"

#include "d3drm/Iids.h"
#include "d3drm/MeshBuilder.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

Face::Face(MeshBuilder* builder, std::uint32_t index) : builder_(builder), index_(index) {
  builder_->AddRefInternal();
}

Face::~Face() { builder_->ReleaseInternal(); }

HRESULT Face::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMFace* self = this;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Face, self}});
}

HRESULT Face::AddVertexAndNormalIndexed(DWORD vertex, DWORD normal) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFace::AddVertexAndNormalIndexed", this); hr != S_OK) return hr;
  return builder_->AppendCorner(index_, vertex, normal);
}

int Face::GetVertexCount() {
  testctl::Enter("IDirect3DRMFace::GetVertexCount", this);
  return static_cast<int>(builder_->CornerCount(index_));
}

}  // namespace vyn::d3drm

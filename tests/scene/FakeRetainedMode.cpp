#include "FakeRetainedMode.h"

#include <algorithm>

namespace vyn::scenetest {

std::set<const void*>& LiveFakes() {
  static std::set<const void*> live;
  return live;
}

FakeMeshBuilder::~FakeMeshBuilder() {
  for (FakeFace* face : faces) face->Release();
}

int FakeMeshBuilder::AddVertex(D3DVALUE x, D3DVALUE y, D3DVALUE z) {
  if (vertices == 0) box = {{x, y, z}, {x, y, z}};
  box.min = {std::min(box.min.x, x), std::min(box.min.y, y), std::min(box.min.z, z)};
  box.max = {std::max(box.max.x, x), std::max(box.max.y, y), std::max(box.max.z, z)};
  return vertices++;
}

HRESULT FakeMeshBuilder::CreateFace(LPDIRECT3DRMFACE* face) {
  auto* made = new FakeFace;
  made->AddRef();  // one for the builder, one for the caller
  faces.push_back(made);
  *face = made;
  return D3DRM_OK;
}

HRESULT FakeMeshBuilder::CreateMesh(LPDIRECT3DRMMESH* created) {
  if (failCreateMesh) {
    *created = nullptr;
    return D3DRMERR_BADALLOC;
  }
  mesh = new FakeMesh;
  *created = mesh;
  return D3DRM_OK;
}

HRESULT FakeMeshBuilder::GetBox(D3DRMBOX* out) {
  *out = box;
  return D3DRM_OK;
}

FakeFrame::~FakeFrame() {
  for (FakeFrame* child : children) child->Release();
  for (FakeLight* light : lights) light->Release();
  for (IUnknown* visual : visuals) visual->Release();
}

HRESULT FakeFrame::AddLight(LPDIRECT3DRMLIGHT light) {
  light->AddRef();
  lights.push_back(static_cast<FakeLight*>(light));
  return D3DRM_OK;
}

HRESULT FakeFrame::AddVisual(IUnknown* visual) {
  visual->AddRef();
  visuals.push_back(visual);
  return D3DRM_OK;
}

FakeRetainedMode::~FakeRetainedMode() {
  if (builder != nullptr) builder->Release();
}

HRESULT FakeRetainedMode::CreateFrame(LPDIRECT3DRMFRAME parent, LPDIRECT3DRMFRAME2* created) {
  if (++framesMade == fail.frame) {
    *created = nullptr;
    return D3DRMERR_BADALLOC;
  }
  auto* parentFrame = static_cast<FakeFrame*>(parent);
  auto* frame = new FakeFrame(parentFrame);
  if (parentFrame != nullptr) {
    frame->AddRef();
    parentFrame->children.push_back(frame);
  }
  frames.push_back(frame);
  *created = frame;
  return D3DRM_OK;
}

HRESULT FakeRetainedMode::CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b,
                                         LPDIRECT3DRMLIGHT* created) {
  if ((type == D3DRMLIGHT_AMBIENT && fail.ambientLight) ||
      (type == D3DRMLIGHT_DIRECTIONAL && fail.directionalLight)) {
    *created = nullptr;
    return D3DRMERR_BADALLOC;
  }
  auto* light = new FakeLight(type, r, g, b);
  lights.push_back(light);
  *created = light;
  return D3DRM_OK;
}

HRESULT FakeRetainedMode::CreateMeshBuilder(LPDIRECT3DRMMESHBUILDER2* created) {
  if (fail.meshBuilder) {
    *created = nullptr;
    return D3DRMERR_BADALLOC;
  }
  if (builder != nullptr) builder->Release();
  builder = new FakeMeshBuilder;
  builder->AddRef();
  builder->failCreateMesh = fail.mesh;
  *created = builder;
  return D3DRM_OK;
}

HRESULT FakeRetainedMode::CreateViewport(LPDIRECT3DRMDEVICE, LPDIRECT3DRMFRAME camera, DWORD, DWORD, DWORD,
                                         DWORD, LPDIRECT3DRMVIEWPORT* created) {
  if (fail.viewport) {
    *created = nullptr;
    return D3DRMERR_BADOBJECT;
  }
  viewport = new FakeViewport;
  viewport->camera = camera;
  *created = viewport;
  return D3DRM_OK;
}

}  // namespace vyn::scenetest

#include "d3drm/RetainedMode.h"

#include <new>

#include "d3drm/Device.h"
#include "d3drm/Frame.h"
#include "d3drm/Light.h"
#include "d3drm/MeshBuilder.h"
#include "d3drm/Viewport.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

RetainedMode::RetainedMode() : version1_(this) {}

ULONG RetainedMode::Version1::Release() {
  const ULONG remaining = owner->ReferenceCount() - 1;
  testctl::RecordRelease(this, remaining);
  owner->ReleaseInternal();
  return remaining;
}

// Recorded under the first-version interface, so that tests can make the
// query for IDirect3DRM2 fail.
HRESULT RetainedMode::Version1::QueryInterface(REFIID iid, void** object) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM::QueryInterface", this); hr != S_OK) {
    if (object != nullptr) *object = nullptr;
    return hr;
  }
  return owner->QueryInterface(iid, object);
}

HRESULT RetainedMode::QueryInterface(REFIID iid, void** object) {
  if (object != nullptr && (iid == IID_IDirect3DRM)) {
    *object = static_cast<IDirect3DRM*>(&version1_);
    AddRef();
    return S_OK;
  }
  IDirect3DRM2* self = this;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_IDirect3DRM2, self}});
}

HRESULT RetainedMode::CreateDeviceFromD3D(LPDIRECT3D2 direct3d, LPDIRECT3DDEVICE2 device,
                                          LPDIRECT3DRMDEVICE2* created) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::CreateDeviceFromD3D", this); hr != S_OK) return hr;
  if (created == nullptr) return D3DRMERR_BADVALUE;
  *created = nullptr;
  if (direct3d == nullptr || device == nullptr) return D3DRMERR_BADOBJECT;
  Device* made = nullptr;
  if (HRESULT hr = Device::CreateOnDirect3D(device, &made); hr != D3DRM_OK) return hr;
  *created = made;
  return D3DRM_OK;
}

HRESULT RetainedMode::CreateFrame(LPDIRECT3DRMFRAME parent, LPDIRECT3DRMFRAME2* created) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::CreateFrame", this); hr != S_OK) return hr;
  if (created == nullptr) return D3DRMERR_BADVALUE;
  *created = nullptr;
  Frame* ourParent = Frame::From(parent);
  if (parent != nullptr && ourParent == nullptr) return D3DRMERR_BADOBJECT;
  Frame* frame = new (std::nothrow) Frame(ourParent);
  if (frame == nullptr) return D3DRMERR_BADALLOC;
  *created = frame;
  return D3DRM_OK;
}

HRESULT RetainedMode::CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE red, D3DVALUE green, D3DVALUE blue,
                                     LPDIRECT3DRMLIGHT* created) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::CreateLightRGB", this); hr != S_OK) return hr;
  if (created == nullptr) return D3DRMERR_BADVALUE;
  *created = nullptr;
  if (type > D3DRMLIGHT_PARALLELPOINT) return D3DRMERR_BADVALUE;
  Light* light = new (std::nothrow) Light(type, ColorRgb{red, green, blue});
  if (light == nullptr) return D3DRMERR_BADALLOC;
  *created = light;
  return D3DRM_OK;
}

HRESULT RetainedMode::CreateMeshBuilder(LPDIRECT3DRMMESHBUILDER2* created) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::CreateMeshBuilder", this); hr != S_OK) return hr;
  if (created == nullptr) return D3DRMERR_BADVALUE;
  *created = nullptr;
  MeshBuilder* builder = new (std::nothrow) MeshBuilder();
  if (builder == nullptr) return D3DRMERR_BADALLOC;
  *created = builder;
  return D3DRM_OK;
}

HRESULT RetainedMode::CreateViewport(LPDIRECT3DRMDEVICE device, LPDIRECT3DRMFRAME camera, DWORD x, DWORD y,
                                     DWORD width, DWORD height, LPDIRECT3DRMVIEWPORT* created) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::CreateViewport", this); hr != S_OK) return hr;
  if (created == nullptr) return D3DRMERR_BADVALUE;
  *created = nullptr;
  Device* ourDevice = Device::From(device);
  Frame* ourCamera = Frame::From(camera);
  if (ourDevice == nullptr || ourCamera == nullptr) return D3DRMERR_BADOBJECT;
  const std::uint64_t right = std::uint64_t{x} + width;
  const std::uint64_t bottom = std::uint64_t{y} + height;
  if (width == 0 || height == 0 || right > ourDevice->width() || bottom > ourDevice->height()) {
    return D3DRMERR_BADVALUE;
  }
  Viewport* viewport = new (std::nothrow) Viewport(ourDevice, ourCamera, static_cast<int>(x),
                                                   static_cast<int>(y), static_cast<int>(width),
                                                   static_cast<int>(height));
  if (viewport == nullptr) return D3DRMERR_BADALLOC;
  *created = viewport;
  return D3DRM_OK;
}

HRESULT RetainedMode::SetDefaultTextureColors(DWORD colors) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::SetDefaultTextureColors", this); hr != S_OK) return hr;
  defaultTextureColors_ = colors;
  return D3DRM_OK;
}

HRESULT RetainedMode::SetDefaultTextureShades(DWORD shades) {
  if (HRESULT hr = testctl::Enter("IDirect3DRM2::SetDefaultTextureShades", this); hr != S_OK) return hr;
  defaultTextureShades_ = shades;
  return D3DRM_OK;
}

}  // namespace vyn::d3drm

HRESULT Direct3DRMCreate(LPDIRECT3DRM* created) {
  if (HRESULT hr = vyn::testctl::Enter("Direct3DRMCreate"); hr != S_OK) return hr;
  if (created == nullptr) return D3DRMERR_BADVALUE;
  auto* object = new (std::nothrow) vyn::d3drm::RetainedMode();
  *created = object == nullptr ? nullptr : object->version1();
  return object == nullptr ? D3DRMERR_BADALLOC : D3DRM_OK;
}

#include "d3d/Direct3DInterface.h"

#include <algorithm>
#include <new>

#include "d3d/Direct3DDevice.h"
#include "ddraw/DirectDrawObject.h"
#include "ddraw/Surface.h"

namespace vyn::d3d {
namespace {

const DeviceEntry* findDevice(const GUID& guid) {
  const std::vector<DeviceEntry>& list = CurrentDevices();
  auto it = std::find_if(list.begin(), list.end(), [&](const DeviceEntry& e) { return e.guid == guid; });
  return it == list.end() ? nullptr : &*it;
}

// A render target is one of our off-screen surfaces made for 3D use.
HRESULT checkRenderTarget(IDirectDrawSurface* renderTarget, ddraw::Surface*& target) {
  if (renderTarget == nullptr) return DDERR_INVALIDPARAMS;
  target = ddraw::SurfaceFrom(renderTarget);
  if (target == nullptr) return DDERR_INVALIDOBJECT;
  if (target->kind() != ddraw::SurfaceKind::Offscreen || !(target->caps() & DDSCAPS_3DDEVICE))
    return DDERR_INVALIDCAPS;
  if (target->lost()) return DDERR_SURFACELOST;
  return DD_OK;
}

}  // namespace

Direct3D::Direct3D(ddraw::DirectDrawObject& owner) : owner_(owner) {
  owner_.AddRefInternal();
  owner_.setDirect3D(this);
}

Direct3D::~Direct3D() {
  owner_.setDirect3D(nullptr);
  owner_.ReleaseInternal();
}

HRESULT Direct3D::QueryInterface(REFIID iid, void** object) {
  auto* self = static_cast<IDirect3D2*>(this);
  if (HRESULT hr = testctl::Enter("IDirect3D2::QueryInterface", self)) return hr;
  auto* directDraw = static_cast<IDirectDraw*>(&owner_);
  if (object != nullptr && (iid == IID_IUnknown || iid == IID_IDirectDraw)) {
    directDraw->AddRef();
    *object = directDraw;
    return S_OK;
  }
  return com::QueryFor(self, iid, object, {{&IID_IDirect3D2, self}});
}

HRESULT Direct3D::EnumDevices(LPD3DENUMDEVICESCALLBACK callback, LPVOID context) {
  if (HRESULT hr = testctl::Enter("IDirect3D2::EnumDevices", static_cast<IDirect3D2*>(this))) return hr;
  if (callback == nullptr) return DDERR_INVALIDPARAMS;
  // The callback gets pointers into a copy, so that it can neither change the
  // list nor be hurt by a nested enumeration; moving the vector keeps the
  // elements where they are.
  std::vector<DeviceEntry> snapshot = CurrentDevices();
  for (DeviceEntry& device : snapshot) {
    if (callback(&device.guid, device.description.data(), device.name.data(), &device.hardware,
                 &device.software, context) == D3DENUMRET_CANCEL)
      break;
  }
  enumerated_ = std::move(snapshot);
  return D3D_OK;
}

HRESULT Direct3D::CreateDevice(REFCLSID device, LPDIRECTDRAWSURFACE renderTarget, LPDIRECT3DDEVICE2* created) {
  if (HRESULT hr = testctl::Enter("IDirect3D2::CreateDevice", static_cast<IDirect3D2*>(this))) return hr;
  if (created == nullptr) return DDERR_INVALIDPARAMS;
  *created = nullptr;
  // Only a device that exists now, and that the software renderer drives.
  const DeviceEntry* entry = findDevice(device);
  if (entry == nullptr || !IsSoftwareDevice(device)) return DDERR_INVALIDPARAMS;
  ddraw::Surface* target = nullptr;
  if (HRESULT hr = checkRenderTarget(renderTarget, target)) return hr;
  auto* made = new (std::nothrow) Direct3DDevice(*target, device, entry->software.dcmColorModel);
  if (made == nullptr) return DDERR_OUTOFMEMORY;
  *created = made;
  return D3D_OK;
}

HRESULT QueryDirect3D2(ddraw::DirectDrawObject& owner, void** object) {
  if (IDirect3D2* existing = owner.direct3D()) {
    existing->AddRef();
    *object = existing;
    return S_OK;
  }
  auto* made = new (std::nothrow) Direct3D(owner);
  if (made == nullptr) {
    *object = nullptr;
    return E_OUTOFMEMORY;
  }
  *object = static_cast<IDirect3D2*>(made);
  return S_OK;
}

}  // namespace vyn::d3d

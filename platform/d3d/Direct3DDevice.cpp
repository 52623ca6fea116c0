#include "d3d/Direct3DDevice.h"

#include "ddraw/Surface.h"

namespace vyn::d3d {

Direct3DDevice::Direct3DDevice(ddraw::Surface& renderTarget, const GUID& deviceGuid, D3DCOLORMODEL colorModel)
    : renderTarget_(renderTarget), deviceGuid_(deviceGuid), colorModel_(colorModel) {
  renderTarget_.AddRefInternal();
}

Direct3DDevice::~Direct3DDevice() { renderTarget_.ReleaseInternal(); }

HRESULT Direct3DDevice::QueryInterface(REFIID iid, void** object) {
  auto* self = static_cast<IDirect3DDevice2*>(this);
  if (HRESULT hr = testctl::Enter("IDirect3DDevice2::QueryInterface", self)) return hr;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_IDirect3DDevice2, self}});
}

DeviceTarget Direct3DDevice::target() const {
  return DeviceTarget{static_cast<IDirectDrawSurface*>(&renderTarget_), deviceGuid_, colorModel_};
}

bool TargetOf(IDirect3DDevice2* device, DeviceTarget& target) {
  auto* ours = dynamic_cast<Direct3DDevice*>(device);
  if (ours == nullptr) return false;
  target = ours->target();
  return true;
}

}  // namespace vyn::d3d

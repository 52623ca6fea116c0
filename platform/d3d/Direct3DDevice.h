// An immediate-mode software device on a back buffer. It holds its render
// target for as long as it lives; Retained Mode finds the target and the
// kind of device through TargetOf (DeviceTarget.h) and draws there itself.
#pragma once

#include "com/ComObject.h"
#include "d3d/D3D.h"
#include "d3d/DeviceTarget.h"

namespace vyn::ddraw {
class Surface;
}

namespace vyn::d3d {

class Direct3DDevice final : public com::ComObject<IDirect3DDevice2> {
 public:
  Direct3DDevice(ddraw::Surface& renderTarget, const GUID& deviceGuid, D3DCOLORMODEL colorModel);
  ~Direct3DDevice() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;

  DeviceTarget target() const;

 private:
  ddraw::Surface& renderTarget_;
  GUID deviceGuid_;
  D3DCOLORMODEL colorModel_;
};

}  // namespace vyn::d3d

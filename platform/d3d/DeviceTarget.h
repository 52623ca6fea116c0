// What Retained Mode needs to know of an immediate-mode device made by this
// platform: where it draws and which software device it is.
#pragma once

#include "d3d/D3D.h"

namespace vyn::d3d {

struct DeviceTarget {
  IDirectDrawSurface* renderTarget = nullptr;  // the back buffer (a borrowed pointer)
  GUID deviceGuid{};                           // IID_IDirect3DMMXDevice, IID_IDirect3DRampDevice, ...
  D3DCOLORMODEL colorModel = 0;                // D3DCOLOR_RGB for MMX/RGB, D3DCOLOR_MONO for Ramp
};

// False for a device this platform did not make.
bool TargetOf(IDirect3DDevice2* device, DeviceTarget& target);

}  // namespace vyn::d3d

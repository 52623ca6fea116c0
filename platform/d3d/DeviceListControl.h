// Test control: which Direct3D devices exist. Never used by the saver.
#pragma once

#include <string>
#include <vector>

#include "d3d/DeviceList.h"

namespace vyn::d3d {

// From now on exactly these devices exist, in this order (none when empty).
// Only software devices among them can be created.
void SetDevices(std::vector<DeviceEntry> devices);

// Back to the software devices alone.
void ResetDevices();

// A hardware device as Direct3D would report it: the hardware description
// carries the colour model and Z-buffer depths (DDBD_ flags), the software
// description is empty.
DeviceEntry HardwareDevice(const std::string& name, D3DCOLORMODEL colorModel, DWORD zBufferDepths,
                           const GUID& guid = IID_IDirect3DHALDevice);

}  // namespace vyn::d3d

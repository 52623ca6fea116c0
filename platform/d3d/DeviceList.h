// The Direct3D devices that EnumDevices reports and CreateDevice accepts.
// By default: the three software devices, "Ramp Emulation" (mono colour
// model), "RGB Emulation" and "MMX Emulation" (RGB colour model). Tests
// replace the list through DeviceListControl.h.
#pragma once

#include <string>
#include <vector>

#include "d3d/D3D.h"

namespace vyn::d3d {

struct DeviceEntry {
  GUID guid;
  std::string description;
  std::string name;
  // A software device has a zero hardware colour model, and a hardware
  // device a zero software description, as Direct3D reports them.
  D3DDEVICEDESC hardware;
  D3DDEVICEDESC software;
};

// The software devices, in Direct3D's order.
std::vector<DeviceEntry> SoftwareDevices();

// The devices that exist now.
const std::vector<DeviceEntry>& CurrentDevices();

// True for the GUIDs of the devices that this platform can render with.
bool IsSoftwareDevice(const GUID& guid);

}  // namespace vyn::d3d

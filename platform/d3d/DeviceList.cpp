#include "d3d/DeviceList.h"

#include "d3d/DeviceListControl.h"

namespace vyn::d3d {
namespace {

constexpr DWORD AllRenderDepths = DDBD_8 | DDBD_16 | DDBD_24 | DDBD_32;

D3DPRIMCAPS primitiveCaps(DWORD shadeCaps) {
  D3DPRIMCAPS caps{};
  caps.dwSize = sizeof(D3DPRIMCAPS);
  caps.dwShadeCaps = shadeCaps;
  return caps;
}

// What the software rasteriser offers, in the terms of a device description.
D3DDEVICEDESC softwareDescription(D3DCOLORMODEL colorModel) {
  const bool mono = colorModel == D3DCOLOR_MONO;
  D3DDEVICEDESC description{};
  description.dwSize = sizeof(D3DDEVICEDESC);
  description.dwFlags = D3DDD_COLORMODEL | D3DDD_DEVCAPS | D3DDD_TRANSFORMCAPS | D3DDD_LIGHTINGCAPS |
                        D3DDD_BCLIPPING | D3DDD_LINECAPS | D3DDD_TRICAPS | D3DDD_DEVICERENDERBITDEPTH |
                        D3DDD_DEVICEZBUFFERBITDEPTH | D3DDD_MAXBUFFERSIZE | D3DDD_MAXVERTEXCOUNT;
  description.dcmColorModel = colorModel;
  description.dwDevCaps = D3DDEVCAPS_FLOATTLVERTEX | D3DDEVCAPS_EXECUTESYSTEMMEMORY |
                          D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTURESYSTEMMEMORY |
                          D3DDEVCAPS_DRAWPRIMTLVERTEX;
  description.dtcTransformCaps = {sizeof(D3DTRANSFORMCAPS), D3DTRANSFORMCAPS_CLIP};
  description.bClipping = TRUE;
  description.dlcLightingCaps = {sizeof(D3DLIGHTINGCAPS),
                                 D3DLIGHTCAPS_POINT | D3DLIGHTCAPS_SPOT | D3DLIGHTCAPS_DIRECTIONAL |
                                     D3DLIGHTCAPS_PARALLELPOINT,
                                 mono ? D3DLIGHTINGMODEL_MONO : D3DLIGHTINGMODEL_RGB, 0};
  const DWORD shade = mono ? D3DPSHADECAPS_COLORFLATMONO | D3DPSHADECAPS_COLORGOURAUDMONO
                           : D3DPSHADECAPS_COLORFLATRGB | D3DPSHADECAPS_COLORGOURAUDRGB;
  description.dpcLineCaps = primitiveCaps(shade);
  description.dpcTriCaps = primitiveCaps(shade);
  description.dwDeviceRenderBitDepth = AllRenderDepths;
  description.dwDeviceZBufferBitDepth = DDBD_16;
  description.dwMaxBufferSize = 0;  // no limit
  description.dwMaxVertexCount = 65535;
  description.dwMinTextureWidth = 1;
  description.dwMinTextureHeight = 1;
  description.dwMaxTextureWidth = 1024;
  description.dwMaxTextureHeight = 1024;
  return description;
}

D3DDEVICEDESC emptyDescription() {
  D3DDEVICEDESC description{};
  description.dwSize = sizeof(D3DDEVICEDESC);
  return description;
}

DeviceEntry softwareDevice(const GUID& guid, const char* description, const char* name,
                           D3DCOLORMODEL colorModel) {
  return DeviceEntry{guid, description, name, emptyDescription(), softwareDescription(colorModel)};
}

std::vector<DeviceEntry>& devices() {
  static std::vector<DeviceEntry> current = SoftwareDevices();
  return current;
}

}  // namespace

std::vector<DeviceEntry> SoftwareDevices() {
  return {
      softwareDevice(IID_IDirect3DRampDevice, "Microsoft Direct3D Mono(Ramp) Software Emulation",
                     "Ramp Emulation", D3DCOLOR_MONO),
      softwareDevice(IID_IDirect3DRGBDevice, "Microsoft Direct3D RGB Software Emulation", "RGB Emulation",
                     D3DCOLOR_RGB),
      softwareDevice(IID_IDirect3DMMXDevice, "Microsoft Direct3D MMX Software Emulation", "MMX Emulation",
                     D3DCOLOR_RGB),
  };
}

const std::vector<DeviceEntry>& CurrentDevices() { return devices(); }

bool IsSoftwareDevice(const GUID& guid) {
  return guid == IID_IDirect3DRampDevice || guid == IID_IDirect3DRGBDevice || guid == IID_IDirect3DMMXDevice;
}

void SetDevices(std::vector<DeviceEntry> list) { devices() = std::move(list); }

void ResetDevices() { devices() = SoftwareDevices(); }

DeviceEntry HardwareDevice(const std::string& name, D3DCOLORMODEL colorModel, DWORD zBufferDepths,
                           const GUID& guid) {
  D3DDEVICEDESC hardware = softwareDescription(colorModel);
  hardware.dwDeviceZBufferBitDepth = zBufferDepths;
  return DeviceEntry{guid, "Hardware acceleration through " + name, name, hardware, emptyDescription()};
}

}  // namespace vyn::d3d

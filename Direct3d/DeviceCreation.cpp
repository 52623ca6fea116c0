// The Retained Mode device: the Retained Mode object, the palette of 8-bit
// displays, the software Direct3D device (MMX, else Ramp) on the back buffer
// with its 16-bit Z-buffer, and Retained Mode's device on top of it.
#include "Lumivex.h"

#include "LayerFailure.h"
#include "ProgressLine.h"
#include "gdi/Gdi.h"
#include "kernel/Kernel.h"

namespace vyn::lumivex {

namespace {

// The system palette with the renderer's flags: the 10 entries at each end
// belong to Windows and stay read-only, the 236 between are the renderer's.
void FlagPaletteEntries(PALETTEENTRY (&entries)[256]) {
  for (int i = 0; i < 256; ++i)
    entries[i].peFlags = (i < 10 || i >= 246) ? D3DPAL_READONLY : PC_RESERVED;
}

// On 8-bit displays: one palette, set on the back buffer and then on the
// primary surface. No result here is examined; a failure shows in later calls.
void SetUpPalette() {
  RenderContext& c = renderContext;
  OutputDebugStringA("KVR:palettized \n");
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, c.paletteEntries);
  ReleaseDC(nullptr, screen);
  FlagPaletteEntries(c.paletteEntries);
  if (c.directDraw == nullptr) return;
  c.directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE, c.paletteEntries, &c.palette,
                              nullptr);
  if (c.backBuffer != nullptr) c.backBuffer->SetPalette(c.palette);
  if (c.primarySurface != nullptr) c.primarySurface->SetPalette(c.palette);
}

// Rendering settings by colour depth; their results are not examined.
void ApplyDeviceSettings() {
  RenderContext& c = renderContext;
  IDirect3DRMDevice2* device = c.retainedModeDevice;
  if (device == nullptr) return;
  device->SetBufferCount(2);
  if (c.bitsPerPixel == 8) {
    device->SetDither(FALSE);
    device->SetQuality(D3DRMRENDER_FLAT);
    device->SetTextureQuality(D3DRMTEXTURE_NEAREST);
    device->SetShades(8);
    return;
  }
  device->SetShades(32);
  c.retainedMode->SetDefaultTextureColors(64);
  c.retainedMode->SetDefaultTextureShades(32);
  device->SetQuality(D3DRMRENDER_GOURAUD);
  device->SetDither(FALSE);
  device->SetTextureQuality(D3DRMTEXTURE_LINEAR);
}

// The Direct3D interface of the DirectDraw object. Without it the DirectDraw
// object is given up here.
bool QueryDirect3D() {
  RenderContext& c = renderContext;
  HRESULT result = E_NOINTERFACE;
  if (c.directDraw != nullptr)
    result = c.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&c.direct3D));
  if (SUCCEEDED(result) && c.direct3D != nullptr) return true;
  OutputDebugStringA("KVR:Error:Failed to QI Direct3D2 from DirectDraw\n");
  if (c.directDraw != nullptr) {
    LPDIRECTDRAW held = c.directDraw;
    c.directDraw = nullptr;
    held->Release();
  }
  return false;
}

// A 16-bit system-memory Z-buffer of the back buffer's size, attached to the
// back buffer so that the device draws with depth. Only the attachment's
// result decides.
bool AttachZBuffer() {
  RenderContext& c = renderContext;
  if (c.backBuffer == nullptr) return false;
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  c.backBuffer->GetSurfaceDesc(&description);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_ZBUFFERBITDEPTH;
  description.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
  description.dwZBufferBitDepth = 16;
  c.directDraw->CreateSurface(&description, &c.zBuffer, nullptr);
  return c.backBuffer->AddAttachedSurface(c.zBuffer) == DD_OK;
}

}  // namespace

HRESULT EnumDevicesCallback(GUID* guid, LPSTR /*description*/, LPSTR name,
                            LPD3DDEVICEDESC hardware, LPD3DDEVICEDESC software, LPVOID context) {
  auto* search = static_cast<DeviceSearch*>(context);
  if (searchStopFlag != 0 || search == nullptr) return D3DENUMRET_OK;
  const D3DCOLORMODEL wanted = search->requestedColorModel;
  const char* shownName = name != nullptr ? name : "";
  const DWORD guidData1 = guid != nullptr ? guid->Data1 : 0;

  if (hardware != nullptr && (hardware->dcmColorModel & wanted) != 0) {
    if ((hardware->dwDeviceZBufferBitDepth & (DDBD_16 | DDBD_24 | DDBD_32)) == 0)
      return D3DENUMRET_OK;
    WriteProgressLine("KVR:HAL DeviceName :%s %x\n", shownName, guidData1);
    searchStopFlag = 1;
    return D3DENUMRET_OK;
  }
  if (software != nullptr && (software->dcmColorModel & wanted) != 0 &&
      search->softwareDevice == nullptr) {
    WriteProgressLine("KVR:DeviceName :%s %x\n", shownName, guidData1);
    search->softwareDevice = guid;
  }
  return D3DENUMRET_OK;
}

int CreateD3DDevice(D3DCOLORMODEL colorModel) {
  DeviceSearch search{};
  search.requestedColorModel = colorModel;
  if (!QueryDirect3D()) return 0;

  RenderContext& c = renderContext;
  // The search only reports what it sees: the device made below is always
  // one of the two software devices.
  searchStopFlag = 0;
  c.direct3D->EnumDevices(EnumDevicesCallback, &search);
  WriteProgressLine("KVR:DeviceGuid %x\n", 0u);

  if (!AttachZBuffer()) return 0;

  if (c.direct3D->CreateDevice(IID_IDirect3DMMXDevice, c.backBuffer, &c.device) == DD_OK) {
    OutputDebugStringA("KVR:Created Direct3DDevice with MMX(HEL)\n");
    return 1;
  }
  const HRESULT ramp = c.direct3D->CreateDevice(IID_IDirect3DRampDevice, c.backBuffer, &c.device);
  OutputDebugStringA("KVR:Created Direct3DDevice with RAMP(HEL)\n");
  if (ramp == DD_OK) return 1;
  // Without a software device there is nothing to draw with: end the saver.
  OutputDebugStringA("KVR:Failed to Create Direct3DDevice!\n");
  Cleanup();
  ExitProcess(1);
}

int CreateD3DRM() {
  OutputDebugStringA("KVR:CreateD3DRM\n");
  RenderContext& c = renderContext;
  if (Direct3DRMCreate(&c.retainedModeV1) != D3DRM_OK || c.retainedModeV1 == nullptr)
    return CleanupAndFail();

  // Only the version-2 interface is kept; the first-version reference goes
  // whatever the query answered.
  const HRESULT queried = c.retainedModeV1->QueryInterface(
      IID_IDirect3DRM2, reinterpret_cast<void**>(&c.retainedMode));
  LPDIRECT3DRM first = c.retainedModeV1;
  c.retainedModeV1 = nullptr;
  first->Release();
  if (queried != D3DRM_OK || c.retainedMode == nullptr) return CleanupAndFail();

  if (c.bitsPerPixel == 8) SetUpPalette();

  if (CreateD3DDevice(c.colorModel) == 0) {
    Cleanup();
    OutputDebugStringA("KVR:Error:Fail to Direct3D create \n ");
    return 0;
  }

  const HRESULT result =
      c.retainedMode->CreateDeviceFromD3D(c.direct3D, c.device, &c.retainedModeDevice);
  if (result != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, result);
    return CleanupAndFail();
  }
  ApplyDeviceSettings();
  return 1;
}

}  // namespace vyn::lumivex

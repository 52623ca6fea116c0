#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d3d/D3D.h"
#include "d3d/DeviceTarget.h"
#include "ddraw/DDraw.h"
#include "ddraw/SurfaceMemory.h"
#include "testctl/PlatformControls.h"

namespace vyn::d3d {
namespace {

struct Seen {
  GUID guid;
  const GUID* pointer;
  std::string description;
  std::string name;
  D3DDEVICEDESC hardware;
  D3DDEVICEDESC software;
};

HRESULT collect(GUID* guid, LPSTR description, LPSTR name, LPD3DDEVICEDESC hardware, LPD3DDEVICEDESC software,
                LPVOID context) {
  static_cast<std::vector<Seen>*>(context)->push_back({*guid, guid, description, name, *hardware, *software});
  return D3DENUMRET_OK;
}

class Direct3DTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testctl::ResetPlatform();
    display::UseOffscreenDisplay(64, 48, 16);
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3D)), S_OK);
  }
  void TearDown() override {
    for (IUnknown* object : owned) object->Release();
    if (direct3D) direct3D->Release();
    if (directDraw) directDraw->Release();
    testctl::ResetPlatform();
  }

  IDirectDrawSurface* Surface(DWORD flags, DWORD caps, DWORD width, DWORD height) {
    DDSURFACEDESC description{};
    description.dwSize = DDSURFACEDESC_SIZE_WIN32;
    description.dwFlags = flags;
    description.ddsCaps.dwCaps = caps;
    description.dwWidth = width;
    description.dwHeight = height;
    description.dwZBufferBitDepth = 16;
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DD_OK);
    if (surface) owned.push_back(surface);
    return surface;
  }
  IDirectDrawSurface* BackBuffer() {
    return Surface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT,
                   DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY, 20, 10);
  }

  std::vector<Seen> Enumerate() {
    std::vector<Seen> seen;
    EXPECT_EQ(direct3D->EnumDevices(collect, &seen), D3D_OK);
    return seen;
  }

  IDirectDraw* directDraw = nullptr;
  IDirect3D2* direct3D = nullptr;
  std::vector<IUnknown*> owned;
};

TEST_F(Direct3DTest, EnumeratesTheSoftwareDevicesAsDirect3DDescribesThem) {
  const std::vector<Seen> seen = Enumerate();
  ASSERT_EQ(seen.size(), 3u);
  struct Expected {
    GUID guid;
    const char* name;
    const char* description;
    D3DCOLORMODEL model;
  };
  const Expected expected[] = {
      {IID_IDirect3DRampDevice, "Ramp Emulation", "Microsoft Direct3D Mono(Ramp) Software Emulation", D3DCOLOR_MONO},
      {IID_IDirect3DRGBDevice, "RGB Emulation", "Microsoft Direct3D RGB Software Emulation", D3DCOLOR_RGB},
      {IID_IDirect3DMMXDevice, "MMX Emulation", "Microsoft Direct3D MMX Software Emulation", D3DCOLOR_RGB},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_TRUE(seen[i].guid == expected[i].guid);
    EXPECT_EQ(seen[i].name, expected[i].name);
    EXPECT_EQ(seen[i].description, expected[i].description);
    // Software devices: no hardware colour model; the software one as named.
    EXPECT_EQ(seen[i].hardware.dcmColorModel, 0u);
    EXPECT_EQ(seen[i].hardware.dwSize, sizeof(D3DDEVICEDESC));
    EXPECT_EQ(seen[i].software.dcmColorModel, expected[i].model);
    EXPECT_TRUE(seen[i].software.dwDeviceZBufferBitDepth & DDBD_16);
    EXPECT_TRUE(seen[i].software.dwDeviceRenderBitDepth & DDBD_16);
  }
}

TEST_F(Direct3DTest, ReportsTheDevicesATestAsksFor) {
  std::vector<DeviceEntry> devices = SoftwareDevices();
  devices.push_back(HardwareDevice("Direct3D HAL", D3DCOLOR_MONO, DDBD_16 | DDBD_24));
  SetDevices(devices);
  std::vector<Seen> seen = Enumerate();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[3].name, "Direct3D HAL");
  EXPECT_TRUE(seen[3].guid == IID_IDirect3DHALDevice);
  EXPECT_EQ(seen[3].hardware.dcmColorModel, D3DCOLOR_MONO);
  EXPECT_EQ(seen[3].hardware.dwDeviceZBufferBitDepth, DDBD_16 | DDBD_24);
  EXPECT_EQ(seen[3].software.dcmColorModel, 0u);

  SetDevices({});
  EXPECT_TRUE(Enumerate().empty());
  ResetDevices();
  EXPECT_EQ(Enumerate().size(), 3u);
}

TEST_F(Direct3DTest, TheCallbackCanStopTheEnumeration) {
  int calls = 0;
  ASSERT_EQ(direct3D->EnumDevices(
                [](GUID*, LPSTR, LPSTR, LPD3DDEVICEDESC, LPD3DDEVICEDESC, LPVOID count) -> HRESULT {
                  ++*static_cast<int*>(count);
                  return D3DENUMRET_CANCEL;
                },
                &calls),
            D3D_OK);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(direct3D->EnumDevices(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Direct3DTest, GuidPointersStayValidAfterTheEnumeration) {
  const std::vector<Seen> seen = Enumerate();
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(*seen.back().pointer == IID_IDirect3DMMXDevice);  // ASan: still alive
}

TEST_F(Direct3DTest, CreatesTheSoftwareDevicesOnTheBackBuffer) {
  IDirectDrawSurface* back = BackBuffer();
  struct Case {
    GUID guid;
    D3DCOLORMODEL model;
  };
  for (const Case& c : {Case{IID_IDirect3DMMXDevice, D3DCOLOR_RGB}, Case{IID_IDirect3DRampDevice, D3DCOLOR_MONO},
                        Case{IID_IDirect3DRGBDevice, D3DCOLOR_RGB}}) {
    IDirect3DDevice2* device = nullptr;
    ASSERT_EQ(direct3D->CreateDevice(c.guid, back, &device), D3D_OK);
    DeviceTarget target;
    ASSERT_TRUE(TargetOf(device, target));
    EXPECT_EQ(target.renderTarget, back);
    EXPECT_TRUE(target.deviceGuid == c.guid);
    EXPECT_EQ(target.colorModel, c.model);
    void* same = nullptr;
    ASSERT_EQ(device->QueryInterface(IID_IDirect3DDevice2, &same), S_OK);
    EXPECT_EQ(same, device);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
  }
  DeviceTarget none;
  EXPECT_FALSE(TargetOf(nullptr, none));
}

TEST_F(Direct3DTest, TheDeviceKeepsItsRenderTarget) {
  IDirectDrawSurface* back = BackBuffer();
  owned.pop_back();  // released by hand below
  IDirect3DDevice2* device = nullptr;
  ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, &device), D3D_OK);
  EXPECT_EQ(back->Release(), 1u) << "the device's own reference";
  DeviceTarget target;
  ASSERT_TRUE(TargetOf(device, target));
  ddraw::SurfaceMemory* memory = ddraw::MemoryOf(target.renderTarget);
  ASSERT_NE(memory, nullptr);
  memory->pixels[memory->pitch * 9] = 7;  // ASan: still alive
  EXPECT_EQ(device->Release(), 0u);
}

TEST_F(Direct3DTest, RefusesTargetsAndDevicesItCannotRenderWith) {
  IDirectDrawSurface* back = BackBuffer();
  IDirectDrawSurface* primary = Surface(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0);
  IDirectDrawSurface* zBuffer =
      Surface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_ZBUFFERBITDEPTH, DDSCAPS_ZBUFFER, 20, 10);
  IDirectDrawSurface* plain = Surface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 20, 10);
  struct Case {
    const char* what;
    GUID guid;
    IDirectDrawSurface* target;
    HRESULT expected;
  };
  const Case cases[] = {
      {"no target", IID_IDirect3DMMXDevice, nullptr, DDERR_INVALIDPARAMS},
      {"the primary", IID_IDirect3DMMXDevice, primary, DDERR_INVALIDCAPS},
      {"a Z-buffer", IID_IDirect3DMMXDevice, zBuffer, DDERR_INVALIDCAPS},
      {"not for 3D", IID_IDirect3DMMXDevice, plain, DDERR_INVALIDCAPS},
      {"a hardware device", IID_IDirect3DHALDevice, back, DDERR_INVALIDPARAMS},
      {"an unknown device", GUID{1, 2, 3, {4}}, back, DDERR_INVALIDPARAMS},
  };
  for (const Case& c : cases) {
    IDirect3DDevice2* device = nullptr;
    EXPECT_EQ(direct3D->CreateDevice(c.guid, c.target, &device), c.expected) << c.what;
    EXPECT_EQ(device, nullptr) << c.what;
  }
  EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Direct3DTest, OnlyDevicesThatExistCanBeCreated) {
  IDirectDrawSurface* back = BackBuffer();
  // No MMX device: the layer falls back to Ramp.
  SetDevices({SoftwareDevices()[0]});
  IDirect3DDevice2* device = nullptr;
  EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, &device), DDERR_INVALIDPARAMS);
  ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DRampDevice, back, &device), D3D_OK);
  device->Release();
  SetDevices({});
  EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DRampDevice, back, &device), DDERR_INVALIDPARAMS);
}

TEST_F(Direct3DTest, ALostTargetTakesNoDevice) {
  IDirectDrawSurface* back = BackBuffer();
  ASSERT_TRUE(ddraw::MakeSurfaceLost(back));
  IDirect3DDevice2* device = nullptr;
  EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, &device), DDERR_SURFACELOST);
}

}  // namespace
}  // namespace vyn::d3d

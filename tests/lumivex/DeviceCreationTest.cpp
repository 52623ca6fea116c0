// Retained Mode device creation: the palette of 8-bit displays, the software
// device, the Z-buffer, the device settings and every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "LayerFixture.h"
#include "kernel/Kernel.h"
#include "d3d/DeviceTarget.h"
#include "d3drm/RetainedMode.h"
#include "ddraw/SurfaceMemory.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "display/offscreen/SystemPalette.h"
#include "testctl/TestControls.h"

namespace vyn::lumivex::test {
namespace {

using Strings = std::vector<std::string>;

bool IsSearchLine(const std::string& text) {
  return text.rfind("KVR:DeviceName :", 0) == 0 || text.rfind("KVR:HAL DeviceName :", 0) == 0;
}

// The texts without the device search's own lines, which depend on the
// devices that Direct3D lists.
Strings WithoutSearchLines(const Strings& texts) {
  Strings kept;
  for (const std::string& text : texts)
    if (!IsSearchLine(text)) kept.push_back(text);
  return kept;
}

// Operations of the platform's call record, in order, among `wanted`.
Strings OperationsAmong(const Strings& wanted) {
  Strings seen;
  for (const testctl::CallRecord& call : testctl::Calls())
    if (std::find(wanted.begin(), wanted.end(), call.operation) != wanted.end())
      seen.push_back(call.operation);
  return seen;
}

const Strings settingOperations = {
    "IDirect3DRMDevice::SetBufferCount",      "IDirect3DRMDevice::SetShades",
    "IDirect3DRM2::SetDefaultTextureColors",  "IDirect3DRM2::SetDefaultTextureShades",
    "IDirect3DRMDevice::SetQuality",          "IDirect3DRMDevice::SetDither",
    "IDirect3DRMDevice::SetTextureQuality",
};

GUID DeviceKind(LPDIRECT3DDEVICE2 device) {
  d3d::DeviceTarget target;
  EXPECT_TRUE(d3d::TargetOf(device, target));
  return target.deviceGuid;
}

class DeviceCreationTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    ASSERT_EQ(SetUpSurfaces(), 1);
    StartRecord();
  }
};

TEST_F(DeviceCreationTest, TrueColourDisplaysGetTheMmxDeviceAndTheGouraudSettings) {
  for (int bits : {16, 24, 32}) {
    SCOPED_TRACE(bits);
    RestartOnDisplay(640, 480, bits);
    ASSERT_EQ(SetUpSurfaces(), 1);
    StartRecord();

    EXPECT_EQ(CreateD3DRM(), 1);

    const RenderContext& c = renderContext;
    EXPECT_EQ(WithoutSearchLines(texts),
              (Strings{"KVR:CreateD3DRM\n", "KVR:DeviceGuid 0\n",
                       "KVR:Created Direct3DDevice with MMX(HEL)\n"}));
    EXPECT_EQ(c.palette, nullptr);
    EXPECT_TRUE(testctl::CallsOf("IDirectDraw::CreatePalette").empty());
    EXPECT_EQ(c.retainedModeV1, nullptr);
    ASSERT_NE(c.retainedMode, nullptr);
    ASSERT_NE(c.direct3D, nullptr);
    ASSERT_NE(c.device, nullptr);
    ASSERT_NE(c.retainedModeDevice, nullptr);
    EXPECT_TRUE(DeviceKind(c.device) == IID_IDirect3DMMXDevice);
    EXPECT_EQ(testctl::CallsOf("IDirect3D2::CreateDevice").size(), 1u) << "Ramp was tried";

    EXPECT_EQ(OperationsAmong(settingOperations), settingOperations);
    IDirect3DRMDevice2* device = c.retainedModeDevice;
    EXPECT_EQ(device->GetBufferCount(), 2u);
    EXPECT_EQ(device->GetShades(), 32u);
    EXPECT_EQ(device->GetQuality(), D3DRMRENDER_GOURAUD);
    EXPECT_EQ(device->GetDither(), FALSE);
    EXPECT_EQ(device->GetTextureQuality(), D3DRMTEXTURE_LINEAR);
    auto* retainedMode = static_cast<d3drm::RetainedMode*>(c.retainedMode);
    EXPECT_EQ(retainedMode->defaultTextureColors(), 64u);
    EXPECT_EQ(retainedMode->defaultTextureShades(), 32u);
  }
}

TEST_F(DeviceCreationTest, TheZBufferIsSixteenBitsOfTheBackBuffersSizeAndAttached) {
  ASSERT_EQ(CreateD3DRM(), 1);
  const RenderContext& c = renderContext;
  ASSERT_NE(c.zBuffer, nullptr);
  EXPECT_EQ(ddraw::AttachedZBuffer(c.backBuffer), c.zBuffer);
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  ASSERT_EQ(c.zBuffer->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(description.dwWidth, 640u);
  EXPECT_EQ(description.dwHeight, 480u);
  EXPECT_EQ(description.dwZBufferBitDepth, 16u);
  const DWORD caps = DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
  EXPECT_EQ(description.ddsCaps.dwCaps & caps, caps);
}

TEST_F(DeviceCreationTest, TheRampDeviceIsMadeWhenTheMmxDeviceCannotBe) {
  testctl::FailCall("IDirect3D2::CreateDevice", 1, DDERR_GENERIC);
  EXPECT_EQ(CreateD3DRM(), 1);
  EXPECT_EQ(WithoutSearchLines(texts),
            (Strings{"KVR:CreateD3DRM\n", "KVR:DeviceGuid 0\n",
                     "KVR:Created Direct3DDevice with RAMP(HEL)\n"}));
  ASSERT_NE(renderContext.device, nullptr);
  EXPECT_TRUE(DeviceKind(renderContext.device) == IID_IDirect3DRampDevice);
  EXPECT_NE(renderContext.retainedModeDevice, nullptr);
  EXPECT_TRUE(cleanups.empty());
}

class PalettizedDeviceTest : public DeviceCreationTest {
 protected:
  void SetUp() override {
    displayBits = 8;
    DeviceCreationTest::SetUp();
  }
};

TEST_F(PalettizedDeviceTest, FlagsTheSystemPaletteAndSetsItOnBothSurfaces) {
  ASSERT_EQ(CreateD3DRM(), 1);
  const RenderContext& c = renderContext;
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], "KVR:CreateD3DRM\n");
  EXPECT_EQ(texts[1], "KVR:palettized \n");

  PALETTEENTRY system[256];
  display::FillDefaultSystemPalette(system);
  for (int i = 0; i < 256; ++i) {
    const BYTE expectedFlags = (i <= 9 || i >= 246) ? D3DPAL_READONLY : PC_RESERVED;
    EXPECT_EQ(c.paletteEntries[i].peFlags, expectedFlags) << "entry " << i;
    EXPECT_EQ(c.paletteEntries[i].peRed, system[i].peRed) << "entry " << i;
    EXPECT_EQ(c.paletteEntries[i].peGreen, system[i].peGreen) << "entry " << i;
    EXPECT_EQ(c.paletteEntries[i].peBlue, system[i].peBlue) << "entry " << i;
  }

  ASSERT_NE(c.palette, nullptr);
  PALETTEENTRY made[256];
  ASSERT_EQ(c.palette->GetEntries(0, 0, 256, made), DD_OK);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(made[i].peRed, c.paletteEntries[i].peRed) << "entry " << i;
    EXPECT_EQ(made[i].peBlue, c.paletteEntries[i].peBlue) << "entry " << i;
  }
  const auto setPalette = testctl::CallsOf("IDirectDrawSurface::SetPalette");
  ASSERT_EQ(setPalette.size(), 2u);
  EXPECT_EQ(setPalette[0].object, c.backBuffer);
  EXPECT_EQ(setPalette[1].object, c.primarySurface);
  EXPECT_EQ(ddraw::MemoryOf(c.backBuffer)->palette != nullptr, true);
}

TEST_F(PalettizedDeviceTest, AppliesTheEightBitSettingsInTheirOrder) {
  ASSERT_EQ(CreateD3DRM(), 1);
  EXPECT_EQ(OperationsAmong(settingOperations),
            (Strings{"IDirect3DRMDevice::SetBufferCount", "IDirect3DRMDevice::SetDither",
                     "IDirect3DRMDevice::SetQuality", "IDirect3DRMDevice::SetTextureQuality",
                     "IDirect3DRMDevice::SetShades"}));
  IDirect3DRMDevice2* device = renderContext.retainedModeDevice;
  EXPECT_EQ(device->GetBufferCount(), 2u);
  EXPECT_EQ(device->GetShades(), 8u);
  EXPECT_EQ(device->GetQuality(), D3DRMRENDER_FLAT);
  EXPECT_EQ(device->GetDither(), FALSE);
  EXPECT_EQ(device->GetTextureQuality(), D3DRMTEXTURE_NEAREST);
}

struct DeviceFailure {
  const char* what;
  const char* operation;
  int nth;
  HRESULT code;
  Strings texts;  // without the device search's lines; "<RM report>" marks the report
  Strings heldAtCleanup;
};

const char* const failCreateLine = "KVR:Error:Fail to Direct3D create \n ";

const DeviceFailure deviceFailures[] = {
    {"Direct3DRMCreate fails", "Direct3DRMCreate", 1, D3DRMERR_BADALLOC,
     {"KVR:CreateD3DRM\n", cleanupLine},
     {"backBuffer", "clipper", "primarySurface", "directDraw"}},
    {"the query for IDirect3DRM2 fails", "IDirect3DRM::QueryInterface", 1, E_NOINTERFACE,
     {"KVR:CreateD3DRM\n", cleanupLine},
     {"backBuffer", "clipper", "primarySurface", "directDraw"}},
    {"the query for IDirect3D2 fails", "IDirectDraw::QueryInterface", 1, E_NOINTERFACE,
     {"KVR:CreateD3DRM\n", "KVR:Error:Failed to QI Direct3D2 from DirectDraw\n", cleanupLine,
      failCreateLine},
     {"retainedMode", "backBuffer", "clipper", "primarySurface"}},
    {"the Z-buffer attachment fails", "IDirectDrawSurface::AddAttachedSurface", 1,
     MakeDDHResult(10),
     {"KVR:CreateD3DRM\n", "KVR:DeviceGuid 0\n", cleanupLine, failCreateLine},
     {"zBuffer", "retainedMode", "direct3D", "backBuffer", "clipper", "primarySurface",
      "directDraw"}},
    {"CreateDeviceFromD3D fails", "IDirect3DRM2::CreateDeviceFromD3D", 1, D3DRMERR_BADDEVICE,
     {"KVR:CreateD3DRM\n", "KVR:DeviceGuid 0\n", "KVR:Created Direct3DDevice with MMX(HEL)\n",
      "<RM report>", cleanupLine},
     {"device", "zBuffer", "retainedMode", "direct3D", "backBuffer", "clipper",
      "primarySurface", "directDraw"}},
};

TEST_F(DeviceCreationTest, EveryFailureCleansUpAndAnswersZero) {
  for (const DeviceFailure& failure : deviceFailures) {
    SCOPED_TRACE(failure.what);
    ASSERT_EQ(SetUpSurfaces(), 1);
    StartRecord();
    testctl::FailCall(failure.operation, failure.nth, failure.code);

    EXPECT_EQ(CreateD3DRM(), 0);

    Strings seen = WithoutSearchLines(texts);
    ASSERT_EQ(seen.size(), failure.texts.size());
    for (size_t i = 0; i < seen.size(); ++i) {
      if (failure.texts[i] == "<RM report>")
        ExpectReportAt(seen[i], "Direct3D-RM Error : ", "D3DRMERR_BADDEVICE", "DeviceCreation.cpp");
      else
        EXPECT_EQ(seen[i], failure.texts[i]) << "text " << i;
    }
    ASSERT_EQ(cleanups.size(), 1u);
    EXPECT_EQ(HeldAtCleanup(0), failure.heldAtCleanup);
    ExpectCleanupReleasedAll(0);
    ExpectNothingHeld();
    testctl::Reset();
  }
}

TEST_F(DeviceCreationTest, AFailedDirect3DQueryGivesUpTheDirectDrawObjectOnce) {
  LPDIRECTDRAW directDraw = renderContext.directDraw;
  testctl::FailCall("IDirectDraw::QueryInterface", 1, E_NOINTERFACE);
  EXPECT_EQ(CreateD3DRM(), 0);
  const auto released = testctl::CallsOf("Release");
  EXPECT_EQ(std::count_if(released.begin(), released.end(),
                          [&](const testctl::CallRecord& r) { return r.object == directDraw; }),
            1);
  ExpectNothingHeld();
}

TEST_F(DeviceCreationTest, WithoutSurfacesNothingIsDereferenced) {
  for (int bits : {16, 8}) {
    SCOPED_TRACE(bits);
    RestartOnDisplay(640, 480, bits);
    ASSERT_EQ(SetUpSurfaces(), 1);
    Cleanup();
    StartRecord();
    EXPECT_EQ(CreateD3DRM(), 0);
    Strings expected{"KVR:CreateD3DRM\n"};
    if (bits == 8) expected.push_back("KVR:palettized \n");
    for (const char* text : {"KVR:Error:Failed to QI Direct3D2 from DirectDraw\n", cleanupLine,
                             failCreateLine})
      expected.push_back(text);
    EXPECT_EQ(texts, expected);
    ExpectNothingHeld();
  }
}

// --- Neither software device: the process ends --------------------------------

void ReportHeldAtExit() {
  const RenderContext& c = renderContext;
  const void* fields[] = {c.directDraw, c.direct3D,  c.retainedMode, c.retainedModeV1,
                          c.primarySurface, c.backBuffer, c.zBuffer,  c.palette,
                          c.clipper,    c.device,    c.retainedModeDevice, c.viewport};
  const auto held = std::count_if(std::begin(fields), std::end(fields),
                                  [](const void* field) { return field != nullptr; });
  std::fprintf(stderr, "held at exit: %d\n", static_cast<int>(held));
}

// In the child: the debugger text goes to standard error, where the death
// test reads it, and what the context still holds is printed as it exits.
void WatchTheExit() {
  kernel::SetDebugSink({});
  setenv("VYN_DEBUG", "1", 1);
  std::atexit(ReportHeldAtExit);
}

const char* const endOfTheSaver =
    "KVR:DeviceGuid 0\n"
    "KVR:Created Direct3DDevice with RAMP\\(HEL\\)\n"
    "KVR:Failed to Create Direct3DDevice!\n"
    "KVR:Lumivex Cleanup\n"
    "held at exit: 0\n$";

using DeviceCreationDeathTest = DeviceCreationTest;

TEST_F(DeviceCreationDeathTest, CreateD3DRMEndsTheProcessWhenNeitherDeviceCanBeMade) {
  testctl::FailCall("IDirect3D2::CreateDevice", 1, DDERR_GENERIC, 2);
  EXPECT_EXIT(
      {
        WatchTheExit();
        CreateD3DRM();
        std::fprintf(stderr, "returned\n");
      },
      ::testing::ExitedWithCode(1), std::string("^KVR:CreateD3DRM\n(.*\n)?") + endOfTheSaver);
}

TEST_F(DeviceCreationDeathTest, CreateD3DDeviceEndsTheProcessWhenNeitherDeviceCanBeMade) {
  testctl::FailCall("IDirect3D2::CreateDevice", 1, D3DRMERR_BADDEVICE, 2);
  EXPECT_EXIT(
      {
        WatchTheExit();
        CreateD3DDevice(D3DCOLOR_MONO);
        std::fprintf(stderr, "returned\n");
      },
      ::testing::ExitedWithCode(1), std::string("^(.*\n)?") + endOfTheSaver);
}

}  // namespace
}  // namespace vyn::lumivex::test

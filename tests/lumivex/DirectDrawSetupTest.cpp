// Windowed DirectDraw set-up: geometry, colour depth, the surfaces and every
// failing call.
#include <gtest/gtest.h>

#include <set>

#include "LayerFixture.h"
#include "testctl/TestControls.h"

namespace vyn::lumivex::test {
namespace {

using Strings = std::vector<std::string>;
using DirectDrawSetupTest = LayerTest;

DDSURFACEDESC DescriptionOf(LPDIRECTDRAWSURFACE surface) {
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  EXPECT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
  return description;
}

TEST_F(DirectDrawSetupTest, AFullScreenWindowGivesTheScreensRectangleAndBackBuffer) {
  EXPECT_EQ(SetUpSurfaces(), 1);

  const RenderContext& c = renderContext;
  EXPECT_EQ(texts, (Strings{"KVR:CreateDirectDrawWin\n", cleanupLine}));
  EXPECT_EQ(Describe(c.windowRect), "(0, 0)-(640, 480)");
  EXPECT_EQ(c.width, 640);
  EXPECT_EQ(c.height, 480);
  EXPECT_EQ(c.bitsPerPixel, 16);
  EXPECT_EQ(c.colorModel, D3DCOLOR_MONO);
  ASSERT_NE(c.directDraw, nullptr);
  ASSERT_NE(c.primarySurface, nullptr);
  ASSERT_NE(c.backBuffer, nullptr);
  ASSERT_NE(c.clipper, nullptr);

  const DDSURFACEDESC back = DescriptionOf(c.backBuffer);
  EXPECT_EQ(back.dwWidth, 640u);
  EXPECT_EQ(back.dwHeight, 480u);
  const DWORD backCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
  EXPECT_EQ(back.ddsCaps.dwCaps & backCaps, backCaps);
  EXPECT_NE(DescriptionOf(c.primarySurface).ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE, 0u);
  HWND bound = nullptr;
  EXPECT_EQ(c.clipper->GetHWnd(&bound), DD_OK);
  EXPECT_EQ(bound, window);
  EXPECT_EQ(c.active, 0);
}

TEST_F(DirectDrawSetupTest, AMovedClientAreaMovesTheRectangle) {
  UseDisplay(1024, 768, 32);
  OpenWindow(100, 50, 300, 200);
  EXPECT_EQ(SetUpSurfaces(), 1);

  const RenderContext& c = renderContext;
  EXPECT_EQ(Describe(c.windowRect), "(100, 50)-(400, 250)");
  EXPECT_EQ(c.width, 300);
  EXPECT_EQ(c.height, 200);
  EXPECT_EQ(c.bitsPerPixel, 32);
  const DDSURFACEDESC back = DescriptionOf(c.backBuffer);
  EXPECT_EQ(back.dwWidth, 300u);
  EXPECT_EQ(back.dwHeight, 200u);
}

TEST_F(DirectDrawSetupTest, RecordsTheDisplaysColourDepth) {
  for (int bits : {8, 16, 24, 32}) {
    RestartOnDisplay(320, 200, bits);
    EXPECT_EQ(SetUpSurfaces(), 1) << bits;
    EXPECT_EQ(renderContext.bitsPerPixel, bits);
  }
}

TEST_F(DirectDrawSetupTest, ReleasesWhatAnEarlierSetUpLeftBeforeStarting) {
  ASSERT_EQ(SetUpSurfaces(), 1);
  StartRecord();
  EXPECT_EQ(CreateDirectDrawWin(window), 1);
  EXPECT_EQ(HeldAtCleanup(0), (Strings{"backBuffer", "clipper", "primarySurface", "directDraw"}));
  ExpectCleanupReleasedAll(0);
}

struct SetUpFailure {
  const char* operation;
  int nth;
  HRESULT code;
  const char* name;
  Strings heldAtCleanup;  // in Cleanup's order
};

const SetUpFailure setUpFailures[] = {
    {"DirectDrawCreate", 1, MakeDDHResult(563), "DDERR_NODIRECTDRAWHW", {}},
    {"IDirectDraw::SetCooperativeLevel", 1, MakeDDHResult(571), "DDERR_HWNDALREADYSET",
     {"directDraw"}},
    {"IDirectDraw::CreateSurface", 1, MakeDDHResult(564), "DDERR_PRIMARYSURFACEALREADYEXISTS",
     {"directDraw"}},
    {"IDirectDraw::CreateSurface", 2, E_OUTOFMEMORY, "DDERR_OUTOFMEMORY",
     {"primarySurface", "directDraw"}},
    {"IDirectDraw::CreateClipper", 1, E_FAIL, "DDERR_GENERIC",
     {"backBuffer", "primarySurface", "directDraw"}},
    {"IDirectDrawClipper::SetHWnd", 1, MakeDDHResult(567), "DDERR_CLIPPERISUSINGHWND",
     {"backBuffer", "clipper", "primarySurface", "directDraw"}},
    {"IDirectDrawSurface::SetClipper", 1, DDERR_NOCLIPPERATTACHED, "DDERR_NOCLIPPERATTACHED",
     {"backBuffer", "clipper", "primarySurface", "directDraw"}},
};

TEST_F(DirectDrawSetupTest, EveryFailingCallIsReportedAndLeavesNothingHeld) {
  UseDisplay(800, 600, 24);
  OpenWindow(10, 20, 400, 300);
  std::set<int> reportedLines;
  for (const SetUpFailure& failure : setUpFailures) {
    SCOPED_TRACE(std::string(failure.operation) + " #" + std::to_string(failure.nth));
    Initialize();
    StartRecord();
    testctl::FailCall(failure.operation, failure.nth, failure.code);

    EXPECT_EQ(CreateDirectDrawWin(window), 0);

    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "KVR:CreateDirectDrawWin\n");
    EXPECT_EQ(texts[1], cleanupLine);
    reportedLines.insert(
        ExpectReportAt(texts[2], "DirectDraw Error ", failure.name, "DirectDrawSetup.cpp"));
    EXPECT_EQ(texts[3], cleanupLine);
    EXPECT_EQ(HeldAtCleanup(1), failure.heldAtCleanup);
    ExpectCleanupReleasedAll(1);
    ExpectNothingHeld();
    // The geometry and depth computed before the failure stay.
    EXPECT_EQ(renderContext.windowRect.left, 10);
    EXPECT_EQ(renderContext.windowRect.bottom, 320);
    EXPECT_EQ(renderContext.width, 400);
    EXPECT_EQ(renderContext.height, 300);
    EXPECT_EQ(renderContext.bitsPerPixel, 24);
    testctl::Reset();
  }
  // Each failing call is reported from its own line.
  EXPECT_EQ(reportedLines.size(), std::size(setUpFailures));
}

}  // namespace
}  // namespace vyn::lumivex::test

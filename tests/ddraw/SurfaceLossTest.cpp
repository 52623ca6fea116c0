#include "DirectDrawFixture.h"

namespace vyn::ddraw::test {
namespace {

class SurfaceLossTest : public DirectDrawFixture {
 protected:
  void SetUp() override {
    UseScreen(32, 24, 32);
    window = CreateTestWindow(0, 0, 32, 24);
    primary = Own(CreatePrimary());
    back = Own(CreateBackBuffer(32, 24));
    zBuffer = Own(CreateZBuffer(32, 24));
    ClipTo(primary, window);
    Number(back);
  }

  HRESULT Present() {
    RECT destination{0, 0, 32, 24};
    RECT source{0, 0, 32, 24};
    return primary->Blt(&destination, back, &source, DDBLT_WAIT, nullptr);
  }

  HWND window = nullptr;
  IDirectDrawSurface* primary = nullptr;
  IDirectDrawSurface* back = nullptr;
  IDirectDrawSurface* zBuffer = nullptr;
};

TEST_F(SurfaceLossTest, ThePrimaryIsLostWhenTheDisplaySaysSoUntilRestored) {
  EXPECT_EQ(primary->IsLost(), DD_OK);
  screen->loseSurfaces();
  EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(back->IsLost(), DD_OK) << "system memory stays";
  EXPECT_EQ(zBuffer->IsLost(), DD_OK);
  EXPECT_EQ(Present(), DDERR_SURFACELOST);
  EXPECT_EQ(screen->presentCount(), 0);
  EXPECT_EQ(screen->pixel(3, 3), 0u);

  ASSERT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(primary->IsLost(), DD_OK);
  ASSERT_EQ(Present(), DD_OK);
  EXPECT_EQ(screen->pixel(3, 3), NumberAt(3, 3));
}

TEST_F(SurfaceLossTest, AnySurfaceCanBeMadeLost) {
  ASSERT_TRUE(MakeSurfaceLost(zBuffer));
  EXPECT_EQ(zBuffer->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(primary->IsLost(), DD_OK);
  ASSERT_EQ(zBuffer->Restore(), DD_OK);
  EXPECT_EQ(zBuffer->IsLost(), DD_OK);

  ASSERT_TRUE(MakeSurfaceLost(back));
  EXPECT_EQ(Present(), DDERR_SURFACELOST) << "a lost source fails the blit too";
  ASSERT_EQ(back->Restore(), DD_OK);
  EXPECT_EQ(Present(), DD_OK);
  EXPECT_EQ(screen->pixel(31, 23), NumberAt(31, 23)) << "memory kept through the loss";

  EXPECT_FALSE(MakeSurfaceLost(nullptr));
}

TEST_F(SurfaceLossTest, ALossAfterRestoreIsSeenAgain) {
  screen->loseSurfaces();
  ASSERT_EQ(primary->Restore(), DD_OK);
  screen->loseSurfaces();
  EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
}

TEST_F(SurfaceLossTest, AFailedRestoreLeavesTheSurfaceLost) {
  screen->loseSurfaces();
  testctl::FailCall("IDirectDrawSurface::Restore", 1, DDERR_SURFACELOST);
  EXPECT_EQ(primary->Restore(), DDERR_SURFACELOST);
  EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(primary->IsLost(), DD_OK);
}

class ClipperTest : public DirectDrawFixture {};

TEST_F(ClipperTest, FollowsItsWindowAndRefusesMisuse) {
  UseScreen(32, 24, 32);
  HWND window = CreateTestWindow(0, 0, 8, 8);
  IDirectDrawClipper* clipper = nullptr;
  EXPECT_EQ(directDraw->CreateClipper(1, &clipper, nullptr), DDERR_INVALIDPARAMS);
  ASSERT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
  Own(clipper);
  EXPECT_EQ(clipper->SetHWnd(1, window), DDERR_INVALIDPARAMS);
  HWND bound = reinterpret_cast<HWND>(1);
  ASSERT_EQ(clipper->GetHWnd(&bound), DD_OK);
  EXPECT_EQ(bound, nullptr);

  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(8, 8));
  Number(back);
  ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
  RECT destination{0, 0, 8, 8};
  EXPECT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DDERR_NOCLIPLIST)
      << "a clipper with no window";

  ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
  ASSERT_EQ(clipper->GetHWnd(&bound), DD_OK);
  EXPECT_EQ(bound, window);
  // The window moves: the blit follows the window, not the rectangle given.
  ASSERT_TRUE(screen != nullptr);
  RECT destinationAt16{16, 16, 24, 24};
  const auto windows = screen->windows();
  ASSERT_EQ(windows.size(), 1u);
  screen->moveWindow(windows[0], RECT{16, 16, 24, 24});
  EXPECT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(screen->pixel(0, 0), 0u) << "outside the window now";
  EXPECT_EQ(primary->Blt(&destinationAt16, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(screen->pixel(16, 16), NumberAt(0, 0));

  // A destroyed window shows nothing; the blit itself succeeds.
  DestroyWindow(window);
  const int frames = screen->presentCount();
  EXPECT_EQ(primary->Blt(&destinationAt16, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(screen->presentCount(), frames + 1);
  EXPECT_TRUE(screen->lastPresentRect().right <= screen->lastPresentRect().left);
}

TEST(PaletteRulesTest, PalettesGoOnlyOnEightBitSurfaces) {
  struct Case {
    int bits;
    HRESULT expected;
  };
  for (const Case& c : {Case{8, DD_OK}, Case{16, DDERR_NOTPALETTIZED}, Case{32, DDERR_NOTPALETTIZED}}) {
    display::UseOffscreenDisplay(16, 16, c.bits);
    IDirectDraw* directDraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    PALETTEENTRY entries[256] = {};
    IDirectDrawPalette* palette = nullptr;
    EXPECT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->CreatePalette(DDPCAPS_4BIT, entries, &palette, nullptr), DDERR_UNSUPPORTED);
    ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE, entries, &palette, nullptr), DD_OK);
    DDSURFACEDESC description{};
    description.dwSize = DDSURFACEDESC_SIZE_WIN32;
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* primary = nullptr;
    ASSERT_EQ(directDraw->CreateSurface(&description, &primary, nullptr), DD_OK);
    EXPECT_EQ(primary->SetPalette(palette), c.expected) << c.bits;
    PALETTEENTRY read[4];
    EXPECT_EQ(palette->GetEntries(0, 254, 4, read), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->GetEntries(0, 252, 4, read), DD_OK);
    primary->Release();
    palette->Release();
    directDraw->Release();
  }
}

}  // namespace
}  // namespace vyn::ddraw::test

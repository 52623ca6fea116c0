#include "DirectDrawFixture.h"

namespace vyn::ddraw::test {
namespace {

class SurfaceCreationTest : public DirectDrawFixture {};

struct DepthCase {
  int bits;
  DWORD flags;
  DWORD red, green, blue;
};

class SurfaceFormatTest : public DirectDrawFixture, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(SurfaceFormatTest, SurfacesTakeTheScreensFormat) {
  const DepthCase& c = GetParam();
  UseScreen(64, 48, c.bits);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(10, 7));
  for (IDirectDrawSurface* surface : {primary, back}) {
    DDSURFACEDESC description{};
    description.dwSize = DDSURFACEDESC_SIZE_WIN32;
    ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwSize, DDSURFACEDESC_SIZE_WIN32) << "dwSize is kept";
    EXPECT_EQ(description.ddpfPixelFormat.dwFlags, c.flags);
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, DWORD(c.bits));
    EXPECT_EQ(description.ddpfPixelFormat.dwRBitMask, c.red);
    EXPECT_EQ(description.ddpfPixelFormat.dwGBitMask, c.green);
    EXPECT_EQ(description.ddpfPixelFormat.dwBBitMask, c.blue);
  }
  SurfaceMemory* memory = MemoryOf(back);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(memory->format.bitsPerPixel, c.bits);
  EXPECT_GE(memory->pitch, 10 * c.bits / 8);
  EXPECT_EQ(memory->pitch % 4, 0);
  // The whole memory is there and writable (ASan watches the last byte).
  memory->pixels[memory->pitch * 6 + 10 * c.bits / 8 - 1] = 0xAB;

  PALETTEENTRY entries[256];
  EXPECT_EQ(screen->systemPalette(entries), c.bits == 8);
}

INSTANTIATE_TEST_SUITE_P(Depths, SurfaceFormatTest,
                         ::testing::Values(DepthCase{8, DDPF_RGB | DDPF_PALETTEINDEXED8, 0, 0, 0},
                                           DepthCase{16, DDPF_RGB, 0xF800, 0x07E0, 0x001F},
                                           DepthCase{24, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF},
                                           DepthCase{32, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF}),
                         [](const auto& info) { return std::to_string(info.param.bits) + "bits"; });

TEST_F(SurfaceCreationTest, PrimaryIsTheScreenAndHasNoMemoryOfOurs) {
  UseScreen(64, 48, 32);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  ASSERT_NE(primary, nullptr);
  DDSURFACEDESC description{};
  description.dwSize = sizeof(DDSURFACEDESC);
  ASSERT_EQ(primary->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(description.dwWidth, 64u);
  EXPECT_EQ(description.dwHeight, 48u);
  EXPECT_TRUE(description.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
  EXPECT_EQ(MemoryOf(primary), nullptr);
  DDSURFACEDESC locked{};
  locked.dwSize = DDSURFACEDESC_SIZE_WIN32;
  EXPECT_EQ(primary->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DDERR_CANTLOCKSURFACE);
}

TEST_F(SurfaceCreationTest, BackBufferAndZBufferAsTheRenderingLayerAsksForThem) {
  UseScreen(64, 48, 16);
  IDirectDrawSurface* back = Own(CreateBackBuffer(33, 17));
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  ASSERT_EQ(back->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(description.dwWidth, 33u);
  EXPECT_EQ(description.dwHeight, 17u);
  EXPECT_EQ(description.ddsCaps.dwCaps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_3DDEVICE),
            DDSCAPS_SYSTEMMEMORY | DDSCAPS_3DDEVICE);
  EXPECT_EQ(description.lPitch, MemoryOf(back)->pitch);

  // The Z-buffer description is built from the back buffer's, as the layer does.
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_ZBUFFERBITDEPTH;
  description.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
  description.dwZBufferBitDepth = 16;
  IDirectDrawSurface* zBuffer = Own(Create(description));
  SurfaceMemory* depth = MemoryOf(zBuffer);
  ASSERT_NE(depth, nullptr);
  EXPECT_TRUE(depth->isZBuffer);
  EXPECT_EQ(depth->format.bitsPerPixel, 16);
  EXPECT_EQ(depth->width, 33);
  EXPECT_EQ(depth->height, 17);
  EXPECT_GE(depth->pitch, 66);
}

TEST_F(SurfaceCreationTest, NewMemoryIsZeroed) {
  UseScreen(16, 16, 32);
  SurfaceMemory* memory = MemoryOf(Own(CreateBackBuffer(5, 5)));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(Get(*memory, x, y), 0u);
}

struct BadDescription {
  const char* what;
  DDSURFACEDESC description;
  HRESULT expected;
};

DDSURFACEDESC describe(DWORD size, DWORD flags, DWORD caps, DWORD width, DWORD height, DWORD zDepth = 0) {
  DDSURFACEDESC d = DirectDrawFixture::Description(flags, caps, width, height);
  d.dwSize = size;
  d.dwZBufferBitDepth = zDepth;
  return d;
}

TEST_F(SurfaceCreationTest, RefusesDescriptionsItCannotMake) {
  UseScreen(64, 48, 32);
  constexpr DWORD sized = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  constexpr DWORD plain = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  const BadDescription cases[] = {
      {"dwSize of neither layout", describe(100, sized, plain, 8, 8), DDERR_INVALIDPARAMS},
      {"dwSize zero", describe(0, sized, plain, 8, 8), DDERR_INVALIDPARAMS},
      {"no caps flag", describe(108, DDSD_WIDTH | DDSD_HEIGHT, plain, 8, 8), DDERR_INVALIDPARAMS},
      {"no size", describe(108, DDSD_CAPS, plain, 0, 0), DDERR_INVALIDPARAMS},
      {"zero width", describe(108, sized, plain, 0, 8), DDERR_INVALIDPARAMS},
      {"huge", describe(108, sized, plain, 100000, 100000), DDERR_TOOBIGSIZE},
      {"primary with a size", describe(108, sized, DDSCAPS_PRIMARYSURFACE, 8, 8), DDERR_INVALIDPARAMS},
      {"flipping chain", describe(108, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, 0),
       DDERR_INVALIDCAPS},
      {"Z-buffer of 32 bits", describe(108, sized | DDSD_ZBUFFERBITDEPTH, DDSCAPS_ZBUFFER, 8, 8, 32),
       DDERR_INVALIDPIXELFORMAT},
      {"Z-buffer without depth", describe(108, sized, DDSCAPS_ZBUFFER, 8, 8), DDERR_INVALIDPIXELFORMAT},
  };
  for (const BadDescription& c : cases) {
    DDSURFACEDESC description = c.description;
    IDirectDrawSurface* surface = reinterpret_cast<IDirectDrawSurface*>(&description);
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), c.expected) << c.what;
    EXPECT_EQ(surface, nullptr) << c.what;
  }
}

TEST_F(SurfaceCreationTest, RefusesAPixelFormatOtherThanTheScreens) {
  UseScreen(64, 48, 32);
  DDSURFACEDESC description =
      Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT, DDSCAPS_OFFSCREENPLAIN, 8, 8);
  description.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, 0xF800, 0x07E0, 0x001F, 0};
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
  description.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {32}, 0xFF0000, 0xFF00, 0xFF, 0};
  ASSERT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DD_OK);
  surface->Release();
}

TEST_F(SurfaceCreationTest, RefusesMissingPointersAndAggregation) {
  UseScreen(64, 48, 32);
  DDSURFACEDESC description = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(nullptr, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(directDraw->CreateSurface(&description, nullptr, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, directDraw), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface, nullptr);
}

TEST_F(SurfaceCreationTest, DirectDrawCreateKnowsOnlyTheDisplayDriver) {
  UseScreen(64, 48, 32);
  IDirectDraw* other = nullptr;
  GUID driver{1, 2, 3, {4}};
  EXPECT_EQ(DirectDrawCreate(&driver, &other, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceCreationTest, CooperativeLevelIsWindowedOnly) {
  UseScreen(64, 48, 32);
  EXPECT_EQ(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  EXPECT_EQ(directDraw->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_UNSUPPORTED);
  EXPECT_EQ(directDraw->SetCooperativeLevel(nullptr, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceCreationTest, LockGivesTheMemoryAtTheRectangle) {
  UseScreen(64, 48, 32);
  IDirectDrawSurface* back = Own(CreateBackBuffer(8, 8));
  SurfaceMemory* memory = MemoryOf(back);
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  RECT area{2, 3, 4, 5};
  ASSERT_EQ(back->Lock(&area, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(description.lpSurface, memory->pixels + 3 * memory->pitch + 2 * 4);
  EXPECT_EQ(description.lPitch, memory->pitch);
  EXPECT_EQ(back->Unlock(nullptr), DD_OK);
  EXPECT_EQ(back->Unlock(nullptr), DDERR_NOTLOCKED);
  RECT outside{6, 6, 9, 8};
  EXPECT_EQ(back->Lock(&outside, &description, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
}

}  // namespace
}  // namespace vyn::ddraw::test

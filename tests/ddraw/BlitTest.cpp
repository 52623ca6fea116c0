#include "DirectDrawFixture.h"

namespace vyn::ddraw::test {
namespace {

class BlitTest : public DirectDrawFixture {
 protected:
  // The rendering layer's present: the whole back buffer onto the window's
  // client area in screen coordinates.
  HRESULT Present(IDirectDrawSurface* primary, IDirectDrawSurface* back, RECT destination) {
    const SurfaceMemory* memory = MemoryOf(back);
    RECT source{0, 0, memory->width, memory->height};
    return primary->Blt(&destination, back, &source, DDBLT_WAIT, nullptr);
  }

  // Every screen pixel is the back buffer's at (x - dx, y - dy) inside
  // `visible`, and black outside it.
  void ExpectScreen(const RECT& visible, int dx, int dy, std::uint32_t salt = 0) {
    for (int y = 0; y < screen->height(); ++y)
      for (int x = 0; x < screen->width(); ++x) {
        const bool inside = x >= visible.left && x < visible.right && y >= visible.top && y < visible.bottom;
        const std::uint32_t expected = inside ? NumberAt(x - dx, y - dy, salt) : 0;
        ASSERT_EQ(screen->pixel(x, y), expected) << "at " << x << "," << y;
      }
  }
};

TEST_F(BlitTest, PutsTheExactPixelsIntoTheWindowsRectangle) {
  UseScreen(64, 48, 32);
  HWND window = CreateTestWindow(10, 5, 20, 12);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(20, 12));
  ClipTo(primary, window);
  Number(back);
  ASSERT_EQ(Present(primary, back, RECT{10, 5, 30, 17}), DD_OK);
  ExpectScreen(RECT{10, 5, 30, 17}, 10, 5);
  EXPECT_EQ(screen->presentCount(), 1);
}

TEST_F(BlitTest, ClipsToTheScreenWhenTheWindowHangsOver) {
  UseScreen(64, 48, 32);
  HWND window = CreateTestWindow(-6, 40, 20, 12);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(20, 12));
  ClipTo(primary, window);
  Number(back);
  ASSERT_EQ(Present(primary, back, RECT{-6, 40, 14, 52}), DD_OK);
  ExpectScreen(RECT{0, 40, 14, 48}, -6, 40);
}

TEST_F(BlitTest, ClipsToTheWindowItIsBoundTo) {
  UseScreen(64, 48, 32);
  HWND window = CreateTestWindow(0, 0, 10, 10);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(20, 20));
  ClipTo(primary, window);
  Number(back);
  ASSERT_EQ(Present(primary, back, RECT{0, 0, 20, 20}), DD_OK);
  ExpectScreen(RECT{0, 0, 10, 10}, 0, 0);
}

TEST_F(BlitTest, WorksAtEveryDepth) {
  for (int bits : {8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    UseScreen(16, 8, bits);
    IDirectDrawSurface* primary = CreatePrimary();
    IDirectDrawSurface* back = CreateBackBuffer(5, 3);
    SurfaceMemory* memory = MemoryOf(back);
    const std::uint32_t mask = bits == 32 ? 0xFFFFFFFF : (1u << bits) - 1;
    // Every byte of every pixel varies with x and y.
    auto value = [mask](int x, int y) { return ((x + 1) * 0x03020101u + (y + 1) * 0x05040307u) & mask; };
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) Put(*memory, x, y, value(x, y));
    // No clipper: the destination must lie on the screen.
    RECT destination{11, 5, 16, 8};
    ASSERT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(screen->pixel(11 + x, 5 + y), value(x, y));
    EXPECT_EQ(screen->pixel(10, 5), 0u);
    back->Release();
    primary->Release();
  }
}

TEST_F(BlitTest, CopiesBetweenMemorySurfaces) {
  UseScreen(16, 16, 32);
  IDirectDrawSurface* from = Own(CreateBackBuffer(6, 6));
  IDirectDrawSurface* to = Own(CreateBackBuffer(6, 6));
  Number(from);
  RECT source{1, 2, 4, 5};
  RECT destination{3, 0, 6, 3};
  ASSERT_EQ(to->Blt(&destination, from, &source, DDBLT_WAIT, nullptr), DD_OK);
  const SurfaceMemory& memory = *MemoryOf(to);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 3 && y < 3;
      ASSERT_EQ(Get(memory, x, y), inside ? NumberAt(x - 2, y + 2) : 0u) << x << "," << y;
    }
}

struct BadRects {
  const char* what;
  RECT destination;
  RECT source;
  HRESULT expected;
};

TEST_F(BlitTest, RefusedRectanglesTouchNothing) {
  UseScreen(32, 32, 32);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(8, 8));
  IDirectDrawSurface* other = Own(CreateBackBuffer(8, 8));
  Number(back);
  Number(other, 0x77);
  const BadRects cases[] = {
      {"source past the right edge", {0, 0, 4, 4}, {5, 0, 9, 4}, DDERR_INVALIDRECT},
      {"source above the top", {0, 0, 4, 4}, {0, -1, 4, 3}, DDERR_INVALIDRECT},
      {"source empty", {0, 0, 0, 0}, {2, 2, 2, 2}, DDERR_INVALIDRECT},
      {"source inverted", {0, 0, 2, 2}, {4, 4, 2, 2}, DDERR_INVALIDRECT},
      {"destination past the bottom", {0, 6, 4, 10}, {0, 0, 4, 4}, DDERR_INVALIDRECT},
      {"destination far away", {1 << 30, 0, (1 << 30) + 4, 4}, {0, 0, 4, 4}, DDERR_INVALIDRECT},
      {"destination inverted", {4, 4, 0, 0}, {0, 0, 4, 4}, DDERR_INVALIDRECT},
      {"sizes differ", {0, 0, 4, 4}, {0, 0, 4, 3}, DDERR_UNSUPPORTED},
  };
  for (const BadRects& c : cases) {
    RECT destination = c.destination, source = c.source;
    EXPECT_EQ(other->Blt(&destination, back, &source, DDBLT_WAIT, nullptr), c.expected) << c.what;
  }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(Get(*MemoryOf(other), x, y), NumberAt(x, y, 0x77));

  // The primary without a clipper: the rectangle must lie on the screen.
  RECT offScreen{30, 30, 38, 38};
  EXPECT_EQ(primary->Blt(&offScreen, back, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(screen->presentCount(), 0);
}

TEST_F(BlitTest, RefusesWhatItDoesNotDo) {
  UseScreen(32, 32, 32);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(8, 8));
  IDirectDrawSurface* zBuffer = Own(CreateZBuffer(8, 8));
  EXPECT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(primary->Blt(nullptr, back, nullptr, DDBLT_WAIT | 0x400, nullptr), DDERR_UNSUPPORTED);
  EXPECT_EQ(back->Blt(nullptr, primary, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
  EXPECT_EQ(zBuffer->Blt(nullptr, back, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
  EXPECT_EQ(back->Blt(nullptr, zBuffer, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  ASSERT_EQ(back->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  RECT destination{0, 0, 8, 8};
  EXPECT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(back->Unlock(nullptr), DD_OK);
  EXPECT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
}

TEST_F(BlitTest, TrackedDamageLimitsTheCopyAndIsCleared) {
  UseScreen(32, 32, 32);
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(10, 10));
  Number(back);
  SurfaceMemory* memory = MemoryOf(back);
  memory->damageTracked = true;
  memory->damage = RECT{2, 3, 5, 4};
  RECT destination{20, 20, 30, 30};
  ASSERT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool damaged = x >= 22 && x < 25 && y == 23;
      ASSERT_EQ(screen->pixel(x, y), damaged ? NumberAt(x - 20, y - 20) : 0u) << x << "," << y;
    }
  EXPECT_TRUE(memory->damage.right <= memory->damage.left || memory->damage.bottom <= memory->damage.top);

  // Nothing damaged: still one present (one frame), of nothing.
  ASSERT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(screen->presentCount(), 2);
  EXPECT_EQ(screen->pixel(20, 20), 0u);

  // Untracked: everything.
  memory->damageTracked = false;
  ASSERT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(screen->pixel(20 + x, 20 + y), NumberAt(x, y));
}

TEST_F(BlitTest, DamageIsMovedWithASourceRectangle) {
  UseScreen(32, 32, 32);
  IDirectDrawSurface* from = Own(CreateBackBuffer(10, 10));
  IDirectDrawSurface* to = Own(CreateBackBuffer(10, 10));
  Number(from);
  SurfaceMemory* memory = MemoryOf(from);
  memory->damageTracked = true;
  memory->damage = RECT{0, 0, 10, 5};  // partly outside the source rectangle below
  RECT source{4, 4, 8, 8};
  RECT destination{0, 0, 4, 4};
  ASSERT_EQ(to->Blt(&destination, from, &source, DDBLT_WAIT, nullptr), DD_OK);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      ASSERT_EQ(Get(*MemoryOf(to), x, y), y == 0 ? NumberAt(x + 4, 4) : 0u) << x << "," << y;
}

}  // namespace
}  // namespace vyn::ddraw::test

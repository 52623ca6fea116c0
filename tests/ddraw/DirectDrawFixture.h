// DirectDraw on a small offscreen screen: the DirectDraw object, helpers
// that make the surfaces the rendering layer makes, and windows to clip to.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "ddraw/DDraw.h"
#include "ddraw/SurfaceMemory.h"
#include "testctl/PlatformControls.h"
#include "user/User.h"

namespace vyn::ddraw::test {

class DirectDrawFixture : public ::testing::Test {
 public:
  static DDSURFACEDESC Description(DWORD flags, DWORD caps, DWORD width = 0, DWORD height = 0) {
    DDSURFACEDESC description{};
    description.dwSize = DDSURFACEDESC_SIZE_WIN32;
    description.dwFlags = flags;
    description.ddsCaps.dwCaps = caps;
    description.dwWidth = width;
    description.dwHeight = height;
    return description;
  }

 protected:
  void TearDown() override {
    for (HWND window : windows_) DestroyWindow(window);
    windows_.clear();
    ReleaseAll();
    testctl::ResetPlatform();
  }

  // A fresh screen and a DirectDraw object on it at the normal level.
  void UseScreen(int width, int height, int bitsPerPixel) {
    ReleaseAll();
    testctl::ResetPlatform();
    screen = &display::UseOffscreenDisplay(width, height, bitsPerPixel);
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  }

  IDirectDrawSurface* CreatePrimary() {
    DDSURFACEDESC description = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    return Create(description);
  }
  IDirectDrawSurface* CreateBackBuffer(int width, int height) {
    DDSURFACEDESC description =
        Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT,
                    DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY, width, height);
    return Create(description);
  }
  IDirectDrawSurface* CreateZBuffer(int width, int height) {
    DDSURFACEDESC description = Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_ZBUFFERBITDEPTH,
                                            DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY, width, height);
    description.dwZBufferBitDepth = 16;
    return Create(description);
  }
  IDirectDrawSurface* Create(DDSURFACEDESC& description) {
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DD_OK);
    return surface;
  }

  // A shown popup window at (x, y) of the given size, destroyed at the end.
  HWND CreateTestWindow(int x, int y, int width, int height) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = DefWindowProcA;
      windowClass.lpszClassName = "ddraw-test";
      registered = RegisterClassA(&windowClass) != 0;
    }
    HWND window = CreateWindowExA(0, "ddraw-test", "ddraw-test", WS_POPUP | WS_VISIBLE, x, y, width,
                                  height, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return window;
  }

  // A clipper bound to `window`, set on `primary`.
  void ClipTo(IDirectDrawSurface* primary, HWND window) {
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
    clipper->Release();  // the surface keeps it
  }

  // Fills a 32-bit surface with values that encode each pixel's position.
  static void Number(IDirectDrawSurface* surface, std::uint32_t salt = 0) {
    SurfaceMemory* memory = MemoryOf(surface);
    ASSERT_NE(memory, nullptr);
    for (int y = 0; y < memory->height; ++y)
      for (int x = 0; x < memory->width; ++x) Put(*memory, x, y, NumberAt(x, y, salt));
  }
  static std::uint32_t NumberAt(int x, int y, std::uint32_t salt = 0) {
    return (0x010000u * (x + 1) + 0x000100u * (y + 1) + salt) & 0xFFFFFF;
  }
  static void Put(SurfaceMemory& memory, int x, int y, std::uint32_t value) {
    std::memcpy(memory.pixels + y * memory.pitch + x * memory.format.bytesPerPixel(), &value,
                memory.format.bytesPerPixel());
  }
  static std::uint32_t Get(const SurfaceMemory& memory, int x, int y) {
    std::uint32_t value = 0;
    std::memcpy(&value, memory.pixels + y * memory.pitch + x * memory.format.bytesPerPixel(),
                memory.format.bytesPerPixel());
    return value;
  }

  void ReleaseAll() {
    for (IUnknown*& object : owned) {
      if (object != nullptr) object->Release();
      object = nullptr;
    }
    owned.clear();
    if (directDraw != nullptr) directDraw->Release();
    directDraw = nullptr;
  }

  // Objects that TearDown releases (for tests that do not release by hand).
  template <class T>
  T* Own(T* object) {
    owned.push_back(object);
    return object;
  }

  display::OffscreenDisplay* screen = nullptr;
  IDirectDraw* directDraw = nullptr;
  std::vector<IUnknown*> owned;

 private:
  std::vector<HWND> windows_;
};

}  // namespace vyn::ddraw::test

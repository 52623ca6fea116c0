// The saver's window on X: full-screen, black, with the pointer hidden and
// the keyboard and pointer taken; presenting and painting show in pixels.
#include "X11Fixture.h"

#include <X11/Xutil.h>
#include <unistd.h>

namespace vyn::x11test {
namespace {

class ScreenWindow : public X11Fixture {};

TEST_F(ScreenWindow, PopupCoversTheScreenExactlyAndIsPaintedBlack) {
  OpenDisplay();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight);
  ASSERT_EQ(RootPixel(5, 5), 0xFFFFFFu);  // the white root shows before
  HWND window = OpenScreenWindow();
  ASSERT_NE(window, nullptr);

  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(observer, NativeOf(window), &attributes));
  Window child;
  int x = -1, y = -1;
  XTranslateCoordinates(observer, NativeOf(window), DefaultRootWindow(observer), 0, 0, &x, &y, &child);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(attributes.width, ScreenWidth);
  EXPECT_EQ(attributes.height, ScreenHeight);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_TRUE(attributes.override_redirect);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, ScreenWidth);
  EXPECT_EQ(rect.bottom - rect.top, ScreenHeight);

  XImage* image = XGetImage(observer, DefaultRootWindow(observer), 0, 0, ScreenWidth, ScreenHeight,
                            AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  int notBlack = 0;
  for (int py = 0; py < ScreenHeight; py += 7)
    for (int px = 0; px < ScreenWidth; px += 7) notBlack += PixelColor(image, px, py) != 0;
  EXPECT_EQ(PixelColor(image, ScreenWidth - 1, ScreenHeight - 1), 0u);
  XDestroyImage(image);
  EXPECT_EQ(notBlack, 0);
}

TEST_F(ScreenWindow, PresentShowsOnlyTheGivenRectangle) {
  display::x11::X11Display& screen = OpenDisplay();
  display::PixelFormat format = screen.format();
  ASSERT_EQ(format.bitsPerPixel, 32);
  OpenScreenWindow();
  // A red 10x6 block at (100, 50).
  std::vector<std::uint32_t> pixels(10 * 6, format.redMask);
  screen.present(RECT{100, 50, 110, 56}, reinterpret_cast<const std::uint8_t*>(pixels.data()), 40);
  EXPECT_EQ(RootPixel(100, 50), 0xFF0000u);
  EXPECT_EQ(RootPixel(109, 55), 0xFF0000u);
  EXPECT_EQ(RootPixel(99, 50), 0u);
  EXPECT_EQ(RootPixel(110, 55), 0u);
  EXPECT_EQ(RootPixel(105, 56), 0u);
  // A rectangle partly off the screen is clipped, not refused.
  std::vector<std::uint32_t> green(20 * 20, format.greenMask);
  screen.present(RECT{630, 470, 650, 490}, reinterpret_cast<const std::uint8_t*>(green.data()), 80);
  EXPECT_EQ(RootPixel(639, 479), 0x00FF00u);
  EXPECT_EQ(RootPixel(629, 479), 0u);
}

// A frame that changed nothing (an empty damaged rectangle) waits for the
// refresh like any other, else the saver's loop would spin between changes.
TEST_F(ScreenWindow, EveryPresentToAShownWindowWaitsForTheRefresh) {
  display::x11::X11Display& screen = OpenDisplay();
  OpenScreenWindow();
  std::vector<std::uint32_t> pixels(4 * 4, screen.format().blueMask);
  const std::uint64_t before = screen.refreshWaits();
  screen.present(RECT{10, 10, 14, 14}, reinterpret_cast<const std::uint8_t*>(pixels.data()), 16);
  screen.present(RECT{}, nullptr, 0);
  screen.present(RECT{20, 20, 20, 30}, reinterpret_cast<const std::uint8_t*>(pixels.data()), 16);
  screen.present(RECT{ScreenWidth + 5, 0, ScreenWidth + 9, 4}, reinterpret_cast<const std::uint8_t*>(pixels.data()),
                 16);
  EXPECT_EQ(screen.refreshWaits() - before, 4u);
  EXPECT_EQ(RootPixel(12, 12), 0x0000FFu);
}

TEST_F(ScreenWindow, ExposedAreasAreRepaintedFromTheLastFrame) {
  display::x11::X11Display& screen = OpenDisplay();
  OpenScreenWindow();
  std::vector<std::uint32_t> blue(ScreenWidth * ScreenHeight, screen.format().blueMask);
  screen.present(RECT{0, 0, ScreenWidth, ScreenHeight}, reinterpret_cast<const std::uint8_t*>(blue.data()),
                 ScreenWidth * 4);
  // Another client's override-redirect window covers part, then goes.
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(observer, DefaultScreen(observer));
  Window cover = XCreateWindow(observer, DefaultRootWindow(observer), 10, 10, 50, 50, 0,
                               CopyFromParent, InputOutput, CopyFromParent,
                               CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(observer, cover);
  XSync(observer, False);
  EXPECT_EQ(RootPixel(30, 30), 0xFFFFFFu);
  XDestroyWindow(observer, cover);
  XSync(observer, False);
  MSG message;
  for (int i = 0; i < 50 && RootPixel(30, 30) != 0x0000FFu; ++i) {
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    usleep(10000);
  }
  EXPECT_EQ(RootPixel(30, 30), 0x0000FFu);
}

TEST_F(ScreenWindow, HiddenCursorAndGrabsLastUntilTheWindowGoes) {
  OpenDisplay();
  HWND window = OpenScreenWindow();
  XWarpPointer(observer, None, DefaultRootWindow(observer), 0, 0, 0, 0, 320, 240);
  XSync(observer, False);
  EXPECT_FALSE(CursorIsInvisible());
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_TRUE(CursorIsInvisible());
  EXPECT_TRUE(KeyboardIsGrabbedByOthers());

  answer = [](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_DESTROY) ShowCursor(TRUE);
    return false;
  };
  DestroyWindow(window);
  EXPECT_FALSE(CursorIsInvisible());
  EXPECT_FALSE(KeyboardIsGrabbedByOthers());
}

}  // namespace
}  // namespace vyn::x11test

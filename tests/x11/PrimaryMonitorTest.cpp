// Windows' screen is the primary monitor: its top-left corner is (0, 0).
#include "X11Fixture.h"

#include <X11/extensions/Xrandr.h>

namespace vyn::x11test {
namespace {

class PrimaryMonitor : public X11Fixture {
 protected:
  // Splits the X screen into two monitors side by side, the right primary.
  void SplitScreen() {
    Window root = DefaultRootWindow(observer);
    const char* names[] = {"left", "right"};
    for (int i = 0; i < 2; ++i) {
      XRRMonitorInfo* monitor = XRRAllocateMonitor(observer, 0);
      monitor->name = XInternAtom(observer, names[i], False);
      monitor->primary = i == 1;
      monitor->x = i * ScreenWidth / 2;
      monitor->y = 0;
      monitor->width = ScreenWidth / 2;
      monitor->height = ScreenHeight - 80;
      monitor->mwidth = monitor->width / 4;
      monitor->mheight = monitor->height / 4;
      XRRSetMonitor(observer, root, monitor);
      XRRFreeMonitors(monitor);
    }
    XSync(observer, False);
  }
  void TearDown() override {
    if (observer != nullptr)
      for (const char* name : {"left", "right"})
        XRRDeleteMonitor(observer, DefaultRootWindow(observer), XInternAtom(observer, name, False));
    if (observer != nullptr) XSync(observer, False);
    X11Fixture::TearDown();
  }
};

TEST_F(PrimaryMonitor, ScreenIsThePrimaryMonitorWithItsCornerAtTheOrigin) {
  SplitScreen();
  display::x11::X11Display& screen = OpenDisplay();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth / 2);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight - 80);
  HWND window = OpenScreenWindow();
  int x = -1, y = -1;
  Window child;
  XTranslateCoordinates(observer, NativeOf(window), DefaultRootWindow(observer), 0, 0, &x, &y, &child);
  EXPECT_EQ(x, ScreenWidth / 2);
  EXPECT_EQ(y, 0);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, ScreenWidth / 2);

  // Windows' (0, 0) is the primary monitor's corner on the X screen.
  std::vector<std::uint32_t> red(4 * 4, screen.format().redMask);
  screen.present(RECT{0, 0, 4, 4}, reinterpret_cast<const std::uint8_t*>(red.data()), 16);
  EXPECT_EQ(RootPixel(ScreenWidth / 2, 0), 0xFF0000u);
  EXPECT_EQ(RootPixel(ScreenWidth / 2 - 1, 0), 0xFFFFFFu);  // the left monitor keeps the root
  EXPECT_EQ(RootPixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(RootPixel(ScreenWidth / 2, ScreenHeight - 80), 0xFFFFFFu);  // below the monitor
}

}  // namespace
}  // namespace vyn::x11test

// A 16-bit X server: the display takes its format from the default visual.
#include "X11Fixture.h"

#include <X11/Xutil.h>

namespace vyn::x11test {
namespace {

TEST(Depth16, FormatFollowsTheVisualAndPixelsShow) {
  XvfbServer server("320x200x16");
  ASSERT_FALSE(server.name().empty());
  std::string problem;
  std::unique_ptr<display::Display> screen = display::x11::OpenX11Display(server.name().c_str(), &problem);
  ASSERT_NE(screen, nullptr) << problem;
  display::PixelFormat format = screen->format();
  EXPECT_EQ(format, (display::PixelFormat{16, 0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(screen->width(), 320);
  EXPECT_EQ(screen->height(), 200);

  display::WindowOptions options{RECT{0, 0, 320, 200}, true, "vyn"};
  display::NativeWindow window = screen->createWindow(options);
  screen->showWindow(window, true);
  std::vector<std::uint16_t> pixels(8 * 4, 0x07E0);  // green
  screen->present(RECT{10, 20, 18, 24}, reinterpret_cast<const std::uint8_t*>(pixels.data()), 16);

  ::Display* observer = XOpenDisplay(server.name().c_str());
  ASSERT_NE(observer, nullptr);
  XImage* image = XGetImage(observer, DefaultRootWindow(observer), 0, 0, 320, 200, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(PixelColor(image, 10, 20), 0x00FF00u);
  EXPECT_EQ(PixelColor(image, 17, 23), 0x00FF00u);
  EXPECT_EQ(PixelColor(image, 18, 23), 0u);
  EXPECT_EQ(PixelColor(image, 9, 20), 0u);
  XDestroyImage(image);
  XCloseDisplay(observer);
  screen->destroyWindow(window);
}

}  // namespace
}  // namespace vyn::x11test

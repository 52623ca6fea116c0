// The screen image reaches a window both through MIT-SHM and XPutImage.
#include "X11Fixture.h"

#include <X11/Xutil.h>

#include "display/x11/ScreenImage.h"
#include "display/x11/VisualFormat.h"

namespace vyn::x11test {
namespace {

class ScreenImagePaths : public X11Fixture {};

TEST_F(ScreenImagePaths, SharedAndPlainImagesPutTheWrittenRectangle) {
  int screen = DefaultScreen(observer);
  std::optional<display::PixelFormat> format = display::x11::DefaultVisualFormat(observer, screen);
  ASSERT_TRUE(format.has_value());
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(observer, screen);
  Window target = XCreateWindow(observer, DefaultRootWindow(observer), 0, 0, 64, 64, 0,
                                CopyFromParent, InputOutput, CopyFromParent,
                                CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(observer, target);
  XSync(observer, False);
  for (bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "MIT-SHM" : "XPutImage");
    display::x11::ScreenImage image(observer, screen, 64, 64, *format, shared);
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(image.sharedMemory(), shared);  // a local Xvfb has MIT-SHM
    std::uint32_t color = shared ? format->greenMask : format->blueMask;
    std::vector<std::uint32_t> block(5 * 3, color);
    image.write(RECT{10, 20, 15, 23}, reinterpret_cast<const std::uint8_t*>(block.data()), 20);
    // Only the block's rectangle goes out, placed 2 pixels right and down.
    image.put(target, DefaultGC(observer, screen), RECT{10, 20, 15, 23}, 12, 22);
    image.waitUntilRead();
    EXPECT_EQ(RootPixel(12, 22), shared ? 0x00FF00u : 0x0000FFu);
    EXPECT_EQ(RootPixel(16, 24), shared ? 0x00FF00u : 0x0000FFu);
    EXPECT_EQ(RootPixel(17, 24), 0xFFFFFFu);
    EXPECT_EQ(RootPixel(12, 25), 0xFFFFFFu);
    XClearWindow(observer, target);
  }
  XDestroyWindow(observer, target);
}

}  // namespace
}  // namespace vyn::x11test

// Inside XScreenSaver: XSCREENSAVER_WINDOW names the window to draw into.
#include "X11Fixture.h"

#include <X11/Xutil.h>

#include <cstdlib>

#include "user/User.h"

namespace vyn::x11test {
namespace {

class Embedding : public X11Fixture {
 protected:
  void TearDown() override {
    unsetenv("XSCREENSAVER_WINDOW");
    X11Fixture::TearDown();
  }
};

TEST_F(Embedding, SaverWindowIsTheHostWindowWithoutGrabsOrPointerChanges) {
  XSetWindowAttributes attributes{};
  attributes.background_pixel = WhitePixel(observer, DefaultScreen(observer));
  Window host = XCreateWindow(observer, DefaultRootWindow(observer), 50, 60, 300, 200, 0,
                              CopyFromParent, InputOutput, CopyFromParent, CWBackPixel, &attributes);
  XMapWindow(observer, host);
  XSync(observer, False);
  setenv("XSCREENSAVER_WINDOW", ("0x" + [host] {
           char hex[32];
           std::snprintf(hex, sizeof hex, "%lx", host);
           return std::string(hex);
         }()).c_str(), 1);
  display::x11::X11Display& screen = OpenDisplay();
  EXPECT_TRUE(screen.embedded());
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 300);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 200);
  ASSERT_EQ(RootPixel(60, 70), 0xFFFFFFu);

  HWND window = OpenScreenWindow();
  EXPECT_EQ(NativeOf(window), host);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 300);
  EXPECT_EQ(rect.bottom, 200);
  // Painted black inside the host, nothing outside it.
  EXPECT_EQ(RootPixel(50, 60), 0u);
  EXPECT_EQ(RootPixel(349, 259), 0u);
  EXPECT_EQ(RootPixel(49, 60), 0xFFFFFFu);
  EXPECT_EQ(RootPixel(350, 259), 0xFFFFFFu);

  XWarpPointer(observer, None, DefaultRootWindow(observer), 0, 0, 0, 0, 200, 150);
  XSync(observer, False);
  ShowCursor(FALSE);
  EXPECT_FALSE(CursorIsInvisible());
  EXPECT_FALSE(KeyboardIsGrabbedByOthers());

  // The host outlives the saver window.
  DestroyWindow(window);
  XWindowAttributes after{};
  EXPECT_TRUE(XGetWindowAttributes(observer, host, &after));
  XDestroyWindow(observer, host);
}

TEST_F(Embedding, HostThatDoesNotExistFallsBackToAWindowOfItsOwn) {
  setenv("XSCREENSAVER_WINDOW", "0x7ffffff", 1);
  ::testing::internal::CaptureStderr();
  display::x11::X11Display& screen = OpenDisplay();
  std::string diagnostics = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(screen.embedded());
  EXPECT_NE(diagnostics.find("XSCREENSAVER_WINDOW"), std::string::npos);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
}

}  // namespace
}  // namespace vyn::x11test

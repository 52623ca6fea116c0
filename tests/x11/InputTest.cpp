// Keys, clicks, the wheel and motion on the X server arrive as messages.
#include "X11Fixture.h"

#include <signal.h>

namespace vyn::x11test {
namespace {

class Input : public X11Fixture {};

TEST_F(Input, EachKindOfInputArrivesAsItsMessage) {
  struct Case {
    const char* xdotool;
    UINT message;
    WPARAM wParam;
  };
  const Case cases[] = {
      {"key a", WM_KEYDOWN, 'A'},
      {"key Escape", WM_KEYDOWN, VK_ESCAPE},
      {"key F5", WM_KEYDOWN, VK_F1 + 4},
      {"key alt+a", WM_SYSKEYDOWN, 'A'},
      {"click 1", WM_LBUTTONDOWN, MK_LBUTTON},
      {"click 3", WM_RBUTTONDOWN, MK_RBUTTON},
      {"click 2", WM_MBUTTONDOWN, MK_MBUTTON},
      {"click 4", WM_MOUSEWHEEL, WPARAM{120} << 16},
      {"click 5", WM_MOUSEWHEEL, WPARAM{0xFF88} << 16},
  };
  OpenDisplay();
  HWND window = OpenScreenWindow();
  for (const Case& c : cases) {
    ASSERT_TRUE(Run(c.xdotool)) << c.xdotool;
    std::optional<MSG> message;
    // Alt itself comes first as a system key; look for the one wanted.
    for (int i = 0; i < 3 && !(message && message->wParam == c.wParam); ++i)
      message = WaitForMessage(c.message);
    ASSERT_TRUE(message.has_value()) << c.xdotool;
    EXPECT_EQ(message->hwnd, window) << c.xdotool;
    EXPECT_EQ(message->wParam, c.wParam) << c.xdotool;
  }
  EXPECT_TRUE(IsWindow(window));  // nothing here handles input by closing
}

TEST_F(Input, MotionCarriesClientCoordinates) {
  OpenDisplay();
  OpenScreenWindow();
  ASSERT_TRUE(Run("mousemove 100 120"));
  std::optional<MSG> motion;
  for (int i = 0; i < 5 && !(motion && motion->lParam == ((120 << 16) | 100)); ++i)
    motion = WaitForMessage(WM_MOUSEMOVE);
  ASSERT_TRUE(motion.has_value());
  EXPECT_EQ(motion->lParam, (120 << 16) | 100);
  EXPECT_EQ(motion->pt.x, 100);
  EXPECT_EQ(motion->pt.y, 120);
}

TEST_F(Input, TerminationSignalClosesTheWindowThroughItsNormalPath) {
  OpenDisplay();
  HWND window = OpenScreenWindow();
  ShowCursor(FALSE);
  answer = [](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_DESTROY) {
      PostQuitMessage(0);
      ShowCursor(TRUE);
    }
    return false;
  };
  XWarpPointer(observer, None, DefaultRootWindow(observer), 0, 0, 0, 0, 320, 240);
  XSync(observer, False);
  ASSERT_TRUE(CursorIsInvisible());
  raise(SIGTERM);
  std::optional<MSG> quit = WaitForMessage(WM_QUIT);
  ASSERT_TRUE(quit.has_value());
  EXPECT_EQ(quit->wParam, 0u);
  EXPECT_FALSE(IsWindow(window));
  bool sawClose = false;
  for (const Received& r : received) sawClose |= r.message == WM_CLOSE;
  EXPECT_TRUE(sawClose);
  EXPECT_FALSE(CursorIsInvisible());
  EXPECT_FALSE(KeyboardIsGrabbedByOthers());
}

TEST_F(Input, WindowManagerCloseRequestArrivesAsClose) {
  display::x11::X11Display& screen = OpenDisplay();
  OpenScreenWindow();
  WNDCLASSA record{};
  HWND window = CreateWindowExA(0, "vyn", "small", WS_POPUP, 10, 10, 100, 80, nullptr, nullptr,
                                nullptr, nullptr);
  (void)record;
  ShowWindow(window, SW_SHOW);
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = NativeOf(window);
  close.xclient.message_type = XInternAtom(observer, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(observer, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(observer, NativeOf(window), False, NoEventMask, &close);
  XSync(observer, False);
  std::optional<MSG> message = WaitForMessage(WM_CLOSE);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->hwnd, window);
  DispatchMessageA(&*message);
  EXPECT_FALSE(IsWindow(window));
  (void)screen;
}

}  // namespace
}  // namespace vyn::x11test

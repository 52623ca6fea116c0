// Display input arriving as the window messages Windows would queue.
#include "WindowFixture.h"

namespace vyn::user::test {
namespace {

using Kind = display::InputEvent::Kind;

class InputMessages : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    RegisterTestClass();
    window = CreateWindowExA(0, "test", "t", WS_POPUP, 10, 20, 30, 20, nullptr, nullptr, nullptr,
                             nullptr);
    native = screen->windows().back();
  }
  HWND window = nullptr;
  display::NativeWindow native = display::NoNativeWindow;
};

TEST_F(InputMessages, EachEventBecomesItsMessage) {
  struct Case {
    const char* what;
    display::InputEvent event;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  auto event = [this](Kind kind) {
    display::InputEvent e{};
    e.kind = kind;
    e.window = native;
    return e;
  };
  auto key = [&](unsigned code, bool alt) {
    display::InputEvent e = event(Kind::KeyDown);
    e.keyCode = code;
    e.altHeld = alt;
    return e;
  };
  auto pointer = [&](Kind kind, int button, int x, int y, int wheel = 0) {
    display::InputEvent e = event(kind);
    e.button = button;
    e.x = x;
    e.y = y;
    e.wheelDelta = wheel;
    return e;
  };
  const LPARAM alt = LPARAM{1} << 29;
  const Case cases[] = {
      {"key", key(VK_ESCAPE, false), WM_KEYDOWN, VK_ESCAPE, 1},
      {"letter", key('A', false), WM_KEYDOWN, 'A', 1},
      {"alt+key", key('A', true), WM_SYSKEYDOWN, 'A', 1 | alt},
      {"alt itself", key(VK_MENU, true), WM_SYSKEYDOWN, VK_MENU, 1 | alt},
      {"F10", key(VK_F10, false), WM_SYSKEYDOWN, VK_F10, 1},
      {"left", pointer(Kind::ButtonDown, 1, 3, 4), WM_LBUTTONDOWN, MK_LBUTTON, (4 << 16) | 3},
      {"middle", pointer(Kind::ButtonDown, 2, 3, 4), WM_MBUTTONDOWN, MK_MBUTTON, (4 << 16) | 3},
      {"right", pointer(Kind::ButtonDown, 3, 3, 4), WM_RBUTTONDOWN, MK_RBUTTON, (4 << 16) | 3},
      {"motion", pointer(Kind::Motion, 0, 7, 8), WM_MOUSEMOVE, 0, (8 << 16) | 7},
      // The wheel reports the pointer on the screen: client (1, 2) + (10, 20).
      {"wheel up", pointer(Kind::Wheel, 0, 1, 2, 120), WM_MOUSEWHEEL, WPARAM{120} << 16,
       (22 << 16) | 11},
      {"wheel down", pointer(Kind::Wheel, 0, 1, 2, -120), WM_MOUSEWHEEL, WPARAM{0xFF88} << 16,
       (22 << 16) | 11},
      {"close", event(Kind::CloseRequest), WM_CLOSE, 0, 0},
  };
  for (const Case& c : cases) {
    screen->pushEvent(c.event);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) << c.what;
    EXPECT_EQ(message.hwnd, window) << c.what;
    EXPECT_EQ(message.message, c.message) << c.what;
    EXPECT_EQ(message.wParam, c.wParam) << c.what;
    EXPECT_EQ(message.lParam, c.lParam) << c.what;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

TEST_F(InputMessages, PointerEventsSetTheMessagePointOnTheScreen) {
  display::InputEvent motion{};
  motion.kind = Kind::Motion;
  motion.window = native;
  motion.x = 5;
  motion.y = 6;
  screen->pushEvent(motion);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.pt.x, 15);
  EXPECT_EQ(message.pt.y, 26);
}

TEST_F(InputMessages, EventsOfUnknownWindowsAndUnknownButtonsAreDropped) {
  display::InputEvent stray{};
  stray.kind = Kind::KeyDown;
  stray.window = native + 100;
  stray.keyCode = 'A';
  screen->pushEvent(stray);
  display::InputEvent button{};
  button.kind = Kind::ButtonDown;
  button.window = native;
  button.button = 8;
  screen->pushEvent(button);
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(InputMessages, CloseRequestThroughTheDefaultProcedureDestroysTheWindow) {
  display::InputEvent close{};
  close.kind = Kind::CloseRequest;
  close.window = native;
  screen->pushEvent(close);
  DrainAndDispatch();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(MessagesOf(window).back(), WM_NCDESTROY);
}

}  // namespace
}  // namespace vyn::user::test

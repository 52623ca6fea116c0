// The window layer on the X11 display of a private Xvfb, with a second
// connection that looks at the screen the way a user would: pixels read
// back with XGetImage, the cursor image, the grabs.
#pragma once

// GoogleTest before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "XvfbServer.h"
#include "display/x11/X11Display.h"
#include "user/User.h"

namespace vyn::x11test {

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
extern std::vector<Received> received;
// Answers a message before the default procedure (true: answered).
extern std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;

class X11Fixture : public ::testing::Test {
 protected:
  static constexpr int ScreenWidth = 640;
  static constexpr int ScreenHeight = 480;

  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Makes the X11 display of the shared server the active display.
  display::x11::X11Display& OpenDisplay();
  // The saver's window: a WS_POPUP over the screen, shown and painted.
  HWND OpenScreenWindow();
  Window NativeOf(HWND window) const;

  // Pumps the queue, dispatching, until a message `wanted` arrives (it is
  // returned) or about five seconds pass.
  std::optional<MSG> WaitForMessage(UINT wanted);
  bool Run(const std::string& xdotoolArguments) { return Xdotool(server->name(), xdotoolArguments); }

  // The observer's view: the colour (0xRRGGBB) of a root pixel.
  std::uint32_t RootPixel(int x, int y);
  bool CursorIsInvisible();
  bool KeyboardIsGrabbedByOthers();

  static std::unique_ptr<XvfbServer> server;
  ::Display* observer = nullptr;
  display::x11::X11Display* x11 = nullptr;
};

std::uint32_t PixelColor(XImage* image, int x, int y);

}  // namespace vyn::x11test

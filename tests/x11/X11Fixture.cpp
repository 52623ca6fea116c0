#include "X11Fixture.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <thread>

#include "gdi/StockObjects.h"
#include "user/NativeWindow.h"
#include "user/UserState.h"

namespace vyn::x11test {

std::vector<Received> received;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;
std::unique_ptr<XvfbServer> X11Fixture::server;

namespace {

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received.push_back({window, message, wParam, lParam});
  LRESULT result = 0;
  if (answer && answer(window, message, wParam, lParam, result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void X11Fixture::SetUpTestSuite() {
  server = std::make_unique<XvfbServer>(std::to_string(ScreenWidth) + "x" +
                                        std::to_string(ScreenHeight) + "x24");
}

void X11Fixture::TearDownTestSuite() { server.reset(); }

void X11Fixture::SetUp() {
  ASSERT_FALSE(server->name().empty()) << "Xvfb did not start";
  observer = XOpenDisplay(server->name().c_str());
  ASSERT_NE(observer, nullptr);
  received.clear();
  answer = nullptr;
}

void X11Fixture::TearDown() {
  answer = nullptr;
  user::ResetUserState();
  display::SetActiveDisplay(nullptr);
  x11 = nullptr;
  if (observer != nullptr) XCloseDisplay(observer);
}

display::x11::X11Display& X11Fixture::OpenDisplay() {
  std::string problem;
  std::unique_ptr<display::Display> opened =
      display::x11::OpenX11Display(server->name().c_str(), &problem);
  EXPECT_NE(opened, nullptr) << problem;
  x11 = static_cast<display::x11::X11Display*>(opened.get());
  display::SetActiveDisplay(std::move(opened));
  return *x11;
}

HWND X11Fixture::OpenScreenWindow() {
  WNDCLASSA record{};
  record.lpfnWndProc = RecordingProcedure;
  record.hbrBackground = static_cast<HBRUSH>(gdi::StockObjectHandle(BLACK_BRUSH));
  record.lpszClassName = "vyn";
  RegisterClassA(&record);
  HWND window = CreateWindowExA(0, "vyn", "vyn", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);
  return window;
}

Window X11Fixture::NativeOf(HWND window) const {
  return static_cast<Window>(user::NativeWindowOf(window));
}

std::optional<MSG> X11Fixture::WaitForMessage(UINT wanted) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == wanted) return message;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

std::uint32_t PixelColor(XImage* image, int x, int y) {
  unsigned long pixel = XGetPixel(image, x, y);
  auto scale = [pixel](unsigned long mask) -> std::uint32_t {
    if (mask == 0) return 0;
    int shift = __builtin_ctzl(mask);
    unsigned long maximum = mask >> shift;
    return static_cast<std::uint32_t>((((pixel & mask) >> shift) * 255 + maximum / 2) / maximum);
  };
  return scale(image->red_mask) << 16 | scale(image->green_mask) << 8 | scale(image->blue_mask);
}

std::uint32_t X11Fixture::RootPixel(int x, int y) {
  XSync(observer, False);
  XImage* image = XGetImage(observer, DefaultRootWindow(observer), x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0xDEADBEEF;
  std::uint32_t color = PixelColor(image, 0, 0);
  XDestroyImage(image);
  return color;
}

bool X11Fixture::CursorIsInvisible() {
  XFixesCursorImage* cursor = XFixesGetCursorImage(observer);
  if (cursor == nullptr) return false;
  bool invisible = true;
  for (int i = 0; i < cursor->width * cursor->height; ++i)
    if ((cursor->pixels[i] >> 24) != 0) invisible = false;
  XFree(cursor);
  return invisible;
}

bool X11Fixture::KeyboardIsGrabbedByOthers() {
  int result = XGrabKeyboard(observer, DefaultRootWindow(observer), False, GrabModeAsync,
                             GrabModeAsync, CurrentTime);
  if (result == GrabSuccess) XUngrabKeyboard(observer, CurrentTime);
  XSync(observer, False);
  return result == AlreadyGrabbed;
}

}  // namespace vyn::x11test

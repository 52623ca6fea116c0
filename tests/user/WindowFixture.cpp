#include "WindowFixture.h"

#include <memory>

#include "testctl/TestControls.h"
#include "user/UserState.h"

namespace vyn::user::test {

std::vector<Received> received;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received.push_back({window, message, wParam, lParam});
  LRESULT result = 0;
  if (answer && answer(window, message, wParam, lParam, result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

void WindowFixture::SetUp() {
  testctl::Reset();
  UseScreen(32);
  received.clear();
  answer = nullptr;
}

void WindowFixture::TearDown() {
  answer = nullptr;
  ResetUserState();
  testctl::Reset();
  display::SetActiveDisplay(nullptr);
}

display::OffscreenDisplay& WindowFixture::UseScreen(int bitsPerPixel) {
  auto owned = std::make_unique<display::OffscreenDisplay>(ScreenWidth, ScreenHeight, bitsPerPixel);
  screen = owned.get();
  display::SetActiveDisplay(std::move(owned));
  return *screen;
}

void WindowFixture::RegisterTestClass(HBRUSH brush) {
  WNDCLASSA record{};
  record.lpfnWndProc = RecordingProcedure;
  record.hbrBackground = brush;
  record.lpszClassName = "test";
  ASSERT_NE(RegisterClassA(&record), 0);
}

HWND WindowFixture::CreateScreenWindow(DWORD style) {
  return CreateWindowExA(0, "test", "title", style, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
}

std::vector<UINT> WindowFixture::MessagesOf(HWND window) const {
  std::vector<UINT> messages;
  for (const Received& r : received)
    if (r.window == window) messages.push_back(r.message);
  return messages;
}

std::vector<MSG> WindowFixture::DrainAndDispatch() {
  std::vector<MSG> taken;
  MSG message;
  while (taken.size() < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(message);
    if (message.message == WM_QUIT) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return taken;
}

}  // namespace vyn::user::test

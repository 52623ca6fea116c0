// A window layer on a small offscreen screen, with a window procedure that
// records every message it is sent and can be told how to answer.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "display/offscreen/OffscreenDisplay.h"
#include "user/User.h"

namespace vyn::user::test {

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowFixture : public ::testing::Test {
 protected:
  static constexpr int ScreenWidth = 64;
  static constexpr int ScreenHeight = 48;

  void SetUp() override;
  void TearDown() override;

  // Installs a fresh offscreen screen of the given depth.
  display::OffscreenDisplay& UseScreen(int bitsPerPixel);

  // Registers class "test" with the recording procedure and `brush`.
  void RegisterTestClass(HBRUSH brush = nullptr);
  // A WS_POPUP window over the whole screen, not yet shown.
  HWND CreateScreenWindow(DWORD style = WS_POPUP);

  std::vector<UINT> MessagesOf(HWND window) const;
  // Every message the queue holds now, taken and dispatched.
  std::vector<MSG> DrainAndDispatch();

  display::OffscreenDisplay* screen = nullptr;
};

// What the recording procedure saw, and a hook that answers a message
// itself (returns true and sets the result) before the default procedure.
extern std::vector<Received> received;
extern std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vyn::user::test

// Window classes, creation, geometry and destruction.
#include <gmock/gmock.h>

#include "WindowFixture.h"
#include "kernel/Kernel.h"
#include "testctl/TestControls.h"

namespace vyn::user::test {
namespace {

using ::testing::ElementsAre;

class WindowLifecycle : public WindowFixture {};

TEST_F(WindowLifecycle, ClassNamesAreUniqueIgnoringCaseAndNeedAProcedure) {
  WNDCLASSA record{};
  record.lpfnWndProc = RecordingProcedure;
  record.lpszClassName = "vyn";
  ATOM atom = RegisterClassA(&record);
  EXPECT_GE(atom, 0xC000);

  record.lpszClassName = "VYN";
  EXPECT_EQ(RegisterClassA(&record), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

  record.lpszClassName = "other";
  record.lpfnWndProc = nullptr;
  EXPECT_EQ(RegisterClassA(&record), 0);
  EXPECT_EQ(RegisterClassA(nullptr), 0);

  // A class is found by its atom as well as its name.
  HWND byAtom = CreateWindowExA(0, MakeIntResourceA(atom), "t", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsWindow(byAtom));
}

TEST_F(WindowLifecycle, ArmedFailuresMakeRegistrationAndCreationFail) {
  testctl::FailCall("RegisterClassA", 1, E_FAIL);
  WNDCLASSA record{};
  record.lpfnWndProc = RecordingProcedure;
  record.lpszClassName = "test";
  EXPECT_EQ(RegisterClassA(&record), 0);
  RegisterTestClass();  // the second call succeeds

  testctl::FailCall("CreateWindowExA", 1, E_FAIL);
  EXPECT_EQ(CreateScreenWindow(), nullptr);
  EXPECT_TRUE(received.empty());
  EXPECT_TRUE(screen->windows().empty());
  EXPECT_NE(CreateScreenWindow(), nullptr);
}

TEST_F(WindowLifecycle, UnknownClassCreatesNothing) {
  EXPECT_EQ(CreateWindowExA(0, "missing", "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
  EXPECT_TRUE(screen->windows().empty());
}

TEST_F(WindowLifecycle, CreationSendsNcCreateThenCreateWithTheCreationRecord) {
  RegisterTestClass();
  int param = 7;
  std::vector<CREATESTRUCTA> seen;
  answer = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    if (message == WM_NCCREATE || message == WM_CREATE)
      seen.push_back(*reinterpret_cast<const CREATESTRUCTA*>(lParam));
    return false;
  };
  HWND window = CreateWindowExA(0, "test", "vyn", WS_POPUP, 0, 0, ScreenWidth, ScreenHeight,
                                nullptr, nullptr, nullptr, &param);
  ASSERT_NE(window, nullptr);
  EXPECT_THAT(MessagesOf(window), ElementsAre(WM_NCCREATE, WM_CREATE));
  ASSERT_EQ(seen.size(), 2u);
  for (const CREATESTRUCTA& create : seen) {
    EXPECT_EQ(create.lpCreateParams, &param);
    EXPECT_EQ(create.cx, ScreenWidth);
    EXPECT_EQ(create.cy, ScreenHeight);
    EXPECT_STREQ(create.lpszName, "vyn");
    EXPECT_EQ(static_cast<DWORD>(create.style), WS_POPUP);
  }
  // Created hidden: WS_VISIBLE was not asked for.
  ASSERT_EQ(screen->windows().size(), 1u);
  EXPECT_FALSE(screen->isWindowVisible(screen->windows()[0]));
  EXPECT_EQ(screen->windowTitle(screen->windows()[0]), "vyn");
}

TEST_F(WindowLifecycle, RefusedCreationReturnsNullAndCleansUp) {
  struct Case {
    UINT refused;
    LRESULT answerWith;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
      {WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  RegisterTestClass();
  for (const Case& c : cases) {
    received.clear();
    answer = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
      if (message != c.refused) return false;
      result = c.answerWith;
      return true;
    };
    EXPECT_EQ(CreateScreenWindow(), nullptr);
    std::vector<UINT> messages;
    for (const Received& r : received) messages.push_back(r.message);
    EXPECT_EQ(messages, c.expected) << "refusing message " << c.refused;
    EXPECT_TRUE(screen->windows().empty());
  }
}

TEST_F(WindowLifecycle, ScreenPopupCoversTheScreenFromTheOrigin) {
  RegisterTestClass();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight);
  HWND window = CreateScreenWindow();
  RECT rect;
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, ScreenWidth);
  EXPECT_EQ(rect.bottom, ScreenHeight);
  ASSERT_TRUE(GetClientRect(window, &rect));
  EXPECT_EQ(rect.right, ScreenWidth);
  EXPECT_EQ(rect.bottom, ScreenHeight);
  POINT origin{0, 0};
  ASSERT_TRUE(ClientToScreen(window, &origin));
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

TEST_F(WindowLifecycle, GeometryFollowsTheDisplaysWindowAndOffsetsClientPoints) {
  RegisterTestClass();
  HWND window = CreateWindowExA(0, "test", "t", WS_POPUP, 5, 6, 20, 10, nullptr, nullptr, nullptr,
                                nullptr);
  POINT point{2, 1};
  ASSERT_TRUE(ClientToScreen(window, &point));
  EXPECT_EQ(point.x, 7);
  EXPECT_EQ(point.y, 7);
  // The display may place the window elsewhere (a hosting saver framework).
  screen->moveWindow(screen->windows()[0], RECT{3, 4, 33, 14});
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(client.right, 30);
  EXPECT_EQ(client.bottom, 10);
  point = POINT{2, 1};
  ASSERT_TRUE(ClientToScreen(window, &point));
  EXPECT_EQ(point.x, 5);
  EXPECT_EQ(point.y, 5);
}

TEST_F(WindowLifecycle, CallsOnAnInvalidHandleFail) {
  HWND bogus = reinterpret_cast<HWND>(0x1234);
  RECT rect{};
  POINT point{};
  EXPECT_FALSE(IsWindow(bogus));
  EXPECT_FALSE(IsWindow(nullptr));
  EXPECT_FALSE(GetClientRect(bogus, &rect));
  EXPECT_FALSE(GetWindowRect(bogus, &rect));
  EXPECT_FALSE(ClientToScreen(bogus, &point));
  EXPECT_FALSE(ShowWindow(bogus, SW_SHOW));
  EXPECT_FALSE(UpdateWindow(bogus));
  EXPECT_FALSE(DestroyWindow(bogus));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(SendMessageA(bogus, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(bogus, WM_USER, 0, 0));
}

TEST_F(WindowLifecycle, DestroySendsDestroyThenNcDestroyBeforeItReturns) {
  RegisterTestClass();
  HWND window = CreateScreenWindow();
  ShowWindow(window, SW_SHOW);
  bool validDuringDestroy = false;
  answer = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_DESTROY) validDuringDestroy = IsWindow(hwnd);
    return false;
  };
  received.clear();
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_THAT(MessagesOf(window), ElementsAre(WM_DESTROY, WM_NCDESTROY));
  EXPECT_TRUE(validDuringDestroy);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_TRUE(screen->windows().empty());
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowLifecycle, DestroyFromInsideItsOwnDestroyHappensOnce) {
  RegisterTestClass();
  HWND window = CreateScreenWindow();
  answer = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_DESTROY || message == WM_NCDESTROY) DestroyWindow(hwnd);
    return false;
  };
  received.clear();
  DestroyWindow(window);
  EXPECT_THAT(MessagesOf(window), ElementsAre(WM_DESTROY, WM_NCDESTROY));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowLifecycle, OwnedWindowsAreDestroyedWithTheirOwner) {
  RegisterTestClass();
  HWND owner = CreateScreenWindow();
  HWND owned = CreateWindowExA(0, "test", "t", WS_POPUP, 0, 0, 5, 5, owner, nullptr, nullptr,
                               nullptr);
  ASSERT_TRUE(IsWindow(owned));
  received.clear();
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[0].window, owned);  // the owned window goes first
  EXPECT_EQ(received[2].window, owner);
}

TEST_F(WindowLifecycle, HandlesAreNotReused) {
  RegisterTestClass();
  HWND first = CreateScreenWindow();
  DestroyWindow(first);
  HWND second = CreateScreenWindow();
  EXPECT_NE(first, second);
  EXPECT_FALSE(IsWindow(first));
}

TEST_F(WindowLifecycle, ShowWindowReportsThePreviousStateAndActivates) {
  RegisterTestClass();
  HWND window = CreateScreenWindow();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  received.clear();
  EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
  EXPECT_THAT(MessagesOf(window), ElementsAre(WM_SHOWWINDOW, WM_SIZE, WM_ACTIVATE));
  EXPECT_EQ(received[1].lParam, (ScreenHeight << 16) | ScreenWidth);
  EXPECT_TRUE(screen->isWindowVisible(screen->windows()[0]));
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));
  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(screen->isWindowVisible(screen->windows()[0]));
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowLifecycle, VisibleStyleShowsAtCreation) {
  RegisterTestClass();
  HWND window = CreateScreenWindow(WS_POPUP | WS_VISIBLE);
  EXPECT_THAT(MessagesOf(window),
              ElementsAre(WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW, WM_SIZE, WM_ACTIVATE));
  EXPECT_TRUE(screen->isWindowVisible(screen->windows()[0]));
}

}  // namespace
}  // namespace vyn::user::test

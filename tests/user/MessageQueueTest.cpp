// Posting, peeking with filters, the quit rule, and dispatching.
#include <gmock/gmock.h>

#include "WindowFixture.h"

namespace vyn::user::test {
namespace {

using ::testing::ElementsAre;

class MessageQueue : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    RegisterTestClass();
    window = CreateScreenWindow();
    received.clear();
  }
  // The message numbers PeekMessageA hands out until it reports none.
  std::vector<UINT> Drain(HWND filter = nullptr, UINT min = 0, UINT max = 0) {
    std::vector<UINT> taken;
    MSG message;
    while (taken.size() < 100 && PeekMessageA(&message, filter, min, max, PM_REMOVE))
      taken.push_back(message.message);
    return taken;
  }
  HWND window = nullptr;
};

TEST_F(MessageQueue, EmptyQueueReportsNothing) {
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PostedMessagesComeOutInOrderWithTheirParameters) {
  PostMessageA(window, WM_USER + 1, 11, 12);
  PostMessageA(nullptr, WM_USER + 2, 21, 22);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.hwnd, window);
  EXPECT_EQ(message.message, WM_USER + 1);
  EXPECT_EQ(message.wParam, 11u);
  EXPECT_EQ(message.lParam, 12);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_EQ(message.message, WM_USER + 2);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, NoRemoveLeavesTheMessageQueued) {
  PostMessageA(window, WM_USER, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_THAT(Drain(), ElementsAre(WM_USER));
}

TEST_F(MessageQueue, FiltersSelectByWindowAndRange) {
  HWND other = CreateScreenWindow();
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostMessageA(other, WM_USER + 2, 0, 0);
  PostMessageA(nullptr, WM_USER + 3, 0, 0);
  PostMessageA(window, WM_USER + 9, 0, 0);
  EXPECT_THAT(Drain(other), ElementsAre(WM_USER + 2));
  EXPECT_THAT(Drain(reinterpret_cast<HWND>(-1)), ElementsAre(WM_USER + 3));
  EXPECT_THAT(Drain(nullptr, WM_USER + 5, WM_USER + 10), ElementsAre(WM_USER + 9));
  EXPECT_THAT(Drain(), ElementsAre(WM_USER + 1));
}

TEST_F(MessageQueue, QuitIsTakenOnceAndOnlyAfterEveryOtherMessage) {
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostQuitMessage(3);
  PostMessageA(window, WM_USER + 2, 0, 0);
  MSG message;
  std::vector<UINT> taken;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(message.message);
    if (message.message == WM_QUIT) {
      EXPECT_EQ(message.wParam, 3u);
      EXPECT_EQ(message.hwnd, nullptr);
    }
  }
  EXPECT_THAT(taken, ElementsAre(WM_USER + 1, WM_USER + 2, WM_QUIT));
}

TEST_F(MessageQueue, PendingQuitNeverLetsTheQueueLookEmpty) {
  PostQuitMessage(0);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, WM_QUIT);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  // A window filter or a range without WM_QUIT does not see it.
  PostQuitMessage(0);
  EXPECT_FALSE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_THAT(Drain(nullptr, WM_QUIT, WM_QUIT), ElementsAre(WM_QUIT));
}

TEST_F(MessageQueue, PostedMessagesGoAheadOfInput) {
  screen->pushEvent({display::InputEvent::Kind::KeyDown, screen->windows()[0], 'A'});
  PostMessageA(window, WM_USER, 0, 0);
  EXPECT_THAT(Drain(), ElementsAre(WM_USER, WM_KEYDOWN));
}

TEST_F(MessageQueue, DestroyingAWindowDropsItsQueuedMessages) {
  HWND other = CreateScreenWindow();
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostMessageA(other, WM_USER + 2, 0, 0);
  screen->pushEvent({display::InputEvent::Kind::KeyDown, screen->windows()[0], 'A'});
  DestroyWindow(window);
  EXPECT_THAT(Drain(), ElementsAre(WM_USER + 2));
}

TEST_F(MessageQueue, DispatchCallsTheWindowProcedureAndReturnsItsResult) {
  answer = [](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = static_cast<LRESULT>(wParam * 2);
    return message == WM_USER;
  };
  MSG message{window, WM_USER, 21, 0, 0, {}};
  EXPECT_EQ(DispatchMessageA(&message), 42);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].wParam, 21u);
  EXPECT_EQ(SendMessageA(window, WM_USER, 4, 0), 8);
  // Thread messages and dead windows go nowhere.
  MSG threadMessage{nullptr, WM_USER, 1, 0, 0, {}};
  EXPECT_EQ(DispatchMessageA(&threadMessage), 0);
  DestroyWindow(window);
  received.clear();
  EXPECT_EQ(DispatchMessageA(&message), 0);
  EXPECT_TRUE(received.empty());
}

TEST_F(MessageQueue, TranslateTurnsCharacterKeysIntoCharacters) {
  struct Case {
    UINT message;
    WPARAM key;
    BOOL translated;
    std::vector<UINT> queued;
    WPARAM character;
  };
  const Case cases[] = {
      {WM_KEYDOWN, 'Q', TRUE, {WM_CHAR}, 'q'},
      {WM_KEYDOWN, VK_RETURN, TRUE, {WM_CHAR}, '\r'},
      {WM_SYSKEYDOWN, 'X', TRUE, {WM_SYSCHAR}, 'x'},
      {WM_KEYDOWN, VK_F1, TRUE, {}, 0},
      {WM_KEYUP, 'Q', TRUE, {}, 0},
      {WM_MOUSEMOVE, 'Q', FALSE, {}, 0},
  };
  for (const Case& c : cases) {
    MSG key{window, c.message, c.key, 1, 0, {}};
    EXPECT_EQ(TranslateMessage(&key), c.translated) << c.message << " " << c.key;
    MSG message;
    std::vector<UINT> queued;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      queued.push_back(message.message);
      EXPECT_EQ(message.hwnd, window);
      EXPECT_EQ(message.wParam, c.character);
    }
    EXPECT_EQ(queued, c.queued) << c.message << " " << c.key;
  }
}

TEST_F(MessageQueue, DefaultProcedureClosesOnCloseRequests) {
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {WM_CLOSE, 0, 0},
      {WM_SYSCOMMAND, SC_CLOSE, 0},
      {WM_SYSCOMMAND, SC_CLOSE | 0x2, 0},  // low four bits belong to the system
      {WM_SYSKEYDOWN, VK_F4, LPARAM{1} << 29},
  };
  for (const Case& c : cases) {
    HWND target = CreateScreenWindow();
    DefWindowProcA(target, c.message, c.wParam, c.lParam);
    DrainAndDispatch();
    EXPECT_FALSE(IsWindow(target)) << c.message << " " << c.wParam;
  }
  HWND kept = CreateScreenWindow();
  DefWindowProcA(kept, WM_SYSCOMMAND, SC_KEYMENU, 0);
  DefWindowProcA(kept, WM_SYSKEYDOWN, VK_F4, 0);  // F4 without Alt
  DefWindowProcA(kept, WM_KEYDOWN, VK_ESCAPE, 0);
  DrainAndDispatch();
  EXPECT_TRUE(IsWindow(kept));
}

// The loop of a screen saver: a key destroys the window, whose WM_DESTROY
// posts the quit; the drain runs until it takes WM_QUIT.
TEST_F(MessageQueue, KeyThatDestroysTheWindowEndsTheDrainWithQuit) {
  answer = [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_KEYDOWN) DestroyWindow(hwnd);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return message == WM_KEYDOWN;
  };
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  screen->pushEvent({display::InputEvent::Kind::KeyDown, screen->windows()[0], VK_ESCAPE});
  screen->pushEvent({display::InputEvent::Kind::Motion, screen->windows()[0]});
  std::vector<MSG> taken = DrainAndDispatch();
  ASSERT_FALSE(taken.empty());
  EXPECT_EQ(taken.back().message, WM_QUIT);
  EXPECT_FALSE(IsWindow(window));
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace vyn::user::test

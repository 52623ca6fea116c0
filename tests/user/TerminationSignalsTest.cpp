// SIGTERM, SIGINT and SIGHUP become WM_CLOSE for the top-level windows.
#include <signal.h>

#include "WindowFixture.h"

namespace vyn::user::test {
namespace {

class TerminationSignals : public WindowFixture {
 protected:
  static bool HandlerIsDefault(int signalNumber) {
    struct sigaction current {};
    sigaction(signalNumber, nullptr, &current);
    return current.sa_handler == SIG_DFL;
  }
};

TEST_F(TerminationSignals, EachSignalPostsCloseAndTheWindowClosesNormally) {
  RegisterTestClass();
  for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
    HWND window = CreateScreenWindow();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    received.clear();
    raise(signalNumber);  // handled: the process goes on
    std::vector<MSG> taken = DrainAndDispatch();
    ASSERT_EQ(taken.size(), 1u) << signalNumber;
    EXPECT_EQ(taken[0].message, WM_CLOSE);
    EXPECT_EQ(taken[0].hwnd, window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MessagesOf(window), (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  }
}

TEST_F(TerminationSignals, HandlersAreInstalledOnlyWhileWindowsExist) {
  ASSERT_TRUE(HandlerIsDefault(SIGTERM));
  RegisterTestClass();
  HWND first = CreateScreenWindow();
  HWND second = CreateScreenWindow();
  EXPECT_FALSE(HandlerIsDefault(SIGTERM));
  EXPECT_FALSE(HandlerIsDefault(SIGHUP));
  DestroyWindow(first);
  EXPECT_FALSE(HandlerIsDefault(SIGINT));
  DestroyWindow(second);
  EXPECT_TRUE(HandlerIsDefault(SIGTERM));
  EXPECT_TRUE(HandlerIsDefault(SIGINT));
  EXPECT_TRUE(HandlerIsDefault(SIGHUP));
}

TEST_F(TerminationSignals, EveryTopLevelWindowIsAskedToClose) {
  RegisterTestClass();
  HWND first = CreateScreenWindow();
  HWND second = CreateScreenWindow();
  raise(SIGTERM);
  DrainAndDispatch();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(second));
}

using TerminationSignalsDeathTest = TerminationSignals;

TEST_F(TerminationSignalsDeathTest, SecondSignalBeforeTheLoopReadsTheFirstEndsTheProcess) {
  RegisterTestClass();
  CreateScreenWindow();
  EXPECT_EXIT(
      {
        raise(SIGTERM);
        raise(SIGTERM);
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGTERM), "");
}

}  // namespace
}  // namespace vyn::user::test

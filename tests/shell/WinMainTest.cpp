// WinMain in this process: what it returns, whether it starts the settings
// program, and that it never leaves the mutex owned on its way out.
#include <string>

#include <gtest/gtest.h>

#include "ShellFixture.h"
#include "kernel/Kernel.h"
#include "kernel/WinMain.h"
#include "support/ChildProcess.h"

namespace {

using vyn::test::notStartedPatience;

class WinMainTest : public vyn::test::ShellFixture {
 protected:
  int RunWinMain(std::string tail) {
    return WinMain(GetModuleHandleA(nullptr), nullptr, tail.data(), 10);
  }

  // Whether this thread still owns "vyn": handles to one name share its
  // mutex, so a fresh handle can release it exactly when it is still owned.
  static bool StillOwned() {
    HANDLE probe = CreateMutexA(nullptr, FALSE, "vyn");
    bool owned = ReleaseMutex(probe) != FALSE;
    CloseHandle(probe);
    return owned;
  }

  // Whether "vyn" is held by anyone in this namespace.
  static bool NameHeld() {
    HANDLE probe = CreateMutexA(nullptr, FALSE, "vyn");
    bool held = GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(probe);
    return held;
  }
};

struct Start {
  const char* tail;
  bool startsSettingsProgram;
};

class WinMainTailTest : public WinMainTest, public ::testing::WithParamInterface<Start> {};

// Every path outside run mode returns 1. Run mode itself (tails with only
// the run switch) has tests of its own.
TEST_P(WinMainTailTest, ReturnsOneAndReleasesTheMutex) {
  InstallStandIn(bin);
  const Start& c = GetParam();
  EXPECT_EQ(RunWinMain(c.tail), 1);
  EXPECT_TRUE(NameHeld()) << "the handle is left open for the system to close";
  EXPECT_FALSE(StillOwned()) << "the mutex must be released";
  if (c.startsSettingsProgram) {
    EXPECT_EQ(StandInFolder(), windows.path());
    EXPECT_FALSE(StandInFinished()) << "WinMain waited for the settings program";
  } else {
    EXPECT_EQ(StandInFolder(notStartedPatience), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, WinMainTailTest,
                         ::testing::Values(Start{"", false}, Start{"/c", true}, Start{"/C", true},
                                           Start{"-c", true}, Start{"/c:1234", true}, Start{"/s /c", true},
                                           Start{"/c /s", true}, Start{"/cs", true}, Start{"/-c", true},
                                           Start{"/p 1234", false}, Start{"/", false}, Start{"-", false},
                                           Start{"/x s", false}, Start{"c", false}));

TEST_F(WinMainTest, ConfigureModeWithoutASettingsProgramStillReturnsOne) {
  EXPECT_EQ(RunWinMain("/c"), 1);
  EXPECT_FALSE(StillOwned());
}

TEST_F(WinMainTest, WhenTheMutexCannotBeMadeNothingElseHappens) {
  InstallStandIn(bin);
  environment.Set("XDG_RUNTIME_DIR", runtime / "missing");
  EXPECT_EQ(RunWinMain("/c"), 1);
  EXPECT_EQ(StandInFolder(notStartedPatience), "");
}

TEST_F(WinMainTest, AnotherCopyHoldingTheNameTurnsEveryStartAway) {
  InstallStandIn(bin);
  vyn::test::ChildProcess holder({VYN_MUTEX_HOLDER, "vyn", "release"});
  ASSERT_EQ(holder.ReadLine().value_or(""), "created");
  for (const char* tail : {"/c", "/s", "", "/p 1234"}) {
    EXPECT_EQ(RunWinMain(tail), 1) << tail;
    EXPECT_FALSE(StillOwned()) << tail;
  }
  EXPECT_EQ(StandInFolder(notStartedPatience), "");
}

}  // namespace

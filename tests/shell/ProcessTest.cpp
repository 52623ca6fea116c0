// The built vyn as a process: the single-instance guard between real
// processes, configure mode, and exit codes.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "ShellFixture.h"
#include "support/ChildProcess.h"

namespace {

using vyn::test::ChildProcess;
using vyn::test::notStartedPatience;

class ProcessTest : public vyn::test::ShellFixture {
 protected:
  // A copy of the built program in a folder of its own, so that nothing
  // beside it is found unless the test puts it there.
  void SetUp() override {
    ShellFixture::SetUp();
    const char* built = std::getenv("VYN_BINARY_DIR");
    ASSERT_NE(built, nullptr);
    vyn = app / "vyn";
    std::filesystem::copy_file(std::string(built) + "/vyn", vyn);
    chmod(vyn.c_str(), 0755);
  }

  int RunVyn(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), vyn);
    ChildProcess process(arguments);
    EXPECT_TRUE(process.started());
    process.CloseInput();
    return process.ExitCode();
  }

  vyn::test::TempFolder app;
  std::string vyn;
};

TEST_F(ProcessTest, WhileAnotherCopyHoldsTheMutexEveryStartEndsWithOne) {
  InstallStandIn(bin);
  ChildProcess holder({VYN_MUTEX_HOLDER, "vyn"});
  ASSERT_EQ(holder.ReadLine().value_or(""), "created");
  for (std::vector<std::string> arguments :
       {std::vector<std::string>{"/c"}, {"/s"}, {}, {"/p", "1234"}, {"/s", "/c"}, {"anything"}})
    EXPECT_EQ(RunVyn(arguments), 1) << (arguments.empty() ? "" : arguments[0]);
  EXPECT_EQ(StandInFolder(notStartedPatience), "") << "a turned-away start must start nothing";
}

TEST_F(ProcessTest, ACopyThatWasKilledDoesNotTurnTheNextStartAway) {
  InstallStandIn(bin);
  ChildProcess holder({VYN_MUTEX_HOLDER, "vyn"});
  ASSERT_EQ(holder.ReadLine().value_or(""), "created");
  holder.Kill(SIGKILL);
  ASSERT_TRUE(holder.Wait().has_value());
  EXPECT_EQ(RunVyn({"/c"}), 1);
  EXPECT_EQ(StandInFolder(), windows.path()) << "configure mode must have run";
}

TEST_F(ProcessTest, ConfigureModeStartsTheSettingsProgramFromPathWithoutWaiting) {
  InstallStandIn(bin);
  EXPECT_EQ(RunVyn({"/c"}), 1);
  EXPECT_FALSE(StandInFinished()) << "vyn waited for the settings program";
  EXPECT_EQ(StandInFolder(), windows.path());
  EXPECT_EQ(StandInProgram(), bin / "vynlg");
}

TEST_F(ProcessTest, ASettingsProgramBesideVynComesBeforePath) {
  InstallStandIn(bin);
  InstallStandIn(app);
  EXPECT_EQ(RunVyn({"/C:1234"}), 1);
  EXPECT_EQ(StandInProgram(), app / "vynlg");
}

TEST_F(ProcessTest, ConfigureModeWithNoSettingsProgramAnywhereEndsWithOne) {
  EXPECT_EQ(RunVyn({"/c"}), 1);
  EXPECT_EQ(RunVyn({"-c"}), 1) << "and leaves no stale name behind";
}

TEST_F(ProcessTest, ThePreviewRequestAndEmptyCommandLineEndWithOneAndStartNothing) {
  InstallStandIn(bin);
  EXPECT_EQ(RunVyn({}), 1);
  EXPECT_EQ(RunVyn({"/p", "1234"}), 1);
  EXPECT_EQ(RunVyn({"/"}), 1);
  EXPECT_EQ(StandInFolder(notStartedPatience), "");
}

}  // namespace

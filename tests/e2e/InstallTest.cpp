// cmake --install into a folder of the test's own: the program, the data
// folder with the picture, XScreenSaver's descriptor and the manual page,
// and an installed vyn that draws from the installed picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "ChildProcess.h"
#include "RunFolder.h"
#include "ScreenImage.h"

namespace vyn::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(InstallTest, InstallsProgramDataDescriptorAndManualPage) {
  RunFolder folder;
  const std::string prefix = folder.file("prefix");
  ASSERT_EQ(RunCommand({VYN_CMAKE_COMMAND, "--install", BuildFolder(), "--prefix", prefix}, folder.environment()),
            0);

  const std::string program = prefix + "/bin/vyn";
  EXPECT_TRUE(fs::is_regular_file(program));
  EXPECT_EQ(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
  EXPECT_TRUE(fs::is_regular_file(prefix + "/share/vyn/vynFile/circle.BMP"));
  EXPECT_TRUE(fs::is_regular_file(prefix + "/share/man/man6/vyn.6"));
  const std::string descriptor = ReadFile(prefix + "/share/xscreensaver/config/vyn.xml");
  EXPECT_NE(descriptor.find("<screensaver name=\"vyn\""), std::string::npos);
  EXPECT_NE(descriptor.find("<command arg=\"/s\"/>"), std::string::npos);

  // The installed program with the installed data folder: the default
  // picture is found there and drawn.
  Environment environment = folder.environment();
  environment["VYN_DATA_DIR"] = prefix + "/share/vyn";
  environment["VYN_DISPLAY"] = "offscreen:320x240x32";
  environment["VYN_FRAMES"] = "5";
  environment["VYN_SNAPSHOT"] = folder.file("installed.png");
  ChildProcess vyn({program, "/s"}, environment, folder.file("work"), folder.path(), "installed");
  ASSERT_EQ(vyn.waitForExit(120s), 0) << vyn.standardError();
  const std::optional<Picture> snapshot = ReadPng(folder.file("installed.png"));
  ASSERT_TRUE(snapshot.has_value());
  EXPECT_GT(CountLit(*snapshot, {0, 0, snapshot->width, snapshot->height}), 300);
}

}  // namespace
}  // namespace vyn::e2e

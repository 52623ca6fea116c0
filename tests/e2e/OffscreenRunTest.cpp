// Whole runs on the offscreen display: the start-up's debugger lines, the
// end by an injected key press, and the snapshot of what was on the screen.
#include <gtest/gtest.h>

#include <filesystem>

#include "RunFolder.h"
#include "ScreenImage.h"

namespace vyn::e2e {
namespace {

using namespace std::chrono_literals;

// Software rendering of a full screen under the sanitizers is slow; these
// limits only stop a hung run from hanging the suite.
constexpr auto kRunLimit = 180s;

class OffscreenRunTest : public ::testing::Test {
 protected:
  Environment OffscreenEnvironment(int frames) {
    Environment environment = folder.environment();
    environment["VYN_DISPLAY"] = "offscreen:640x480x32";
    environment["VYN_FRAMES"] = std::to_string(frames);
    environment["VYN_SNAPSHOT"] = folder.file("snapshot.png");
    return environment;
  }

  RunFolder folder;
};

TEST_F(OffscreenRunTest, StartsTheLayerDrawsTheSolidAndEndsOnTheKeyPress) {
  auto vyn = folder.startVyn(OffscreenEnvironment(40), "run");
  ASSERT_TRUE(vyn->started());
  const std::optional<int> exitCode = vyn->waitForExit(kRunLimit);
  const std::string errors = vyn->standardError();
  ASSERT_EQ(exitCode, 0) << errors;

  // The start-up, in order: context, surfaces, device (the device search
  // may name software devices), viewport; then the clean-up at the end.
  // The search's own lines name whichever software devices it meets; they
  // are left out here.
  std::vector<std::string> lines;
  for (const std::string& line : LinesStartingWith(errors, {"KVR:", "phase "}))
    if (line.rfind("KVR:DeviceName :", 0) != 0 && line.rfind("KVR:HAL DeviceName :", 0) != 0) lines.push_back(line);
  ASSERT_EQ(lines.size(), 11u) << errors;
  const std::string device = lines[5];
  EXPECT_TRUE(device == "KVR:Created Direct3DDevice with MMX(HEL)" ||
              device == "KVR:Created Direct3DDevice with RAMP(HEL)")
      << device;
  lines[5] = "device";
  const std::vector<std::string> expected{
      "KVR:Lumivex Initialize", "KVR:CreateDirectDrawWin", "KVR:Lumivex Cleanup",
      "KVR:CreateD3DRM",        "KVR:DeviceGuid 0",        "device",
      "KVR:KVRViewport",        "KVR:Viewport width:640 height:480",
      "phase 3",                "phase 4",                 "KVR:Lumivex Cleanup"};
  EXPECT_EQ(lines, expected) << errors;
  EXPECT_EQ(errors.find("Error"), std::string::npos) << errors;

  // The last frame: the solid on a black screen, up and to the right of the
  // middle after 40 steps of (0.1, 0.08, 0.2) from straight ahead.
  const std::optional<Picture> snapshot = ReadPng(folder.file("snapshot.png"));
  ASSERT_TRUE(snapshot.has_value()) << errors;
  EXPECT_EQ(snapshot->width, 640);
  EXPECT_EQ(snapshot->height, 480);
  const std::optional<Area> solid = LitBounds(*snapshot);
  ASSERT_TRUE(solid.has_value()) << "nothing drawn";
  EXPECT_GT(CountLit(*snapshot, *solid), 500);
  EXPECT_GT(solid->width(), 40);
  EXPECT_GT(solid->height(), 40);
  EXPECT_LT(solid->width(), 640);
  EXPECT_LT(solid->height(), 480);
  EXPECT_GT(solid->left + solid->right, 640);
  EXPECT_LT(solid->top + solid->bottom, 480);
  EXPECT_GT(solid->left, 0);
  EXPECT_LT(solid->right, 640);
  EXPECT_GT(solid->top, 0);
  EXPECT_LT(solid->bottom, 480);
  EXPECT_NE(errors.find("saved the screen to " + folder.file("snapshot.png")), std::string::npos) << errors;
}

TEST_F(OffscreenRunTest, SettingsGiveTheSolidItsColourAndWireframe) {
  folder.writeSettings("[SS_SECTION]\nSHADE=1\n[SETTING]\nColorR=255\nColorG=0\nColorB=0\n");
  auto vyn = folder.startVyn(OffscreenEnvironment(10), "wireframe");
  ASSERT_EQ(vyn->waitForExit(kRunLimit), 0) << vyn->standardError();

  const std::optional<Picture> snapshot = ReadPng(folder.file("snapshot.png"));
  ASSERT_TRUE(snapshot.has_value());
  const std::optional<Area> solid = LitBounds(*snapshot);
  ASSERT_TRUE(solid.has_value());
  // Unlit red lines: no green or blue at all, and most of the solid's box
  // stays black between the edges.
  const MeanColor mean = MeanLitColor(*snapshot);
  EXPECT_GT(mean.red, 100.0);
  EXPECT_LT(mean.green, 1.0);
  EXPECT_LT(mean.blue, 1.0);
  EXPECT_LT(CountLit(*snapshot, *solid), solid->width() * solid->height() / 2);
}

TEST_F(OffscreenRunTest, WithoutAnyDisplayRunsOffscreenAndSavesASnapshotHere) {
  Environment environment = folder.environment();  // no DISPLAY, no VYN_DISPLAY
  auto vyn = folder.startVyn(environment, "headless");
  const std::optional<int> exitCode = vyn->waitForExit(kRunLimit);
  const std::string errors = vyn->standardError();
  ASSERT_EQ(exitCode, 0) << errors;

  const std::string snapshotPath = folder.file("work/vyn-snapshot.png");
  EXPECT_NE(errors.find("no X display"), std::string::npos) << errors;
  EXPECT_NE(errors.find(snapshotPath), std::string::npos) << errors;
  const std::optional<Picture> snapshot = ReadPng(snapshotPath);
  ASSERT_TRUE(snapshot.has_value()) << errors;
  const std::optional<Area> solid = LitBounds(*snapshot);
  ASSERT_TRUE(solid.has_value());
  EXPECT_GT(CountLit(*snapshot, *solid), 1000);
}

}  // namespace
}  // namespace vyn::e2e

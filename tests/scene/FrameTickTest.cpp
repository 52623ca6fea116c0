// The frame tick's own decisions over fake frames: nothing while the layer is
// off, and a failing Move reported once, cleaned up once, and then silence.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "FakeRetainedMode.h"
#include "FrameTick.h"
#include "Lumivex.h"
#include "Scene.h"
#include "support/DebugCapture.h"
#include "testctl/TestControls.h"

namespace vyn::saver {
namespace {

using scenetest::FakeFrame;

// The line of FrameTick.cpp that reports a failing Move.
int ReportLineInSource() {
  const char* source = std::getenv("VYN_SOURCE_DIR");
  std::ifstream file(std::string(source != nullptr ? source : VYN_SOURCE_TREE) + "/saver/FrameTick.cpp");
  std::string line;
  for (int number = 1; std::getline(file, line); ++number)
    if (line.find("VYN_REPORT(ReportD3DRMError") != std::string::npos) return number;
  return -1;
}

class FrameTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lumivex::Initialize();
    debug.clear();
    root = new FakeFrame(nullptr);
    sceneHandles = {root, nullptr, nullptr};
  }
  void TearDown() override {
    lumivex::Cleanup();
    testctl::Reset();
    sceneHandles = {};
    root->Release();
  }

  test::DebugCapture debug;
  FakeFrame* root = nullptr;
};

TEST_F(FrameTickTest, InactiveLayerTickDoesNothing) {
  testctl::StartRecording();
  EXPECT_EQ(TickFrame(), 1);
  EXPECT_TRUE(root->moves.empty());
  EXPECT_TRUE(testctl::Calls().empty());
  EXPECT_TRUE(debug.texts().empty());
}

TEST_F(FrameTickTest, FailingMoveIsReportedOnceCleanedUpOnceAndThenNothing) {
  root->moveResult = D3DRMERR_BADVALUE;
  lumivex::SetActive(1);

  EXPECT_EQ(TickFrame(), 0);
  ASSERT_EQ(root->moves, std::vector<D3DVALUE>{1.0f});
  const int line = ReportLineInSource();
  ASSERT_GT(line, 0);
  const std::vector<std::string> expected{
      "Direct3D-RM Error : D3DRMERR_BADVALUE\nin file FrameTick.cpp at line " + std::to_string(line) + "\n",
      "KVR:Lumivex Cleanup\n"};
  EXPECT_EQ(debug.texts(), expected);
  EXPECT_EQ(lumivex::renderContext.active, 0);

  // From now on the layer is off: no move, no report, no clean-up.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(TickFrame(), 1);
  EXPECT_EQ(root->moves.size(), 1u);
  EXPECT_EQ(debug.texts(), expected);
}

}  // namespace
}  // namespace vyn::saver

// Motion steps and frame ticks on the real rendering layer and Retained
// Mode, drawing onto a small offscreen screen: the order of one tick's calls,
// what a tick puts on the screen, and a run after the layer has failed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "FrameTick.h"
#include "Lumivex.h"
#include "Motion.h"
#include "RunMode.h"
#include "SaverWindow.h"
#include "Scene.h"
#include "display/DisplaySelection.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "kernel/Kernel.h"
#include "testctl/TestControls.h"
#include "user/User.h"
#include "user/UserState.h"

namespace vyn::saver {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

int LitPixels(const display::OffscreenDisplay& screen) {
  int lit = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (screen.colorAt(x, y) != 0) ++lit;
  return lit;
}

class LiveTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vyn-tick-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    // No settings file and an empty drive C: the defaults and the shipped
    // picture.
    setenv("VYN_WINDOWS_DIR", folder.c_str(), 1);
    setenv("VYN_DRIVE_C", folder.c_str(), 1);
    auto owned = std::make_unique<display::OffscreenDisplay>(kWidth, kHeight, 32);
    screen = owned.get();
    display::SetActiveDisplay(std::move(owned));
    user::ResetUserState();
    motionState = {};

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_NE(RegisterSaverClass(instance), 0);
    ASSERT_EQ(CreateSaverWindow(instance, SW_SHOWDEFAULT), 1);
    ASSERT_EQ(StartRenderingLayer(), 1);
    ASSERT_EQ(CreateScene(), 1);
    ASSERT_EQ(lumivex::renderContext.active, 1);
  }

  void TearDown() override {
    testctl::Reset();
    user::ResetUserState();
    lumivex::Cleanup();
    if (sceneHandles.camera != nullptr) sceneHandles.camera->Release();
    if (sceneHandles.scene != nullptr) sceneHandles.scene->Release();
    sceneHandles = {};
    motionState = {};
    display::SetActiveDisplay(nullptr);
    std::filesystem::remove_all(folder);
    unsetenv("VYN_WINDOWS_DIR");
    unsetenv("VYN_DRIVE_C");
  }

  D3DVECTOR ObjectPosition() const {
    D3DVECTOR position{};
    sceneHandles.object->GetPosition(sceneHandles.scene, &position);
    return position;
  }

  std::string folder;
  display::OffscreenDisplay* screen = nullptr;
};

TEST_F(LiveTickTest, OneTickRestoresMovesRendersAndPresentsInThatOrder) {
  const int presentsBefore = screen->presentCount();
  testctl::StartRecording();
  StepMotion();
  EXPECT_EQ(TickFrame(), 1);
  testctl::StopRecording();

  std::vector<std::string> tick;
  for (const testctl::CallRecord& call : testctl::Calls()) {
    for (const char* operation : {"IDirectDrawSurface::IsLost", "IDirect3DRMFrame::Move", "IDirect3DRMViewport::Clear",
                                  "IDirect3DRMViewport::Render", "IDirect3DRMDevice::Update",
                                  "IDirectDrawSurface::Blt"})
      if (call.operation == operation) tick.push_back(call.operation);
  }
  const std::vector<std::string> expected{"IDirectDrawSurface::IsLost", "IDirectDrawSurface::IsLost",
                                          "IDirect3DRMFrame::Move",     "IDirect3DRMViewport::Clear",
                                          "IDirect3DRMViewport::Render", "IDirect3DRMDevice::Update",
                                          "IDirectDrawSurface::Blt"};
  EXPECT_EQ(tick, expected);
  const std::vector<testctl::CallRecord> moves = testctl::CallsOf("IDirect3DRMFrame::Move");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].object, static_cast<const void*>(static_cast<IDirect3DRMFrame*>(sceneHandles.scene)));

  // The step's velocity went in with the move, and the frame is on screen.
  const D3DVECTOR position = ObjectPosition();
  EXPECT_NEAR(position.x, 0.1, 1e-6);
  EXPECT_NEAR(position.y, 0.08, 1e-6);
  EXPECT_NEAR(position.z, 15.2, 1e-5);
  EXPECT_EQ(screen->presentCount(), presentsBefore + 1);
  EXPECT_GT(LitPixels(*screen), 300);
}

TEST_F(LiveTickTest, AfterTheLayerFailsTheLoopKeepsSteppingWithoutDrawing) {
  StepMotion();
  TickFrame();
  testctl::FailCall("IDirectDrawSurface::Blt", 1, DDERR_SURFACELOST);
  StepMotion();
  EXPECT_EQ(TickFrame(), 1);  // the present's failure is the layer's own
  EXPECT_EQ(lumivex::renderContext.active, 0);
  EXPECT_EQ(lumivex::renderContext.retainedMode, nullptr);

  // The frames outlive the layer: steps go on, nothing moves or is drawn.
  const D3DVECTOR before = ObjectPosition();
  const int presents = screen->presentCount();
  testctl::StartRecording();
  for (int pass = 0; pass < 5; ++pass) {
    StepMotion();
    EXPECT_EQ(TickFrame(), 1);
  }
  testctl::StopRecording();
  EXPECT_TRUE(testctl::CallsOf("IDirect3DRMFrame::Move").empty());
  EXPECT_TRUE(testctl::CallsOf("IDirectDrawSurface::Blt").empty());
  EXPECT_EQ(screen->presentCount(), presents);
  const D3DVECTOR after = ObjectPosition();
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.z, before.z);
}

}  // namespace
}  // namespace vyn::saver

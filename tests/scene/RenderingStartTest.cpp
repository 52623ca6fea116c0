// A rendering layer that cannot be started ends the process with exit code 1
// after exactly one debugger line of its own; these run in child processes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "RunMode.h"
#include "SaverWindow.h"
#include "display/DisplaySelection.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "kernel/Kernel.h"
#include "testctl/TestControls.h"
#include "user/User.h"
#include "user/UserState.h"

namespace vyn::saver {
namespace {

// In the child: the debugger lines on standard error, the saver window on a
// small offscreen screen, one platform call armed to fail, then the start.
void StartWithFailing(const char* operation, int times) {
  setenv("VYN_DEBUG", "1", 1);
  display::SetActiveDisplay(std::make_unique<display::OffscreenDisplay>(320, 240, 32));
  user::ResetUserState();
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterSaverClass(instance);
  CreateSaverWindow(instance, SW_SHOWDEFAULT);
  testctl::FailCall(operation, 1, E_FAIL, times);
  StartRenderingLayer();
  std::fputs("StartRenderingLayer returned\n", stderr);
  std::exit(0);
}

class RenderingStartDeathTest : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(RenderingStartDeathTest, SurfacesThatCannotBeMadeEndTheProcess) {
  EXPECT_EXIT(StartWithFailing("DirectDrawCreate", 1), ::testing::ExitedWithCode(1),
              "KVR:Lumivex Initialize\nKVR:CreateDirectDrawWin\nKVR:Lumivex Cleanup\n"
              "DirectDraw Error DDERR_GENERIC\nin file [A-Za-z]+\\.cpp at line [0-9]+\n"
              "KVR:Lumivex Cleanup\nKVR:DDCreateError $");
}

TEST_F(RenderingStartDeathTest, RetainedModeThatCannotBeMadeEndsTheProcess) {
  EXPECT_EXIT(StartWithFailing("Direct3DRMCreate", 1), ::testing::ExitedWithCode(1),
              "KVR:CreateDirectDrawWin\nKVR:Lumivex Cleanup\nKVR:CreateD3DRM\nKVR:Lumivex Cleanup\n"
              "KVR:CreateDirect3DRM Error!!!! $");
}

TEST_F(RenderingStartDeathTest, NoDeviceAtAllEndsTheProcessInsideTheLayer) {
  // Both software devices refused: the layer ends the process itself, and
  // the start writes no line of its own.
  EXPECT_EXIT(StartWithFailing("IDirect3D2::CreateDevice", 2), ::testing::ExitedWithCode(1),
              "KVR:Created Direct3DDevice with RAMP\\(HEL\\)\nKVR:Failed to Create Direct3DDevice!\n"
              "KVR:Lumivex Cleanup\n$");
}

}  // namespace
}  // namespace vyn::saver

// The saver window on the offscreen display: its class, its place, the
// input that ends the run and what the end does; and the main loop's end on
// a quit that no window asked for.
#include <gtest/gtest.h>

#include <memory>

#include "Lumivex.h"
#include "RunMode.h"
#include "SaverWindow.h"
#include "Scene.h"
#include "display/DisplaySelection.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "gdi/Gdi.h"
#include "kernel/Kernel.h"
#include "support/DebugCapture.h"
#include "user/User.h"
#include "user/UserState.h"
#include "user/WindowClassRegistry.h"

namespace vyn::saver {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Takes every pending message; true when a WM_QUIT with `code` was among them.
bool TakeQuit(int code) {
  bool quit = false;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    if (message.message == WM_QUIT && static_cast<int>(message.wParam) == code) quit = true;
  return quit;
}

class SaverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto owned = std::make_unique<display::OffscreenDisplay>(kWidth, kHeight, 32);
    screen = owned.get();
    display::SetActiveDisplay(std::move(owned));
    user::ResetUserState();
    lumivex::Initialize();
  }
  void TearDown() override {
    user::ResetUserState();
    lumivex::Cleanup();
    // A run keeps the root and the camera for the life of the process; here
    // the test's process goes on, so they are given up.
    if (sceneHandles.camera != nullptr) sceneHandles.camera->Release();
    if (sceneHandles.scene != nullptr) sceneHandles.scene->Release();
    sceneHandles = {};
    display::SetActiveDisplay(nullptr);
  }

  void OpenWindow() {
    ASSERT_NE(RegisterSaverClass(Instance()), 0);
    ASSERT_EQ(CreateSaverWindow(Instance(), SW_SHOWDEFAULT), 1);
    TakeQuit(0);  // whatever the creation queued
  }

  display::OffscreenDisplay* screen = nullptr;
};

TEST_F(SaverWindowTest, ClassIsBlackWithTheArrowAndNoIcon) {
  ASSERT_NE(RegisterSaverClass(Instance()), 0);
  const user::WindowClass* registered = user::FindWindowClass("vyn");
  ASSERT_NE(registered, nullptr);
  const WNDCLASSA& record = registered->record;
  EXPECT_EQ(record.style, CS_HREDRAW | CS_VREDRAW);
  EXPECT_EQ(record.lpfnWndProc, &SaverWindowProc);
  EXPECT_EQ(record.cbClsExtra, 0);
  EXPECT_EQ(record.cbWndExtra, 4);
  EXPECT_EQ(record.hInstance, Instance());
  EXPECT_EQ(record.hIcon, nullptr);
  EXPECT_EQ(record.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(static_cast<HGDIOBJ>(record.hbrBackground), GetStockObject(BLACK_BRUSH));
}

TEST_F(SaverWindowTest, WindowCoversThePrimaryScreenAndHidesThePointer) {
  OpenWindow();
  ASSERT_NE(saverWindow, nullptr);
  RECT area{};
  ASSERT_TRUE(GetWindowRect(saverWindow, &area));
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.right, kWidth);
  EXPECT_EQ(area.bottom, kHeight);
  ASSERT_EQ(screen->windows().size(), 1u);
  EXPECT_TRUE(screen->isWindowVisible(screen->windows()[0]));
  EXPECT_EQ(screen->windowTitle(screen->windows()[0]), "vyn");
  EXPECT_FALSE(screen->pointerVisible());
  // Painted with the class's black brush.
  EXPECT_EQ(screen->colorAt(kWidth / 2, kHeight / 2), 0u);
}

TEST_F(SaverWindowTest, WithoutTheClassNoWindowIsMade) {
  EXPECT_EQ(CreateSaverWindow(Instance(), SW_SHOWDEFAULT), 0);
  EXPECT_EQ(saverWindow, nullptr);
  EXPECT_TRUE(screen->windows().empty());
  EXPECT_TRUE(screen->pointerVisible());
}

struct MessageCase {
  const char* name;
  UINT message;
  WPARAM wParam;
  bool endsTheRun;
};

class SaverWindowInputTest : public SaverWindowTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(SaverWindowInputTest, EndsTheRunOnlyForKeysClicksAndNonClientInput) {
  OpenWindow();
  test::DebugCapture debug;
  const MessageCase& c = GetParam();
  SaverWindowProc(saverWindow, c.message, c.wParam, 0);

  EXPECT_EQ(IsWindow(saverWindow) == FALSE, c.endsTheRun);
  // The end of a run: the layer released, a quit with code 0, the pointer back.
  EXPECT_EQ(TakeQuit(0), c.endsTheRun);
  EXPECT_EQ(screen->pointerVisible(), c.endsTheRun);
  const bool cleanedUp = !debug.texts().empty() && debug.texts().front() == "KVR:Lumivex Cleanup\n";
  EXPECT_EQ(cleanedUp, c.endsTheRun);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SaverWindowInputTest,
    ::testing::Values(MessageCase{"KeyDown", WM_KEYDOWN, VK_SPACE, true},
                      MessageCase{"SysKeyDown", WM_SYSKEYDOWN, VK_MENU, true},
                      MessageCase{"LeftButton", WM_LBUTTONDOWN, MK_LBUTTON, true},
                      MessageCase{"RightButton", WM_RBUTTONDOWN, MK_RBUTTON, true},
                      MessageCase{"NonClientMove", WM_NCMOUSEMOVE, 0, true},
                      MessageCase{"NonClientLeft", WM_NCLBUTTONDOWN, 0, true},
                      MessageCase{"NonClientRight", WM_NCRBUTTONDOWN, 0, true},
                      MessageCase{"MouseMove", WM_MOUSEMOVE, 0, false},
                      MessageCase{"MiddleButton", WM_MBUTTONDOWN, MK_MBUTTON, false},
                      MessageCase{"KeyUp", WM_KEYUP, VK_SPACE, false},
                      MessageCase{"KeyMenu", WM_SYSCOMMAND, SC_KEYMENU, false},
                      // Any other system command is the default's: closing ends the run.
                      MessageCase{"SysClose", WM_SYSCOMMAND, SC_CLOSE, true},
                      MessageCase{"Close", WM_CLOSE, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaverWindowTest, KeyMenuIsSwallowedButOtherSystemCommandsAreNot) {
  OpenWindow();
  EXPECT_EQ(SaverWindowProc(saverWindow, WM_SYSCOMMAND, SC_KEYMENU, 0), 0);
  EXPECT_TRUE(IsWindow(saverWindow));
  // SC_CLOSE with a low bit set still reaches the default, which closes.
  SaverWindowProc(saverWindow, WM_SYSCOMMAND, SC_CLOSE | 0x0002, 0);
  EXPECT_FALSE(IsWindow(saverWindow));
}

TEST_F(SaverWindowTest, QuitFromElsewhereEndsTheLoopWithZeroAndReleasesTheMutex) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "vyn-saver-window-test");
  ASSERT_NE(mutex, nullptr);
  PostQuitMessage(5);
  EXPECT_EQ(EnterRunMode(Instance(), SW_SHOWDEFAULT, mutex), 0);
  // The loop ended at the quit: the window was never destroyed, so the
  // layer was not cleaned up and the pointer stays hidden.
  EXPECT_TRUE(IsWindow(saverWindow));
  EXPECT_EQ(lumivex::renderContext.active, 1);
  EXPECT_FALSE(screen->pointerVisible());
  EXPECT_FALSE(ReleaseMutex(mutex));  // already released
  CloseHandle(mutex);
}

TEST_F(SaverWindowTest, RunWithoutTheWindowEndsWithOneAndReleasesTheMutex) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "vyn-saver-window-test");
  ASSERT_NE(mutex, nullptr);
  ASSERT_NE(RegisterSaverClass(Instance()), 0);  // taken: the run cannot register
  EXPECT_EQ(EnterRunMode(Instance(), SW_SHOWDEFAULT, mutex), 1);
  EXPECT_TRUE(screen->windows().empty());
  EXPECT_FALSE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

}  // namespace
}  // namespace vyn::saver

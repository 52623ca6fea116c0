// Run mode: the saver window, the rendering start, the scene and the main
// loop that drives motion and frames until the user ends the run.
#include "RunMode.h"

#include "FrameTick.h"
#include "Lumivex.h"
#include "Motion.h"
#include "SaverWindow.h"
#include "Scene.h"
#include "kernel/Kernel.h"
#include "user/User.h"

namespace vyn::saver {

namespace {

// Handles every pending message. False once WM_QUIT has been taken: the run
// is over. While a quit is pending the queue never reports empty, so the
// drain always reaches it.
bool DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

}  // namespace

int StartRenderingLayer() {
  lumivex::Initialize();
  if (!lumivex::CreateDirectDrawWin(saverWindow)) {
    OutputDebugStringA("KVR:DDCreateError ");
    ExitProcess(1);
  }
  // When no Direct3D device can be made at all, CreateD3DRM ends the process
  // itself.
  if (!lumivex::CreateD3DRM()) {
    OutputDebugStringA("KVR:CreateDirect3DRM Error!!!! ");
    ExitProcess(1);
  }
  return 1;
}

int EnterRunMode(HINSTANCE instance, int showCommand, HANDLE mutex) {
  if (!RegisterSaverClass(instance) || !CreateSaverWindow(instance, showCommand)) {
    ReleaseMutex(mutex);
    return 1;
  }
  StartRenderingLayer();
  CreateScene();

  // No waiting anywhere: each pass is one drain, one motion step and one
  // frame, so the animation advances once per pass.
  while (DrainMessages()) {
    StepMotion();
    TickFrame();
  }
  // The quit code is not the exit code: the normal end of a run is 0.
  ReleaseMutex(mutex);
  return 0;
}

}  // namespace vyn::saver

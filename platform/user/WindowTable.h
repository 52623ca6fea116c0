// The windows of this process: records behind HWND handles.
#pragma once

#include <string>
#include <vector>

#include "display/Display.h"
#include "user/User.h"
#include "user/WindowClassRegistry.h"

namespace vyn::user {

struct Window {
  HWND handle = nullptr;
  const WindowClass* windowClass = nullptr;
  std::string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // the owner of a popup
  // Outer rectangle as last seen; the client area is the same (no frame).
  // The display has the last word: see CurrentRect.
  RECT screenRect{};
  WNDPROC procedure = nullptr;
  bool visible = false;
  bool created = false;     // WM_NCCREATE accepted: WM_DESTROY is due at the end
  bool sized = false;       // WM_SIZE sent on the first show
  bool needsPaint = false;  // the update region is not empty
  bool destroying = false;  // inside DestroyWindow
  display::NativeWindow native = display::NoNativeWindow;
};

// Adds a record and gives it a fresh handle, never one used before.
Window& AddWindow(Window record);

// The live window behind a handle, or null. The pointer is valid until the
// window is removed; code that calls a window procedure must look it up
// again afterwards, since the procedure may destroy windows.
Window* FindWindow(HWND handle);
HWND WindowOfNative(display::NativeWindow native);
void RemoveWindow(HWND handle);

// The window's rectangle on the screen now, as the display has placed it
// (a window manager or a hosting saver may move it); updates screenRect.
RECT CurrentRect(Window& window);

// Handles of all live windows, oldest first.
std::vector<HWND> AllWindows();
bool AnyWindows();
bool AnyWindowNeedsPaint();

}  // namespace vyn::user

// Creating, showing, painting and destroying windows, and their geometry.
#include <algorithm>

#include "kernel/Kernel.h"
#include "testctl/TestControls.h"
#include "user/ActiveWindow.h"
#include "user/MessageQueue.h"
#include "user/TerminationSignals.h"
#include "user/WindowTable.h"

namespace vyn::user {
namespace {

RECT RequestedRect(int x, int y, int width, int height) {
  // CW_USEDEFAULT for a popup means the corner of the screen and no size.
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;
  width = std::max(width, 0);
  height = std::max(height, 0);
  return RECT{x, y, x + width, y + height};
}

bool IsTopLevel(const Window& window) { return (window.style & WS_CHILD) == 0; }

// A borderless popup over the whole screen is what a screen saver opens: the
// display makes it full-screen and gives it the keyboard and the pointer.
bool CoversScreen(DWORD style, const RECT& rect, const display::Display& screen) {
  return (style & WS_POPUP) != 0 && (style & WS_CHILD) == 0 && rect.left <= 0 && rect.top <= 0 &&
         rect.right >= screen.width() && rect.bottom >= screen.height();
}

// Ends a creation that the window procedure refused.
HWND AbandonCreation(HWND handle) {
  DestroyWindow(handle);
  return nullptr;
}

int TopLevelWindowCount() {
  int count = 0;
  for (HWND handle : AllWindows())
    if (IsTopLevel(*FindWindow(handle))) ++count;
  return count;
}

}  // namespace
}  // namespace vyn::user

using namespace vyn::user;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  if (vyn::testctl::Enter("CreateWindowExA") != S_OK) return nullptr;
  const WindowClass* windowClass = FindWindowClass(className);
  if (windowClass == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent != nullptr && FindWindow(parent) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }

  vyn::display::Display& screen = vyn::display::ActiveDisplay();
  Window record;
  record.windowClass = windowClass;
  record.title = windowName != nullptr ? windowName : "";
  record.style = style & ~WS_VISIBLE;  // set by the first show
  record.exStyle = exStyle;
  record.parent = parent;
  record.procedure = windowClass->record.lpfnWndProc;
  record.screenRect = RequestedRect(x, y, width, height);
  vyn::display::WindowOptions options{record.screenRect,
                                      CoversScreen(style, record.screenRect, screen), record.title};
  record.native = screen.createWindow(options);
  if (record.native != vyn::display::NoNativeWindow)
    record.screenRect = screen.windowRect(record.native);
  bool firstTopLevel = IsTopLevel(record) && TopLevelWindowCount() == 0;
  HWND handle = AddWindow(std::move(record)).handle;
  if (firstTopLevel) WatchTerminationSignals(true);

  const RECT& rect = FindWindow(handle)->screenRect;
  CREATESTRUCTA create{param,         instance, menu,      parent,
                       static_cast<int>(rect.bottom - rect.top),
                       static_cast<int>(rect.right - rect.left),
                       static_cast<int>(rect.top), static_cast<int>(rect.left),
                       static_cast<LONG>(style), windowName, className, exStyle};
  LPARAM createParam = reinterpret_cast<LPARAM>(&create);
  if (SendMessageA(handle, WM_NCCREATE, 0, createParam) == FALSE) return AbandonCreation(handle);
  if (Window* created = FindWindow(handle)) created->created = true;
  if (SendMessageA(handle, WM_CREATE, 0, createParam) == -1) return AbandonCreation(handle);
  if (!IsWindow(handle)) return nullptr;
  if ((style & WS_VISIBLE) != 0) ShowWindow(handle, SW_SHOW);
  return IsWindow(handle) ? handle : nullptr;
}

BOOL ShowWindow(HWND handle, int showCommand) {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool wasVisible = window->visible;
  bool show = showCommand != SW_HIDE;
  if (show == wasVisible) return wasVisible ? TRUE : FALSE;

  SendMessageA(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if ((window = FindWindow(handle)) == nullptr) return wasVisible ? TRUE : FALSE;
  window->visible = show;
  if (show) window->style |= WS_VISIBLE;
  else window->style &= ~WS_VISIBLE;
  vyn::display::ActiveDisplay().showWindow(window->native, show);
  if (!show) {
    DeactivateWindow(handle);
    return TRUE;
  }
  // A window that appears must be painted; its first show also tells it its size.
  window->needsPaint = true;
  if (!window->sized) {
    window->sized = true;
    RECT r = CurrentRect(*window);
    SendMessageA(handle, WM_SIZE, SIZE_RESTORED,
                 static_cast<LPARAM>(((r.bottom - r.top) & 0xFFFF) << 16 | ((r.right - r.left) & 0xFFFF)));
  }
  if (IsWindow(handle) && IsTopLevel(*FindWindow(handle))) {
    SetActiveWindow(handle);
    SendMessageA(handle, WM_ACTIVATE, WA_ACTIVE, 0);
  }
  return FALSE;
}

BOOL UpdateWindow(HWND handle) {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Sends WM_PAINT at once, past the queue, when something needs painting.
  if (window->visible && window->needsPaint) SendMessageA(handle, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL DestroyWindow(HWND handle) {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (window->destroying) return TRUE;  // already on its way, from its own WM_DESTROY
  window->destroying = true;

  // Owned windows go first.
  for (HWND other : AllWindows()) {
    Window* owned = FindWindow(other);
    if (owned != nullptr && owned->parent == handle) DestroyWindow(other);
  }

  window = FindWindow(handle);
  vyn::display::Display& screen = vyn::display::ActiveDisplay();
  if (window->visible) {
    window->visible = false;
    screen.showWindow(window->native, false);
  }
  DeactivateWindow(handle);
  // WM_DESTROY and WM_NCDESTROY reach the window before DestroyWindow returns.
  // A window whose WM_NCCREATE failed only hears WM_NCDESTROY.
  if (window->created) SendMessageA(handle, WM_DESTROY, 0, 0);
  SendMessageA(handle, WM_NCDESTROY, 0, 0);

  window = FindWindow(handle);
  bool wasTopLevel = IsTopLevel(*window);
  if (window->native != vyn::display::NoNativeWindow) screen.destroyWindow(window->native);
  PurgeMessagesFor(handle);
  RemoveWindow(handle);
  if (wasTopLevel && TopLevelWindowCount() == 0) WatchTerminationSignals(false);
  return TRUE;
}

BOOL IsWindow(HWND handle) { return FindWindow(handle) != nullptr ? TRUE : FALSE; }

BOOL GetWindowRect(HWND handle, LPRECT rect) {
  Window* window = FindWindow(handle);
  if (window == nullptr || rect == nullptr) {
    SetLastError(window == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = CurrentRect(*window);
  return TRUE;
}

// Our windows have no frame or caption: the client area is the whole window.
BOOL GetClientRect(HWND handle, LPRECT rect) {
  RECT outer;
  if (!GetWindowRect(handle, &outer)) return FALSE;
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = RECT{0, 0, outer.right - outer.left, outer.bottom - outer.top};
  return TRUE;
}

BOOL ClientToScreen(HWND handle, LPPOINT point) {
  RECT outer;
  if (!GetWindowRect(handle, &outer)) return FALSE;
  if (point == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  point->x += outer.left;
  point->y += outer.top;
  return TRUE;
}

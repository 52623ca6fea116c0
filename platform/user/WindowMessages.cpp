// Sending messages to a window procedure, and the default procedure.
#include "gdi/StockObjects.h"
#include "kernel/Kernel.h"
#include "user/WindowPainting.h"
#include "user/WindowTable.h"

namespace {

using vyn::user::FindWindow;
using vyn::user::Window;

// WM_ERASEBKGND: the class background brush fills the client area.
LRESULT EraseBackground(Window& window) {
  COLORREF color;
  HBRUSH brush = window.windowClass->record.hbrBackground;
  if (brush == nullptr || !vyn::gdi::StockBrushColor(brush, &color)) return 0;
  vyn::user::FillClientArea(window, color);
  return 1;
}

// WM_PAINT: erase the background and validate the window.
LRESULT Paint(HWND handle) {
  Window* window = FindWindow(handle);
  if (window->needsPaint) {
    window->needsPaint = false;  // validated first, as BeginPaint does
    SendMessageA(handle, WM_ERASEBKGND, 0, 0);
  }
  return 0;
}

LRESULT SystemCommand(HWND handle, WPARAM command) {
  // The low four bits of a system command are used by the system itself.
  if ((command & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WNDPROC procedure = window->procedure;  // the record may go away during the call
  return procedure(handle, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindow(handle);
  if (window == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (create != nullptr && create->lpszName != nullptr) window->title = create->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_PAINT:
      return Paint(handle);
    case WM_ERASEBKGND:
      return EraseBackground(*window);
    case WM_SYSKEYDOWN:
      // Alt+F4 asks the window to close.
      if (wParam == VK_F4 && (lParam & (LPARAM{1} << 29)) != 0)
        PostMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SYSCOMMAND:
      return SystemCommand(handle, wParam);
    default:
      return 0;
  }
}

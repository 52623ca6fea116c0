#include "SaverWindow.h"

#include "Lumivex.h"
#include "gdi/Gdi.h"
#include "user/User.h"

namespace vyn::saver {

HWND saverWindow = nullptr;

namespace {

constexpr char kClassName[] = "vyn";
constexpr char kWindowTitle[] = "vyn";

}  // namespace

ATOM RegisterSaverClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = SaverWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "AppIcon");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass);
}

int CreateSaverWindow(HINSTANCE instance, int showCommand) {
  saverWindow = CreateWindowExA(0, kClassName, kWindowTitle, WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (saverWindow == nullptr) return 0;
  ShowWindow(saverWindow, showCommand);
  // The class's black brush paints the window before anything is rendered.
  UpdateWindow(saverWindow);
  ShowCursor(FALSE);
  return 1;
}

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      lumivex::Cleanup();
      PostQuitMessage(0);
      ShowCursor(TRUE);
      return 0;
    // Mouse motion over the window itself (WM_MOUSEMOVE) and the middle
    // button do not end the run.
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      // Alt alone would open the window menu: swallow exactly SC_KEYMENU.
      if (wParam == SC_KEYMENU) return 0;
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace vyn::saver

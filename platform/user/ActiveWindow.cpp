#include "user/ActiveWindow.h"

namespace vyn::user {
namespace {
HWND active = nullptr;
}

void SetActiveWindow(HWND window) { active = window; }

void DeactivateWindow(HWND window) {
  if (active == window) active = nullptr;
}

}  // namespace vyn::user

HWND GetActiveWindow() { return vyn::user::active; }

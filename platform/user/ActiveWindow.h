// The active window: the top-level window last shown with activation.
#pragma once

#include "user/User.h"

namespace vyn::user {

void SetActiveWindow(HWND window);
// Clears the active window when it is `window`.
void DeactivateWindow(HWND window);

}  // namespace vyn::user

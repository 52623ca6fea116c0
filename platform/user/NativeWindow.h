// The display's window behind a window handle, for code below the window
// layer that must address it (tests reading the X window, for one).
#pragma once

#include "display/Display.h"
#include "user/User.h"

namespace vyn::user {

// NoNativeWindow for a handle that is no window.
display::NativeWindow NativeWindowOf(HWND window);

}  // namespace vyn::user

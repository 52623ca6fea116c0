// Where Windows' screen lies on the X screen: the primary monitor of RandR,
// or the whole X screen when RandR names none.
#pragma once

#include <X11/Xlib.h>

namespace vyn::display::x11 {

struct Monitor {
  int x, y;            // top-left corner in root coordinates: Windows' (0, 0)
  int width, height;
  double refreshRate;  // of the monitor's mode, in hertz
};

Monitor FindPrimaryMonitor(::Display* connection, int screen);

}  // namespace vyn::display::x11

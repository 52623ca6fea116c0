// The pixel format of the X screen's default visual.
#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "display/Display.h"

namespace vyn::display::x11 {

// The format of images of the default visual: 32 bits per pixel at depth 24
// (as servers store it), 16 at depth 16 or 15. Nothing for visuals this
// display cannot draw on (not TrueColor, or an unusual layout).
std::optional<PixelFormat> DefaultVisualFormat(::Display* connection, int screen);

}  // namespace vyn::display::x11

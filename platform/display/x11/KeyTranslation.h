// X key symbols as Windows virtual-key codes.
#pragma once

#include <X11/X.h>

namespace vyn::display::x11 {

// The virtual key of a key symbol (as given for the key's unshifted level);
// 0 for symbols with no virtual key.
unsigned VirtualKeyOf(KeySym symbol);

bool IsAltKey(KeySym symbol);

}  // namespace vyn::display::x11

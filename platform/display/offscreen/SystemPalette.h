// The system palette of an 8-bit screen as Windows sets it up: the 20 static
// colours in entries 0-9 and 246-255, and the entries between them free for
// applications (filled here with a colour cube and a grey ramp, so that an
// 8-bit picture of the screen still looks plausible).
#pragma once

#include "kernel/Win32Types.h"

namespace vyn::display {

void FillDefaultSystemPalette(PALETTEENTRY (&entries)[256]);

}  // namespace vyn::display

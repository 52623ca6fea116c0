// Test control: makes one surface lost, as if the system had taken its
// memory. IsLost then reports DDERR_SURFACELOST and blits from or to it fail
// until Restore. (To lose every surface of the screen, use the offscreen
// display's loseSurfaces.) Never used by the saver.
#pragma once

#include "ddraw/DDraw.h"

namespace vyn::ddraw {

// False for a surface this platform did not make.
bool MakeSurfaceLost(IDirectDrawSurface* surface);

}  // namespace vyn::ddraw

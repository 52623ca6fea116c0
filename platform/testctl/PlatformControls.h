// Every test control of the platform in one include: fault injection and the
// call record (TestControls.h), and the controls that live with the state
// they change. Header-only, so that no library depends on another through it.
// Never used by the saver.
#pragma once

#include "d3d/DeviceListControl.h"
#include "ddraw/SurfaceLossControl.h"
#include "ddraw/SurfaceMemoryControl.h"
#include "display/offscreen/OffscreenControl.h"
#include "testctl/TestControls.h"

namespace vyn::testctl {

// Puts the platform's test state back to its start: no failures armed, no
// calls recorded, the software devices alone. The display is left alone
// (see UseOffscreenDisplay).
inline void ResetPlatform() {
  Reset();
  d3d::ResetDevices();
}

}  // namespace vyn::testctl

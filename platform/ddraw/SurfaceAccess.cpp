// How other parts of the platform reach a surface's memory and state.
#include "ddraw/Surface.h"
#include "ddraw/SurfaceLossControl.h"
#include "ddraw/SurfaceMemory.h"

namespace vyn::ddraw {

SurfaceMemory* MemoryOf(IDirectDrawSurface* surface) {
  Surface* ours = SurfaceFrom(surface);
  if (ours == nullptr || ours->kind() == SurfaceKind::Primary) return nullptr;
  return &ours->memory();
}

IDirectDrawSurface* AttachedZBuffer(IDirectDrawSurface* surface) {
  Surface* ours = SurfaceFrom(surface);
  return ours != nullptr ? ours->attachedZBuffer() : nullptr;
}

bool MakeSurfaceLost(IDirectDrawSurface* surface) {
  Surface* ours = SurfaceFrom(surface);
  if (ours == nullptr) return false;
  ours->makeLost();
  return true;
}

}  // namespace vyn::ddraw

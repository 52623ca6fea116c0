// The rendering context: its reset, its single way back (Cleanup) and the
// switch that lets frames be drawn.
#include "Lumivex.h"

#include "kernel/Kernel.h"

namespace vyn::lumivex {

RenderContext renderContext{};
int searchStopFlag = 0;

namespace {

// Gives up the reference held in `field`, if any, and forgets it at once so
// that no field ever points at a released object.
template <class Interface>
void ReleaseField(Interface*& field) {
  if (field == nullptr) return;
  Interface* held = field;
  field = nullptr;
  held->Release();
}

}  // namespace

int Initialize() {
  OutputDebugStringA("KVR:Lumivex Initialize\n");
  renderContext = RenderContext{};
  renderContext.width = 320;
  renderContext.height = 240;
  renderContext.bitsPerPixel = 16;
  searchStopFlag = 0;
  return 1;
}

int Cleanup() {
  OutputDebugStringA("KVR:Lumivex Cleanup\n");
  RenderContext& c = renderContext;
  // Dependants before what they depend on: the viewport before its device,
  // the devices before the surfaces they draw on, the DirectDraw object last.
  ReleaseField(c.viewport);
  ReleaseField(c.retainedModeDevice);
  ReleaseField(c.device);
  ReleaseField(c.palette);
  ReleaseField(c.zBuffer);
  ReleaseField(c.retainedMode);
  ReleaseField(c.direct3D);
  ReleaseField(c.backBuffer);
  ReleaseField(c.clipper);
  ReleaseField(c.primarySurface);
  ReleaseField(c.directDraw);
  c.active = 0;
  return 1;
}

int SetActive(int state) {
  if (state == 0 || state == 1) renderContext.active = state;
  return 1;
}

}  // namespace vyn::lumivex

// The one viewport through which the scene is seen: the whole device, looking
// through the camera frame, with the back clipping plane far enough for the
// solid's whole journey.
#include "Lumivex.h"

#include "LayerFailure.h"
#include "ProgressLine.h"
#include "kernel/Kernel.h"

namespace vyn::lumivex {

int KVRViewport(LPDIRECT3DRMFRAME2 camera) {
  OutputDebugStringA("KVR:KVRViewport\n");
  RenderContext& c = renderContext;
  WriteProgressLine("KVR:Viewport width:%d height:%d\n", c.width, c.height);

  // Without a Retained Mode object (an earlier failure released everything)
  // the viewport cannot be made; that is reported like a refused call.
  HRESULT result = D3DRMERR_BADOBJECT;
  if (c.retainedMode != nullptr)
    result = c.retainedMode->CreateViewport(c.retainedModeDevice, camera, 0, 0,
                                            static_cast<DWORD>(c.width),
                                            static_cast<DWORD>(c.height), &c.viewport);
  if (result != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, result);
    return CleanupAndFail();
  }
  OutputDebugStringA("phase 3\n");

  result = c.viewport != nullptr ? c.viewport->SetBack(5000.0f) : D3DRMERR_BADOBJECT;
  if (result != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, result);
    return CleanupAndFail();
  }
  OutputDebugStringA("phase 4\n");
  return 1;
}

}  // namespace vyn::lumivex

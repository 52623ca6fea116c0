// The per-frame work of the layer: bring back lost surfaces, draw the scene
// into the back buffer, and copy the back buffer onto the window.
#include "Lumivex.h"

#include "LayerFailure.h"

namespace vyn::lumivex {

namespace {

// A lost surface is restored and the whole viewport redrawn on the next
// update, since what the device kept of the old image is gone.
void RestoreIfLost(LPDIRECTDRAWSURFACE surface) {
  RenderContext& c = renderContext;
  if (surface->IsLost() == DD_OK) return;
  surface->Restore();
  if (c.viewport != nullptr)
    c.viewport->ForceUpdate(0, 0, static_cast<DWORD>(c.width), static_cast<DWORD>(c.height));
}

}  // namespace

int RestoreSurfaces() {
  RenderContext& c = renderContext;
  if (c.active == 0 || c.primarySurface == nullptr) return 1;
  RestoreIfLost(c.primarySurface);
  if (c.zBuffer != nullptr) RestoreIfLost(c.zBuffer);
  return 1;
}

int RenderScene(LPDIRECT3DRMFRAME frame) {
  RenderContext& c = renderContext;
  if (c.active == 0 || frame == nullptr) return 0;
  // The layer can be switched on after a failed viewport set-up released
  // everything; a missing viewport or device is reported as a refused call
  // instead of being used.
  HRESULT result = c.viewport != nullptr ? c.viewport->Clear() : D3DRMERR_BADOBJECT;
  if (result != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, result);
    return CleanupAndFail();
  }
  result = c.viewport->Render(frame);
  if (result != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, result);
    return CleanupAndFail();
  }
  result = c.retainedModeDevice != nullptr ? c.retainedModeDevice->Update() : D3DRMERR_BADOBJECT;
  if (result != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, result);
    return CleanupAndFail();
  }
  return 1;
}

int PresentFrame() {
  RenderContext& c = renderContext;
  if (c.active == 0) return 0;
  RECT source{0, 0, c.width, c.height};
  // DDBLT_WAIT: a busy blitter makes the call wait rather than fail. The
  // clipper on the primary surface keeps the copy inside the window.
  HRESULT result = DDERR_INVALIDOBJECT;
  if (c.primarySurface != nullptr && c.backBuffer != nullptr)
    result = c.primarySurface->Blt(&c.windowRect, c.backBuffer, &source, DDBLT_WAIT, nullptr);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return CleanupAndFail();
  }
  return 1;
}

}  // namespace vyn::lumivex

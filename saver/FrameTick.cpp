#include "FrameTick.h"

#include "Lumivex.h"
#include "Scene.h"

namespace vyn::saver {

int TickFrame() {
  LPDIRECT3DRMFRAME2 scene = sceneHandles.scene;
  if (!lumivex::renderContext.active || scene == nullptr) return 1;

  lumivex::RestoreSurfaces();
  const HRESULT moved = scene->Move(1.0f);
  if (moved != D3DRM_OK) {
    VYN_REPORT(ReportD3DRMError, moved);
    lumivex::Cleanup();
    return 0;
  }
  lumivex::RenderScene(scene);
  lumivex::PresentFrame();
  return 1;
}

}  // namespace vyn::saver

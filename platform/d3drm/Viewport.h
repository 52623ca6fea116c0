// A viewport: a rectangle of a device seen through a camera frame, with the
// projection (front and back planes, field of view) and the per-frame
// operations Clear, Render and ForceUpdate.
#pragma once

#include <vector>

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"
#include "d3drm/MeshDrawer.h"
#include "d3drm/SceneWalk.h"

namespace vyn::d3drm {

class Device;
class Frame;

class Viewport final : public com::ComObject<IDirect3DRMViewport> {
 public:
  // Holds the device and the camera for its lifetime.
  Viewport(Device* device, Frame* camera, int x, int y, int width, int height);
  ~Viewport() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT Clear() override;
  HRESULT ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) override;
  D3DVALUE GetBack() override;
  D3DVALUE GetField() override;
  D3DVALUE GetFront() override;
  HRESULT Render(LPDIRECT3DRMFRAME frame) override;
  HRESULT SetBack(D3DVALUE back) override;

  // The rectangle of the device that this viewport covers.
  RECT Area() const { return {x_, y_, x_ + width_, y_ + height_}; }

  // The projection of this viewport: the field applies to its larger side.
  Projection MakeProjection() const;

 private:
  Device* device_;
  Frame* camera_;
  int x_, y_, width_, height_;
  D3DVALUE front_ = 1.0f;
  D3DVALUE back_ = 100.0f;
  D3DVALUE field_ = 0.5f;

  SceneLights lights_;
  std::vector<VisualInstance> visuals_;
  MeshDrawer drawer_;
};

}  // namespace vyn::d3drm

#include "d3drm/Viewport.h"

#include <algorithm>
#include <cmath>

#include "d3drm/Device.h"
#include "d3drm/Frame.h"
#include "d3drm/Iids.h"
#include "d3drm/Mesh.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

Viewport::Viewport(Device* device, Frame* camera, int x, int y, int width, int height)
    : device_(device), camera_(camera), x_(x), y_(y), width_(width), height_(height) {
  device_->AddRefInternal();
  camera_->AddRefInternal();
}

Viewport::~Viewport() {
  camera_->ReleaseInternal();
  device_->ReleaseInternal();
}

HRESULT Viewport::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMViewport* self = this;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Viewport, self}});
}

Projection Viewport::MakeProjection() const {
  Projection p;
  p.scale = front_ / field_ * static_cast<float>(std::max(width_, height_)) * 0.5f;
  p.cx = static_cast<float>(x_) + static_cast<float>(width_) * 0.5f;
  p.cy = static_cast<float>(y_) + static_cast<float>(height_) * 0.5f;
  p.front = front_;
  p.back = back_;
  return p;
}

HRESULT Viewport::Clear() {
  if (HRESULT hr = testctl::Enter("IDirect3DRMViewport::Clear", this); hr != S_OK) return hr;
  device_->ClearArea({x_, y_, x_ + width_, y_ + height_});
  return D3DRM_OK;
}

HRESULT Viewport::ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMViewport::ForceUpdate", this); hr != S_OK) return hr;
  if (x2 < x1 || y2 < y1) return D3DRMERR_BADVALUE;
  const auto clampToInt = [](DWORD v) { return static_cast<int>(std::min<DWORD>(v, 1u << 30)); };
  device_->ForceArea({clampToInt(x1), clampToInt(y1), clampToInt(x2), clampToInt(y2)});
  return D3DRM_OK;
}

D3DVALUE Viewport::GetBack() {
  testctl::Enter("IDirect3DRMViewport::GetBack", this);
  return back_;
}

D3DVALUE Viewport::GetField() {
  testctl::Enter("IDirect3DRMViewport::GetField", this);
  return field_;
}

D3DVALUE Viewport::GetFront() {
  testctl::Enter("IDirect3DRMViewport::GetFront", this);
  return front_;
}

HRESULT Viewport::SetBack(D3DVALUE back) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMViewport::SetBack", this); hr != S_OK) return hr;
  if (!(back > front_) || !std::isfinite(back)) return D3DRMERR_BADVALUE;
  back_ = back;
  return D3DRM_OK;
}

HRESULT Viewport::Render(LPDIRECT3DRMFRAME frame) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMViewport::Render", this); hr != S_OK) return hr;
  const Frame* top = Frame::From(frame);
  if (top == nullptr) return D3DRMERR_BADOBJECT;
  raster::RenderTarget target;
  if (!device_->AcquireTarget(target)) return D3DRMERR_BADDEVICE;

  WalkScene(*top, lights_, visuals_);
  const Placement worldToView = Inverse(camera_->World());
  const Projection projection = MakeProjection();
  raster::DrawList& list = device_->drawList();
  list.Clear();
  const D3DRMRENDERQUALITY deviceQuality = device_->quality();
  for (const VisualInstance& visual : visuals_) {
    const MeshGeometry& mesh = visual.mesh->geometry();
    const RenderStyle style =
        EffectiveStyle(mesh.quality, deviceQuality, device_->colorModel(), device_->shades());
    drawer_.Draw(mesh, visual.world, worldToView, lights_, projection, style, target.packing, list,
                 device_->RenderPool());
  }
  device_->Draw(list, {x_, y_, x_ + width_, y_ + height_});
  return D3DRM_OK;
}

}  // namespace vyn::d3drm

// A frame of the scene graph: a placement relative to its parent, a linear
// and an angular velocity that Move applies, and what it holds (child frames,
// lights, visuals). A frame keeps everything it holds alive.
#pragma once

#include <vector>

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"
#include "d3drm/Transform.h"

namespace vyn::d3drm {

class Light;
class Mesh;

class Frame final : public com::ComObject<IDirect3DRMFrame2> {
 public:
  // A new frame at the identity placement of `parent` (or a scene root).
  explicit Frame(Frame* parent);
  ~Frame() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;

  HRESULT AddLight(LPDIRECT3DRMLIGHT light) override;
  HRESULT AddVisual(IUnknown* visual) override;
  HRESULT GetOrientation(LPDIRECT3DRMFRAME reference, LPD3DVECTOR direction, LPD3DVECTOR up) override;
  HRESULT GetPosition(LPDIRECT3DRMFRAME reference, LPD3DVECTOR position) override;
  HRESULT Move(D3DVALUE delta) override;
  HRESULT SetOrientation(LPDIRECT3DRMFRAME reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux,
                         D3DVALUE uy, D3DVALUE uz) override;
  HRESULT SetPosition(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
  HRESULT SetRotation(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                      D3DVALUE theta) override;
  HRESULT SetVelocity(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                      BOOL withRotation) override;

  // Our frame behind an interface pointer, or null for a foreign one.
  static Frame* From(IDirect3DRMFrame* frame);

  Frame* parent() const { return parent_; }
  const std::vector<Frame*>& children() const { return children_; }
  const std::vector<Light*>& lights() const { return lights_; }
  const std::vector<Mesh*>& visuals() const { return visuals_; }
  const Placement& local() const { return local_; }
  // The placement relative to the root of this frame's tree.
  Placement World() const;

 private:
  // The placement that a reference frame's coordinates stand for, in the
  // coordinates of this frame's parent (null reference: the parent itself).
  Placement ReferenceInParent(IDirect3DRMFrame* reference, HRESULT& result) const;
  void ApplyMotion(double delta);

  Frame* parent_;
  std::vector<Frame*> children_;
  std::vector<Light*> lights_;
  std::vector<Mesh*> visuals_;

  Placement local_;
  Vec3d velocity_{};            // per unit of time, in the parent's coordinates
  bool velocityInFrame_ = false;  // velocity given in this frame's own axes instead
  Vec3d rotationAxis_{0, 0, 1};   // unit, in the parent's coordinates
  double rotationAngle_ = 0;      // radians per unit of time
  unsigned movesSinceOrthonormal_ = 0;
};

}  // namespace vyn::d3drm

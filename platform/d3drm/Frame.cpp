#include "d3drm/Frame.h"

#include "d3drm/Iids.h"
#include "d3drm/Light.h"
#include "d3drm/Mesh.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

namespace {

// Rotations by one fixed axis keep a basis orthonormal up to rounding; a
// re-orthonormalisation now and then keeps a long run from drifting.
constexpr unsigned MovesBetweenOrthonormalisation = 256;

Vec3d ToVec(D3DVALUE x, D3DVALUE y, D3DVALUE z) { return {x, y, z}; }
D3DVECTOR ToD3D(Vec3d v) {
  return {static_cast<D3DVALUE>(v.x), static_cast<D3DVALUE>(v.y), static_cast<D3DVALUE>(v.z)};
}

}  // namespace

Frame::Frame(Frame* parent) : parent_(parent) {
  if (parent_ != nullptr) {
    parent_->children_.push_back(this);
    AddRefInternal();  // the parent's reference
  }
}

Frame::~Frame() {
  for (Frame* child : children_) {
    child->parent_ = nullptr;
    child->ReleaseInternal();
  }
  for (Light* light : lights_) light->ReleaseInternal();
  for (Mesh* mesh : visuals_) mesh->ReleaseInternal();
}

HRESULT Frame::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMFrame2* self = this;
  return com::QueryFor(self, iid, object,
                       {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Visual, self},
                        {&IID_Frame, self}, {&IID_Frame2, self}});
}

Frame* Frame::From(IDirect3DRMFrame* frame) {
  return frame == nullptr ? nullptr : dynamic_cast<Frame*>(static_cast<IUnknown*>(frame));
}

Placement Frame::World() const {
  Placement world = local_;
  for (const Frame* up = parent_; up != nullptr; up = up->parent_) world = Compose(world, up->local_);
  return world;
}

Placement Frame::ReferenceInParent(IDirect3DRMFrame* reference, HRESULT& result) const {
  result = D3DRM_OK;
  if (reference == nullptr) return Placement{};
  const Frame* ref = From(reference);
  if (ref == nullptr) {
    result = D3DRMERR_BADOBJECT;
    return Placement{};
  }
  const Placement refWorld = ref->World();
  if (parent_ == nullptr) return refWorld;
  return Compose(refWorld, Inverse(parent_->World()));
}

HRESULT Frame::AddLight(LPDIRECT3DRMLIGHT light) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::AddLight", this); hr != S_OK) return hr;
  Light* ours = light == nullptr ? nullptr : dynamic_cast<Light*>(static_cast<IUnknown*>(light));
  if (ours == nullptr) return D3DRMERR_BADOBJECT;
  ours->AddRefInternal();
  lights_.push_back(ours);
  return D3DRM_OK;
}

HRESULT Frame::AddVisual(IUnknown* visual) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::AddVisual", this); hr != S_OK) return hr;
  Mesh* mesh = visual == nullptr ? nullptr : dynamic_cast<Mesh*>(visual);
  if (mesh == nullptr) return D3DRMERR_BADOBJECT;
  mesh->AddRefInternal();
  visuals_.push_back(mesh);
  return D3DRM_OK;
}

HRESULT Frame::GetOrientation(LPDIRECT3DRMFRAME reference, LPD3DVECTOR direction, LPD3DVECTOR up) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::GetOrientation", this); hr != S_OK) return hr;
  if (direction == nullptr || up == nullptr) return D3DRMERR_BADVALUE;
  HRESULT result;
  const Placement ref = ReferenceInParent(reference, result);
  if (result != D3DRM_OK) return result;
  *direction = ToD3D(ref.RotateIn(local_.axis[2]));
  *up = ToD3D(ref.RotateIn(local_.axis[1]));
  return D3DRM_OK;
}

HRESULT Frame::GetPosition(LPDIRECT3DRMFRAME reference, LPD3DVECTOR position) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::GetPosition", this); hr != S_OK) return hr;
  if (position == nullptr) return D3DRMERR_BADVALUE;
  HRESULT result;
  const Placement ref = ReferenceInParent(reference, result);
  if (result != D3DRM_OK) return result;
  *position = ToD3D(ref.PointIn(local_.origin));
  return D3DRM_OK;
}

HRESULT Frame::SetOrientation(LPDIRECT3DRMFRAME reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz,
                              D3DVALUE ux, D3DVALUE uy, D3DVALUE uz) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::SetOrientation", this); hr != S_OK) return hr;
  HRESULT result;
  const Placement ref = ReferenceInParent(reference, result);
  if (result != D3DRM_OK) return result;
  Vec3d axis[3];
  if (!BasisFromDirectionUp(ref.RotateOut(ToVec(dx, dy, dz)), ref.RotateOut(ToVec(ux, uy, uz)), axis)) {
    return D3DRMERR_BADVALUE;
  }
  for (int i = 0; i < 3; ++i) local_.axis[i] = axis[i];
  return D3DRM_OK;
}

HRESULT Frame::SetPosition(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::SetPosition", this); hr != S_OK) return hr;
  HRESULT result;
  const Placement ref = ReferenceInParent(reference, result);
  if (result != D3DRM_OK) return result;
  local_.origin = ref.PointOut(ToVec(x, y, z));
  return D3DRM_OK;
}

HRESULT Frame::SetRotation(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                           D3DVALUE theta) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::SetRotation", this); hr != S_OK) return hr;
  HRESULT result;
  const Placement ref = ReferenceInParent(reference, result);
  if (result != D3DRM_OK) return result;
  const Vec3d axis = ref.RotateOut(ToVec(x, y, z));
  if (Length(axis) == 0) {
    if (theta != 0) return D3DRMERR_BADVALUE;
    rotationAngle_ = 0;
    return D3DRM_OK;
  }
  rotationAxis_ = Normalized(axis);
  rotationAngle_ = theta;
  return D3DRM_OK;
}

HRESULT Frame::SetVelocity(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                           BOOL withRotation) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::SetVelocity", this); hr != S_OK) return hr;
  HRESULT result;
  const Placement ref = ReferenceInParent(reference, result);
  if (result != D3DRM_OK) return result;
  const Vec3d inParent = ref.RotateOut(ToVec(x, y, z));
  // With rotation, the velocity turns with the frame: keep it in the frame's
  // own axes. Without, it stays fixed in the parent's.
  velocityInFrame_ = withRotation != FALSE;
  velocity_ = velocityInFrame_ ? local_.RotateIn(inParent) : inParent;
  return D3DRM_OK;
}

HRESULT Frame::Move(D3DVALUE delta) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMFrame::Move", this); hr != S_OK) return hr;
  // Iterative, so that a deep hierarchy cannot exhaust the stack.
  std::vector<Frame*> pending{this};
  while (!pending.empty()) {
    Frame* frame = pending.back();
    pending.pop_back();
    frame->ApplyMotion(delta);
    pending.insert(pending.end(), frame->children_.begin(), frame->children_.end());
  }
  return D3DRM_OK;
}

void Frame::ApplyMotion(double delta) {
  if (rotationAngle_ != 0) {
    const double angle = rotationAngle_ * delta;
    for (Vec3d& axis : local_.axis) axis = RotateAbout(axis, rotationAxis_, angle);
    if (++movesSinceOrthonormal_ >= MovesBetweenOrthonormalisation) {
      Orthonormalize(local_.axis);
      movesSinceOrthonormal_ = 0;
    }
  }
  const Vec3d velocity = velocityInFrame_ ? local_.RotateOut(velocity_) : velocity_;
  local_.origin = local_.origin + velocity * delta;
}

}  // namespace vyn::d3drm

#include "ddraw/Clipper.h"

#include "user/User.h"

namespace vyn::ddraw {

HRESULT Clipper::QueryInterface(REFIID iid, void** object) {
  auto* self = static_cast<IDirectDrawClipper*>(this);
  if (HRESULT hr = testctl::Enter("IDirectDrawClipper::QueryInterface", self)) return hr;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_IDirectDrawClipper, self}});
}

HRESULT Clipper::SetHWnd(DWORD flags, HWND window) {
  if (HRESULT hr = testctl::Enter("IDirectDrawClipper::SetHWnd", static_cast<IDirectDrawClipper*>(this)))
    return hr;
  if (flags != 0) return DDERR_INVALIDPARAMS;
  window_ = window;
  return DD_OK;
}

HRESULT Clipper::GetHWnd(HWND* window) {
  if (HRESULT hr = testctl::Enter("IDirectDrawClipper::GetHWnd", static_cast<IDirectDrawClipper*>(this)))
    return hr;
  if (window == nullptr) return DDERR_INVALIDPARAMS;
  *window = window_;
  return DD_OK;
}

HRESULT Clipper::visibleScreenRect(RECT& rect) const {
  if (window_ == nullptr) return DDERR_NOCLIPLIST;
  RECT client{};
  POINT origin{0, 0};
  if (!GetClientRect(window_, &client) || !ClientToScreen(window_, &origin)) {
    rect = RECT{};
    return DD_OK;
  }
  rect = RECT{client.left + origin.x, client.top + origin.y, client.right + origin.x,
              client.bottom + origin.y};
  return DD_OK;
}

Clipper* ClipperFrom(IDirectDrawClipper* clipper) { return dynamic_cast<Clipper*>(clipper); }

}  // namespace vyn::ddraw

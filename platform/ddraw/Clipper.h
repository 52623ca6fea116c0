// A clipper bound to a window: blits to the primary surface that carries it
// reach only the window's client area on the screen.
#pragma once

#include "com/ComObject.h"
#include "ddraw/DDraw.h"

namespace vyn::ddraw {

class Clipper final : public com::ComObject<IDirectDrawClipper> {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT SetHWnd(DWORD flags, HWND window) override;
  HRESULT GetHWnd(HWND* window) override;

  // The window's client area in screen coordinates, asked of the window layer
  // at each call so that a moved window is followed. DDERR_NOCLIPLIST when no
  // window is bound; an empty rectangle when the window no longer exists.
  HRESULT visibleScreenRect(RECT& rect) const;

 private:
  HWND window_ = nullptr;
};

// Our clipper behind an interface pointer, or null for a foreign one.
Clipper* ClipperFrom(IDirectDrawClipper* clipper);

}  // namespace vyn::ddraw

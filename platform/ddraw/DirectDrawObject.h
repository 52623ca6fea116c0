// The DirectDraw object of the display: it makes surfaces, clippers and
// palettes, and answers QueryInterface for IDirect3D2 with the Direct3D
// interface of the same display (platform/d3d).
#pragma once

#include "com/ComObject.h"
#include "d3d/D3D.h"
#include "ddraw/DDraw.h"
#include "display/Display.h"

namespace vyn::ddraw {

class DirectDrawObject final : public com::ComObject<IDirectDraw> {
 public:
  explicit DirectDrawObject(display::Display& display) : display_(display) {}

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
  HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                        IUnknown* outer) override;
  HRESULT CreateSurface(DDSURFACEDESC* description, LPDIRECTDRAWSURFACE* surface, IUnknown* outer) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;

  display::Display& display() const { return display_; }
  HWND cooperativeWindow() const { return window_; }

  // The live Direct3D interface of this object, kept so that every query
  // answers with the same one. It holds a reference on this object and
  // clears the slot when it goes.
  IDirect3D2* direct3D() const { return direct3D_; }
  void setDirect3D(IDirect3D2* direct3D) { direct3D_ = direct3D; }

 private:
  display::Display& display_;
  IDirect3D2* direct3D_ = nullptr;
  HWND window_ = nullptr;
  DWORD cooperativeLevel_ = 0;
};

}  // namespace vyn::ddraw

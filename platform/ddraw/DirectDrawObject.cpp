#include "ddraw/DirectDrawObject.h"

#include <new>

#include "d3d/Direct3DInterface.h"
#include "ddraw/Clipper.h"
#include "ddraw/Palette.h"
#include "ddraw/Surface.h"
#include "ddraw/SurfaceDescription.h"

namespace vyn::ddraw {

HRESULT DirectDrawObject::QueryInterface(REFIID iid, void** object) {
  auto* self = static_cast<IDirectDraw*>(this);
  if (HRESULT hr = testctl::Enter("IDirectDraw::QueryInterface", self)) return hr;
  if (object != nullptr && iid == IID_IDirect3D2) return d3d::QueryDirect3D2(*this, object);
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_IDirectDraw, self}});
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
  if (HRESULT hr = testctl::Enter("IDirectDraw::SetCooperativeLevel", static_cast<IDirectDraw*>(this)))
    return hr;
  // Windowed use only: the display mode is never taken over.
  const bool normal = (flags & DDSCL_NORMAL) != 0;
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  if (normal == exclusive) return DDERR_INVALIDPARAMS;
  if (exclusive || (flags & DDSCL_FULLSCREEN)) return DDERR_UNSUPPORTED;
  window_ = window;
  cooperativeLevel_ = flags;
  return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(DDSURFACEDESC* description, LPDIRECTDRAWSURFACE* surface,
                                        IUnknown* outer) {
  if (HRESULT hr = testctl::Enter("IDirectDraw::CreateSurface", static_cast<IDirectDraw*>(this))) return hr;
  if (surface == nullptr) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (description == nullptr || outer != nullptr || !HasAcceptedSize(*description))
    return DDERR_INVALIDPARAMS;
  SurfaceRequest request{};
  if (HRESULT hr = ReadSurfaceRequest(*description, display_.format(), request)) return hr;
  Surface* made = Surface::Create(display_, request.kind, request.width, request.height, request.caps);
  if (made == nullptr) return DDERR_OUTOFMEMORY;
  *surface = made;
  return DD_OK;
}

HRESULT DirectDrawObject::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) {
  if (HRESULT hr = testctl::Enter("IDirectDraw::CreateClipper", static_cast<IDirectDraw*>(this))) return hr;
  if (clipper == nullptr) return DDERR_INVALIDPARAMS;
  *clipper = nullptr;
  if (flags != 0 || outer != nullptr) return DDERR_INVALIDPARAMS;
  Clipper* made = new (std::nothrow) Clipper();
  if (made == nullptr) return DDERR_OUTOFMEMORY;
  *clipper = made;
  return DD_OK;
}

HRESULT DirectDrawObject::CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                        IUnknown* outer) {
  if (HRESULT hr = testctl::Enter("IDirectDraw::CreatePalette", static_cast<IDirectDraw*>(this))) return hr;
  if (palette == nullptr) return DDERR_INVALIDPARAMS;
  *palette = nullptr;
  if (entries == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
  // 256 entries only: 4-bit and 2-bit palettes are not made.
  if (!(flags & DDPCAPS_8BIT) || (flags & DDPCAPS_4BIT)) return DDERR_UNSUPPORTED;
  Palette* made = new (std::nothrow) Palette(entries);
  if (made == nullptr) return DDERR_OUTOFMEMORY;
  *palette = made;
  return DD_OK;
}

}  // namespace vyn::ddraw

HRESULT DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer) {
  if (HRESULT hr = vyn::testctl::Enter("DirectDrawCreate")) return hr;
  if (directDraw == nullptr) return DDERR_INVALIDPARAMS;
  *directDraw = nullptr;
  if (outer != nullptr) return DDERR_INVALIDPARAMS;
  // Only the display driver (a null GUID) exists.
  if (driver != nullptr) return DDERR_INVALIDDIRECTDRAWGUID;
  auto* made = new (std::nothrow) vyn::ddraw::DirectDrawObject(vyn::display::ActiveDisplay());
  if (made == nullptr) return DDERR_OUTOFMEMORY;
  *directDraw = made;
  return DD_OK;
}

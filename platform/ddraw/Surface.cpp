#include "ddraw/Surface.h"

#include <atomic>
#include <new>

#include "ddraw/Blit.h"
#include "ddraw/Clipper.h"
#include "ddraw/Palette.h"
#include "ddraw/RectMath.h"
#include "ddraw/SurfaceDescription.h"
#include "ddraw/SurfaceMemoryControl.h"

namespace vyn::ddraw {
namespace {

// Rows start on 16-byte boundaries so that the renderer can use wide stores.
constexpr int RowAlignment = 16;

std::atomic<std::size_t> bytesInUse{0};

display::PixelFormat zBufferFormat() { return display::PixelFormat{16, 0, 0, 0}; }

// Swaps the internal reference in `slot` for one on `object` (either may be null).
template <class T>
void holdInternally(T*& slot, T* object) {
  if (object != nullptr) object->AddRefInternal();
  if (slot != nullptr) slot->ReleaseInternal();
  slot = object;
}

}  // namespace

Surface::Surface(display::Display& display, SurfaceKind kind, DWORD caps)
    : display_(display), kind_(kind), caps_(caps), seenLossGeneration_(display.lossGeneration()) {}

Surface* Surface::Create(display::Display& display, SurfaceKind kind, int width, int height, DWORD caps) {
  auto* surface = new (std::nothrow) Surface(display, kind, caps);
  if (surface == nullptr) return nullptr;
  SurfaceMemory& memory = surface->memory_;
  memory.isZBuffer = kind == SurfaceKind::ZBuffer;
  memory.format = memory.isZBuffer ? zBufferFormat() : display.format();
  if (kind == SurfaceKind::Primary) {
    memory.width = display.width();
    memory.height = display.height();
    memory.pitch = memory.width * memory.format.bytesPerPixel();
    return surface;
  }
  memory.width = width;
  memory.height = height;
  const int rowBytes = width * memory.format.bytesPerPixel();
  memory.pitch = (rowBytes + RowAlignment - 1) / RowAlignment * RowAlignment;
  const std::size_t bytes = static_cast<std::size_t>(memory.pitch) * static_cast<std::size_t>(height);
  surface->storage_.reset(new (std::nothrow) std::uint8_t[bytes]());
  if (!surface->storage_) {
    delete surface;
    return nullptr;
  }
  memory.pixels = surface->storage_.get();
  surface->storageBytes_ = bytes;
  bytesInUse += bytes;
  return surface;
}

Surface::~Surface() {
  bytesInUse -= storageBytes_;
  holdInternally(zBuffer_, static_cast<Surface*>(nullptr));
  holdInternally(clipper_, static_cast<Clipper*>(nullptr));
  holdInternally(palette_, static_cast<Palette*>(nullptr));
}

HRESULT Surface::QueryInterface(REFIID iid, void** object) {
  auto* self = static_cast<IDirectDrawSurface*>(this);
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::QueryInterface", self)) return hr;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_IDirectDrawSurface, self}});
}

HRESULT Surface::AddAttachedSurface(LPDIRECTDRAWSURFACE attached) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::AddAttachedSurface", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  if (attached == nullptr) return DDERR_INVALIDPARAMS;
  Surface* zBuffer = SurfaceFrom(attached);
  if (zBuffer == nullptr) return DDERR_INVALIDOBJECT;
  // Only a Z-buffer of the same size goes onto an off-screen surface.
  if (kind_ != SurfaceKind::Offscreen || zBuffer->kind_ != SurfaceKind::ZBuffer)
    return DDERR_CANNOTATTACHSURFACE;
  if (zBuffer->width() != width() || zBuffer->height() != height()) return DDERR_CANNOTATTACHSURFACE;
  if (zBuffer_ != nullptr) return DDERR_SURFACEALREADYATTACHED;
  holdInternally(zBuffer_, zBuffer);
  return DD_OK;
}

HRESULT Surface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                     DDBLTFX*) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::Blt", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  // Only plain copies: no fills, colour keys, raster operations or effects.
  if ((flags & ~DDBLT_WAIT) != 0) return DDERR_UNSUPPORTED;
  if (source == nullptr) return DDERR_INVALIDPARAMS;
  Surface* from = SurfaceFrom(source);
  if (from == nullptr) return DDERR_INVALIDOBJECT;
  return BlitSurface(*this, destRect, *from, sourceRect);
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC* description) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::GetSurfaceDesc", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  if (description == nullptr || !HasAcceptedSize(*description)) return DDERR_INVALIDPARAMS;
  DescribeSurface(*this, *description);
  return DD_OK;
}

bool Surface::lost() const {
  if (forcedLost_) return true;
  return kind_ == SurfaceKind::Primary && display_.lossGeneration() != seenLossGeneration_;
}

HRESULT Surface::IsLost() {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::IsLost", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  return lost() ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore() {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::Restore", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  forcedLost_ = false;
  seenLossGeneration_ = display_.lossGeneration();
  if (kind_ == SurfaceKind::Primary) {
    // The screen may have changed size or depth while the surface was lost.
    memory_.width = display_.width();
    memory_.height = display_.height();
    memory_.format = display_.format();
    memory_.pitch = memory_.width * memory_.format.bytesPerPixel();
  }
  return DD_OK;
}

HRESULT Surface::Lock(LPRECT rect, DDSURFACEDESC* description, DWORD, HANDLE) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::Lock", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  if (description == nullptr || !HasAcceptedSize(*description)) return DDERR_INVALIDPARAMS;
  if (memory_.pixels == nullptr) return DDERR_CANTLOCKSURFACE;  // the screen's pixels are not ours
  if (lost()) return DDERR_SURFACELOST;
  const RECT whole{0, 0, width(), height()};
  const RECT area = rect != nullptr ? *rect : whole;
  if (!LiesWithin(area, whole)) return DDERR_INVALIDRECT;
  DescribeSurface(*this, *description);
  description->dwFlags |= DDSD_LPSURFACE;
  description->lpSurface = memory_.pixels + static_cast<std::ptrdiff_t>(area.top) * memory_.pitch +
                           static_cast<std::ptrdiff_t>(area.left) * memory_.format.bytesPerPixel();
  ++lockCount_;
  return DD_OK;
}

HRESULT Surface::Unlock(LPVOID) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::Unlock", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  if (lockCount_ == 0) return DDERR_NOTLOCKED;
  --lockCount_;
  return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER clipper) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::SetClipper", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  Clipper* ours = nullptr;
  if (clipper != nullptr && (ours = ClipperFrom(clipper)) == nullptr) return DDERR_INVALIDOBJECT;
  holdInternally(clipper_, ours);
  return DD_OK;
}

HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE palette) {
  if (HRESULT hr = testctl::Enter("IDirectDrawSurface::SetPalette", static_cast<IDirectDrawSurface*>(this)))
    return hr;
  Palette* ours = nullptr;
  if (palette != nullptr && (ours = PaletteFrom(palette)) == nullptr) return DDERR_INVALIDOBJECT;
  if (memory_.isZBuffer || memory_.format.bitsPerPixel != 8) return DDERR_NOTPALETTIZED;
  holdInternally(palette_, ours);
  memory_.palette = ours != nullptr ? ours->entries() : nullptr;
  return DD_OK;
}

Surface* SurfaceFrom(IDirectDrawSurface* surface) { return dynamic_cast<Surface*>(surface); }

std::size_t SurfaceBytesInUse() { return bytesInUse; }

}  // namespace vyn::ddraw

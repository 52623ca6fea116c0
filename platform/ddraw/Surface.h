// A DirectDraw surface: the primary surface (the screen itself, whose pixels
// are the display's), an off-screen surface in system memory in the screen's
// pixel format, or a 16-bit Z-buffer in system memory.
//
// Lost surfaces: the primary is lost whenever the display's lossGeneration
// moves past the one it last saw; any surface can be made lost by the test
// controls (SurfaceLossControl.h). Restore clears both and keeps the memory.
#pragma once

#include <cstdint>
#include <memory>

#include "com/ComObject.h"
#include "ddraw/DDraw.h"
#include "ddraw/SurfaceMemory.h"
#include "display/Display.h"

namespace vyn::ddraw {

enum class SurfaceKind { Primary, Offscreen, ZBuffer };

class Clipper;
class Palette;

class Surface final : public com::ComObject<IDirectDrawSurface> {
 public:
  // Null when the memory cannot be had. Width and height are ignored for the
  // primary, which takes the display's.
  static Surface* Create(display::Display& display, SurfaceKind kind, int width, int height,
                         DWORD caps);
  ~Surface() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT AddAttachedSurface(LPDIRECTDRAWSURFACE surface) override;
  HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
              DDBLTFX* effects) override;
  HRESULT GetSurfaceDesc(DDSURFACEDESC* description) override;
  HRESULT IsLost() override;
  HRESULT Lock(LPRECT rect, DDSURFACEDESC* description, DWORD flags, HANDLE event) override;
  HRESULT Restore() override;
  HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
  HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) override;
  HRESULT Unlock(LPVOID surfaceData) override;

  SurfaceKind kind() const { return kind_; }
  DWORD caps() const { return caps_; }
  display::Display& display() const { return display_; }
  int width() const { return memory_.width; }
  int height() const { return memory_.height; }
  const display::PixelFormat& format() const { return memory_.format; }
  // Pixels, pitch and format for the renderer; the primary's fields describe
  // the screen but its pixels are null (they belong to the display).
  SurfaceMemory& memory() { return memory_; }
  const SurfaceMemory& memory() const { return memory_; }
  Surface* attachedZBuffer() const { return zBuffer_; }
  Clipper* clipper() const { return clipper_; }
  Palette* palette() const { return palette_; }

  // The state behind IsLost, without the call hook.
  bool lost() const;
  bool locked() const { return lockCount_ > 0; }
  void makeLost() { forcedLost_ = true; }

 private:
  Surface(display::Display& display, SurfaceKind kind, DWORD caps);

  display::Display& display_;
  SurfaceKind kind_;
  DWORD caps_;
  SurfaceMemory memory_;
  std::unique_ptr<std::uint8_t[]> storage_;
  std::size_t storageBytes_ = 0;
  // References the surface holds on its own (AddRefInternal).
  Surface* zBuffer_ = nullptr;
  Clipper* clipper_ = nullptr;
  Palette* palette_ = nullptr;
  std::uint32_t seenLossGeneration_;
  bool forcedLost_ = false;
  int lockCount_ = 0;
};

// Our surface behind an interface pointer, or null for a foreign one.
Surface* SurfaceFrom(IDirectDrawSurface* surface);

}  // namespace vyn::ddraw

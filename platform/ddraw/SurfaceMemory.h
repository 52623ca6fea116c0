// How the renderer and GDI reach the memory of a DirectDraw surface made by
// this platform, without Lock/Unlock on every frame.
#pragma once

#include <cstdint>

#include "ddraw/DDraw.h"
#include "display/Display.h"

namespace vyn::ddraw {

struct SurfaceMemory {
  std::uint8_t* pixels = nullptr;  // first byte of row 0 (the top row)
  int pitch = 0;                   // bytes from one row to the next
  int width = 0;
  int height = 0;
  display::PixelFormat format{};   // for a Z-buffer: 16 bits, masks 0
  bool isZBuffer = false;
  // The palette set on the surface (8-bit surfaces), else null.
  const PALETTEENTRY* palette = nullptr;
  // Where the renderer wrote since the last blit from this surface, so that a
  // blit can copy only what changed. Empty (right <= left) means nothing
  // changed; `damageTracked` false means "assume everything changed".
  RECT damage{};
  bool damageTracked = false;
};

// The memory of one of our surfaces, or null for a pointer this platform did
// not make (or a primary surface, whose memory is the display's).
SurfaceMemory* MemoryOf(IDirectDrawSurface* surface);

// The Z-buffer attached to a surface with AddAttachedSurface, or null.
IDirectDrawSurface* AttachedZBuffer(IDirectDrawSurface* surface);

}  // namespace vyn::ddraw

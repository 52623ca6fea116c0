// Copies a rectangle of one surface onto another.
//
// Rules (all checked before any pixel moves):
// - Either surface lost: DDERR_SURFACELOST. Either locked: DDERR_SURFACEBUSY.
// - The source is an off-screen surface; the destination an off-screen
//   surface or the primary; both of one pixel format (else
//   DDERR_UNSUPPORTED or DDERR_INVALIDPIXELFORMAT). Z-buffers take no blits.
// - A null rectangle means the whole surface (the whole screen for the
//   primary). The source rectangle must lie inside the source: otherwise, or
//   when empty, DDERR_INVALIDRECT.
// - No stretching: rectangles of different sizes give DDERR_UNSUPPORTED.
// - The destination on an off-screen surface, or on a primary without a
//   clipper, must lie inside it (DDERR_INVALIDRECT). On a primary with a
//   clipper it is given in screen coordinates and clipped to the clipper's
//   window and to the screen.
// - When the source tracks damage, only the damaged part is copied, and the
//   damage is cleared.
// A blit to the primary always ends in one Display::present, with an empty
// rectangle when nothing is visible or nothing changed.
#pragma once

#include "ddraw/Surface.h"

namespace vyn::ddraw {

HRESULT BlitSurface(Surface& dest, const RECT* destRect, Surface& source, const RECT* sourceRect);

}  // namespace vyn::ddraw

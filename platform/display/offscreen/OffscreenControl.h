// Test control: make an offscreen display of a chosen size and depth the
// active display, and reach the offscreen display that is active. Never used
// by the saver.
#pragma once

#include <memory>

#include "display/Display.h"
#include "display/offscreen/OffscreenDisplay.h"

namespace vyn::display {

// Replaces the active display. Objects made on the previous display (DirectDraw
// objects, surfaces, windows) must be gone before this is called.
inline OffscreenDisplay& UseOffscreenDisplay(int width = OffscreenDisplay::DefaultWidth,
                                             int height = OffscreenDisplay::DefaultHeight,
                                             int bitsPerPixel = OffscreenDisplay::DefaultBitsPerPixel) {
  auto display = std::make_unique<OffscreenDisplay>(width, height, bitsPerPixel);
  OffscreenDisplay& made = *display;
  SetActiveDisplay(std::move(display));
  return made;
}

// The active display when it is an offscreen one, else null.
inline OffscreenDisplay* ActiveOffscreenDisplay() { return dynamic_cast<OffscreenDisplay*>(&ActiveDisplay()); }

}  // namespace vyn::display

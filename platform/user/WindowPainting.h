// Painting a window's background: what DefWindowProcA does for WM_PAINT and
// WM_ERASEBKGND.
#pragma once

#include "user/WindowTable.h"

namespace vyn::user {

// Fills the window's client area on the display with a colour.
void FillClientArea(Window& window, COLORREF color);

// The pixel value of a colour in a display format; for 8 bits per pixel,
// the nearest entry of `palette`.
std::uint32_t PackColor(const display::PixelFormat& format, COLORREF color,
                        const PALETTEENTRY (&palette)[256]);

}  // namespace vyn::user

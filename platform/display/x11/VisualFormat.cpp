#include "display/x11/VisualFormat.h"

#include <X11/Xutil.h>

namespace vyn::display::x11 {

std::optional<PixelFormat> DefaultVisualFormat(::Display* connection, int screen) {
  Visual* visual = DefaultVisual(connection, screen);
  int depth = DefaultDepth(connection, screen);
  if (visual == nullptr || visual->c_class != TrueColor) return std::nullopt;
  int bitsPerPixel = 0;
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(connection, &count);
  for (int i = 0; i < count; ++i)
    if (formats[i].depth == depth) bitsPerPixel = formats[i].bits_per_pixel;
  if (formats != nullptr) XFree(formats);
  if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;
  return PixelFormat{bitsPerPixel, static_cast<std::uint32_t>(visual->red_mask),
                     static_cast<std::uint32_t>(visual->green_mask),
                     static_cast<std::uint32_t>(visual->blue_mask)};
}

}  // namespace vyn::display::x11

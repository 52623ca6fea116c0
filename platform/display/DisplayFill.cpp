#include <cstring>
#include <vector>

#include "display/Display.h"

namespace vyn::display {

void Display::fill(const RECT& screenRect, std::uint32_t pixel) {
  const int width = screenRect.right - screenRect.left;
  const int height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0) {
    present(screenRect, nullptr, 0);
    return;
  }
  const int bytes = format().bytesPerPixel();
  const int pitch = width * bytes;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pitch) * height);
  for (int x = 0; x < width; ++x)
    std::memcpy(&pixels[static_cast<std::size_t>(x) * bytes], &pixel, bytes);  // little-endian
  for (int y = 1; y < height; ++y)
    std::memcpy(&pixels[static_cast<std::size_t>(y) * pitch], pixels.data(), pitch);
  present(screenRect, pixels.data(), pitch);
}

}  // namespace vyn::display

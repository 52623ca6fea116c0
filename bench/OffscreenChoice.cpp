#include "OffscreenChoice.h"

#include <cstdlib>
#include <string>

namespace vyn::bench {

void ChooseOffscreenDisplay(const ScreenSize& size) {
  const std::string value = "offscreen:" + std::to_string(size.width) + "x" + std::to_string(size.height) + "x" +
                            std::to_string(size.bitsPerPixel);
  setenv("VYN_DISPLAY", value.c_str(), 1);
}

}  // namespace vyn::bench

// Test control: how much pixel memory the live surfaces hold, so that tests
// can see when a surface's memory is given back. Never used by the saver.
#pragma once

#include <cstddef>

namespace vyn::ddraw {

std::size_t SurfaceBytesInUse();

}  // namespace vyn::ddraw

// The common end of a rendering operation that saw a DirectX call fail:
// everything held is released and the operation answers 0.
#pragma once

#include "Lumivex.h"

namespace vyn::lumivex {

inline int CleanupAndFail() {
  Cleanup();
  return 0;
}

}  // namespace vyn::lumivex

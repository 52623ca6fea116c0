// The alternative a Linux user would reach for: the same solid, camera,
// lights, motion and culling drawn with fixed-function OpenGL on Mesa's
// llvmpipe through OSMesa, each frame read back into memory as a present
// would copy it.
#pragma once

#include <memory>

#include "FrameSource.h"

namespace vyn::bench {

// Forces llvmpipe and lets it use `threads` rasteriser threads; must run
// before the first OSMesa call of the process.
void ChooseLlvmpipe(int threads);

std::unique_ptr<FrameSource> MakeLlvmpipePeer();

}  // namespace vyn::bench

// Writes a presented frame as a PNG file, for comparing the renderers by eye.
#pragma once

#include <string>

#include "FrameSource.h"

namespace vyn::bench {

// False when the file cannot be written.
bool WriteFramePng(const FrameImage& image, const std::string& path);

}  // namespace vyn::bench

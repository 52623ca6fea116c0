// Where the benchmark's pictures lie: the default circle, the ring and the
// stripes, made by scripts/make_pictures.py.
#pragma once

#include <string>

#include "ScenarioOptions.h"

namespace vyn::bench {

// The file of a named picture ("circle", "ring", "stripes"), looked up in
// --pictures, then in the source tree's data/vynFile (the default circle) and
// data/bench (ring and stripes), whatever the case of the file name; any
// other name is taken as a path. A picture that is not found gives its
// expected path.
std::string PicturePath(const ScenarioOptions& options, const std::string& picture);

}  // namespace vyn::bench

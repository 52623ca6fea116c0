// Where the names of named kernel objects live. Each name is a lock file in
// one per-user folder: $XDG_RUNTIME_DIR when set, else /tmp/vyn-<uid>. A
// process that sets XDG_RUNTIME_DIR to a folder of its own gets a namespace
// of its own, which is how tests keep their runs apart.
#pragma once

#include <string>

#include "kernel/Win32Types.h"

namespace vyn::kernel {

struct ObjectPaths {
  std::string lockFile;   // held with a shared flock by every handle to the name
  std::string guardFile;  // held exclusively while a name is looked up or created
};

// The paths for an object name, creating the per-user folder when needed.
// Returns false with a Win32 error code when the folder is unusable (missing,
// or under /tmp and not a private folder of this user) or the name too long.
bool ObjectPathsFor(const char* name, ObjectPaths& paths, DWORD& error);

}  // namespace vyn::kernel

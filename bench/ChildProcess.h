// Runs this program again with other arguments and collects what it prints,
// so that each case has a process (and a peak memory) of its own.
#pragma once

#include <string>
#include <vector>

namespace vyn::bench {

struct ChildOutput {
  int exitStatus = -1;   // the exit code, or -1 when the child did not exit normally
  std::string stdoutText;
};

// Starts /proc/self/exe with `arguments` and waits for it. The child's
// standard error goes to ours.
ChildOutput RunSelf(const std::vector<std::string>& arguments);

}  // namespace vyn::bench

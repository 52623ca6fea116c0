// Runs one case in a program of its own and collects what it prints, so that
// each case has a process (and a peak memory) of its own.
#pragma once

#include <string>
#include <vector>

namespace vyn::bench {

struct ChildOutput {
  int exitStatus = -1;   // the exit code, or -1 when the child did not exit normally
  std::string stdoutText;
};

// Starts the program at `path` with `arguments` and waits for it. The
// child's standard error goes to ours.
ChildOutput RunProgram(const std::string& path, const std::vector<std::string>& arguments);

// The path of a program that lies in the same folder as this one.
std::string SiblingProgram(const char* name);

}  // namespace vyn::bench

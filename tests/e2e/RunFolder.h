// A folder of a test's own for vyn runs: the runtime folder (the
// single-instance guard lives there), the Windows directory with the
// settings file, drive C, and the runs' output.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace vyn::e2e {

class RunFolder {
 public:
  RunFolder();
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  const std::string& path() const { return root_; }
  std::string file(const std::string& name) const { return root_ + "/" + name; }

  // Writes vyn.ini in the Windows directory.
  void writeSettings(const std::string& text) const;

  // Only what a run needs, and VYN_DEBUG so that the debugger lines reach
  // standard error. No DISPLAY: a test adds the one it means.
  Environment environment() const;

  // Starts the vyn of the build tree with `arguments` in the work folder.
  std::unique_ptr<ChildProcess> startVyn(const Environment& environment, const std::string& label,
                                         const std::vector<std::string>& arguments = {"/s"}) const;

 private:
  std::string root_;
};

// The build folder under test: $VYN_BINARY_DIR, else the one this test
// program was built in.
std::string BuildFolder();
// The vyn program under test, at the top of the build folder.
std::string VynProgram();

// The lines of `text` (each without its newline) that start with one of
// `prefixes`.
std::vector<std::string> LinesStartingWith(const std::string& text, const std::vector<std::string>& prefixes);

}  // namespace vyn::e2e

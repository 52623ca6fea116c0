// A private X server for tests: Xvfb on a display number it picks itself
// (-displayfd), with a white root window so that what a test draws shows.
#pragma once

#include <sys/types.h>

#include <string>

namespace vyn::x11test {

class XvfbServer {
 public:
  // "640x480x24"; empty name() when Xvfb could not start.
  explicit XvfbServer(const std::string& geometry);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  const std::string& name() const { return name_; }  // ":N"

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// Runs xdotool with `arguments` on the display; true when it succeeded.
bool Xdotool(const std::string& display, const std::string& arguments);

}  // namespace vyn::x11test

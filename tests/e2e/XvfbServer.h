// An Xvfb screen of a test's own, on a display number that Xvfb picks
// itself, with a client connection for looking at it.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>

namespace vyn::e2e {

class XvfbServer {
 public:
  // Starts Xvfb with one screen of `width` x `height` at 24 bits.
  XvfbServer(int width, int height);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool ready() const { return display_ != nullptr; }
  const std::string& name() const { return name_; }  // ":N"
  Display* connection() const { return display_; }
  Window root() const { return DefaultRootWindow(display_); }
  const std::string& problem() const { return problem_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
  std::string problem_;
  Display* display_ = nullptr;
};

// True when Xvfb and xdotool can be found; the X tests skip otherwise.
bool XToolsAvailable();

}  // namespace vyn::e2e

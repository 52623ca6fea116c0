// X protocol errors as values: while a trap is set, errors are recorded
// instead of ending the process (Xlib's default), so that a failing request
// (a window that vanished, MIT-SHM on a remote server) becomes a fallback.
#pragma once

#include <X11/Xlib.h>

namespace vyn::display::x11 {

// Installs, once, an error handler that records errors and never exits.
void InstallErrorHandler();

class ErrorTrap {
 public:
  explicit ErrorTrap(::Display* connection);
  ~ErrorTrap();
  // Waits for the server to process every request made so far, then tells
  // whether any of them failed since the trap was set.
  bool failed();

 private:
  ::Display* connection_;
  int errorsBefore_;
};

}  // namespace vyn::display::x11

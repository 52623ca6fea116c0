// Waits for the display's next refresh after a frame, so that the saver
// runs at the monitor's rate and leaves the processor idle in between: the
// Present extension's MSC notifications where the server has them, else a
// clock at the mode's refresh rate. VYN_VSYNC=0 turns the wait off.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>

namespace vyn::display::x11 {

class RefreshPacer {
 public:
  RefreshPacer(::Display* connection, double refreshRate);

  // Watches `window`'s CRTC for refreshes (Present), or stops (None).
  void follow(Window window);
  // Returns at the next refresh since the last call.
  void waitForRefresh();

  bool enabled() const { return enabled_; }
  // How many times waitForRefresh was called while enabled.
  std::uint64_t waits() const { return waits_; }
  bool usesPresent() const { return presentOpcode_ >= 0 && window_ != None; }

 private:
  bool waitForPresentRefresh();
  void waitForClock();

  ::Display* connection_;
  bool enabled_;
  int presentOpcode_ = -1;
  Window window_ = None;
  std::uint64_t lastMsc_ = 0;
  bool mscKnown_ = false;
  std::uint32_t serial_ = 0;
  std::uint64_t waits_ = 0;
  std::chrono::steady_clock::duration period_;
  std::chrono::steady_clock::time_point nextTick_{};
};

}  // namespace vyn::display::x11

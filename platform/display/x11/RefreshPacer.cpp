#include "display/x11/RefreshPacer.h"

#include <X11/extensions/Xpresent.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace vyn::display::x11 {
namespace {

// The longest a refresh may take before the server is taken not to deliver
// them (an idle or virtual CRTC): then the clock takes over.
constexpr auto PresentTimeout = std::chrono::milliseconds(250);

bool VsyncWanted() {
  const char* value = std::getenv("VYN_VSYNC");
  return value == nullptr || std::strcmp(value, "0") != 0;
}

struct PresentMatch {
  int opcode;
};

Bool IsPresentComplete(::Display*, XEvent* event, XPointer match) {
  return event->type == GenericEvent &&
         event->xcookie.extension == reinterpret_cast<PresentMatch*>(match)->opcode &&
         event->xcookie.evtype == PresentCompleteNotify;
}

}  // namespace

RefreshPacer::RefreshPacer(::Display* connection, double refreshRate)
    : connection_(connection), enabled_(VsyncWanted()) {
  if (refreshRate < 10.0) refreshRate = 60.0;
  period_ = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(1.0 / refreshRate));
  int opcode, eventBase, errorBase, major = 0, minor = 0;
  if (enabled_ && XPresentQueryExtension(connection_, &opcode, &eventBase, &errorBase) &&
      XPresentQueryVersion(connection_, &major, &minor))
    presentOpcode_ = opcode;
}

void RefreshPacer::follow(Window window) {
  if (window == window_) return;
  window_ = window;
  mscKnown_ = false;
  if (presentOpcode_ >= 0 && window != None)
    XPresentSelectInput(connection_, window, PresentCompleteNotifyMask);
}

void RefreshPacer::waitForRefresh() {
  if (!enabled_) return;
  ++waits_;
  if (usesPresent()) {
    if (waitForPresentRefresh()) return;
    presentOpcode_ = -1;  // no refreshes come: pace by the clock from now on
  }
  waitForClock();
}

bool RefreshPacer::waitForPresentRefresh() {
  std::uint32_t serial = ++serial_;
  // The refresh after the last one seen; the very first request completes at
  // once and tells where the count stands.
  XPresentNotifyMSC(connection_, window_, serial, mscKnown_ ? lastMsc_ + 1 : 0, 0, 0);
  XFlush(connection_);
  PresentMatch match{presentOpcode_};
  auto deadline = std::chrono::steady_clock::now() + PresentTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    XEvent event;
    if (XCheckIfEvent(connection_, &event, IsPresentComplete, reinterpret_cast<XPointer>(&match))) {
      bool ours = false;
      if (XGetEventData(connection_, &event.xcookie)) {
        auto* complete = static_cast<XPresentCompleteNotifyEvent*>(event.xcookie.data);
        if (complete->kind == PresentCompleteKindNotifyMSC && complete->serial_number == serial) {
          lastMsc_ = complete->msc;
          mscKnown_ = true;
          ours = true;
        }
        XFreeEventData(connection_, &event.xcookie);
      }
      if (ours) return true;
      continue;
    }
    // Sleeps until the server sends something (what it sends is read by the
    // next XCheckIfEvent, so this does not spin on queued input).
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd descriptor{ConnectionNumber(connection_), POLLIN, 0};
    poll(&descriptor, 1, static_cast<int>(std::max<long long>(1, left.count())));
  }
  return false;
}

void RefreshPacer::waitForClock() {
  auto now = std::chrono::steady_clock::now();
  // After a stall, start counting again from now rather than racing to catch up.
  if (nextTick_ + period_ < now) nextTick_ = now;
  std::this_thread::sleep_until(nextTick_);
  nextTick_ += period_;
}

}  // namespace vyn::display::x11

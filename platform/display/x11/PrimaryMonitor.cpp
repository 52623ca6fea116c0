#include "display/x11/PrimaryMonitor.h"

#include <X11/extensions/Xrandr.h>

namespace vyn::display::x11 {
namespace {

constexpr double DefaultRefreshRate = 60.0;

double RateOfMode(const XRRScreenResources* resources, RRMode mode) {
  for (int i = 0; i < resources->nmode; ++i) {
    const XRRModeInfo& info = resources->modes[i];
    if (info.id != mode || info.hTotal == 0 || info.vTotal == 0) continue;
    double rate = static_cast<double>(info.dotClock) / (static_cast<double>(info.hTotal) * info.vTotal);
    if (rate >= 10.0 && rate <= 1000.0) return rate;
  }
  return DefaultRefreshRate;
}

// The CRTC that shows `output`, as a monitor; false when it shows nothing.
bool MonitorOfOutput(::Display* connection, XRRScreenResources* resources, RROutput output,
                     Monitor& monitor) {
  XRROutputInfo* info = XRRGetOutputInfo(connection, resources, output);
  if (info == nullptr) return false;
  bool found = false;
  if (info->connection == RR_Connected && info->crtc != None) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(connection, resources, info->crtc);
    if (crtc != nullptr && crtc->width > 0 && crtc->height > 0) {
      monitor = Monitor{crtc->x, crtc->y, static_cast<int>(crtc->width),
                        static_cast<int>(crtc->height), RateOfMode(resources, crtc->mode)};
      found = true;
    }
    if (crtc != nullptr) XRRFreeCrtcInfo(crtc);
  }
  XRRFreeOutputInfo(info);
  return found;
}

// RandR 1.5 monitors: the primary one (or the first), with the refresh rate
// of the CRTC behind its first output. Monitors may also be set by hand
// (xrandr --setmonitor), which the outputs alone do not show.
bool PrimaryOfMonitors(::Display* connection, Window root, XRRScreenResources* resources,
                       Monitor& monitor) {
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(connection, root, True, &count);
  if (monitors == nullptr) return false;
  const XRRMonitorInfo* chosen = nullptr;
  for (int i = 0; i < count; ++i) {
    const XRRMonitorInfo& candidate = monitors[i];
    if (candidate.width <= 0 || candidate.height <= 0) continue;
    if (chosen == nullptr || (candidate.primary && !chosen->primary)) chosen = &candidate;
  }
  if (chosen != nullptr) {
    Monitor shown{};
    double rate = DefaultRefreshRate;
    if (chosen->noutput > 0 && MonitorOfOutput(connection, resources, chosen->outputs[0], shown))
      rate = shown.refreshRate;
    monitor = Monitor{chosen->x, chosen->y, chosen->width, chosen->height, rate};
  }
  XRRFreeMonitors(monitors);
  return chosen != nullptr;
}

}  // namespace

Monitor FindPrimaryMonitor(::Display* connection, int screen) {
  Monitor whole{0, 0, DisplayWidth(connection, screen), DisplayHeight(connection, screen),
                DefaultRefreshRate};
  int eventBase, errorBase, major = 0, minor = 0;
  if (!XRRQueryExtension(connection, &eventBase, &errorBase) ||
      !XRRQueryVersion(connection, &major, &minor) || (major == 1 && minor < 3))
    return whole;
  Window root = RootWindow(connection, screen);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(connection, root);
  if (resources == nullptr) return whole;
  Monitor monitor = whole;
  bool found = (major > 1 || minor >= 5) && PrimaryOfMonitors(connection, root, resources, monitor);
  // The primary output; without one, the first output that shows something.
  if (!found) found = MonitorOfOutput(connection, resources, XRRGetOutputPrimary(connection, root), monitor);
  for (int i = 0; !found && i < resources->noutput; ++i)
    found = MonitorOfOutput(connection, resources, resources->outputs[i], monitor);
  XRRFreeScreenResources(resources);
  return monitor;
}

}  // namespace vyn::display::x11

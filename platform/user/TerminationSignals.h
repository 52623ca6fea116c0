// SIGTERM, SIGINT and SIGHUP end a run the way a close request does: the
// handler only notes the signal, and PeekMessageA posts WM_CLOSE to every
// top-level window.
#pragma once

namespace vyn::user {

// Installs the handlers (true) while the process has top-level windows, and
// puts the previous ones back (false).
void WatchTerminationSignals(bool watch);

// Turns a noted signal into WM_CLOSE messages; cheap when none is pending.
void PostCloseForTerminationSignals();

}  // namespace vyn::user

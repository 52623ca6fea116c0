// The scan of the command-line tail for the configure and run switches.
#pragma once

namespace vyn::saver {

struct SwitchRequest {
  bool configure = false;  // "/c" or "-c", either case
  bool run = false;        // "/s" or "-s", either case
};

// A '-' or '/' followed directly by C or S (either case) sets that request,
// wherever it stands in the tail. Only the one character after the switch
// character counts; a second '-' or '/' there starts a switch of its own.
// Later switches never clear earlier ones.
SwitchRequest ScanSwitches(const char* tail);

}  // namespace vyn::saver

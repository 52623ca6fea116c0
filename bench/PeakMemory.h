// The process's peak resident memory, as the kernel counts it.
#pragma once

namespace vyn::bench {

// VmHWM of /proc/self/status in KiB, or -1 when it cannot be read.
long PeakResidentKiB();

}  // namespace vyn::bench

#include "PeakMemory.h"

#include <cstdio>
#include <cstring>

namespace vyn::bench {

long PeakResidentKiB() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  long kib = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) {
      std::sscanf(line + 6, "%ld", &kib);
      break;
    }
  }
  std::fclose(status);
  return kib;
}

}  // namespace vyn::bench

#include "StageClock.h"

#include <cstdio>

#include "CaseLoop.h"

namespace vyn::bench {

void StageClock::start() {
  last_ = MonotonicNs();
  text_.clear();
}

void StageClock::mark(const char* name) {
  const long long now = MonotonicNs();
  char step[64];
  std::snprintf(step, sizeof step, "%s%s=%.2f", text_.empty() ? "" : " ", name, (now - last_) / 1e6);
  text_ += step;
  last_ = now;
}

}  // namespace vyn::bench

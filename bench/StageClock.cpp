#include "StageClock.h"

#include <time.h>

#include <cstdio>

#include "CaseLoop.h"

namespace vyn::bench {

namespace {

long long ThreadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

void StageClock::start() {
  last_ = MonotonicNs();
  lastCpu_ = ThreadCpuNs();
  text_.clear();
}

void StageClock::mark(const char* name) {
  const long long now = MonotonicNs();
  const long long cpu = ThreadCpuNs();
  char step[96];
  std::snprintf(step, sizeof step, "%s%s=%.2f/%.2f", text_.empty() ? "" : " ", name, (now - last_) / 1e6,
                (cpu - lastCpu_) / 1e6);
  text_ += step;
  last_ = now;
  lastCpu_ = cpu;
}

}  // namespace vyn::bench

// Times the steps of a set-up one after the other, for --verbose.
#pragma once

#include <string>

namespace vyn::bench {

class StageClock {
 public:
  void start();
  // Ends the step that ran since the last mark (or the start) under `name`.
  void mark(const char* name);
  // "window=1.2/0.9 directdraw=3.4/3.1 ...": milliseconds of wall time and
  // of this thread's processor time (which a busy machine inflates less).
  const std::string& text() const { return text_; }

 private:
  long long last_ = 0;
  long long lastCpu_ = 0;
  std::string text_;
};

}  // namespace vyn::bench

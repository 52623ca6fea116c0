// Times the steps of a set-up one after the other, for --verbose.
#pragma once

#include <string>

namespace vyn::bench {

class StageClock {
 public:
  void start();
  // Ends the step that ran since the last mark (or the start) under `name`.
  void mark(const char* name);
  // "window=1.2 directdraw=3.4 ..." in milliseconds.
  const std::string& text() const { return text_; }

 private:
  long long last_ = 0;
  std::string text_;
};

}  // namespace vyn::bench

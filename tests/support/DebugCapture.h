// Captures the debugger output (OutputDebugStringA) for the life of the
// object: every call's text, one entry per call, in order.
#pragma once

#include <string>
#include <vector>

#include "kernel/Kernel.h"

namespace vyn::test {

class DebugCapture {
 public:
  DebugCapture() {
    vyn::kernel::SetDebugSink([this](const char* text) { texts_.emplace_back(text); });
  }
  ~DebugCapture() { vyn::kernel::SetDebugSink({}); }
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  const std::vector<std::string>& texts() const { return texts_; }
  std::string joined() const {
    std::string all;
    for (const std::string& text : texts_) all += text;
    return all;
  }
  void clear() { texts_.clear(); }

 private:
  std::vector<std::string> texts_;
};

}  // namespace vyn::test

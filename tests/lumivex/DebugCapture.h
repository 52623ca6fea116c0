// Captures the debugger output: one entry per OutputDebugStringA call.
#pragma once

#include <string>
#include <vector>

#include "kernel/Kernel.h"

namespace vyn::lumivex::test {

class DebugCapture {
 public:
  DebugCapture() {
    kernel::SetDebugSink([this](const char* text) { texts_.emplace_back(text); });
  }
  ~DebugCapture() { kernel::SetDebugSink({}); }
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  const std::vector<std::string>& texts() const { return texts_; }
  void clear() { texts_.clear(); }

 private:
  std::vector<std::string> texts_;
};

}  // namespace vyn::lumivex::test

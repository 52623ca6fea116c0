// The debugger output. There is no debugger to attach here, so each text goes
// to a sink: standard error when VYN_DEBUG is set to a non-empty value, or
// nowhere. Tests swap in a sink of their own to read what was written.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "kernel/Kernel.h"

namespace vyn::kernel {
namespace {

std::mutex sinkLock;
std::shared_ptr<const DebugSink> installedSink;

void WriteToStandardError(const char* text) {
  const char* flag = std::getenv("VYN_DEBUG");
  if (flag == nullptr || flag[0] == '\0') return;
  std::fputs(text, stderr);
  std::fflush(stderr);
}

// A copy of the sink is taken under the lock and called outside it, so a sink
// may itself write debugger output without deadlocking.
std::shared_ptr<const DebugSink> CurrentSink() {
  std::lock_guard guard(sinkLock);
  return installedSink;
}

}  // namespace

void SetDebugSink(DebugSink sink) {
  std::lock_guard guard(sinkLock);
  if (sink)
    installedSink = std::make_shared<const DebugSink>(std::move(sink));
  else
    installedSink.reset();
}

}  // namespace vyn::kernel

void OutputDebugStringA(LPCSTR text) {
  if (text == nullptr) return;
  if (auto sink = vyn::kernel::CurrentSink())
    (*sink)(text);
  else
    vyn::kernel::WriteToStandardError(text);
}

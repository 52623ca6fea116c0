#include "testctl/TestControls.h"

#include <atomic>
#include <map>
#include <mutex>

namespace vyn::testctl {
namespace {

struct ArmedFailure {
  int firstCall;  // 1-based, counted from when it was armed
  int times;
  HRESULT result;
  int callsSeen = 0;
};

struct State {
  std::mutex lock;
  bool recording = false;
  std::vector<CallRecord> calls;
  std::multimap<std::string, ArmedFailure> failures;
};

State& state() {
  static State s;
  return s;
}

// True while any failure is armed or recording is on: the fast path of Enter.
std::atomic<bool> engaged{false};

void updateEngaged(State& s) {
  engaged.store(s.recording || !s.failures.empty(), std::memory_order_relaxed);
}

}  // namespace

HRESULT Enter(const char* operation, const void* object) {
  if (!engaged.load(std::memory_order_relaxed)) return S_OK;
  State& s = state();
  std::lock_guard guard(s.lock);
  if (s.recording) s.calls.push_back({operation, object});
  HRESULT result = S_OK;
  auto [begin, end] = s.failures.equal_range(operation);
  for (auto it = begin; it != end; ++it) {
    ArmedFailure& f = it->second;
    ++f.callsSeen;
    if (result == S_OK && f.callsSeen >= f.firstCall && f.callsSeen < f.firstCall + f.times)
      result = f.result;
  }
  return result;
}

void RecordRelease(const IUnknown* object, ULONG) {
  if (!engaged.load(std::memory_order_relaxed)) return;
  State& s = state();
  std::lock_guard guard(s.lock);
  if (s.recording) s.calls.push_back({"Release", object});
}

void FailCall(const std::string& operation, int nth, HRESULT result, int times) {
  State& s = state();
  std::lock_guard guard(s.lock);
  s.failures.emplace(operation, ArmedFailure{nth, times, result});
  updateEngaged(s);
}

void StartRecording() {
  State& s = state();
  std::lock_guard guard(s.lock);
  s.recording = true;
  updateEngaged(s);
}

void StopRecording() {
  State& s = state();
  std::lock_guard guard(s.lock);
  s.recording = false;
  updateEngaged(s);
}

std::vector<CallRecord> Calls() {
  State& s = state();
  std::lock_guard guard(s.lock);
  return s.calls;
}

std::vector<CallRecord> CallsOf(const std::string& operation) {
  std::vector<CallRecord> matching;
  for (const CallRecord& call : Calls())
    if (call.operation == operation) matching.push_back(call);
  return matching;
}

void ClearCalls() {
  State& s = state();
  std::lock_guard guard(s.lock);
  s.calls.clear();
}

void Reset() {
  State& s = state();
  std::lock_guard guard(s.lock);
  s.recording = false;
  s.calls.clear();
  s.failures.clear();
  updateEngaged(s);
}

}  // namespace vyn::testctl

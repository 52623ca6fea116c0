#include "user/TerminationSignals.h"

#include <signal.h>

#include <atomic>

#include "user/WindowTable.h"

namespace vyn::user {
namespace {

constexpr int watchedSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction previousActions[3];
bool watching = false;

// The signal number waiting to become WM_CLOSE, or 0.
std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void NoteSignal(int signalNumber) {
  int expected = 0;
  if (pendingSignal.compare_exchange_strong(expected, signalNumber)) return;
  // A second signal before the first was handled: the loop is not reading
  // its messages, so let the signal end the process as it normally would.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signalNumber, &fallback, nullptr);
  raise(signalNumber);
}

}  // namespace

void WatchTerminationSignals(bool watch) {
  if (watch == watching) return;
  watching = watch;
  pendingSignal.store(0);
  for (int i = 0; i < 3; ++i) {
    if (watch) {
      struct sigaction action {};
      action.sa_handler = NoteSignal;
      sigemptyset(&action.sa_mask);
      action.sa_flags = SA_RESTART;
      sigaction(watchedSignals[i], &action, &previousActions[i]);
    } else {
      sigaction(watchedSignals[i], &previousActions[i], nullptr);
    }
  }
}

void PostCloseForTerminationSignals() {
  if (pendingSignal.load(std::memory_order_relaxed) == 0) return;
  pendingSignal.store(0);
  for (HWND handle : AllWindows()) {
    Window* window = FindWindow(handle);
    if ((window->style & WS_CHILD) == 0 && !window->destroying)
      PostMessageA(handle, WM_CLOSE, 0, 0);
  }
}

}  // namespace vyn::user

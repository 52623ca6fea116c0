#include "user/MessageQueue.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <vector>

#include "kernel/Kernel.h"
#include "user/InputMessages.h"
#include "user/TerminationSignals.h"
#include "user/WindowTable.h"

namespace vyn::user {
namespace {

struct Queue {
  std::deque<MSG> posted;
  // Input from the display waits behind posted messages, as hardware input
  // does on Windows.
  std::deque<MSG> input;
  bool quitPending = false;
  int quitCode = 0;
  POINT pointer{};
  std::vector<display::NativeWindow> dismissedDialogs;
};

Queue& queue() {
  static Queue q;
  return q;
}

bool Admits(const MSG& message, HWND windowFilter, UINT filterMin, UINT filterMax) {
  // A filter of -1 asks for the thread's own messages only (hwnd null).
  if (windowFilter == reinterpret_cast<HWND>(-1)) {
    if (message.hwnd != nullptr) return false;
  } else if (windowFilter != nullptr && message.hwnd != windowFilter) {
    return false;
  }
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

// Takes the first admitted message of `from` into `out`.
bool TakeFrom(std::deque<MSG>& from, MSG& out, HWND windowFilter, UINT filterMin, UINT filterMax,
              bool remove) {
  auto it = std::find_if(from.begin(), from.end(), [&](const MSG& m) {
    return Admits(m, windowFilter, filterMin, filterMax);
  });
  if (it == from.end()) return false;
  out = *it;
  if (remove) from.erase(it);
  return true;
}

// Moves the display's pending events into the input queue as messages.
// Events of windows that are gone are dropped.
void PumpDisplayEvents() {
  Queue& q = queue();
  display::Display& screen = display::ActiveDisplay();
  display::InputEvent event{};
  while (screen.nextEvent(event)) {
    if (event.kind == display::InputEvent::Kind::DialogDismissed) {
      q.dismissedDialogs.push_back(event.window);
      continue;
    }
    Window* window = FindWindow(WindowOfNative(event.window));
    if (window == nullptr || window->destroying) continue;
    RECT rect = CurrentRect(*window);
    POINT origin{rect.left, rect.top};
    if (event.kind == display::InputEvent::Kind::ButtonDown ||
        event.kind == display::InputEvent::Kind::Motion ||
        event.kind == display::InputEvent::Kind::Wheel)
      q.pointer = POINT{event.x + origin.x, event.y + origin.y};
    if (std::optional<MSG> message = MessageForInput(event, window->handle, origin)) {
      message->time = MessageTime();
      message->pt = q.pointer;
      q.input.push_back(*message);
    }
  }
}

bool TakePaint(MSG& out, HWND windowFilter, UINT filterMin, UINT filterMax) {
  if (!AnyWindowNeedsPaint()) return false;
  for (HWND handle : AllWindows()) {
    Window* window = FindWindow(handle);
    if (!window->visible || !window->needsPaint || window->destroying) continue;
    MSG paint{handle, WM_PAINT, 0, 0, MessageTime(), queue().pointer};
    if (!Admits(paint, windowFilter, filterMin, filterMax)) continue;
    out = paint;  // stays pending until the window is painted
    return true;
  }
  return false;
}

}  // namespace

void PostToQueue(const MSG& message) { queue().posted.push_back(message); }
void PostInputMessage(const MSG& message) { queue().input.push_back(message); }

void PurgeMessagesFor(HWND window) {
  auto forWindow = [window](const MSG& m) { return m.hwnd == window; };
  Queue& q = queue();
  std::erase_if(q.posted, forWindow);
  std::erase_if(q.input, forWindow);
}

bool TakeDialogDismissal(display::NativeWindow box) {
  auto& dismissed = queue().dismissedDialogs;
  auto it = std::find(dismissed.begin(), dismissed.end(), box);
  if (it == dismissed.end()) return false;
  dismissed.erase(it);
  return true;
}

DWORD MessageTime() {
  static const auto start = std::chrono::steady_clock::now();
  auto elapsed = std::chrono::steady_clock::now() - start;
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

POINT LastPointerPosition() { return queue().pointer; }

void ForgetQueuedMessages() { queue() = Queue{}; }

}  // namespace vyn::user

using namespace vyn::user;

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && FindWindow(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  PostToQueue(MSG{window, message, wParam, lParam, MessageTime(), LastPointerPosition()});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  // Not a queued message: a flag that PeekMessageA turns into WM_QUIT once
  // nothing else is queued.
  queue().quitPending = true;
  queue().quitCode = exitCode;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (message == nullptr) return FALSE;
  PostCloseForTerminationSignals();
  // Only a process that has windows reads the display; a bare queue does not
  // choose one.
  Queue& q = queue();
  if (AnyWindows()) PumpDisplayEvents();
  bool remove = (removeFlags & PM_REMOVE) != 0;
  if (TakeFrom(q.posted, *message, window, filterMin, filterMax, remove)) return TRUE;
  if (TakeFrom(q.input, *message, window, filterMin, filterMax, remove)) return TRUE;
  if (q.quitPending) {
    MSG quit{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, MessageTime(), q.pointer};
    if (window == nullptr && Admits(quit, nullptr, filterMin, filterMax)) {
      if (remove) q.quitPending = false;
      *message = quit;
      return TRUE;
    }
  }
  return TakePaint(*message, window, filterMin, filterMax) ? TRUE : FALSE;
}

namespace {

// The character a key makes, without the state of Shift; 0 for none.
char CharacterOfKey(WPARAM key) {
  if (key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 'a');
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  switch (key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x08;
    case VK_TAB: return '\t';
    default: return 0;
  }
}

}  // namespace

BOOL TranslateMessage(const MSG* message) {
  if (message == nullptr) return FALSE;
  UINT m = message->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_KEYUP && m != WM_SYSKEYUP) return FALSE;
  char character = m == WM_KEYDOWN || m == WM_SYSKEYDOWN ? CharacterOfKey(message->wParam) : 0;
  if (character != 0) {
    UINT charMessage = m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    // The character comes right after the key, ahead of later input.
    PostToQueue(MSG{message->hwnd, charMessage, static_cast<WPARAM>(character), message->lParam,
                    message->time, message->pt});
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return 0;
  Window* window = FindWindow(message->hwnd);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WNDPROC procedure = window->procedure;
  return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

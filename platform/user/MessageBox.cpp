// Message boxes. On a display that shows dialogs, the box is modal: until it
// is closed, this call runs the message loop, so the owner's messages keep
// being dispatched, as in Windows' modal loop. Elsewhere the box is one line
// on standard error and is answered with IDOK at once.
#include <cstdio>
#include <string>

#include "user/MessageQueue.h"
#include "user/WindowTable.h"

namespace {

// How long the modal loop sleeps at most between looks at its queue.
constexpr int ModalWaitMilliseconds = 20;

void ReportInText(const std::string& caption, const std::string& text) {
  std::string line = caption + ": " + text;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

// Runs the modal loop until the box is closed, its owner goes away or a
// quit arrives (which is posted again for the loop outside).
void RunModalLoop(vyn::display::Display& screen, vyn::display::NativeWindow box, HWND owner) {
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (vyn::user::TakeDialogDismissal(box)) return;
    if (owner != nullptr && !IsWindow(owner)) return;
    screen.waitForEvents(ModalWaitMilliseconds);
  }
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
  std::string body = text != nullptr ? text : "";
  std::string title = caption != nullptr ? caption : "Error";  // Windows' caption when none is given
  vyn::user::Window* ownerWindow = vyn::user::FindWindow(owner);
  if (ownerWindow == nullptr) owner = nullptr;

  vyn::display::Display& screen = vyn::display::ActiveDisplay();
  vyn::display::NativeWindow ownerNative =
      ownerWindow != nullptr ? ownerWindow->native : vyn::display::NoNativeWindow;
  vyn::display::NativeWindow box = screen.openMessageBox(ownerNative, title, body);
  if (box == vyn::display::NoNativeWindow) {
    ReportInText(title, body);
    return IDOK;
  }
  RunModalLoop(screen, box, owner);
  screen.destroyWindow(box);
  return IDOK;
}

#include "user/UserState.h"

#include "user/ActiveWindow.h"
#include "user/Cursor.h"
#include "user/MessageQueue.h"
#include "user/TerminationSignals.h"
#include "user/WindowClassRegistry.h"
#include "user/WindowTable.h"

namespace vyn::user {

void ResetUserState() {
  for (HWND handle : AllWindows())
    if (IsWindow(handle)) DestroyWindow(handle);
  WatchTerminationSignals(false);
  ForgetQueuedMessages();
  ForgetWindowClasses();
  SetActiveWindow(nullptr);
  if (CursorDisplayCount() < 0) display::ActiveDisplay().setPointerVisible(true);
  ResetCursor();
}

}  // namespace vyn::user

// The thread's message queue: posted messages, input messages made from the
// display's events, the pending quit, and generated WM_PAINT.
#pragma once

#include "display/Display.h"
#include "user/User.h"

namespace vyn::user {

void PostToQueue(const MSG& message);
void PostInputMessage(const MSG& message);

// Drops every queued message for a window that is going away.
void PurgeMessagesFor(HWND window);

// True once, for a message box that the user closed since the last call.
bool TakeDialogDismissal(display::NativeWindow box);

// Milliseconds since the process started: MSG::time.
DWORD MessageTime();
// Where the pointer was last seen, in screen coordinates: MSG::pt.
POINT LastPointerPosition();

void ForgetQueuedMessages();

}  // namespace vyn::user

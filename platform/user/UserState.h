// Tests: puts the window layer back as a fresh process has it.
#pragma once

namespace vyn::user {

// Destroys every window (sending their messages), forgets the classes, the
// queue and a pending quit, and sets the cursor count back to 0.
void ResetUserState();

}  // namespace vyn::user

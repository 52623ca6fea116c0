// Turns a display event into the window message that Windows would queue.
#pragma once

#include <optional>

#include "display/Display.h"
#include "user/User.h"

namespace vyn::user {

// The message for `event` addressed to `window` whose client area starts at
// `clientOrigin` on the screen; nothing for events with no message.
std::optional<MSG> MessageForInput(const display::InputEvent& event, HWND window,
                                   POINT clientOrigin);

}  // namespace vyn::user

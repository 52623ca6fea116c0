#include "user/InputMessages.h"

namespace vyn::user {
namespace {

LPARAM MakeLParam(int low, int high) {
  auto word = [](int v) { return static_cast<std::uint32_t>(static_cast<std::uint16_t>(v)); };
  return static_cast<LPARAM>(static_cast<std::int32_t>(word(low) | (word(high) << 16)));
}

MSG KeyMessage(const display::InputEvent& event) {
  // Alt held turns a key into a system key, as do Alt and F10 themselves.
  bool system = event.altHeld || event.keyCode == VK_MENU || event.keyCode == VK_F10;
  // lParam: repeat count 1; bit 29, the context code, is set while Alt is down.
  LPARAM flags = 1;
  if (event.altHeld) flags |= LPARAM{1} << 29;
  return MSG{nullptr, system ? WM_SYSKEYDOWN : WM_KEYDOWN, event.keyCode, flags, 0, {}};
}

std::optional<MSG> ButtonMessage(const display::InputEvent& event) {
  UINT message;
  WPARAM keyState;
  switch (event.button) {
    case 1: message = WM_LBUTTONDOWN; keyState = MK_LBUTTON; break;
    case 2: message = WM_MBUTTONDOWN; keyState = MK_MBUTTON; break;
    case 3: message = WM_RBUTTONDOWN; keyState = MK_RBUTTON; break;
    default: return std::nullopt;
  }
  return MSG{nullptr, message, keyState, MakeLParam(event.x, event.y), 0, {}};
}

}  // namespace

std::optional<MSG> MessageForInput(const display::InputEvent& event, HWND window,
                                   POINT clientOrigin) {
  using Kind = display::InputEvent::Kind;
  std::optional<MSG> message;
  switch (event.kind) {
    case Kind::KeyDown: message = KeyMessage(event); break;
    case Kind::ButtonDown: message = ButtonMessage(event); break;
    case Kind::Motion:
      message = MSG{nullptr, WM_MOUSEMOVE, 0, MakeLParam(event.x, event.y), 0, {}};
      break;
    case Kind::Wheel: {
      // The wheel carries its delta in the high word and, unlike the other
      // mouse messages, the pointer in screen coordinates.
      WPARAM delta = static_cast<WPARAM>(static_cast<std::uint16_t>(event.wheelDelta)) << 16;
      message = MSG{nullptr, WM_MOUSEWHEEL, delta,
                    MakeLParam(event.x + clientOrigin.x, event.y + clientOrigin.y), 0, {}};
      break;
    }
    case Kind::CloseRequest: message = MSG{nullptr, WM_CLOSE, 0, 0, 0, {}}; break;
    case Kind::DialogDismissed: break;
  }
  if (message) message->hwnd = window;
  return message;
}

}  // namespace vyn::user

// The cursor: the display count of ShowCursor and the system cursors.
#include <array>

#include "kernel/Kernel.h"
#include "display/Display.h"
#include "user/Cursor.h"
#include "user/User.h"

namespace vyn::user {
namespace {

// The pointer shows while the count is zero or more; it starts at 0, as for
// a process on a machine with a mouse.
int displayCount = 0;

// One object per system cursor, so that each has its own handle.
constexpr std::array<WORD, 14> systemCursorIds = {32512, 32513, 32514, 32515, 32516, 32640, 32641,
                                                  32642, 32643, 32644, 32645, 32646, 32648, 32650};
std::array<char, systemCursorIds.size()> systemCursors{};

}  // namespace

int CursorDisplayCount() { return displayCount; }
void ResetCursor() { displayCount = 0; }

}  // namespace vyn::user

int ShowCursor(BOOL show) {
  int& count = vyn::user::displayCount;
  bool wasVisible = count >= 0;
  count += show ? 1 : -1;
  bool visible = count >= 0;
  if (visible != wasVisible) vyn::display::ActiveDisplay().setPointerVisible(visible);
  return count;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  // The module holds no cursor resources; only the system's can be loaded.
  if (instance == nullptr && IsIntResource(name)) {
    auto id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    for (std::size_t i = 0; i < vyn::user::systemCursorIds.size(); ++i)
      if (vyn::user::systemCursorIds[i] == id)
        return reinterpret_cast<HCURSOR>(&vyn::user::systemCursors[i]);
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

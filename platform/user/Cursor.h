// The ShowCursor count, for tests and the state reset.
#pragma once

namespace vyn::user {

int CursorDisplayCount();
void ResetCursor();

}  // namespace vyn::user

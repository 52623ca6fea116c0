// Run mode: the saver window, the rendering start and the main loop.
#pragma once

#include "kernel/Win32Types.h"

namespace vyn::saver {

// Entered with the single-instance mutex owned; releases it on its own
// exits. Returns WinMain's result: 0 at the normal end of a run, 1 otherwise.
int EnterRunMode(HINSTANCE instance, int showCommand, HANDLE mutex);

}  // namespace vyn::saver

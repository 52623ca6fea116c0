// Run mode: the saver window, the rendering start and the main loop.
#pragma once

#include "kernel/Win32Types.h"

namespace vyn::saver {

// Entered with the single-instance mutex owned; releases it on its own
// exits. Returns WinMain's result: 0 at the normal end of a run, 1 otherwise.
int EnterRunMode(HINSTANCE instance, int showCommand, HANDLE mutex);

// Starts the rendering layer on the saver window. Returns 1; when the layer
// cannot be started it writes one debugger line and ends the process with
// exit code 1.
int StartRenderingLayer();

}  // namespace vyn::saver

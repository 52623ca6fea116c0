// The entry point that the process start-up calls (platform/entry).
#pragma once

#include "kernel/Win32Types.h"

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

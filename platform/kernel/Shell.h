// Win32 shell: starting another program.
#pragma once

#include "kernel/Win32Types.h"

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWDEFAULT = 10;

// "open" runs the program without a shell and without waiting for it. A
// result above 32 means the program was started; 2 (file not found) otherwise.
HINSTANCE ShellExecuteA(HWND parent, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCommand);

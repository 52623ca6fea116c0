// Win32 shell: starting another program.
#pragma once

#include "kernel/Win32Types.h"

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWDEFAULT = 10;

// ShellExecuteA's error results (the value of the returned HINSTANCE).
inline constexpr int SE_ERR_FNF = 2;           // the program was not found
inline constexpr int SE_ERR_PNF = 3;           // the working directory was not found
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_NOASSOC = 31;      // a verb other than "open"

// "open" runs the program without a shell and without waiting for it. A
// result above 32 means the program was started; an SE_ERR_ code otherwise,
// and then nothing was started.
HINSTANCE ShellExecuteA(HWND parent, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCommand);

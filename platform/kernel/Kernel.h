// Win32 kernel calls: named mutex, last error, profile (INI) reads,
// debugger output and process exit.
#pragma once

#include <functional>
#include <string>

#include "kernel/Win32Types.h"

struct SECURITY_ATTRIBUTES;

// Named mutex shared by every process of the same user. The name exists while
// any live process holds a handle to it; it goes away with its last holder,
// whichever way that process ends.
HANDLE CreateMutexA(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, LPCSTR name);
BOOL ReleaseMutex(HANDLE mutex);
BOOL CloseHandle(HANDLE handle);
DWORD GetLastError();
void SetLastError(DWORD error);

// Profile reads from "<name>" in the Windows directory (see WindowsDirectory).
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR fileName);

// Debugger output: each call's text goes to the debugger sink.
void OutputDebugStringA(LPCSTR text);

// Ends the process with the given exit code, through the normal process exit.
[[noreturn]] void ExitProcess(UINT exitCode);

HMODULE GetModuleHandleA(LPCSTR moduleName);

namespace vyn::kernel {

// The folder that stands for the Windows directory: $VYN_WINDOWS_DIR when set,
// else ${XDG_CONFIG_HOME:-$HOME/.config}/vyn.
std::string WindowsDirectory();

// Where OutputDebugStringA's text goes. By default it is written to standard
// error when VYN_DEBUG is set and dropped otherwise. Tests install a capture;
// an empty function restores the default.
using DebugSink = std::function<void(const char* text)>;
void SetDebugSink(DebugSink sink);

}  // namespace vyn::kernel

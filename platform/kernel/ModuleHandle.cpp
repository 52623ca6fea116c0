// Module handles. The program is one module: its handle is an address inside
// it, never null, and the same on every call, which is all that window-class
// registration and window creation need from it.
#include <strings.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "kernel/Kernel.h"

namespace {

const char mainModuleMarker = 0;

HMODULE MainModule() { return reinterpret_cast<HMODULE>(const_cast<char*>(&mainModuleMarker)); }

// The executable's file name without its folder, read from /proc.
std::string ProgramFileName() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string full(path, static_cast<size_t>(length));
  return full.substr(full.find_last_of('/') + 1);
}

// A module name matches the program with or without the ".exe" that Windows
// callers habitually give, compared without case as Windows does.
bool NamesProgram(const std::string& name) {
  std::string program = ProgramFileName();
  if (program.empty()) return false;
  if (strcasecmp(name.c_str(), program.c_str()) == 0) return true;
  return strcasecmp(name.c_str(), (program + ".exe").c_str()) == 0;
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (moduleName == nullptr || NamesProgram(moduleName)) return MainModule();
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

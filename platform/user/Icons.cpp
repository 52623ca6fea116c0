// Icons: the module holds none, so only the system's stock icons load.
#include <cstdint>

#include "kernel/Kernel.h"
#include "user/User.h"

namespace {
// IDI_APPLICATION .. IDI_WINLOGO (32512 .. 32517), one object each.
char systemIcons[6];
}  // namespace

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && IsIntResource(name)) {
    auto id = reinterpret_cast<std::uintptr_t>(name);
    if (id >= 32512 && id < 32512 + sizeof systemIcons)
      return reinterpret_cast<HICON>(&systemIcons[id - 32512]);
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

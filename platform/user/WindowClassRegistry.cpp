#include "user/WindowClassRegistry.h"

#include <strings.h>

#include <deque>

#include "kernel/Kernel.h"
#include "testctl/TestControls.h"

namespace vyn::user {
namespace {

// Class atoms live in 0xC000..0xFFFF, as on Windows, so that they never look
// like a predefined class.
constexpr ATOM FirstAtom = 0xC000;

std::deque<WindowClass>& classes() {
  static std::deque<WindowClass> registered;
  return registered;
}

}  // namespace

ATOM RegisterWindowClass(const WNDCLASSA& record) {
  if (record.lpfnWndProc == nullptr || record.lpszClassName == nullptr ||
      IsIntResource(record.lpszClassName) || record.lpszClassName[0] == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindWindowClass(record.lpszClassName) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  std::deque<WindowClass>& all = classes();
  if (all.size() >= 0x4000) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  ATOM atom = static_cast<ATOM>(FirstAtom + all.size());
  WindowClass added{atom, record.lpszClassName, record};
  added.record.lpszClassName = nullptr;
  added.record.lpszMenuName = nullptr;
  all.push_back(std::move(added));
  return atom;
}

const WindowClass* FindWindowClass(LPCSTR nameOrAtom) {
  if (nameOrAtom == nullptr) return nullptr;
  for (const WindowClass& c : classes()) {
    if (IsIntResource(nameOrAtom)) {
      if (c.atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom))) return &c;
    } else if (strcasecmp(c.name.c_str(), nameOrAtom) == 0) {  // class names ignore case
      return &c;
    }
  }
  return nullptr;
}

void ForgetWindowClasses() { classes().clear(); }

}  // namespace vyn::user

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (vyn::testctl::Enter("RegisterClassA") != S_OK) return 0;
  if (windowClass == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return vyn::user::RegisterWindowClass(*windowClass);
}

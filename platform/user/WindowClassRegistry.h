// The window classes registered by this process, found by name or atom.
#pragma once

#include <string>

#include "user/User.h"

namespace vyn::user {

struct WindowClass {
  ATOM atom;
  std::string name;
  WNDCLASSA record;  // as registered; record.lpszClassName is not kept
};

// Registers a class; 0 when the name is taken or the record is unusable.
// Entries never move, so pointers to them stay valid until
// ForgetWindowClasses.
ATOM RegisterWindowClass(const WNDCLASSA& record);

// The class named by a string or by an atom given as MAKEINTATOM, or null.
const WindowClass* FindWindowClass(LPCSTR nameOrAtom);

void ForgetWindowClasses();

}  // namespace vyn::user

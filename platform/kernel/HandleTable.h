// The process's table of kernel object handles. A HANDLE is valid from the
// call that created it until CloseHandle; every call that takes a handle
// looks it up here first, so a stale or made-up handle fails cleanly with
// ERROR_INVALID_HANDLE instead of being dereferenced.
#pragma once

#include <memory>

#include "kernel/Win32Types.h"

namespace vyn::kernel {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

HANDLE AddHandle(std::unique_ptr<KernelObject> object);

// The object behind a live handle, or null.
KernelObject* LookUpHandle(HANDLE handle);

// Takes the object out of the table; null when the handle was not live.
std::unique_ptr<KernelObject> RemoveHandle(HANDLE handle);

}  // namespace vyn::kernel

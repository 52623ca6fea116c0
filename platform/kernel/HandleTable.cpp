#include "kernel/HandleTable.h"

#include <map>
#include <mutex>

#include "kernel/Kernel.h"

namespace vyn::kernel {
namespace {

struct Table {
  std::mutex lock;
  std::map<HANDLE, std::unique_ptr<KernelObject>> objects;
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

// The object's own address serves as its handle: unique while it lives, and
// never null.
HANDLE AddHandle(std::unique_ptr<KernelObject> object) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  HANDLE handle = object.get();
  t.objects.emplace(handle, std::move(object));
  return handle;
}

KernelObject* LookUpHandle(HANDLE handle) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  auto it = t.objects.find(handle);
  return it == t.objects.end() ? nullptr : it->second.get();
}

std::unique_ptr<KernelObject> RemoveHandle(HANDLE handle) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  auto it = t.objects.find(handle);
  if (it == t.objects.end()) return nullptr;
  std::unique_ptr<KernelObject> object = std::move(it->second);
  t.objects.erase(it);
  return object;
}

}  // namespace vyn::kernel

BOOL CloseHandle(HANDLE handle) {
  if (vyn::kernel::RemoveHandle(handle) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

#include "user/WindowTable.h"

#include <cstdint>
#include <map>

#include "user/NativeWindow.h"

namespace vyn::user {
namespace {

struct Table {
  std::map<std::uintptr_t, Window> windows;  // ordered by handle: oldest first
  // Handles count up in steps of 2 from a value no pointer-sized small
  // integer or atom takes, and are never reused within a process.
  std::uintptr_t nextHandle = 0x00010010;
};

Table& table() {
  static Table t;
  return t;
}

std::uintptr_t key(HWND handle) { return reinterpret_cast<std::uintptr_t>(handle); }

}  // namespace

Window& AddWindow(Window record) {
  Table& t = table();
  std::uintptr_t value = t.nextHandle;
  t.nextHandle += 2;
  record.handle = reinterpret_cast<HWND>(value);
  return t.windows.emplace(value, std::move(record)).first->second;
}

Window* FindWindow(HWND handle) {
  if (handle == nullptr) return nullptr;
  auto& windows = table().windows;
  auto it = windows.find(key(handle));
  return it == windows.end() ? nullptr : &it->second;
}

HWND WindowOfNative(display::NativeWindow native) {
  if (native == display::NoNativeWindow) return nullptr;
  for (auto& [value, window] : table().windows)
    if (window.native == native) return window.handle;
  return nullptr;
}

void RemoveWindow(HWND handle) { table().windows.erase(key(handle)); }

RECT CurrentRect(Window& window) {
  if (window.native != display::NoNativeWindow)
    window.screenRect = display::ActiveDisplay().windowRect(window.native);
  return window.screenRect;
}

std::vector<HWND> AllWindows() {
  std::vector<HWND> handles;
  for (auto& [value, window] : table().windows) handles.push_back(window.handle);
  return handles;
}

bool AnyWindows() { return !table().windows.empty(); }

bool AnyWindowNeedsPaint() {
  for (auto& [value, window] : table().windows)
    if (window.visible && window.needsPaint && !window.destroying) return true;
  return false;
}

display::NativeWindow NativeWindowOf(HWND handle) {
  Window* window = FindWindow(handle);
  return window != nullptr ? window->native : display::NoNativeWindow;
}

}  // namespace vyn::user

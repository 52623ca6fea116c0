#include "gdi/GdiObjects.h"

#include <mutex>

namespace vyn::gdi {
namespace {

struct Slot {
  std::unique_ptr<GdiObject> object;
  std::uint32_t generation = 1;
};

struct Table {
  std::mutex lock;
  std::vector<Slot> slots;
  std::vector<std::uint32_t> freeSlots;
};

Table& table() {
  static Table t;
  return t;
}

// A handle is (generation << 32) | (slot + 1): never null, and far below the
// stock pseudo-handles at the top of the address space.
HGDIOBJ MakeHandle(std::uint32_t slot, std::uint32_t generation) {
  const std::uint64_t value = (static_cast<std::uint64_t>(generation & 0xFFFFFF) << 32) | (slot + 1ull);
  return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(value));
}

Slot* FindSlot(Table& t, const void* handle) {
  const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
  const std::uint64_t low = value & 0xFFFFFFFFull;
  const std::uint64_t generation = value >> 32;
  if (low == 0 || low > t.slots.size()) return nullptr;
  Slot& slot = t.slots[low - 1];
  if (slot.object == nullptr || (slot.generation & 0xFFFFFF) != generation) return nullptr;
  return &slot;
}

}  // namespace

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  std::uint32_t index;
  if (!t.freeSlots.empty()) {
    index = t.freeSlots.back();
    t.freeSlots.pop_back();
  } else {
    index = static_cast<std::uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  t.slots[index].object = std::move(object);
  return MakeHandle(index, t.slots[index].generation);
}

GdiObject* FindObject(const void* handle, ObjectKind kind) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  Slot* slot = FindSlot(t, handle);
  if (slot == nullptr || slot->object->kind != kind) return nullptr;
  return slot->object.get();
}

Bitmap* FindBitmap(const void* handle) {
  return static_cast<Bitmap*>(FindObject(handle, ObjectKind::Bitmap));
}

DeviceContext* FindDc(const void* handle) {
  return static_cast<DeviceContext*>(FindObject(handle, ObjectKind::DeviceContext));
}

void RemoveObject(const void* handle) {
  std::unique_ptr<GdiObject> gone;  // destroyed outside the lock
  Table& t = table();
  std::lock_guard guard(t.lock);
  Slot* slot = FindSlot(t, handle);
  if (slot == nullptr) return;
  gone = std::move(slot->object);
  ++slot->generation;
  t.freeSlots.push_back(static_cast<std::uint32_t>(slot - t.slots.data()));
}

std::size_t LiveObjectCount() {
  Table& t = table();
  std::lock_guard guard(t.lock);
  std::size_t count = 0;
  for (const Slot& slot : t.slots) {
    if (slot.object == nullptr) continue;
    const auto* bitmap = dynamic_cast<const Bitmap*>(slot.object.get());
    if (bitmap == nullptr || !bitmap->permanent) ++count;
  }
  return count;
}

HGDIOBJ DefaultBitmap() {
  static HGDIOBJ handle = [] {
    auto bitmap = std::make_unique<Bitmap>(1, 1, std::vector<std::uint32_t>{0});
    bitmap->permanent = true;
    return AddObject(std::move(bitmap));
  }();
  return handle;
}

}  // namespace vyn::gdi

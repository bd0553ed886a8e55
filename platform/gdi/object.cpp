#include "platform/gdi/object.h"

#include <vector>

namespace gdi {
namespace {

// Handle value = (slot index + 1) << 16 | generation. Never null, never a real address.
struct Slot {
  std::shared_ptr<Object> object;
  uint16_t generation = 1;
};

struct Table {
  std::vector<Slot> slots;
  std::vector<uint32_t> free;
  size_t live = 0;
};

Table& table() {
  static Table* t = new Table;  // never destroyed: handles may be released during exit
  return *t;
}

bool Decode(HGDIOBJ handle, uint32_t& index, uint16_t& generation) {
  const auto v = reinterpret_cast<uintptr_t>(handle);
  if (v < 0x10000) return false;
  index = static_cast<uint32_t>((v >> 16) - 1);
  generation = static_cast<uint16_t>(v & 0xFFFF);
  return index < table().slots.size();
}

}  // namespace

HGDIOBJ Register(std::shared_ptr<Object> object) {
  if (!object) return nullptr;
  Table& t = table();
  uint32_t index;
  if (!t.free.empty()) {
    index = t.free.back();
    t.free.pop_back();
  } else {
    if (t.slots.size() >= 0xFFFFFF) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& s = t.slots[index];
  auto h = reinterpret_cast<HGDIOBJ>((static_cast<uintptr_t>(index) + 1) << 16 | s.generation);
  object->handle_ = h;
  s.object = std::move(object);
  ++t.live;
  return h;
}

bool Unregister(HGDIOBJ handle) {
  uint32_t index;
  uint16_t gen;
  if (!Decode(handle, index, gen)) return false;
  Slot& s = table().slots[index];
  if (!s.object || s.generation != gen) return false;
  s.object->handle_ = nullptr;
  s.object.reset();
  s.generation = static_cast<uint16_t>(s.generation == 0xFFFF ? 1 : s.generation + 1);
  table().free.push_back(index);
  --table().live;
  return true;
}

Object* LookupRaw(HGDIOBJ handle) {
  uint32_t index;
  uint16_t gen;
  if (Decode(handle, index, gen)) {
    Slot& s = table().slots[index];
    if (s.object && s.generation == gen) return s.object.get();
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

std::shared_ptr<Object> Lookup(HGDIOBJ handle) {
  uint32_t index;
  uint16_t gen;
  if (Decode(handle, index, gen)) {
    Slot& s = table().slots[index];
    if (s.object && s.generation == gen) return s.object;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

size_t LiveHandleCount() { return table().live; }

}  // namespace gdi

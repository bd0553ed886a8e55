#include "platform/kernel/handles.h"

#include <map>
#include <mutex>

namespace kernel {
namespace {

struct Table {
  std::mutex mutex;
  std::map<uintptr_t, std::shared_ptr<KernelObject>> objects;
  uintptr_t next = 0x100;  // kernel handles are multiples of 4, as on Win32
};

Table& T() {
  static auto* t = new Table;
  return *t;
}

}  // namespace

HANDLE Register(std::shared_ptr<KernelObject> object) {
  if (!object) return nullptr;
  Table& t = T();
  std::lock_guard lock(t.mutex);
  t.next += 4;
  t.objects[t.next] = std::move(object);
  return reinterpret_cast<HANDLE>(t.next);
}

std::shared_ptr<KernelObject> LookupObject(HANDLE handle) {
  Table& t = T();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == t.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

bool Close(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  Table& t = T();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == t.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  doomed = std::move(it->second);
  t.objects.erase(it);
  return true;
}

}  // namespace kernel

BOOL CloseHandle(HANDLE handle) { return kernel::Close(handle) ? TRUE : FALSE; }

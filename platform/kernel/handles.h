// Kernel objects behind HANDLEs (files, mutexes, ...): a table of live objects, so a stale or
// made-up handle fails with ERROR_INVALID_HANDLE instead of being dereferenced. Safe to use
// from any thread.
#pragma once

#include <memory>

#include "platform/win32/types.h"

namespace kernel {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

HANDLE Register(std::shared_ptr<KernelObject> object);
// The object behind a handle if it is a T, else null with ERROR_INVALID_HANDLE set.
std::shared_ptr<KernelObject> LookupObject(HANDLE handle);
template <class T>
std::shared_ptr<T> Lookup(HANDLE handle) {
  auto o = std::dynamic_pointer_cast<T>(LookupObject(handle));
  if (!o) SetLastError(ERROR_INVALID_HANDLE);
  return o;
}
// Removes the handle; the object goes when its last user lets go of it.
bool Close(HANDLE handle);

}  // namespace kernel

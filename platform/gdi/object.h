// GDI objects and the handle table.
//
// A handle is an opaque value naming a slot of one table plus a generation count, so a
// stale or made-up handle is recognised and refused (FALSE/NULL + ERROR_INVALID_HANDLE)
// instead of being dereferenced. The table holds a shared reference to each object; a DC
// holds its own reference to what is selected into it, so deleting a selected pen or brush
// leaves the DC drawing with it until it is deselected (as on Win32).
//
// GDI is single-threaded here: only the main thread calls it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/win32/gdi.h"

namespace gdi {

// Values are the Win32 OBJ_ numbers.
enum class ObjectType : uint8_t {
  Pen = OBJ_PEN,
  Brush = OBJ_BRUSH,
  DC = OBJ_DC,
  Palette = OBJ_PAL,
  Font = OBJ_FONT,
  Bitmap = OBJ_BITMAP,
  Region = OBJ_REGION,
  MemDC = OBJ_MEMDC,
  ExtPen = OBJ_EXTPEN,
};

class Object {
 public:
  explicit Object(ObjectType type) : type_(type) {}
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  ObjectType type() const { return type_; }
  bool stock() const { return stock_; }
  void set_stock() { stock_ = true; }
  // The handle naming this object in the table (null once deleted).
  HGDIOBJ handle() const { return handle_; }

 private:
  friend HGDIOBJ Register(std::shared_ptr<Object> object);
  friend bool Unregister(HGDIOBJ handle);
  ObjectType type_;
  bool stock_ = false;
  HGDIOBJ handle_ = nullptr;

 protected:
  void set_type(ObjectType t) { type_ = t; }
};

// Enters an object into the table and returns its new handle.
HGDIOBJ Register(std::shared_ptr<Object> object);
// Removes a handle from the table; the object lives on while something else holds it.
bool Unregister(HGDIOBJ handle);
// The object behind a handle, or null (with ERROR_INVALID_HANDLE set) when the handle is
// not live.
std::shared_ptr<Object> Lookup(HGDIOBJ handle);
Object* LookupRaw(HGDIOBJ handle);

// The object behind a handle when it is of type T, else null with ERROR_INVALID_HANDLE.
template <class T>
T* Get(const void* handle) {
  Object* o = LookupRaw(const_cast<void*>(handle));
  if (!o) return nullptr;
  if (!T::Accepts(o->type())) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return static_cast<T*>(o);
}

template <class T>
std::shared_ptr<T> GetShared(const void* handle) {
  std::shared_ptr<Object> o = Lookup(const_cast<void*>(handle));
  if (!o) return nullptr;
  if (!T::Accepts(o->type())) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return std::static_pointer_cast<T>(o);
}

// Makes an object, registers it and returns its handle as the requested handle type.
template <class H, class T, class... Args>
H Make(Args&&... args) {
  return static_cast<H>(Register(std::make_shared<T>(std::forward<Args>(args)...)));
}

// Number of live handles (leak checks in tests).
size_t LiveHandleCount();

}  // namespace gdi

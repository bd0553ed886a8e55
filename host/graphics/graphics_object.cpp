#include "host/graphics/graphics_object.h"

#include <utility>
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TGraphicsObject, TPersistent)


TGraphicsObject::~TGraphicsObject() { Release(handle_); }

HGDIOBJ TGraphicsObject::HandleNeeded() {
  if (!handle_) handle_ = CreateHandle();
  return handle_;
}

void TGraphicsObject::AdoptHandle(HGDIOBJ handle) {
  HGDIOBJ old = std::exchange(handle_, handle);
  if (OnChange) OnChange(this);
  if (old != handle) Release(old);
}

void TGraphicsObject::Changed(bool handle_stale) {
  if (updating_ > 0) {
    pending_ = true;
    pending_stale_ = pending_stale_ || handle_stale;
    return;
  }
  HGDIOBJ old = handle_stale ? std::exchange(handle_, nullptr) : nullptr;
  if (OnChange) OnChange(this);
  Release(old);
}

void TGraphicsObject::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && pending_) {
    const bool stale = pending_stale_;
    pending_ = pending_stale_ = false;
    Changed(stale);
  }
}

void TGraphicsObject::Release(HGDIOBJ handle) {
  if (handle) DeleteObject(handle);
}

}  // namespace host

// TGraphicsObject: the common part of TFont, TPen and TBrush, a set of properties behind
// one GDI object that is made when first asked for and remade after a change.
#pragma once

#include "host/classes/classes.h"
#include "platform/win32/gdi.h"

namespace host {

class TGraphicsObject : public TPersistent {
 public:
  HOST_CLASS(TGraphicsObject)
  TGraphicsObject() = default;
  ~TGraphicsObject() override;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;

  // Whether the GDI object exists right now (it is made on demand).
  bool HandleAllocated() const { return handle_ != nullptr; }

  TNotifyEvent OnChange;

 protected:
  // The GDI object, made by CreateHandle when there is none.
  HGDIOBJ HandleNeeded();
  HGDIOBJ CurrentHandle() const { return handle_; }
  virtual HGDIOBJ CreateHandle() = 0;
  // Takes over a GDI object made elsewhere (the caller has read its properties back into
  // the fields) and reports the change; the old object goes after the listeners have run.
  void AdoptHandle(HGDIOBJ handle);

  // Reports a change of the properties: OnChange fires once (once per batch between
  // BeginUpdate and EndUpdate). A stale handle is dropped first and deleted only after the
  // listeners have run, so a canvas can take it out of its DC before it goes.
  void Changed(bool handle_stale = true);
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

 private:
  void Release(HGDIOBJ handle);

  HGDIOBJ handle_ = nullptr;
  int updating_ = 0;
  bool pending_ = false;
  bool pending_stale_ = false;
};

}  // namespace host

// TZYRStrList: a list of strings kept as form data. Everything is forwarded to one owned
// host string list, which accepts duplicate lines from the start.
#pragma once

#include <memory>

#include "host/classes/strings.h"
#include "library/foundation/objects.h"

namespace zyr {

class TZYRStrList : public TZYRComponent {
  HOST_CLASS(TZYRStrList)
  explicit TZYRStrList(TComponent* owner);
  ~TZYRStrList() override;

  host::TStrings* Items() const { return list_.get(); }
  // Copies the given strings; the source stays independent of the component.
  void SetItems(host::TStrings* value);
  bool Sorted() const { return list_->Sorted(); }
  void SetSorted(bool value);
  host::TDuplicates Duplicates() const { return list_->Duplicates(); }
  void SetDuplicates(host::TDuplicates value);
  host::TStringList* List() const { return list_.get(); }

 private:
  std::unique_ptr<host::TStringList> list_;

 public:
  // The owned list's own events: the sender is the string list, not the component. They hide
  // the component's OnChange so that code and stored forms reach the same handler.
  TNotifyEvent& OnChange;
  TNotifyEvent& OnChanging;
};

}  // namespace zyr

#include "library/services/strlist.h"

#include <any>
#include <string>

#include "host/classes/publish.h"

namespace zyr {

namespace {

// Publishes an event of the owned list under the component: the entry is made like any
// event and then pointed at the list's member.
void PublishListEvent(host::ClassBuilder<TZYRStrList>& c, const char* name, TNotifyEvent host::TStringList::*event) {
  host::PropInfo& p = c.Event(name, &TZYRComponent::OnChange);
  p.event_assigned = [event](const TObject* o) {
    return static_cast<bool>(static_cast<const TZYRStrList*>(o)->List()->*event);
  };
  p.set_event = [event](TObject* o, const std::any& handler) {
    host::TStringList* list = static_cast<TZYRStrList*>(o)->List();
    list->*event = handler.has_value() ? std::any_cast<TNotifyEvent>(handler) : TNotifyEvent();
  };
}

}  // namespace

// No declared defaults: Sorted and Duplicates go with every stored form.
HOST_PUBLISHED(TZYRStrList, TZYRComponent) {
  HOST_PROP(Items);
  HOST_PROP(Sorted);
  HOST_PROP(Duplicates);
  PublishListEvent(c, "OnChange", &host::TStringList::OnChange);
  PublishListEvent(c, "OnChanging", &host::TStringList::OnChanging);
}

TZYRStrList::TZYRStrList(TComponent* owner)
    : TZYRComponent(owner),
      list_(std::make_unique<host::TStringList>()),
      OnChange(list_->OnChange),
      OnChanging(list_->OnChanging) {
  list_->SetDuplicates(host::dupAccept);
}

TZYRStrList::~TZYRStrList() = default;

void TZYRStrList::SetItems(host::TStrings* value) { list_->Assign(value); }

void TZYRStrList::SetSorted(bool value) {
  if (value != list_->Sorted()) list_->SetSorted(value);
}

void TZYRStrList::SetDuplicates(host::TDuplicates value) { list_->SetDuplicates(value); }

}  // namespace zyr

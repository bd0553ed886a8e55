#include "host/classes/component.h"

#include <algorithm>

#include "host/classes/filer.h"
#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/strings.h"

namespace host {

namespace {

void Erase(std::vector<TComponent*>& list, TComponent* c) {
  auto it = std::find(list.begin(), list.end(), c);
  if (it != list.end()) list.erase(it);
}

}  // namespace

HOST_PUBLISHED(TComponent, TPersistent) {
  c.Property("Name", &TComponent::Name, &TComponent::SetName).Never();
  c.Property("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(), [&](char ch) { return alpha(ch) || (ch >= '0' && ch <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() { Teardown(); }

void TComponent::Free() {
  if (!torn_down_) {
    BeforeDestruction();
    Teardown();
  }
  delete this;
}

void TComponent::Teardown() {
  if (torn_down_) return;
  torn_down_ = true;
  Destroying();
  // Everyone linked to this component forgets it, last link first.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    Erase(other->free_notifies_, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  ValidateRename(component, "", component->name_);
  components_.push_back(component);
  component->owner_ = this;
  if (IsDesigning()) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  Erase(components_, component);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    // The owned component leaves the list first so that a failing destructor elsewhere can
    // never make us free it twice.
    components_.pop_back();
    last->owner_ = nullptr;
    Notification(last, opRemove);
    last->Free();
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) {
    throw EComponentError("'" + name + "' is not a valid component name");
  }
  if (owner_) {
    owner_->ValidateRename(this, name_, name);
  } else {
    ValidateRename(nullptr, name_, name);
  }
  name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const std::string& current,
                                const std::string& new_name) {
  if (!component || component->owner_ != this || SameText(current, new_name)) return;
  TComponent* existing = FindComponent(new_name);
  if (existing && existing != component) {
    throw EComponentError("A component named " + new_name + " already exists");
  }
}

void TComponent::SetDesigning(bool designing, bool children) {
  if (designing) {
    state_.Include(csDesigning);
  } else {
    state_.Exclude(csDesigning);
  }
  if (children) {
    for (TComponent* c : components_) c->SetDesigning(designing, true);
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // A handler may free components while we walk; index carefully.
  for (size_t i = 0; i < components_.size(); ++i) {
    components_[i]->Notification(component, operation);
  }
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  state_.Include(csFreeNotification);
  if (owner_ && other->owner_ == owner_) return;  // siblings are told through the owner
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end()) {
    free_notifies_.push_back(other);
    other->free_notifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  Erase(free_notifies_, other);
  Erase(other->free_notifies_, this);
}

void TComponent::SetEventName(const std::string& path, const std::string& handler) {
  for (auto it = event_names_.begin(); it != event_names_.end(); ++it) {
    if (SameText(it->first, path)) {
      if (handler.empty()) {
        event_names_.erase(it);
      } else {
        it->second = handler;
      }
      return;
    }
  }
  if (!handler.empty()) event_names_.emplace_back(path, handler);
}

std::string TComponent::EventName(std::string_view path) const {
  for (const auto& [p, h] : event_names_) {
    if (SameText(p, path)) return h;
  }
  return "";
}

void TComponent::ReadState(TReader& reader) { reader.ReadData(this); }

void TComponent::WriteState(TWriter& writer) { writer.WriteData(this); }

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::SetParentComponent(TComponent*) {}

HOST_PUBLISHED(TDataModule, TComponent) {
  c.Event("OnCreate", &TDataModule::OnCreate);
  c.Event("OnDestroy", &TDataModule::OnDestroy);
}

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {}

void TDataModule::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::BeforeDestruction() {
  if (OnDestroy) OnDestroy(this);
}

void TDataModule::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent() && (c->Owner() == root)) proc(c);
  }
}

}  // namespace host

// TComponent: named objects owned in a tree. An owner frees what it owns (last created first),
// tells every owned component when a component joins or leaves, and forms are stored and read
// as trees of components (host/classes/filer.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/classes/classes.h"
#include "host/classes/enuminfo.h"
#include "host/classes/set.h"

namespace host {

class TReader;
class TComponent;
class TWriter;

HOST_ENUM(TComponentStateFlag, uint16_t, csLoading, csReading, csWriting, csDestroying,
          csDesigning, csAncestor, csUpdating, csFixups, csFreeNotification, csInline,
          csDesignInstance)
using TComponentState = Set<TComponentStateFlag>;

HOST_ENUM(TOperation, uint8_t, opInsert, opRemove)

using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
  HOST_CLASS(TComponent)
  // Joins owner's Components (owner may be null). The owner is told with
  // Notification(this, opInsert) while this object is still being constructed, so
  // notification handlers may compare the pointer but not call its virtual methods.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // Frees the component with every override still in place: marks it (and what it owns) as
  // destroying, tells components that asked for a free notification, frees what it owns, and
  // leaves its owner; then deletes it. Deleting directly does the same steps from the base
  // destructor, where overrides of the component itself no longer run.
  void Free();

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // Raises EListError ("List index out of bounds (5)") outside 0..ComponentCount()-1.
  TComponent* Components(int index) const;
  // The position in the owner's list, -1 without owner.
  int ComponentIndex() const;
  // The owned component of that name, ignoring ASCII case; nullptr when none (or name empty).
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last created first.
  void DestroyComponents();

  const std::string& Name() const { return name_; }
  // Raises EComponentError for a name that is not an identifier or that another component of
  // the same owner already has (names compare ignoring ASCII case); the empty name is allowed.
  virtual void SetName(const std::string& name);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return state_.Contains(csLoading); }
  bool IsDesigning() const { return state_.Contains(csDesigning); }
  bool IsDestroying() const { return state_.Contains(csDestroying); }
  // Turns design mode on or off for this component and everything it owns; used by tests of
  // design-time rules and by designers.
  void SetDesigning(bool designing, bool children = true);

  // Asks to be told (Notification(other, opRemove)) when other is freed even though it belongs
  // to another owner; the link is kept both ways and dropped when either side goes.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Stored handler names of events: the reader records `OnClick = helpClick` so the writer
  // can store the name again (an event set in code has no name and is not stored).
  // path is the property path below this component ("OnClick", "Font.OnChange").
  void SetEventName(const std::string& path, const std::string& handler);
  std::string EventName(std::string_view path) const;

  // Streaming. ReadState reads this component's properties and children (overrides may do
  // work around the inherited reading); Loaded runs for every component once the whole form
  // is read and clears csLoading; GetChildren passes the children the writer stores, in order.
  virtual void ReadState(TReader& reader);
  virtual void WriteState(TWriter& writer);
  virtual void Loaded();
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  // The component that owns the children read inside this one's block; nullptr = the root.
  virtual TComponent* GetChildOwner() { return nullptr; }
  // Parent links of visual children: a control has a parent besides its owner.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent);

  // The embedded form resource this class is read from ("main.form"); empty for none.
  virtual std::string FormResource() const { return ""; }
  // Reads FormResource() into this component, when there is one; host::New calls it.
  virtual void InitInstance();

  // Used by the reader and writer (and by tests of the load sequence).
  void SetStateFlags(TComponentState flags) { state_ += flags; }
  void ClearStateFlags(TComponentState flags) { state_ -= flags; }

 protected:
  // Told about every component joining or leaving this one's owner tree, and about components
  // this one asked free notifications of. A component holding a reference to another clears
  // it on opRemove. The default passes the news on to every owned component.
  virtual void Notification(TComponent* component, TOperation operation);
  // Raises EComponentError when the owner already has a component called new_name.
  virtual void ValidateRename(TComponent* component, const std::string& current,
                              const std::string& new_name);
  // Marks this component and everything it owns as being destroyed.
  virtual void Destroying();

 private:
  void Teardown();

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
  std::vector<std::pair<std::string, std::string>> event_names_;
  std::string name_;
  int32_t tag_ = 0;
  TComponentState state_;
  bool torn_down_ = false;
};

// Creates a component the way every creation runs: the constructor, then its stored form
// (InitInstance), then AfterConstruction; frees it again when a step fails.
template <class T, class... Args>
T* New(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  try {
    object->InitInstance();
    object->AfterConstruction();
  } catch (...) {
    object->Free();
    throw;
  }
  return object;
}

// True for names a component may have: a letter or underscore, then letters, digits or
// underscores (ASCII).
bool IsValidIdent(std::string_view name);

// A non-visual container for components, read from a form resource like a form.
class TDataModule : public TComponent {
  HOST_CLASS(TDataModule)
  explicit TDataModule(TComponent* owner);
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  void AfterConstruction() override;   // fires OnCreate
  void BeforeDestruction() override;   // fires OnDestroy
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
};

}  // namespace host

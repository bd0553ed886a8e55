// The library's base classes: TZYRObject (a persistent sub-object that reports its changes to
// its owner), TZYRComponent (the base of non-visual components), TZYRBaseContainer,
// TZYRWndProcComponent (hooks the owner form's window procedure), and the one-instance rule.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/component.h"
#include "host/classes/sysutils.h"
#include "host/controls/controls.h"

namespace zyr {

using host::TComponent;
using host::TNotifyEvent;
using host::TObject;

// A short string of at most 10 characters, published by every component; no run-time use.
using TZYRAboutVar = std::string;
inline constexpr size_t kAboutVarLength = 10;

class TZYRObject : public host::TPersistent {
  HOST_CLASS(TZYRObject)
  TZYRObject() = default;

  TNotifyEvent OnChange;
  // Forwards a change of a nested object as a change of this one.
  virtual void GetChange(TObject* sender);
  // Fires OnChange with this object as sender, unless updating.
  virtual void Change();
  void BeginUpdate() { updating_ = true; }
  // Ends updating; with do_change the changes made meanwhile are reported once.
  void EndUpdate(bool do_change);
  bool Updating() const { return updating_; }

 private:
  bool updating_ = false;
};

class TZYRComponent : public TComponent {
  HOST_CLASS(TZYRComponent)
  explicit TZYRComponent(TComponent* owner) : TComponent(owner) {}

  const TZYRAboutVar& About() const { return about_; }
  void SetAbout(const TZYRAboutVar& about) { about_ = about.substr(0, kAboutVarLength); }
  TNotifyEvent OnChange;
  virtual void GetChange(TObject* sender);
  virtual void Change();
  void BeginUpdate() { updating_ = true; }
  void EndUpdate(bool do_change);

 private:
  TZYRAboutVar about_;
  bool updating_ = false;
};

// Holds objects whose changes it passes on first; it never frees them.
class TZYRBaseContainer : public TZYRComponent {
  HOST_CLASS(TZYRBaseContainer)
  explicit TZYRBaseContainer(TComponent* owner) : TZYRComponent(owner) {}
  ~TZYRBaseContainer() override;
  // Adds an object and points its OnChange at the container.
  void AddObject(TZYRObject* object);
  // Takes an object out: its OnChange is cleared.
  void RemoveObject(TZYRObject* object);
  int Count() const { return static_cast<int>(objects_.size()); }
  TZYRObject* Objects(int index) const { return objects_.at(static_cast<size_t>(index)); }
  void Change() override;

 private:
  std::vector<TZYRObject*> objects_;
};

// Raised by the one-instance rule.
class ZYREOneInstError : public host::Exception {
 public:
  explicit ZYREOneInstError(const std::string& message) : host::Exception(message) {}
};

// True when the rule "one instance of cls per form" is violated for a component of cls
// being created under owner (the new component is already among the owner's components).
bool CheckOneInstance(TComponent* owner, host::TClass cls, bool allow_data_module);
// Applies the rule while designing: raises ZYREOneInstError "<class>:\r<message 16508>".
void EnforceOneInstance(TComponent* self, bool allow_data_module);

// A component that hooks its owner form's window procedure once loaded. Hooks of several
// components on one form make a chain: the most recent sees messages first.
class TZYRWndProcComponent : public TZYRComponent {
  HOST_CLASS(TZYRWndProcComponent)
  explicit TZYRWndProcComponent(TComponent* owner);
  ~TZYRWndProcComponent() override;

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  void Loaded() override;

  // The application-window hook; false leaves the message to the other handlers.
  virtual bool AppWndProc(host::TMessage& message);
  // Hooks when enabled and not hooked yet.
  virtual void StartHook();
  // Does nothing here; descendants that can let go override it.
  virtual void StopHook() {}
  // The procedure of the hooked window: passes everything on (see the .cpp for WM_DESTROY).
  virtual void WndProc(host::TMessage& message);

  bool Hooked() const { return link_ && link_->old_proc; }
  bool DestroyingWindow() const { return destroying_; }
  uint8_t FormKind() const { return form_kind_; }
  // The owner's window is there and the component is neither loading nor going.
  bool Ready() const;
  host::TCustomForm* OwnerForm() const;

 protected:
  bool Hook();
  bool Unhook();
  // The window hooked: none without owner, the MDI client of an MDI frame (unless
  // frame_window_ asks for the frame itself), else the owner's own window.
  HWND HookHandle() const;

  bool hook_application_ = false;
  bool frame_window_ = false;

 private:
  // What the installed stub calls: the component while hooked; after an unhook from the middle
  // of a chain (a later hook still calls the stub) only the procedure behind it.
  struct HookLink {
    TZYRWndProcComponent* component = nullptr;
    WNDPROC old_proc;
    HWND window = nullptr;
  };
  struct HookStub {
    std::shared_ptr<HookLink> link;
    LRESULT operator()(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const;
  };

  bool enabled_ = true;
  bool application_hooked_ = false;
  int application_hook_ = 0;
  uint8_t form_kind_ = 0;
  std::shared_ptr<HookLink> link_;
  bool destroying_ = false;
};

// Registers the library's classes that forms may name.
void RegisterFoundationClasses();

}  // namespace zyr

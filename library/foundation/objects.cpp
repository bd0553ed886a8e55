#include "library/foundation/objects.h"

#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "host/forms/forms.h"
#include "library/foundation/messages.h"

namespace zyr {

HOST_DEFINE_CLASS(TZYRObject, host::TPersistent)

void TZYRObject::GetChange(TObject*) { Change(); }

void TZYRObject::Change() {
  if (!updating_ && OnChange) OnChange(this);
}

void TZYRObject::EndUpdate(bool do_change) {
  updating_ = false;
  if (do_change) Change();
}

HOST_PUBLISHED(TZYRComponent, TComponent) { HOST_PROP(About).MaxLength(kAboutVarLength); }

void TZYRComponent::GetChange(TObject*) { Change(); }

void TZYRComponent::Change() {
  if (!updating_ && OnChange) OnChange(this);
}

void TZYRComponent::EndUpdate(bool do_change) {
  updating_ = false;
  if (do_change) Change();
}

HOST_DEFINE_CLASS(TZYRBaseContainer, TZYRComponent)

TZYRBaseContainer::~TZYRBaseContainer() {
  while (!objects_.empty()) RemoveObject(objects_.back());
}

void TZYRBaseContainer::AddObject(TZYRObject* object) {
  if (!object) return;
  objects_.push_back(object);
  object->OnChange = [this](TObject* sender) { GetChange(sender); };
}

void TZYRBaseContainer::RemoveObject(TZYRObject* object) {
  for (auto it = objects_.begin(); it != objects_.end(); ++it) {
    if (*it == object) {
      object->OnChange = nullptr;
      objects_.erase(it);
      return;
    }
  }
}

void TZYRBaseContainer::Change() {
  auto objects = objects_;
  for (TZYRObject* o : objects) o->GetChange(this);
  TZYRComponent::Change();
}

bool CheckOneInstance(TComponent* owner, host::TClass cls, bool allow_data_module) {
  if (!owner || !owner->InheritsFrom(host::TForm::StaticClass())) {
    if (!allow_data_module) return true;
    return !(owner && owner->InheritsFrom(host::TDataModule::StaticClass()));
  }
  if (!cls) return false;
  int count = 0;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    if (owner->Components(i)->InheritsFrom(cls) && ++count > 1) return true;
  }
  return false;
}

void EnforceOneInstance(TComponent* self, bool allow_data_module) {
  if (!self->IsDesigning()) return;
  if (CheckOneInstance(self->Owner(), self->ClassType(), allow_data_module)) {
    throw ZYREOneInstError(std::string(self->ClassName()) + ":\r" + host::LoadStr(kMsgOneInstance));
  }
}

HOST_PUBLISHED(TZYRWndProcComponent, TZYRComponent) { HOST_PROP(Enabled, true); }

TZYRWndProcComponent::TZYRWndProcComponent(TComponent* owner) : TZYRComponent(owner) {
  if (auto* form = dynamic_cast<host::TForm*>(owner)) {
    form_kind_ = form->FormStyle() == host::fsMDIChild ? 1 : form->FormStyle() == host::fsMDIForm ? 2 : 0;
  }
}

TZYRWndProcComponent::~TZYRWndProcComponent() { Unhook(); }

void TZYRWndProcComponent::Loaded() {
  TZYRComponent::Loaded();
  if (!IsDesigning()) StartHook();
}

void TZYRWndProcComponent::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (IsDesigning()) return;
  if (value) {
    StartHook();
  } else {
    StopHook();
  }
}

bool TZYRWndProcComponent::AppWndProc(host::TMessage&) { return false; }

void TZYRWndProcComponent::StartHook() {
  if (enabled_ && !Hooked()) Hook();
}

host::TCustomForm* TZYRWndProcComponent::OwnerForm() const { return dynamic_cast<host::TCustomForm*>(Owner()); }

HWND TZYRWndProcComponent::HookHandle() const {
  auto* owner = dynamic_cast<host::TWinControl*>(Owner());
  if (!owner) return nullptr;
  if (form_kind_ == 2 && !frame_window_) {
    if (auto* form = dynamic_cast<host::TCustomForm*>(owner)) {
      form->HandleNeeded();
      return form->ClientHandle();
    }
  }
  return owner->Handle();
}

bool TZYRWndProcComponent::Ready() const {
  auto* owner = dynamic_cast<host::TWinControl*>(Owner());
  return owner && owner->HandleAllocated() && !IsLoading() && !IsDestroying();
}

LRESULT TZYRWndProcComponent::HookStub::operator()(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const {
  if (TZYRWndProcComponent* component = link->component) {
    host::TMessage m{msg, wp, lp, 0};
    try {
      component->WndProc(m);
    } catch (const std::exception& e) {
      host::HandleException(component, e);
    }
    return m.Result;
  }
  return link->old_proc ? CallWindowProc(link->old_proc, hwnd, msg, wp, lp) : DefWindowProc(hwnd, msg, wp, lp);
}

bool TZYRWndProcComponent::Hook() {
  try {
    HWND handle = HookHandle();
    if (!handle || Hooked() || IsDesigning()) return false;
    destroying_ = false;
    if (hook_application_) {
      application_hook_ = host::Application()->HookMainWindow([this](host::TMessage& m) { return AppWndProc(m); });
      application_hooked_ = true;
    }
    auto link = std::make_shared<HookLink>();
    link->component = this;
    link->window = handle;
    link->old_proc = GetWindowProc(handle);
    link_ = link;
    SetWindowProc(handle, HookStub{link});
    return true;
  } catch (...) {
    Unhook();
    return false;
  }
}

bool TZYRWndProcComponent::Unhook() {
  bool restored = false;
  if (link_) {
    link_->component = nullptr;
    HWND window = link_->window;
    if (link_->old_proc && window && IsWindow(window)) {
      const WNDPROC current = GetWindowProc(window);
      const HookStub* on_top = current.target<HookStub>();
      if (on_top && on_top->link == link_) {
        SetWindowProc(window, link_->old_proc);
      }
      // Otherwise a later hook still calls our stub, which now only passes messages on: the
      // chain stays whole whatever the order of unhooking.
      destroying_ = false;
      restored = true;
    }
    if (restored || !IsWindow(window)) link_.reset();
  }
  if (application_hooked_) {
    host::Application()->UnhookMainWindow(application_hook_);
    application_hooked_ = false;
  }
  return restored;
}

void TZYRWndProcComponent::WndProc(host::TMessage& m) {
  const WNDPROC old = link_ ? link_->old_proc : WNDPROC();
  const HWND window = link_ ? link_->window : nullptr;
  // The window's last message always reaches the procedures behind the hook: the framework
  // forgets the window there, and a swallowed one would leave it dangling.
  if (m.Msg == WM_NCDESTROY) {
    destroying_ = false;
    if (link_) {
      link_->component = nullptr;
      link_.reset();
    }
    if (old) m.Result = CallWindowProc(old, window, m.Msg, m.WParam, m.LParam);
    return;
  }
  if (destroying_) return;
  if (m.Msg == WM_DESTROY) {
    destroying_ = true;
    if (form_kind_ == 1) {
      Unhook();
      return;
    }
  }
  if (old && window && IsWindow(window)) m.Result = CallWindowProc(old, window, m.Msg, m.WParam, m.LParam);
}

void RegisterFoundationClasses() {}

}  // namespace zyr

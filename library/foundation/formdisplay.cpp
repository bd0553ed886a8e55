#include "library/foundation/formdisplay.h"

#include <exception>

#include "host/classes/publish.h"
#include "host/classes/sysutils.h"
#include "host/classes/typinfo.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/pen.h"
#include "library/foundation/utils.h"
#include "platform/win32/user.h"

namespace zyr {

namespace {

// Whether the control's window can be made now: its parent chain ends in a form or in a
// control that already has a window.
bool CanMakeWindow(host::TWinControl* control) {
  for (host::TWinControl* c = control; c; c = c->Parent()) {
    if (c->HandleAllocated()) return true;
    if (!c->Parent()) return dynamic_cast<host::TCustomForm*>(c) != nullptr;
  }
  return false;
}

}  // namespace

HOST_PUBLISHED(TZYRFormDisplay, TZYRCustomBevelPanel) {
  HOST_PROP(Align, host::alNone);
  HOST_PROP(Bevel);
  c.ColorProperty("Color", &TZYRFormDisplay::Color, &TZYRFormDisplay::SetColor, host::clBtnFace)
      .Stored([](const TObject* o) {
        auto* d = static_cast<const TZYRFormDisplay*>(o);
        return !d->ParentColor() && d->Color() != host::clBtnFace;
      });
  HOST_PROP(Enabled, true);
  HOST_PROP(FormName, "");
  HOST_PROP(ParentColor, false);
  HOST_PROP(SaveResources, false);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnResize);
}

TZYRFormDisplay::TZYRFormDisplay(TComponent* owner) : TZYRCustomBevelPanel(owner) {
  // No design-time children and no click events: the shown form covers the inside.
  control_style_ = {host::csOpaque, host::csReplicatable};
}

TZYRFormDisplay::~TZYRFormDisplay() {
  // A windowed control frees its children; the forms held here belong to their owners, so they
  // leave first, hidden. Forms the display owns are freed by ownership anyway.
  form_ = nullptr;
  for (int i = ControlCount() - 1; i >= 0; --i) {
    auto* form = dynamic_cast<host::TCustomForm*>(Controls(i));
    if (!form || form->Owner() == this) continue;
    try {
      form->RemoveFreeNotification(this);
      form->SetVisible(false);
      form->SetParent(nullptr);
    } catch (const std::exception&) {
      // A destructor cannot report; the form is at least no longer ours to free.
      if (form->Parent() == this) RemoveControl(form);
    }
  }
}

RECT TZYRFormDisplay::InnerRect() const {
  RECT r = ClientRect();
  const int32_t e = Bevel()->BevelExtent();
  r.left += e;
  r.top += e;
  r.right -= e;
  r.bottom -= e;
  return r;
}

void TZYRFormDisplay::FitForm() {
  if (!form_) return;
  const RECT r = InnerRect();
  form_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TZYRFormDisplay::Forget() {
  form_ = nullptr;
  form_name_.clear();
}

bool TZYRFormDisplay::ShowForm(host::TForm* form) {
  if (!form) throw host::Exception("TZYRFormDisplay: Form not instanced!");
  if (form == form_) return false;
  // A form that holds the display would become its own ancestor.
  for (host::TWinControl* c = this; c; c = c->Parent()) {
    if (c == form) {
      throw host::Exception("TZYRFormDisplay: Form '" + form->Name() + "' holds the display and cannot be shown in it");
    }
  }
  // The previous form is freed only when it is ours; anyone else may still use it.
  if (form_) {
    if (form_->Owner() == this) {
      ReleaseForm();
    } else {
      RemoveForm();
    }
  }
  try {
    form->SetVisible(false);
    // As a child of the display the form is embedded: the host makes its window a child one.
    form->SetParent(this);
    if (CanMakeWindow(this)) {
      const HWND window = form->Handle();
      SetWindowLong(window, GWL_STYLE, WS_CHILD);
      SetWindowLong(window, GWL_EXSTYLE, 0);
      ::SetParent(window, Handle());
    }
    form_ = form;
    form_name_ = form->Name();
    form->FreeNotification(this);
    FitForm();
  } catch (...) {
    form->SetVisible(true);
    throw;
  }
  form->SetVisible(true);
  return true;
}

void TZYRFormDisplay::RemoveForm() {
  if (!form_) return;
  host::TForm* form = form_;
  form->SetAlign(host::alNone);
  form->SetVisible(false);
  if (save_resources_) form->DestroyHandle();
  form->RemoveFreeNotification(this);
  Forget();
}

void TZYRFormDisplay::ReleaseForm() {
  host::TForm* form = form_;
  Forget();
  if (!form) return;
  form->RemoveFreeNotification(this);
  form->Free();
  if (!IsDestroying()) Invalidate();
}

void TZYRFormDisplay::SetFormName(const std::string& value) {
  if (value == form_name_) return;
  if (IsDesigning() || IsLoading() || ComponentState().Contains(host::csReading)) {
    form_name_ = value;
    return;
  }
  ShowByName(value);
}

void TZYRFormDisplay::ShowByName(const std::string& name) {
  if (IsDesigning() || IsLoading() || ComponentState().Contains(host::csReading)) return;
  if (IsBlank(name)) {
    ReleaseForm();
    return;
  }
  host::TScreen* screen = host::Screen();
  if (!screen) return;
  // A copy: name may be our own FormName, which showing replaces.
  const std::string wanted = name;
  for (int i = 0; i < screen->FormCount(); ++i) {
    auto* form = dynamic_cast<host::TForm*>(screen->Forms(i));
    if (form && form->Name() == wanted) {
      ShowForm(form);
      return;
    }
  }
}

void TZYRFormDisplay::ObjectChanged(TObject* sender) {
  TZYRCustomBevelPanel::ObjectChanged(sender);
  FitForm();
}

void TZYRFormDisplay::Resize() {
  TZYRCustomBevelPanel::Resize();
  FitForm();
}

void TZYRFormDisplay::Loaded() { TZYRCustomBevelPanel::Loaded(); }

void TZYRFormDisplay::Notification(TComponent* component, host::TOperation operation) {
  TZYRCustomBevelPanel::Notification(component, operation);
  if (operation == host::opRemove && component && component == form_) {
    Forget();
    if (!IsDestroying()) Invalidate();
  }
}

void TZYRFormDisplay::Dispatch(host::TMessage& m) {
  TZYRCustomBevelPanel::Dispatch(m);
  if (m.Msg == WM_SETFOCUS && TabStop() && form_ && form_->ActiveControl() && form_->CanFocus()) {
    form_->SetFocus();
  }
}

void TZYRFormDisplay::Paint() {
  if (!form_ && !IsBlank(form_name_)) {
    // A name stored with the window: adopt the form once it exists. A name that fails is
    // dropped, so that it is reported once rather than on every paint.
    try {
      ShowByName(form_name_);
    } catch (...) {
      form_name_.clear();
      throw;
    }
  }
  host::TCanvas* canvas = Canvas();
  if (!form_ && IsBlank(form_name_) && IsDesigning() && Bevel()->BevelExtent() == 0) {
    FillBackground();
    canvas->Pen()->SetColor(host::clBlack);
    canvas->Pen()->SetStyle(host::psDash);
    canvas->Brush()->SetStyle(host::bsClear);
    canvas->Rectangle(0, 0, Width(), Height());
    return;
  }
  if (!form_) FillBackground();
  Bevel()->PaintBevel(canvas, ClientRect(), false);
}

void RegisterFormDisplay() { host::RegisterClasses({TZYRFormDisplay::StaticClass()}); }

}  // namespace zyr

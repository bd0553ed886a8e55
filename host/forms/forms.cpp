#include "host/forms/forms.h"

#include <unistd.h>

#include <algorithm>
#include <climits>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/strings.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "host/graphics/icon.h"
#include "platform/win32/text.h"

namespace host {

namespace {

TApplication* g_application = nullptr;
TScreen* g_screen = nullptr;

constexpr UINT_PTR kHintTimer = 1;
enum HintTimerKind { kHintShow = 1, kHintHide = 2 };

void FormStyles(const TCustomForm& form, bool embedded, DWORD& style, DWORD& ex) {
  style = WS_CLIPCHILDREN;
  ex = 0;
  if (embedded) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    return;
  }
  const TBorderIcons icons = form.BorderIcons();
  switch (form.BorderStyle()) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      style |= WS_CAPTION;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      ex |= WS_EX_TOOLWINDOW;
      break;
  }
  if (form.BorderStyle() != bsNone && icons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (form.BorderStyle() == bsSingle || form.BorderStyle() == bsSizeable) {
      if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
      if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
    if (icons.Contains(biHelp) && (form.BorderStyle() == bsDialog || !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))) {
      ex |= WS_EX_CONTEXTHELP;
    }
  }
  if (form.FormStyle() == fsStayOnTop) ex |= WS_EX_TOPMOST;
  if (form.FormStyle() == fsMDIChild) ex |= WS_EX_MDICHILD;
}

}  // namespace

// ---- TCustomForm --------------------------------------------------------------------------

HOST_PUBLISHED(TCustomForm, TWinControl) {
  HOST_PROP(Caption);
  HOST_COLOR_PROP(Color, clBtnFace);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Visible, false);
  HOST_PROP(BorderStyle, bsSizeable);
  c.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
             TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  HOST_PROP(Position, poDesigned);
  HOST_PROP(FormStyle, fsNormal);
  HOST_PROP(WindowState, wsNormal);
  HOST_PROP(Scaled, true);
  HOST_PROP(PixelsPerInch).Always();
  HOST_PROP(KeyPreview, false);
  HOST_PROP(ActiveControl);
  c.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu).object_class = &MainMenuClass;
  HOST_OBJECT_PROP(Icon);
  // The client size says it; the outer size follows from the frame.
  c.Property("Width", &TCustomForm::Width, &TCustomForm::SetWidth).Never();
  c.Property("Height", &TCustomForm::Height, &TCustomForm::SetHeight).Never();
  c.Property("ClientWidth", &TCustomForm::StoredClientWidth, &TCustomForm::SetClientWidth);
  c.Property("ClientHeight", &TCustomForm::StoredClientHeight, &TCustomForm::SetClientHeight);
  HOST_EVENT(OnCreate);
  HOST_EVENT(OnDestroy);
  HOST_EVENT(OnShow);
  HOST_EVENT(OnHide);
  HOST_EVENT(OnActivate);
  HOST_EVENT(OnDeactivate);
  HOST_EVENT(OnPaint);
  HOST_EVENT(OnClose);
  HOST_EVENT(OnCloseQuery);
}

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)), icon_(std::make_unique<TIcon>()) {
  control_style_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  visible_ = false;
  parent_font_ = false;
  parent_color_ = false;
  parent_show_hint_ = false;
  color_ = clBtnFace;
  brush_->SetColor(color_);
  left_ = 0;
  top_ = 0;
  width_ = 320;
  height_ = 240;
  Screen()->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (g_screen) g_screen->RemoveForm(this);
  if (mdi_client_ && IsWindow(mdi_client_)) DestroyWindow(mdi_client_);
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  created_ = true;
  DoCreate();
  // A form stored as visible shows once it is created.
  if (Visible()) Perform(CM_VISIBLECHANGED, 1);
}

void TCustomForm::BeforeDestruction() {
  if (modal_) modal_result_ = mrCancel;
  DoDestroy();
  TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}
void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}
void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (scaled_ && pixels_per_inch_ > 0 && pixels_per_inch_ != Screen()->PixelsPerInch()) {
    ScaleBy(Screen()->PixelsPerInch(), pixels_per_inch_);
    pixels_per_inch_ = Screen()->PixelsPerInch();
  }
  if (control_state_.Contains(csAlignmentNeeded)) Realign();
}

void TCustomForm::ScaleBy(int m, int d) {
  if (m == d || d == 0) return;
  auto scale = [&](int v) { return static_cast<int>(MulDiv(v, m, d)); };
  std::function<void(TWinControl*)> walk = [&](TWinControl* w) {
    DisableAlign();
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* c = w->Controls(i);
      if (!c->ParentFont()) c->Font()->SetHeight(scale(c->Font()->Height()));
      c->SetBounds(scale(c->Left()), scale(c->Top()), scale(c->Width()), scale(c->Height()));
      if (auto* inner = dynamic_cast<TWinControl*>(c)) walk(inner);
    }
    EnableAlign();
  };
  const int cw = ClientWidth();
  const int ch = ClientHeight();
  font_->SetHeight(scale(font_->Height()));
  walk(this);
  SetClientWidth(scale(cw));
  SetClientHeight(scale(ch));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  if (style == bsDialog) border_icons_ = {biSystemMenu};
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == border_icons_) return;
  border_icons_ = icons;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == form_style_) return;
  form_style_ = style;
  if (handle_ && !Embedded() && (style == fsStayOnTop || style == fsNormal)) {
    SetWindowPos(handle_, style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState state) {
  if (state == window_state_) return;
  window_state_ = state;
  if (handle_ && Showing() && !Embedded()) {
    ShowWindow(handle_, state == wsMaximized ? SW_SHOWMAXIMIZED : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
  }
}

void TCustomForm::SetIcon(TIcon* icon) { icon_->Assign(icon); }

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == active_control_) return;
  if (control && (control == this || control->GetParentForm() != GetParentForm())) {
    throw EInvalidOperation("Invalid active control");
  }
  if (control && !IsLoading() && !control->CanFocus()) {
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  active_control_ = control;
  if (control) control->FreeNotification(this);
  if (!IsLoading() && active_ && control) ::SetFocus(control->Handle());
}

void TCustomForm::SetMenu(TComponent* menu) {
  if (menu == menu_) return;
  if (menu && !menu->InheritsFrom(MainMenuClass())) {
    throw EInvalidCast(std::string("A ") + menu->ClassName() + " is not a " + MainMenuClass()->Name());
  }
  // A form being read keeps the client size it stored; later the client gives way to the bar.
  const int32_t stored_height = IsLoading() ? ClientHeight() : -1;
  menu_ = menu;
  if (menu) menu->FreeNotification(this);
  MenuChanged();
  if (stored_height >= 0) SetClientHeight(stored_height);
}

void TCustomForm::MenuChanged() {
  // The menu bar is part of the frame: the client area gives way to it.
  if (handle_ && !Embedded()) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBounds();
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  FormStyles(*this, Embedded(), p.Style, p.ExStyle);
  p.WndParent = Embedded() ? parent_->Handle() : nullptr;
  p.WindowClassStyle = CS_DBLCLKS;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (form_style_ == fsMDIForm && !mdi_client_) {
    // The frame's client area belongs to a client window that MDI children live in.
    TCreateParams client;
    client.WinClassName = "TMDIClient";
    client.WindowClassStyle = 0;
    client.ClassBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_APPWORKSPACE + 1));
    WNDCLASSEX wc{};
    if (!GetClassInfoEx(nullptr, "TMDIClient", &wc)) {
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &DefWindowProc;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hbrBackground = client.ClassBackground;
      wc.lpszClassName = "TMDIClient";
      RegisterClassEx(&wc);
    }
    RECT r = ClientRect();
    mdi_client_ = CreateWindowEx(WS_EX_CLIENTEDGE, "TMDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 r.right, r.bottom, handle_, nullptr, nullptr, nullptr);
  }
  if (!Text().empty()) SetWindowText(handle_, Text().c_str());
  if (menu_) MenuChanged();
}

void TCustomForm::DestroyWnd() {
  mdi_client_ = nullptr;  // destroyed with its frame
  TWinControl::DestroyWnd();
}

RECT TCustomForm::ClientRect() const {
  if (handle_) return TWinControl::ClientRect();
  DWORD style = 0;
  DWORD ex = 0;
  FormStyles(*this, Embedded(), style, ex);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, menu_ && !Embedded() ? TRUE : FALSE, ex);
  return {0, 0, std::max(0, width_ - (frame.right - frame.left)), std::max(0, height_ - (frame.bottom - frame.top))};
}

bool TCustomForm::Showing() const {
  if (!Visible()) return false;
  return parent_ ? parent_->Showing() : true;
}

void TCustomForm::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  // The window changes kind (child or top-level): it is made again when next needed.
  const bool had_handle = handle_ != nullptr;
  if (had_handle) DestroyHandle();
  TWinControl::SetParent(parent);
  if (parent) {
    if (active_) {
      active_ = false;
      Deactivate();
    }
  }
  if (had_handle || Showing()) UpdateShowing();
}

void TCustomForm::ApplyPosition() {
  if (positioned_ || Embedded()) return;
  positioned_ = true;
  auto center_on = [&](RECT area) {
    SetBounds(area.left + (area.right - area.left - width_) / 2, area.top + (area.bottom - area.top - height_) / 2,
              width_, height_);
  };
  const RECT screen{0, 0, Screen()->Width(), Screen()->Height()};
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: center_on(screen); break;
    case poMainFormCenter: {
      TCustomForm* main = Application()->MainForm();
      center_on(main && main != this && main->Showing() ? main->BoundsRect() : screen);
      break;
    }
    case poOwnerFormCenter: {
      auto* owner = dynamic_cast<TCustomForm*>(Owner());
      center_on(owner && owner->Showing() ? owner->BoundsRect() : screen);
      break;
    }
    case poDefault:
    case poDefaultPosOnly: {
      // Cascades new windows from the top-left corner.
      static int cascade = 0;
      const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
      const int offset = (cascade++ % 8) * step + 8;
      SetBounds(offset, offset, width_, height_);
      break;
    }
    default: break;
  }
}

void TCustomForm::ShowWindowNow(bool show) {
  if (show) {
    if (!active_control_) active_control_ = FindNextControl(nullptr, true, true, false);
    DoShow();
    HandleNeeded();
    if (Embedded()) {
      UpdateShowing();
      return;
    }
    ApplyPosition();
    const int cmd = window_state_ == wsMaximized ? SW_SHOWMAXIMIZED
                    : window_state_ == wsMinimized ? SW_MINIMIZE
                                                   : SW_SHOW;
    ShowWindow(handle_, cmd);
    UpdateShowing();
    if (window_state_ != wsMinimized) {
      SetForegroundWindow(handle_);
      SetActiveWindow(handle_);
    }
    // The activation came while the children were still hidden, so the focus stayed on the
    // form: give it to the active control now that it shows.
    if (active_ && active_control_ && GetFocus() == handle_ && active_control_->CanFocus()) {
      ::SetFocus(active_control_->Handle());
    }
  } else {
    DoHide();
    if (!handle_) return;
    if (Embedded()) {
      UpdateShowing();
    } else {
      ShowWindow(handle_, SW_HIDE);
    }
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (handle_ && !Embedded()) {
    BringToFront();
    SetForegroundWindow(handle_);
  }
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::CloseQuery() {
  bool can_close = true;
  // Embedded forms and MDI children are asked too.
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* child = dynamic_cast<TCustomForm*>(Components(i));
    if (child && child->Embedded() && !child->CloseQuery()) return false;
  }
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  return can_close;
}

void TCustomForm::Close() {
  if (modal_) {
    modal_result_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = form_style_ == fsMDIChild ? (border_icons_.Contains(biMinimize) ? caMinimize : caNone) : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (g_application && g_application->MainForm() == this) {
    g_application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (g_application && g_application->Handle()) {
    PostMessage(g_application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
  } else {
    Free();
  }
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_ || Embedded()) {
    throw EInvalidOperation("Cannot make a visible window modal");
  }
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  TApplication* app = Application();
  const HWND previous = GetActiveWindow();
  // Every other top-level window of ours is disabled while the form is up.
  std::vector<HWND> disabled;
  EnumWindows(
      [&](HWND hwnd, LPARAM) -> BOOL {
        if (hwnd != handle_ && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
          EnableWindow(hwnd, FALSE);
          disabled.push_back(hwnd);
        }
        return TRUE;
      },
      0);
  modal_ = true;
  ++app->modal_level_;
  auto restore = [&] {
    for (HWND hwnd : disabled) {
      if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    }
    --app->modal_level_;
    modal_ = false;
  };
  try {
    Show();
    modal_result_ = mrNone;
    do {
      app->HandleMessage();
      if (app->Terminated()) {
        modal_result_ = mrCancel;
      } else if (modal_result_ != mrNone) {
        // The form decides whether it may close now.
        TCloseAction action = caNone;
        if (CloseQuery()) {
          action = caHide;
          DoClose(action);
        }
        if (action == caNone) modal_result_ = mrNone;
        if (action == caFree) Release();
      }
    } while (modal_result_ == mrNone);
    const TModalResult result = modal_result_;
    restore();
    Hide();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return result;
  } catch (...) {
    restore();
    if (Visible()) Hide();
    throw;
  }
}

void TCustomForm::FocusControl(TWinControl* control) {
  const bool was_active = active_;
  SetActiveControl(control);
  if (!was_active && Showing()) SetFocus();
}

void TCustomForm::SetFocus() {
  if (!Showing() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (Embedded()) {
    // Focus moves into the embedded form: to its active control, or its first one.
    TWinControl* target = active_control_ && active_control_->CanFocus()
                              ? active_control_
                              : FindNextControl(nullptr, true, true, false);
    if (TCustomForm* outer = GetParentForm(); outer && outer != this) {
      if (target) {
        outer->FocusControl(target);
      } else {
        ::SetFocus(Handle());
      }
    }
    return;
  }
  if (!active_) {
    SetActiveWindow(Handle());
    SetForegroundWindow(Handle());
  }
  if (active_control_ && active_control_->CanFocus()) {
    ::SetFocus(active_control_->Handle());
  } else {
    ::SetFocus(Handle());
  }
}

bool TCustomForm::CanFocus() const {
  if (Embedded()) return TWinControl::CanFocus();
  return Showing() && Enabled();
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == focused_control_) return false;
  TWinControl* previous = focused_control_;
  focused_control_ = control;
  if (control != this) active_control_ = control;
  if (g_screen) g_screen->SetActiveForm(this);
  // Leaving: every control from the old one up to (not including) the common container.
  std::vector<TWinControl*> old_chain;
  for (TWinControl* c = previous; c && c != this; c = c->Parent()) old_chain.push_back(c);
  std::vector<TWinControl*> new_chain;
  for (TWinControl* c = control; c && c != this; c = c->Parent()) new_chain.push_back(c);
  while (!old_chain.empty() && !new_chain.empty() && old_chain.back() == new_chain.back()) {
    old_chain.pop_back();
    new_chain.pop_back();
  }
  for (TWinControl* c : old_chain) {
    if (c->OnExit) c->OnExit(c);
    c->Perform(CM_EXIT);
    if (focused_control_ != control) return true;  // a handler moved the focus on
  }
  for (auto it = new_chain.rbegin(); it != new_chain.rend(); ++it) {
    (*it)->Perform(CM_ENTER);
    if ((*it)->OnEnter) (*it)->OnEnter(*it);
    if (focused_control_ != control) return true;
  }
  return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (removing && control->ContainsControl(this)) return;
  if (active_control_ && control->ContainsControl(active_control_)) active_control_ = nullptr;
  if (focused_control_ && control->ContainsControl(focused_control_)) {
    focused_control_ = nullptr;
    if (handle_ && GetFocus() && control->HandleAllocated() && IsChild(control->Handle(), GetFocus())) {
      ::SetFocus(handle_);
    }
  }
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // Components without a parent (timers, dialogs) first, then the controls.
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent() && c->Owner() == root) proc(c);
  }
  TWinControl::GetChildren(proc, root);
}

void TCustomForm::PaintWindow(HDC dc) {
  canvas_->FreeHandle();
  canvas_->SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

void TCustomForm::DialogKey(TMessage& m) {
  switch (m.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return;
      SelectNext(active_control_, GetKeyState(VK_SHIFT) >= 0, true);
      m.Result = 1;
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (active_control_ && active_control_->Parent()) {
        active_control_->Parent()->SelectNext(active_control_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
        m.Result = 1;
      }
      return;
    default: Broadcast(m);
  }
}

void TCustomForm::Dispatch(TMessage& m) {
  if (menu_ && MenuHooks().form && MenuHooks().form(this, m)) return;
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      if (IsLoading() || !created_) return;
      ShowWindowNow(Visible());
      return;
    case CM_DIALOGKEY: DialogKey(m); return;
    case WM_ACTIVATE: {
      const bool activating = LOWORD(m.WParam) != WA_INACTIVE;
      DefaultHandler(m);
      if (Embedded()) return;
      if (activating && !active_) {
        active_ = true;
        if (g_screen) g_screen->SetActiveForm(this);
        Activate();
        if (active_control_ && active_control_->CanFocus()) {
          ::SetFocus(active_control_->Handle());
        } else if (handle_) {
          ::SetFocus(handle_);
        }
      } else if (!activating && active_) {
        active_ = false;
        Deactivate();
      }
      return;
    }
    case WM_CLOSE: Close(); return;
    case WM_SIZE:
      DefaultHandler(m);
      if (!Embedded()) {
        if (m.WParam == SIZE_MAXIMIZED) {
          window_state_ = wsMaximized;
        } else if (m.WParam == SIZE_MINIMIZED) {
          window_state_ = wsMinimized;
        } else if (m.WParam == SIZE_RESTORED) {
          window_state_ = wsNormal;
        }
      }
      if (mdi_client_) {
        RECT r = ClientRect();
        MoveWindow(mdi_client_, 0, 0, r.right, r.bottom, TRUE);
      }
      return;
    case WM_SETTEXT:
      DefaultHandler(m);
      return;
    case CM_TEXTCHANGED:
      if (handle_) SetWindowText(handle_, Text().c_str());
      return;
    default: TWinControl::Dispatch(m);
  }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == active_control_) active_control_ = nullptr;
  if (component == focused_control_) focused_control_ = nullptr;
  if (component == menu_) {
    menu_ = nullptr;
    if (!IsDestroying()) MenuChanged();
  }
}

HOST_DEFINE_CLASS(TForm, TCustomForm)

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

// ---- THintWindow --------------------------------------------------------------------------

HOST_DEFINE_CLASS(THintWindow, TCustomControl)

THintWindowClass HintWindowClass = THintWindow::StaticClass();

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    Font()->SetName(ncm.lfStatusFont.lfFaceName);
    Font()->SetHeight(ncm.lfStatusFont.lfHeight);
  }
  Font()->SetColor(clInfoText);
  visible_ = false;
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  p.WndParent = nullptr;
  p.WindowClassStyle |= CS_SAVEBITS;
}

RECT THintWindow::CalcHintRect(int max_width, const std::string& hint) {
  RECT r{0, 0, max_width, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawText(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  r.right += 6;
  r.bottom += 2;
  return r;
}

void THintWindow::ActivateHint(RECT rect, const std::string& hint) {
  SetCaption(hint);
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  // Kept on the screen.
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  int x = std::max(0, std::min<int>(rect.left, sw - w));
  int y = std::max(0, std::min<int>(rect.top, sh - h));
  HandleNeeded();
  SetWindowPos(handle_, HWND_TOPMOST, x, y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateBounds();
  Invalidate();
}

void THintWindow::Paint() {
  RECT r = ClientRect();
  r.left += 2;
  r.top += 2;
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetStyle(bsClear);
  DrawText(canvas->Handle(), Caption().c_str(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::Dispatch(TMessage& m) {
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(m);
}

// ---- TScreen ------------------------------------------------------------------------------

HOST_DEFINE_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() {
  if (g_screen == this) g_screen = nullptr;
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) throw EListError(Format("List index out of bounds (%d)", {index}));
  return forms_[static_cast<size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (active_form_ == form) active_form_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) { active_form_ = form; }

TStrings* TScreen::Fonts() {
  if (!fonts_) {
    auto list = std::make_unique<TStringList>();
    list->SetSorted(true);
    list->SetDuplicates(dupIgnore);
    HDC dc = GetDC(nullptr);
    LOGFONT lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesEx(
        dc, &lf,
        [&](const LOGFONT* font, const TEXTMETRIC*, DWORD, LPARAM) -> int {
          if (font->lfFaceName[0] != '@') list->Add(font->lfFaceName);
          return 1;
        },
        0, 0);
    ReleaseDC(nullptr, dc);
    fonts_ = std::move(list);
  }
  return fonts_.get();
}

void TScreen::ResetFonts() { fonts_.reset(); }

int32_t TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int32_t TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

HCURSOR TScreen::Cursors(TCursor index) const {
  for (const auto& [i, h] : cursors_) {
    if (i == index) return h;
  }
  LPCSTR id = IDC_ARROW;
  switch (index) {
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSize: id = IDC_SIZEALL; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS:
    case crVSplit: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE:
    case crHSplit: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass:
    case crSQLWait: id = IDC_WAIT; break;
    case crNo:
    case crNoDrop: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crNone: return nullptr;
    default: break;
  }
  return LoadCursor(nullptr, id);
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
  for (auto& entry : cursors_) {
    if (entry.first == index) {
      entry.second = cursor;
      return;
    }
  }
  cursors_.emplace_back(index, cursor);
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  if (cursor != crDefault) {
    ::SetCursor(Cursors(cursor));
  } else {
    // Each window sets its own again.
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);
  }
}

// ---- TApplication ---------------------------------------------------------------------------

HOST_DEFINE_CLASS(TApplication, TComponent)

TApplication::TApplication(TComponent* owner) : TComponent(owner), icon_(std::make_unique<TIcon>()) {
  object_instance_ = MakeObjectInstance([this](TMessage& m) {
    try {
      WndProc(m);
    } catch (const std::exception& e) {
      HandleException(this, e);
    }
  });
  WNDCLASSEX wc{};
  if (!GetClassInfoEx(nullptr, "TApplication", &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "TApplication";
    RegisterClassEx(&wc);
  }
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string exe = n > 0 ? std::string(path, static_cast<size_t>(n)) : "";
  title_ = exe.substr(exe.find_last_of('/') + 1);
  handle_ = CreateWindowEx(0, "TApplication", title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, nullptr,
                           nullptr, nullptr, nullptr);
  if (handle_) SetWindowProc(handle_, object_instance_);
  SetExceptionHandler([this](TObject* sender, const std::exception& e) { HandleException(sender, e); });
  SetHintMouseHook([this](TControl* control, TMessage& m) { HintMouseMessage(control, m); });
  SetControlDestroyedHook([this](TControl* control) {
    if (control == hint_control_) {
      hint_control_ = nullptr;
      HideHint();
    }
    if (control == hint_window_) hint_window_ = nullptr;
    if (control == main_form_) main_form_ = nullptr;
  });
}

TApplication::~TApplication() {
  StopHintTimer();
  DestroyComponents();  // the forms go while the application still answers their questions
  SetHintMouseHook(nullptr);
  SetControlDestroyedHook(nullptr);
  SetExceptionHandler(nullptr);
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  if (g_application == this) g_application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowText(handle_, title.c_str());
}

std::string TApplication::ExeName() const {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : "";
}

TCustomForm* TApplication::CreateForm(TClass form_class) {
  if (!form_class || !form_class->InheritsFrom(TCustomForm::StaticClass())) {
    throw EInvalidOperation(std::string("Not a form class: ") + (form_class ? form_class->Name() : "nil"));
  }
  auto* form = static_cast<TCustomForm*>(form_class->Create(this));
  AdoptForm(form);
  return form;
}

void TApplication::AdoptForm(TCustomForm* form) {
  if (!main_form_) main_form_ = form;
}

void TApplication::Run() {
  running_ = true;
  if (main_form_ && !main_form_->Visible()) main_form_->Show();
  while (!terminated_) HandleMessage();
  running_ = false;
}

// The loop ends when it takes the quit message, so nothing queued before it is lost and no
// quit message is left behind for a later loop.
void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return;
    }
    if (hint_window_ && hint_active_ &&
        (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_LBUTTONDOWN ||
         msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN)) {
      CancelHint();
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    return;
  }
  Idle();
}

void TApplication::Idle() {
  TControlCanvas::FreeDeviceContexts();
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  if (done && !terminated_) WaitMessage();
}

void TApplication::HandleException(TObject* sender, const std::exception& e) {
  if (OnException) {
    OnException(sender, e);
  } else {
    ShowException(e);
  }
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::HookMainWindow(TWindowHook hook) {
  const int id = next_hook_++;
  hooks_.emplace_back(id, std::make_shared<TWindowHook>(std::move(hook)));
  return id;
}

void TApplication::UnhookMainWindow(int hook) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [&](const auto& h) { return h.first == hook; }),
               hooks_.end());
}

bool TApplication::HelpContext(int context) {
  bool call_help = true;
  if (OnHelp) return OnHelp(0, context, call_help);
  return false;
}

void TApplication::WndProc(TMessage& m) {
  // Hooks see the message first; copies, because a hook may unhook itself.
  auto hooks = hooks_;
  for (const auto& [id, hook] : hooks) {
    if ((*hook)(m)) return;
  }
  switch (m.Msg) {
    case CM_RELEASE: {
      auto* form = reinterpret_cast<TCustomForm*>(m.LParam);
      if (g_screen) {
        for (int i = 0; i < g_screen->FormCount(); ++i) {
          if (g_screen->Forms(i) == form) {
            form->Free();
            break;
          }
        }
      }
      return;
    }
    case WM_TIMER:
      if (m.WParam == kHintTimer) {
        HintTimerExpired();
        return;
      }
      break;
    case WM_ACTIVATEAPP:
      if (m.WParam) {
        if (OnActivate) OnActivate(this);
      } else {
        CancelHint();
        if (OnDeactivate) OnDeactivate(this);
      }
      break;
    default: break;
  }
  m.Result = DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
}

// Hints: a pause over a control with a hint shows it; moving to another control with a hint
// shows that one after the short pause; leaving, clicking or typing hides it.
void TApplication::HintMouseMessage(TControl* control, TMessage& m) {
  if (control == hint_window_) return;
  if (m.Msg != WM_MOUSEMOVE) {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN) CancelHint();
    return;
  }
  POINT screen;
  GetCursorPos(&screen);
  TControl* target = FindDragTarget(screen, false);
  if (target != hint_control_) {
    const bool was_showing = hint_active_;
    HideHint();
    hint_control_ = target;
    const bool wants = target && show_hint_ && target->ShowHint() && !target->Hint().empty();
    if (wants) StartHintTimer(was_showing ? hint_short_pause_ : hint_pause_, kHintShow);
    return;
  }
  if (hint_active_ && hint_control_) {
    const POINT p = hint_control_->ScreenToClient(screen);
    const RECT& r = hint_cursor_rect_;
    if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) HideHint();
  }
}

void TApplication::StartHintTimer(int ms, int kind) {
  StopHintTimer();
  hint_timer_kind_ = kind;
  hint_timer_ = SetTimer(handle_, kHintTimer, static_cast<UINT>(std::max(ms, 1)), nullptr);
}

void TApplication::StopHintTimer() {
  if (hint_timer_) KillTimer(handle_, kHintTimer);
  hint_timer_ = 0;
  hint_timer_kind_ = 0;
}

void TApplication::HintTimerExpired() {
  const int kind = hint_timer_kind_;
  StopHintTimer();
  if (kind == kHintShow) {
    ShowHintNow();
  } else if (kind == kHintHide) {
    HideHint();
  }
}

void TApplication::ActivateHint(POINT) {
  HideHint();
  POINT screen;
  GetCursorPos(&screen);
  hint_control_ = FindDragTarget(screen, false);
  ShowHintNow();
}

void TApplication::ShowHintNow() {
  if (!hint_control_ || !show_hint_) return;
  POINT screen;
  GetCursorPos(&screen);
  if (FindDragTarget(screen, false) != hint_control_) return;
  THintInfo info;
  info.HintControl = hint_control_;
  info.HintColor = hint_color_;
  info.HintMaxWidth = Screen()->Width();
  info.CursorPos = hint_control_->ScreenToClient(screen);
  info.CursorRect = hint_control_->ClientRect();
  info.HintPos = {screen.x, screen.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3};
  info.HintStr = hint_control_->Hint();
  // The hint shows its first line; "short|long" keeps the long part for status bars.
  if (auto bar = info.HintStr.find('|'); bar != std::string::npos) info.HintStr.resize(bar);
  if (hint_control_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 || info.HintStr.empty()) return;
  if (!hint_window_) {
    TClass cls = HintWindowClass ? HintWindowClass : THintWindow::StaticClass();
    TComponent* made = cls->Create(this);
    hint_window_ = dynamic_cast<THintWindow*>(made);
    if (!hint_window_) {
      made->Free();
      throw EInvalidOperation(std::string(cls->Name()) + " is not a hint window class");
    }
  }
  hint_window_->SetColor(info.HintColor);
  RECT r = hint_window_->CalcHintRect(info.HintMaxWidth, info.HintStr);
  OffsetRect(&r, info.HintPos.x, info.HintPos.y);
  hint_cursor_rect_ = info.CursorRect;
  hint_window_->ActivateHint(r, info.HintStr);
  hint_active_ = true;
  StartHintTimer(hint_hide_pause_, kHintHide);
}

void TApplication::HideHint() {
  if (hint_timer_kind_ == kHintHide || hint_timer_kind_ == kHintShow) StopHintTimer();
  if (hint_window_ && hint_window_->HandleAllocated()) hint_window_->ReleaseHandle();
  hint_active_ = false;
}

void TApplication::CancelHint() {
  HideHint();
  hint_control_ = nullptr;
}

void TApplication::DestroyHintWindow() {
  HideHint();
  if (hint_window_) {
    THintWindow* w = hint_window_;
    hint_window_ = nullptr;
    w->Free();
  }
}

void TApplication::SetShowHint(bool value) {
  if (value == show_hint_) return;
  show_hint_ = value;
  if (!value) {
    CancelHint();
    DestroyHintWindow();
  }
}

void TApplication::SetHintColor(TColor color) {
  hint_color_ = color;
  if (hint_window_) hint_window_->SetColor(color);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == main_form_) main_form_ = nullptr;
  if (component == hint_window_) hint_window_ = nullptr;
}

// ---- Globals ------------------------------------------------------------------------------

void InitApplication() {
  if (!g_screen) g_screen = new TScreen(nullptr);
  if (!g_application) g_application = new TApplication(nullptr);
}

void DoneApplication() {
  if (g_application) g_application->Free();
  g_application = nullptr;
  if (g_screen) g_screen->Free();
  g_screen = nullptr;
}

TApplication* Application() {
  if (!g_application) InitApplication();
  return g_application;
}

TScreen* Screen() {
  if (!g_screen) g_screen = new TScreen(nullptr);
  return g_screen;
}

}  // namespace host

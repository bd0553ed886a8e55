#include "host/controls/controls.h"

#include <algorithm>
#include <unordered_map>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"

namespace host {

namespace {

TControl* g_mouse_control = nullptr;
TControl* g_capture_control = nullptr;
std::unordered_map<HWND, TWinControl*>& WindowMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}
TWinControl* g_creating = nullptr;  // the control whose window CreateWindowEx is making
std::vector<TControlCanvas*>& BorrowingCanvases() {
  static std::vector<TControlCanvas*> list;
  return list;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

POINT PointOf(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

// The first message of every window made here arrives through this procedure, which hands the
// window to the control that is creating it and installs the control's own procedure.
LRESULT InitWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* control = g_creating;
  if (!control) return DefWindowProc(hwnd, msg, wp, lp);
  g_creating = nullptr;
  return control->AttachWindow(hwnd)(hwnd, msg, wp, lp);
}

void EnsureWindowClass(const TCreateParams& params) {
  WNDCLASSEX existing{};
  if (GetClassInfoEx(nullptr, params.WinClassName.c_str(), &existing)) return;
  WNDCLASSEX wc{};
  wc.cbSize = sizeof wc;
  wc.style = params.WindowClassStyle;
  wc.lpfnWndProc = &InitWndProc;
  wc.hCursor = params.ClassCursor ? params.ClassCursor : LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = params.ClassBackground;
  wc.lpszClassName = params.WinClassName.c_str();
  if (!RegisterClassEx(&wc)) {
    throw EOutOfResources("Cannot register the window class " + params.WinClassName);
  }
}

}  // namespace

// ---- Free functions -----------------------------------------------------------------------

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

bool IsAccel(WORD key, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    auto up = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    return up(static_cast<unsigned char>(caption[i + 1])) == up(key);
  }
  return false;
}

WNDPROC MakeObjectInstance(std::function<void(TMessage&)> method) {
  return [method = std::move(method)](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    TMessage m{msg, wp, lp, 0};
    method(m);
    return m.Result;
  };
}

void FreeObjectInstance(WNDPROC& proc) { proc = nullptr; }

HWND AllocateHWnd(std::function<void(TMessage&)> method) {
  static const char* kClass = "THiddenWindow";
  WNDCLASSEX wc{};
  if (!GetClassInfoEx(nullptr, kClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = kClass;
    if (!RegisterClassEx(&wc)) throw EOutOfResources("Cannot register the hidden window class");
  }
  HWND hwnd = CreateWindowEx(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd) throw EOutOfResources("Cannot create a hidden window");
  WNDPROC proc = MakeObjectInstance([method = std::move(method)](TMessage& m) {
    try {
      method(m);
    } catch (const std::exception& e) {
      HandleException(nullptr, e);
    }
  });
  SetWindowProc(hwnd, proc);
  return hwnd;
}

void DeallocateHWnd(HWND hwnd) {
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

TControl* MouseControl() { return g_mouse_control; }
TControl* CaptureControl() { return g_capture_control; }

void SetCaptureControl(TControl* control) {
  if (control && control == g_capture_control) return;  // windowed ones are not recorded here
  g_capture_control = nullptr;
  if (!control) {
    ReleaseCapture();
    return;
  }
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win) {
    SetCapture(win->Handle());
  } else if (control->Parent()) {
    SetCapture(control->Parent()->Handle());
    g_capture_control = control;
  }
}

TWinControl* FindControl(HWND hwnd) {
  auto it = WindowMap().find(hwnd);
  return it == WindowMap().end() ? nullptr : it->second;
}

TControl* FindDragTarget(POINT screen, bool allow_disabled) {
  HWND hwnd = WindowFromPoint(screen);
  TWinControl* win = nullptr;
  while (hwnd && !(win = FindControl(hwnd))) hwnd = GetParent(hwnd);
  if (!win) return nullptr;
  TControl* inner = win->ControlAtPos(win->ScreenToClient(screen), allow_disabled);
  return inner ? inner : win;
}

namespace {
TExceptionHandler& ExceptionHandler() {
  static TExceptionHandler handler;
  return handler;
}
TMouseMessageHook& HintHook() {
  static TMouseMessageHook hook;
  return hook;
}
}  // namespace

void SetExceptionHandler(TExceptionHandler handler) { ExceptionHandler() = std::move(handler); }

void HandleException(TObject* sender, const std::exception& e) {
  if (ExceptionHandler()) {
    ExceptionHandler()(sender, e);
  } else {
    fprintf(stderr, "%s\n", e.what());
  }
}

void SetHintMouseHook(TMouseMessageHook hook) { HintHook() = std::move(hook); }

namespace {
std::function<void(TControl*)>& DestroyedHook() {
  static std::function<void(TControl*)> hook;
  return hook;
}
}  // namespace

void SetControlDestroyedHook(std::function<void(TControl*)> hook) { DestroyedHook() = std::move(hook); }

TMenuHooks& MenuHooks() {
  static TMenuHooks hooks;
  return hooks;
}
TClass PopupMenuClass() {
  return MenuHooks().popup_menu_class ? MenuHooks().popup_menu_class : TComponent::StaticClass();
}
TClass MainMenuClass() {
  return MenuHooks().main_menu_class ? MenuHooks().main_menu_class : TComponent::StaticClass();
}

// ---- TControl -----------------------------------------------------------------------------

HOST_PUBLISHED(TControl, TComponent) {
  HOST_PROP(Left).Always();
  HOST_PROP(Top).Always();
  HOST_PROP(Width).Always();
  HOST_PROP(Height).Always();
  c.Property("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault);
  c.Property("Hint", &TControl::Hint, &TControl::SetHint);
  c.Property("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag);
  c.Property("DragMode", &TControl::DragMode, &TControl::SetDragMode, dmManual);
  c.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu).object_class = &PopupMenuClass;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  control_style_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  if (DestroyedHook()) DestroyedHook()(this);
  if (g_mouse_control == this) g_mouse_control = nullptr;
  if (g_capture_control == this) SetCaptureControl(nullptr);
  if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  if (IsMouseMessage(m.Msg)) {
    if (HintHook()) HintHook()(this, m);
    if (!control_style_.Contains(csDoubleClicks)) {
      switch (m.Msg) {
        case WM_LBUTTONDBLCLK: m.Msg = WM_LBUTTONDOWN; break;
        case WM_RBUTTONDBLCLK: m.Msg = WM_RBUTTONDOWN; break;
        case WM_MBUTTONDBLCLK: m.Msg = WM_MBUTTONDOWN; break;
        default: break;
      }
    }
  }
  Dispatch(m);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: return HandleMouseDown(m, mbLeft, {});
    case WM_RBUTTONDOWN: return HandleMouseDown(m, mbRight, {});
    case WM_MBUTTONDOWN: return HandleMouseDown(m, mbMiddle, {});
    case WM_LBUTTONDBLCLK:
      DblClick();
      return HandleMouseDown(m, mbLeft, {ssDouble});
    case WM_RBUTTONDBLCLK: return HandleMouseDown(m, mbRight, {ssDouble});
    case WM_MBUTTONDBLCLK: return HandleMouseDown(m, mbMiddle, {ssDouble});
    case WM_LBUTTONUP: return HandleMouseUp(m, mbLeft);
    case WM_RBUTTONUP: return HandleMouseUp(m, mbRight);
    case WM_MBUTTONUP: return HandleMouseUp(m, mbMiddle);
    case WM_MOUSEMOVE: {
      const POINT p = PointOf(m.LParam);
      MouseMove(KeysToShiftState(m.WParam), p.x, p.y);
      return;
    }
    case CM_PARENTFONTCHANGED:
      if (parent_font_ && parent_) {
        updating_font_ = true;
        font_->Assign(parent_->Font());
        updating_font_ = false;
        Perform(CM_FONTCHANGED);
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parent_color_ && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parent_show_hint_ && parent_) show_hint_ = parent_->ShowHint();
      return;
    case CM_HITTEST: m.Result = HTCLIENT; return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); return;
    case CM_VISIBLECHANGED:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY:
    case CM_HINTSHOW:
    case CM_FONTCHANGE:
    case CM_SYSCOLORCHANGE: return;
    default: DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(GetText().size()); return;
    default: m.Result = 0;
  }
}

void TControl::HandleMouseDown(TMessage& m, TMouseButton button, TShiftState extra) {
  const POINT p = PointOf(m.LParam);
  if (control_style_.Contains(csCaptureMouse) && button == mbLeft) SetCaptureControl(this);
  if (control_style_.Contains(csClickEvents) && button == mbLeft) control_state_.Include(csClicked);
  if (button == mbLeft) control_state_.Include(csLButtonDown);
  MouseDown(button, KeysToShiftState(m.WParam) + extra, p.x, p.y);
}

void TControl::HandleMouseUp(TMessage& m, TMouseButton button) {
  const POINT p = PointOf(m.LParam);
  if (button == mbLeft) {
    auto* win = dynamic_cast<TWinControl*>(this);
    if (g_capture_control == this || (win && win->handle_ && GetCapture() == win->handle_)) SetCaptureControl(nullptr);
    control_state_.Exclude(csLButtonDown);
    if (control_state_.Contains(csClicked)) {
      control_state_.Exclude(csClicked);
      const RECT r = ClientRect();
      if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) Click();
    }
  }
  MouseUp(button, KeysToShiftState(m.WParam), p.x, p.y);
  if (button == mbRight && MenuHooks().popup) {
    // The nearest popup menu up the parent chain answers a right click.
    for (TControl* c = this; c; c = c->parent_) {
      if (c->popup_menu_) {
        MenuHooks().popup(c->popup_menu_, this, ClientToScreen(p));
        break;
      }
    }
  }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateControl(visible_, false);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  TControlCanvas::FreeDeviceContexts();
  Invalidate();
  BoundsChanged();
}

void TControl::BoundsChanged() {
  if (parent_ && align_ != alNone && !parent_->realigning_) parent_->AlignControl(this);
  if (!IsLoading()) Resize();
  if (parent_ && !parent_->IsDestroying()) parent_->Perform(CM_CHILDCHANGED, reinterpret_cast<WPARAM>(this));
}

RECT TControl::ClientRect() const { return {0, 0, width_, height_}; }

void TControl::SetClientWidth(int32_t v) { SetWidth(v + (width_ - ClientWidth())); }
void TControl::SetClientHeight(int32_t v) { SetHeight(v + (height_ - ClientHeight())); }

POINT TControl::ClientOrigin() const {
  if (!parent_) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  POINT p = parent_->ClientOrigin();
  return {p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const {
  const POINT o = ClientOrigin();
  return {p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const {
  const POINT o = ClientOrigin();
  return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  const TAlign old = align_;
  align_ = align;
  if (parent_ && !IsLoading()) {
    if (old != alNone || align != alNone) parent_->Realign();
  }
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  VisibleChanging();
  const bool was = visible_;
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  InvalidateControl(was, visible);
  if (parent_ && align_ != alNone && !IsLoading()) parent_->Realign();
  if (parent_ && !parent_->IsDestroying()) parent_->Perform(CM_CHILDCHANGED, reinterpret_cast<WPARAM>(this));
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
  if (color == color_ && !parent_color_) return;
  const bool changed = color != color_;
  color_ = color;
  parent_color_ = false;
  if (changed) Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parent_color_) return;
  parent_color_ = value;
  if (value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* font) { font_->Assign(font); }

void TControl::SetParentFont(bool value) {
  if (value == parent_font_) return;
  parent_font_ = value;
  if (value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged() {
  if (updating_font_) return;
  parent_font_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetText(const std::string& s) {
  if (s == GetText()) return;
  SetTextValue(s);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool value) {
  parent_show_hint_ = false;
  if (value == show_hint_) return;
  show_hint_ = value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (value == parent_show_hint_) return;
  parent_show_hint_ = value;
  if (value && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TComponent* menu) {
  if (menu && !menu->InheritsFrom(PopupMenuClass())) {
    throw EInvalidCast(std::string("A ") + menu->ClassName() + " is not a " + PopupMenuClass()->Name());
  }
  popup_menu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Invalidate() {
  if (!parent_ || !visible_ || !parent_->HandleAllocated()) return;
  const RECT r = BoundsRect();
  InvalidateRect(parent_->handle_, &r, !control_style_.Contains(csOpaque));
}

void TControl::InvalidateControl(bool was_visible, bool is_visible) {
  if (!parent_ || !parent_->HandleAllocated() || dynamic_cast<TWinControl*>(this)) return;
  if (!was_visible && !is_visible) return;
  const RECT r = BoundsRect();
  InvalidateRect(parent_->handle_, &r, TRUE);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  if (!parent_ || !visible_ || !parent_->HandleAllocated()) return;
  if (control_style_.Contains(csOpaque)) {
    // Paints just this control (and what lies above it) without erasing.
    HDC dc = GetDC(parent_->handle_);
    const RECT r = BoundsRect();
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    parent_->PaintControls(dc, this);
    ReleaseDC(parent_->handle_, dc);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool top) {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (top) {
    list.push_back(this);
  } else {
    list.insert(list.begin(), this);
  }
  Invalidate();
}

void TControl::Realign() {
  if (parent_) parent_->Realign();
}

bool TControl::HitTest(int x, int y) { return Perform(CM_HITTEST, 0, MAKELPARAM(x, y)) != 0; }

TCustomForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_) {
    if (parent_color_) Perform(CM_PARENTCOLORCHANGED);
    if (parent_font_) Perform(CM_PARENTFONTCHANGED);
    if (parent_show_hint_) Perform(CM_PARENTSHOWHINTCHANGED);
  }
}

// ---- TControlCanvas -----------------------------------------------------------------------

HOST_DEFINE_CLASS(TControlCanvas, TCanvas)

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  TWinControl* window_control = dynamic_cast<TWinControl*>(control_);
  POINT origin{0, 0};
  RECT clip{};
  if (window_control) {
    window_ = window_control->Handle();
    clip = window_control->ClientRect();
  } else {
    TWinControl* parent = control_->Parent();
    if (!parent) throw EInvalidOperation(Format("Control '%s' has no parent window", {control_->Name()}));
    window_ = parent->Handle();
    origin = {control_->Left(), control_->Top()};
    clip = {0, 0, control_->Width(), control_->Height()};
  }
  HDC dc = GetDC(window_);
  if (!dc) throw EOutOfResources("Out of system resources: no device context");
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  borrowed_ = dc;
  BorrowingCanvases().push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  if (!borrowed_) return;
  SetHandle(nullptr);
  ReleaseDC(window_, borrowed_);
  borrowed_ = nullptr;
  window_ = nullptr;
  auto& list = BorrowingCanvases();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::FreeDeviceContexts() {
  auto list = BorrowingCanvases();
  for (TControlCanvas* c : list) c->FreeHandle();
}

// ---- TGraphicControl ----------------------------------------------------------------------

HOST_DEFINE_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    canvas_->FreeHandle();
    canvas_->SetHandle(reinterpret_cast<HDC>(m.WParam));
    try {
      Paint();
    } catch (...) {
      canvas_->SetHandle(nullptr);
      throw;
    }
    canvas_->SetHandle(nullptr);
    return;
  }
  TControl::Dispatch(m);
}

// ---- TWinControl --------------------------------------------------------------------------

HOST_PUBLISHED(TWinControl, TControl) {
  HOST_PROP(TabStop, false);
  c.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>()) {
  brush_->SetColor(Color());
  object_instance_ = MakeObjectInstance([this](TMessage& m) {
    try {
      WndProc(m);
    } catch (const std::exception& e) {
      HandleException(this, e);
    }
  });
}

TWinControl::~TWinControl() {
  // Leaves the parent while still a windowed control (the base destructor could not tell).
  if (parent_) parent_->RemoveControl(this);
  // Children go first (a windowed parent frees the controls it holds), then the window.
  while (!controls_.empty() || !win_controls_.empty()) {
    TControl* child = !win_controls_.empty() ? static_cast<TControl*>(win_controls_.back()) : controls_.back();
    RemoveControl(child);
    child->Free();
  }
  DestroyHandle();
  TControlCanvas::FreeDeviceContexts();
}

WNDPROC TWinControl::AttachWindow(HWND hwnd) {
  handle_ = hwnd;
  WindowMap()[hwnd] = this;
  def_wnd_proc_ = &DefWindowProc;
  SetWindowProc(hwnd, object_instance_);
  return object_instance_;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  // Children with windows of their own follow when showing.
  for (TWinControl* child : win_controls_) child->UpdateShowing();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = Text();
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (tab_stop_) p.Style |= WS_TABSTOP;
  if (!Enabled()) p.Style |= WS_DISABLED;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.WndParent = parent_ ? parent_->Handle() : nullptr;
  p.WinClassName = ClassName();
  p.WindowClassStyle = control_style_.Contains(csDoubleClicks) ? CS_DBLCLKS : 0;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent) {
    throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  }
  EnsureWindowClass(params);
  CreateWindowHandle(params);
  if (!handle_) throw EOutOfResources(Format("Cannot create a window for %s", {Name()}));
  UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  g_creating = this;
  HWND hwnd = CreateWindowEx(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style & ~WS_VISIBLE, p.X, p.Y,
                             p.Width, p.Height, p.WndParent, nullptr, nullptr, nullptr);
  g_creating = nullptr;
  if (hwnd && !handle_) AttachWindow(hwnd);
}

void TWinControl::DestroyWnd() {
  if (!handle_) return;
  // Window state the control keeps: the text lives in the control already.
  DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TWinControl* child : win_controls_) child->DestroyHandle();
  TControlCanvas::FreeDeviceContexts();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  const bool had_focus = Focused();
  DestroyHandle();
  UpdateShowing();
  if (!handle_ && Showing()) HandleNeeded();
  if (had_focus && handle_) ::SetFocus(handle_);
}

void TWinControl::UpdateBounds() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLong(handle_, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetParent(handle_);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  const bool sized = (r.right - r.left) != width_ || (r.bottom - r.top) != height_;
  const bool moved = r.left != left_ || r.top != top_;
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  if (sized || moved) {
    TControlCanvas::FreeDeviceContexts();
    if (sized) Realign();
    TControl::BoundsChanged();
  }
}

void TWinControl::UpdateShowing() {
  const bool showing = Showing();
  if (showing && !handle_) HandleNeeded();  // makes the children's windows too
  if (!handle_) return;
  const bool shown = (GetWindowLong(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (showing != shown) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (showing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
  for (TWinControl* child : win_controls_) child->UpdateShowing();
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  return parent_ ? parent_->Showing() : true;
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (handle_) {
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBounds();  // the window may have refused part of it (minimum sizes)
    return;
  }
  const bool sized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (sized) Realign();
  TControl::BoundsChanged();
}

RECT TWinControl::ClientRect() const {
  if (handle_) {
    RECT r;
    GetClientRect(handle_, &r);
    return r;
  }
  return TControl::ClientRect();
}

POINT TWinControl::ClientOrigin() const {
  if (handle_) {
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
  }
  if (!parent_) return {left_, top_};
  return TControl::ClientOrigin();
}

TControl* TWinControl::Controls(int index) const {
  const int n = static_cast<int>(controls_.size());
  if (index < 0 || index >= ControlCount()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return index < n ? controls_[static_cast<size_t>(index)] : win_controls_[static_cast<size_t>(index - n)];
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    win_controls_.push_back(win);
    tab_list_.push_back(win);
  } else {
    controls_.push_back(control);
  }
  if (!control->IsLoading()) {
    if (control->parent_color_) control->Perform(CM_PARENTCOLORCHANGED);
    if (control->parent_font_) control->Perform(CM_PARENTFONTCHANGED);
    if (control->parent_show_hint_) control->Perform(CM_PARENTSHOWHINTCHANGED);
  }
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (handle_) win->UpdateShowing();
  } else {
    control->Invalidate();
  }
  if (control->Align() != alNone && !IsLoading()) Realign();
  Perform(CM_CHILDCHANGED, reinterpret_cast<WPARAM>(control));
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->parent_ != this) return;
  if (g_mouse_control == control) g_mouse_control = nullptr;
  if (g_capture_control == control) SetCaptureControl(nullptr);
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (TCustomForm* form = GetParentForm()) form->DefocusControl(win, true);
    win->DestroyHandle();
    win_controls_.erase(std::remove(win_controls_.begin(), win_controls_.end(), win), win_controls_.end());
    tab_list_.erase(std::remove(tab_list_.begin(), tab_list_.end(), win), tab_list_.end());
  } else {
    control->InvalidateControl(control->Visible(), false);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  }
  control->parent_ = nullptr;
  if (control->Align() != alNone && !IsDestroying()) Realign();
  if (!IsDestroying()) Perform(CM_CHILDCHANGED, reinterpret_cast<WPARAM>(control));
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->parent_) {
    if (c == this) return true;
  }
  return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allow_disabled, bool allow_windowed) const {
  auto hit = [&](TControl* c) {
    if (!(c->Visible() || c->IsDesigning()) || !(c->Enabled() || allow_disabled)) return false;
    if (p.x < c->left_ || p.x >= c->left_ + c->width_ || p.y < c->top_ || p.y >= c->top_ + c->height_) return false;
    return c->HitTest(p.x - c->left_, p.y - c->top_);
  };
  if (allow_windowed) {
    for (auto it = win_controls_.rbegin(); it != win_controls_.rend(); ++it) {
      if (hit(*it)) return *it;
    }
  }
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if (hit(*it)) return *it;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
  // Copies: a handler may add or remove controls.
  std::vector<TControl*> all(controls_.begin(), controls_.end());
  all.insert(all.end(), win_controls_.begin(), win_controls_.end());
  for (TControl* c : all) {
    c->WndProc(m);
    if (m.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT msg) {
  TMessage m{msg, 0, 0, 0};
  std::vector<TControl*> all(controls_.begin(), controls_.end());
  all.insert(all.end(), win_controls_.begin(), win_controls_.end());
  for (TControl* c : all) c->WndProc(m);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TControl* c : controls_) {
    if (c->Owner() == root) proc(c);
  }
  for (TWinControl* c : win_controls_) {
    if (c->Owner() == root) proc(c);
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (control_state_.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::SetTabStop(bool value) {
  if (value == tab_stop_) return;
  tab_stop_ = value;
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  const auto& list = parent_->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_ || order < 0) return;
  auto& list = parent_->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  order = std::min<int>(order, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetCtl3D(bool value) {
  parent_ctl3d_ = false;
  if (value == ctl3d_) return;
  ctl3d_ = value;
  Perform(CM_CTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool value) {
  if (value == parent_ctl3d_) return;
  parent_ctl3d_ = value;
  if (value && parent_) {
    ctl3d_ = parent_->Ctl3D();
    Perform(CM_CTL3DCHANGED);
  }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : tab_list_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool check_tab_stop, bool check_parent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), current);
  int start = found == list.end() ? (forward ? count - 1 : 0) : static_cast<int>(found - list.begin());
  int i = start;
  do {
    i = forward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c != current && c->CanFocus() && (!check_tab_stop || c->TabStop()) && (!check_parent || c->parent_ == this)) {
      return c;
    }
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool check_tab_stop) {
  if (TWinControl* next = FindNextControl(current, forward, check_tab_stop, !check_tab_stop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm();
  if (!form) return Visible() && Enabled();
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!(c->Visible() && c->Enabled())) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(); form && form != this) {
    form->FocusControl(this);
  } else {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
  }
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  TControl::SetEnabled(enabled);
  if (handle_) EnableWindow(handle_, enabled ? TRUE : FALSE);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !control_style_.Contains(csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::SetZOrder(bool top) {
  if (!parent_) {
    if (handle_) SetWindowPos(handle_, top ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  auto& list = parent_->win_controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (top) {
    list.push_back(this);
  } else {
    list.insert(list.begin(), this);
  }
  if (handle_) SetWindowPos(handle_, top ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::EnableAlign() {
  if (align_level_ > 0 && --align_level_ == 0 && control_state_.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::AlignControl(TControl* control) {
  if (align_level_ > 0 || IsLoading() || IsDestroying()) {
    control_state_.Include(csAlignmentNeeded);
    return;
  }
  RECT rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(control, rect);
}

void TWinControl::Realign() {
  if (align_level_ > 0 || IsLoading() || IsDestroying()) {
    control_state_.Include(csAlignmentNeeded);
    return;
  }
  control_state_.Exclude(csAlignmentNeeded);
  RECT rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(nullptr, rect);
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControls(TControl* control, RECT& rect) {
  if (realigning_) return;
  realigning_ = true;
  try {
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, control, rect);
  } catch (...) {
    realigning_ = false;
    throw;
  }
  realigning_ = false;
}

void TWinControl::DoAlign(TAlign align, TControl* moved, RECT& rect) {
  // The controls of one alignment, in the order of their positions; the control being moved
  // takes its place by its new position.
  auto before = [align](const TControl* a, const TControl* b) {
    switch (align) {
      case alTop: return a->top_ < b->top_;
      case alBottom: return a->top_ + a->height_ >= b->top_ + b->height_;
      case alLeft: return a->left_ < b->left_;
      case alRight: return a->left_ + a->width_ >= b->left_ + b->width_;
      default: return false;
    }
  };
  std::vector<TControl*> list;
  auto counts = [&](TControl* c) { return c->Align() == align && (c->Visible() || c->IsDesigning()); };
  if (moved && moved->parent_ == this && counts(moved)) list.push_back(moved);
  auto consider = [&](TControl* c) {
    if (c == moved || !counts(c)) return;
    size_t j = 0;
    while (j < list.size() && !before(c, list[j])) ++j;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
  };
  for (TControl* c : controls_) consider(c);
  for (TControl* c : win_controls_) consider(c);
  for (TControl* c : list) {
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    if (w < 0 || align == alLeft || align == alRight) w = c->width_;
    if (h < 0 || align == alTop || align == alBottom) h = c->height_;
    int x = rect.left;
    int y = rect.top;
    switch (align) {
      case alTop: rect.top += h; break;
      case alBottom:
        rect.bottom -= h;
        y = rect.bottom;
        break;
      case alLeft: rect.left += w; break;
      case alRight:
        rect.right -= w;
        x = rect.right;
        break;
      default: break;
    }
    c->SetBounds(x, y, w, h);
  }
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) {
    it = std::find(controls_.begin(), controls_.end(), first);
    if (it == controls_.end()) it = controls_.begin();
  }
  std::vector<TControl*> list(it, controls_.end());
  for (TControl* c : list) {
    if (!(c->Visible() || c->IsDesigning())) continue;
    const RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, c->left_, c->top_, nullptr);
    IntersectClipRect(dc, 0, 0, c->width_, c->height_);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintHandler(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const bool own = dc == nullptr;
  if (own) dc = BeginPaint(handle_, &ps);
  try {
    const int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
  } catch (...) {
    if (own) EndPaint(handle_, &ps);
    throw;
  }
  if (own) EndPaint(handle_, &ps);
}

void TWinControl::WndProc(TMessage& m) {
  if (IsMouseMessage(m.Msg)) {
    const POINT p = PointOf(m.LParam);
    if (m.Msg == WM_MOUSEMOVE) TrackMouse(p);
    if (IsControlMouseMsg(m)) return;
  }
  TControl::WndProc(m);
}

void TWinControl::TrackMouse(POINT client) {
  TControl* target = ControlAtPos(client, false);
  if (!target) target = this;
  if (target == g_mouse_control) return;
  TControl* old = g_mouse_control;
  g_mouse_control = target;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (g_mouse_control == target) target->Perform(CM_MOUSEENTER);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* target = nullptr;
  const POINT p = PointOf(m.LParam);
  if (GetCapture() == handle_) {
    if (g_capture_control && g_capture_control->parent_ == this) target = g_capture_control;
  } else {
    target = ControlAtPos(p, false);
  }
  if (!target) return false;
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->left_, p.y - target->top_));
  return true;
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: PaintHandler(m); return;
    case WM_ERASEBKGND: {
      RECT r = ClientRect();
      brush_->SetColor(Color());
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
      m.Result = 1;
      return;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(m.WParam) == handle_) {
        TCursor cursor = Screen()->Cursor();
        if (cursor == crDefault && LOWORD(m.LParam) == HTCLIENT) {
          POINT p;
          GetCursorPos(&p);
          TControl* under = ControlAtPos(ScreenToClient(p), false);
          cursor = (under ? under : this)->Cursor();
        }
        if (cursor != crDefault) {
          ::SetCursor(Screen()->Cursors(cursor));
          m.Result = 1;
          return;
        }
      }
      DefaultHandler(m);
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      UpdateBounds();
      return;
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm()) form->SetFocusedControl(this);
      DefaultHandler(m);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
      if (HandleKey(m)) return;
      DefaultHandler(m);
      return;
    case WM_NCDESTROY:
      DefaultHandler(m);
      WindowMap().erase(handle_);
      handle_ = nullptr;
      return;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: DefaultHandler(m); return;
    case CM_COLORCHANGED:
      brush_->SetColor(Color());
      NotifyControls(CM_PARENTCOLORCHANGED);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      NotifyControls(CM_PARENTFONTCHANGED);
      Invalidate();
      return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    case CM_CHILDKEY:
      if (parent_) m.Result = parent_->Perform(m.Msg, m.WParam, m.LParam);
      return;
    case CM_CHILDCHANGED: return;
    case CM_CTL3DCHANGED: NotifyControls(CM_PARENTCTL3DCHANGED); return;
    case CM_PARENTCTL3DCHANGED:
      if (parent_ctl3d_ && parent_) {
        ctl3d_ = parent_->Ctl3D();
        Perform(CM_CTL3DCHANGED);
      }
      return;
    case CM_TEXTCHANGED:
      if (handle_) SetWindowText(handle_, Text().c_str());
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      UpdateShowing();
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled() ? TRUE : FALSE);
      Invalidate();
      return;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY:
    case CM_FONTCHANGE:
    case CM_SYSCOLORCHANGE: Broadcast(m); return;
    case WM_FONTCHANGE:
      Perform(CM_FONTCHANGE);
      DefaultHandler(m);
      return;
    case WM_SYSCOLORCHANGE:
      Perform(CM_SYSCOLORCHANGE);
      DefaultHandler(m);
      return;
    case WM_SIZE:
      DefaultHandler(m);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // A scroll-bar control's notification goes back to that control.
      if (TWinControl* c = m.LParam ? FindControl(reinterpret_cast<HWND>(m.LParam)) : nullptr; c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      DefaultHandler(m);
      return;
    default: TControl::Dispatch(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) {
    TControl::DefaultHandler(m);
    return;
  }
  m.Result = CallWindowProc(def_wnd_proc_, handle_, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift)) return true;
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyUp(WORD& key, TShiftState shift) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(key, shift)) return true;
  if (OnKeyUp) OnKeyUp(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(key)) return true;
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}

bool TWinControl::HandleKey(TMessage& m) {
  if (MenuHooks().key && MenuHooks().key(this, m)) return true;
  TCustomForm* form = GetParentForm();
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(m.WParam);
      // Containers above may take the key first (a notebook turns its page on Ctrl+Tab).
      if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) return true;
      if (DoKeyDown(key, KeyboardStateToShiftState())) return true;
      switch (key) {
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          if (Perform(CM_WANTSPECIALKEY, key) != 0) return false;
          if (form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) return true;
          return false;
        default: return false;
      }
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(m.WParam);
      return DoKeyUp(key, KeyboardStateToShiftState());
    }
    case WM_CHAR: {
      if (m.WParam < 256) {
        char ch = static_cast<char>(m.WParam);
        if (DoKeyPress(ch)) return true;
        // Tab, Enter and Esc were dialog keys already.
        if (ch == '\t' || ch == '\r' || ch == 27) return !WantsChars();
      }
      if (!WantsChars() && form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return true;
      return false;
    }
    case WM_SYSCHAR:
      return form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0;
    default: return false;
  }
}

// ---- TCustomControl -------------------------------------------------------------------------

HOST_DEFINE_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() { canvas_->FreeHandle(); }

void TCustomControl::PaintWindow(HDC dc) {
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

}  // namespace host

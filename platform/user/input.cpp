// Input: display events become mouse and keyboard messages for the right window, with hit
// testing, cursor shapes, click activation, double clicks, capture, and file drops.
#include <algorithm>
#include <cstdlib>

#include "platform/display/display.h"
#include "platform/gdi/font_engine.h"
#include "platform/kernel/clock.h"
#include "platform/user/cursor.h"
#include "platform/user/input.h"
#include "platform/user/queue.h"

namespace user {
namespace {

struct ClickMemory {
  HWND hwnd = nullptr;
  int button = -1;
  uint64_t time = 0;
  POINT pt{0, 0};
};

struct InputState {
  int buttons = 0;  // MK_ bits of the mouse buttons held
  ClickMemory last_click;
  HWND last_under = nullptr;
};

InputState& In() {
  static auto* s = new InputState;
  return *s;
}

WPARAM KeyFlags() {
  WPARAM f = static_cast<WPARAM>(In().buttons);
  if (GetKeyState(VK_SHIFT) & 0x8000) f |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) & 0x8000) f |= MK_CONTROL;
  return f;
}

Window* Enabled(Window* w) {
  // Input for a disabled window goes nowhere (a window under a modal form, say).
  for (Window* a = w; a; a = a->parent)
    if (a->style & WS_DISABLED) return nullptr;
  return w;
}

// Which window gets a pointer event at a screen point, and the hit-test code.
Window* Target(POINT pt, LRESULT& hit) {
  if (Window* cap = CaptureWindow()) {
    hit = HTCLIENT;
    return cap;
  }
  HWND h = WindowFromPoint(pt);
  Window* w = h ? Find(h) : nullptr;
  while (w) {
    hit = SendMessage(w->handle, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    if (!IsWindow(h)) return nullptr;
    if (hit != HTTRANSPARENT) break;
    w = w->parent;  // a transparent child lets its parent have the point
  }
  return w;
}

void Post(Window* w, UINT msg, WPARAM wp, LPARAM lp, POINT pt) {
  PushInput(MSG{w->handle, msg, wp, lp, GetTickCount(), pt});
}

void Pointer(const display::Event& e) {
  InputState& s = In();
  MovePointer(POINT{e.x, e.y});
  POINT pt;
  GetCursorPos(&pt);
  // A pointer fenced in by ClipCursor is put back where it is allowed to be.
  if (pt.x != e.x || pt.y != e.y) SetCursorPos(pt.x, pt.y);
  LRESULT hit = HTNOWHERE;
  Window* w = Target(pt, hit);
  if (!w) return;
  const HWND hwnd = w->handle;
  const bool captured = CaptureWindow() == w;

  static constexpr UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static constexpr UINT kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
  static constexpr UINT kDbl[3] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
  static constexpr int kMk[3] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
  const int b = std::clamp(e.button, 0, 2);
  UINT msg = WM_MOUSEMOVE;
  if (e.kind == display::EventKind::ButtonDown) {
    s.buttons |= kMk[b];
    SetKeyDown(b == 0 ? VK_LBUTTON : b == 1 ? VK_RBUTTON : VK_MBUTTON, true);
    msg = kDown[b];
    if (!Enabled(w)) return;
    // Clicking an inactive top-level window activates it, unless it declines.
    Window* top = w;
    while (top->parent) top = top->parent;
    if (top != ActiveWindow()) {
      const LRESULT r = SendMessage(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                                    MAKELPARAM(static_cast<int>(hit), static_cast<int>(msg)));
      if (!IsWindow(hwnd)) return;
      if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) Activate(top, WA_CLICKACTIVE);
      if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT || !IsWindow(hwnd)) return;
    }
    // Double clicks: same button, same window, within the time and distance.
    const uint64_t now = kernel::NowMs();
    ClickMemory& last = s.last_click;
    const bool dbl = last.hwnd == hwnd && last.button == b && now - last.time <= GetDoubleClickTime() &&
                     std::abs(last.pt.x - pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                     std::abs(last.pt.y - pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    const bool wants_dbl = hit != HTCLIENT || (w->cls->style & CS_DBLCLKS);
    if (dbl && wants_dbl) {
      msg = kDbl[b];
      last = ClickMemory{};
    } else {
      last = ClickMemory{hwnd, b, now, pt};
    }
  } else if (e.kind == display::EventKind::ButtonUp) {
    s.buttons &= ~kMk[b];
    SetKeyDown(b == 0 ? VK_LBUTTON : b == 1 ? VK_RBUTTON : VK_MBUTTON, false);
    msg = kUp[b];
  }
  if (!Enabled(w)) return;
  if (!captured) {
    SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(static_cast<int>(hit), static_cast<int>(msg)));
    if (!IsWindow(hwnd)) return;
  }
  if (hit == HTCLIENT || captured) {
    POINT c = pt;
    ScreenToClient(hwnd, &c);
    Post(w, msg, KeyFlags(), MAKELPARAM(c.x, c.y), pt);
  } else {
    // Non-client messages carry the hit code and screen coordinates.
    Post(w, msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), MAKELPARAM(pt.x, pt.y), pt);
  }
}

void Wheel(const display::Event& e) {
  MovePointer(POINT{e.x, e.y});
  Window* w = FocusWindow() ? FocusWindow() : ActiveWindow();
  if (!w || !Enabled(w)) return;
  POINT pt;
  GetCursorPos(&pt);
  Post(w, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(KeyFlags()), e.wheel), MAKELPARAM(pt.x, pt.y), pt);
}

void Key(const display::Event& e) {
  const bool down = e.kind == display::EventKind::KeyDown;
  const bool was_down = GetKeyState(e.vk) & 0x8000;
  SetKeyDown(e.vk, down);
  if (e.vk == VK_LSHIFT || e.vk == VK_RSHIFT) SetKeyDown(VK_SHIFT, down);
  if (e.vk == VK_LCONTROL || e.vk == VK_RCONTROL) SetKeyDown(VK_CONTROL, down);
  if (e.vk == VK_LMENU || e.vk == VK_RMENU) SetKeyDown(VK_MENU, down);
  Window* w = FocusWindow() ? FocusWindow() : ActiveWindow();
  if (!w || !Enabled(w)) return;
  const bool alt = GetKeyState(VK_MENU) & 0x8000;
  const bool sys = (alt && !(GetKeyState(VK_CONTROL) & 0x8000)) || e.vk == VK_F10 || e.vk == VK_MENU;
  // lParam: repeat count 1, context bit 29 for Alt, previous state bit 30, transition bit 31.
  LPARAM lp = 1;
  if (alt) lp |= LPARAM{1} << 29;
  if (down ? (was_down || e.repeat) : true) lp |= LPARAM{1} << 30;
  if (!down) lp |= LPARAM{1} << 31;
  const UINT msg = sys ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  POINT pt;
  GetCursorPos(&pt);
  Post(w, msg, static_cast<WPARAM>(e.vk), lp, pt);
}

void Text(const display::Event& e) {
  Window* w = FocusWindow() ? FocusWindow() : ActiveWindow();
  if (!w || !Enabled(w)) return;
  const bool alt = GetKeyState(VK_MENU) & 0x8000;
  POINT pt;
  GetCursorPos(&pt);
  for (size_t i = 0; i < e.text.size();) {
    const uint32_t cp = gdi::NextCodePoint(e.text, i);
    Post(w, alt ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(cp), 1 | (alt ? LPARAM{1} << 29 : 0), pt);
  }
}

void Drop(const display::Event& e) {
  POINT pt = ClipPoint(POINT{e.x, e.y});
  HWND h = WindowFromPoint(pt);
  Window* w = h ? Find(h) : nullptr;
  while (w && !w->accept_files) w = w->parent;
  if (!w || !Enabled(w) || e.files.empty()) return;
  POINT client = pt;
  ScreenToClient(w->handle, &client);
  RECT rc;
  GetClientRect(w->handle, &rc);
  const bool in_client = client.x >= 0 && client.y >= 0 && client.x < rc.right && client.y < rc.bottom;
  HDROP drop = MakeDrop(e.files, client, in_client);
  PostMessage(w->handle, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

}  // namespace

void ProcessEvent(const display::Event& e) {
  switch (e.kind) {
    case display::EventKind::MouseMove:
    case display::EventKind::ButtonDown:
    case display::EventKind::ButtonUp: Pointer(e); break;
    case display::EventKind::Wheel: Wheel(e); break;
    case display::EventKind::KeyDown:
    case display::EventKind::KeyUp: Key(e); break;
    case display::EventKind::Text: Text(e); break;
    case display::EventKind::DropFiles: Drop(e); break;
    case display::EventKind::Close:
      if (Window* main = MainWindow()) PostMessage(main->handle, WM_CLOSE, 0, 0);
      break;
    case display::EventKind::FocusGained:
    case display::EventKind::FocusLost: {
      const bool gained = e.kind == display::EventKind::FocusGained;
      if (!gained)  // keys held when the host window lost the keyboard are let go
        for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU})
          SetKeyDown(vk, false);
      // The program as a whole became active or inactive: captions follow.
      SendMessage(HWND_BROADCAST, WM_ACTIVATEAPP, gained ? TRUE : FALSE, 0);
      if (Window* active = ActiveWindow()) SendMessage(active->handle, WM_NCACTIVATE, gained ? TRUE : FALSE, 0);
      break;
    }
    case display::EventKind::Exposed: MarkDirty(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}); break;
    case display::EventKind::Resized: break;
  }
}

}  // namespace user

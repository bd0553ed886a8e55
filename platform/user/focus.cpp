// Activation, keyboard focus, mouse capture, enabling, and the key state table.
#include <algorithm>
#include <array>

#include "platform/user/queue.h"

namespace user {
namespace {

struct State {
  Window* active = nullptr;
  Window* focus = nullptr;
  Window* capture = nullptr;
  std::array<uint8_t, 256> keys{};  // bit 7 down, bit 0 toggled
};

State& St() {
  static auto* s = new State;
  return *s;
}

Window* TopLevelOf(Window* w) {
  while (w && w->parent) w = w->parent;
  return w;
}

}  // namespace

void Activate(Window* w, WORD how) {
  State& s = St();
  w = TopLevelOf(w);
  if (w == s.active) return;
  Window* old = s.active;
  const HWND old_handle = old ? old->handle : nullptr;
  const HWND new_handle = w ? w->handle : nullptr;
  if (old) {
    SendMessage(old_handle, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(old_handle)) SendMessage(old_handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0),
                                          reinterpret_cast<LPARAM>(new_handle));
  }
  if (w && !IsWindow(new_handle)) return;
  s.active = w;
  if (!w) {
    if (s.focus) SetFocus(nullptr);
    return;
  }
  // Bring it to the top of its kind.
  auto& sibs = TopLevel();
  if (!sibs.empty() && sibs.front() != w) {
    SetWindowPos(new_handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (!IsWindow(new_handle)) return;
  SendMessage(new_handle, WM_NCACTIVATE, TRUE, 0);
  if (IsWindow(new_handle))
    SendMessage(new_handle, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(old_handle));
  // DefWindowProc gives the focus to the window itself unless something inside took it.
  if (IsWindow(new_handle) && (!s.focus || TopLevelOf(s.focus) != w)) SetFocus(new_handle);
}

void ActivateNextAfterLoss() {
  State& s = St();
  if (s.active && ReallyVisible(s.active)) return;
  Window* next = nullptr;
  for (Window* w : TopLevel())
    if (w != s.active && w->visible() && !(w->style & WS_DISABLED) && !(w->ex_style & WS_EX_TOOLWINDOW)) {
      next = w;
      break;
    }
  s.active = nullptr;
  if (next) Activate(next, WA_ACTIVE);
  else if (s.focus && !ReallyVisible(s.focus)) s.focus = nullptr;
}

void ForgetWindow(Window* w) {
  State& s = St();
  if (s.capture == w) {
    s.capture = nullptr;
  }
  if (s.focus && (s.focus == w || IsChild(w->handle, s.focus->handle))) s.focus = nullptr;
  if (s.active == w) s.active = nullptr;
  ForgetQueued(w);
}

void SetKeyDown(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  uint8_t& k = St().keys[static_cast<size_t>(vk)];
  if (down && !(k & 0x80)) k ^= 0x01;
  k = static_cast<uint8_t>(down ? (k | 0x80) : (k & ~0x80));
}

Window* FocusWindow() { return St().focus; }
Window* CaptureWindow() { return St().capture; }
Window* ActiveWindow() { return St().active; }

}  // namespace user

using user::Window;

HWND SetFocus(HWND hwnd) {
  auto& s = user::St();
  Window* w = hwnd ? user::Find(hwnd) : nullptr;
  if (hwnd && !w) return nullptr;
  if (w && (!user::ReallyVisible(w) || (w->style & WS_DISABLED))) return nullptr;
  Window* old = s.focus;
  const HWND old_handle = old ? old->handle : nullptr;
  if (old == w) return old_handle;
  // Focus inside another top-level window activates that window first.
  if (w && user::TopLevelOf(w) != s.active) {
    s.focus = nullptr;
    user::Activate(w, WA_ACTIVE);
    if (!IsWindow(hwnd)) return old_handle;
  }
  s.focus = w;
  if (old && IsWindow(old_handle)) SendMessage(old_handle, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (w && IsWindow(hwnd) && s.focus == w) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old_handle), 0);
  return old_handle;
}

HWND GetFocus() { return user::St().focus ? user::St().focus->handle : nullptr; }

HWND SetActiveWindow(HWND hwnd) {
  Window* w = user::Find(hwnd);
  if (!w) return nullptr;
  HWND old = user::St().active ? user::St().active->handle : nullptr;
  user::Activate(w, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return user::St().active ? user::St().active->handle : nullptr; }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) != nullptr || GetActiveWindow() == hwnd; }
HWND GetForegroundWindow() { return GetActiveWindow(); }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  const BOOL was_disabled = (w->style & WS_DISABLED) != 0;
  if (enable == !was_disabled) return was_disabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    SendMessage(hwnd, WM_CANCELMODE, 0, 0);
    w->style |= WS_DISABLED;
    auto& s = user::St();
    if (s.focus && (s.focus == w || IsChild(hwnd, s.focus->handle))) SetFocus(nullptr);
    if (s.capture == w) ReleaseCapture();
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return was_disabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = user::Find(hwnd);
  return w && !(w->style & WS_DISABLED);
}

HWND SetCapture(HWND hwnd) {
  auto& s = user::St();
  Window* w = user::Find(hwnd);
  if (!w) return nullptr;
  Window* old = s.capture;
  const HWND old_handle = old ? old->handle : nullptr;
  s.capture = w;
  if (old && old != w) SendMessage(old_handle, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old_handle;
}

BOOL ReleaseCapture() {
  auto& s = user::St();
  Window* old = s.capture;
  s.capture = nullptr;
  if (old) SendMessage(old->handle, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return user::St().capture ? user::St().capture->handle : nullptr; }

SHORT GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  const uint8_t k = user::St().keys[static_cast<size_t>(vk)];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int vk) { return static_cast<SHORT>(GetKeyState(vk) & 0x8000); }

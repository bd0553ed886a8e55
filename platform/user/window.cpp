// Window classes, the handle table, creation and destruction, window longs, text and the
// window tree.
#include "platform/user/window.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/user/input.h"
#include "platform/user/queue.h"

namespace user {
namespace {

struct Slot {
  std::unique_ptr<Window> window;
  uint16_t generation = 1;
};

std::vector<Slot>& Slots() {
  static auto* slots = new std::vector<Slot>;
  return *slots;
}

std::map<std::string, std::shared_ptr<WindowClass>>& Classes() {
  static auto* classes = new std::map<std::string, std::shared_ptr<WindowClass>>;
  return *classes;
}

std::string Lower(const char* s) {
  std::string out(s ? s : "");
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

HWND Register(std::unique_ptr<Window> w) {
  auto& slots = Slots();
  size_t index = slots.size();
  for (size_t i = 0; i < slots.size(); ++i)
    if (!slots[i].window) {
      index = i;
      break;
    }
  if (index == slots.size()) slots.emplace_back();
  Slot& s = slots[index];
  const auto h = reinterpret_cast<HWND>(((index + 1) << 16) | s.generation);
  w->handle = h;
  s.window = std::move(w);
  return h;
}

void Unregister(HWND h) {
  const auto v = reinterpret_cast<uintptr_t>(h);
  const size_t index = (v >> 16) - 1;
  Slot& s = Slots()[index];
  s.window.reset();
  s.generation = static_cast<uint16_t>(s.generation == 0xFFFF ? 1 : s.generation + 1);
}

}  // namespace

Window* Find(HWND hwnd) {
  const auto v = reinterpret_cast<uintptr_t>(hwnd);
  if (v >= 0x10000) {
    const size_t index = (v >> 16) - 1;
    auto& slots = Slots();
    if (index < slots.size() && slots[index].window && slots[index].generation == (v & 0xFFFF))
      return slots[index].window.get();
  }
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return nullptr;
}

std::vector<Window*>& TopLevel() {
  static auto* list = new std::vector<Window*>;
  return *list;
}

std::vector<Window*>& Siblings(Window* w) { return w->parent ? w->parent->children : TopLevel(); }

namespace {
HWND main_window = nullptr;
}

Window* MainWindow() {
  if (!main_window) return nullptr;
  const DWORD saved = GetLastError();
  Window* w = Find(main_window);
  SetLastError(saved);
  return w;
}

void SetMainWindow(HWND hwnd) { main_window = hwnd; }

}  // namespace user

using user::Window;

// ---------------------------------------------------------------------------------------
// Classes

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string key = user::Lower(wc->lpszClassName);
  auto& classes = user::Classes();
  if (classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_shared<user::WindowClass>();
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  cls->icon = wc->hIcon;
  cls->small_icon = wc->hIconSm;
  cls->instance = wc->hInstance;
  classes[key] = cls;
  return static_cast<ATOM>(0xC000 + classes.size());
}

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEX ex{sizeof(WNDCLASSEX), wc->style,         wc->lpfnWndProc,  wc->cbClsExtra, wc->cbWndExtra,
                wc->hInstance,      wc->hIcon,         wc->hCursor,      wc->hbrBackground, wc->lpszMenuName,
                wc->lpszClassName,  nullptr};
  return RegisterClassEx(&ex);
}

BOOL UnregisterClass(LPCSTR name, HINSTANCE) {
  auto& classes = user::Classes();
  auto it = classes.find(user::Lower(name));
  if (it == classes.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  classes.erase(it);  // windows of the class keep their own reference
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, LPCSTR name, WNDCLASSEX* wc) {
  auto& classes = user::Classes();
  auto it = classes.find(user::Lower(name));
  if (it == classes.end() || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  const user::WindowClass& c = *it->second;
  wc->style = c.style;
  wc->lpfnWndProc = c.proc;
  wc->cbClsExtra = wc->cbWndExtra = 0;
  wc->hInstance = c.instance;
  wc->hIcon = c.icon;
  wc->hCursor = c.cursor;
  wc->hbrBackground = c.background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = c.name.c_str();
  wc->hIconSm = c.small_icon;
  return TRUE;
}

int GetClassName(HWND hwnd, LPSTR name, int max) {
  Window* w = user::Find(hwnd);
  if (!w || !name || max <= 0) return 0;
  const size_t n = std::min(w->cls->name.size(), static_cast<size_t>(max - 1));
  std::memcpy(name, w->cls->name.data(), n);
  name[n] = 0;
  return static_cast<int>(n);
}

LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

HWND CreateWindowEx(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y, int width,
                    int height, HWND parent_handle, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto& classes = user::Classes();
  auto it = classes.find(user::Lower(class_name));
  if (it == classes.end()) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* parent = nullptr;
  Window* owner = nullptr;
  if (parent_handle && parent_handle != HWND_MESSAGE) {
    Window* p = user::Find(parent_handle);
    if (!p) return nullptr;
    if (style & WS_CHILD) {
      parent = p;
    } else {
      owner = p;
      while (owner->parent) owner = owner->parent;  // owners are always top-level
    }
  } else if (style & WS_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);  // a child needs a parent
    return nullptr;
  }
  // Default placement for overlapped windows, cascading from the top-left.
  if (!(style & WS_CHILD)) {
    static int cascade = 0;
    if (x == CW_USEDEFAULT) {
      x = y = 20 + 24 * (cascade++ % 8);
    }
    if (width == CW_USEDEFAULT) {
      width = 480;
      height = 360;
    }
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }

  auto w = std::make_unique<Window>();
  w->cls = it->second;
  w->proc = it->second->proc;
  w->style = style & ~WS_VISIBLE;  // shown below, after WM_CREATE
  if (!(style & WS_CHILD)) w->style |= WS_CLIPSIBLINGS;
  if ((style & WS_CAPTION) == WS_CAPTION || (ex_style & WS_EX_DLGMODALFRAME)) ex_style |= WS_EX_WINDOWEDGE;
  w->ex_style = ex_style;
  w->text = window_name ? window_name : "";
  w->instance = instance;
  w->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
  w->parent = parent;
  w->owner = owner;
  w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  w->accept_files = ex_style & WS_EX_ACCEPTFILES;
  Window* raw = w.get();
  const HWND hwnd = user::Register(std::move(w));
  // Topmost windows stay above the rest; everything else goes on top of its own kind.
  auto& sibs = user::Siblings(raw);
  auto pos = sibs.begin();
  if (!(ex_style & WS_EX_TOPMOST))
    while (pos != sibs.end() && ((*pos)->ex_style & WS_EX_TOPMOST)) ++pos;
  sibs.insert(pos, raw);

  CREATESTRUCT cs{param, instance, menu, parent_handle, height, width, y, x, static_cast<LONG>(style),
                  window_name, class_name, ex_style};
  MINMAXINFO mmi{};
  (void)mmi;
  if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  user::RecalcClient(raw);
  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  raw->created = true;
  if (!parent && !user::MainWindow()) user::SetMainWindow(hwnd);
  SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(raw->client.right - raw->client.left, raw->client.bottom - raw->client.top));
  SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(raw->rect.left + raw->client.left, raw->rect.top + raw->client.top));
  if (style & WS_VISIBLE) {
    if (style & WS_MAXIMIZE) ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    else if (style & WS_MINIMIZE) ShowWindow(hwnd, SW_SHOWMINIMIZED);
    else ShowWindow(hwnd, SW_SHOW);
  }
  return hwnd;
}

HWND CreateWindow(LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y, int width, int height, HWND parent,
                  HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowEx(0, class_name, window_name, style, x, y, width, height, parent, menu, instance, param);
}

namespace {

void DestroyTree(Window* w) {
  // Owned top-level windows go first, then this window's children, deepest first.
  for (Window* t : std::vector<Window*>(user::TopLevel()))
    if (t->owner == w && !t->destroying) DestroyWindow(t->handle);
  w->destroying = true;
  SendMessage(w->handle, WM_DESTROY, 0, 0);
  for (Window* c : std::vector<Window*>(w->children))
    if (!c->destroying) DestroyTree(c);
  SendMessage(w->handle, WM_NCDESTROY, 0, 0);
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  const bool was_visible = user::ReallyVisible(w);
  const gdi::Region area = was_visible ? user::VisibleRegion(w, false) : gdi::Region();
  const RECT screen_rect = [&] {
    const POINT o = user::ScreenOrigin(w);
    return RECT{o.x, o.y, o.x + w->width(), o.y + w->height()};
  }();
  user::ForgetWindow(w);  // focus, capture, activation, timers
  DestroyTree(w);
  // Unlink and free the whole tree.
  std::vector<Window*> doomed{w};
  for (size_t i = 0; i < doomed.size(); ++i)
    for (Window* c : doomed[i]->children) doomed.push_back(c);
  auto& sibs = user::Siblings(w);
  sibs.erase(std::remove(sibs.begin(), sibs.end(), w), sibs.end());
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
    user::ForgetWindow(*it);
    user::Unregister((*it)->handle);
  }
  if (was_visible) {
    user::InvalidateScreenArea(gdi::Region(screen_rect));
    user::ActivateNextAfterLoss();
  }
  (void)area;
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  const DWORD saved = GetLastError();
  const bool ok = user::Find(hwnd) != nullptr;
  SetLastError(saved);
  return ok;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = user::Find(hwnd);
  for (Window* p = w ? w->parent : nullptr; p; p = p->parent)
    if (p->handle == parent) return TRUE;
  return FALSE;
}

// ---------------------------------------------------------------------------------------
// Window longs and procedures

WNDPROC GetWindowProc(HWND hwnd) {
  Window* w = user::Find(hwnd);
  return w ? w->proc : WNDPROC{};
}

WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc) {
  Window* w = user::Find(hwnd);
  if (!w || !proc) return WNDPROC{};
  WNDPROC old = std::move(w->proc);
  w->proc = std::move(proc);
  return old;
}

LONG_PTR GetWindowLong(HWND hwnd, int index) {
  Window* w = user::Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->ex_style);
    case GWL_USERDATA: return w->user_data;
    case GWL_ID: return w->id;
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle : w->owner ? w->owner->handle : nullptr);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;  // GWL_WNDPROC: use GetWindowProc
  }
}

LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
  Window* w = user::Find(hwnd);
  if (!w) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWL_STYLE: {
      old = static_cast<LONG_PTR>(w->style);
      // Visibility changes only through ShowWindow/SetWindowPos, as on Win32.
      w->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | (w->style & WS_VISIBLE);
      break;
    }
    case GWL_EXSTYLE:
      old = static_cast<LONG_PTR>(w->ex_style);
      w->ex_style = static_cast<DWORD>(value);
      w->accept_files = w->ex_style & WS_EX_ACCEPTFILES;
      break;
    case GWL_USERDATA:
      old = w->user_data;
      w->user_data = value;
      break;
    case GWL_ID:
      old = w->id;
      w->id = value;
      break;
    case GWL_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
  return old;
}

// ---------------------------------------------------------------------------------------
// Text (through messages, so subclass hooks can answer)

int GetWindowTextLength(HWND hwnd) {
  if (!user::Find(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int GetWindowText(HWND hwnd, LPSTR text, int max) {
  if (!user::Find(hwnd) || !text || max <= 0) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(text)));
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!user::Find(hwnd)) return FALSE;
  return static_cast<BOOL>(SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

// ---------------------------------------------------------------------------------------
// The tree

HWND GetParent(HWND hwnd) {
  Window* w = user::Find(hwnd);
  if (!w) return nullptr;
  if (w->child()) return w->parent ? w->parent->handle : nullptr;
  return w->owner ? w->owner->handle : nullptr;
}

HWND GetDesktopWindow() { return nullptr; }

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = user::Find(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (cmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  auto& sibs = user::Siblings(w);
  auto it = std::find(sibs.begin(), sibs.end(), w);
  switch (cmd) {
    case GW_HWNDFIRST: return sibs.front()->handle;
    case GW_HWNDLAST: return sibs.back()->handle;
    case GW_HWNDNEXT: return it + 1 != sibs.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV: return it != sibs.begin() ? (*(it - 1))->handle : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return user::TopLevel().empty() ? nullptr : user::TopLevel().front()->handle;
  return GetWindow(hwnd, GW_CHILD);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM data) {
  if (!proc) return FALSE;
  std::vector<HWND> handles;
  for (Window* w : user::TopLevel()) handles.push_back(w->handle);
  for (HWND h : handles)
    if (IsWindow(h) && !proc(h, data)) return FALSE;
  return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM data) {
  Window* p = user::Find(parent);
  if (!p || !proc) return FALSE;
  // Depth first, every descendant, as Win32 does.
  std::vector<HWND> handles;
  std::vector<Window*> stack(p->children.rbegin(), p->children.rend());
  while (!stack.empty()) {
    Window* w = stack.back();
    stack.pop_back();
    handles.push_back(w->handle);
    stack.insert(stack.end(), w->children.rbegin(), w->children.rend());
  }
  for (HWND h : handles)
    if (IsWindow(h) && !proc(h, data)) return FALSE;
  return TRUE;
}

HWND FindWindow(LPCSTR class_name, LPCSTR window_name) {
  for (Window* w : user::TopLevel()) {
    if (class_name && strcasecmp(w->cls->name.c_str(), class_name) != 0) continue;
    if (window_name && w->text != window_name) continue;
    return w->handle;
  }
  return nullptr;
}

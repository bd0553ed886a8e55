// The window manager's own view of windows: classes, window objects, the window tree and
// the handle table. Windows live on one virtual screen; there are no per-window pixel
// stores: a window paints straight onto the screen through a DC clipped to what of it is
// visible, and uncovering a part of a window asks it to paint that part again.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/region.h"
#include "platform/win32/user.h"

namespace user {

struct ScrollBars;  // scrollbar.h

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON small_icon = nullptr;
  HINSTANCE instance = nullptr;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc;
  DWORD style = 0;
  DWORD ex_style = 0;
  std::string text;
  LONG_PTR user_data = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;

  Window* parent = nullptr;  // null for top-level windows (their parent is the desktop)
  Window* owner = nullptr;
  std::vector<Window*> children;  // z-order, topmost first

  RECT rect{0, 0, 0, 0};    // window rectangle in the parent's client coordinates (screen for top-level)
  RECT client{0, 0, 0, 0};  // client rectangle in window coordinates

  gdi::Region update;        // client coordinates
  bool erase = false;        // WM_ERASEBKGND due at the next BeginPaint
  bool frame_dirty = false;  // WM_NCPAINT due
  bool internal_paint = false;
  bool painting = false;

  bool destroying = false;
  RECT normal{0, 0, 0, 0};  // restored rectangle while minimized or maximized
  bool accept_files = false;
  bool created = false;     // WM_CREATE answered
  bool nc_active = false;   // the caption shows as active (WM_NCACTIVATE)
  int pressed_button = 0;   // user::ButtonPressed while a caption button is held
  std::shared_ptr<ScrollBars> scroll;  // scroll-bar state, made when first needed

  bool visible() const { return style & WS_VISIBLE; }
  bool child() const { return style & WS_CHILD; }
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
};

// The window behind a handle, or null (ERROR_INVALID_WINDOW_HANDLE set).
Window* Find(HWND hwnd);
// Top-level windows in z-order, topmost first.
std::vector<Window*>& TopLevel();
// The siblings list a window lives in.
std::vector<Window*>& Siblings(Window* w);

// Top-left of the window and of its client area on the screen.
POINT ScreenOrigin(const Window* w);
POINT ClientScreenOrigin(const Window* w);
// Whether the window and all its ancestors are visible.
bool ReallyVisible(const Window* w);
// What of the window (client area only, or the whole window) can be seen on the screen, in
// screen coordinates.
gdi::Region VisibleRegion(const Window* w, bool client_only);

// Asks every window that shows part of the screen area (screen coordinates) to repaint it,
// and the desktop to repaint its own uncovered part.
void InvalidateScreenArea(const gdi::Region& area);
// Marks a screen area as changed for the display.
void MarkDirty(const RECT& screen_rect);

}  // namespace user

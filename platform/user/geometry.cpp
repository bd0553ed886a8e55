// Window geometry: positions, sizes, z-order, showing and hiding, coordinate mapping and
// finding windows by point.
#include <algorithm>

#include "platform/user/queue.h"

namespace user {
namespace {

RECT ScreenRect(const Window* w) {
  const POINT o = ScreenOrigin(w);
  return RECT{o.x, o.y, o.x + w->width(), o.y + w->height()};
}

void PlaceInZOrder(Window* w, HWND after) {
  auto& sibs = Siblings(w);
  sibs.erase(std::remove(sibs.begin(), sibs.end(), w), sibs.end());
  auto first_plain = [&] {
    auto it = sibs.begin();
    while (it != sibs.end() && ((*it)->ex_style & WS_EX_TOPMOST)) ++it;
    return it;
  };
  if (after == HWND_TOPMOST) {
    w->ex_style |= WS_EX_TOPMOST;
    sibs.insert(sibs.begin(), w);
  } else if (after == HWND_NOTOPMOST) {
    w->ex_style &= ~WS_EX_TOPMOST;
    sibs.insert(first_plain(), w);
  } else if (after == HWND_BOTTOM) {
    w->ex_style &= ~WS_EX_TOPMOST;
    sibs.push_back(w);
  } else if (after == HWND_TOP) {
    sibs.insert((w->ex_style & WS_EX_TOPMOST) ? sibs.begin() : first_plain(), w);
  } else {
    auto it = std::find_if(sibs.begin(), sibs.end(), [&](Window* s) { return s->handle == after; });
    sibs.insert(it == sibs.end() ? sibs.begin() : it + 1, w);
  }
}

RECT MinimizedRect(const Window* w) {
  const int cw = 160, ch = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  int slot = 0;
  for (const Window* o : TopLevel())
    if (o != w && (o->style & WS_MINIMIZE)) ++slot;
  return RECT{slot * cw, sh - ch, slot * cw + cw, sh};
}

}  // namespace

void RecalcClient(Window* w) {
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = w->rect;
  SendMessage(w->handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params.rgrc[0]));
  RECT c = params.rgrc[0];
  c.left = std::clamp(c.left, w->rect.left, w->rect.right);
  c.right = std::clamp(c.right, c.left, w->rect.right);
  c.top = std::clamp(c.top, w->rect.top, w->rect.bottom);
  c.bottom = std::clamp(c.bottom, c.top, w->rect.bottom);
  w->client = RECT{c.left - w->rect.left, c.top - w->rect.top, c.right - w->rect.left, c.bottom - w->rect.top};
}

}  // namespace user

using user::Window;

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w->rect.left;
    wp.y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = w->width();
    wp.cy = w->height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (!IsWindow(hwnd)) return FALSE;
  const bool was_visible = user::ReallyVisible(w);
  const RECT old_screen = user::ScreenRect(w);
  const RECT old_rect = w->rect;

  w->rect = RECT{wp.x, wp.y, wp.x + std::max(0, wp.cx), wp.y + std::max(0, wp.cy)};
  if (!(wp.flags & SWP_NOZORDER)) user::PlaceInZOrder(w, wp.hwndInsertAfter);
  if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  const bool resized = old_rect.right - old_rect.left != w->width() || old_rect.bottom - old_rect.top != w->height();
  if (resized || (wp.flags & SWP_FRAMECHANGED)) user::RecalcClient(w);

  const bool now_visible = user::ReallyVisible(w);
  const bool moved = old_rect.left != w->rect.left || old_rect.top != w->rect.top;
  const bool restacked = !(wp.flags & SWP_NOZORDER);
  if ((was_visible || now_visible) && (moved || resized || restacked || was_visible != now_visible ||
                                       (wp.flags & SWP_FRAMECHANGED))) {
    gdi::Region area(old_screen);
    area = gdi::Region::Combine(area, gdi::Region(user::ScreenRect(w)), RGN_OR);
    if (!(wp.flags & SWP_NOREDRAW) || was_visible != now_visible) user::InvalidateScreenArea(area);
  }
  if (!now_visible && was_visible) user::ActivateNextAfterLoss();
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  if (IsWindow(hwnd) && now_visible && !w->child() && !(wp.flags & SWP_NOACTIVATE) &&
      ((wp.flags & SWP_SHOWWINDOW) || restacked))
    user::Activate(w, WA_ACTIVE);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  const BOOL was_visible = w->visible();
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
  RECT target = w->rect;
  const bool maximized = w->style & WS_MAXIMIZE, minimized = w->style & WS_MINIMIZE;
  auto save_normal = [&] {
    if (!maximized && !minimized) w->normal = w->rect;
  };
  switch (cmd) {
    case SW_HIDE:
      if (!was_visible) return FALSE;
      SendMessage(hwnd, WM_SHOWWINDOW, FALSE, 0);
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_HIDEWINDOW | SWP_NOACTIVATE);
      return was_visible;
    case SW_SHOWMAXIMIZED: {
      save_normal();
      MINMAXINFO mmi{};
      const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
      mmi.ptMaxSize = POINT{GetSystemMetrics(SM_CXSCREEN) + 2 * fx, GetSystemMetrics(SM_CYSCREEN) + 2 * fy};
      mmi.ptMaxPosition = POINT{-fx, -fy};
      mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
      mmi.ptMaxTrackSize = mmi.ptMaxSize;
      SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
      w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
      target = RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                    mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
      flags = SWP_FRAMECHANGED | SWP_SHOWWINDOW;
      break;
    }
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      save_normal();
      w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
      target = user::MinimizedRect(w);
      flags = SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOZORDER | (cmd == SW_SHOWMINIMIZED ? 0 : SWP_NOACTIVATE);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (maximized || minimized) {
        w->style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
        target = w->normal;
        flags = SWP_FRAMECHANGED | SWP_SHOWWINDOW;
      } else {
        flags |= SWP_SHOWWINDOW;
        flags &= ~SWP_NOZORDER;
      }
      break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA: flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE; break;
    case SW_SHOW:
    default:
      flags |= SWP_SHOWWINDOW;
      flags &= ~SWP_NOZORDER;
      break;
  }
  if (!was_visible) SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
  if (!IsWindow(hwnd)) return was_visible;
  SetWindowPos(hwnd, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top,
               flags);
  if (IsWindow(hwnd) && (flags & SWP_FRAMECHANGED)) {
    const WPARAM type = (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                                                               : SIZE_RESTORED;
    SendMessage(hwnd, WM_SIZE, type,
                MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
  }
  return was_visible;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = user::Find(hwnd);
  return w && user::ReallyVisible(w);
}

BOOL IsIconic(HWND hwnd) {
  Window* w = user::Find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = user::Find(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rc) {
  Window* w = user::Find(hwnd);
  if (!w || !rc) return FALSE;
  *rc = user::ScreenRect(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rc) {
  Window* w = user::Find(hwnd);
  if (!w || !rc) return FALSE;
  *rc = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  Window* w = user::Find(hwnd);
  if (!w || !pt) return FALSE;
  const POINT o = user::ClientScreenOrigin(w);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  Window* w = user::Find(hwnd);
  if (!w || !pt) return FALSE;
  const POINT o = user::ClientScreenOrigin(w);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from && !ClientToScreen(from, &a)) return 0;
  if (to && !ClientToScreen(to, &b)) return 0;
  const int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; pts && i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

namespace {

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The deepest visible window under a screen point, starting from a list of siblings.
Window* Deepest(const std::vector<Window*>& list, POINT pt) {
  for (Window* w : list) {
    if (!w->visible() || !Contains(user::ScreenRect(w), pt)) continue;
    const POINT o = user::ClientScreenOrigin(w);
    const RECT client{o.x, o.y, o.x + (w->client.right - w->client.left), o.y + (w->client.bottom - w->client.top)};
    if (Contains(client, pt))
      if (Window* c = Deepest(w->children, pt)) return c;
    return w;
  }
  return nullptr;
}

}  // namespace

HWND WindowFromPoint(POINT pt) {
  Window* w = Deepest(user::TopLevel(), pt);
  return w ? w->handle : nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  Window* p = user::Find(parent);
  if (!p) return nullptr;
  const RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
  if (!Contains(client, pt)) return nullptr;
  POINT screen = pt;
  ClientToScreen(parent, &screen);
  for (Window* c : p->children)
    if (Contains(user::ScreenRect(c), screen)) return c->handle;  // hidden and disabled ones too, as Win32
  return parent;
}

HWND SetParent(HWND child, HWND parent) {
  Window* w = user::Find(child);
  Window* p = parent ? user::Find(parent) : nullptr;
  if (!w || (parent && !p)) return nullptr;
  for (Window* a = p; a; a = a->parent)
    if (a == w) {
      SetLastError(ERROR_INVALID_PARAMETER);  // would make a loop
      return nullptr;
    }
  HWND old = w->parent ? w->parent->handle : nullptr;
  const bool visible = user::ReallyVisible(w);
  const RECT before = user::ScreenRect(w);
  auto& sibs = user::Siblings(w);
  sibs.erase(std::remove(sibs.begin(), sibs.end(), w), sibs.end());
  w->parent = p;
  if (p) w->style |= WS_CHILD;
  user::Siblings(w).insert(user::Siblings(w).begin(), w);
  if (visible) user::InvalidateScreenArea(gdi::Region(before));
  if (user::ReallyVisible(w)) user::InvalidateScreenArea(gdi::Region(user::ScreenRect(w)));
  return old;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp) {
  Window* w = user::Find(hwnd);
  if (!w || !wp) return FALSE;
  wp->flags = 0;
  wp->showCmd = !w->visible() ? SW_HIDE
                : (w->style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                           : SW_SHOWNORMAL;
  wp->ptMinPosition = POINT{-1, -1};
  wp->ptMaxPosition = POINT{-1, -1};
  wp->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normal : w->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp) {
  Window* w = user::Find(hwnd);
  if (!w || !wp || wp->length != sizeof(WINDOWPLACEMENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT& n = wp->rcNormalPosition;
  if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
    w->normal = n;
  } else {
    SetWindowPos(hwnd, nullptr, n.left, n.top, n.right - n.left, n.bottom - n.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd, static_cast<int>(wp->showCmd));
  return TRUE;
}

// Painting: the screen, what of each window is visible, update regions, window DCs,
// BeginPaint/EndPaint and the desktop under all windows.
#include <algorithm>
#include <map>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/raster.h"
#include "platform/user/queue.h"
#include "platform/win32/draw.h"

namespace user {
namespace {

struct Screen {
  std::shared_ptr<gdi::Bitmap> bitmap;
  std::vector<RECT> dirty;
  std::map<HDC, HWND> window_dcs;  // DCs handed out by GetDC and friends
};

Screen& S() {
  static auto* s = new Screen;
  return *s;
}

RECT ClientOnScreen(const Window* w) {
  const POINT o = ClientScreenOrigin(w);
  return RECT{o.x, o.y, o.x + (w->client.right - w->client.left), o.y + (w->client.bottom - w->client.top)};
}

RECT WindowOnScreen(const Window* w) {
  const POINT o = ScreenOrigin(w);
  return RECT{o.x, o.y, o.x + w->width(), o.y + w->height()};
}

bool ClipsSiblings(const Window* w) { return !w->parent || (w->style & WS_CLIPSIBLINGS); }

// Paints the desktop where no top-level window covers it.
void PaintDesktop(const gdi::Region& area) {
  EnsureScreen();
  gdi::Region open = area.Intersected(S().bitmap->surface.bounds());
  for (const Window* w : TopLevel())
    if (w->visible()) open = gdi::Region::Combine(open, gdi::Region(WindowOnScreen(w)), RGN_DIFF);
  if (open.empty()) return;
  const gdi::Surface& s = S().bitmap->surface;
  gdi::FillRegion(s, gdi::Region(s.bounds()), open,
                  gdi::Ink::Solid(R2_COPYPEN, gdi::ToPixel(GetSysColor(COLOR_BACKGROUND))));
  MarkDirty(open.bounds());
}

// Adds a screen area to a window's update region (client part) and frame (the rest).
void InvalidateWindowPart(Window* w, const gdi::Region& screen_area, bool erase, bool frame, bool children) {
  if (!w->visible()) return;
  const RECT client = ClientOnScreen(w);
  gdi::Region part = screen_area.Intersected(client);
  if (!part.empty()) {
    part.Offset(-client.left, -client.top);
    w->update = gdi::Region::Combine(w->update, part, RGN_OR);
    w->erase = w->erase || erase;
  }
  if (frame && screen_area.Intersects(WindowOnScreen(w)) &&
      !gdi::Region::Combine(screen_area.Intersected(WindowOnScreen(w)), gdi::Region(client), RGN_DIFF).empty())
    w->frame_dirty = true;
  if (children)
    for (Window* c : w->children) InvalidateWindowPart(c, screen_area, erase, frame, true);
}

Window* FindPaint(const std::vector<Window*>& list) {
  for (Window* w : list) {
    if (!w->visible()) continue;
    if (!w->update.empty() || w->frame_dirty || w->internal_paint) return w;
    if (Window* c = FindPaint(w->children)) return c;
  }
  return nullptr;
}

HDC MakeDC(Window* w, bool whole_window, const gdi::Region* limit) {
  EnsureScreen();
  HDC hdc = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  auto* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!w) {
    dc->SetDeviceOrigin(POINT{0, 0});
  } else {
    dc->SetDeviceOrigin(whole_window ? ScreenOrigin(w) : ClientScreenOrigin(w));
    gdi::Region vis = VisibleRegion(w, !whole_window);
    if (limit) vis = gdi::Region::Combine(vis, *limit, RGN_AND);
    dc->SetVisibleRegion(std::move(vis));
  }
  S().window_dcs[hdc] = w ? w->handle : nullptr;
  return hdc;
}

}  // namespace

void EnsureScreen() {
  Screen& s = S();
  if (s.bitmap) return;
  const gdi::Surface& existing = gdi::ScreenSurface();
  const int w = existing.valid() ? existing.width : 1024, h = existing.valid() ? existing.height : 768;
  s.bitmap = gdi::Bitmap::Create(w, h, 32);
  gdi::SetScreenSurface(s.bitmap->surface);
  PaintDesktop(gdi::Region(RECT{0, 0, w, h}));
}

void ResizeScreen(int width, int height) {
  Screen& s = S();
  const bool changed = s.bitmap && (s.bitmap->surface.width != width || s.bitmap->surface.height != height);
  s.bitmap = gdi::Bitmap::Create(width, height, 32);
  gdi::SetScreenSurface(s.bitmap->surface);
  if (changed) SendMessage(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
  InvalidateRect(nullptr, nullptr, TRUE);
}

std::vector<RECT> TakeDirty() {
  std::vector<RECT> out;
  out.swap(S().dirty);
  return out;
}

void MarkDirty(const RECT& r) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  auto& d = S().dirty;
  // Merge into an overlapping rectangle; a frame seldom has many separate changes.
  for (RECT& e : d)
    if (r.left <= e.right && r.right >= e.left && r.top <= e.bottom && r.bottom >= e.top) {
      e = RECT{std::min(e.left, r.left), std::min(e.top, r.top), std::max(e.right, r.right),
               std::max(e.bottom, r.bottom)};
      return;
    }
  d.push_back(r);
}

POINT ScreenOrigin(const Window* w) {
  POINT p{w->rect.left, w->rect.top};
  for (const Window* a = w->parent; a; a = a->parent) {
    p.x += a->rect.left + a->client.left;
    p.y += a->rect.top + a->client.top;
  }
  return p;
}

POINT ClientScreenOrigin(const Window* w) {
  const POINT o = ScreenOrigin(w);
  return POINT{o.x + w->client.left, o.y + w->client.top};
}

bool ReallyVisible(const Window* w) {
  for (; w; w = w->parent)
    if (!w->visible()) return false;
  return true;
}

gdi::Region VisibleRegion(const Window* w, bool client_only) {
  if (!ReallyVisible(w)) return gdi::Region();
  gdi::Region vis(client_only ? ClientOnScreen(w) : WindowOnScreen(w));
  // Siblings above this window and above each ancestor cover it.
  for (const Window* a = w; a; a = a->parent) {
    if (a != w) vis = vis.Intersected(ClientOnScreen(a));
    if (ClipsSiblings(a)) {
      const auto& sibs = a->parent ? a->parent->children : TopLevel();
      for (const Window* s : sibs) {
        if (s == a) break;
        if (s->visible()) vis = gdi::Region::Combine(vis, gdi::Region(WindowOnScreen(s)), RGN_DIFF);
      }
    }
  }
  if (w->style & WS_CLIPCHILDREN)
    for (const Window* c : w->children)
      if (c->visible()) vis = gdi::Region::Combine(vis, gdi::Region(WindowOnScreen(c)), RGN_DIFF);
  EnsureScreen();
  return vis.Intersected(S().bitmap->surface.bounds());
}

void InvalidateScreenArea(const gdi::Region& area) {
  PaintDesktop(area);
  for (Window* w : TopLevel()) InvalidateWindowPart(w, area, true, true, true);
}

Window* NextPaintWindow() { return FindPaint(TopLevel()); }

}  // namespace user

using user::Window;

HDC GetDC(HWND hwnd) {
  if (!hwnd) return user::MakeDC(nullptr, false, nullptr);
  Window* w = user::Find(hwnd);
  return w ? user::MakeDC(w, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return user::MakeDC(nullptr, true, nullptr);
  Window* w = user::Find(hwnd);
  return w ? user::MakeDC(w, true, nullptr) : nullptr;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  Window* w = hwnd ? user::Find(hwnd) : nullptr;
  if (hwnd && !w) return nullptr;
  const bool whole = flags & DCX_WINDOW;
  if (!w) return user::MakeDC(nullptr, whole, nullptr);
  auto* rgn = clip ? gdi::Get<gdi::RegionObject>(clip) : nullptr;
  if (rgn && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    // The region is in screen coordinates here, as for WM_NCPAINT's region.
    gdi::Region limit = rgn->region;
    if (flags & DCX_EXCLUDERGN) limit = gdi::Region::Combine(user::VisibleRegion(w, !whole), limit, RGN_DIFF);
    return user::MakeDC(w, whole, &limit);
  }
  return user::MakeDC(w, whole, nullptr);
}

int ReleaseDC(HWND, HDC hdc) {
  auto& dcs = user::S().window_dcs;
  auto it = dcs.find(hdc);
  if (it == dcs.end()) return 0;
  if (auto* dc = gdi::Get<gdi::DeviceContext>(hdc)) user::MarkDirty(dc->EffectiveClip().bounds());
  dcs.erase(it);
  DeleteDC(hdc);
  return 1;
}

HWND WindowFromDC(HDC hdc) {
  auto& dcs = user::S().window_dcs;
  auto it = dcs.find(hdc);
  return it == dcs.end() ? nullptr : it->second;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags) {
  if (!hwnd) {
    if (flags & RDW_INVALIDATE) {
      user::EnsureScreen();
      user::InvalidateScreenArea(gdi::Region(user::S().bitmap->surface.bounds()));
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
      for (Window* w = user::NextPaintWindow(); w; w = user::NextPaintWindow()) UpdateWindow(w->handle);
    return TRUE;
  }
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  // The area in client coordinates.
  const RECT client{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  gdi::Region area(client);
  if (rgn) {
    auto* r = gdi::Get<gdi::RegionObject>(rgn);
    if (!r) return FALSE;
    area = r->region.Intersected(client);
  } else if (rc) {
    area = gdi::Region(*rc).Intersected(client);
  }
  const bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (flags & RDW_INVALIDATE) {
    if (w->visible()) {
      w->update = gdi::Region::Combine(w->update, area, RGN_OR);
      if (flags & RDW_ERASE) w->erase = true;
      if (flags & RDW_FRAME) w->frame_dirty = true;
      if (flags & RDW_INTERNALPAINT) w->internal_paint = true;
      if (children) {
        gdi::Region screen_area = area;
        const POINT o = user::ClientScreenOrigin(w);
        screen_area.Offset(o.x, o.y);
        for (Window* c : w->children) user::InvalidateWindowPart(c, screen_area, flags & RDW_ERASE, flags & RDW_FRAME, true);
      }
    }
  } else if (flags & RDW_VALIDATE) {
    w->update = gdi::Region::Combine(w->update, area, RGN_DIFF);
    if (w->update.empty()) w->erase = false;
    if (flags & RDW_NOFRAME) w->frame_dirty = false;
    if (flags & RDW_NOINTERNALPAINT) w->internal_paint = false;
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hwnd);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase) {
  return RedrawWindow(hwnd, rc, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rc) { return RedrawWindow(hwnd, rc, nullptr, RDW_VALIDATE | RDW_NOCHILDREN); }

BOOL ValidateRgn(HWND hwnd, HRGN rgn) { return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN); }

BOOL GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  if (rc) *rc = w->update.empty() ? RECT{0, 0, 0, 0} : w->update.bounds();
  if (erase && w->erase && !w->update.empty()) {
    HDC hdc = user::MakeDC(w, false, nullptr);
    w->erase = false;
    SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseDC(hwnd, hdc);
  }
  return !w->update.empty();
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL) {
  Window* w = user::Find(hwnd);
  auto* r = gdi::Get<gdi::RegionObject>(rgn);
  if (!w || !r) return ERROR;
  r->region = w->update;
  return r->region.complexity();
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = user::Find(hwnd);
  if (!w || !ps) return nullptr;
  if (w->frame_dirty) {
    w->frame_dirty = false;
    SendMessage(hwnd, WM_NCPAINT, 1, 0);
    if (!IsWindow(hwnd)) return nullptr;
  }
  gdi::Region area = w->update;
  const bool erase = w->erase;
  w->update.SetEmpty();
  w->erase = false;
  w->internal_paint = false;
  gdi::Region limit = area;
  const POINT o = user::ClientScreenOrigin(w);
  limit.Offset(o.x, o.y);
  HDC hdc = user::MakeDC(w, false, &limit);
  *ps = PAINTSTRUCT{};
  ps->hdc = hdc;
  ps->rcPaint = area.empty() ? RECT{0, 0, 0, 0} : area.bounds();
  ps->fErase = TRUE;
  if (erase) ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
  w->painting = true;
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  if (Window* w = user::Find(hwnd)) w->painting = false;
  ReleaseDC(hwnd, ps->hdc);
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  if (w->visible() && (!w->update.empty() || w->frame_dirty || w->internal_paint))
    SendMessage(hwnd, WM_PAINT, 0, 0);
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children)
    if (IsWindow(c)) UpdateWindow(c);
  return TRUE;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

// Scroll bars: state, layout, painting, the mouse tracking loop, the SCROLLBAR control class
// and ScrollWindow. One layout function serves the painter, the hit test and the thumb drag,
// so what is drawn is what is clicked.
#include "platform/user/scrollbar.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/user/queue.h"

namespace user {
namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFF5;  // the tracking loop's own timer on the window
constexpr UINT kFirstRepeat = 400;         // the keyboard delay before a held button repeats
constexpr UINT kNextRepeat = 50;
constexpr int kMinThumb = 8;

bool IsStandard(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

ScrollBars* Data(Window* w, bool create) {
  if (!w->scroll && create) w->scroll = std::make_shared<ScrollBars>();
  return w->scroll.get();
}

// The last position the thumb can reach: a full page must still fit.
int MaxPos(const ScrollInfo& s) {
  const int64_t page = s.page > 0 ? static_cast<int64_t>(s.page) - 1 : 0;
  return static_cast<int>(std::max<int64_t>(s.min, static_cast<int64_t>(s.max) - page));
}

// Whether the range leaves anything to scroll.
bool Scrollable(const ScrollInfo& s) {
  const int64_t page = s.page > 0 ? static_cast<int64_t>(s.page) - 1 : 0;
  return s.min < static_cast<int64_t>(s.max) - page;
}

bool Vertical(const Window* w, int bar) {
  return bar == SB_VERT || (bar == SB_CTL && (w->style & SBS_VERT));
}

// The bar's rectangle in window coordinates (empty when the window shows no such bar).
RECT BarRect(const Window* w, int bar) {
  const RECT& c = w->client;
  RECT r{0, 0, 0, 0};
  if (bar == SB_CTL) return RECT{c.left, c.top, c.right, c.bottom};
  if (bar == SB_VERT && (w->style & WS_VSCROLL))
    r = RECT{c.right, c.top, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom};
  if (bar == SB_HORZ && (w->style & WS_HSCROLL))
    r = RECT{c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  r.right = std::min<LONG>(r.right, w->width());
  r.bottom = std::min<LONG>(r.bottom, w->height());
  if (r.right <= r.left || r.bottom <= r.top) return RECT{0, 0, 0, 0};
  return r;
}

RECT CornerRect(const Window* w) {
  if ((w->style & (WS_HSCROLL | WS_VSCROLL)) != (WS_HSCROLL | WS_VSCROLL)) return RECT{0, 0, 0, 0};
  const RECT& c = w->client;
  RECT r{c.right, c.bottom, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  r.right = std::min<LONG>(r.right, w->width());
  r.bottom = std::min<LONG>(r.bottom, w->height());
  if (r.right <= r.left || r.bottom <= r.top) return RECT{0, 0, 0, 0};
  return r;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool BarEnabled(const Window* w, int bar) {
  if (bar == SB_CTL && !IsWindowEnabled(w->handle)) return false;
  return (w->scroll ? w->scroll->bar[bar].arrows : 0) != ESB_DISABLE_BOTH;
}

// Where the thumb is drawn: the tracked position while it is dragged.
int ShownPos(const Window* w, int bar) {
  const ScrollBars* s = w->scroll.get();
  if (!s) return 0;
  if (s->tracking_bar == bar && s->dragging) return s->track_pos;
  return s->bar[bar].pos;
}

ScrollInfo InfoOf(const Window* w, int bar) {
  if (w->scroll) return w->scroll->bar[bar];
  ScrollInfo s;
  if (bar == SB_CTL) s.max = 0;
  return s;
}

ScrollLayout LayoutOf(const Window* w, int bar, const RECT& r) {
  const int length = Vertical(w, bar) ? r.bottom - r.top : r.right - r.left;
  return LayoutScrollBar(InfoOf(w, bar), length, ShownPos(w, bar), BarEnabled(w, bar));
}

// The whole of one bar into a DC whose coordinates match r.
void PaintBar(Window* w, int bar, HDC hdc, const RECT& r, HBRUSH track) {
  if (Empty(r)) return;
  const bool vertical = Vertical(w, bar);
  const ScrollLayout l = LayoutOf(w, bar, r);
  const ScrollBars* s = w->scroll.get();
  const ScrollInfo info = InfoOf(w, bar);
  const bool enabled = BarEnabled(w, bar);
  const bool held = s && s->tracking_bar == bar && s->pressed_over;
  const ScrollPart pressed = held ? s->pressed : kPartNone;
  // Rectangle of a stretch [a, b) along the bar.
  auto span = [&](int a, int b) {
    return vertical ? RECT{r.left, r.top + a, r.right, r.top + b} : RECT{r.left + a, r.top, r.left + b, r.bottom};
  };
  auto arrow = [&](const RECT& rc, UINT type, ScrollPart part, UINT disable_bit) {
    if (Empty(rc)) return;
    UINT state = type;
    if (!enabled || (info.arrows & disable_bit)) state |= DFCS_INACTIVE;
    else if (pressed == part) state |= DFCS_PUSHED | DFCS_FLAT;
    RECT box = rc;
    DrawFrameControl(hdc, &box, DFC_SCROLL, state);
  };
  arrow(span(0, l.arrow), vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, kPartArrowUp, ESB_DISABLE_LTUP);
  arrow(span(l.length - l.arrow, l.length), vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, kPartArrowDown,
        ESB_DISABLE_RTDN);

  const int track_start = l.arrow, track_end = l.length - l.arrow;
  if (track_end <= track_start) return;
  const HGDIOBJ old = SelectObject(hdc, track);
  // The held page area shows the inverse of the track pattern.
  auto fill = [&](int a, int b, bool down) {
    if (b <= a) return;
    const RECT rc = span(a, b);
    PatBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, down ? 0x000F0001 : PATCOPY);
  };
  if (l.thumb_len > 0) {
    fill(track_start, l.thumb_pos, pressed == kPartPageUp);
    fill(l.thumb_pos + l.thumb_len, track_end, pressed == kPartPageDown);
    RECT thumb = span(l.thumb_pos, l.thumb_pos + l.thumb_len);
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  } else {
    fill(track_start, track_end, pressed == kPartPageDown);
  }
  SelectObject(hdc, old);
}

// The brush a scroll-bar control's track is painted with: its parent may choose.
HBRUSH ControlTrackBrush(Window* w, HDC hdc) {
  HBRUSH brush = nullptr;
  if (w->parent)
    brush = reinterpret_cast<HBRUSH>(SendMessage(w->parent->handle, WM_CTLCOLORSCROLLBAR,
                                                 reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(w->handle)));
  return brush ? brush : ScrollTrackBrush(hdc);
}

void PaintControl(Window* w, HDC hdc) {
  const RECT r{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  PaintBar(w, SB_CTL, hdc, r, ControlTrackBrush(w, hdc));
}

// Shows a change at once, as Win32 does when asked to redraw.
void RedrawBar(Window* w, int bar) {
  if (!ReallyVisible(w)) return;
  if (bar == SB_CTL) {
    HDC dc = GetDC(w->handle);
    PaintControl(w, dc);
    ReleaseDC(w->handle, dc);
    return;
  }
  const RECT r = BarRect(w, bar);
  if (Empty(r)) return;
  HDC dc = GetWindowDC(w->handle);
  PaintBar(w, bar, dc, r, ScrollTrackBrush(dc));
  ReleaseDC(w->handle, dc);
}

// Looks up the window and checks that `bar` names one it can have.
Window* BarWindow(HWND hwnd, int bar) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (bar == SB_CTL ? !(w->scroll && w->scroll->control) : !IsStandard(bar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return w;
}

// A window has standard bar data once it was given a bar style or had a bar set.
bool HasBar(const Window* w, int bar) {
  if (bar == SB_CTL) return true;
  return w->scroll || (w->style & (WS_HSCROLL | WS_VSCROLL));
}

void SetBarsVisible(Window* w, DWORD bits, bool show) {
  const DWORD style = show ? (w->style | bits) : (w->style & ~bits);
  if (style == w->style) return;
  Data(w, true);
  const RECT before = w->client;
  w->style = style;
  const HWND hwnd = w->handle;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!IsWindow(hwnd)) return;
  const RECT& after = w->client;
  if (after.right - after.left != before.right - before.left || after.bottom - after.top != before.bottom - before.top)
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(after.right - after.left, after.bottom - after.top));
}

// The heart of SetScrollInfo: stores, clamps, shows, hides or disables.
int Apply(Window* w, int bar, const SCROLLINFO& in, bool redraw) {
  ScrollBars* d = Data(w, true);
  ScrollInfo& s = d->bar[bar];
  const ScrollInfo before = s;
  if (in.fMask & SIF_PAGE) s.page = in.nPage;
  if (in.fMask & SIF_RANGE) {
    // A reversed or too wide range is refused; the rest of the request still applies.
    if (in.nMin <= in.nMax && static_cast<int64_t>(in.nMax) - in.nMin <= INT_MAX) {
      s.min = in.nMin;
      s.max = in.nMax;
    }
  }
  const int64_t span = static_cast<int64_t>(s.max) - s.min + 1;
  if (static_cast<int64_t>(s.page) > span) s.page = static_cast<UINT>(span);
  if (in.fMask & SIF_POS) s.pos = in.nPos;
  s.pos = std::clamp(s.pos, s.min, MaxPos(s));

  if (in.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
    const DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!Scrollable(s)) {
      if (in.fMask & SIF_DISABLENOSCROLL) {
        s.arrows = ESB_DISABLE_BOTH;
      } else if (IsStandard(bar) && (in.fMask & (SIF_RANGE | SIF_PAGE))) {
        SetBarsVisible(w, bit, false);
        return s.pos;
      }
    } else if ((in.fMask & ~SIF_DISABLENOSCROLL) != SIF_PAGE) {
      // A page change alone leaves the bar as it was.
      s.arrows = ESB_ENABLE_BOTH;
      if (IsStandard(bar) && !(w->style & bit)) {
        SetBarsVisible(w, bit, true);
        return s.pos;
      }
    }
  }
  const bool changed = before.min != s.min || before.max != s.max || before.page != s.page || before.pos != s.pos ||
                       before.arrows != s.arrows;
  if (redraw && changed) RedrawBar(w, bar);
  return s.pos;
}

void Notify(Window* w, int bar, WORD code, int pos) {
  const UINT msg = Vertical(w, bar) ? WM_VSCROLL : WM_HSCROLL;
  const WPARAM wp = MAKEWPARAM(code, static_cast<WORD>(pos));
  if (bar == SB_CTL) {
    if (w->parent) SendMessage(w->parent->handle, msg, wp, reinterpret_cast<LPARAM>(w->handle));
    return;
  }
  SendMessage(w->handle, msg, wp, 0);
}

WORD CodeFor(ScrollPart part) {
  switch (part) {
    case kPartArrowUp: return SB_LINEUP;
    case kPartArrowDown: return SB_LINEDOWN;
    case kPartPageUp: return SB_PAGEUP;
    default: return SB_PAGEDOWN;
  }
}

// The bar's rectangle on the screen.
RECT ScreenBarRect(const Window* w, int bar) {
  RECT r = BarRect(w, bar);
  const POINT o = ScreenOrigin(w);
  OffsetRect(&r, o.x, o.y);
  return r;
}

ScrollPart PartAtScreen(const Window* w, int bar, POINT pt) {
  const RECT r = ScreenBarRect(w, bar);
  if (Empty(r) || pt.x < r.left || pt.x >= r.right || pt.y < r.top || pt.y >= r.bottom) return kPartNone;
  const ScrollLayout l = LayoutOf(w, bar, r);
  return ScrollPartAt(l, Vertical(w, bar) ? pt.y - r.top : pt.x - r.left);
}

// Where the dragged thumb puts the position: the pointer may wander off the bar a little
// sideways; further out the thumb goes back to where it started.
int DragPos(const Window* w, int bar, POINT pt, int grab, int start_pos) {
  const RECT r = ScreenBarRect(w, bar);
  const bool vertical = Vertical(w, bar);
  const int thickness = vertical ? r.right - r.left : r.bottom - r.top;
  RECT band = r;
  if (vertical) InflateRect(&band, 8 * thickness, 2 * thickness);
  else InflateRect(&band, 2 * thickness, 8 * thickness);
  if (pt.x < band.left || pt.x >= band.right || pt.y < band.top || pt.y >= band.bottom) return start_pos;
  const ScrollInfo s = InfoOf(w, bar);
  const ScrollLayout l = LayoutOf(w, bar, r);
  const int room = l.length - 2 * l.arrow - l.thumb_len;
  if (room <= 0) return s.min;
  const int offset = (vertical ? pt.y - r.top : pt.x - r.left) - grab - l.arrow;
  const int pos = s.min + MulDiv(std::clamp(offset, 0, room), MaxPos(s) - s.min, room);
  return std::clamp(pos, s.min, MaxPos(s));
}

}  // namespace

ScrollLayout LayoutScrollBar(const ScrollInfo& info, int length, int pos, bool enabled) {
  ScrollLayout l;
  l.length = std::max(0, length);
  const int arrow = GetSystemMetrics(SM_CYVSCROLL);
  // Too short for both arrows and a thumb: the arrows share the length and there is no thumb.
  if (l.length < 2 * arrow + kMinThumb) {
    l.arrow = std::min(arrow, l.length / 2);
    return l;
  }
  l.arrow = arrow;
  const int track = l.length - 2 * arrow;
  if (!enabled || !Scrollable(info)) return l;
  int thumb = GetSystemMetrics(SM_CYVTHUMB);
  if (info.page > 0) {
    const int64_t span = static_cast<int64_t>(info.max) - info.min + 1;
    thumb = static_cast<int>(static_cast<int64_t>(track) * info.page / span);
    thumb = std::max(thumb, kMinThumb);
  }
  if (thumb > track) return l;
  const int last = MaxPos(info);
  const int at = std::clamp(pos, info.min, last);
  l.thumb_len = thumb;
  l.thumb_pos = arrow + (last > info.min ? MulDiv(track - thumb, at - info.min, last - info.min) : 0);
  return l;
}

ScrollPart ScrollPartAt(const ScrollLayout& l, int offset) {
  if (offset < 0 || offset >= l.length) return kPartNone;
  if (offset < l.arrow) return kPartArrowUp;
  if (offset >= l.length - l.arrow) return kPartArrowDown;
  if (l.thumb_len == 0) return kPartPageDown;
  if (offset < l.thumb_pos) return kPartPageUp;
  if (offset < l.thumb_pos + l.thumb_len) return kPartThumb;
  return kPartPageDown;
}

HBRUSH ScrollTrackBrush(HDC hdc) {
  // A checkerboard in the DC's text and background colours, so one brush follows the
  // colour scheme.
  static HBRUSH brush = [] {
    static const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH b = CreatePatternBrush(bits);
    DeleteObject(bits);
    return b;
  }();
  if (hdc) {
    SetTextColor(hdc, GetSysColor(COLOR_3DFACE));
    SetBkColor(hdc, GetSysColor(COLOR_3DHILIGHT));
  }
  return brush;
}

void SubtractScrollBars(DWORD style, RECT& r) {
  if ((style & WS_VSCROLL) && r.right - r.left >= GetSystemMetrics(SM_CXVSCROLL))
    r.right -= GetSystemMetrics(SM_CXVSCROLL);
  if ((style & WS_HSCROLL) && r.bottom - r.top >= GetSystemMetrics(SM_CYHSCROLL))
    r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
}

LRESULT ScrollBarHitTest(const Window* w, POINT pt) {
  if (!(w->style & (WS_HSCROLL | WS_VSCROLL))) return 0;
  const POINT o = ScreenOrigin(w);
  const POINT p{pt.x - o.x, pt.y - o.y};
  auto in = [&p](const RECT& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; };
  if (in(BarRect(w, SB_VERT))) return HTVSCROLL;
  if (in(BarRect(w, SB_HORZ))) return HTHSCROLL;
  if (in(CornerRect(w))) return HTSIZE;
  return 0;
}

void PaintScrollBars(Window* w, HDC hdc) {
  if (!(w->style & (WS_HSCROLL | WS_VSCROLL))) return;
  HBRUSH track = ScrollTrackBrush(hdc);
  PaintBar(w, SB_HORZ, hdc, BarRect(w, SB_HORZ), track);
  PaintBar(w, SB_VERT, hdc, BarRect(w, SB_VERT), track);
  const RECT corner = CornerRect(w);
  if (!Empty(corner)) FillRect(hdc, &corner, GetSysColorBrush(COLOR_3DFACE));
}

void TrackScrollBar(Window* w, int bar, POINT pt) {
  const HWND hwnd = w->handle;
  const ScrollPart part = PartAtScreen(w, bar, pt);
  if (part == kPartNone || !BarEnabled(w, bar)) return;
  ScrollBars* d = Data(w, true);
  const UINT arrows = d->bar[bar].arrows;
  if ((part == kPartArrowUp && (arrows & ESB_DISABLE_LTUP)) || (part == kPartArrowDown && (arrows & ESB_DISABLE_RTDN)))
    return;
  if (d->tracking_bar >= 0) return;  // a nested press while one is held

  const RECT r = ScreenBarRect(w, bar);
  const bool vertical = Vertical(w, bar);
  const ScrollLayout l = LayoutOf(w, bar, r);
  const int grab = (vertical ? pt.y - r.top : pt.x - r.left) - l.thumb_pos;
  const int start_pos = d->bar[bar].pos;
  d->tracking_bar = bar;
  d->pressed = part;
  d->pressed_over = true;
  d->dragging = part == kPartThumb;
  d->track_pos = start_pos;
  SetCapture(hwnd);
  RedrawBar(w, bar);
  if (part != kPartThumb) {
    Notify(w, bar, CodeFor(part), 0);
    if (IsWindow(hwnd)) SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
  }

  MSG msg;
  while (IsWindow(hwnd) && GetCapture() == hwnd && GetMessage(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_LBUTTONUP || !(GetKeyState(VK_LBUTTON) & 0x8000)) break;
    if (msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == kRepeatTimer) {
      // Repeats only while the pointer is on the part pressed: a page click stops when the
      // thumb reaches the pointer.
      POINT now;
      GetCursorPos(&now);
      if (PartAtScreen(w, bar, now) == part) Notify(w, bar, CodeFor(part), 0);
      if (IsWindow(hwnd)) SetTimer(hwnd, kRepeatTimer, kNextRepeat, nullptr);
      continue;
    }
    if (msg.message != WM_MOUSEMOVE) {
      DispatchMessage(&msg);
      continue;
    }
    POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ClientToScreen(hwnd, &at);
    if (part == kPartThumb) {
      const int pos = DragPos(w, bar, at, grab, start_pos);
      if (pos != d->track_pos) {
        d->track_pos = pos;
        RedrawBar(w, bar);
        Notify(w, bar, SB_THUMBTRACK, pos);
      }
    } else {
      const bool over = PartAtScreen(w, bar, at) == part;
      if (over != d->pressed_over) {
        d->pressed_over = over;
        RedrawBar(w, bar);
      }
    }
  }
  if (!IsWindow(hwnd)) return;
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (part == kPartThumb) Notify(w, bar, SB_THUMBPOSITION, d->track_pos);
  if (!IsWindow(hwnd)) return;
  d->tracking_bar = -1;
  d->pressed = kPartNone;
  d->pressed_over = false;
  d->dragging = false;
  RedrawBar(w, bar);
  Notify(w, bar, SB_ENDSCROLL, 0);
}

}  // namespace user

// ---------------------------------------------------------------------------------------
// The SCROLLBAR control class

namespace {

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  user::Window* w = user::Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      user::ScrollBars* d = user::Data(w, true);
      d->control = true;
      d->bar[SB_CTL] = user::ScrollInfo{0, 0, 0, 0, ESB_ENABLE_BOTH};
      return TRUE;
    }
    case WM_ERASEBKGND: return 1;  // the bar covers its whole client area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) {
        user::PaintControl(w, dc);
        EndPaint(hwnd, &ps);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (w->style & WS_TABSTOP) SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd, &pt);
      user::TrackScrollBar(w, SB_CTL, pt);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const bool vertical = w->style & SBS_VERT;
      int code = -1;
      switch (static_cast<int>(wp)) {
        case VK_UP: code = vertical ? SB_LINEUP : -1; break;
        case VK_DOWN: code = vertical ? SB_LINEDOWN : -1; break;
        case VK_LEFT: code = vertical ? -1 : SB_LINELEFT; break;
        case VK_RIGHT: code = vertical ? -1 : SB_LINERIGHT; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: break;
      }
      if (code < 0 || !user::BarEnabled(w, SB_CTL)) return DefWindowProc(hwnd, msg, wp, lp);
      // Each key press scrolls; letting go of the key ends the gesture.
      user::Notify(w, SB_CTL, msg == WM_KEYDOWN ? static_cast<WORD>(code) : SB_ENDSCROLL, 0);
      return 0;
    }
    case WM_ENABLE:
      user::RedrawBar(w, SB_CTL);
      return 0;
    default: return DefWindowProc(hwnd, msg, wp, lp);
  }
}

// A system class: present before any program code runs.
[[maybe_unused]] const bool kScrollBarClass = [] {
  WNDCLASSEX wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ScrollBarProc;
  wc.lpszClassName = "SCROLLBAR";
  return RegisterClassEx(&wc) != 0;
}();

}  // namespace

// ---------------------------------------------------------------------------------------
// The calls

using user::Window;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  Window* w = user::BarWindow(hwnd, bar);
  if (!w) return 0;
  if (!info || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int)) ||
      (info->fMask & ~(SIF_ALL | SIF_DISABLENOSCROLL))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return user::Apply(w, bar, *info, redraw != FALSE);
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  Window* w = user::BarWindow(hwnd, bar);
  if (!w) return FALSE;
  if (!info || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int)) ||
      !(info->fMask & SIF_ALL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!user::HasBar(w, bar)) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return FALSE;
  }
  const user::ScrollInfo s = user::InfoOf(w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s.page;
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) {
    const bool tracking = w->scroll && w->scroll->tracking_bar == bar && w->scroll->dragging;
    info->nTrackPos = tracking ? w->scroll->track_pos : s.pos;
  }
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  Window* w = user::BarWindow(hwnd, bar);
  if (!w) return 0;
  const int old = user::InfoOf(w, bar).pos;
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
  user::Apply(w, bar, si, redraw != FALSE);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  Window* w = user::BarWindow(hwnd, bar);
  if (!w) return 0;
  if (!user::HasBar(w, bar)) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return 0;
  }
  return user::InfoOf(w, bar).pos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
  Window* w = user::BarWindow(hwnd, bar);
  if (!w) return FALSE;
  if (min > max || static_cast<int64_t>(max) - min > INT_MAX) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  SCROLLINFO si{sizeof si, SIF_RANGE, min, max, 0, 0, 0};
  user::Apply(w, bar, si, redraw != FALSE);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT min, LPINT max) {
  Window* w = user::BarWindow(hwnd, bar);
  if (!w || !min || !max) {
    if (w) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A window without bars reports an empty range.
  const user::ScrollInfo s = user::HasBar(w, bar) ? user::InfoOf(w, bar) : user::ScrollInfo{0, 0, 0, 0, 0};
  *min = s.min;
  *max = s.max;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  if (bar == SB_CTL) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  const DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : bar == SB_BOTH ? WS_HSCROLL | WS_VSCROLL : 0;
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  user::SetBarsVisible(w, bits, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  if (arrows & ~ESB_DISABLE_BOTH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<int> bars;
  if (bar == static_cast<UINT>(SB_BOTH)) bars = {SB_HORZ, SB_VERT};
  else bars = {static_cast<int>(bar)};
  bool changed = false;
  for (int b : bars) {
    if (!user::BarWindow(hwnd, b)) return FALSE;
    user::ScrollInfo& s = user::Data(w, true)->bar[b];
    if (s.arrows == arrows) continue;
    s.arrows = arrows;
    changed = true;
    user::RedrawBar(w, b);
  }
  return changed ? TRUE : FALSE;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  Window* w = user::Find(hwnd);
  if (!w) return FALSE;
  const RECT client{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  const gdi::Region src = scroll ? gdi::Region(*scroll).Intersected(client) : gdi::Region(client);
  const RECT clip_rect = clip ? gdi::Region(*clip).Intersected(client).bounds() : client;
  const gdi::Region clipped(clip_rect);

  // The caret moves with the pixels under it.
  const BOOL caret_hidden = HideCaret(hwnd);
  POINT caret{0, 0};
  if (caret_hidden && GetCaretPos(&caret) && (!scroll || src.Contains(caret.x, caret.y)))
    SetCaretPos(caret.x + dx, caret.y + dy);

  // Pixels move only from and to what of the window shows; the rest is painted afresh.
  gdi::Region moved;
  if (user::ReallyVisible(w) && (dx || dy)) {
    const POINT o = user::ClientScreenOrigin(w);
    gdi::Region vis = user::VisibleRegion(w, true);
    vis.Offset(-o.x, -o.y);
    gdi::Region from = gdi::Region::Combine(vis, src, RGN_AND);
    moved = from;
    moved.Offset(dx, dy);
    moved = gdi::Region::Combine(gdi::Region::Combine(moved, vis, RGN_AND), clipped, RGN_AND);
    if (!moved.empty()) {
      const gdi::Surface& s = gdi::ScreenSurface();
      const RECT box = from.bounds();
      const int bw = box.right - box.left, bh = box.bottom - box.top;
      std::vector<gdi::Pixel> copy(static_cast<size_t>(bw) * bh);
      for (int y = 0; y < bh; ++y)
        std::copy_n(s.Row(o.y + box.top + y) + o.x + box.left, bw, copy.data() + static_cast<size_t>(y) * bw);
      for (const RECT& r : moved.rects())
        for (int y = r.top; y < r.bottom; ++y) {
          const gdi::Pixel* from_row = copy.data() + static_cast<size_t>(y - dy - box.top) * bw + (r.left - dx - box.left);
          std::copy_n(from_row, r.right - r.left, s.Row(o.y + y) + o.x + r.left);
        }
      RECT dirty = moved.bounds();
      OffsetRect(&dirty, o.x, o.y);
      user::MarkDirty(dirty);
    }
  }

  // Without a scroll rectangle the pending update area travels with the pixels.
  if (!scroll && !w->update.empty()) {
    gdi::Region inside = gdi::Region::Combine(w->update, clipped, RGN_AND);
    gdi::Region outside = gdi::Region::Combine(w->update, clipped, RGN_DIFF);
    inside.Offset(dx, dy);
    w->update = gdi::Region::Combine(outside, gdi::Region::Combine(inside, clipped, RGN_AND), RGN_OR);
  }
  gdi::Region shifted = src;
  shifted.Offset(dx, dy);
  gdi::Region changed = gdi::Region::Combine(gdi::Region::Combine(src, shifted, RGN_OR), clipped, RGN_AND);
  const gdi::Region uncovered = gdi::Region::Combine(changed, moved, RGN_DIFF);
  if (w->visible() && !uncovered.empty()) {
    w->update = gdi::Region::Combine(w->update, uncovered, RGN_OR);
    w->erase = true;
  }

  // Children: moved along when the whole client area scrolls, repainted where the blit
  // went over them otherwise.
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND ch : children) {
    Window* c = user::Find(ch);
    if (!c) continue;
    if (!scroll) {
      SetWindowPos(ch, nullptr, c->rect.left + dx, c->rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (changed.Intersects(c->rect)) {
      RedrawWindow(ch, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }
  if (caret_hidden) ShowCaret(hwnd);
  return TRUE;
}

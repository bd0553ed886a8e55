// DefWindowProc: what a window does when its own procedure does not answer a message:
// the classic non-client frame, text, erasing, closing, system commands, moving and sizing.
#include <algorithm>
#include <cstring>

#include "platform/user/nonclient.h"
#include "platform/user/queue.h"
#include "platform/user/scrollbar.h"

namespace user {
namespace {

Frame FrameOf(const Window* w) {
  return Frame{w->style, w->ex_style, false, w->nc_active, (w->style & WS_MAXIMIZE) != 0,
               (w->style & WS_MINIMIZE) != 0};
}

RECT ScreenRectOf(const Window* w) {
  const POINT o = ScreenOrigin(w);
  return RECT{o.x, o.y, o.x + w->width(), o.y + w->height()};
}

void PaintNonClient(Window* w) {
  if (!ReallyVisible(w)) return;
  HDC dc = GetWindowDC(w->handle);
  PaintFrame(dc, FrameOf(w), w->width(), w->height(), w->text.c_str(), static_cast<ButtonPressed>(w->pressed_button));
  PaintScrollBars(w, dc);
  ReleaseDC(w->handle, dc);
}

int ButtonFor(LRESULT hit) {
  switch (hit) {
    case HTCLOSE: return kClosePressed;
    case HTMAXBUTTON: return kMaxPressed;
    case HTMINBUTTON: return kMinPressed;
    case HTHELP: return kHelpPressed;
    default: return kNoButton;
  }
}

// Runs a small modal loop while the left button is down: moving or sizing the window by the
// frame part that was hit, or tracking a caption button (pressed while the pointer is on it).
void TrackFrame(Window* w, LRESULT hit, POINT start) {
  const HWND hwnd = w->handle;
  const RECT origin = w->rect;
  const int button = ButtonFor(hit);
  MINMAXINFO mmi{};
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  if (hit != HTCAPTION && !button) SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  if (button) {
    w->pressed_button = button;
    PaintNonClient(w);
  } else {
    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  }
  SetCapture(hwnd);
  MSG msg;
  bool inside = true;
  while (IsWindow(hwnd) && GetCapture() == hwnd && GetMessage(&msg, nullptr, 0, 0)) {
    // The button may come up outside any window of ours: then the drag is over.
    if (msg.message == WM_NCLBUTTONUP || !(GetKeyState(VK_LBUTTON) & 0x8000)) {
      if (msg.message != WM_LBUTTONUP) break;
    }
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP) {
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && !button) {
        SetWindowPos(hwnd, nullptr, origin.left, origin.top, origin.right - origin.left, origin.bottom - origin.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      }
      DispatchMessage(&msg);
      continue;
    }
    POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ClientToScreen(hwnd, &pt);
    if (msg.message == WM_LBUTTONUP) {
      if (button && inside) {
        w->pressed_button = kNoButton;
        PaintNonClient(w);
        const WPARAM cmd = hit == HTCLOSE ? SC_CLOSE
                           : hit == HTMINBUTTON ? SC_MINIMIZE
                           : hit == HTHELP ? SC_CONTEXTHELP
                           : (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
        ReleaseCapture();
        SendMessage(hwnd, WM_SYSCOMMAND, cmd, MAKELPARAM(pt.x, pt.y));
        return;
      }
      break;
    }
    const int dx = pt.x - start.x, dy = pt.y - start.y;
    if (button) {
      const bool now = FrameHitTest(FrameOf(w), ScreenRectOf(w), pt) == hit;
      if (now != inside) {
        inside = now;
        w->pressed_button = inside ? button : kNoButton;
        PaintNonClient(w);
      }
      continue;
    }
    RECT r = origin;
    if (hit == HTCAPTION) {
      OffsetRect(&r, dx, dy);
    } else {
      if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) r.left += dx;
      if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) r.right += dx;
      if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) r.top += dy;
      if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) r.bottom += dy;
      // Keep the size within the window's limits, holding the edge opposite the one dragged.
      const int width = std::clamp<int>(r.right - r.left, mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x);
      const int height = std::clamp<int>(r.bottom - r.top, mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y);
      if (r.left != origin.left) r.left = r.right - width;
      else r.right = r.left + width;
      if (r.top != origin.top) r.top = r.bottom - height;
      else r.bottom = r.top + height;
    }
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (IsWindow(hwnd)) {
    if (GetCapture() == hwnd) ReleaseCapture();
    if (button) {
      w->pressed_button = kNoButton;
      PaintNonClient(w);
    } else {
      SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
    }
  }
}

HCURSOR CursorForHit(LRESULT hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursor(nullptr, IDC_SIZENESW);
    default: return LoadCursor(nullptr, IDC_ARROW);
  }
}

}  // namespace
}  // namespace user

using user::Window;

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = user::Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<RECT*>(lp);
      if (r) {
        *r = user::FrameClientRect(user::FrameOf(w), *r);
        user::SubtractScrollBars(w->style, *r);
      }
      return 0;
    }
    case WM_NCHITTEST:
      if (const LRESULT bar = user::ScrollBarHitTest(w, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return bar;
      return user::FrameHitTest(user::FrameOf(w), user::ScreenRectOf(w), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_NCPAINT: user::PaintNonClient(w); return 0;
    case WM_NCACTIVATE:
      w->nc_active = wp != 0;
      user::PaintNonClient(w);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = w->cls->background;
      if (!brush) return 0;
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, brush);
      return 1;
    }
    case WM_SETTEXT: {
      w->text = lp ? reinterpret_cast<const char*>(lp) : "";
      if ((w->style & WS_CAPTION) == WS_CAPTION) user::PaintNonClient(w);
      return TRUE;
    }
    case WM_GETTEXT: {
      if (wp == 0 || !lp) return 0;
      const size_t n = std::min(w->text.size(), static_cast<size_t>(wp - 1));
      std::memcpy(reinterpret_cast<char*>(lp), w->text.data(), n);
      reinterpret_cast<char*>(lp)[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND:
      switch (wp & 0xFFF0) {
        case SC_CLOSE:
          if (!(w->cls->style & CS_NOCLOSE)) SendMessage(hwnd, WM_CLOSE, 0, 0);
          return 0;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_SHOWMAXIMIZED); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        default: return 0;
      }
    case WM_SYSKEYDOWN:
      if (wp == VK_F4 && (lp & (1 << 29))) {
        Window* top = w;
        while (top->parent) top = top->parent;
        PostMessage(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_NCLBUTTONDOWN: {
      const LRESULT hit = static_cast<LRESULT>(wp);
      if (hit == HTHSCROLL || hit == HTVSCROLL) {
        user::TrackScrollBar(w, hit == HTVSCROLL ? SB_VERT : SB_HORZ, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
      }
      const bool sizable = (w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE));
      const bool sizing = hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
      if (hit == HTCAPTION && (w->style & WS_MAXIMIZE)) return 0;
      if (hit == HTCAPTION || (sizing && sizable) || user::ButtonFor(hit))
        user::TrackFrame(w, hit, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      // A second click on a bar is just another press.
      if (wp == HTHSCROLL || wp == HTVSCROLL) return DefWindowProc(hwnd, WM_NCLBUTTONDOWN, wp, lp);
      if (wp == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
        SendMessage(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lp);
      return 0;
    case WM_SETCURSOR: {
      // A child asks its parent first: the parent may set the cursor for its children.
      if (w->child() && w->parent && SendMessage(w->parent->handle, WM_SETCURSOR, wp, lp)) return TRUE;
      const LRESULT hit = static_cast<SHORT>(LOWORD(lp));
      if (hit == HTCLIENT && w->cls->cursor) {
        SetCursor(w->cls->cursor);
        return TRUE;
      }
      if (hit == HTCLIENT) return FALSE;
      SetCursor(user::CursorForHit(hit));
      return TRUE;
    }
    case WM_MOUSEACTIVATE:
      if (w->child() && w->parent) {
        const LRESULT r = SendMessage(w->parent->handle, WM_MOUSEACTIVATE, wp, lp);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (pos && !(pos->flags & SWP_NOMOVE))
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
      if (pos && !(pos->flags & SWP_NOSIZE) && IsWindow(hwnd)) {
        const WPARAM type = (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                                                                   : SIZE_RESTORED;
        SendMessage(hwnd, WM_SIZE, type,
                    MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
      }
      return 0;
    }
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR: return reinterpret_cast<LRESULT>(user::ScrollTrackBrush(reinterpret_cast<HDC>(wp)));
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
      const bool window_colours = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(window_colours ? COLOR_WINDOW : COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(window_colours ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    default: return 0;
  }
}

// The non-client frame: rings, caption, menu bar strip and client edge. One description of
// the rings serves the painter, the client-rect answer and the hit test, so they cannot
// drift apart.
#include "platform/user/nonclient.h"

#include <algorithm>

namespace user {
namespace {

constexpr RECT kEmpty = {0, 0, 0, 0};

// One ring of the frame, outermost first: a DrawEdge border or a solid line of a system colour.
struct Ring {
  int width;
  UINT edge;  // 0 for a solid ring
  int color;  // system colour of a solid ring
};

struct Rings {
  Ring ring[3];
  int count = 0;
  int total = 0;
  void Add(int width, UINT edge, int color) {
    ring[count++] = {width, edge, color};
    total += width;
  }
};

bool HasCaption(const Frame& f) { return (f.style & WS_CAPTION) == WS_CAPTION; }
bool IsTool(const Frame& f) { return (f.ex_style & WS_EX_TOOLWINDOW) != 0; }

Rings FrameRings(const Frame& f) {
  Rings r;
  const DWORD ex = f.ex_style;
  // A static edge wins over the raised one unless the window is a modal dialog.
  if ((ex & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
    r.Add(GetSystemMetrics(SM_CXBORDER), BDR_SUNKENOUTER, 0);
  else if ((ex & WS_EX_DLGMODALFRAME) || (f.style & (WS_THICKFRAME | WS_DLGFRAME)))
    r.Add(GetSystemMetrics(SM_CXEDGE), EDGE_RAISED, 0);
  if (f.style & WS_THICKFRAME)
    r.Add(GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME), 0,
          f.active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
  if ((f.style & (WS_BORDER | WS_DLGFRAME)) || (ex & WS_EX_DLGMODALFRAME)) {
    // The last ring is face-coloured inside a 3-D frame and black around a flat one.
    int color = COLOR_WINDOWFRAME;
    if (ex & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE))
      color = COLOR_3DFACE;
    else if (ex & WS_EX_STATICEDGE)
      color = COLOR_WINDOWFRAME;
    else if (f.style & (WS_DLGFRAME | WS_THICKFRAME))
      color = COLOR_3DFACE;
    r.Add(GetSystemMetrics(SM_CXBORDER), 0, color);
  }
  return r;
}

// Caption height including the line under the bar.
int CaptionHeight(const Frame& f) {
  if (!HasCaption(f)) return 0;
  return GetSystemMetrics(IsTool(f) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int MenuHeight(const Frame& f) { return f.has_menu ? GetSystemMetrics(SM_CYMENU) : 0; }

RECT Deflate(RECT r, int d) {
  r.left += d;
  r.top += d;
  r.right -= d;
  r.bottom -= d;
  return r;
}

RECT Offset(RECT r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
  return r;
}

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// 16x16 generic application glyph: a white window with a title strip and a shadow.
constexpr const char* kAppIcon[16] = {
    "................",
    "................",
    "kkkkkkkkkkkkkkk.",
    "kbbbbbbbbbbkwkkg",
    "kbbbbbbbbbbkkkkg",
    "kkkkkkkkkkkkkkkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kkkkkkkkkkkkkkkg",
    ".ggggggggggggggg",
    "................",
};

void PaintAppIcon(HDC hdc, int x0, int y0) {
  struct Ink {
    char key;
    COLORREF color;
  };
  constexpr Ink kInks[] = {
      {'k', RGB(0, 0, 0)}, {'w', RGB(255, 255, 255)}, {'b', RGB(0, 0, 128)}, {'g', RGB(128, 128, 128)}};
  for (const Ink& ink : kInks) {
    HBRUSH brush = CreateSolidBrush(ink.color);
    for (int y = 0; y < 16; ++y) {
      const char* row = kAppIcon[y];
      for (int x = 0; x < 16;) {
        if (row[x] != ink.key) {
          ++x;
          continue;
        }
        int end = x;
        while (end < 16 && row[end] == ink.key) ++end;
        const RECT run = {x0 + x, y0 + y, x0 + end, y0 + y + 1};
        FillRect(hdc, &run, brush);
        x = end;
      }
    }
    DeleteObject(brush);
  }
}

void FillSys(HDC hdc, RECT r, int color) {
  if (r.right > r.left && r.bottom > r.top) FillRect(hdc, &r, GetSysColorBrush(color));
}

void Button(HDC hdc, RECT r, UINT state) { DrawFrameControl(hdc, &r, DFC_CAPTION, state); }

void PaintCaptionText(HDC hdc, const Frame& f, RECT text, const char* caption) {
  if (!caption || !*caption || text.right <= text.left || text.bottom <= text.top) return;
  NONCLIENTMETRICS ncm = {};
  ncm.cbSize = sizeof(ncm);
  if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0)) return;
  HFONT font = CreateFontIndirect(IsTool(f) ? &ncm.lfSmCaptionFont : &ncm.lfCaptionFont);
  if (!font) return;
  HGDIOBJ old = SelectObject(hdc, font);
  SetTextColor(hdc, GetSysColor(f.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  SetBkMode(hdc, TRANSPARENT);
  DrawText(hdc, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(hdc, old);
  DeleteObject(font);
}

}  // namespace

RECT FrameClientRect(const Frame& f, const RECT& window) {
  RECT r = Deflate(window, FrameRings(f).total);
  r.top += CaptionHeight(f) + MenuHeight(f);
  if (f.ex_style & WS_EX_CLIENTEDGE) {
    r.left += GetSystemMetrics(SM_CXEDGE);
    r.right -= GetSystemMetrics(SM_CXEDGE);
    r.top += GetSystemMetrics(SM_CYEDGE);
    r.bottom -= GetSystemMetrics(SM_CYEDGE);
  }
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  return r;
}

CaptionButtons CaptionLayout(const Frame& f, int width, int height) {
  CaptionButtons b = {kEmpty, kEmpty, kEmpty, kEmpty, false, false, false, false, kEmpty, false, kEmpty, kEmpty};
  if (!HasCaption(f)) return b;
  const RECT in = Deflate({0, 0, width, height}, FrameRings(f).total);
  const int cap = CaptionHeight(f);
  b.bar = {in.left, in.top, in.right, in.top + cap - 1};
  b.text = b.bar;
  const bool sysmenu = (f.style & WS_SYSMENU) != 0;
  if (IsTool(f)) {
    // Tool windows use a fixed 11x11 close box whatever the small-size metrics say.
    constexpr int kBox = 11;
    if (sysmenu) {
      b.has_close = true;
      const int x = in.right - (cap + 1 + kBox) / 2;
      const int y = in.top + (cap - 1 - kBox) / 2;
      b.close = {x, y, x + kBox, y + kBox};
      b.text.right -= cap - 1;
    }
    b.text.left += 2;
  } else {
    const int cx = GetSystemMetrics(SM_CXSIZE);
    const int cy = GetSystemMetrics(SM_CYSIZE);
    if (sysmenu && !(f.ex_style & WS_EX_DLGMODALFRAME)) {
      b.has_icon = true;
      const int icon = GetSystemMetrics(SM_CXSMICON);
      const int y = in.top + (cap - GetSystemMetrics(SM_CYSMICON)) / 2;
      b.icon = {in.left + 2, y, in.left + 2 + icon, y + GetSystemMetrics(SM_CYSMICON)};
      b.text.left += icon + 2;
    }
    b.text.left += 2;
    if (sysmenu) {
      b.has_close = true;
      b.close = {in.right - cx, in.top + 2, in.right - 2, in.top + cy - 2};
      b.text.right -= cap - 1;
      // Either box style brings both buttons; they replace the help button.
      if (f.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
        b.has_max = b.has_min = true;
        b.maximize = Offset(b.close, -cx, 0);
        b.minimize = Offset(b.maximize, -(cx - 2), 0);
        b.text.right -= 2 * (cx + 1);
      } else if (f.ex_style & WS_EX_CONTEXTHELP) {
        b.has_help = true;
        b.help = Offset(b.close, -cx, 0);
        b.text.right -= cx + 1;
      }
    }
  }
  b.text.right = std::max(b.text.right, b.text.left);
  return b;
}

LRESULT FrameHitTest(const Frame& f, const RECT& window, POINT pt) {
  if (!Inside(window, pt)) return HTNOWHERE;
  if (Inside(FrameClientRect(f, window), pt)) return HTCLIENT;

  const int border = FrameRings(f).total;
  const RECT in = Deflate(window, border);
  if (!Inside(in, pt)) {
    if (!(f.style & WS_THICKFRAME) || f.maximized || f.minimized) return HTBORDER;
    // Corners reach a caption button's size along each side from the inside of the frame.
    const int cx = GetSystemMetrics(SM_CXSIZE);
    const int cy = GetSystemMetrics(SM_CYSIZE);
    const bool left = pt.x < in.left + cx, right = pt.x >= in.right - cx;
    const bool top = pt.y < in.top + cy, bottom = pt.y >= in.bottom - cy;
    if (pt.y < in.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (pt.y >= in.bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (pt.x < in.left) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }

  const int cap = CaptionHeight(f);
  if (cap > 0 && pt.y < in.top + cap - 1) {
    const CaptionButtons b = CaptionLayout(f, window.right - window.left, window.bottom - window.top);
    const int x = pt.x - window.left;
    // Each button owns the caption's full height from its left edge to the next button.
    if (b.has_close && x >= b.close.left) return HTCLOSE;
    if (b.has_max && x >= b.maximize.left) return HTMAXBUTTON;
    if (b.has_help && x >= b.help.left) return HTHELP;
    if (b.has_min && x >= b.minimize.left) return HTMINBUTTON;
    if (b.has_icon && x < b.icon.right) return HTSYSMENU;
    return HTCAPTION;
  }
  // The line under the caption belongs to the menu bar, as does everything above the client.
  const int menu = MenuHeight(f);
  if (menu > 0 && pt.y >= in.top + std::max(cap - 1, 0) && pt.y < in.top + cap + menu) return HTMENU;
  return HTNOWHERE;
}

void PaintFrame(HDC hdc, const Frame& f, int width, int height, const char* caption, ButtonPressed pressed) {
  if (!hdc || width <= 0 || height <= 0) return;
  const int saved = SaveDC(hdc);
  if (!saved) return;

  RECT r = {0, 0, width, height};
  const Rings rings = FrameRings(f);
  for (int i = 0; i < rings.count; ++i) {
    const Ring& ring = rings.ring[i];
    if (ring.edge) {
      DrawEdge(hdc, &r, ring.edge, BF_RECT | BF_ADJUST);
      continue;
    }
    HBRUSH brush = GetSysColorBrush(ring.color);
    for (int k = 0; k < ring.width; ++k) {
      FrameRect(hdc, &r, brush);
      r = Deflate(r, 1);
    }
  }

  if (HasCaption(f)) {
    const CaptionButtons b = CaptionLayout(f, width, height);
    // The line under the bar is black only when a lone static edge frames the window.
    const bool static_only = (f.ex_style & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME)) ==
                             WS_EX_STATICEDGE;
    FillSys(hdc, {b.bar.left, b.bar.bottom, b.bar.right, b.bar.bottom + 1},
            static_only ? COLOR_WINDOWFRAME : COLOR_3DFACE);
    FillSys(hdc, b.bar, f.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    if (b.has_icon) PaintAppIcon(hdc, b.icon.left, b.icon.top);
    const auto push = [pressed](ButtonPressed which) { return pressed == which ? DFCS_PUSHED : 0u; };
    if (b.has_close) Button(hdc, b.close, DFCS_CAPTIONCLOSE | push(kClosePressed));
    if (b.has_max) {
      const UINT state = (f.maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX);
      Button(hdc, b.maximize, (f.style & WS_MAXIMIZEBOX) ? state | push(kMaxPressed) : state | DFCS_INACTIVE);
    }
    if (b.has_min) {
      const UINT state = (f.minimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN);
      Button(hdc, b.minimize, (f.style & WS_MINIMIZEBOX) ? state | push(kMinPressed) : state | DFCS_INACTIVE);
    }
    if (b.has_help) Button(hdc, b.help, DFCS_CAPTIONHELP | push(kHelpPressed));
    PaintCaptionText(hdc, f, b.text, caption);
    r.top = b.bar.bottom + 1;
  }

  if (f.has_menu) {
    // The menu code draws the items over this; the last row is the line under the bar.
    const int menu = MenuHeight(f);
    FillSys(hdc, {r.left, r.top, r.right, r.top + menu - 1}, COLOR_MENU);
    FillSys(hdc, {r.left, r.top + menu - 1, r.right, r.top + menu}, COLOR_3DFACE);
    r.top += menu;
  }

  if ((f.ex_style & WS_EX_CLIENTEDGE) && r.right > r.left && r.bottom > r.top)
    DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT);

  RestoreDC(hdc, saved);
}

}  // namespace user

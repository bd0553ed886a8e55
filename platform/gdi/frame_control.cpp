// DrawFrameControl: push buttons, check boxes, radio buttons, caption buttons, scroll
// arrows, size grips and menu marks in the classic look.
//
// The glyphs are drawn as spans from small geometric descriptions, sized from the control's
// square so that the standard sizes (13x13 check cells, 16x14 caption buttons, 16x16 scroll
// arrows) come out as the familiar pixel art and other sizes scale with them. Nothing is
// painted outside the control's rectangle.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "platform/gdi/dc.h"
#include "platform/gdi/object.h"
#include "platform/gdi/ui_draw.h"
#include "platform/win32/draw.h"

namespace gdi::ui {
namespace {

constexpr UINT kTypeMask = 0x00FF;
constexpr UINT kStateMask = 0xFF00;

// [SECTION] Small helpers --------------------------------------------------------------

// The largest square centred in r.
RECT Square(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT s = r;
  if (w < h) {
    s.top += (h - w) / 2;
    s.bottom = s.top + w;
  } else if (w > h) {
    s.left += (w - h) / 2;
    s.right = s.left + h;
  }
  return s;
}

RECT Inset(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// v * num / den without overflow (rectangles may be up to 2^30 across).
int Scale(int v, int num, int den) { return static_cast<int>(int64_t{v} * num / den); }

// Paints `on` where (x + y) is even counted from the brush origin, `off` elsewhere.
Ink Checkerboard(const DeviceContext& dc, Pixel on, Pixel off) {
  auto tile = std::make_shared<InkTile>();
  tile->width = tile->height = 2;
  tile->and_mask.assign(4, 0);
  tile->xor_mask = {on, off, off, on};
  Ink ink;
  ink.tile = std::move(tile);
  ink.origin = dc.SurfaceBrushOrigin();
  return ink;
}

// The face of a checked (latched) button: a 50% mix of highlight and face, or plain
// highlight when a colour scheme makes the highlight something other than white.
void FillCheckedFace(Canvas& cv, const RECT& r) {
  const DeviceContext& dc = cv.dc();
  if (GetSysColor(COLOR_BTNHIGHLIGHT) == RGB(255, 255, 255))
    cv.Fill(r, Checkerboard(dc, dc.Resolve(GetSysColor(COLOR_BTNHIGHLIGHT)), dc.Resolve(GetSysColor(COLOR_BTNFACE))));
  else
    cv.Fill(r, SysPaint(dc, COLOR_BTNHIGHLIGHT));
}

void FillAll(Canvas& cv, const std::vector<RECT>& rects, const Ink& ink, const RECT& within, int dx = 0, int dy = 0) {
  for (RECT r : rects) {
    r = Intersect(RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}, within);
    if (!Empty(r)) cv.Fill(r, ink);
  }
}

// The classic check mark: seven columns three units tall, falling for three columns and
// rising for four. Unit 1 in a 9x9 box (a 13x13 check cell).
void CheckMarkRects(const RECT& box, std::vector<RECT>& out) {
  static constexpr std::array<int, 7> kTops = {3, 4, 5, 4, 3, 2, 1};
  const int n = std::min(box.right - box.left, box.bottom - box.top);
  const int u = std::max(1, n / 9);
  const int o = std::max(0, (n - 9 * u) / 2);
  for (int k = 0; k < 7; ++k) {
    const int x = box.left + o + u * (1 + k), y = box.top + o + u * kTops[k];
    out.push_back(RECT{x, y, x + u, y + 3 * u});
  }
}

// [SECTION] Discs ----------------------------------------------------------------------

struct Disc {
  int left, top, d;
  bool Row(int y, int& x0, int& x1) const { return DiscRow(left, top, d, y, x0, x1); }
};

Disc Concentric(const Disc& outer, int inset) { return Disc{outer.left + inset, outer.top + inset, outer.d - 2 * inset}; }

void DiscSpans(const Disc& c, const Canvas& cv, std::vector<Span>& out) {
  const int y0 = std::max(c.top, cv.row_top()), y1 = std::min(c.top + c.d, cv.row_bottom());
  for (int y = y0; y < y1; ++y) {
    int a, b;
    if (c.Row(y, a, b)) out.push_back(Span{y, a, b});
  }
}

// The ring between `outer` and `hole`, split along the falling diagonal through the
// centre: the upper-left half (which keeps the diagonal itself) and the lower-right half.
void RingSpans(const Disc& outer, const Disc& hole, const Canvas& cv, std::vector<Span>& upper_left,
               std::vector<Span>& lower_right) {
  const int64_t c2 = 2 * int64_t{outer.left} + outer.d + 2 * int64_t{outer.top} + outer.d;
  auto split = [&](int y, int a, int b) {
    if (a >= b) return;
    // Pixel (x, y) is upper-left when (2x + 1 - 2cx) + (2y + 1 - 2cy) <= 0.
    const int64_t lim = c2 - 2 * int64_t{y} - 2;
    const int last = static_cast<int>(lim >= 0 ? lim / 2 : -((-lim + 1) / 2));  // floor(lim / 2)
    if (a <= last) upper_left.push_back(Span{y, a, std::min(b, last + 1)});
    if (b > last + 1) lower_right.push_back(Span{y, std::max(a, last + 1), b});
  };
  const int y0 = std::max(outer.top, cv.row_top()), y1 = std::min(outer.top + outer.d, cv.row_bottom());
  for (int y = y0; y < y1; ++y) {
    int a, b, c, e;
    if (!outer.Row(y, a, b)) continue;
    if (hole.d > 0 && hole.Row(y, c, e)) {
      split(y, a, c);
      split(y, e, b);
    } else {
      split(y, a, b);
    }
  }
}

// [SECTION] Buttons --------------------------------------------------------------------

bool PushButton(Canvas& cv, RECT& r, UINT state) {
  const UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED | DFCS_FLAT)) ? EDGE_SUNKEN : EDGE_RAISED;
  const UINT flat = (state & DFCS_FLAT) ? BF_FLAT : 0;
  const bool transparent = state & DFCS_TRANSPARENT;
  RECT inner = r;
  if (state & DFCS_MONO) {
    DrawEdgeOn(cv, inner, edge, BF_MONO | BF_RECT | BF_ADJUST);
    if (!transparent) {
      if (state & DFCS_CHECKED)
        FillCheckedFace(cv, inner);
      else
        cv.Fill(inner, SysPaint(cv.dc(), COLOR_BTNFACE));
    }
  } else if (state & DFCS_CHECKED) {
    DrawEdgeOn(cv, inner, edge, flat | BF_RECT | BF_SOFT | BF_ADJUST);
    if (!transparent) FillCheckedFace(cv, inner);
  } else {
    DrawEdgeOn(cv, inner, edge, flat | (transparent ? 0 : BF_MIDDLE) | BF_RECT | BF_SOFT);
  }
  if (state & DFCS_ADJUSTRECT) r = Inset(r, 2);
  return true;
}

bool CheckBox(Canvas& cv, const RECT& r, UINT state) {
  RECT box = Square(ClampRect(r));
  const UINT look = (state & DFCS_FLAT) ? BF_FLAT : (state & DFCS_MONO) ? BF_MONO : 0;
  DrawEdgeOn(cv, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST | look);
  const bool three_state = (state & kTypeMask) == DFCS_BUTTON3STATE;
  if (!(state & DFCS_TRANSPARENT)) {
    if (state & (DFCS_INACTIVE | DFCS_PUSHED))
      cv.Fill(box, SysPaint(cv.dc(), COLOR_BTNFACE));
    else if (three_state && (state & DFCS_CHECKED))
      FillCheckedFace(cv, box);
    else
      cv.Fill(box, SysPaint(cv.dc(), COLOR_WINDOW));
  }
  if (state & DFCS_CHECKED) {
    std::vector<RECT> mark;
    CheckMarkRects(box, mark);
    const int color = (state & DFCS_INACTIVE) || three_state ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
    FillAll(cv, mark, SysPaint(cv.dc(), color), box);
  }
  return true;
}

bool RadioButton(Canvas& cv, const RECT& rc, UINT state) {
  const RECT r = ClampRect(rc);
  const RECT sq = Square(r);
  const int side = sq.right - sq.left;
  if (side <= 0) return true;
  // 12 pixels across in the standard 13x13 cell, one-pixel rings, a 4-pixel dot.
  const int d = std::max(1, static_cast<int>((int64_t{side} * 12 + 6) / 13));
  const Disc outer{sq.left + (side - d) / 2, sq.top + (side - d) / 2, d};
  const int ring = std::max(1, d / 12);
  const DeviceContext& dc = cv.dc();
  const UINT type = state & kTypeMask;
  std::vector<Span> a, b;

  if (type == DFCS_BUTTONRADIOMASK) {  // black shape on white, for masked blits
    cv.Fill(r, Paint(dc, RGB(255, 255, 255)));
    DiscSpans(outer, cv, a);
    cv.Fill(a, Paint(dc, RGB(0, 0, 0)));
    return true;
  }
  if (type == DFCS_BUTTONRADIOIMAGE) cv.Fill(r, Paint(dc, RGB(0, 0, 0)));  // the image sits on black

  const Disc middle = Concentric(outer, ring), inside = Concentric(outer, 2 * ring);
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    const bool mono = state & DFCS_MONO;
    RingSpans(outer, middle, cv, a, b);
    a.insert(a.end(), b.begin(), b.end());
    cv.Fill(a, SysPaint(dc, mono ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
    a.clear();
    b.clear();
    RingSpans(middle, inside, cv, a, b);
    a.insert(a.end(), b.begin(), b.end());
    cv.Fill(a, SysPaint(dc, mono ? COLOR_WINDOW : COLOR_BTNFACE));
  } else {
    RingSpans(outer, middle, cv, a, b);
    cv.Fill(a, SysPaint(dc, COLOR_BTNSHADOW));
    cv.Fill(b, SysPaint(dc, COLOR_BTNHIGHLIGHT));
    a.clear();
    b.clear();
    RingSpans(middle, inside, cv, a, b);
    cv.Fill(a, SysPaint(dc, COLOR_3DDKSHADOW));
    cv.Fill(b, SysPaint(dc, COLOR_3DLIGHT));
  }
  if (!(state & DFCS_TRANSPARENT)) {
    a.clear();
    DiscSpans(inside, cv, a);
    cv.Fill(a, SysPaint(dc, (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW));
  }
  if (state & DFCS_CHECKED) {
    int dot = std::max(1, (d + 1) / 3);
    if ((d - dot) % 2) ++dot;  // same parity as the ring, so the dot sits exactly centred
    a.clear();
    DiscSpans(Concentric(outer, (d - dot) / 2), cv, a);
    cv.Fill(a, SysPaint(dc, (state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
  }
  return true;
}

bool Button(Canvas& cv, RECT& r, UINT state) {
  switch (state & kTypeMask) {
    case DFCS_BUTTONPUSH: return PushButton(cv, r, state);
    case DFCS_BUTTONCHECK:
    case DFCS_BUTTON3STATE: return CheckBox(cv, r, state);
    case DFCS_BUTTONRADIO:
    case DFCS_BUTTONRADIOIMAGE:
    case DFCS_BUTTONRADIOMASK: return RadioButton(cv, r, state);
    default: return false;
  }
}

// [SECTION] Caption buttons ------------------------------------------------------------

// Pieces of `a` outside `hole`.
void Subtract(const RECT& a, const RECT& hole, std::vector<RECT>& out) {
  const RECT in = Intersect(a, hole);
  if (Empty(in)) {
    out.push_back(a);
    return;
  }
  if (a.top < in.top) out.push_back(RECT{a.left, a.top, a.right, in.top});
  if (in.bottom < a.bottom) out.push_back(RECT{a.left, in.bottom, a.right, a.bottom});
  if (a.left < in.left) out.push_back(RECT{a.left, in.top, in.left, in.bottom});
  if (in.right < a.right) out.push_back(RECT{in.right, in.top, a.right, in.bottom});
}

// A window-style box: a thick top edge (the title bar) and thin sides and bottom.
void BoxRects(const RECT& b, int thick, int thin, std::vector<RECT>& out) {
  out.push_back(RECT{b.left, b.top, b.right, b.top + thick});
  out.push_back(RECT{b.left, b.top, b.left + thin, b.bottom});
  out.push_back(RECT{b.right - thin, b.top, b.right, b.bottom});
  out.push_back(RECT{b.left, b.bottom - thin, b.right, b.bottom});
}

// The help glyph at its standard 6x9 size; scaled for other sizes.
constexpr std::array<const char*, 9> kQuestionMark = {
    ".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##..",
};

// The glyph of a caption button, for a button whose centred square is sq; only rows
// [row_top, row_bottom) need to be produced.
bool CaptionGlyph(UINT which, const RECT& sq, int row_top, int row_bottom, std::vector<RECT>& out) {
  const int s = std::max(1, sq.right - sq.left - 2);  // 12 on a standard 16x14 button
  const int thick = std::max(1, (s + 3) / 6);        // 2 at the standard size
  const int thin = std::max(1, thick / 2);
  const int box = std::max(3, Scale(s, 3, 4));            // the 9x9 cell most glyphs fill
  const int xc = (sq.left + sq.right) / 2, yc = (sq.top + sq.bottom) / 2;
  const RECT cell{xc - (box + 1) / 2, yc - (box + 1) / 2, xc - (box + 1) / 2 + box, yc - (box + 1) / 2 + box};
  switch (which) {
    case DFCS_CAPTIONCLOSE: {
      // Two crossing strokes `thick` wide over an odd number of rows (8x7 at the standard size).
      int n = std::max(3, Scale(s, 7, 12));
      if (n % 2 == 0) --n;
      const int w = n + thick - 1, x0 = xc - w / 2, y0 = yc - (n + 1) / 2, c = (n - 1) / 2;
      const int first = std::max(0, row_top - y0 - 2), last = std::min(n, std::max(0, row_bottom - y0));
      for (int i = first; i < last; ++i) {
        const int in = c - std::abs(i - c);
        out.push_back(RECT{x0 + in, y0 + i, x0 + in + thick, y0 + i + 1});
        out.push_back(RECT{x0 + w - thick - in, y0 + i, x0 + w - in, y0 + i + 1});
      }
      return true;
    }
    case DFCS_CAPTIONMIN: {  // a bar at the bottom left: the window as a task button
      const int x = cell.left + thin, w = Scale(box, 2, 3);
      out.push_back(RECT{x, cell.bottom - thick, x + w, cell.bottom});
      return true;
    }
    case DFCS_CAPTIONMAX:
      BoxRects(cell, thick, thin, out);
      return true;
    case DFCS_CAPTIONRESTORE: {  // two smaller windows, the front one lower left
      const int w = Scale(box, 2, 3);
      const RECT back{cell.right - 1 - w, cell.top, cell.right - 1, cell.top + w};
      const RECT front{cell.left, cell.bottom - w, cell.left + w, cell.bottom};
      const int bar = w >= 5 ? thick : thin;  // tiny boxes would fill up with title bar
      std::vector<RECT> back_rects;
      BoxRects(back, bar, thin, back_rects);
      for (const RECT& r : back_rects) Subtract(r, front, out);
      BoxRects(front, bar, thin, out);
      return true;
    }
    case DFCS_CAPTIONHELP: {
      // Whole-pixel scaling keeps the strokes even; only tiny buttons squeeze the bitmap.
      const int u = box / 9;
      const int w = u ? 6 * u : Scale(box, 2, 3), h = u ? 9 * u : box;
      const int x0 = xc - w / 2, y0 = cell.top + (box - h) / 2;
      for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 6; ++col) {
          if (kQuestionMark[row][col] != '#') continue;
          const RECT px{x0 + Scale(w, col, 6), y0 + Scale(h, row, 9), x0 + Scale(w, col + 1, 6),
                        y0 + Scale(h, row + 1, 9)};
          if (!Empty(px)) out.push_back(px);
        }
      return true;
    }
    default: return false;
  }
}

bool CaptionButton(Canvas& cv, RECT& r, UINT state) {
  const RECT sq = Square(ClampRect(r));
  std::vector<RECT> glyph;
  if (!CaptionGlyph(state & kTypeMask, sq, cv.row_top(), cv.row_bottom(), glyph)) return false;
  const RECT face = Inset(ClampRect(r), 2);
  PushButton(cv, r, state & kStateMask);
  // A pressed button shows its glyph one pixel down and right, as if pushed in.
  const int shift = (state & DFCS_PUSHED) ? 1 : 0;
  const DeviceContext& dc = cv.dc();
  if (state & DFCS_INACTIVE) {  // embossed: a highlight copy below right, the shadow on top
    FillAll(cv, glyph, SysPaint(dc, COLOR_BTNHIGHLIGHT), face, shift + 1, shift + 1);
    FillAll(cv, glyph, SysPaint(dc, COLOR_BTNSHADOW), face, shift, shift);
  } else {
    FillAll(cv, glyph, SysPaint(dc, COLOR_BTNTEXT), face, shift, shift);
  }
  return true;
}

// [SECTION] Scroll arrows and the size grip --------------------------------------------

void Triangle(Canvas& cv, const std::array<POINT, 3>& pts, int dx, int dy, const Ink& ink) {
  std::array<POINT, 3> p = pts;
  for (POINT& q : p) {
    q.x += dx;
    q.y += dy;
  }
  std::vector<Span> spans;
  ConvexPolygonSpans(p.data(), p.size(), cv.row_top(), cv.row_bottom(), spans);
  cv.Fill(spans, ink);
}

// Stripes parallel to the rising diagonal near the corner: highlight, shadow, shadow,
// face, three times, the corner pixel itself left as face.
void SizeGrip(Canvas& cv, const RECT& rc, UINT state) {
  const RECT r = ClampRect(rc);
  const bool mono = state & (DFCS_MONO | DFCS_FLAT);
  const DeviceContext& dc = cv.dc();
  cv.Fill(r, SysPaint(dc, mono ? COLOR_WINDOW : COLOR_BTNFACE));
  const bool mirrored = (state & kTypeMask) == DFCS_SCROLLSIZEGRIPRIGHT;  // grip in the bottom-left corner
  const int side = std::min(r.right - r.left, r.bottom - r.top);
  const int u = std::max(1, side / 16);
  std::vector<Span> light, dark;
  const int y0 = std::max(r.top, cv.row_top()), y1 = std::min(r.bottom, cv.row_bottom());
  for (int y = y0; y < y1; ++y) {
    const int up = r.bottom - 1 - y;  // distance from the bottom row
    for (int j = 0; j < 3; ++j) {
      // k = distance from the corner along the rows and columns.
      auto add = [&](int k0, int k1, std::vector<Span>& to) {
        int a, b;
        if (mirrored) {
          a = r.left + k0 - up;
          b = r.left + k1 - up;
        } else {
          a = r.right - k1 + up;
          b = r.right - k0 + up;
        }
        a = std::max(a, static_cast<int>(r.left));
        b = std::min(b, static_cast<int>(r.right));
        if (a < b) to.push_back(Span{y, a, b});
      };
      const int base = 4 * u * j;
      add(base + u, base + 3 * u, dark);
      add(base + 3 * u, base + 4 * u, light);
    }
  }
  cv.Fill(light, SysPaint(dc, mono ? COLOR_WINDOWFRAME : COLOR_BTNHIGHLIGHT));
  cv.Fill(dark, SysPaint(dc, mono ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
}

bool ScrollButton(Canvas& cv, RECT& r, UINT state) {
  const UINT type = state & kTypeMask;
  if (type == DFCS_SCROLLSIZEGRIP || type == DFCS_SCROLLSIZEGRIPRIGHT) {
    SizeGrip(cv, r, state);
    return true;
  }
  const RECT sq = Square(ClampRect(r));
  const int d = sq.right - sq.left - 2;
  const int t = std::max(2, Scale(d, 290, 1000) - 1);  // half the base of the arrow
  const int along = Scale(d, 470, 1000) + 2, across = Scale(d, 687, 1000) + 1;
  std::array<POINT, 3> tri;  // base end, base end, apex
  switch (type) {
    case DFCS_SCROLLCOMBOBOX:
    case DFCS_SCROLLDOWN: {
      const POINT apex{sq.left + along, sq.top + across};
      tri = {POINT{apex.x - t, apex.y - t}, POINT{apex.x + t, apex.y - t}, apex};
      break;
    }
    case DFCS_SCROLLUP: {
      const POINT apex{sq.left + along, sq.bottom - across};
      tri = {POINT{apex.x - t, apex.y + t}, POINT{apex.x + t, apex.y + t}, apex};
      break;
    }
    case DFCS_SCROLLLEFT: {
      const POINT apex{sq.right - across, sq.top + along};
      tri = {POINT{apex.x + t, apex.y - t}, POINT{apex.x + t, apex.y + t}, apex};
      break;
    }
    case DFCS_SCROLLRIGHT: {
      const POINT apex{sq.left + across, sq.top + along};
      tri = {POINT{apex.x - t, apex.y - t}, POINT{apex.x - t, apex.y + t}, apex};
      break;
    }
    default: return false;
  }
  // A plain arrow button has the hard raised edge; any state goes the push-button way.
  if (!(state & kStateMask & ~DFCS_ADJUSTRECT))
    DrawEdgeOn(cv, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | ((state & DFCS_ADJUSTRECT) ? BF_ADJUST : 0));
  else
    PushButton(cv, r, state & kStateMask);
  const DeviceContext& dc = cv.dc();
  if (state & DFCS_INACTIVE) Triangle(cv, tri, 0, 0, SysPaint(dc, COLOR_BTNHIGHLIGHT));
  // The arrow sits one pixel up and left of its pressed place unless it is pressed.
  const int shift = ((state & DFCS_INACTIVE) || !(state & DFCS_PUSHED)) ? -1 : 0;
  Triangle(cv, tri, shift, shift, SysPaint(dc, (state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
  return true;
}

// [SECTION] Menu marks -----------------------------------------------------------------

// Menu marks are masks: black on white whatever the colour scheme, for the menu code to
// blit with its own colours.
bool MenuMark(Canvas& cv, const RECT& rc, UINT state) {
  const RECT r = ClampRect(rc);
  const RECT sq = Square(r);
  const int s = sq.right - sq.left;
  const UINT type = state & kTypeMask;
  std::vector<Span> spans;
  std::vector<RECT> rects;
  switch (type) {
    case DFCS_MENUARROW:
    case DFCS_MENUARROWRIGHT: {  // the second points left, for right-to-left menus
      const int half = Scale(s, 187, 750);
      const POINT apex{sq.left + Scale(s, 468, 750), sq.top + Scale(s, 352, 750) + 1};
      std::array<POINT, 3> tri = {POINT{apex.x - half, apex.y - half}, POINT{apex.x - half, apex.y + half}, apex};
      if (type == DFCS_MENUARROWRIGHT)
        for (POINT& p : tri) p.x = sq.left + sq.right - 1 - p.x;
      ConvexPolygonSpans(tri.data(), tri.size(), cv.row_top(), cv.row_bottom(), spans);
      break;
    }
    case DFCS_MENUCHECK: {
      const int u = std::max(1, s / 13);
      const int box = 9 * u;
      const RECT cell{sq.left + (s - box) / 2, sq.top + (s - box) / 2, sq.left + (s - box) / 2 + box,
                      sq.top + (s - box) / 2 + box};
      CheckMarkRects(cell, rects);
      break;
    }
    case DFCS_MENUBULLET: {
      int d = std::max(2, Scale(s, 5, 13));
      if ((s - d) % 2) --d;  // centred exactly
      if (d > 0) DiscSpans(Disc{sq.left + (s - d) / 2, sq.top + (s - d) / 2, d}, cv, spans);
      break;
    }
    default: return false;
  }
  if (!(state & DFCS_TRANSPARENT)) cv.Fill(r, Paint(cv.dc(), RGB(255, 255, 255)));
  const Ink black = Paint(cv.dc(), RGB(0, 0, 0));
  cv.Fill(spans, black);
  FillAll(cv, rects, black, r);
  return true;
}

}  // namespace
}  // namespace gdi::ui

BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return FALSE;
  if (!rc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::ui::Canvas canvas(*dc, *rc);
  bool ok = false;
  switch (type) {
    case DFC_BUTTON: ok = gdi::ui::Button(canvas, *rc, state); break;
    case DFC_CAPTION: ok = gdi::ui::CaptionButton(canvas, *rc, state); break;
    case DFC_SCROLL: ok = gdi::ui::ScrollButton(canvas, *rc, state); break;
    case DFC_MENU:
    case DFC_POPUPMENU: ok = gdi::ui::MenuMark(canvas, *rc, state); break;
    default: break;
  }
  return ok ? TRUE : FALSE;
}

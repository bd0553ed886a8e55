// DrawEdge: the one- and two-ring 3D borders of the classic look, and their diagonal form.
//
// A border is an outer ring and an inner ring, each one pixel wide, each with a top/left
// colour and a bottom/right colour. Lines are painted outer top, left, bottom, right, then
// inner top, left, bottom, right; every line runs the whole side of its ring, so the
// bottom/right colour wins the top-right and bottom-left corners. Nothing is painted
// outside the rectangle.
#include <algorithm>
#include <climits>

#include "platform/gdi/dc.h"
#include "platform/gdi/object.h"
#include "platform/gdi/ui_draw.h"
#include "platform/win32/draw.h"

namespace gdi::ui {
namespace {

constexpr int kAbsent = -1;

struct EdgeColors {
  int outer_lt = kAbsent;
  int outer_rb = kAbsent;
  int inner_lt = kAbsent;
  int inner_rb = kAbsent;
  int rings = 0;      // what BF_ADJUST and BF_MIDDLE step over
  bool valid = true;  // false when a ring asks to be raised and sunken at once
};

struct Ring {
  int lt;
  int rb;
};

EdgeColors ColorsFor(UINT edge, UINT flags) {
  const UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  EdgeColors c;
  c.rings = (outer || inner ? 1 : 0) + (outer && inner ? 1 : 0);
  if (flags & (BF_MONO | BF_FLAT)) {
    // One colour per ring; a lone inner ring takes the inner colour on the outer ring.
    const bool mono = flags & BF_MONO;
    if (outer)
      c.outer_lt = c.outer_rb = mono ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW;
    else if (inner)
      c.outer_lt = c.outer_rb = mono ? COLOR_WINDOW : COLOR_BTNFACE;
    if (outer && inner) c.inner_lt = c.inner_rb = mono ? COLOR_WINDOW : COLOR_BTNFACE;
    return c;
  }
  c.valid = outer != BDR_OUTER && inner != BDR_INNER;
  if (outer == BDR_OUTER) return c;  // a ring both raised and sunken paints nothing
  // Soft edges brighten raised top/left lines and darken sunken ones.
  const bool soft = flags & BF_SOFT;
  const Ring raised_outer{soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  const Ring sunken_outer{soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
  const Ring raised_inner{soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
  const Ring sunken_inner{soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  const Ring* o = outer == BDR_RAISEDOUTER ? &raised_outer : outer == BDR_SUNKENOUTER ? &sunken_outer : nullptr;
  const Ring* i = inner == BDR_RAISEDINNER ? &raised_inner : inner == BDR_SUNKENINNER ? &sunken_inner : nullptr;
  if (o) {
    c.outer_lt = o->lt;
    c.outer_rb = o->rb;
    if (i) {
      c.inner_lt = i->lt;
      c.inner_rb = i->rb;
    }
  } else if (i) {
    c.outer_lt = i->lt;
    c.outer_rb = i->rb;
  }
  return c;
}

int Saturate(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

RECT Shrink(const RECT& r, UINT flags, int by) {
  RECT s = r;
  if (flags & BF_LEFT) s.left = Saturate(int64_t{s.left} + by);
  if (flags & BF_TOP) s.top = Saturate(int64_t{s.top} + by);
  if (flags & BF_RIGHT) s.right = Saturate(int64_t{s.right} - by);
  if (flags & BF_BOTTOM) s.bottom = Saturate(int64_t{s.bottom} - by);
  return s;
}

void DrawRectEdge(Canvas& cv, const RECT& r, const EdgeColors& c, UINT flags) {
  const int lt = (flags & BF_TOPLEFT) == BF_TOPLEFT;
  const int rt = (flags & BF_TOPRIGHT) == BF_TOPRIGHT;
  const int lb = (flags & BF_BOTTOMLEFT) == BF_BOTTOMLEFT;
  const int rb = (flags & BF_BOTTOMRIGHT) == BF_BOTTOMRIGHT;
  auto line = [&](RECT l, int color) {
    if (color == kAbsent) return;
    l.left = std::max(l.left, r.left);
    l.top = std::max(l.top, r.top);
    l.right = std::min(l.right, r.right);
    l.bottom = std::min(l.bottom, r.bottom);
    cv.Fill(l, SysPaint(cv.dc(), color));
  };
  if (flags & BF_TOP) line({r.left, r.top, r.right, r.top + 1}, c.outer_lt);
  if (flags & BF_LEFT) line({r.left, r.top, r.left + 1, r.bottom}, c.outer_lt);
  if (flags & BF_BOTTOM) line({r.left, r.bottom - 1, r.right, r.bottom}, c.outer_rb);
  if (flags & BF_RIGHT) line({r.right - 1, r.top, r.right, r.bottom}, c.outer_rb);
  // The inner ring steps in from a corner only where both of its sides are drawn.
  if (flags & BF_TOP) line({r.left + lt, r.top + 1, r.right - rt, r.top + 2}, c.inner_lt);
  if (flags & BF_LEFT) line({r.left + 1, r.top + lt, r.left + 2, r.bottom - lb}, c.inner_lt);
  if (flags & BF_BOTTOM) line({r.left + lb, r.bottom - 2, r.right - rb, r.bottom - 1}, c.inner_rb);
  if (flags & BF_RIGHT) line({r.right - 2, r.top + rt, r.right - 1, r.bottom - rb}, c.inner_rb);
}

// A 45-degree line drawn the LineTo way: from `from` towards `to`, end point excluded.
void Diagonal(Canvas& cv, POINT from, POINT to, int color) {
  if (color == kAbsent) return;
  const int sx = to.x > from.x ? 1 : -1, sy = to.y > from.y ? 1 : -1;
  const int64_t n = std::min(std::llabs(int64_t{to.x} - from.x), std::llabs(int64_t{to.y} - from.y));
  // Only the steps whose row can show.
  int64_t k0, k1;
  if (sy > 0) {
    k0 = int64_t{cv.row_top()} - from.y;
    k1 = int64_t{cv.row_bottom()} - from.y;
  } else {
    k0 = int64_t{from.y} - cv.row_bottom() + 1;
    k1 = int64_t{from.y} - cv.row_top() + 1;
  }
  k0 = std::max<int64_t>(k0, 0);
  k1 = std::min(k1, n);
  std::vector<Span> spans;
  for (int64_t k = k0; k < k1; ++k) {
    const int x = static_cast<int>(from.x + k * sx), y = static_cast<int>(from.y + k * sy);
    spans.push_back(Span{y, x, x + 1});
  }
  cv.Fill(spans, SysPaint(cv.dc(), color));
}

// The diagonal form. Where the line lies, which side the inner line and the filled middle
// take, and the exact end pixels depend on the side flags in a way that follows no simple
// rule; the table below is what the classic desktop shows.
void DrawDiagonalEdge(Canvas& cv, const RECT& r, const EdgeColors& c, UINT flags) {
  const int d = std::min(r.right - r.left, r.bottom - r.top);
  if (d <= 0) return;
  const int add = c.rings;
  const bool rb_colors = flags & BF_BOTTOM;
  const int outer = rb_colors ? c.outer_rb : c.outer_lt;
  const int inner = rb_colors ? c.inner_rb : c.inner_lt;

  POINT s, e;  // the outer line runs from s towards e
  switch (flags & BF_RECT) {
    case 0:
    case BF_LEFT:
    case BF_BOTTOM:
    case BF_BOTTOMLEFT:  // from the top right down to the bottom left
      e = {r.left - 1, r.bottom};
      s = {e.x + d, e.y - d};
      break;
    case BF_TOPLEFT:
    case BF_BOTTOMRIGHT:  // between the top-left corner and the bottom right
      e = {r.left - 1, r.top - 1};
      s = {e.x + d, e.y + d};
      break;
    default:  // from the bottom-left corner up to the top right
      s = {r.left, r.bottom - 1};
      e = {s.x + d, s.y - d};
      break;
  }
  Diagonal(cv, s, e, outer);

  POINT in_from, in_to;
  POINT poly[4];
  const int sides = flags & BF_RECT;
  if (sides == BF_BOTTOMLEFT || sides == BF_BOTTOM || sides == 0 || sides == BF_LEFT) {
    in_from = {s.x - 1, s.y};
    in_to = {e.x, e.y - 1};
    poly[0] = {s.x - add, s.y};
    poly[1] = {r.left, r.top};
    poly[2] = poly[3] = {e.x + 1, e.y - 1 - add};
  } else if (sides == BF_BOTTOMRIGHT) {
    in_from = {s.x - 1, s.y};
    in_to = {e.x, e.y + 1};
    poly[0] = {s.x - add, s.y};
    poly[1] = {r.left, r.bottom - 1};
    poly[2] = poly[3] = {e.x + 1, e.y + 1 + add};
  } else if (sides == BF_TOPLEFT) {
    in_from = {s.x, s.y - 1};
    in_to = {e.x + 1, e.y};
    poly[0] = {e.x + 1 + add, e.y + 1};
    poly[1] = {r.right - 1, r.top};
    poly[2] = {r.right - 1, r.bottom - 1 - add};
    poly[3] = {s.x, s.y - add};
  } else if (sides == BF_TOP || sides == (BF_TOP | BF_BOTTOM) || sides == (BF_TOP | BF_BOTTOM | BF_LEFT)) {
    in_from = {s.x + 1, s.y - 1};
    in_to = e;
    poly[0] = {e.x - 1, e.y + 1};
    poly[1] = {r.right - 1, r.top};
    poly[2] = {r.right - 1, r.bottom - 1 - add};
    poly[3] = {s.x + add, s.y - add};
  } else if (sides == BF_RIGHT || sides == (BF_RIGHT | BF_LEFT) || sides == (BF_RIGHT | BF_LEFT | BF_BOTTOM)) {
    in_from = s;
    in_to = {e.x - 1, e.y + 1};
    poly[0] = s;
    poly[1] = {r.left, r.top + add};
    poly[2] = poly[3] = {e.x - 1 - add, e.y + 1 + add};
  } else {  // the top-right end and every combination of three or four sides with it
    in_from = {s.x + 1, s.y};
    in_to = {e.x, e.y + 1};
    poly[0] = {e.x - 1, e.y + 1 + add};
    poly[1] = {r.right - 1, r.top + add};
    poly[2] = {r.right - 1, r.bottom - 1};
    poly[3] = {s.x + add, s.y};
  }
  Diagonal(cv, in_from, in_to, inner);

  if ((flags & BF_MIDDLE) && c.valid) {
    std::vector<Span> spans;
    ConvexPolygonSpans(poly, 4, cv.row_top(), cv.row_bottom(), spans);
    cv.Fill(spans, SysPaint(cv.dc(), (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  }
}

}  // namespace

bool DrawEdgeOn(Canvas& canvas, RECT& rc, UINT edge, UINT flags) {
  const RECT r = ClampRect(rc);
  const EdgeColors c = ColorsFor(edge, flags);
  if (flags & BF_DIAGONAL) {
    DrawDiagonalEdge(canvas, r, c, flags);
  } else {
    DrawRectEdge(canvas, r, c, flags);
    if ((flags & BF_MIDDLE) && c.valid)
      canvas.Fill(Shrink(r, flags, c.rings), SysPaint(canvas.dc(), (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  }
  if (flags & BF_ADJUST) rc = Shrink(rc, flags, c.rings);
  return c.valid;
}

}  // namespace gdi::ui

BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return FALSE;
  if (!rc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::ui::Canvas canvas(*dc, *rc);
  return gdi::ui::DrawEdgeOn(canvas, *rc, edge, flags) ? TRUE : FALSE;
}

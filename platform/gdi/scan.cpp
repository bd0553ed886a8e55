// Scan conversion: polygons with GDI's fill rules, ovals in closed form, wedges and
// half-planes for pies and chords, one-pixel boundaries and round pen tips.
#include "platform/gdi/scan.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

using i128 = __int128;
using u128 = unsigned __int128;

// Floor and ceiling of a / b for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
int64_t CeilDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}
i128 FloorDiv128(i128 a, i128 b) {
  const i128 q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
i128 CeilDiv128(i128 a, i128 b) {
  const i128 q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

int ClampToInt(int64_t v, int lo, int hi) { return static_cast<int>(std::clamp<int64_t>(v, lo, hi)); }
int ClampToInt(i128 v, int lo, int hi) {
  if (v < lo) return lo;
  if (v > hi) return hi;
  return static_cast<int>(v);
}

uint64_t ISqrt(u128 q) {
  uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<long double>(q)));
  while (static_cast<u128>(r) * r > q) --r;
  while (static_cast<u128>(r + 1) * (r + 1) <= q) ++r;
  return r;
}

// Columns the left side of row i of a w x h ellipse lies in from the ellipse's left edge.
// A pixel belongs to the ellipse when its centre satisfies (dx/(w/2))^2 + (dy/(h/2))^2 <= 1,
// measured from the centre of the extent; the middle row (or two) always spans the whole
// width and no row is left empty, so the ellipse touches all four sides of its extent.
int64_t EllipseInset(int64_t w, int64_t h, int64_t i) {
  const int64_t dy2 = 2 * i - (h - 1);  // doubled distance of the row from the centre
  if (dy2 >= -1 && dy2 <= 1) return 0;
  const uint64_t hh = static_cast<uint64_t>(h) * static_cast<uint64_t>(h);
  const uint64_t rest = hh - static_cast<uint64_t>(dy2 * dy2);
  uint64_t m;  // the largest doubled horizontal distance allowed
  if (w < 65536 && h < 65536) {
    m = ISqrt(static_cast<uint64_t>(w) * static_cast<uint64_t>(w) * rest / hh);
  } else {
    m = ISqrt(static_cast<u128>(w) * static_cast<u128>(w) * rest / hh);
  }
  int64_t mm = static_cast<int64_t>(m);
  if (((mm - (w - 1)) & 1) != 0) --mm;  // doubled distances share the parity of w - 1
  if (mm < 0) mm = (w - 1) & 1;         // keep the middle pixel (or two)
  return (w - 1 - mm) / 2;
}

}  // namespace

bool MapPoint(const DeviceContext& dc, int x, int y, Point64& out) {
  const DCState& st = dc.state();
  const POINT org = dc.device_origin();
  out.x = int64_t{x} - st.window_org.x + st.viewport_org.x + org.x;
  out.y = int64_t{y} - st.window_org.y + st.viewport_org.y + org.y;
  return out.x >= -kMaxCoord && out.x <= kMaxCoord && out.y >= -kMaxCoord && out.y <= kMaxCoord;
}

// ---------------------------------------------------------------------------------------
// Intervals

void IntersectIntervals(const Intervals& a, const Intervals& b, Intervals& out) {
  out.clear();
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const int lo = std::max(a[i].first, b[j].first);
    const int hi = std::min(a[i].second, b[j].second);
    if (lo < hi) out.emplace_back(lo, hi);
    if (a[i].second < b[j].second) ++i;
    else ++j;
  }
}

void SubtractIntervals(const Intervals& a, const Intervals& b, Intervals& out) {
  out.clear();
  size_t j = 0;
  for (const Interval& iv : a) {
    int start = iv.first;
    while (j < b.size() && b[j].second <= start) ++j;
    size_t k = j;
    while (k < b.size() && b[k].first < iv.second) {
      if (b[k].first > start) out.emplace_back(start, b[k].first);
      start = std::max(start, b[k].second);
      if (start >= iv.second) break;
      ++k;
    }
    if (start < iv.second) out.emplace_back(start, iv.second);
  }
}

void UniteIntervals(const Intervals& a, const Intervals& b, Intervals& out) {
  out.clear();
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    const Interval& next = (j >= b.size() || (i < a.size() && a[i].first <= b[j].first)) ? a[i++] : b[j++];
    if (!out.empty() && next.first <= out.back().second) out.back().second = std::max(out.back().second, next.second);
    else out.push_back(next);
  }
}

void ClampIntervals(Intervals& xs, int lo, int hi) {
  size_t n = 0;
  for (const Interval& iv : xs) {
    const int a = std::max(iv.first, lo), b = std::min(iv.second, hi);
    if (a < b) xs[n++] = Interval{a, b};
  }
  xs.resize(n);
}

// ---------------------------------------------------------------------------------------
// Polygons

namespace {

struct Edge {
  int64_t first_row;  // rows [first_row, end_row) sample this edge
  int64_t end_row;
  int dir;  // +1 going down, -1 going up
  int64_t x0, y0, dx, dy;  // top end point and extent (fixed point), dy > 0
  // The crossing at the current row is ceil(N / d) with N = q * d + rem, 0 <= rem < d.
  int64_t q = 0, rem = 0, d = 0, step_q = 0, step_r = 0;

  void Start(int64_t row) {
    d = dy * kSubOne;
    const i128 n = static_cast<i128>(x0) * dy + static_cast<i128>(row * kSubOne - y0) * dx;
    const i128 fq = FloorDiv128(n, d);
    q = static_cast<int64_t>(fq);
    rem = static_cast<int64_t>(n - fq * d);
    const int64_t inc = dx * kSubOne;  // N grows by this much a row
    step_q = FloorDiv(inc, d);
    step_r = inc - step_q * d;
  }
  int64_t Crossing() const { return q + (rem != 0 ? 1 : 0); }
  void Step() {
    q += step_q;
    rem += step_r;
    if (rem >= d) {
      rem -= d;
      ++q;
    }
  }
  bool vertical() const { return dx == 0; }
};

}  // namespace

void ScanPolygons(const FixPoint* pts, const int* counts, size_t polys, int fill_mode, const RECT& window,
                  const BandSink& sink) {
  if (window.left >= window.right || window.top >= window.bottom) return;
  std::vector<Edge> edges;
  size_t base = 0;
  for (size_t p = 0; p < polys; ++p) {
    const int n = counts[p];
    for (int i = 0; i < n; ++i) {
      const FixPoint& a = pts[base + i];
      const FixPoint& b = pts[base + (i + 1) % n];
      if (a.y == b.y) continue;  // horizontal edges cross no sample row
      Edge e;
      const FixPoint& top = a.y < b.y ? a : b;
      const FixPoint& bottom = a.y < b.y ? b : a;
      e.dir = a.y < b.y ? 1 : -1;
      e.x0 = top.x;
      e.y0 = top.y;
      e.dx = bottom.x - top.x;
      e.dy = bottom.y - top.y;
      e.first_row = std::max<int64_t>(CeilDiv(top.y, kSubOne), window.top);
      e.end_row = std::min<int64_t>(CeilDiv(bottom.y, kSubOne), window.bottom);
      if (e.first_row < e.end_row) edges.push_back(e);
    }
    base += static_cast<size_t>(n);
  }
  if (edges.empty()) return;
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.first_row < b.first_row; });

  std::vector<Edge*> active;
  Intervals xs;
  size_t next = 0;
  int64_t row = edges[0].first_row;
  while (row < window.bottom) {
    while (next < edges.size() && edges[next].first_row == row) {
      edges[next].Start(row);
      active.push_back(&edges[next]);
      ++next;
    }
    active.erase(std::remove_if(active.begin(), active.end(), [row](const Edge* e) { return e->end_row <= row; }),
                 active.end());
    if (active.empty()) {
      if (next >= edges.size()) break;
      row = edges[next].first_row;
      continue;
    }
    // Crossings move little from row to row, so an insertion sort of the active edges
    // (nearly in order already) beats sorting a fresh list.
    for (size_t i = 1; i < active.size(); ++i) {
      Edge* e = active[i];
      const int64_t x = e->Crossing();
      size_t j = i;
      for (; j > 0 && active[j - 1]->Crossing() > x; --j) active[j] = active[j - 1];
      active[j] = e;
    }
    xs.clear();
    int wind = 0;
    bool inside = false;
    int64_t start = 0;
    for (size_t i = 0; i < active.size();) {
      const int64_t x = active[i]->Crossing();
      for (; i < active.size() && active[i]->Crossing() == x; ++i) wind += active[i]->dir;
      const bool now = fill_mode == WINDING ? wind != 0 : (wind & 1) != 0;
      if (now && !inside) start = x;
      if (!now && inside) {
        const int a = ClampToInt(start, window.left, window.right);
        const int b = ClampToInt(x, window.left, window.right);
        if (a < b) {
          if (!xs.empty() && xs.back().second == a) xs.back().second = b;
          else xs.emplace_back(a, b);
        }
      }
      inside = now;
    }
    // Rows until the next event share these intervals when every active edge is vertical.
    int64_t band_end = row + 1;
    if (std::all_of(active.begin(), active.end(), [](const Edge* e) { return e->vertical(); })) {
      band_end = window.bottom;
      if (next < edges.size()) band_end = std::min(band_end, edges[next].first_row);
      for (const Edge* e : active) band_end = std::min(band_end, e->end_row);
    }
    if (!xs.empty()) sink(static_cast<int>(row), static_cast<int>(band_end), xs);
    if (band_end == row + 1)
      for (Edge* e : active) e->Step();
    row = band_end;
  }
}

// ---------------------------------------------------------------------------------------
// Figures

void ScanFigure(const Figure& f, const RECT& window, const BandSink& sink) {
  const int64_t y0 = std::max<int64_t>(window.top, f.top);
  const int64_t y1 = std::min<int64_t>(window.bottom, f.bottom);
  if (window.left >= window.right) return;
  Intervals xs, prev;
  int64_t band_top = 0;
  for (int64_t y = y0; y < y1;) {
    f.Row(y, window.left, window.right, xs);
    const int64_t next = std::max(f.SameUntil(y), y + 1);
    if (xs != prev) {
      if (!prev.empty()) sink(static_cast<int>(band_top), static_cast<int>(y), prev);
      prev.swap(xs);
      band_top = y;
    }
    y = next;
  }
  if (!prev.empty() && y0 < y1) sink(static_cast<int>(band_top), static_cast<int>(y1), prev);
}

Region FigureRegion(const Figure& f, const RECT& window) {
  Region::Builder builder;
  ScanFigure(f, window, [&](int top, int bottom, const Intervals& xs) { builder.AddBand(top, bottom, xs); });
  return builder.Finish();
}

Oval::Oval(int64_t left, int64_t top_, int64_t right, int64_t bottom_, int64_t corner_w, int64_t corner_h)
    : left_(left), right_(right) {
  top = top_;
  bottom = bottom_;
  const int64_t w = right - left, h = bottom_ - top_;
  corner_w_ = std::clamp<int64_t>(corner_w, 0, std::max<int64_t>(w, 0));
  corner_h_ = std::clamp<int64_t>(corner_h, 0, std::max<int64_t>(h, 0));
  if (corner_w_ < 2 || corner_h_ < 2) corner_w_ = corner_h_ = 0;  // too small to round anything
}

bool Oval::Span(int64_t y, int64_t& x0, int64_t& x1) const {
  if (y < top || y >= bottom || left_ >= right_) return false;
  int64_t inset = 0;
  if (corner_h_ > 0) {
    const int64_t half = corner_h_ / 2;
    const int64_t from_top = y - top, from_bottom = bottom - 1 - y;
    if (from_top < half) inset = EllipseInset(corner_w_, corner_h_, from_top);
    else if (from_bottom < half) inset = EllipseInset(corner_w_, corner_h_, corner_h_ - 1 - from_bottom);
  }
  x0 = left_ + inset;
  x1 = right_ - inset;
  return x0 < x1;
}

int64_t Oval::SameUntil(int64_t y) const {
  if (y < top) return top;
  if (y >= bottom) return int64_t{1} << 40;
  const int64_t half = corner_h_ / 2;
  if (y - top < half || bottom - 1 - y < half) return y + 1;
  return bottom - half;  // the straight sides between the corners
}

void Oval::Row(int64_t y, int lo, int hi, Intervals& out) const {
  out.clear();
  int64_t x0, x1;
  if (!Span(y, x0, x1)) return;
  const int a = ClampToInt(x0, lo, hi), b = ClampToInt(x1, lo, hi);
  if (a < b) out.emplace_back(a, b);
}

void HalfPlane::Row(int64_t y, int lo, int hi, Intervals& out) const {
  // cross(b - a, p - a) >= 0 with p = (2x, 2y), as alpha * x + beta >= 0.
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  const i128 alpha = -2 * static_cast<i128>(dy);
  const i128 beta = static_cast<i128>(dx) * (2 * y - a.y) + static_cast<i128>(dy) * a.x;
  int from = lo, to = hi;
  if (alpha > 0) {
    from = ClampToInt(CeilDiv128(-beta, alpha), lo, hi);
  } else if (alpha < 0) {
    to = ClampToInt(FloorDiv128(beta, -alpha) + 1, lo, hi);
  } else if (beta < 0) {
    return;
  }
  if (from < to) out.emplace_back(from, to);
}

Wedge Wedge::Sector(Point64 c2, Point64 s2, Point64 e2) {
  Point64 s{s2.x - c2.x, s2.y - c2.y}, e{e2.x - c2.x, e2.y - c2.y};
  if (s.x == 0 && s.y == 0) s = Point64{2, 0};  // a radial through the centre points right
  if (e.x == 0 && e.y == 0) e = Point64{2, 0};
  const i128 cross = static_cast<i128>(s.x) * e.y - static_cast<i128>(s.y) * e.x;
  const i128 dot = static_cast<i128>(s.x) * e.x + static_cast<i128>(s.y) * e.y;
  if (cross == 0 && dot > 0) return All();  // the same ray twice: the whole ellipse
  Wedge w(Mode::Both);
  w.first_ = HalfPlane{c2, Point64{c2.x - s.x, c2.y - s.y}};
  w.second_ = HalfPlane{c2, Point64{c2.x + e.x, c2.y + e.y}};
  // Counter-clockwise on screen turns less than half a circle when cross < 0 (y points down).
  w.mode_ = cross < 0 ? Mode::Both : Mode::Either;
  return w;
}

Wedge Wedge::Chord(Point64 s2, Point64 e2) {
  Wedge w(Mode::One);
  w.first_ = HalfPlane{s2, e2};
  return w;
}

void Wedge::Row(int64_t y, int lo, int hi, Intervals& out) const {
  out.clear();
  switch (mode_) {
    case Mode::All: out.emplace_back(lo, hi); return;
    case Mode::None: return;
    case Mode::One: first_.Row(y, lo, hi, out); return;
    case Mode::Both:
    case Mode::Either: {
      xa_.clear();
      xb_.clear();
      first_.Row(y, lo, hi, xa_);
      second_.Row(y, lo, hi, xb_);
      if (mode_ == Mode::Both) IntersectIntervals(xa_, xb_, out);
      else UniteIntervals(xa_, xb_, out);
      return;
    }
  }
}

int64_t Wedge::SameUntil(int64_t y) const {
  return mode_ == Mode::All || mode_ == Mode::None ? int64_t{1} << 40 : y + 1;
}

Intersection::Intersection(const Figure& a, const Figure& b) : a_(a), b_(b) {
  top = std::max(a.top, b.top);
  bottom = std::min(a.bottom, b.bottom);
}

void Intersection::Row(int64_t y, int lo, int hi, Intervals& out) const {
  out.clear();
  if (y < top || y >= bottom) return;
  a_.Row(y, lo, hi, xa_);
  if (xa_.empty()) return;
  b_.Row(y, lo, hi, xb_);
  IntersectIntervals(xa_, xb_, out);
}

int64_t Intersection::SameUntil(int64_t y) const { return std::min(a_.SameUntil(y), b_.SameUntil(y)); }

Difference::Difference(const Figure& a, const Figure& b) : a_(a), b_(b) {
  top = a.top;
  bottom = a.bottom;
}

void Difference::Row(int64_t y, int lo, int hi, Intervals& out) const {
  out.clear();
  a_.Row(y, lo, hi, xa_);
  if (xa_.empty()) return;
  b_.Row(y, lo, hi, xb_);
  SubtractIntervals(xa_, xb_, out);
}

int64_t Difference::SameUntil(int64_t y) const { return std::min(a_.SameUntil(y), b_.SameUntil(y)); }

Boundary::Boundary(const Figure& f) : f_(f) {
  top = f.top;
  bottom = f.bottom;
}

int64_t Boundary::SameUntil(int64_t y) const {
  // Row y depends on rows y-1..y+1: it repeats while all three stay in one run.
  return std::max(y + 1, f_.SameUntil(y - 1) - 1);
}

const Intervals& Boundary::Source(int64_t y, int lo, int hi) const {
  for (const Cached& c : cache_)
    if (c.valid && c.y == y && c.lo == lo && c.hi == hi) return c.xs;
  Cached& c = cache_[next_];
  next_ = (next_ + 1) % std::size(cache_);
  c.y = y;
  c.lo = lo;
  c.hi = hi;
  c.valid = true;
  f_.Row(y, lo, hi, c.xs);
  return c.xs;
}

void Boundary::Row(int64_t y, int lo, int hi, Intervals& out) const {
  out.clear();
  // One column more on each side, so erosion at the window's edges sees the real neighbours.
  // Copies: a later lookup may reuse the cache slot of an earlier one.
  cur_ = Source(y, lo - 1, hi + 1);
  if (cur_.empty()) return;
  up_ = Source(y - 1, lo - 1, hi + 1);
  down_ = Source(y + 1, lo - 1, hi + 1);
  eroded_.clear();
  for (const Interval& iv : cur_)
    if (iv.second - iv.first > 2) eroded_.emplace_back(iv.first + 1, iv.second - 1);
  IntersectIntervals(eroded_, up_, tmp_);
  IntersectIntervals(tmp_, down_, inner_);
  SubtractIntervals(cur_, inner_, out);
  ClampIntervals(out, lo, hi);
}

void DiscSpans(Point64 c, int width, const RECT& window, std::vector<Span>& out) {
  if (width <= 0) return;
  // Rows whose centres lie within width/2 of c (top edge in, bottom edge out); each row
  // [ceil(cx - s), ceil(cx + s)) with s the half chord, in doubled units to stay exact.
  const int64_t w = width;
  const int64_t y0 = std::max<int64_t>(c.y - w / 2, window.top);
  const int64_t y1 = std::min<int64_t>(c.y + (w + 1) / 2, window.bottom);
  for (int64_t y = y0; y < y1; ++y) {
    const int64_t dy2 = 2 * (y - c.y);
    const uint64_t q = static_cast<uint64_t>(w * w - dy2 * dy2);
    const uint64_t r = ISqrt(q);
    const int64_t left = static_cast<int64_t>(r / 2);
    const int64_t right = r * r == q ? static_cast<int64_t>((r + 1) / 2) : static_cast<int64_t>(r / 2 + 1);
    const int a = ClampToInt(c.x - left, window.left, window.right);
    const int b = ClampToInt(c.x + right, window.left, window.right);
    if (a < b) out.push_back(Span{static_cast<int>(y), a, b});
  }
}

}  // namespace gdi

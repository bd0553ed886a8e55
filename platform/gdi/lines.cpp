// Lines: cosmetic lines with the diamond rule, dash patterns, wide geometric strokes, and
// the line calls (LineTo, Polyline, PolylineTo, PolyPolyline).
#include <algorithm>
#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/gdi/scan.h"

namespace gdi {
namespace {

// Pen widths are kept below this so stroke geometry stays far from overflow.
constexpr int kMaxPenWidth = 1 << 24;
// The miter limit of a DC that never called SetMiterLimit.
constexpr double kMiterLimit = 10.0;

int64_t CeilDiv(int64_t a, int64_t b) {  // b > 0
  const int64_t q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

// Dash and gap lengths of the predefined cosmetic styles, in pixels.
std::vector<int64_t> StylePattern(const Pen& pen) {
  switch (pen.style()) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    case PS_USERSTYLE: {
      std::vector<int64_t> v(pen.user_style.begin(), pen.user_style.end());
      int64_t total = 0;
      for (int64_t d : v) total += d;
      if (total == 0) return {};
      // An odd count swaps dashes and gaps on every other pass: repeat it once.
      if (v.size() % 2 != 0) v.insert(v.end(), pen.user_style.begin(), pen.user_style.end());
      return v;
    }
    default: return {};
  }
}

struct FixD {
  double x, y;
};

FixPoint ToFixD(double x, double y) {
  return FixPoint{std::llround(x * static_cast<double>(kSubOne)), std::llround(y * static_cast<double>(kSubOne))};
}

// Scans one convex piece of a stroke into spans.
void ScanPiece(const std::vector<FixD>& poly, const RECT& window, std::vector<Span>& out) {
  if (poly.size() < 3) return;
  double minx = poly[0].x, maxx = poly[0].x, miny = poly[0].y, maxy = poly[0].y;
  for (const FixD& p : poly) {
    minx = std::min(minx, p.x);
    maxx = std::max(maxx, p.x);
    miny = std::min(miny, p.y);
    maxy = std::max(maxy, p.y);
  }
  if (maxx < window.left - 1 || minx > window.right + 1 || maxy < window.top - 1 || miny > window.bottom + 1) return;
  FixPoint pts[8];
  const size_t n = std::min<size_t>(poly.size(), 8);
  for (size_t i = 0; i < n; ++i) pts[i] = ToFixD(poly[i].x, poly[i].y);
  const int count = static_cast<int>(n);
  ScanPolygons(pts, &count, 1, WINDING, window, [&](int top, int bottom, const Intervals& xs) {
    for (int y = top; y < bottom; ++y)
      for (const Interval& iv : xs) out.push_back(Span{y, iv.first, iv.second});
  });
}

}  // namespace

PenInfo ResolvePen(DeviceContext& dc) {
  PenInfo info;
  const Pen* pen = dc.state().pen.get();
  if (!pen || pen->style() == PS_NULL) return info;
  if (pen->extended() && pen->brush.lbStyle == BS_HATCHED) {
    Brush hatch;  // a hatched geometric pen draws with its brush
    hatch.style = BS_HATCHED;
    hatch.color = pen->brush.lbColor;
    hatch.hatch = static_cast<int>(pen->brush.lbHatch);
    info.ink = BrushInk(dc, &hatch, dc.state().rop2);
  } else {
    info.ink = ColorInk(dc, dc.PenColor());
  }
  info.width = std::clamp(pen->width, 1, kMaxPenWidth);
  if (info.width > 1) {
    info.kind = PenInfo::Kind::Wide;
    info.cap = pen->end_cap();
    info.join = pen->join();
    info.inside_frame = pen->style() == PS_INSIDEFRAME;
    return info;
  }
  info.kind = PenInfo::Kind::Cosmetic;
  info.width = 1;
  info.dashes = StylePattern(*pen);
  info.gap = !info.dashes.empty() && dc.state().bk_mode == OPAQUE ? ColorInk(dc, dc.state().bk_color) : Ink::None();
  return info;
}

Dasher::Dasher(const std::vector<int64_t>* dashes) : dashes_(dashes) {
  if (dashes_)
    for (int64_t d : *dashes_) total_ += d;
}

bool Dasher::OnAt(int64_t offset) const {
  if (total_ == 0) return true;
  int64_t p = (pos_ + offset) % total_;
  for (size_t i = 0; i < dashes_->size(); ++i) {
    if (p < (*dashes_)[i]) return i % 2 == 0;
    p -= (*dashes_)[i];
  }
  return false;
}

void PenTrace::Push(std::vector<Span>& v, int64_t x, int64_t y) {
  const int xi = static_cast<int>(x), yi = static_cast<int>(y);
  if (!v.empty()) {
    Span& last = v.back();
    if (last.y == yi && last.x1 == xi) {
      ++last.x1;
      return;
    }
    if (last.y == yi && last.x0 == xi + 1) {
      --last.x0;
      return;
    }
  }
  v.push_back(Span{yi, xi, xi + 1});
}

void PenTrace::Add(bool is_on, int64_t x, int64_t y) { Push(is_on ? on : off, x, y); }

void TraceLine(Point64 a, Point64 b, const RECT& window, Dasher& dash, PenTrace& trace) {
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const int64_t n = std::max(adx, ady);
  if (n == 0) return;
  const bool flat = adx >= ady;
  // Pixel k steps k along the major axis; the minor coordinate is the nearest one to the
  // line, rounding halves down (toward the top or the left): ceil(k * dm / n - 1/2).
  const int64_t major0 = flat ? a.x : a.y, minor0 = flat ? a.y : a.x;
  const int64_t step = (flat ? dx : dy) < 0 ? -1 : 1;
  const int64_t dm = flat ? dy : dx;
  const int64_t lo_major = flat ? window.left : window.top, hi_major = flat ? window.right : window.bottom;
  const int64_t lo_minor = flat ? window.top : window.left, hi_minor = flat ? window.bottom : window.right;
  auto minor_at = [&](int64_t k) { return minor0 + CeilDiv(2 * k * dm - n, 2 * n); };

  // Steps whose major coordinate is inside the window.
  int64_t k0, k1;
  if (step > 0) {
    k0 = lo_major - major0;
    k1 = hi_major - major0;
  } else {
    k0 = major0 - hi_major + 1;
    k1 = major0 - lo_major + 1;
  }
  k0 = std::max<int64_t>(k0, 0);
  k1 = std::min<int64_t>(k1, n);
  // The minor coordinate moves monotonically: narrow the steps to those inside the window.
  auto first_where = [&](int64_t lo, int64_t hi, auto pred) {
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      if (pred(mid)) hi = mid;
      else lo = mid + 1;
    }
    return lo;
  };
  if (k0 < k1) {
    if (dm >= 0) {
      const int64_t s = first_where(k0, k1, [&](int64_t k) { return minor_at(k) >= lo_minor; });
      const int64_t e = first_where(s, k1, [&](int64_t k) { return minor_at(k) >= hi_minor; });
      k0 = s;
      k1 = e;
    } else {
      const int64_t s = first_where(k0, k1, [&](int64_t k) { return minor_at(k) < hi_minor; });
      const int64_t e = first_where(s, k1, [&](int64_t k) { return minor_at(k) < lo_minor; });
      k0 = s;
      k1 = e;
    }
  }
  if (k0 < k1) {
    // Incremental form of minor_at: minor = minor0 + q, with r = q * 2n - (2k dm - n) in [0, 2n).
    const int64_t two_n = 2 * n;
    int64_t q = CeilDiv(2 * k0 * dm - n, two_n);
    int64_t r = q * two_n - (2 * k0 * dm - n);
    const bool solid = dash.solid();
    for (int64_t k = k0; k < k1; ++k) {
      const int64_t major = major0 + step * k, minor = minor0 + q;
      const bool on = solid || dash.OnAt(k);
      if (flat) trace.Add(on, major, minor);
      else trace.Add(on, minor, major);
      r -= 2 * dm;
      if (r < 0) {
        r += two_n;
        ++q;
      } else if (r >= two_n) {
        r -= two_n;
        --q;
      }
    }
  }
  dash.Advance(n);
}

void TraceChain(const std::vector<Point64>& chain, const RECT& window, Dasher& dash, PenTrace& trace) {
  const bool solid = dash.solid();
  for (size_t i = 0; i < chain.size(); ++i) {
    const Point64& p = chain[i];
    if (p.x < window.left || p.x >= window.right || p.y < window.top || p.y >= window.bottom) continue;
    trace.Add(solid || dash.OnAt(static_cast<int64_t>(i)), p.x, p.y);
  }
  dash.Advance(static_cast<int64_t>(chain.size()));
}

void StrokeWide(const std::vector<Point64>& input, bool closed, const PenInfo& pen, bool open_caps,
                const RECT& window, std::vector<Span>& out) {
  std::vector<Point64> p;
  p.reserve(input.size());
  for (const Point64& q : input)
    if (p.empty() || !(p.back() == q)) p.push_back(q);
  if (closed && p.size() > 1 && p.front() == p.back()) p.pop_back();
  const size_t n = p.size();
  if (n < 2) return;
  // Pieces reaching past the window by a pen's width cannot touch it.
  const double h = pen.width / 2.0;
  const double reach = h + 2;
  auto near_window = [&](const Point64& q) {
    return q.x >= window.left - reach && q.x <= window.right + reach && q.y >= window.top - reach &&
           q.y <= window.bottom + reach;
  };
  const size_t segments = closed ? n : n - 1;
  struct Dir {
    double ux, uy;
  };
  std::vector<Dir> dirs(segments);
  for (size_t i = 0; i < segments; ++i) {
    const Point64& a = p[i];
    const Point64& b = p[(i + 1) % n];
    const double dx = static_cast<double>(b.x - a.x), dy = static_cast<double>(b.y - a.y);
    const double len = std::hypot(dx, dy);
    dirs[i] = Dir{dx / len, dy / len};
  }
  std::vector<FixD> poly;
  for (size_t i = 0; i < segments; ++i) {
    const Point64& a = p[i];
    const Point64& b = p[(i + 1) % n];
    const double ux = dirs[i].ux, uy = dirs[i].uy;
    const double nx = -uy * h, ny = ux * h;
    double ext_a = 0, ext_b = 0;
    if (!closed && open_caps && pen.cap == PS_ENDCAP_SQUARE) {
      if (i == 0) ext_a = h;
      if (i + 1 == segments) ext_b = h;
    }
    const double ax = static_cast<double>(a.x) - ux * ext_a, ay = static_cast<double>(a.y) - uy * ext_a;
    const double bx = static_cast<double>(b.x) + ux * ext_b, by = static_cast<double>(b.y) + uy * ext_b;
    // Skip segments whose bounding box misses the window.
    const double minx = std::min(ax, bx) - h, maxx = std::max(ax, bx) + h;
    const double miny = std::min(ay, by) - h, maxy = std::max(ay, by) + h;
    if (maxx < window.left - 1 || minx > window.right + 1 || maxy < window.top - 1 || miny > window.bottom + 1)
      continue;
    poly = {{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}};
    ScanPiece(poly, window, out);
  }
  // Joins between segment i - 1 and segment i, at p[i].
  const size_t first_join = closed ? 0 : 1;
  const size_t last_join = closed ? n : n - 1;
  for (size_t i = first_join; i < last_join; ++i) {
    const Point64& v = p[i];
    if (!near_window(v)) continue;
    if (pen.join == PS_JOIN_ROUND) {
      DiscSpans(v, pen.width, window, out);
      continue;
    }
    const Dir& in = dirs[(i + segments - 1) % segments];
    const Dir& outd = dirs[i % segments];
    const double turn = in.ux * outd.uy - in.uy * outd.ux;
    const double dot = in.ux * outd.ux + in.uy * outd.uy;
    if (std::fabs(turn) < 1e-12 && dot > 0) continue;  // straight on: the segments meet flush
    const double side = turn > 0 ? -1.0 : 1.0;          // the outer side of the turn
    const double oax = side * -in.uy * h, oay = side * in.ux * h;
    const double obx = side * -outd.uy * h, oby = side * outd.ux * h;
    const double vx = static_cast<double>(v.x), vy = static_cast<double>(v.y);
    const double cos_t = (oax * obx + oay * oby) / (h * h);
    bool miter = pen.join == PS_JOIN_MITER && 1 + cos_t > 1e-9;
    if (miter && std::sqrt(2 / (1 + cos_t)) > kMiterLimit) miter = false;
    if (miter) {
      const double k = 1 / (1 + cos_t);
      poly = {{vx, vy}, {vx + oax, vy + oay}, {vx + (oax + obx) * k, vy + (oay + oby) * k}, {vx + obx, vy + oby}};
    } else {
      poly = {{vx, vy}, {vx + oax, vy + oay}, {vx + obx, vy + oby}};
    }
    ScanPiece(poly, window, out);
  }
  if (!closed && open_caps && pen.cap == PS_ENDCAP_ROUND) {
    if (near_window(p.front())) DiscSpans(p.front(), pen.width, window, out);
    if (near_window(p.back())) DiscSpans(p.back(), pen.width, window, out);
  }
}

Region Outline::Covered() const {
  std::vector<Span> all = on;
  all.insert(all.end(), off.begin(), off.end());
  Region r = Region::FromSpans(std::move(all));
  return area.empty() ? r : Region::Combine(r, area, RGN_OR);
}

void Outline::Draw(DeviceContext& dc, const PenInfo& pen) const {
  const Region& clip = dc.EffectiveClip();
  const Surface& s = dc.surface();
  if (unite) {
    Region dashes = Region::FromSpans(on);
    if (!area.empty()) dashes = Region::Combine(dashes, area, RGN_OR);
    FillRegion(s, clip, dashes, pen.ink);
    if (!off.empty() && !pen.gap.nothing)
      FillRegion(s, clip, Region::Combine(Region::FromSpans(off), dashes, RGN_DIFF), pen.gap);
    return;
  }
  FillRegion(s, clip, area, pen.ink);
  FillSpans(s, clip, on.data(), on.size(), pen.ink);
  FillSpans(s, clip, off.data(), off.size(), pen.gap);
}

Outline TracePolylines(DeviceContext& dc, const PenInfo& pen, const std::vector<Point64>& pts,
                       const std::vector<size_t>& counts, bool closed) {
  Outline out;
  if (pen.kind == PenInfo::Kind::None) return out;
  const Region& clip = dc.EffectiveClip();
  if (clip.empty()) return out;
  const RECT window = clip.bounds();
  if (pen.kind == PenInfo::Kind::Cosmetic) {
    PenTrace trace;
    Dasher dash(&pen.dashes);
    size_t base = 0;
    for (size_t count : counts) {
      dash.Reset();
      for (size_t i = 0; i + 1 < count; ++i) TraceLine(pts[base + i], pts[base + i + 1], window, dash, trace);
      if (closed && count > 1) TraceLine(pts[base + count - 1], pts[base], window, dash, trace);
      base += count;
    }
    out.on = std::move(trace.on);
    out.off = std::move(trace.off);
    return out;
  }
  std::vector<Span> spans;
  std::vector<Point64> figure;
  size_t base = 0;
  for (size_t count : counts) {
    figure.assign(pts.begin() + static_cast<ptrdiff_t>(base), pts.begin() + static_cast<ptrdiff_t>(base + count));
    StrokeWide(figure, closed, pen, true, window, spans);
    base += count;
  }
  // One united set of pixels, so modes like R2_XORPEN touch each pixel once.
  out.area = Region::FromSpans(std::move(spans));
  return out;
}

}  // namespace gdi

// ---------------------------------------------------------------------------------------
// Win32 entry points

using gdi::DeviceContext;
using gdi::Point64;

namespace {

DeviceContext* DC(HDC hdc) { return gdi::Get<DeviceContext>(hdc); }

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Maps logical points to surface points; false (and ERROR_INVALID_PARAMETER) when one is
// out of range.
bool MapPoints(const DeviceContext& dc, const POINT* pts, size_t count, std::vector<Point64>& out) {
  out.resize(count);
  for (size_t i = 0; i < count; ++i)
    if (!gdi::MapPoint(dc, pts[i].x, pts[i].y, out[i])) return false;
  return true;
}

void DrawLines(DeviceContext& dc, const std::vector<Point64>& pts, const std::vector<size_t>& counts) {
  const gdi::PenInfo pen = gdi::ResolvePen(dc);
  gdi::TracePolylines(dc, pen, pts, counts, false).Draw(dc, pen);
}

}  // namespace

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  const POINT from = dc->state().current_pos;
  std::vector<Point64> pts(2);
  if (!gdi::MapPoint(*dc, from.x, from.y, pts[0]) || !gdi::MapPoint(*dc, x, y, pts[1]))
    return Fail(ERROR_INVALID_PARAMETER);
  DrawLines(*dc, pts, {2});
  dc->state().current_pos = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  if (!pts || count < 2) return Fail(ERROR_INVALID_PARAMETER);
  std::vector<Point64> mapped;
  if (!MapPoints(*dc, pts, static_cast<size_t>(count), mapped)) return Fail(ERROR_INVALID_PARAMETER);
  DrawLines(*dc, mapped, {static_cast<size_t>(count)});
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD count) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  if (count == 0) return TRUE;
  if (!pts) return Fail(ERROR_INVALID_PARAMETER);
  std::vector<POINT> all;
  all.reserve(static_cast<size_t>(count) + 1);
  all.push_back(dc->state().current_pos);
  all.insert(all.end(), pts, pts + count);
  std::vector<Point64> mapped;
  if (!MapPoints(*dc, all.data(), all.size(), mapped)) return Fail(ERROR_INVALID_PARAMETER);
  DrawLines(*dc, mapped, {all.size()});
  dc->state().current_pos = pts[count - 1];
  return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* pts, const DWORD* counts, DWORD polys) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  if (!pts || !counts || polys == 0) return Fail(ERROR_INVALID_PARAMETER);
  std::vector<size_t> sizes(polys);
  size_t total = 0;
  for (DWORD i = 0; i < polys; ++i) {
    if (counts[i] < 2) return Fail(ERROR_INVALID_PARAMETER);
    sizes[i] = counts[i];
    total += counts[i];
  }
  std::vector<Point64> mapped;
  if (!MapPoints(*dc, pts, total, mapped)) return Fail(ERROR_INVALID_PARAMETER);
  DrawLines(*dc, mapped, sizes);
  return TRUE;
}

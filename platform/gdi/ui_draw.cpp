#include "platform/gdi/ui_draw.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/win32/draw.h"

namespace gdi::ui {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

int64_t ISqrt(int64_t v) {
  int64_t r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
  while (r > 0 && r * r > v) --r;
  while ((r + 1) * (r + 1) <= v) ++r;
  return r;
}

int Clamp(int64_t v, int64_t limit) { return static_cast<int>(std::clamp<int64_t>(v, -limit, limit)); }

// Surface coordinates are kept within this after conversion; far beyond any surface.
constexpr int64_t kSurfaceLimit = int64_t{1} << 30;

}  // namespace

Ink Paint(const DeviceContext& dc, COLORREF color) { return Ink::Solid(R2_COPYPEN, dc.Resolve(color)); }
Ink SysPaint(const DeviceContext& dc, int index) { return Paint(dc, GetSysColor(index)); }

RECT ClampRect(const RECT& rc) {
  return RECT{Clamp(rc.left, kCoordLimit), Clamp(rc.top, kCoordLimit), Clamp(rc.right, kCoordLimit),
              Clamp(rc.bottom, kCoordLimit)};
}

Canvas::Canvas(DeviceContext& dc, const RECT& bounds) : dc_(dc), bounds_(ClampRect(bounds)) {
  const DCState& st = dc.state();
  off_x_ = int64_t{st.viewport_org.x} - st.window_org.x + dc.device_origin().x;
  off_y_ = int64_t{st.viewport_org.y} - st.window_org.y + dc.device_origin().y;
  const Region& clip = dc.EffectiveClip();
  if (clip.empty()) {
    row_top_ = row_bottom_ = 0;
    return;
  }
  const RECT b = clip.bounds();
  const int64_t top = std::max<int64_t>(b.top - off_y_, bounds_.top);
  const int64_t bottom = std::min<int64_t>(b.bottom - off_y_, bounds_.bottom);
  row_top_ = static_cast<int>(top);
  row_bottom_ = static_cast<int>(std::max(top, bottom));
}

void Canvas::Fill(const RECT& rc, const Ink& ink) {
  const RECT c = ClampRect(rc);
  const int64_t l = std::max(c.left, bounds_.left), r = std::min(c.right, bounds_.right);
  const int64_t t = std::max(c.top, bounds_.top), b = std::min(c.bottom, bounds_.bottom);
  if (l >= r || t >= b) return;
  const RECT s{Clamp(l + off_x_, kSurfaceLimit), Clamp(t + off_y_, kSurfaceLimit), Clamp(r + off_x_, kSurfaceLimit),
               Clamp(b + off_y_, kSurfaceLimit)};
  FillRects(dc_.surface(), dc_.EffectiveClip(), &s, 1, ink);
}

void Canvas::Fill(std::vector<Span>& spans, const Ink& ink) {
  size_t n = 0;
  for (const Span& sp : spans) {
    if (sp.y < bounds_.top || sp.y >= bounds_.bottom) continue;
    const int64_t x0 = std::max(sp.x0, bounds_.left), x1 = std::min(sp.x1, bounds_.right);
    if (x0 >= x1) continue;
    spans[n++] = Span{Clamp(sp.y + off_y_, kSurfaceLimit), Clamp(x0 + off_x_, kSurfaceLimit),
                      Clamp(x1 + off_x_, kSurfaceLimit)};
  }
  spans.resize(n);
  FillSpans(dc_.surface(), dc_.EffectiveClip(), spans.data(), spans.size(), ink);
}

bool LineRowExtent(POINT a, POINT b, int y, int& x0, int& x1) {
  int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
  if (std::llabs(dx) >= std::llabs(dy)) {
    if (dx < 0) {
      std::swap(a, b);
      dx = -dx;
      dy = -dy;
    }
    const int64_t k = int64_t{y} - a.y;
    int64_t lo, hi;  // offsets u from a.x, inclusive
    if (dy == 0) {
      if (k != 0) return false;
      lo = 0;
      hi = dx;
    } else if (dy > 0) {
      // Row of offset u is floor((2*u*dy + dx) / (2*dx)): (2k-1)dx <= 2u*dy < (2k+1)dx.
      lo = CeilDiv((2 * k - 1) * dx, 2 * dy);
      hi = CeilDiv((2 * k + 1) * dx, 2 * dy) - 1;
    } else {
      const int64_t e = -dy;
      lo = FloorDiv(-(2 * k + 1) * dx, 2 * e) + 1;
      hi = FloorDiv(-(2 * k - 1) * dx, 2 * e);
    }
    lo = std::max<int64_t>(lo, 0);
    hi = std::min(hi, dx);
    if (lo > hi) return false;
    x0 = static_cast<int>(a.x + lo);
    x1 = static_cast<int>(a.x + hi + 1);
    return true;
  }
  if (dy < 0) {
    std::swap(a, b);
    dx = -dx;
    dy = -dy;
  }
  const int64_t v = int64_t{y} - a.y;
  if (v < 0 || v > dy) return false;
  x0 = static_cast<int>(a.x + FloorDiv(2 * v * dx + dy, 2 * dy));
  x1 = x0 + 1;
  return true;
}

void ConvexPolygonSpans(const POINT* pts, size_t count, int row_top, int row_bottom, std::vector<Span>& out) {
  if (count == 0) return;
  int ymin = pts[0].y, ymax = pts[0].y;
  for (size_t i = 1; i < count; ++i) {
    ymin = std::min(ymin, static_cast<int>(pts[i].y));
    ymax = std::max(ymax, static_cast<int>(pts[i].y));
  }
  const int y0 = std::max(ymin, row_top);
  const int y1 = static_cast<int>(std::min<int64_t>(int64_t{ymax} + 1, row_bottom));
  for (int y = y0; y < y1; ++y) {
    int lo = INT_MAX, hi = INT_MIN;
    for (size_t i = 0; i < count; ++i) {
      const POINT a = pts[i], b = pts[(i + 1) % count];
      if (y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) continue;
      int x0, x1;
      if (LineRowExtent(a, b, y, x0, x1)) {
        lo = std::min(lo, x0);
        hi = std::max(hi, x1);
      }
    }
    if (lo < hi) out.push_back(Span{y, lo, hi});
  }
}

bool DiscRow(int left, int top, int d, int y, int& x0, int& x1) {
  if (d <= 0) return false;
  // Doubled coordinates keep the centre (left + d/2, top + d/2) and pixel centres integral.
  const int64_t cx2 = 2 * int64_t{left} + d, cy2 = 2 * int64_t{top} + d;
  const int64_t yy = 2 * int64_t{y} + 1 - cy2;
  const int64_t room = int64_t{d} * d - yy * yy;
  if (room < 0) return false;
  const int64_t m = ISqrt(room);
  const int64_t a = CeilDiv(cx2 - 1 - m, 2), b = FloorDiv(cx2 - 1 + m, 2) + 1;
  if (a >= b) return false;
  x0 = static_cast<int>(a);
  x1 = static_cast<int>(b);
  return true;
}

}  // namespace gdi::ui

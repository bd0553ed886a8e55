// Clipping: the DC's clip region (device coordinates) and the queries on what drawing may touch.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/dc.h"

using gdi::DCState;
using gdi::DeviceContext;
using gdi::Region;

namespace {

DeviceContext* DC(HDC hdc) { return gdi::Get<DeviceContext>(hdc); }

// The whole device space of a DC, in device coordinates.
RECT DeviceRect(const DeviceContext& dc) {
  const gdi::Surface& s = dc.surface();
  const POINT o = dc.device_origin();
  return RECT{-o.x, -o.y, s.width - o.x, s.height - o.y};
}

// The complexity of what drawing may now touch.
int ClipComplexity(DeviceContext& dc) { return dc.EffectiveClip().complexity(); }

// Replaces the DC's clip by (current clip, or the whole device when none) combined with r.
int CombineClip(DeviceContext& dc, const Region& r, int mode) {
  auto& clip = dc.state().clip;
  const Region base = clip ? *clip : Region(DeviceRect(dc));
  clip = Region::Combine(base, r, mode);
  dc.ClipChanged();
  return ClipComplexity(dc);
}

// Computed wide and clamped: a rectangle meant as "everything" must not wrap around when
// the origins move it past the coordinate range.
RECT LogicalToDevice(const DeviceContext& dc, int left, int top, int right, int bottom) {
  const DCState& st = dc.state();
  const int64_t dx = int64_t{st.viewport_org.x} - st.window_org.x;
  const int64_t dy = int64_t{st.viewport_org.y} - st.window_org.y;
  const auto clamp = [](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  const LONG x0 = clamp(left + dx), x1 = clamp(right + dx), y0 = clamp(top + dy), y1 = clamp(bottom + dy);
  return RECT{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

}  // namespace

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return ERROR;
  if (mode < RGN_AND || mode > RGN_COPY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  if (!rgn) {
    if (mode != RGN_COPY) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    dc->state().clip.reset();
    dc->ClipChanged();
    return ClipComplexity(*dc);
  }
  auto* r = gdi::Get<gdi::RegionObject>(rgn);
  if (!r) return ERROR;
  if (mode == RGN_COPY) {
    dc->state().clip = r->region;
    dc->ClipChanged();
    return ClipComplexity(*dc);
  }
  return CombineClip(*dc, r->region, mode);
}

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return ERROR;
  return CombineClip(*dc, Region(LogicalToDevice(*dc, left, top, right, bottom)), RGN_AND);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return ERROR;
  return CombineClip(*dc, Region(LogicalToDevice(*dc, left, top, right, bottom)), RGN_DIFF);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return ERROR;
  if (dc->state().clip) {
    const RECT b = dc->state().clip->bounds();
    const auto fits = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    if (!dc->state().clip->empty() && (!fits(int64_t{b.left} + dx) || !fits(int64_t{b.right} + dx) ||
                                       !fits(int64_t{b.top} + dy) || !fits(int64_t{b.bottom} + dy))) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    dc->state().clip->Offset(dx, dy);
    dc->ClipChanged();
  }
  return ClipComplexity(*dc);
}

int GetClipBox(HDC hdc, LPRECT rc) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !rc) return ERROR;
  const Region& clip = dc->EffectiveClip();
  if (clip.empty()) {
    *rc = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  const RECT b = clip.bounds();
  const POINT o = dc->device_origin();
  const POINT tl = dc->FromDevice(POINT{b.left - o.x, b.top - o.y});
  *rc = RECT{tl.x, tl.y, tl.x + (b.right - b.left), tl.y + (b.bottom - b.top)};
  return clip.complexity();
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  DeviceContext* dc = DC(hdc);
  auto* r = gdi::Get<gdi::RegionObject>(rgn);
  if (!dc || !r) return -1;
  if (!dc->state().clip) return 0;
  r->region = *dc->state().clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  const POINT p = dc->ToSurface(POINT{x, y});
  return dc->EffectiveClip().Contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rc) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !rc) return FALSE;
  const POINT a = dc->ToSurface(POINT{rc->left, rc->top});
  const POINT b = dc->ToSurface(POINT{rc->right, rc->bottom});
  const RECT r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return dc->EffectiveClip().Intersects(r) ? TRUE : FALSE;
}

// Region handles: creation, algebra, queries, the RGNDATA exchange form and the region fills.
//
// Index
//   [SECTION] Helpers
//   [SECTION] Creation and algebra
//   [SECTION] Queries
//   [SECTION] RGNDATA
//   [SECTION] Fills
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"

using gdi::DeviceContext;
using gdi::Region;
using gdi::RegionObject;

namespace {

// [SECTION] Helpers -------------------------------------------------------------------

using Intervals = std::vector<std::pair<int, int>>;

RegionObject* Rgn(HRGN h) { return gdi::Get<RegionObject>(h); }

int Clamp32(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// One band of a region: rows [top, bottom) holding sorted, disjoint x intervals.
struct Band {
  int top;
  int bottom;
  Intervals xs;
};

std::vector<Band> BandsOf(const Region& r) {
  std::vector<Band> bands;
  const auto& rects = r.rects();
  for (size_t i = 0; i < rects.size();) {
    Band b{rects[i].top, rects[i].bottom, {}};
    for (; i < rects.size() && rects[i].top == b.top; ++i) b.xs.emplace_back(rects[i].left, rects[i].right);
    bands.push_back(std::move(b));
  }
  return bands;
}

// a := a ∩ b, both sorted and disjoint.
void IntersectIntervals(Intervals& a, const Intervals& b) {
  Intervals out;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const int lo = std::max(a[i].first, b[j].first);
    const int hi = std::min(a[i].second, b[j].second);
    if (lo < hi) out.emplace_back(lo, hi);
    if (a[i].second < b[j].second) ++i;
    else ++j;
  }
  a = std::move(out);
}

// The pixels p of r whose whole box [p.x - w, p.x + w] x [p.y - h, p.y + h] lies in r
// (w, h >= 0). The box is separable: each run shrinks by w on both sides, then a row keeps
// what every row within h above and below it holds. Works on the band list directly, so
// no coordinate is ever moved outside the region and nothing can overflow.
Region Eroded(const Region& r, int64_t w, int64_t h) {
  std::vector<Band> bands;
  for (Band& b : BandsOf(r)) {
    Intervals xs;
    for (const auto& [x0, x1] : b.xs)
      if (int64_t{x0} + w < int64_t{x1} - w) xs.emplace_back(static_cast<int>(x0 + w), static_cast<int>(x1 - w));
    if (!xs.empty()) bands.push_back(Band{b.top, b.bottom, std::move(xs)});
  }
  Region::Builder builder;
  if (h == 0) {
    for (const Band& b : bands) builder.AddBand(b.top, b.bottom, b.xs);
    return builder.Finish();
  }
  // A window of rows never crosses a gap, so each stack of touching bands is eroded alone.
  size_t first = 0;
  while (first < bands.size()) {
    size_t last = first;
    while (last + 1 < bands.size() && bands[last + 1].top == bands[last].bottom) ++last;
    const int64_t lo = int64_t{bands[first].top} + h, hi = int64_t{bands[last].bottom} - h;
    if (lo < hi) {
      // The rows a window [y - h, y + h] spans change only where one of its ends meets a
      // band top.
      std::vector<int64_t> cuts{lo, hi};
      for (size_t j = first; j <= last; ++j) {
        for (const int64_t c : {int64_t{bands[j].top} + h, int64_t{bands[j].top} - h})
          if (c > lo && c < hi) cuts.push_back(c);
      }
      std::sort(cuts.begin(), cuts.end());
      cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
      size_t top_band = first, bottom_band = first;
      Intervals xs;
      for (size_t k = 0; k + 1 < cuts.size(); ++k) {
        const int64_t y = cuts[k];
        while (bands[top_band].bottom <= y - h) ++top_band;
        while (bands[bottom_band].bottom <= y + h) ++bottom_band;
        xs = bands[top_band].xs;
        for (size_t j = top_band + 1; j <= bottom_band && !xs.empty(); ++j) IntersectIntervals(xs, bands[j].xs);
        builder.AddBand(static_cast<int>(y), static_cast<int>(cuts[k + 1]), xs);
      }
    }
    first = last + 1;
  }
  return builder.Finish();
}

bool ValidMode(int mode) { return mode >= RGN_AND && mode <= RGN_COPY; }

// The region of loose rectangles (any order, may overlap or touch), by a sweep from top to
// bottom that only looks at the rectangles spanning the current band, so RGNDATA of a large
// banded region is rebuilt in about linear time.
Region FromLooseRects(std::vector<RECT> rects) {
  std::erase_if(rects, [](const RECT& r) { return r.left >= r.right || r.top >= r.bottom; });
  std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  std::vector<int> edges;
  edges.reserve(rects.size() * 2);
  for (const RECT& r : rects) {
    edges.push_back(r.top);
    edges.push_back(r.bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  Region::Builder builder;
  std::vector<RECT> active;
  Intervals xs;
  size_t next = 0;
  for (size_t e = 0; e + 1 < edges.size(); ++e) {
    const int top = edges[e];
    std::erase_if(active, [top](const RECT& r) { return r.bottom <= top; });
    for (; next < rects.size() && rects[next].top == top; ++next) active.push_back(rects[next]);
    // Every edge is a band boundary, so each active rectangle spans the whole band.
    xs.clear();
    for (const RECT& r : active) xs.emplace_back(r.left, r.right);
    std::sort(xs.begin(), xs.end());
    builder.AddBand(top, edges[e + 1], xs);
  }
  return builder.Finish();
}

}  // namespace

// [SECTION] Creation and algebra --------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return gdi::MakeRegion(Region(RECT{left, top, right, bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
  if (!rc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  RegionObject* r = Rgn(rgn);
  if (!r) return FALSE;
  r->region.SetRect(RECT{left, top, right, bottom});
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  RegionObject* d = Rgn(dst);
  RegionObject* a = Rgn(src1);
  if (!d || !a) return ERROR;
  if (!ValidMode(mode)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  if (mode == RGN_COPY) {
    if (d != a) d->region = a->region;
    return d->region.complexity();
  }
  RegionObject* b = Rgn(src2);
  if (!b) return ERROR;
  // Combine builds a new region, so dst may be either source.
  d->region = Region::Combine(a->region, b->region, mode);
  return d->region.complexity();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  RegionObject* r = Rgn(rgn);
  if (!r) return ERROR;
  Region& region = r->region;
  if (!region.empty()) {
    const RECT b = region.bounds();
    const auto fits = [](int64_t v) { return v >= INT_MIN && v <= INT_MAX; };
    if (!fits(int64_t{b.left} + dx) || !fits(int64_t{b.right} + dx) || !fits(int64_t{b.top} + dy) ||
        !fits(int64_t{b.bottom} + dy)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    region.Offset(dx, dy);
  }
  return region.complexity();
}

// [SECTION] Queries ---------------------------------------------------------------------

int GetRgnBox(HRGN rgn, LPRECT rc) {
  RegionObject* r = Rgn(rgn);
  if (!r) return ERROR;
  if (!rc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  *rc = r->region.bounds();  // all zero when empty
  return r->region.complexity();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  RegionObject* r = Rgn(rgn);
  return r && r->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
  RegionObject* r = Rgn(rgn);
  if (!r || !rc) return FALSE;
  const RECT ordered{std::min(rc->left, rc->right), std::min(rc->top, rc->bottom), std::max(rc->left, rc->right),
                     std::max(rc->top, rc->bottom)};
  return r->region.Intersects(ordered) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObject* ra = Rgn(a);
  RegionObject* rb = Rgn(b);
  if (!ra || !rb) return FALSE;
  // Both are in canonical form, so equal pixel sets have equal rectangle lists.
  return ra->region == rb->region ? TRUE : FALSE;
}

// [SECTION] RGNDATA ---------------------------------------------------------------------

DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* data) {
  RegionObject* r = Rgn(rgn);
  if (!r) return 0;
  const auto& rects = r->region.rects();
  const uint64_t rect_bytes = uint64_t{rects.size()} * sizeof(RECT);
  const uint64_t needed = sizeof(RGNDATAHEADER) + rect_bytes;
  if (needed > UINT32_MAX) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!data) return static_cast<DWORD>(needed);
  if (size < needed) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rect_bytes);
  header.rcBound = r->region.bounds();
  // The rectangles follow the header directly; copy bytes, the buffer need not be aligned.
  char* out = reinterpret_cast<char*>(data);
  std::memcpy(out, &header, sizeof header);
  if (!rects.empty()) std::memcpy(out + sizeof header, rects.data(), rect_bytes);
  return static_cast<DWORD>(needed);
}

// Transforms are not supported: only the identity (a null xform) is. Damaged data (a wrong
// header size or type, more rectangles than the given byte count holds, an inverted
// rectangle) is refused; empty rectangles add nothing; rcBound and nRgnSize are not
// trusted, the region is rebuilt from the rectangles.
HRGN ExtCreateRegion(const void* xform, DWORD count, const RGNDATA* data) {
  if (xform || !data || count < sizeof(RGNDATAHEADER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  RGNDATAHEADER header;
  std::memcpy(&header, data, sizeof header);
  if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES ||
      uint64_t{header.dwSize} + uint64_t{header.nCount} * sizeof(RECT) > count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<RECT> rects(header.nCount);
  if (!rects.empty())
    std::memcpy(rects.data(), reinterpret_cast<const char*>(data) + header.dwSize, rects.size() * sizeof(RECT));
  for (const RECT& rc : rects) {
    if (rc.left > rc.right || rc.top > rc.bottom) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  return gdi::MakeRegion(FromLooseRects(std::move(rects)));
}

// [SECTION] Fills -----------------------------------------------------------------------
//
// Region fills take logical coordinates and draw in the DC's ROP2 mode: the mix mode
// applies to the interiors of filled objects, and FillRgn, FrameRgn and PaintRgn all fill.

namespace {

// Fills a region given in logical coordinates, clipped by the DC. The region is first cut
// to the clip's box (in logical coordinates), so moving it onto the surface cannot overflow.
void FillLogicalRegion(DeviceContext& dc, const Region& area, const gdi::Ink& ink) {
  if (ink.nothing || area.empty()) return;
  const Region& clip = dc.EffectiveClip();
  if (clip.empty()) return;
  const gdi::DCState& st = dc.state();
  const POINT dev = dc.device_origin();
  const int64_t dx = int64_t{st.viewport_org.x} - st.window_org.x + dev.x;
  const int64_t dy = int64_t{st.viewport_org.y} - st.window_org.y + dev.y;
  const RECT box = clip.bounds();
  const RECT window{Clamp32(box.left - dx), Clamp32(box.top - dy), Clamp32(box.right - dx), Clamp32(box.bottom - dy)};
  Region part = area.Intersected(window);
  if (part.empty()) return;
  part.Offset(static_cast<int>(dx), static_cast<int>(dy));
  gdi::FillRegion(dc.surface(), clip, part, ink);
}

}  // namespace

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  RegionObject* r = Rgn(rgn);
  gdi::Brush* b = gdi::Get<gdi::Brush>(brush);
  if (!dc || !r || !b) return FALSE;
  FillLogicalRegion(*dc, r->region, gdi::BrushInk(*dc, b, dc->state().rop2));
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  RegionObject* r = Rgn(rgn);
  if (!dc || !r) return FALSE;
  FillLogicalRegion(*dc, r->region, gdi::BrushInk(*dc, dc->state().brush.get(), dc->state().rop2));
  return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  RegionObject* r = Rgn(rgn);
  if (!dc || !r) return FALSE;
  FillLogicalRegion(*dc, r->region, gdi::Ink::Solid(R2_NOT, 0));
  return TRUE;
}

// The frame is the part of the region within w pixels (horizontally) or h pixels
// (vertically) of its outside: the region minus its erosion by a (2w+1) x (2h+1) box. So
// vertical strokes are w wide, horizontal ones h high, and inner corners are filled.
BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  RegionObject* r = Rgn(rgn);
  gdi::Brush* b = gdi::Get<gdi::Brush>(brush);
  if (!dc || !r || !b) return FALSE;
  const Region& area = r->region;
  const Region frame = Region::Combine(area, Eroded(area, std::llabs(w), std::llabs(h)), RGN_DIFF);
  FillLogicalRegion(*dc, frame, gdi::BrushInk(*dc, b, dc->state().rop2));
  return TRUE;
}

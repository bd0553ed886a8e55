// Regions of shapes: ellipses, rounded rectangles and polygons. Each holds exactly the
// pixels the matching drawing call fills without a pen, so the right and bottom edges of
// the bounding box (or of the polygon) are left out.
#include <algorithm>

#include "platform/gdi/objects.h"
#include "platform/gdi/scan.h"

namespace {

// Regions taller than this whose rows all differ would take more memory than is sensible.
constexpr int64_t kMaxRegionRows = int64_t{1} << 22;

HRGN Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

bool InRange(int64_t v) { return v >= -gdi::kMaxCoord && v <= gdi::kMaxCoord; }

HRGN OvalRegion(int left, int top, int right, int bottom, int64_t corner_w, int64_t corner_h, bool ellipse) {
  if (!InRange(left) || !InRange(top) || !InRange(right) || !InRange(bottom))
    return Fail(ERROR_INVALID_PARAMETER);
  const int64_t l = std::min(left, right), r = std::max(left, right) - 1;
  const int64_t t = std::min(top, bottom), b = std::max(top, bottom) - 1;
  if (l >= r || t >= b) return gdi::MakeRegion(gdi::Region());
  const gdi::Oval oval = ellipse ? gdi::Oval::Ellipse(l, t, r, b) : gdi::Oval(l, t, r, b, corner_w, corner_h);
  // Only the rounded rows differ from one another.
  if ((ellipse ? b - t : std::min(corner_h, b - t)) > kMaxRegionRows) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  const RECT window{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r), static_cast<LONG>(b)};
  return gdi::MakeRegion(gdi::FigureRegion(oval, window));
}

HRGN PolygonRegion(const POINT* pts, const INT* counts, int polys, int mode) {
  if (!pts || !counts || polys <= 0 || (mode != ALTERNATE && mode != WINDING)) return Fail(ERROR_INVALID_PARAMETER);
  size_t total = 0;
  for (int i = 0; i < polys; ++i) {
    if (counts[i] < 2) return Fail(ERROR_INVALID_PARAMETER);
    total += static_cast<size_t>(counts[i]);
  }
  std::vector<gdi::FixPoint> fixed(total);
  int64_t minx = INT64_MAX, miny = INT64_MAX, maxx = INT64_MIN, maxy = INT64_MIN;
  bool slanted = false;
  size_t base = 0;
  for (int i = 0; i < polys; ++i) {
    for (int j = 0; j < counts[i]; ++j) {
      const POINT& p = pts[base + j];
      const POINT& q = pts[base + (j + 1) % counts[i]];
      if (!InRange(p.x) || !InRange(p.y)) return Fail(ERROR_INVALID_PARAMETER);
      if (p.x != q.x && p.y != q.y) slanted = true;
      fixed[base + j] = gdi::ToFix(gdi::Point64{p.x, p.y});
      minx = std::min<int64_t>(minx, p.x);
      maxx = std::max<int64_t>(maxx, p.x);
      miny = std::min<int64_t>(miny, p.y);
      maxy = std::max<int64_t>(maxy, p.y);
    }
    base += static_cast<size_t>(counts[i]);
  }
  // Slanted edges make a band per row; straight ones one band per vertex row.
  if (slanted && maxy - miny > kMaxRegionRows) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  const RECT window{static_cast<LONG>(minx), static_cast<LONG>(miny), static_cast<LONG>(maxx), static_cast<LONG>(maxy)};
  gdi::Region::Builder builder;
  gdi::ScanPolygons(fixed.data(), counts, static_cast<size_t>(polys), mode, window,
                    [&](int top, int bottom, const gdi::Intervals& xs) { builder.AddBand(top, bottom, xs); });
  return gdi::MakeRegion(builder.Finish());
}

}  // namespace

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  return OvalRegion(left, top, right, bottom, 0, 0, true);
}

HRGN CreateEllipticRgnIndirect(const RECT* rc) {
  if (!rc) return Fail(ERROR_INVALID_PARAMETER);
  return CreateEllipticRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
  return OvalRegion(left, top, right, bottom, std::abs(int64_t{width}), std::abs(int64_t{height}), false);
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int mode) { return PolygonRegion(pts, &count, 1, mode); }

HRGN CreatePolyPolygonRgn(const POINT* pts, const INT* counts, int polys, int mode) {
  return PolygonRegion(pts, counts, polys, mode);
}

// Flood fills. The area is found span by span with an explicit stack and a visited bitmap
// over the clip bounds (no recursion; memory bounded by the clip area), then filled as one
// region with the DC's brush through its ROP2 mode. Pixels outside the clip region stop the
// fill the way a border does. Neighbours are the four pixels sharing an edge.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/scan.h"

using gdi::DeviceContext;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

class Visited {
 public:
  Visited(const RECT& bounds)
      : left_(bounds.left), top_(bounds.top), width_(static_cast<size_t>(bounds.right - bounds.left)),
        bits_((width_ * static_cast<size_t>(bounds.bottom - bounds.top) + 63) / 64) {}
  bool Test(int x, int y) const {
    const size_t i = Index(x, y);
    return (bits_[i / 64] >> (i % 64)) & 1;
  }
  void Set(int x, int y) {
    const size_t i = Index(x, y);
    bits_[i / 64] |= uint64_t{1} << (i % 64);
  }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y - top_) * width_ + static_cast<size_t>(x - left_); }
  int left_, top_;
  size_t width_;
  std::vector<uint64_t> bits_;
};

}  // namespace

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return FALSE;
  if (type != FLOODFILLBORDER && type != FLOODFILLSURFACE) return Fail(ERROR_INVALID_PARAMETER);
  gdi::Point64 start;
  if (!gdi::MapPoint(*dc, x, y, start)) return FALSE;
  const gdi::Region& clip = dc->EffectiveClip();
  if (clip.empty() || !clip.Contains(static_cast<int>(start.x), static_cast<int>(start.y))) return FALSE;
  const gdi::Surface& s = dc->surface();
  const gdi::Pixel target = dc->Resolve(color);
  const bool border = type == FLOODFILLBORDER;
  auto match = [&](int px, int py) {
    const gdi::Pixel v = s.Row(py)[px] & gdi::kPixelMask;
    return border ? v != target : v == target;
  };
  const int sx = static_cast<int>(start.x), sy = static_cast<int>(start.y);
  if (!match(sx, sy)) return FALSE;

  // The clip region's intervals row by row (its rectangles come sorted by band, then x).
  const RECT bounds = clip.bounds();
  std::vector<gdi::Intervals> rows(static_cast<size_t>(bounds.bottom - bounds.top));
  for (const RECT& r : clip.rects())
    for (int row = r.top; row < r.bottom; ++row) rows[static_cast<size_t>(row - bounds.top)].emplace_back(r.left, r.right);
  auto row_of = [&](int py) -> const gdi::Intervals& { return rows[static_cast<size_t>(py - bounds.top)]; };

  Visited seen(bounds);
  std::vector<gdi::Span> spans;
  std::vector<std::pair<int, int>> stack{{sx, sy}};
  while (!stack.empty()) {
    const auto [px, py] = stack.back();
    stack.pop_back();
    if (seen.Test(px, py) || !match(px, py)) continue;
    const gdi::Intervals& allowed = row_of(py);
    const auto it = std::find_if(allowed.begin(), allowed.end(), [x = px](const gdi::Interval& iv) { return x < iv.second; });
    const int cl = it->first, cr = it->second;  // seeds are only ever pushed inside the clip
    int l = px, r = px + 1;
    while (l - 1 >= cl && !seen.Test(l - 1, py) && match(l - 1, py)) --l;
    while (r < cr && !seen.Test(r, py) && match(r, py)) ++r;
    for (int i = l; i < r; ++i) seen.Set(i, py);
    spans.push_back(gdi::Span{py, l, r});
    for (const int ny : {py - 1, py + 1}) {
      if (ny < bounds.top || ny >= bounds.bottom) continue;
      for (const gdi::Interval& iv : row_of(ny)) {
        const int a = std::max(l, iv.first), b = std::min(r, iv.second);
        bool in_run = false;
        for (int i = a; i < b; ++i) {
          const bool open = !seen.Test(i, ny) && match(i, ny);
          if (open && !in_run) stack.emplace_back(i, ny);
          in_run = open;
        }
      }
    }
  }
  const gdi::Region area = gdi::Region::FromSpans(std::move(spans));
  gdi::FillRegion(s, clip, area, gdi::BrushInk(*dc, dc->state().brush.get(), dc->state().rop2));
  return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF color) { return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER); }

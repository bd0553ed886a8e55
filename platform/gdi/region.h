// Regions as y-x banded rectangle lists, the form all clipping and region calls use.
//
// Canonical form (kept by every operation, so equal pixel sets compare equal):
// - rectangles are non-empty, sorted by top, then by left;
// - a band is a run of rectangles sharing top and bottom; within a band rectangles neither
//   overlap nor touch (touching ones are merged);
// - two vertically adjacent bands (one's bottom is the next one's top) never hold the same
//   x intervals (they are merged into one band).
#pragma once

#include <cstddef>
#include <vector>

#include "platform/win32/types.h"

namespace gdi {

// A horizontal run of pixels [x0, x1) on row y.
struct Span {
  int y;
  int x0;
  int x1;
};

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rc) { SetRect(rc); }

  const std::vector<RECT>& rects() const { return rects_; }
  bool empty() const { return rects_.empty(); }
  RECT bounds() const { return bounds_; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int complexity() const;

  void SetEmpty();
  // An empty or inverted rectangle gives the empty region (coordinates are ordered first,
  // as CreateRectRgn does).
  void SetRect(const RECT& rc);
  void Offset(int dx, int dy);

  bool Contains(int x, int y) const;
  bool Intersects(const RECT& rc) const;
  bool operator==(const Region& other) const { return rects_ == other.rects_; }

  // Region of the given spans (any order, may overlap).
  static Region FromSpans(std::vector<Span> spans);
  // Region of rectangles (any order, may overlap).
  static Region FromRects(const RECT* rects, size_t count);
  // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY (which returns a).
  static Region Combine(const Region& a, const Region& b, int mode);
  Region Intersected(const RECT& rc) const;

  // Calls f(const RECT&) for each non-empty piece of rc inside the region.
  template <class F>
  void ForEachClipped(const RECT& rc, F&& f) const {
    if (rc.left >= rc.right || rc.top >= rc.bottom) return;
    if (rc.right <= bounds_.left || rc.left >= bounds_.right || rc.bottom <= bounds_.top ||
        rc.top >= bounds_.bottom)
      return;
    for (const RECT& r : rects_) {
      if (r.top >= rc.bottom) break;
      if (r.bottom <= rc.top || r.right <= rc.left || r.left >= rc.right) continue;
      RECT piece{r.left > rc.left ? r.left : rc.left, r.top > rc.top ? r.top : rc.top,
                 r.right < rc.right ? r.right : rc.right, r.bottom < rc.bottom ? r.bottom : rc.bottom};
      f(piece);
    }
  }

  // Calls f(y, x0, x1) for each non-empty piece of the span inside the region.
  template <class F>
  void ForEachClippedSpan(int y, int x0, int x1, F&& f) const {
    if (x0 >= x1 || y < bounds_.top || y >= bounds_.bottom) return;
    if (rects_.size() == 1) {
      const RECT& r = rects_[0];
      const int a = x0 > r.left ? x0 : r.left;
      const int b = x1 < r.right ? x1 : r.right;
      if (a < b) f(y, a, b);
      return;
    }
    for (const RECT& r : rects_) {
      if (r.top > y) break;
      if (r.bottom <= y) continue;
      if (r.left >= x1) break;  // later rectangles of this band lie further right
      const int a = x0 > r.left ? x0 : r.left;
      const int b = x1 < r.right ? x1 : r.right;
      if (a < b) f(y, a, b);
    }
  }

  // Builds a region from bands given top to bottom, each with sorted, disjoint x intervals;
  // merges touching intervals and equal adjacent bands. Used by every constructor above.
  class Builder {
   public:
    void AddBand(int top, int bottom, const std::vector<std::pair<int, int>>& xs);
    Region Finish();

   private:
    std::vector<RECT> rects_;
    size_t last_band_ = 0;  // index of the first rectangle of the last band added
    bool has_band_ = false;
  };

 private:
  void UpdateBounds();
  std::vector<RECT> rects_;
  RECT bounds_{0, 0, 0, 0};
};

}  // namespace gdi

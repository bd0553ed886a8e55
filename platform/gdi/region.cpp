#include "platform/gdi/region.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/win32/gdi.h"

namespace gdi {

int Region::complexity() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::SetEmpty() {
  rects_.clear();
  bounds_ = RECT{0, 0, 0, 0};
}

void Region::SetRect(const RECT& rc) {
  RECT r{std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
         std::max(rc.top, rc.bottom)};
  rects_.clear();
  if (r.left < r.right && r.top < r.bottom) rects_.push_back(r);
  UpdateBounds();
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
  UpdateBounds();
}

bool Region::Contains(int x, int y) const {
  if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom) return false;
  for (const RECT& r : rects_) {
    if (r.top > y) break;
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}

bool Region::Intersects(const RECT& rc) const {
  bool any = false;
  ForEachClipped(rc, [&](const RECT&) { any = true; });
  return any;
}

void Region::UpdateBounds() {
  if (rects_.empty()) {
    bounds_ = RECT{0, 0, 0, 0};
    return;
  }
  bounds_ = RECT{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
  for (const RECT& r : rects_) {
    bounds_.left = std::min(bounds_.left, r.left);
    bounds_.right = std::max(bounds_.right, r.right);
  }
}

void Region::Builder::AddBand(int top, int bottom, const std::vector<std::pair<int, int>>& xs) {
  if (top >= bottom) return;
  // Merge touching or overlapping intervals (input is sorted by start).
  const size_t start = rects_.size();
  for (const auto& [x0, x1] : xs) {
    if (x0 >= x1) continue;
    if (rects_.size() > start && x0 <= rects_.back().right) {
      rects_.back().right = std::max(rects_.back().right, static_cast<LONG>(x1));
    } else {
      rects_.push_back(RECT{x0, top, x1, bottom});
    }
  }
  const size_t count = rects_.size() - start;
  if (count == 0) return;
  // Merge with the previous band when it touches and holds the same intervals.
  if (has_band_) {
    const size_t prev_count = start - last_band_;
    if (prev_count == count && rects_[last_band_].bottom == top) {
      bool same = true;
      for (size_t i = 0; i < count && same; ++i)
        same = rects_[last_band_ + i].left == rects_[start + i].left &&
               rects_[last_band_ + i].right == rects_[start + i].right;
      if (same) {
        for (size_t i = 0; i < count; ++i) rects_[last_band_ + i].bottom = bottom;
        rects_.resize(start);
        return;
      }
    }
  }
  last_band_ = start;
  has_band_ = true;
}

Region Region::Builder::Finish() {
  Region r;
  r.rects_ = std::move(rects_);
  r.UpdateBounds();
  rects_.clear();
  has_band_ = false;
  last_band_ = 0;
  return r;
}

Region Region::FromSpans(std::vector<Span> spans) {
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
    return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
  });
  Builder builder;
  std::vector<std::pair<int, int>> xs;
  size_t i = 0;
  while (i < spans.size()) {
    const int y = spans[i].y;
    xs.clear();
    for (; i < spans.size() && spans[i].y == y; ++i)
      if (spans[i].x0 < spans[i].x1) xs.emplace_back(spans[i].x0, spans[i].x1);
    builder.AddBand(y, y + 1, xs);
  }
  return builder.Finish();
}

Region Region::FromRects(const RECT* rects, size_t count) {
  std::vector<int> edges;
  edges.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    if (rects[i].left >= rects[i].right || rects[i].top >= rects[i].bottom) continue;
    edges.push_back(rects[i].top);
    edges.push_back(rects[i].bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  Builder builder;
  std::vector<std::pair<int, int>> xs;
  for (size_t e = 0; e + 1 < edges.size(); ++e) {
    const int top = edges[e], bottom = edges[e + 1];
    xs.clear();
    for (size_t i = 0; i < count; ++i) {
      const RECT& r = rects[i];
      if (r.left < r.right && r.top <= top && r.bottom >= bottom) xs.emplace_back(r.left, r.right);
    }
    std::sort(xs.begin(), xs.end());
    builder.AddBand(top, bottom, xs);
  }
  return builder.Finish();
}

Region Region::Intersected(const RECT& rc) const {
  Builder builder;
  std::vector<std::pair<int, int>> xs;
  size_t i = 0;
  while (i < rects_.size()) {
    const LONG top = rects_[i].top, bottom = rects_[i].bottom;
    xs.clear();
    for (; i < rects_.size() && rects_[i].top == top; ++i) {
      const int a = std::max(rects_[i].left, rc.left), b = std::min(rects_[i].right, rc.right);
      if (a < b) xs.emplace_back(a, b);
    }
    builder.AddBand(std::max(top, rc.top), std::min(bottom, rc.bottom), xs);
  }
  return builder.Finish();
}

namespace {

// Walks a region's bands from top to bottom.
class BandCursor {
 public:
  explicit BandCursor(const std::vector<RECT>& rects) : rects_(rects) {}
  // The x intervals of the band covering row y (none when no band does).
  void Intervals(int y, std::vector<std::pair<int, int>>& out) {
    out.clear();
    while (i_ < rects_.size() && rects_[i_].bottom <= y) ++i_;
    if (i_ >= rects_.size() || rects_[i_].top > y) return;
    for (size_t j = i_; j < rects_.size() && rects_[j].top == rects_[i_].top; ++j)
      out.emplace_back(rects_[j].left, rects_[j].right);
  }

 private:
  const std::vector<RECT>& rects_;
  size_t i_ = 0;
};

bool Apply(int mode, bool in_a, bool in_b) {
  switch (mode) {
    case RGN_AND: return in_a && in_b;
    case RGN_OR: return in_a || in_b;
    case RGN_XOR: return in_a != in_b;
    case RGN_DIFF: return in_a && !in_b;
    default: return in_a;
  }
}

// Combines two sorted, disjoint interval lists.
void CombineIntervals(const std::vector<std::pair<int, int>>& a, const std::vector<std::pair<int, int>>& b,
                      int mode, std::vector<std::pair<int, int>>& out) {
  out.clear();
  size_t ia = 0, ib = 0;
  bool in_a = false, in_b = false;
  int start = 0;
  bool inside = false;
  // Visit every interval edge of both lists in x order.
  // An exhausted list is told apart by its index, not by a sentinel edge value: a real edge
  // may lie at INT32_MAX.
  while (ia < a.size() * 2 || ib < b.size() * 2) {
    const bool has_a = ia < a.size() * 2, has_b = ib < b.size() * 2;
    const int xa = has_a ? (ia % 2 ? a[ia / 2].second : a[ia / 2].first) : 0;
    const int xb = has_b ? (ib % 2 ? b[ib / 2].second : b[ib / 2].first) : 0;
    const int x = !has_a ? xb : !has_b ? xa : std::min(xa, xb);
    if (has_a && xa == x) {
      in_a = !in_a;
      ++ia;
    }
    if (has_b && xb == x) {
      in_b = !in_b;
      ++ib;
    }
    const bool now = Apply(mode, in_a, in_b);
    if (now && !inside) start = x;
    if (!now && inside && start < x) out.emplace_back(start, x);
    inside = now;
  }
}

}  // namespace

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  if (mode == RGN_AND && (a.empty() || b.empty())) return Region();
  std::vector<int> edges;
  edges.reserve((a.rects_.size() + b.rects_.size()) * 2);
  for (const RECT& r : a.rects_) {
    edges.push_back(r.top);
    edges.push_back(r.bottom);
  }
  for (const RECT& r : b.rects_) {
    edges.push_back(r.top);
    edges.push_back(r.bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  BandCursor ca(a.rects_), cb(b.rects_);
  std::vector<std::pair<int, int>> xa, xb, xs;
  Builder builder;
  for (size_t e = 0; e + 1 < edges.size(); ++e) {
    ca.Intervals(edges[e], xa);
    cb.Intervals(edges[e], xb);
    CombineIntervals(xa, xb, mode, xs);
    builder.AddBand(edges[e], edges[e + 1], xs);
  }
  return builder.Finish();
}

}  // namespace gdi

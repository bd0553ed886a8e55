// Region handles: algebra against a pixel-grid reference, canonical form, RGNDATA exchange,
// and the region fills.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "support/memdc.h"

using testsupport::MemDC;

namespace {

// The slow, obviously correct model of a region: one bool per pixel of a window.
struct Grid {
  static constexpr int kX0 = -4, kY0 = -4, kW = 44, kH = 44;
  std::vector<uint8_t> on = std::vector<uint8_t>(kW * kH, 0);

  bool at(int x, int y) const {
    return x >= kX0 && y >= kY0 && x < kX0 + kW && y < kY0 + kH && on[(y - kY0) * kW + (x - kX0)];
  }
  void set(int x, int y, bool v) { on[(y - kY0) * kW + (x - kX0)] = v; }
  void AddRect(const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) set(x, y, true);
  }
  bool operator==(const Grid& o) const { return on == o.on; }
  bool empty() const {
    for (uint8_t b : on)
      if (b) return false;
    return true;
  }
  RECT Bounds() const {
    RECT b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = kY0; y < kY0 + kH; ++y)
      for (int x = kX0; x < kX0 + kW; ++x)
        if (at(x, y)) b = RECT{std::min<LONG>(b.left, x), std::min<LONG>(b.top, y), std::max<LONG>(b.right, x + 1),
                               std::max<LONG>(b.bottom, y + 1)};
    return empty() ? RECT{0, 0, 0, 0} : b;
  }
  int Complexity() const {
    if (empty()) return NULLREGION;
    const RECT b = Bounds();
    for (int y = b.top; y < b.bottom; ++y)
      for (int x = b.left; x < b.right; ++x)
        if (!at(x, y)) return COMPLEXREGION;
    return SIMPLEREGION;
  }
};

bool Apply(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
  }
}

std::vector<RECT> RectsOf(HRGN rgn) {
  const DWORD size = GetRegionData(rgn, 0, nullptr);
  std::vector<char> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  EXPECT_EQ(GetRegionData(rgn, size, data), size);
  std::vector<RECT> rects(data->rdh.nCount);
  if (!rects.empty()) std::memcpy(rects.data(), buf.data() + sizeof(RGNDATAHEADER), rects.size() * sizeof(RECT));
  return rects;
}

Grid GridOf(HRGN rgn) {
  Grid g;
  for (const RECT& r : RectsOf(rgn)) g.AddRect(r);
  return g;
}

// Sorted by top then left, bands of equal top and bottom, no touching rectangles in a
// band, no two touching bands with the same x intervals.
::testing::AssertionResult IsCanonical(const std::vector<RECT>& rects) {
  size_t band = 0;  // first rectangle of the current band
  size_t prev_band = SIZE_MAX;
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT& r = rects[i];
    if (r.left >= r.right || r.top >= r.bottom) return ::testing::AssertionFailure() << "empty rect " << i;
    if (i > band && r.top != rects[band].top) {
      prev_band = band;
      band = i;
    }
    if (i > band) {
      if (r.bottom != rects[band].bottom) return ::testing::AssertionFailure() << "ragged band at " << i;
      if (r.left <= rects[i - 1].right) return ::testing::AssertionFailure() << "touching or unsorted at " << i;
    }
    if (i == band && prev_band != SIZE_MAX) {
      const RECT& p = rects[prev_band];
      if (r.top < p.bottom) return ::testing::AssertionFailure() << "bands overlap at " << i;
      if (r.top == p.bottom) {
        // Same intervals in a touching band would have been merged.
        size_t j = i, k = prev_band;
        while (j < rects.size() && rects[j].top == r.top && k < i && rects[j].left == rects[k].left &&
               rects[j].right == rects[k].right) {
          ++j;
          ++k;
        }
        if (k == i && (j == rects.size() || rects[j].top != r.top))
          return ::testing::AssertionFailure() << "unmerged bands at " << i;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// A region made of random rectangles, and its grid.
HRGN RandomRegion(std::mt19937& rng, Grid& grid, std::vector<RECT>* parts = nullptr) {
  std::uniform_int_distribution<int> coord(0, 28), count(0, 6), len(1, 10);  // stays inside the grid
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int n = count(rng);
  for (int i = 0; i < n; ++i) {
    const int x = coord(rng), y = coord(rng);
    const RECT r{x, y, x + len(rng), y + len(rng)};
    grid.AddRect(r);
    if (parts) parts->push_back(r);
    HRGN part = CreateRectRgnIndirect(&r);
    CombineRgn(rgn, rgn, part, RGN_OR);
    DeleteObject(part);
  }
  return rgn;
}

// The same pixels as one-row runs, handed over as RGNDATA: a different route to
// the region, which must still come out equal.
HRGN RowRegion(const Grid& g) {
  std::vector<RECT> rows;
  for (int y = Grid::kY0; y < Grid::kY0 + Grid::kH; ++y)
    for (int x = Grid::kX0; x < Grid::kX0 + Grid::kW; ++x) {
      if (!g.at(x, y)) continue;
      const int x0 = x;
      while (g.at(x, y)) ++x;
      rows.push_back(RECT{x0, y, x, y + 1});
    }
  std::vector<char> buf(sizeof(RGNDATAHEADER) + rows.size() * sizeof(RECT));
  RGNDATAHEADER h{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rows.size()), 0, {0, 0, 0, 0}};
  std::memcpy(buf.data(), &h, sizeof h);
  if (!rows.empty()) std::memcpy(buf.data() + sizeof h, rows.data(), rows.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), reinterpret_cast<RGNDATA*>(buf.data()));
}

}  // namespace

TEST(RegionAlgebra, EveryModeMatchesThePixelReferenceAndStaysCanonical) {
  std::mt19937 rng(20240611);
  const int modes[] = {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY};
  int complexities[4] = {};
  for (int trial = 0; trial < 100; ++trial) {
    Grid ga, gb;
    std::vector<RECT> parts;
    HRGN a = RandomRegion(rng, ga, &parts);
    HRGN b = RandomRegion(rng, gb);
    ASSERT_TRUE(IsCanonical(RectsOf(a))) << "trial " << trial;
    // The same overlapping rectangles handed over loose as RGNDATA give the same region.
    std::vector<char> loose(sizeof(RGNDATAHEADER) + parts.size() * sizeof(RECT));
    const RGNDATAHEADER h{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(parts.size()), 0, {}};
    std::memcpy(loose.data(), &h, sizeof h);
    if (!parts.empty()) std::memcpy(loose.data() + sizeof h, parts.data(), parts.size() * sizeof(RECT));
    HRGN from_data =
        ExtCreateRegion(nullptr, static_cast<DWORD>(loose.size()), reinterpret_cast<RGNDATA*>(loose.data()));
    EXPECT_TRUE(EqualRgn(from_data, a)) << "trial " << trial;
    DeleteObject(from_data);
    for (int mode : modes) {
      Grid want;
      for (int y = Grid::kY0; y < Grid::kY0 + Grid::kH; ++y)
        for (int x = Grid::kX0; x < Grid::kX0 + Grid::kW; ++x) want.set(x, y, Apply(mode, ga.at(x, y), gb.at(x, y)));
      HRGN dst = CreateRectRgn(0, 0, 0, 0);
      const int type = CombineRgn(dst, a, b, mode);
      const std::vector<RECT> rects = RectsOf(dst);
      ASSERT_TRUE(IsCanonical(rects)) << "trial " << trial << " mode " << mode;
      ASSERT_TRUE(GridOf(dst) == want) << "trial " << trial << " mode " << mode;
      EXPECT_EQ(type, want.Complexity()) << "trial " << trial << " mode " << mode;
      ++complexities[type];
      RECT box;
      EXPECT_EQ(GetRgnBox(dst, &box), type);
      const RECT want_box = want.Bounds();
      EXPECT_TRUE(EqualRect(&box, &want_box)) << "trial " << trial << " mode " << mode;
      // Canonical form makes equality exact, whatever route built the pixels.
      HRGN rows = RowRegion(want);
      EXPECT_TRUE(EqualRgn(dst, rows)) << "trial " << trial << " mode " << mode;
      DeleteObject(rows);
      // The destination may be one of the sources.
      HRGN in_place = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(in_place, a, nullptr, RGN_COPY);
      EXPECT_EQ(CombineRgn(in_place, in_place, b, mode), type);
      EXPECT_TRUE(EqualRgn(in_place, dst));
      CombineRgn(in_place, b, nullptr, RGN_COPY);
      CombineRgn(in_place, a, in_place, mode);
      EXPECT_TRUE(EqualRgn(in_place, dst));
      DeleteObject(in_place);
      DeleteObject(dst);
    }
    // Point and rectangle queries.
    std::uniform_int_distribution<int> c(-3, 38), d(-8, 8);
    for (int k = 0; k < 40; ++k) {
      const int x = c(rng), y = c(rng);
      EXPECT_EQ(PtInRegion(a, x, y) != FALSE, ga.at(x, y));
      const RECT r{x, y, x + d(rng), y + d(rng)};  // often inverted: ordered first
      bool any = false;
      for (int yy = std::min(r.top, r.bottom); yy < std::max(r.top, r.bottom); ++yy)
        for (int xx = std::min(r.left, r.right); xx < std::max(r.left, r.right); ++xx) any = any || ga.at(xx, yy);
      EXPECT_EQ(RectInRegion(a, &r) != FALSE, any) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    DeleteObject(a);
    DeleteObject(b);
  }
  // The random input reached every kind of result.
  EXPECT_GT(complexities[NULLREGION], 0);
  EXPECT_GT(complexities[SIMPLEREGION], 0);
  EXPECT_GT(complexities[COMPLEXREGION], 0);
}

TEST(RegionAlgebra, ResultTypesAndMerging) {
  HRGN left = CreateRectRgn(0, 0, 5, 5);
  HRGN right = CreateRectRgn(5, 0, 10, 5);
  HRGN below = CreateRectRgn(0, 5, 5, 9);
  HRGN dst = CreateRectRgn(0, 0, 0, 0);
  // Touching rectangles merge into one: a simple region.
  EXPECT_EQ(CombineRgn(dst, left, right, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(RectsOf(dst).size(), 1u);
  EXPECT_EQ(CombineRgn(dst, left, below, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(dst, right, below, RGN_OR), COMPLEXREGION);
  // Touching is not overlapping.
  EXPECT_EQ(CombineRgn(dst, left, right, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(dst, left, left, RGN_XOR), NULLREGION);
  EXPECT_EQ(CombineRgn(dst, left, left, RGN_DIFF), NULLREGION);
  RECT box{1, 2, 3, 4};
  EXPECT_EQ(GetRgnBox(dst, &box), NULLREGION);
  const RECT zero{0, 0, 0, 0};
  EXPECT_TRUE(EqualRect(&box, &zero));
  // A hole makes a complex region of three bands.
  HRGN hole = CreateRectRgn(2, 2, 3, 3);
  EXPECT_EQ(CombineRgn(dst, left, hole, RGN_DIFF), COMPLEXREGION);
  EXPECT_EQ(RectsOf(dst).size(), 4u);
  EXPECT_FALSE(PtInRegion(dst, 2, 2));
  EXPECT_TRUE(PtInRegion(dst, 3, 2));
  for (HRGN r : {left, right, below, dst, hole}) DeleteObject(r);
}

TEST(RegionAlgebra, BadModesAndHandlesFailAndLeaveTheDestinationAlone) {
  HRGN a = CreateRectRgn(0, 0, 4, 4);
  HRGN dst = CreateRectRgn(10, 10, 12, 12);
  SetLastError(0);
  EXPECT_EQ(CombineRgn(dst, a, a, 0), ERROR);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CombineRgn(dst, a, a, RGN_COPY + 1), ERROR);
  EXPECT_EQ(CombineRgn(dst, a, nullptr, RGN_AND), ERROR);
  EXPECT_TRUE(PtInRegion(dst, 10, 10));
  // RGN_COPY never looks at the second source.
  EXPECT_EQ(CombineRgn(dst, a, reinterpret_cast<HRGN>(0x1234), RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(dst, 0, 0));
  // A handle of another type, and a deleted one.
  EXPECT_EQ(CombineRgn(dst, static_cast<HRGN>(GetStockObject(BLACK_BRUSH)), a, RGN_OR), ERROR);
  HRGN gone = CreateRectRgn(0, 0, 1, 1);
  DeleteObject(gone);
  SetLastError(0);
  EXPECT_EQ(CombineRgn(dst, gone, a, RGN_OR), ERROR);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(CombineRgn(gone, a, a, RGN_OR), ERROR);
  EXPECT_EQ(OffsetRgn(gone, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(gone, 0, 0));
  EXPECT_FALSE(EqualRgn(gone, gone));
  EXPECT_FALSE(SetRectRgn(gone, 0, 0, 1, 1));
  RECT box;
  EXPECT_EQ(GetRgnBox(gone, &box), ERROR);
  EXPECT_EQ(GetRgnBox(a, nullptr), ERROR);
  EXPECT_FALSE(RectInRegion(a, nullptr));
  EXPECT_EQ(CreateRectRgnIndirect(nullptr), nullptr);
  DeleteObject(a);
  DeleteObject(dst);
}

TEST(RegionAlgebra, CoordinatesAreOrderedAndEdgesExcluded) {
  HRGN r = CreateRectRgn(8, 6, 2, 1);  // inverted: ordered first
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  const RECT want{2, 1, 8, 6};
  EXPECT_TRUE(EqualRect(&box, &want));
  EXPECT_TRUE(PtInRegion(r, 2, 1));
  EXPECT_FALSE(PtInRegion(r, 8, 3));
  EXPECT_FALSE(PtInRegion(r, 3, 6));
  const RECT touching{8, 1, 12, 6}, inverted{12, 6, 7, 1}, empty{3, 3, 3, 5};
  EXPECT_FALSE(RectInRegion(r, &touching));
  EXPECT_TRUE(RectInRegion(r, &inverted));
  EXPECT_FALSE(RectInRegion(r, &empty));
  EXPECT_TRUE(SetRectRgn(r, 5, 5, 5, 9));
  EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
  EXPECT_TRUE(SetRectRgn(r, 4, 4, 0, 0));
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 4);
  EXPECT_EQ(OffsetRgn(r, -10, 3), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(r, -10, 3));
  EXPECT_FALSE(PtInRegion(r, -6, 3));
  HRGN empty_rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(OffsetRgn(empty_rgn, 5, 5), NULLREGION);
  EXPECT_EQ(GetRgnBox(empty_rgn, &box), NULLREGION);
  EXPECT_EQ(box.left, 0);
  DeleteObject(r);
  DeleteObject(empty_rgn);
}

TEST(RegionAlgebra, ExtremeCoordinatesNeitherOverflowNorLoseEdges) {
  HRGN wide = CreateRectRgn(0, 0, INT_MAX, 10);
  HRGN empty = CreateRectRgn(0, 0, 0, 0);
  HRGN dst = CreateRectRgn(0, 0, 0, 0);
  // An edge at the largest coordinate survives every mode.
  EXPECT_EQ(CombineRgn(dst, wide, empty, RGN_OR), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(dst, wide));
  EXPECT_EQ(CombineRgn(dst, empty, wide, RGN_XOR), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(dst, INT_MAX - 1, 5));
  HRGN tail = CreateRectRgn(INT_MAX - 5, 0, INT_MAX, 10);
  EXPECT_EQ(CombineRgn(dst, wide, tail, RGN_DIFF), SIMPLEREGION);
  RECT box;
  GetRgnBox(dst, &box);
  EXPECT_EQ(box.right, INT_MAX - 5);
  // Moving past the coordinate range fails and leaves the region where it was.
  SetLastError(0);
  EXPECT_EQ(OffsetRgn(tail, 10, 0), ERROR);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(OffsetRgn(wide, 1, 0), ERROR);
  EXPECT_EQ(OffsetRgn(wide, 0, INT_MIN), SIMPLEREGION);  // exactly reaches the bottom of the range
  GetRgnBox(tail, &box);
  EXPECT_EQ(box.left, INT_MAX - 5);
  EXPECT_EQ(OffsetRgn(tail, -10, 0), SIMPLEREGION);
  for (HRGN r : {wide, empty, dst, tail}) DeleteObject(r);
}

// ---------------------------------------------------------------------------------------
// RGNDATA

namespace {

std::vector<char> Data(DWORD dw_size, DWORD type, DWORD count, const std::vector<RECT>& rects) {
  std::vector<char> buf(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER h{dw_size, type, count, 0, {0, 0, 0, 0}};
  std::memcpy(buf.data(), &h, sizeof h);
  if (!rects.empty()) std::memcpy(buf.data() + sizeof h, rects.data(), rects.size() * sizeof(RECT));
  return buf;
}

HRGN Create(const std::vector<char>& buf, DWORD count) {
  return ExtCreateRegion(nullptr, count, reinterpret_cast<const RGNDATA*>(buf.data()));
}

}  // namespace

TEST(RegionData, HeaderSizeQueryAndRoundTrip) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN hole = CreateRectRgn(3, 3, 6, 6);
  CombineRgn(a, a, hole, RGN_DIFF);
  const DWORD need = GetRegionData(a, 0, nullptr);
  EXPECT_EQ(need, sizeof(RGNDATAHEADER) + 4 * sizeof(RECT));
  EXPECT_EQ(GetRegionData(a, 1, nullptr), need);  // the size is ignored for a query
  std::vector<char> buf(need + 8, 'x');
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  SetLastError(0);
  EXPECT_EQ(GetRegionData(a, need - 1, data), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetRegionData(a, need + 8, data), need);  // the bytes used, not the buffer size
  EXPECT_EQ(buf[need], 'x');
  EXPECT_EQ(data->rdh.dwSize, sizeof(RGNDATAHEADER));
  EXPECT_EQ(data->rdh.iType, static_cast<DWORD>(RDH_RECTANGLES));
  EXPECT_EQ(data->rdh.nCount, 4u);
  EXPECT_EQ(data->rdh.nRgnSize, 4 * sizeof(RECT));
  const RECT bound{0, 0, 10, 10};
  EXPECT_TRUE(EqualRect(&data->rdh.rcBound, &bound));
  RECT first;
  std::memcpy(&first, buf.data() + sizeof(RGNDATAHEADER), sizeof first);
  const RECT top_band{0, 0, 10, 3};
  EXPECT_TRUE(EqualRect(&first, &top_band));
  HRGN back = ExtCreateRegion(nullptr, need, data);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(EqualRgn(a, back));
  // The empty region: a bare header with a zero bound.
  HRGN empty = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetRegionData(empty, 0, nullptr), sizeof(RGNDATAHEADER));
  EXPECT_EQ(GetRegionData(empty, need, data), sizeof(RGNDATAHEADER));
  EXPECT_EQ(data->rdh.nCount, 0u);
  EXPECT_TRUE(IsRectEmpty(&data->rdh.rcBound));
  HRGN empty_back = ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER), data);
  ASSERT_NE(empty_back, nullptr);
  RECT box;
  EXPECT_EQ(GetRgnBox(empty_back, &box), NULLREGION);
  SetLastError(0);
  EXPECT_EQ(GetRegionData(reinterpret_cast<HRGN>(0x4321), 0, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  for (HRGN r : {a, hole, back, empty, empty_back}) DeleteObject(r);
}

TEST(RegionData, LargeCheckerboardRoundTrips) {
  // 5000 one-pixel squares: every band differs from its neighbours, nothing merges.
  std::vector<RECT> squares;
  for (int y = 0; y < 100; ++y)
    for (int x = y % 2; x < 100; x += 2) squares.push_back(RECT{x, y, x + 1, y + 1});
  std::vector<char> buf(sizeof(RGNDATAHEADER) + squares.size() * sizeof(RECT));
  const RGNDATAHEADER h{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(squares.size()), 0, {}};
  std::memcpy(buf.data(), &h, sizeof h);
  std::memcpy(buf.data() + sizeof h, squares.data(), squares.size() * sizeof(RECT));
  HRGN board = ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), reinterpret_cast<RGNDATA*>(buf.data()));
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(GetRegionData(board, 0, nullptr), buf.size());
  EXPECT_TRUE(PtInRegion(board, 0, 0));
  EXPECT_FALSE(PtInRegion(board, 1, 0));
  EXPECT_TRUE(PtInRegion(board, 1, 1));
  EXPECT_FALSE(PtInRegion(board, 98, 99));
  EXPECT_TRUE(PtInRegion(board, 99, 99));
  std::vector<char> out(buf.size());
  ASSERT_EQ(GetRegionData(board, static_cast<DWORD>(out.size()), reinterpret_cast<RGNDATA*>(out.data())), out.size());
  HRGN back = ExtCreateRegion(nullptr, static_cast<DWORD>(out.size()), reinterpret_cast<RGNDATA*>(out.data()));
  EXPECT_TRUE(EqualRgn(board, back));
  DeleteObject(board);
  DeleteObject(back);
}

TEST(RegionData, LooseRectanglesAreNormalisedAndBoundsAreNotTrusted) {
  // Unsorted, overlapping, touching and empty rectangles, with a wrong rcBound.
  auto buf = Data(sizeof(RGNDATAHEADER), RDH_RECTANGLES, 4, {{5, 0, 10, 5}, {0, 0, 6, 5}, {0, 5, 10, 8}, {3, 3, 3, 9}});
  reinterpret_cast<RGNDATA*>(buf.data())->rdh.rcBound = RECT{100, 100, 200, 200};
  HRGN r = Create(buf, static_cast<DWORD>(buf.size()));
  ASSERT_NE(r, nullptr);
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  const RECT want{0, 0, 10, 8};
  EXPECT_TRUE(EqualRect(&box, &want));
  DeleteObject(r);
}

TEST(RegionData, DamagedDataIsRefused) {
  const std::vector<RECT> two{{0, 0, 4, 4}, {6, 0, 8, 4}};
  const auto good = Data(sizeof(RGNDATAHEADER), RDH_RECTANGLES, 2, two);
  const DWORD size = static_cast<DWORD>(good.size());
  HRGN ok = Create(good, size);
  ASSERT_NE(ok, nullptr);
  DeleteObject(ok);
  const auto refused = [](HRGN r) {
    const bool failed = r == nullptr && GetLastError() == ERROR_INVALID_PARAMETER;
    if (r) DeleteObject(r);
    return failed;
  };
  SetLastError(0);
  EXPECT_TRUE(refused(Create(good, size - 1)));  // one byte short of the last rectangle
  EXPECT_TRUE(refused(Create(good, sizeof(RGNDATAHEADER) - 1)));  // not even a header
  EXPECT_TRUE(refused(Create(good, 0)));
  EXPECT_TRUE(refused(Create(Data(sizeof(RGNDATAHEADER) + 4, RDH_RECTANGLES, 2, two), size)));
  EXPECT_TRUE(refused(Create(Data(0, RDH_RECTANGLES, 2, two), size)));
  EXPECT_TRUE(refused(Create(Data(sizeof(RGNDATAHEADER), 2, 2, two), size)));
  EXPECT_TRUE(refused(Create(Data(sizeof(RGNDATAHEADER), RDH_RECTANGLES, 3, two), size)));
  EXPECT_TRUE(refused(Create(Data(sizeof(RGNDATAHEADER), RDH_RECTANGLES, 0xFFFFFFFFu, two), size)));
  EXPECT_TRUE(refused(Create(Data(sizeof(RGNDATAHEADER), RDH_RECTANGLES, 2, {{0, 0, 4, 4}, {8, 0, 6, 4}}), size)));
  EXPECT_TRUE(refused(ExtCreateRegion(nullptr, size, nullptr)));
  // Only the identity transform is supported, and only as a null pointer.
  const float identity[6] = {1, 0, 0, 1, 0, 0};
  EXPECT_TRUE(refused(ExtCreateRegion(identity, size, reinterpret_cast<const RGNDATA*>(good.data()))));
  // A count larger than needed is fine.
  auto roomy = good;
  roomy.resize(roomy.size() + 32);
  HRGN r = Create(roomy, static_cast<DWORD>(roomy.size()));
  EXPECT_NE(r, nullptr);
  EXPECT_EQ(RectsOf(r).size(), 2u);
  DeleteObject(r);
}

// ---------------------------------------------------------------------------------------
// Fills

namespace {

// An L with a hole: rows 1-2 are x 1..7, rows 3-5 are x 1..3; hole at (5,1).
HRGN MakeL() {
  HRGN r = CreateRectRgn(1, 1, 8, 3);
  HRGN foot = CreateRectRgn(1, 3, 4, 6);
  HRGN hole = CreateRectRgn(5, 1, 6, 2);
  CombineRgn(r, r, foot, RGN_OR);
  CombineRgn(r, r, hole, RGN_DIFF);
  DeleteObject(foot);
  DeleteObject(hole);
  return r;
}

HBRUSH Black() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

}  // namespace

TEST(RegionFill, FillRgnPaintsTheRegionAndFollowsTheOrigins) {
  MemDC dc(9, 7);
  HRGN l = MakeL();
  EXPECT_TRUE(FillRgn(dc, l, Black()));
  EXPECT_PICTURE(dc, 0, 0,
                 {".........",
                  ".####.##.",
                  ".#######.",
                  ".###.....",
                  ".###.....",
                  ".###.....",
                  "........."});
  // Region coordinates are logical: (viewport - window) moves them.
  dc.Fill(RGB(255, 255, 255));
  SetViewportOrgEx(dc, 3, 2, nullptr);
  SetWindowOrgEx(dc, 2, 3, nullptr);
  FillRgn(dc, l, Black());
  EXPECT_PICTURE(dc, 0, 0,
                 {"..####.##",
                  "..#######",
                  "..###....",
                  "..###....",
                  "..###....",
                  ".........",
                  "........."});
  DeleteObject(l);
}

TEST(RegionFill, FillAndPaintUseTheMixModeInvertIgnoresIt) {
  MemDC dc(9, 7, RGB(0, 255, 0));
  HRGN l = MakeL();
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  // Interiors of filled objects are combined in the DC's mix mode.
  SetROP2(dc, R2_XORPEN);
  FillRgn(dc, l, red);
  EXPECT_EQ(dc.Px(1, 1), RGB(255, 255, 0));
  EXPECT_EQ(dc.Px(5, 1), RGB(0, 255, 0));
  FillRgn(dc, l, red);
  EXPECT_EQ(dc.Px(1, 1), RGB(0, 255, 0));
  // PaintRgn takes the selected brush.
  SetROP2(dc, R2_COPYPEN);
  HGDIOBJ old = SelectObject(dc, red);
  EXPECT_TRUE(PaintRgn(dc, l));
  EXPECT_EQ(dc.Px(2, 4), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(4, 4), RGB(0, 255, 0));
  SetROP2(dc, R2_NOP);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  PaintRgn(dc, l);
  FillRgn(dc, l, Black());
  FrameRgn(dc, l, Black(), 1, 1);
  EXPECT_EQ(dc.Px(2, 4), RGB(255, 0, 0));
  // InvertRgn inverts whatever the mix mode.
  EXPECT_TRUE(InvertRgn(dc, l));
  EXPECT_EQ(dc.Px(2, 4), RGB(0, 255, 255));
  EXPECT_EQ(dc.Px(4, 4), RGB(0, 255, 0));
  InvertRgn(dc, l);
  EXPECT_EQ(dc.Px(2, 4), RGB(255, 0, 0));
  // A null brush paints nothing.
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(PaintRgn(dc, l));
  EXPECT_EQ(dc.Px(2, 4), RGB(255, 0, 0));
  SelectObject(dc, old);
  // Bad handles fail.
  EXPECT_FALSE(FillRgn(dc, l, nullptr));
  EXPECT_FALSE(FillRgn(dc, nullptr, red));
  EXPECT_FALSE(FillRgn(nullptr, l, red));
  EXPECT_FALSE(FrameRgn(dc, l, reinterpret_cast<HBRUSH>(l), 1, 1));
  EXPECT_FALSE(PaintRgn(dc, reinterpret_cast<HRGN>(red)));
  EXPECT_FALSE(InvertRgn(reinterpret_cast<HDC>(l), l));
  DeleteObject(red);
  DeleteObject(l);
}

TEST(RegionFill, FillsAreClippedToTheClipAndTheSurface) {
  MemDC dc(6, 6);
  // A region reaching far outside the surface on every side.
  HRGN big = CreateRectRgn(-1000, -1000, 1000, 1000);
  HRGN cut = CreateRectRgn(-1000, 2, 1000, 3);
  CombineRgn(big, big, cut, RGN_DIFF);
  HRGN clip = CreateRectRgn(-5, 1, 4, 100);
  SelectClipRgn(dc, clip);
  FillRgn(dc, big, Black());
  EXPECT_PICTURE(dc, 0, 0, {"......", "####..", "......", "####..", "####..", "####.."});
  // Extreme origins neither wrap around nor overflow.
  dc.Fill(RGB(255, 255, 255));
  SelectClipRgn(dc, nullptr);
  SetViewportOrgEx(dc, INT_MAX, INT_MAX, nullptr);
  SetWindowOrgEx(dc, -INT_MAX, 0, nullptr);
  FillRgn(dc, big, Black());
  InvertRgn(dc, big);
  FrameRgn(dc, big, Black(), 3, 3);
  EXPECT_PICTURE(dc, 0, 0, {"......", "......", "......", "......", "......", "......"});
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  HRGN far = CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  FrameRgn(dc, far, Black(), 1, 1);
  EXPECT_PICTURE(dc, 0, 0, {"......", "......", "......", "......", "......", "......"});
  FillRgn(dc, far, Black());
  EXPECT_EQ(dc.Px(5, 5), RGB(0, 0, 0));
  for (HRGN r : {big, cut, clip, far}) DeleteObject(r);
}

TEST(RegionFill, FrameRgnStrokesInsideTheEdgesAndFillsInnerCorners) {
  MemDC dc(9, 7);
  HRGN l = MakeL();
  EXPECT_TRUE(FrameRgn(dc, l, Black(), 1, 1));
  EXPECT_PICTURE(dc, 0, 0,
                 {".........",
                  ".####.##.",
                  ".#.#####.",
                  ".#.#.....",
                  ".#.#.....",
                  ".###.....",
                  "........."});
  // Vertical strokes are w wide, horizontal ones h high; the sign does not matter.
  HRGN box = CreateRectRgn(0, 0, 9, 7);
  dc.Fill(RGB(255, 255, 255));
  EXPECT_TRUE(FrameRgn(dc, box, Black(), -2, 1));
  EXPECT_PICTURE(dc, 0, 0,
                 {"#########",
                  "##.....##",
                  "##.....##",
                  "##.....##",
                  "##.....##",
                  "##.....##",
                  "#########"});
  // Zero width and height frame nothing; a frame too thick for the region fills it.
  dc.Fill(RGB(255, 255, 255));
  FrameRgn(dc, box, Black(), 0, 0);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 255, 255));
  FrameRgn(dc, box, Black(), 0, 2);
  EXPECT_PICTURE(dc, 0, 0,
                 {"#########", "#########", ".........", ".........", ".........", "#########", "#########"});
  FrameRgn(dc, box, Black(), 5, INT_MIN);
  EXPECT_EQ(dc.Px(4, 3), RGB(0, 0, 0));
  DeleteObject(l);
  DeleteObject(box);
}

TEST(RegionFill, FrameRgnMatchesAPixelReferenceOnRandomRegions) {
  std::mt19937 rng(777);
  std::uniform_int_distribution<int> thick(0, 4);
  MemDC dc(Grid::kW, Grid::kH);
  SetWindowOrgEx(dc, Grid::kX0, Grid::kY0, nullptr);
  for (int trial = 0; trial < 120; ++trial) {
    Grid g;
    HRGN r = RandomRegion(rng, g);
    // Holes make inner edges.
    Grid cut;
    HRGN holes = RandomRegion(rng, cut);
    CombineRgn(r, r, holes, RGN_DIFF);
    for (size_t i = 0; i < g.on.size(); ++i) g.on[i] = g.on[i] && !cut.on[i];
    const int w = thick(rng), h = thick(rng);
    dc.Fill(RGB(255, 255, 255));
    ASSERT_TRUE(FrameRgn(dc, r, Black(), w, h));
    for (int y = Grid::kY0; y < Grid::kY0 + Grid::kH; ++y)
      for (int x = Grid::kX0; x < Grid::kX0 + Grid::kW; ++x) {
        bool frame = false;
        if (g.at(x, y))
          for (int dy = -h; dy <= h && !frame; ++dy)
            for (int dx = -w; dx <= w && !frame; ++dx) frame = !g.at(x + dx, y + dy);
        ASSERT_EQ(GetPixel(dc, x, y) == RGB(0, 0, 0), frame)
            << "trial " << trial << " w " << w << " h " << h << " at " << x << "," << y;
      }
    DeleteObject(r);
    DeleteObject(holes);
  }
}

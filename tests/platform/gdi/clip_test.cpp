// Clipping: clip regions in device coordinates, the logical clip rectangles, the save/restore
// stack, the clip queries, and drawing that never leaves the clip or the surface.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/gdi/dc.h"
#include "support/memdc.h"

using testsupport::MemDC;

namespace {

HBRUSH Black() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

// Fills every logical pixel the DC could possibly reach.
void FillEverything(HDC dc) {
  RECT all{-100000, -100000, 100000, 100000};
  FillRect(dc, &all, Black());
}

RECT Box(HDC dc, int* type = nullptr) {
  RECT r{-1, -1, -1, -1};
  const int t = GetClipBox(dc, &r);
  if (type) *type = t;
  return r;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

}  // namespace

TEST(Clip, SelectClipRgnIsInDeviceCoordinatesWhateverTheOrigins) {
  MemDC dc(8, 8);
  SetViewportOrgEx(dc, 1, 0, nullptr);
  SetWindowOrgEx(dc, 3, 3, nullptr);
  HRGN r = CreateRectRgn(2, 2, 5, 5);
  EXPECT_EQ(SelectClipRgn(dc, r), SIMPLEREGION);
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0,
                 {"........", "........", "..###...", "..###...", "..###...", "........", "........", "........"});
  // The box comes back in logical coordinates: device + window - viewport.
  int type;
  EXPECT_TRUE(Same(Box(dc, &type), RECT{4, 5, 7, 8}));
  EXPECT_EQ(type, SIMPLEREGION);
  EXPECT_TRUE(PtVisible(dc, 4, 5));
  EXPECT_FALSE(PtVisible(dc, 2, 2));
  const RECT inside{6, 7, 10, 10}, outside{7, 5, 9, 8}, inverted{9, 9, 6, 7};
  EXPECT_TRUE(RectVisible(dc, &inside));
  EXPECT_FALSE(RectVisible(dc, &outside));
  EXPECT_TRUE(RectVisible(dc, &inverted));
  // The DC holds a copy: changing or deleting the region later changes nothing.
  SetRectRgn(r, 0, 0, 8, 8);
  DeleteObject(r);
  EXPECT_TRUE(Same(Box(dc), RECT{4, 5, 7, 8}));
}

TEST(Clip, ClipRectanglesTakeLogicalCoordinates) {
  MemDC dc(8, 6);
  SetViewportOrgEx(dc, 1, 0, nullptr);
  SetWindowOrgEx(dc, 3, 3, nullptr);
  // Logical (3,4)-(6,6) is device (1,1)-(4,3).
  EXPECT_EQ(IntersectClipRect(dc, 3, 4, 6, 6), SIMPLEREGION);
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"........", ".###....", ".###....", "........", "........", "........"});
  // An inverted rectangle is ordered first; logical (4,4)-(5,6) is device (2,1)-(3,3).
  EXPECT_EQ(ExcludeClipRect(dc, 5, 6, 4, 4), COMPLEXREGION);
  dc.Fill(RGB(255, 255, 255));
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"........", ".#.#....", ".#.#....", "........", "........", "........"});
  // The clip region itself stays in device coordinates.
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, got), 1);
  RECT box;
  EXPECT_EQ(GetRgnBox(got, &box), COMPLEXREGION);
  EXPECT_TRUE(Same(box, RECT{1, 1, 4, 3}));
  // Excluding from no clip at all starts from the whole device.
  SelectClipRgn(dc, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  EXPECT_EQ(ExcludeClipRect(dc, 0, 0, 8, 5), SIMPLEREGION);
  EXPECT_TRUE(Same(Box(dc), RECT{0, 5, 8, 6}));
  // Intersecting down to nothing.
  int type;
  EXPECT_EQ(IntersectClipRect(dc, 0, 0, 8, 5), NULLREGION);
  EXPECT_TRUE(Same(Box(dc, &type), RECT{0, 0, 0, 0}));
  EXPECT_EQ(type, NULLREGION);
  dc.Fill(RGB(255, 255, 255));
  FillEverything(dc);
  EXPECT_EQ(dc.Px(0, 5), RGB(255, 255, 255));
  EXPECT_FALSE(PtVisible(dc, 0, 5));
  DeleteObject(got);
}

TEST(Clip, GetClipRgnTellsWhetherThereIsAClipAndGivesItUnclipped) {
  MemDC dc(6, 6);
  HRGN got = CreateRectRgn(1, 1, 2, 2);
  EXPECT_EQ(GetClipRgn(dc, got), 0);
  RECT box;
  EXPECT_EQ(GetRgnBox(got, &box), SIMPLEREGION);  // untouched when there is no clip
  // Without a clip the box is the whole surface.
  EXPECT_TRUE(Same(Box(dc), RECT{0, 0, 6, 6}));
  // A clip reaching outside the surface is kept as given.
  HRGN wide = CreateRectRgn(-3, -4, 40, 3);
  SelectClipRgn(dc, wide);
  EXPECT_EQ(GetClipRgn(dc, got), 1);
  EXPECT_TRUE(EqualRgn(got, wide));
  // ... while drawing and the box are cut to the surface.
  EXPECT_TRUE(Same(Box(dc), RECT{0, 0, 6, 3}));
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"######", "######", "######", "......", "......", "......"});
  EXPECT_EQ(GetClipRgn(nullptr, got), -1);
  EXPECT_EQ(GetClipRgn(dc, nullptr), -1);
  EXPECT_EQ(GetClipBox(dc, nullptr), ERROR);
  EXPECT_EQ(GetClipBox(nullptr, &box), ERROR);
  DeleteObject(got);
  DeleteObject(wide);
}

TEST(Clip, SaveAndRestoreBringTheClipBack) {
  MemDC dc(6, 6);
  const int none = SaveDC(dc);
  IntersectClipRect(dc, 1, 1, 5, 5);
  const int outer = SaveDC(dc);
  ExcludeClipRect(dc, 2, 2, 4, 4);
  EXPECT_EQ(Box(dc).left, 1);
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  ASSERT_TRUE(RestoreDC(dc, outer));
  EXPECT_EQ(GetClipRgn(dc, got), 1);
  EXPECT_EQ(GetRgnBox(got, nullptr), ERROR);
  RECT box;
  EXPECT_EQ(GetRgnBox(got, &box), SIMPLEREGION);
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"......", ".####.", ".####.", ".####.", ".####.", "......"});
  ASSERT_TRUE(RestoreDC(dc, none));
  EXPECT_EQ(GetClipRgn(dc, got), 0);
  FillEverything(dc);
  EXPECT_EQ(dc.Px(0, 0), RGB(0, 0, 0));
  DeleteObject(got);
}

TEST(Clip, ModesNullRegionAndBadInput) {
  MemDC dc(6, 4);
  HRGN mid = CreateRectRgn(2, 1, 4, 3);
  // RGN_AND, OR, XOR and DIFF need a region; RGN_COPY with none removes the clip.
  SetLastError(0);
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_DIFF), ERROR);
  EXPECT_EQ(ExtSelectClipRgn(dc, mid, 0), ERROR);
  EXPECT_EQ(ExtSelectClipRgn(dc, mid, 6), ERROR);
  EXPECT_EQ(ExtSelectClipRgn(dc, reinterpret_cast<HRGN>(Black()), RGN_AND), ERROR);
  EXPECT_EQ(SelectClipRgn(nullptr, mid), ERROR);
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, got), 0);  // all of that left no clip behind
  // With no clip the other operand is the whole device.
  EXPECT_EQ(ExtSelectClipRgn(dc, mid, RGN_XOR), COMPLEXREGION);
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"######", "##..##", "##..##", "######"});
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(dc, got), 0);
  EXPECT_EQ(ExtSelectClipRgn(dc, mid, RGN_OR), SIMPLEREGION);
  EXPECT_TRUE(Same(Box(dc), RECT{0, 0, 6, 4}));
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(ExtSelectClipRgn(dc, mid, RGN_DIFF), COMPLEXREGION);
  EXPECT_FALSE(PtVisible(dc, 2, 1));
  EXPECT_TRUE(PtVisible(dc, 1, 1));
  // An empty region selected clips everything away.
  HRGN empty = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(SelectClipRgn(dc, empty), NULLREGION);
  dc.Fill(RGB(255, 255, 255));
  FillEverything(dc);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetClipRgn(dc, got), 1);
  for (HRGN r : {mid, got, empty}) DeleteObject(r);
}

TEST(Clip, OffsetClipRgnMovesTheClipOnly) {
  MemDC dc(6, 4);
  EXPECT_EQ(OffsetClipRgn(dc, 2, 2), SIMPLEREGION);  // no clip: nothing to move
  EXPECT_TRUE(Same(Box(dc), RECT{0, 0, 6, 4}));
  IntersectClipRect(dc, 0, 0, 2, 2);
  EXPECT_EQ(OffsetClipRgn(dc, 3, 1), SIMPLEREGION);
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"......", "...##.", "...##.", "......"});
  // Moving it off the surface leaves nothing to draw on, and moving it back restores it.
  EXPECT_EQ(OffsetClipRgn(dc, -100, 0), NULLREGION);
  EXPECT_EQ(OffsetClipRgn(dc, 100, 0), SIMPLEREGION);
  // A move past the coordinate range fails and keeps the clip.
  EXPECT_EQ(OffsetClipRgn(dc, INT_MAX, 0), ERROR);
  EXPECT_TRUE(Same(Box(dc), RECT{3, 1, 5, 3}));
}

TEST(Clip, ExtremeLogicalRectanglesAreClampedNotWrapped) {
  MemDC dc(4, 4);
  SetWindowOrgEx(dc, 5, -5, nullptr);
  EXPECT_EQ(IntersectClipRect(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX), SIMPLEREGION);
  FillEverything(dc);
  EXPECT_PICTURE(dc, 0, 0, {"####", "####", "####", "####"});
  EXPECT_EQ(ExcludeClipRect(dc, INT_MIN, INT_MIN, INT_MAX, -3), SIMPLEREGION);  // device rows above 2
  EXPECT_TRUE(Same(Box(dc), RECT{5, -3, 9, -1}));
}

TEST(Clip, DeviceOriginOfAWindowDCShiftsTheClip) {
  // A window DC draws at an offset on a shared surface; its clip region is relative to it.
  MemDC dc(8, 6);
  gdi::DeviceContext* raw = gdi::Get<gdi::DeviceContext>(dc.dc());
  raw->SetDeviceOrigin(POINT{3, 2});
  HRGN r = CreateRectRgn(-1, -1, 2, 1);
  SelectClipRgn(dc, r);
  FillEverything(dc);
  EXPECT_TRUE(Same(Box(dc), RECT{-1, -1, 2, 1}));
  // Excluding from no clip starts from the device, i.e. the surface seen from the origin.
  SelectClipRgn(dc, nullptr);
  ExcludeClipRect(dc, 0, 0, 100, 100);
  EXPECT_TRUE(Same(Box(dc), RECT{-3, -2, 5, 4}));
  raw->SetDeviceOrigin(POINT{0, 0});  // the picture reads the surface from (0, 0)
  EXPECT_PICTURE(dc, 0, 0, {"........", "..###...", "..###...", "........", "........", "........"});
  DeleteObject(r);
}

// Random clip operations under random origins against a pixel model of the clip region.
TEST(Clip, RandomClipOperationsMatchAPixelModel) {
  constexpr int kW = 20, kH = 16;
  constexpr int kX0 = -24, kY0 = -24, kGW = 70, kGH = 64;  // model window, device coordinates; holds any drift
  struct Model {
    bool has = false;
    std::vector<uint8_t> px = std::vector<uint8_t>(kGW * kGH, 0);
    uint8_t& at(int x, int y) { return px[(y - kY0) * kGW + (x - kX0)]; }
  };
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int> org(-5, 5), coord(-6, kW + 6), op(0, 6), shift(-2, 2);
  MemDC dc(kW, kH);
  for (int trial = 0; trial < 50; ++trial) {
    while (RestoreDC(dc, -1)) {
    }
    SelectClipRgn(dc, nullptr);
    const POINT vp{org(rng), org(rng)}, wo{org(rng), org(rng)};
    SetViewportOrgEx(dc, vp.x, vp.y, nullptr);
    SetWindowOrgEx(dc, wo.x, wo.y, nullptr);
    const int ox = vp.x - wo.x, oy = vp.y - wo.y;  // logical + o = device
    Model m;
    std::vector<Model> saved;
    const auto combine = [&](const RECT& dev, int mode) {
      const bool base_all = !m.has;
      for (int y = kY0; y < kY0 + kGH; ++y)
        for (int x = kX0; x < kX0 + kGW; ++x) {
          const bool a = base_all ? (x >= 0 && x < kW && y >= 0 && y < kH) : m.at(x, y) != 0;
          const bool b = x >= dev.left && x < dev.right && y >= dev.top && y < dev.bottom;
          bool v = a;
          if (mode == RGN_AND) v = a && b;
          if (mode == RGN_OR) v = a || b;
          if (mode == RGN_XOR) v = a != b;
          if (mode == RGN_DIFF) v = a && !b;
          if (mode == RGN_COPY) v = b;
          m.at(x, y) = v;
        }
      m.has = true;
    };
    for (int step = 0; step < 6; ++step) {
      RECT r{coord(rng), coord(rng), coord(rng), coord(rng)};
      const RECT ordered{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                         std::max(r.top, r.bottom)};
      switch (op(rng)) {
        case 0: {  // a region, device coordinates
          const int mode = std::uniform_int_distribution<int>(RGN_AND, RGN_COPY)(rng);
          HRGN rgn = CreateRectRgnIndirect(&r);
          ExtSelectClipRgn(dc, rgn, mode);
          DeleteObject(rgn);
          combine(ordered, mode);
          break;
        }
        case 1:
        case 2:  // logical coordinates
          IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
          combine(RECT{ordered.left + ox, ordered.top + oy, ordered.right + ox, ordered.bottom + oy}, RGN_AND);
          break;
        case 3:
          ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
          combine(RECT{ordered.left + ox, ordered.top + oy, ordered.right + ox, ordered.bottom + oy}, RGN_DIFF);
          break;
        case 4: {
          const int dx = shift(rng), dy = shift(rng);
          OffsetClipRgn(dc, dx, dy);
          if (m.has) {
            Model moved;
            moved.has = true;
            for (int y = kY0; y < kY0 + kGH; ++y)
              for (int x = kX0; x < kX0 + kGW; ++x) {
                const int sx = x - dx, sy = y - dy;
                if (sx >= kX0 && sx < kX0 + kGW && sy >= kY0 && sy < kY0 + kGH) moved.at(x, y) = m.at(sx, sy);
              }
            m = moved;
          }
          break;
        }
        case 5:
          SaveDC(dc);
          saved.push_back(m);
          break;
        default:
          if (!saved.empty()) {
            RestoreDC(dc, -1);
            m = saved.back();
            saved.pop_back();
          }
          break;
      }
    }
    // The clip region itself.
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(dc, got), m.has ? 1 : 0) << "trial " << trial;
    if (m.has) {
      for (int y = kY0; y < kY0 + kGH; ++y)
        for (int x = kX0; x < kX0 + kGW; ++x)
          ASSERT_EQ(PtInRegion(got, x, y) != FALSE, m.at(x, y) != 0) << "trial " << trial << " " << x << "," << y;
    }
    DeleteObject(got);
    // What drawing reaches, and the logical box around it.
    dc.Fill(RGB(255, 255, 255));
    FillEverything(dc);
    RECT want{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    bool any = false;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const bool in = !m.has || m.at(x, y);
        ASSERT_EQ(dc.Px(x, y) == RGB(0, 0, 0), in) << "trial " << trial << " " << x << "," << y;
        ASSERT_EQ(PtVisible(dc, x - ox, y - oy) != FALSE, in);
        if (in) {
          any = true;
          want = RECT{std::min<LONG>(want.left, x - ox), std::min<LONG>(want.top, y - oy),
                      std::max<LONG>(want.right, x - ox + 1), std::max<LONG>(want.bottom, y - oy + 1)};
        }
      }
    int type;
    const RECT box = Box(dc, &type);
    if (!any) {
      EXPECT_EQ(type, NULLREGION);
      EXPECT_TRUE(Same(box, RECT{0, 0, 0, 0}));
    } else {
      EXPECT_NE(type, NULLREGION);
      EXPECT_TRUE(Same(box, want)) << "trial " << trial;
    }
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
}

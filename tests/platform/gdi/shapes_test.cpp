// Rectangles, ellipses, rounded rectangles, polygons, pies, chords and arcs, and the
// regions of those shapes.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "platform/gdi/objects.h"
#include "support/memdc.h"

using testsupport::MemDC;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

using PixelSet = std::set<std::pair<int, int>>;

// Pixels that are not white (the DC must have no clip and zero origins).
PixelSet Marked(const MemDC& dc) {
  PixelSet out;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x)
      if (GetPixel(dc, x, y) != kWhite) out.emplace(x, y);
  return out;
}

PixelSet RegionPixels(HRGN rgn, int w, int h) {
  PixelSet out;
  const gdi::Region& r = gdi::Get<gdi::RegionObject>(rgn)->region;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (r.Contains(x, y)) out.emplace(x, y);
  return out;
}

// Draws with the null pen and a black brush.
struct FillOnly {
  explicit FillOnly(HDC dc) : dc_(dc) {
    pen_ = SelectObject(dc, GetStockObject(NULL_PEN));
    brush_ = SelectObject(dc, GetStockObject(BLACK_BRUSH));
  }
  ~FillOnly() {
    SelectObject(dc_, pen_);
    SelectObject(dc_, brush_);
  }
  HDC dc_;
  HGDIOBJ pen_, brush_;
};

// Slow reference polygon fill: the pixel (x, y) is sampled at the point (x, y); an edge
// counts when y lies in [its top, its bottom) and it crosses that row at or left of x.
PixelSet ReferencePolygon(const std::vector<POINT>& pts, const std::vector<int>& counts, int mode, int w, int h) {
  PixelSet out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int wind = 0;
      size_t base = 0;
      for (int n : counts) {
        for (int i = 0; i < n; ++i) {
          POINT a = pts[base + i], b = pts[base + (i + 1) % n];
          if (a.y == b.y) continue;
          const int dir = a.y < b.y ? 1 : -1;
          if (a.y > b.y) std::swap(a, b);
          if (y < a.y || y >= b.y) continue;
          // Crossing x_c <= x  <=>  (x - a.x)(b.y - a.y) - (y - a.y)(b.x - a.x) >= 0.
          const long long side = static_cast<long long>(x - a.x) * (b.y - a.y) -
                                 static_cast<long long>(y - a.y) * (b.x - a.x);
          if (side >= 0) wind += dir;
        }
        base += static_cast<size_t>(n);
      }
      if (mode == WINDING ? wind != 0 : (wind & 1) != 0) out.emplace(x, y);
    }
  return out;
}

}  // namespace

TEST(Rectangle, OnePixelPenOutlinesUpToRightAndBottomMinusOne) {
  MemDC dc(6, 5);
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ old = SelectObject(dc, red);
  EXPECT_TRUE(Rectangle(dc, 0, 0, 4, 3));
  EXPECT_PICTURE(dc, 0, 0, {"####..", "#rr#..", "####..", "......"}, {{'r', kRed}});
  dc.Fill(kWhite);
  EXPECT_TRUE(Rectangle(dc, 5, 4, 1, 1));  // corners are ordered first
  EXPECT_PICTURE(dc, 0, 0, {"......", ".####.", ".#rr#.", ".####.", "......"}, {{'r', kRed}});
  SelectObject(dc, old);
  DeleteObject(red);
  EXPECT_FALSE(Rectangle(nullptr, 0, 0, 1, 1));
}

TEST(Rectangle, NullPenFillIsOnePixelSmaller) {
  MemDC dc(6, 5);
  FillOnly fill(dc);
  Rectangle(dc, 1, 1, 5, 4);
  EXPECT_PICTURE(dc, 0, 0, {"......", ".###..", ".###..", "......", "......"});
  dc.Fill(kWhite);
  Ellipse(dc, 0, 0, 6, 6);  // a 5 x 5 circle
  EXPECT_PICTURE(dc, 0, 0, {".###..", "#####.", "#####.", "#####.", ".###.."});
}

TEST(Rectangle, FillAndOutlineTouchEachPixelOnceThroughTheROP2Mode) {
  MemDC dc(7, 6, kBlack);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  SetROP2(dc, R2_XORPEN);  // white pen and white brush over black: all white if touched once
  Rectangle(dc, 0, 0, 5, 4);
  Ellipse(dc, 0, 4, 7, 6);
  EXPECT_PICTURE(dc, 0, 0, {".....##", ".....##", ".....##", ".....##", "?.....?", "?.....?"});
  SetROP2(dc, R2_NOP);
  dc.Fill(kBlack);
  Rectangle(dc, 0, 0, 5, 4);
  EXPECT_EQ(dc.Px(0, 0), kBlack);
  EXPECT_EQ(dc.Px(2, 2), kBlack);
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, GetStockObject(BLACK_PEN));
}

TEST(Rectangle, StyledOutlineGapsDoNotGetTheBrush) {
  MemDC dc(10, 4, RGB(0, 255, 0));
  HPEN dot = CreatePen(PS_DOT, 1, kRed);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc, dot);
  SelectObject(dc, blue);
  SetBkMode(dc, TRANSPARENT);
  Rectangle(dc, 0, 0, 10, 4);
  // The dash pattern starts at the top-left corner and runs down the left side first.
  EXPECT_PICTURE(dc, 0, 0, {"rgggrrrggg", "rbbbbbbbbr", "rbbbbbbbbr", "gggrrrgggr"},
                 {{'r', kRed}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)}});
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(dot);
  DeleteObject(blue);
}

TEST(Ellipse, SmallCirclesWithAPen) {
  MemDC dc(11, 11);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, 0, 0, 5, 5);
  EXPECT_PICTURE(dc, 0, 0, {".###.", "#...#", "#...#", "#...#", ".###."});
  dc.Fill(kWhite);
  Ellipse(dc, 0, 0, 10, 10);
  EXPECT_PICTURE(dc, 0, 0,
                 {"...####...", ".##....##.", ".#......#.", "#........#", "#........#", "#........#",
                  "#........#", ".#......#.", ".##....##.", "...####...", ".........."});
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST(Ellipse, FillsAreSymmetricTouchTheBoxAndThePenAddsOnePixel) {
  for (int w = 1; w <= 24; w += 1)
    for (int h = 1; h <= 24; h += 3) {
      MemDC dc(30, 30);
      {
        FillOnly fill(dc);
        Ellipse(dc, 2, 3, 2 + w + 1, 3 + h + 1);  // fills a w x h ellipse at (2, 3)
      }
      const PixelSet px = Marked(dc);
      int minx = 99, maxx = -1, miny = 99, maxy = -1;
      for (const auto& [x, y] : px) {
        minx = std::min(minx, x);
        maxx = std::max(maxx, x);
        miny = std::min(miny, y);
        maxy = std::max(maxy, y);
        EXPECT_TRUE(px.count({2 + w - 1 - (x - 2), y})) << w << "x" << h;  // mirrored left-right
        EXPECT_TRUE(px.count({x, 3 + h - 1 - (y - 3)})) << w << "x" << h;  // mirrored top-bottom
      }
      EXPECT_EQ(minx, 2);
      EXPECT_EQ(maxx, 2 + w - 1);
      EXPECT_EQ(miny, 3);
      EXPECT_EQ(maxy, 3 + h - 1);
      // With a pen and a brush the shape is the one a box one pixel larger fills without.
      MemDC pen(30, 30);
      SelectObject(pen, GetStockObject(BLACK_BRUSH));
      Ellipse(pen, 2, 3, 2 + w, 3 + h);
      EXPECT_EQ(Marked(pen), px) << w << "x" << h;
      SelectObject(pen, GetStockObject(WHITE_BRUSH));
    }
}

TEST(RoundRect, CornersAndTheNullPenRule) {
  MemDC dc(10, 8);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, 0, 0, 8, 6, 4, 4);
  EXPECT_PICTURE(dc, 0, 0, {".######.", "#......#", "#......#", "#......#", "#......#", ".######."});
  dc.Fill(kWhite);
  {
    FillOnly fill(dc);
    RoundRect(dc, 0, 0, 9, 7, 4, 4);  // the same shape filled: one pixel less each way
  }
  EXPECT_PICTURE(dc, 0, 0, {".######..", "########.", "########.", "########.", "########.", ".######..", "........."});
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST(Polygon, NullPenLeavesOutRightAndBottomEdgesAndThePenCoversThem) {
  MemDC dc(8, 8);
  POINT tri[] = {{0, 0}, {6, 0}, {0, 6}};
  {
    FillOnly fill(dc);
    EXPECT_TRUE(Polygon(dc, tri, 3));
  }
  EXPECT_PICTURE(dc, 0, 0, {"######..", "#####...", "####....", "###.....", "##......", "#.......", "........"});
  dc.Fill(kWhite);
  POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  {
    FillOnly fill(dc);
    Polygon(dc, square, 4);
  }
  EXPECT_PICTURE(dc, 0, 0, {"........", ".####...", ".####...", ".####...", "........"});
  dc.Fill(kWhite);
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  Polygon(dc, square, 4);
  EXPECT_PICTURE(dc, 0, 0, {"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}, {{'r', kRed}});
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  SetLastError(0);
  EXPECT_FALSE(Polygon(dc, square, 1));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  INT bad[] = {3, 1};
  EXPECT_FALSE(PolyPolygon(dc, square, bad, 2));
}

TEST(Polygon, AlternateLeavesTheStarsMiddleOutWindingFillsIt) {
  POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  MemDC dc(21, 21);
  FillOnly fill(dc);
  EXPECT_EQ(GetPolyFillMode(dc), ALTERNATE);
  Polygon(dc, star, 5);
  EXPECT_EQ(dc.Px(10, 11), kWhite);  // the middle pentagon: wound twice
  EXPECT_EQ(dc.Px(10, 3), kBlack);   // a point: wound once
  EXPECT_EQ(dc.Px(2, 8), kBlack);
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, star, 5);
  EXPECT_EQ(dc.Px(10, 11), kBlack);
  SetPolyFillMode(dc, ALTERNATE);
}

TEST(Polygon, MatchesTheSlowReferenceOnRandomPolygons) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> coord(-6, 46), nverts(3, 9), npolys(1, 3);
  MemDC dc(40, 40);
  for (int round = 0; round < 120; ++round) {
    std::vector<POINT> pts;
    std::vector<int> counts(static_cast<size_t>(npolys(rng)));
    for (int& c : counts) {
      c = nverts(rng);
      for (int i = 0; i < c; ++i) pts.push_back(POINT{coord(rng), coord(rng)});
    }
    for (int mode : {ALTERNATE, WINDING}) {
      dc.Fill(kWhite);
      SetPolyFillMode(dc, mode);
      {
        FillOnly fill(dc);
        ASSERT_TRUE(PolyPolygon(dc, pts.data(), counts.data(), static_cast<int>(counts.size())));
      }
      const PixelSet want = ReferencePolygon(pts, counts, mode, 40, 40);
      ASSERT_EQ(Marked(dc), want) << "round " << round << " mode " << mode;
      // The region of the same polygons holds the same pixels.
      HRGN rgn = CreatePolyPolygonRgn(pts.data(), counts.data(), static_cast<int>(counts.size()), mode);
      ASSERT_NE(rgn, nullptr);
      EXPECT_EQ(RegionPixels(rgn, 40, 40), want) << "round " << round << " mode " << mode;
      DeleteObject(rgn);
    }
  }
  SetPolyFillMode(dc, ALTERNATE);
}

TEST(Polygon, FillAndOutlineTouchEachPixelOnceAndWidePensUniteThem) {
  POINT pts[] = {{2, 2}, {20, 4}, {12, 18}, {3, 14}};
  MemDC copy(24, 24), xored(24, 24, kBlack);
  HPEN black = CreatePen(PS_SOLID, 5, kBlack);
  HPEN white = CreatePen(PS_SOLID, 5, kWhite);
  SelectObject(copy, black);
  SelectObject(copy, GetStockObject(BLACK_BRUSH));
  Polygon(copy, pts, 4);
  SelectObject(xored, white);
  SetROP2(xored, R2_XORPEN);
  Polygon(xored, pts, 4);  // white brush and pen over black: white where touched once
  PixelSet white_px;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      if (xored.Px(x, y) == kWhite) white_px.emplace(x, y);
  EXPECT_EQ(white_px, Marked(copy));
  SelectObject(copy, GetStockObject(BLACK_PEN));
  SelectObject(xored, GetStockObject(BLACK_PEN));
  DeleteObject(black);
  DeleteObject(white);
}

TEST(PieAndChord, RunCounterClockwiseUnlessToldOtherwise) {
  MemDC dc(21, 21);
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  EXPECT_EQ(GetArcDirection(dc), AD_COUNTERCLOCKWISE);
  // From three o'clock counter-clockwise to twelve: the upper right quarter.
  Pie(dc, 0, 0, 21, 21, 21, 10, 10, 0);
  EXPECT_EQ(dc.Px(15, 5), kRed);
  EXPECT_EQ(dc.Px(5, 5), kWhite);
  EXPECT_EQ(dc.Px(5, 15), kWhite);
  EXPECT_EQ(dc.Px(15, 15), kWhite);
  EXPECT_EQ(dc.Px(20, 10), kBlack);  // the outline reaches the box's right side
  dc.Fill(kWhite);
  SetArcDirection(dc, AD_CLOCKWISE);
  Pie(dc, 0, 0, 21, 21, 21, 10, 10, 0);  // the other three quarters
  EXPECT_EQ(dc.Px(15, 5), kWhite);
  EXPECT_EQ(dc.Px(5, 5), kRed);
  EXPECT_EQ(dc.Px(5, 15), kRed);
  EXPECT_EQ(dc.Px(15, 15), kRed);
  dc.Fill(kWhite);
  SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  // A chord keeps the side of the line where its arc lies.
  Chord(dc, 0, 0, 21, 21, 21, 10, 10, 0);
  EXPECT_EQ(dc.Px(17, 4), kRed);
  EXPECT_EQ(dc.Px(12, 8), kWhite);
  dc.Fill(kWhite);
  SetArcDirection(dc, AD_CLOCKWISE);
  Chord(dc, 0, 0, 21, 21, 21, 10, 10, 0);
  EXPECT_EQ(dc.Px(17, 4), kWhite);
  EXPECT_EQ(dc.Px(12, 8), kRed);
  SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  dc.Fill(kWhite);
  Pie(dc, 0, 0, 21, 21, 5, 5, 5, 5);  // equal radials: the whole ellipse (and one radial)
  EXPECT_EQ(dc.Px(14, 10), kRed);
  EXPECT_EQ(dc.Px(8, 8), kBlack);
  EXPECT_EQ(dc.Px(10, 18), kRed);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST(Arc, DrawsOnlyTheCurveAndArcToMovesThePosition) {
  MemDC dc(21, 21);
  MoveToEx(dc, 3, 3, nullptr);
  Arc(dc, 0, 0, 21, 21, 21, 10, 0, 10);  // the upper half
  EXPECT_EQ(dc.Px(10, 0), kBlack);
  EXPECT_EQ(dc.Px(10, 20), kWhite);
  EXPECT_EQ(dc.Px(10, 10), kWhite);
  POINT pos{};
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos.x, 3);  // Arc leaves the position alone
  dc.Fill(kWhite);
  SetArcDirection(dc, AD_CLOCKWISE);
  Arc(dc, 0, 0, 21, 21, 21, 10, 0, 10);  // the lower half
  EXPECT_EQ(dc.Px(10, 0), kWhite);
  EXPECT_EQ(dc.Px(10, 20), kBlack);
  SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  dc.Fill(kWhite);
  MoveToEx(dc, 0, 20, nullptr);
  EXPECT_TRUE(ArcTo(dc, 0, 0, 21, 21, 21, 10, 10, 0));
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos.x, 10);  // where the arc ends: on the radial to (10, 0)
  EXPECT_EQ(pos.y, 0);
  EXPECT_EQ(dc.Px(0, 20), kBlack);   // the line from the old position...
  EXPECT_EQ(dc.Px(10, 15), kBlack);  // ...to the start of the arc at (20, 10)
  EXPECT_EQ(dc.Px(17, 3), kBlack);   // the arc
  EXPECT_EQ(dc.Px(3, 3), kWhite);
  // The arc starts exactly where the line ends, even when its own pixels round away.
  MemDC big(26, 26);
  MoveToEx(big, 0, 25, nullptr);
  ArcTo(big, 2, 2, 24, 24, 24, 13, 13, 0);
  EXPECT_EQ(big.Px(22, 14), kBlack);
  EXPECT_EQ(big.Px(23, 13), kBlack);
  EXPECT_EQ(big.Px(23, 12), kBlack);
}

TEST(ShapeRegions, HoldExactlyWhatTheNullPenFills) {
  struct Box {
    int l, t, r, b;
  };
  const Box boxes[] = {{0, 0, 5, 5}, {1, 2, 17, 9}, {3, 1, 4, 20}, {2, 2, 30, 3}, {25, 20, 4, 1}, {0, 0, 1, 1}};
  for (const Box& bx : boxes) {
    MemDC dc(32, 24);
    {
      FillOnly fill(dc);
      Ellipse(dc, bx.l, bx.t, bx.r, bx.b);
    }
    HRGN e = CreateEllipticRgn(bx.l, bx.t, bx.r, bx.b);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(RegionPixels(e, 32, 24), Marked(dc)) << bx.l << "," << bx.t << "," << bx.r << "," << bx.b;
    RECT rc{bx.l, bx.t, bx.r, bx.b};
    HRGN ei = CreateEllipticRgnIndirect(&rc);
    EXPECT_TRUE(gdi::Get<gdi::RegionObject>(e)->region == gdi::Get<gdi::RegionObject>(ei)->region);
    DeleteObject(e);
    DeleteObject(ei);
    dc.Fill(kWhite);
    {
      FillOnly fill(dc);
      RoundRect(dc, bx.l, bx.t, bx.r, bx.b, 7, -5);
    }
    HRGN rr = CreateRoundRectRgn(bx.l, bx.t, bx.r, bx.b, 7, -5);
    ASSERT_NE(rr, nullptr);
    EXPECT_EQ(RegionPixels(rr, 32, 24), Marked(dc)) << bx.l << "," << bx.t << "," << bx.r << "," << bx.b;
    DeleteObject(rr);
  }
  EXPECT_EQ(CreateEllipticRgnIndirect(nullptr), nullptr);
  POINT two[] = {{0, 0}, {1, 1}};
  EXPECT_EQ(CreatePolygonRgn(two, 2, 3), nullptr);  // no such fill mode
  EXPECT_EQ(CreatePolygonRgn(two, 1, ALTERNATE), nullptr);
}

TEST(Shapes, FollowTheOriginsAndStayInsideTheClip) {
  MemDC dc(12, 12);
  SetViewportOrgEx(dc, 4, 3, nullptr);
  IntersectClipRect(dc, 0, 0, 3, 30);  // logical: columns 4..6 of the surface
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Ellipse(dc, -10, -10, 20, 20);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectClipRgn(dc, nullptr);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 4 && x < 7 && y >= 3;
      EXPECT_EQ(dc.Px(x, y) == kBlack, inside) << x << "," << y;
    }
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, InsideFramePensStayInsideTheBox) {
  MemDC dc(30, 30);
  HPEN solid = CreatePen(PS_SOLID, 5, kRed);
  HPEN inside = CreatePen(PS_INSIDEFRAME, 5, kRed);
  SelectObject(dc, solid);
  Rectangle(dc, 5, 5, 25, 25);
  EXPECT_EQ(dc.Px(3, 15), kRed);  // two pixels outside: centred on the outline
  EXPECT_EQ(dc.Px(2, 15), kWhite);
  EXPECT_EQ(dc.Px(26, 15), kRed);
  EXPECT_EQ(dc.Px(27, 15), kWhite);
  dc.Fill(kWhite);
  SelectObject(dc, inside);
  Rectangle(dc, 5, 5, 25, 25);
  EXPECT_EQ(dc.Px(5, 15), kRed);
  EXPECT_EQ(dc.Px(4, 15), kWhite);
  EXPECT_EQ(dc.Px(24, 15), kRed);
  EXPECT_EQ(dc.Px(25, 15), kWhite);
  EXPECT_EQ(dc.Px(15, 9), kRed);
  EXPECT_EQ(dc.Px(15, 10), kWhite);  // the brush inside
  dc.Fill(kWhite);
  Ellipse(dc, 5, 5, 25, 25);
  EXPECT_EQ(dc.Px(5, 15), kRed);
  EXPECT_EQ(dc.Px(4, 15), kWhite);
  EXPECT_EQ(dc.Px(15, 24), kRed);
  EXPECT_EQ(dc.Px(15, 25), kWhite);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(solid);
  DeleteObject(inside);
}

TEST(Shapes, HugeCoordinatesDrawWhatIsSeenWithoutHanging) {
  const int big = 1 << 27;
  MemDC dc(16, 16);
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  EXPECT_TRUE(Ellipse(dc, -big, -big, big, big));
  EXPECT_EQ(dc.Px(0, 0), kRed);
  EXPECT_EQ(dc.Px(15, 15), kRed);
  dc.Fill(kWhite);
  EXPECT_TRUE(Ellipse(dc, -big, 2, big, 2 * big));  // the flat top of a huge ellipse
  EXPECT_EQ(dc.Px(8, 1), kWhite);
  EXPECT_EQ(dc.Px(8, 2), kBlack);
  EXPECT_EQ(dc.Px(8, 3), kRed);
  HPEN dot = CreatePen(PS_DOT, 1, kBlack);
  HPEN wide = CreatePen(PS_SOLID, 7, kBlack);
  for (HPEN pen : {dot, wide}) {
    SelectObject(dc, pen);
    EXPECT_TRUE(Ellipse(dc, -big, 2, big, 2 * big));
    EXPECT_TRUE(RoundRect(dc, -big, -big, big, big, big, big / 2));
    EXPECT_TRUE(Pie(dc, -big, -big, big, big, big, 0, 0, -big));
    EXPECT_TRUE(Chord(dc, -big, -big, big, big, big, 3, -3, -big));
    EXPECT_TRUE(Arc(dc, -big, -big, big, big, big, 3, -3, -big));
    EXPECT_TRUE(Rectangle(dc, -big, -big, big, 8));
    POINT poly[] = {{-big, -big}, {big, -big + 7}, {3, big}};
    EXPECT_TRUE(Polygon(dc, poly, 3));
  }
  SelectObject(dc, GetStockObject(BLACK_PEN));
  EXPECT_FALSE(Ellipse(dc, 0, 0, 0x7FFFFFFF, 5));
  // Regions this large are refused rather than built; straight-edged ones are cheap.
  EXPECT_EQ(CreateEllipticRgn(-big, -big, big, big), nullptr);
  POINT square[] = {{-big, -big}, {big, -big}, {big, big}, {-big, big}};
  HRGN sq = CreatePolygonRgn(square, 4, ALTERNATE);
  ASSERT_NE(sq, nullptr);
  EXPECT_EQ(gdi::Get<gdi::RegionObject>(sq)->region.rects().size(), 1u);
  DeleteObject(sq);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(dot);
  DeleteObject(wide);
}

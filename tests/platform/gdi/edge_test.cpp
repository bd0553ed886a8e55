// DrawEdge: ring colours, corner ownership, soft/flat/mono looks, BF_ADJUST, BF_MIDDLE,
// diagonals, and the span shapes the helpers share.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <map>
#include <random>
#include <set>

#include "platform/gdi/ui_draw.h"
#include "support/memdc.h"

using testsupport::MemDC;

namespace {

// System colours of the classic scheme by picture letter ('.' is white too).
const std::map<char, COLORREF> kLegend = {
    {'w', RGB(255, 255, 255)},  // BTNHIGHLIGHT, WINDOW
    {'l', RGB(223, 223, 223)},  // 3DLIGHT
    {'f', RGB(192, 192, 192)},  // BTNFACE
    {'s', RGB(128, 128, 128)},  // BTNSHADOW
    {'k', RGB(0, 0, 0)},        // 3DDKSHADOW, WINDOWFRAME
    {'r', RGB(255, 0, 0)},      // untouched background
};

RECT Rc(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// Draws onto a fresh red surface and returns it for a picture check.
void Draw(MemDC& dc, RECT rc, UINT edge, UINT flags) {
  dc.Fill(RGB(255, 0, 0));
  DrawEdge(dc, &rc, edge, flags);
}

}  // namespace

TEST(DrawEdge, FourStylesAndCornerOwnership) {
  MemDC dc(5, 5);
  // Bottom/right lines run the whole side: they own the top-right and bottom-left corners.
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_RECT);
  EXPECT_PICTURE(dc, 0, 0, {"llllk", "lwwsk", "lwrsk", "lsssk", "kkkkk"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"ssssw", "skklw", "skflw", "slllw", "wwwww"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_ETCHED, BF_RECT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"ssssw", "swwsw", "swfsw", "ssssw", "wwwww"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_BUMP, BF_RECT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"llllk", "lkklk", "lkflk", "llllk", "kkkkk"}, kLegend);
}

TEST(DrawEdge, InnerRingStepsInOnlyWhereBothSidesAreDrawn) {
  MemDC dc(5, 5);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_TOPLEFT);
  EXPECT_PICTURE(dc, 0, 0, {"lllll", "lwwww", "lwrrr", "lwrrr", "lwrrr"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_BOTTOMRIGHT);
  EXPECT_PICTURE(dc, 0, 0, {"rrrsk", "rrrsk", "rrrsk", "ssssk", "kkkkk"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 4), EDGE_SUNKEN, BF_TOP | BF_BOTTOM);
  EXPECT_PICTURE(dc, 0, 0, {"sssss", "kkkkk", "lllll", "wwwww"}, kLegend);
}

TEST(DrawEdge, SoftFlatAndMonoLooks) {
  MemDC dc(5, 5);
  // Soft changes only the top/left colours.
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"wwwwk", "wllsk", "wlfsk", "wsssk", "kkkkk"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_SUNKEN, BF_RECT | BF_SOFT);
  EXPECT_PICTURE(dc, 0, 0, {"kkkkw", "ksslw", "ksrlw", "klllw", "wwwww"}, kLegend);
  // Flat: shadow outline, face inner ring, whatever the style; it wins over soft.
  Draw(dc, Rc(0, 0, 5, 5), EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_SOFT);
  EXPECT_PICTURE(dc, 0, 0, {"sssss", "sfffs", "sfrfs", "sfffs", "sssss"}, kLegend);
  // Mono: frame outline, window inner ring and middle; it wins over flat.
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_RECT | BF_MONO | BF_FLAT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"kkkkk", "kwwwk", "kwwwk", "kwwwk", "kkkkk"}, kLegend);
  // A lone inner ring is drawn on the outer ring, in inner colours.
  Draw(dc, Rc(0, 0, 4, 4), BDR_RAISEDINNER, BF_RECT);
  EXPECT_PICTURE(dc, 0, 0, {"wwws", "wrrs", "wrrs", "ssss"}, kLegend);
  Draw(dc, Rc(0, 0, 4, 4), BDR_SUNKENINNER, BF_RECT | BF_SOFT);
  EXPECT_PICTURE(dc, 0, 0, {"sssl", "srrl", "srrl", "llll"}, kLegend);
  Draw(dc, Rc(0, 0, 4, 4), BDR_SUNKENINNER, BF_RECT | BF_FLAT);
  EXPECT_PICTURE(dc, 0, 0, {"ffff", "frrf", "frrf", "ffff"}, kLegend);
}

TEST(DrawEdge, AdjustShrinksFlaggedSidesByTheRingCount) {
  MemDC dc(12, 12);
  RECT rc = Rc(0, 0, 10, 10);
  EXPECT_TRUE(DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(Str(rc), Str(Rc(2, 2, 8, 8)));
  rc = Rc(0, 0, 10, 10);
  DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  EXPECT_EQ(Str(rc), Str(Rc(1, 1, 9, 9)));
  rc = Rc(0, 0, 10, 10);
  DrawEdge(dc, &rc, EDGE_ETCHED, BF_TOPLEFT | BF_ADJUST);
  EXPECT_EQ(Str(rc), Str(Rc(2, 2, 10, 10)));
  rc = Rc(0, 0, 10, 10);
  DrawEdge(dc, &rc, 0, BF_RECT | BF_ADJUST);
  EXPECT_EQ(Str(rc), Str(Rc(0, 0, 10, 10)));
  rc = Rc(0, 0, 10, 10);
  DrawEdge(dc, &rc, EDGE_RAISED, BF_DIAGONAL_ENDBOTTOMRIGHT | BF_ADJUST);
  EXPECT_EQ(Str(rc), Str(Rc(0, 0, 8, 8)));
  // Without BF_ADJUST the rectangle is left alone.
  rc = Rc(0, 0, 10, 10);
  DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  EXPECT_EQ(Str(rc), Str(Rc(0, 0, 10, 10)));
}

TEST(DrawEdge, MiddleFillsTheInteriorOfTheFlaggedSides) {
  MemDC dc(6, 5);
  Draw(dc, Rc(0, 0, 6, 5), BDR_RAISEDOUTER, BF_TOP | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"llllll", "ffffff", "ffffff", "ffffff", "ffffff"}, kLegend);
  Draw(dc, Rc(1, 1, 5, 4), EDGE_BUMP, BF_MIDDLE);  // no sides: the whole rectangle
  EXPECT_PICTURE(dc, 0, 0, {"rrrrrr", "rffffr", "rffffr", "rffffr", "rrrrrr"}, kLegend);
}

TEST(DrawEdge, RingThatIsRaisedAndSunkenIsRefused) {
  MemDC dc(5, 5);
  dc.Fill(RGB(255, 0, 0));
  RECT rc = Rc(0, 0, 5, 5);
  EXPECT_FALSE(DrawEdge(dc, &rc, BDR_OUTER, BF_RECT | BF_MIDDLE));
  EXPECT_PICTURE(dc, 0, 0, {"rrrrr", "rrrrr", "rrrrr", "rrrrr", "rrrrr"}, kLegend);
  // The valid outer ring of a type with a double inner ring is still drawn; no middle.
  EXPECT_FALSE(DrawEdge(dc, &rc, BDR_RAISEDOUTER | BDR_INNER, BF_RECT | BF_MIDDLE));
  EXPECT_PICTURE(dc, 0, 0, {"llllk", "lrrrk", "lrrrk", "lrrrk", "kkkkk"}, kLegend);
  // Flat and mono have no raised or sunken, so nothing is contradictory.
  EXPECT_TRUE(DrawEdge(dc, &rc, BDR_OUTER, BF_RECT | BF_FLAT | BF_MIDDLE));
  EXPECT_PICTURE(dc, 0, 0, {"sssss", "sfffs", "sfffs", "sfffs", "sssss"}, kLegend);
}

TEST(DrawEdge, DiagonalLinesAndFilledSide) {
  MemDC dc(5, 5);
  // Rising from the bottom-left corner: outer (light) line, inner (white) line beside it
  // towards the filled lower-right triangle.
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"rrrrl", "rrrlw", "rrlwf", "rlwff", "lwfff"}, kLegend);
  // BF_BOTTOM picks the bottom/right colours.
  Draw(dc, Rc(0, 0, 5, 5), EDGE_RAISED, BF_DIAGONAL_ENDBOTTOMRIGHT | BF_MIDDLE);
  EXPECT_PICTURE(dc, 0, 0, {"krrrr", "skrrr", "fskrr", "ffskr", "fffsk"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_SUNKEN, BF_DIAGONAL_ENDTOPLEFT);
  EXPECT_PICTURE(dc, 0, 0, {"skrrr", "rskrr", "rrskr", "rrrsk", "rrrrs"}, kLegend);
  Draw(dc, Rc(0, 0, 5, 5), EDGE_SUNKEN, BF_DIAGONAL_ENDBOTTOMLEFT);
  EXPECT_PICTURE(dc, 0, 0, {"rrrlw", "rrlwr", "rlwrr", "lwrrr", "wrrrr"}, kLegend);
  // The square of a wide rectangle sits at its left side; nothing leaves the rectangle.
  MemDC wide(8, 3);
  Draw(wide, Rc(0, 0, 8, 3), BDR_SUNKENOUTER, BF_DIAGONAL_ENDTOPRIGHT);
  EXPECT_PICTURE(wide, 0, 0, {"rrsrrrrr", "rsrrrrrr", "srrrrrrr"}, kLegend);
}

TEST(DrawEdge, IgnoresROP2AndHonoursOriginsAndClip) {
  MemDC dc(8, 8);
  dc.Fill(RGB(255, 0, 0));
  SetROP2(dc, R2_NOT);
  SetViewportOrgEx(dc, 3, 2, nullptr);
  SetWindowOrgEx(dc, 1, 0, nullptr);  // logical (0,0) -> device (2,2)
  IntersectClipRect(dc, 0, 0, 3, 9);  // logical x < 3 -> device x < 5
  RECT rc = Rc(0, 0, 4, 4);
  EXPECT_TRUE(DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_MIDDLE));
  EXPECT_PICTURE(dc, 0, 0,
                 {"rrrrrrrr", "rrrrrrrr", "rrsssrrr", "rrsklrrr", "rrsllrrr", "rrwwwrrr", "rrrrrrrr", "rrrrrrrr"},
                 kLegend);
}

TEST(DrawEdge, SurfaceEdgesHugeRectanglesAndBadArguments) {
  MemDC dc(6, 6);
  dc.Fill(RGB(255, 0, 0));
  RECT off = Rc(-3, -3, 3, 3);
  EXPECT_TRUE(DrawEdge(dc, &off, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_PICTURE(dc, 0, 0, {"fskr", "sskr", "kkkr", "rrrr"}, kLegend);
  RECT huge = Rc(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_TRUE(DrawEdge(dc, &huge, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(huge.left, -1999999998);
  EXPECT_EQ(dc.Px(3, 3), RGB(192, 192, 192));
  RECT extreme = Rc(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_TRUE(DrawEdge(dc, &extreme, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(extreme.right, INT_MAX - 2);
  RECT inverted = Rc(5, 5, 1, 1);
  dc.Fill(RGB(255, 0, 0));
  DrawEdge(dc, &inverted, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  DrawEdge(dc, &inverted, EDGE_RAISED, BF_DIAGONAL_ENDTOPLEFT | BF_MIDDLE);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dc.Px(x, y), RGB(255, 0, 0));
  SetLastError(0);
  EXPECT_FALSE(DrawEdge(dc, nullptr, EDGE_RAISED, BF_RECT));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  RECT rc = Rc(0, 0, 2, 2);
  EXPECT_FALSE(DrawEdge(reinterpret_cast<HDC>(0x1234), &rc, EDGE_RAISED, BF_RECT));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// [SECTION] The shared span shapes against slow references ------------------------------

namespace {

// Pixels of a line stepped one at a time along its major axis, rounding half up.
std::set<std::pair<int, int>> ReferenceLine(POINT a, POINT b) {
  std::set<std::pair<int, int>> px;
  long dx = b.x - a.x, dy = b.y - a.y;
  if (std::labs(dx) >= std::labs(dy)) {
    if (dx < 0) std::swap(a, b), dx = -dx, dy = -dy;
    for (long u = 0; u <= dx; ++u) {
      const double t = dx ? static_cast<double>(u) * dy / dx : 0;
      px.insert({static_cast<int>(a.x + u), static_cast<int>(a.y + std::floor(t + 0.5))});
    }
  } else {
    if (dy < 0) std::swap(a, b), dx = -dx, dy = -dy;
    for (long v = 0; v <= dy; ++v)
      px.insert({static_cast<int>(a.x + std::floor(static_cast<double>(v) * dx / dy + 0.5)), static_cast<int>(a.y + v)});
  }
  return px;
}

}  // namespace

TEST(UiShapes, ConvexPolygonMatchesSteppedOutlineOnRandomTriangles) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(-20, 20);
  for (int iter = 0; iter < 400; ++iter) {
    POINT p[3];
    for (POINT& q : p) q = POINT{coord(rng), coord(rng)};
    // Reference: outline pixels by stepping, each row filled between its outermost ones.
    std::map<int, std::pair<int, int>> rows;
    for (int i = 0; i < 3; ++i)
      for (auto [x, y] : ReferenceLine(p[i], p[(i + 1) % 3])) {
        auto it = rows.find(y);
        if (it == rows.end())
          rows[y] = {x, x + 1};
        else
          it->second = {std::min(it->second.first, x), std::max(it->second.second, x + 1)};
      }
    std::vector<gdi::Span> spans;
    gdi::ui::ConvexPolygonSpans(p, 3, -100, 100, spans);
    ASSERT_EQ(spans.size(), rows.size()) << "iteration " << iter;
    for (const gdi::Span& s : spans) {
      ASSERT_TRUE(rows.count(s.y));
      EXPECT_EQ(rows[s.y], std::make_pair(s.x0, s.x1)) << "iteration " << iter << " row " << s.y;
    }
    // Only the rows asked for are produced.
    spans.clear();
    gdi::ui::ConvexPolygonSpans(p, 3, 0, 3, spans);
    for (const gdi::Span& s : spans) EXPECT_TRUE(s.y >= 0 && s.y < 3);
  }
}

TEST(UiShapes, DiscRowsMatchPixelCentresInsideTheCircle) {
  for (int d = 1; d <= 30; ++d)
    for (int left : {-7, 0, 3}) {
      const double c = left + d / 2.0, r2 = d * d / 4.0;
      for (int y = left - 2; y < left + d + 2; ++y) {
        int lo = 0, hi = 0;
        bool any = false;
        for (int x = left - 2; x < left + d + 2; ++x) {
          const double ex = x + 0.5 - c, ey = y + 0.5 - c;
          if (ex * ex + ey * ey <= r2) {
            if (!any) lo = x;
            hi = x + 1;
            any = true;
          }
        }
        int x0 = 0, x1 = 0;
        ASSERT_EQ(gdi::ui::DiscRow(left, left, d, y, x0, x1), any) << "d " << d << " y " << y;
        if (any) {
          EXPECT_EQ(x0, lo) << "d " << d << " y " << y;
          EXPECT_EQ(x1, hi) << "d " << d << " y " << y;
        }
      }
    }
}

// Cosmetic lines (diamond rule, end point left out, clipping), pen styles and wide pens.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "support/memdc.h"

using testsupport::MemDC;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

std::set<std::pair<int, int>> Marked(const MemDC& dc) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x)
      if (dc.Px(x, y) != kWhite) out.emplace(x, y);
  return out;
}

// Slow reference of a cosmetic line: one pixel per step of the longer axis, the nearest
// one to the exact line on the other axis, halfway ties to the smaller coordinate; the
// end point left out.
std::set<std::pair<int, int>> ReferenceLine(int x0, int y0, int x1, int y1) {
  std::set<std::pair<int, int>> out;
  const long dx = x1 - x0, dy = y1 - y0;
  const long n = std::max(std::labs(dx), std::labs(dy));
  const bool flat = std::labs(dx) >= std::labs(dy);
  for (long k = 0; k < n; ++k) {
    const long major_step = flat ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
    const long num = k * (flat ? dy : dx);  // minor offset = num / n
    long fl = num / n;
    if (num % n != 0 && num < 0) --fl;
    const long rem = num - fl * n;  // in [0, n)
    const long minor = 2 * rem > n ? fl + 1 : fl;
    if (flat) out.emplace(x0 + major_step * k, y0 + minor);
    else out.emplace(x0 + minor, y0 + major_step * k);
  }
  return out;
}

HPEN Pen(int style, int width, COLORREF c) { return CreatePen(style, width, c); }

// The colours along row y from x0 to x1 as characters ('r' red, 'b' blue, '.' white).
std::string RowString(const MemDC& dc, int y, int x0, int x1) {
  std::string s;
  for (int x = x0; x < x1; ++x) {
    const COLORREF c = dc.Px(x, y);
    s += c == kRed ? 'r' : c == kBlue ? 'b' : c == kWhite ? '.' : '#';
  }
  return s;
}

}  // namespace

TEST(LineTo, LeavesOutTheEndPointAndMovesTheCurrentPosition) {
  MemDC dc(8, 5);
  MoveToEx(dc, 1, 1, nullptr);
  EXPECT_TRUE(LineTo(dc, 6, 1));
  POINT pos{};
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos.x, 6);
  EXPECT_EQ(pos.y, 1);
  EXPECT_TRUE(LineTo(dc, 6, 4));  // goes on from (6,1): (6,1) is drawn now, (6,4) is not
  EXPECT_PICTURE(dc, 0, 0, {"........", ".######.", "......#.", "......#.", "........"});
  // A line to where it starts draws nothing.
  MemDC dot(3, 3);
  MoveToEx(dot, 1, 1, nullptr);
  LineTo(dot, 1, 1);
  EXPECT_PICTURE(dot, 0, 0, {"...", "...", "..."});
}

TEST(LineTo, HalfwayTiesGoUpForFlatLinesAndLeftForSteepOnes) {
  MemDC dc(6, 6);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 4, 1);  // at x = 2 the line is halfway between rows 0 and 1
  EXPECT_PICTURE(dc, 0, 0, {"###...", "...#..", "......"});
  dc.Fill(kWhite);
  MoveToEx(dc, 4, 1, nullptr);  // reversed: same tie, other end left out
  LineTo(dc, 0, 0);
  EXPECT_PICTURE(dc, 0, 0, {".##...", "...##.", "......"});
  dc.Fill(kWhite);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 1, 4);  // at y = 2 halfway between columns 0 and 1
  EXPECT_PICTURE(dc, 0, 0, {"#.", "#.", "#.", ".#", ".."});
  dc.Fill(kWhite);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 4, 4);  // diagonals hit pixel centres
  EXPECT_PICTURE(dc, 0, 0, {"#....", ".#...", "..#..", "...#.", "....."});
}

TEST(LineTo, MatchesTheReferenceOnRandomLinesThroughClipsAndOrigins) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(-40, 80), small(0, 31);
  MemDC dc(32, 32);
  for (int i = 0; i < 300; ++i) {
    dc.Fill(kWhite);
    const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
    const int ox = small(rng) - 16, oy = small(rng) - 16;
    const int cx0 = small(rng), cy0 = small(rng), cx1 = small(rng), cy1 = small(rng);
    const RECT clip{std::min(cx0, cx1), std::min(cy0, cy1), std::max(cx0, cx1) + 1, std::max(cy0, cy1) + 1};
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, ox, oy, nullptr);
    IntersectClipRect(dc, clip.left - ox, clip.top - oy, clip.right - ox, clip.bottom - oy);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    RestoreDC(dc, saved);
    std::set<std::pair<int, int>> want;
    for (const auto& p : ReferenceLine(x0 + ox, y0 + oy, x1 + ox, y1 + oy))
      if (p.first >= clip.left && p.first < clip.right && p.second >= clip.top && p.second < clip.bottom &&
          p.first >= 0 && p.first < 32 && p.second >= 0 && p.second < 32)
        want.insert(p);
    ASSERT_EQ(Marked(dc), want) << "line " << x0 << "," << y0 << " -> " << x1 << "," << y1 << " origin " << ox
                                << "," << oy << " clip " << clip.left << "," << clip.top << "," << clip.right << ","
                                << clip.bottom;
  }
}

TEST(LineTo, HugeCoordinatesDrawOnlyWhatIsSeenAndOutOfRangeFails) {
  MemDC dc(16, 16);
  const int big = 1 << 27;
  MoveToEx(dc, -big, -big, nullptr);
  EXPECT_TRUE(LineTo(dc, big, big));  // through the whole surface along the diagonal
  for (int i = 0; i < 16; ++i) EXPECT_EQ(dc.Px(i, i), RGB(0, 0, 0)) << i;
  EXPECT_EQ(dc.Px(1, 0), kWhite);
  dc.Fill(kWhite);
  MoveToEx(dc, -big, 3, nullptr);
  LineTo(dc, big, 4);  // halfway at x = 0
  EXPECT_EQ(dc.Px(0, 3), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(0, 4), kWhite);
  // A wide pen at huge coordinates, too.
  HPEN wide = Pen(PS_SOLID, 9, kRed);
  HGDIOBJ old = SelectObject(dc, wide);
  MoveToEx(dc, big, -big + 15, nullptr);
  EXPECT_TRUE(LineTo(dc, -big, big + 15));
  EXPECT_EQ(dc.Px(8, 7), kRed);
  SelectObject(dc, old);
  DeleteObject(wide);
  // Past what the device coordinates can hold the call fails and the position stays.
  MoveToEx(dc, 0, 0, nullptr);
  SetLastError(0);
  EXPECT_FALSE(LineTo(dc, 0x7FFFFFFF, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  POINT pos{};
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos.x, 0);
}

TEST(LineTo, GoesThroughTheROP2ModeAndTheDcPen) {
  MemDC dc(6, 2, RGB(0, 0, 0));
  SetROP2(dc, R2_NOT);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 4, 0);
  EXPECT_PICTURE(dc, 0, 0, {"....##", "######"});
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, kBlue);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 3, 1);
  EXPECT_PICTURE(dc, 0, 0, {"....##", "bbb###"}, {{'b', kBlue}});
  SelectObject(dc, GetStockObject(NULL_PEN));
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 6, 1);
  EXPECT_PICTURE(dc, 0, 0, {"....##", "bbb###"}, {{'b', kBlue}});
  SelectObject(dc, GetStockObject(BLACK_PEN));
}

TEST(Polyline, ValidatesAndPolylineToMovesThePosition) {
  MemDC dc(6, 6);
  POINT one{1, 1};
  SetLastError(0);
  EXPECT_FALSE(Polyline(dc, &one, 1));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(Polyline(dc, nullptr, 3));
  POINT pts[] = {{0, 0}, {3, 0}, {3, 3}};
  EXPECT_TRUE(Polyline(dc, pts, 3));
  EXPECT_PICTURE(dc, 0, 0, {"####..", "...#..", "...#..", "......"});
  dc.Fill(kWhite);
  MoveToEx(dc, 0, 5, nullptr);
  POINT to[] = {{2, 5}, {2, 4}};
  EXPECT_TRUE(PolylineTo(dc, to, 2));
  POINT pos{};
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos.x, 2);
  EXPECT_EQ(pos.y, 4);
  EXPECT_PICTURE(dc, 0, 4, {"......", "###..."});
  dc.Fill(kWhite);
  POINT many[] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {4, 4}};
  DWORD counts[] = {2, 3};
  EXPECT_TRUE(PolyPolyline(dc, many, counts, 2));
  EXPECT_PICTURE(dc, 0, 0, {"##....", "......", "###...", "...#..", "......"});
  DWORD bad[] = {2, 1};
  EXPECT_FALSE(PolyPolyline(dc, many, bad, 2));
}

TEST(PenStyles, EachStyleDrawsItsDashPattern) {
  struct Case {
    int style;
    const char* row;
  };
  const Case cases[] = {
      {PS_DASH, "rrrrrrrrrrrrrrrrrrbbbbbbrrrrrrrrrrrrrrrrrrbbbbbb"},
      {PS_DOT, "rrrbbbrrrbbbrrrbbbrrrbbbrrrbbbrrrbbbrrrbbbrrrbbb"},
      {PS_DASHDOT, "rrrrrrrrrbbbbbbrrrbbbbbbrrrrrrrrrbbbbbbrrrbbbbbb"},
      {PS_DASHDOTDOT, "rrrrrrrrrbbbrrrbbbrrrbbbrrrrrrrrrbbbrrrbbbrrrbbb"},
  };
  for (const Case& c : cases) {
    MemDC dc(48, 1);
    HPEN pen = Pen(c.style, 1, kRed);
    HGDIOBJ old = SelectObject(dc, pen);
    SetBkColor(dc, kBlue);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 48, 0);
    EXPECT_EQ(RowString(dc, 0, 0, 48), c.row) << "style " << c.style;
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  // Styles exist only one pixel wide: a wider dashed pen draws solid.
  MemDC dc(30, 3);
  HPEN wide = Pen(PS_DASH, 3, kRed);
  SelectObject(dc, wide);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 30, 1);
  EXPECT_EQ(RowString(dc, 1, 0, 30), std::string(30, 'r'));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(wide);
}

TEST(PenStyles, AlternateAndUserStylesFromExtCreatePen) {
  LOGBRUSH lb{BS_SOLID, kRed, 0};
  HPEN alt = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
  ASSERT_NE(alt, nullptr);
  MemDC dc(12, 2);
  SetBkColor(dc, kBlue);
  SelectObject(dc, alt);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 12, 0);
  EXPECT_EQ(RowString(dc, 0, 0, 12), "rbrbrbrbrbrb");
  // An odd number of entries: dashes and gaps swap on the second pass.
  const DWORD user[] = {2, 1, 3};
  HPEN styled = ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 3, user);
  ASSERT_NE(styled, nullptr);
  SelectObject(dc, styled);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 12, 1);
  EXPECT_EQ(RowString(dc, 1, 0, 12), "rrbrrrbbrbbb");
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(alt);
  DeleteObject(styled);
}

TEST(PenStyles, GapsTakeTheBackgroundOnlyWhenOpaque) {
  MemDC dc(12, 2, RGB(0, 255, 0));
  HPEN pen = Pen(PS_DOT, 1, kRed);
  SelectObject(dc, pen);
  SetBkColor(dc, kBlue);
  SetBkMode(dc, TRANSPARENT);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 12, 0);
  SetBkMode(dc, OPAQUE);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 12, 1);
  EXPECT_PICTURE(dc, 0, 0, {"rrrgggrrrggg", "rrrbbbrrrbbb"}, {{'r', kRed}, {'b', kBlue}, {'g', RGB(0, 255, 0)}});
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(PenStyles, PatternRunsOnAcrossPolylineSegmentsButRestartsPerCall) {
  MemDC dc(8, 8);
  HPEN pen = Pen(PS_DOT, 1, kRed);
  SelectObject(dc, pen);
  SetBkMode(dc, TRANSPARENT);
  POINT pts[] = {{0, 0}, {4, 0}, {4, 5}};
  Polyline(dc, pts, 3);
  // (0..2,0) on, (3,0) (4,0) (4,1) off, (4,2..4) on.
  EXPECT_PICTURE(dc, 0, 0, {"rrr.....", "........", "....r...", "....r...", "....r...", "........"},
                 {{'r', kRed}});
  dc.Fill(kWhite);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 4, 0);
  LineTo(dc, 4, 5);  // a new call starts the pattern again
  EXPECT_PICTURE(dc, 0, 0, {"rrr.r...", "....r...", "....r...", "........", "........", "........"},
                 {{'r', kRed}});
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(WidePens, AreCentredOnTheLine) {
  MemDC dc(12, 10);
  const LOGBRUSH lb{BS_SOLID, 0, 0};
  HPEN three = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 3, &lb, 0, nullptr);
  HPEN two = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 2, &lb, 0, nullptr);
  SelectObject(dc, three);
  MoveToEx(dc, 1, 2, nullptr);
  LineTo(dc, 6, 2);
  SelectObject(dc, two);
  MoveToEx(dc, 1, 7, nullptr);
  LineTo(dc, 6, 7);
  // Odd widths reach as far each way; even widths one pixel more up (or left).
  EXPECT_PICTURE(dc, 0, 0,
                 {"........", ".#####..", ".#####..", ".#####..", "........", "........", ".#####..", ".#####..",
                  "........"});
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(three);
  DeleteObject(two);
}

TEST(WidePens, EndCapsAndJoins) {
  LOGBRUSH lb{BS_SOLID, 0, 0};
  auto draw = [&](DWORD style, int* out_far, int* out_corner, int* out_miter) {
    MemDC dc(40, 40);
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | style, 5, &lb, 0, nullptr);
    SelectObject(dc, pen);
    POINT pts[] = {{10, 10}, {30, 10}, {30, 30}};
    Polyline(dc, pts, 3);
    *out_far = dc.Px(8, 10) == 0;      // beyond the start, on the centre line
    *out_corner = dc.Px(8, 8) == 0;    // beyond the start, off the centre line
    *out_miter = dc.Px(32, 8) == 0;    // the outer corner of the turn
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
  };
  int far_pt, corner, miter;
  draw(PS_ENDCAP_ROUND | PS_JOIN_ROUND, &far_pt, &corner, &miter);
  EXPECT_EQ(far_pt, 1);
  EXPECT_EQ(corner, 0);
  EXPECT_EQ(miter, 0);
  draw(PS_ENDCAP_SQUARE | PS_JOIN_MITER, &far_pt, &corner, &miter);
  EXPECT_EQ(far_pt, 1);
  EXPECT_EQ(corner, 1);
  EXPECT_EQ(miter, 1);
  draw(PS_ENDCAP_FLAT | PS_JOIN_BEVEL, &far_pt, &corner, &miter);
  EXPECT_EQ(far_pt, 0);
  EXPECT_EQ(corner, 0);
  EXPECT_EQ(miter, 0);
}

TEST(WidePens, XorPolylineTouchesEachPixelOnce) {
  // The same self-overlapping stroke drawn by copying and by XOR must cover the same pixels:
  // a pixel touched twice by XOR would come back white.
  POINT pts[] = {{4, 4}, {30, 8}, {6, 20}, {28, 26}, {5, 5}, {20, 30}};
  MemDC copy(36, 36), xored(36, 36);
  HPEN black = Pen(PS_SOLID, 7, RGB(0, 0, 0));
  HPEN white = Pen(PS_SOLID, 7, kWhite);
  SelectObject(copy, black);
  Polyline(copy, pts, 6);
  SelectObject(xored, white);
  SetROP2(xored, R2_XORPEN);
  Polyline(xored, pts, 6);
  EXPECT_EQ(Marked(copy), Marked(xored));
  EXPECT_GT(Marked(copy).size(), 300u);
  SelectObject(copy, GetStockObject(BLACK_PEN));
  SelectObject(xored, GetStockObject(BLACK_PEN));
  DeleteObject(black);
  DeleteObject(white);
}

TEST(WidePens, StayInsideTheSurfaceAndTheClip) {
  MemDC dc(10, 10);
  IntersectClipRect(dc, 2, 2, 8, 8);
  HPEN pen = Pen(PS_SOLID, 15, RGB(0, 0, 0));
  SelectObject(dc, pen);
  MoveToEx(dc, -5, 5, nullptr);
  LineTo(dc, 15, 5);
  EXPECT_PICTURE(dc, 0, 0,
                 {"..........", "..........", "..######..", "..######..", "..######..", "..######..", "..######..",
                  "..######..", "..........", ".........."});
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

// FloodFill and ExtFloodFill: border and surface modes, clipping, the brush and ROP2 mode.
#include <gtest/gtest.h>

#include "support/memdc.h"

using testsupport::MemDC;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Puts a picture on the DC: '#' black, 'b' blue, anything else white.
void Paint(const MemDC& dc, const std::vector<std::string>& rows) {
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const char c = rows[y][x];
      SetPixel(dc, static_cast<int>(x), static_cast<int>(y), c == '#' ? RGB(0, 0, 0) : c == 'b' ? kBlue : kWhite);
    }
}

}  // namespace

TEST(FloodFill, BorderModeFillsUpToTheBorderColourOnly) {
  MemDC dc(8, 6);
  Paint(dc, {"........", ".######.", ".#..b.#.", ".#....#.", ".######.", "........"});
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  EXPECT_TRUE(FloodFill(dc, 2, 2, RGB(0, 0, 0)));
  // Everything that is not the border colour is filled, the blue pixel included.
  EXPECT_PICTURE(dc, 0, 0, {"........", ".######.", ".#rrrr#.", ".#rrrr#.", ".######.", "........"}, {{'r', kRed}});
  SetLastError(0);
  EXPECT_FALSE(FloodFill(dc, 1, 1, RGB(0, 0, 0)));  // starts on the border
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST(FloodFill, SurfaceModeFillsTheTouchingPixelsOfOneColour) {
  MemDC dc(7, 5);
  // The two white areas touch only at a corner: a fill does not pass corners.
  Paint(dc, {"...####", "...####", "###....", "####...", "####b.."});
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  EXPECT_TRUE(ExtFloodFill(dc, 0, 0, kWhite, FLOODFILLSURFACE));
  EXPECT_PICTURE(dc, 0, 0, {"rrr####", "rrr####", "###....", "####...", "####b.."}, {{'r', kRed}, {'b', kBlue}});
  EXPECT_FALSE(ExtFloodFill(dc, 4, 4, kWhite, FLOODFILLSURFACE));  // not the colour asked for
  EXPECT_TRUE(ExtFloodFill(dc, 4, 4, kBlue, FLOODFILLSURFACE));
  EXPECT_EQ(dc.Px(4, 4), kRed);
  EXPECT_EQ(dc.Px(5, 4), kWhite);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST(FloodFill, StopsAtTheClipAndFailsOutsideIt) {
  MemDC dc(8, 4);
  SetViewportOrgEx(dc, 1, 0, nullptr);
  IntersectClipRect(dc, 1, 1, 5, 3);  // surface columns 2..5, rows 1..2
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  EXPECT_FALSE(FloodFill(dc, -1, 0, RGB(0, 0, 0)));  // surface (0, 0): outside the clip
  EXPECT_TRUE(FloodFill(dc, 2, 2, RGB(0, 0, 0)));
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectClipRgn(dc, nullptr);
  EXPECT_PICTURE(dc, 0, 0, {"........", "..rrrr..", "..rrrr..", "........"}, {{'r', kRed}});
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST(FloodFill, UsesTheBrushThroughTheROP2Mode) {
  MemDC dc(4, 2);
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  SetROP2(dc, R2_XORPEN);
  EXPECT_TRUE(FloodFill(dc, 0, 0, RGB(0, 0, 0)));
  EXPECT_EQ(dc.Px(3, 1), RGB(0, 255, 255));  // white ^ red, each pixel once
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  SetLastError(0);
  EXPECT_FALSE(ExtFloodFill(dc, 0, 0, kWhite, 7));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(FloodFill(nullptr, 0, 0, kWhite));
}

TEST(FloodFill, LargeWindingAreaNeedsNoRecursion) {
  // A comb of walls makes one long snake through a large surface.
  const int w = 600, h = 600;
  MemDC dc(w, h);
  HPEN none = static_cast<HPEN>(GetStockObject(NULL_PEN));
  SelectObject(dc, none);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  for (int x = 2; x < w - 2; x += 4) {
    const bool from_top = (x / 4) % 2 == 0;
    Rectangle(dc, x, from_top ? 0 : 3, x + 2, from_top ? h - 2 : h + 1);  // one pixel wide wall
  }
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  EXPECT_TRUE(FloodFill(dc, 0, 0, RGB(0, 0, 0)));
  EXPECT_EQ(dc.Px(0, h - 1), kRed);
  EXPECT_EQ(dc.Px(w - 1, h - 1), kRed);
  EXPECT_EQ(dc.Px(4, 1), kRed);
  EXPECT_EQ(dc.Px(2, 1), RGB(0, 0, 0));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

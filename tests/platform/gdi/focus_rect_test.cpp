// DrawFocusRect: a one-pixel dotted outline, XORed in, with the dots fixed to the brush
// origin rather than to the rectangle.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/memdc.h"

using testsupport::MemDC;

namespace {

const std::vector<std::string> kBlank = {"........", "........", "........", "........", "........", "........"};
const std::vector<std::string> kDots = {"........", ".#.#.#..", "......#.", ".#......", "..#.#.#.", "........"};

}  // namespace

TEST(DrawFocusRect, EveryOtherOutlinePixelInvertsAndASecondCallRestores) {
  MemDC dc(8, 6);
  RECT rc{1, 1, 7, 5};
  EXPECT_TRUE(DrawFocusRect(dc, &rc));
  EXPECT_PICTURE(dc, 0, 0, kDots);
  EXPECT_TRUE(DrawFocusRect(dc, &rc));
  EXPECT_PICTURE(dc, 0, 0, kBlank);
}

TEST(DrawFocusRect, DotsFollowTheBrushOriginNotTheLogicalOrigin) {
  MemDC dc(8, 6);
  SetBrushOrgEx(dc, 1, 0, nullptr);
  RECT rc{1, 1, 7, 5};
  DrawFocusRect(dc, &rc);
  EXPECT_PICTURE(dc, 0, 0, {"........", "..#.#.#.", ".#......", "......#.", ".#.#.#..", "........"});
  DrawFocusRect(dc, &rc);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  // The rectangle moves with the origins; the dots stay on the device's checkerboard.
  SetViewportOrgEx(dc, 3, 1, nullptr);
  SetWindowOrgEx(dc, 2, 0, nullptr);
  RECT logical{0, 0, 6, 4};
  DrawFocusRect(dc, &logical);
  EXPECT_PICTURE(dc, 0, 0, kDots);
}

TEST(DrawFocusRect, StaysInsideTheClipAndTheSurface) {
  MemDC dc(8, 6);
  IntersectClipRect(dc, 0, 0, 4, 6);
  RECT rc{1, 1, 7, 5};
  DrawFocusRect(dc, &rc);
  EXPECT_PICTURE(dc, 0, 0, {"........", ".#.#....", "........", ".#......", "..#.....", "........"});
  SelectClipRgn(dc, nullptr);
  dc.Fill(RGB(255, 255, 255));
  RECT beyond{-2, -2, 20, 3};
  DrawFocusRect(dc, &beyond);
  EXPECT_PICTURE(dc, 0, 0, {"........", "........", "#.#.#.#.", "........"});
}

TEST(DrawFocusRect, XorsBackgroundColourOnDotsAndTextColourBetweenThemIgnoringROP2) {
  MemDC dc(4, 1, RGB(255, 0, 0));
  SetROP2(dc, R2_BLACK);
  RECT rc{0, 0, 4, 1};
  DrawFocusRect(dc, &rc);
  EXPECT_EQ(dc.Px(0, 0), RGB(0, 255, 255));  // red ^ white
  EXPECT_EQ(dc.Px(1, 0), RGB(255, 0, 0));    // red ^ black
  DrawFocusRect(dc, &rc);
  SetBkColor(dc, RGB(0, 255, 0));
  SetTextColor(dc, RGB(0, 0, 255));
  DrawFocusRect(dc, &rc);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 255, 0));
  EXPECT_EQ(dc.Px(1, 0), RGB(255, 0, 255));
}

TEST(DrawFocusRect, ThinEmptyAndBadRectangles) {
  MemDC dc(8, 6);
  // One row or one column is outlined once, not twice (which would cancel out).
  RECT row{0, 2, 5, 3};
  DrawFocusRect(dc, &row);
  EXPECT_PICTURE(dc, 0, 2, {"#.#.#..."});
  DrawFocusRect(dc, &row);
  RECT column{3, 0, 4, 4};
  DrawFocusRect(dc, &column);
  EXPECT_PICTURE(dc, 3, 0, {".", "#", ".", "#", "."});
  DrawFocusRect(dc, &column);
  RECT empty{2, 2, 2, 5}, inverted{6, 5, 1, 1};
  EXPECT_TRUE(DrawFocusRect(dc, &empty));
  EXPECT_TRUE(DrawFocusRect(dc, &inverted));
  RECT huge{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_TRUE(DrawFocusRect(dc, &huge));
  EXPECT_PICTURE(dc, 0, 0, kBlank);
  SetLastError(0);
  EXPECT_FALSE(DrawFocusRect(dc, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(DrawFocusRect(reinterpret_cast<HDC>(0x5555), &row));
}

// The span strips against a pixel-by-pixel reference on random pictures and rectangles.
TEST(DrawFocusRect, MatchesPerPixelReferenceOnRandomInput) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<int> byte(0, 255), pos(-4, 20), org(-5, 5);
  MemDC dc(16, 16);
  for (int iter = 0; iter < 200; ++iter) {
    std::vector<COLORREF> before(256);
    for (int i = 0; i < 256; ++i) {
      before[i] = RGB(byte(rng), byte(rng), byte(rng));
      SetPixel(dc, i % 16, i / 16, before[i]);
    }
    const COLORREF bk = RGB(byte(rng), byte(rng), byte(rng)), text = RGB(byte(rng), byte(rng), byte(rng));
    SetBkColor(dc, bk);
    SetTextColor(dc, text);
    const POINT brush{org(rng), org(rng)};
    SetBrushOrgEx(dc, brush.x, brush.y, nullptr);
    RECT rc{pos(rng), pos(rng), pos(rng), pos(rng)};
    DrawFocusRect(dc, &rc);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const bool inside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
        const bool border = inside && (x == rc.left || x == rc.right - 1 || y == rc.top || y == rc.bottom - 1);
        COLORREF want = before[y * 16 + x];
        if (border) want ^= ((x - brush.x + y - brush.y) % 2 == 0) ? bk : text;
        ASSERT_EQ(dc.Px(x, y), want) << "iteration " << iter << " at " << x << "," << y;
      }
    DrawFocusRect(dc, &rc);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(dc.Px(i % 16, i / 16), before[i]) << "iteration " << iter;
  }
}

// Device contexts, object handles, the save/restore stack and rectangle fills.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gdi/object.h"
#include "support/memdc.h"

using testsupport::MemDC;

TEST(Handles, StaleAndMadeUpHandlesFailTheWin32Way) {
  HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetObjectType(b), OBJ_BRUSH);
  EXPECT_TRUE(DeleteObject(b));
  SetLastError(0);
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(0x12345678)), 0u);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(0xDEAD0001), GetStockObject(BLACK_PEN)), nullptr);
  // A reused slot does not bring the old handle back to life.
  HBRUSH again = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_NE(again, b);
  EXPECT_EQ(GetObjectType(b), 0u);
  DeleteObject(again);
}

TEST(Handles, StockObjectsSurviveDeletion) {
  HGDIOBJ pen = GetStockObject(BLACK_PEN);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
  EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(Handles, SelectedBitmapCannotBeDeletedButPensCan) {
  MemDC dc(4, 4);
  EXPECT_FALSE(DeleteObject(dc.bitmap()));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  EXPECT_TRUE(DeleteObject(pen));
  // The DC keeps drawing with it until it is deselected.
  MoveToEx(dc, 0, 0, nullptr);
  SelectObject(dc, old);
}

TEST(DeviceContext, NewMemoryDCHasOneMonochromePixelAndStockObjects) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
  // A compatible bitmap of a fresh memory DC is monochrome: the classic trap.
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  DeleteObject(mono);
  DeleteDC(dc);
}

TEST(DeviceContext, CapsOfTheDisplay) {
  HDC dc = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHBLT);
  EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 0);
  DeleteDC(dc);
  EXPECT_EQ(CreateDC("PRINTER", nullptr, nullptr, nullptr), nullptr);
}

TEST(DeviceContext, SaveAndRestoreStateAndStackRules) {
  MemDC dc(4, 4);
  SetTextColor(dc, RGB(1, 1, 1));
  SetROP2(dc, R2_XORPEN);
  const int first = SaveDC(dc);
  SetTextColor(dc, RGB(2, 2, 2));
  SetWindowOrgEx(dc, 5, 5, nullptr);
  const int second = SaveDC(dc);
  EXPECT_EQ(second, first + 1);
  SetTextColor(dc, RGB(3, 3, 3));
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(dc, first));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetROP2(dc), R2_XORPEN);
  POINT org;
  GetWindowOrgEx(dc, &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_FALSE(RestoreDC(dc, first));  // popped already
  EXPECT_FALSE(RestoreDC(dc, 0));
  // The selected bitmap stays selected across a restore.
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), dc.bitmap());
}

TEST(DeviceContext, InvalidModesAreRefused) {
  MemDC dc(2, 2);
  EXPECT_EQ(SetROP2(dc, 0), 0);
  EXPECT_EQ(SetROP2(dc, 17), 0);
  EXPECT_EQ(SetBkMode(dc, 3), 0);
  EXPECT_EQ(SetPolyFillMode(dc, 0), 0);
  EXPECT_EQ(SetMapMode(dc, 2), 0);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
}

TEST(FillRect, ExcludesRightAndBottomAndFollowsTheOrigin) {
  MemDC dc(6, 5);
  RECT r{1, 1, 4, 3};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_PICTURE(dc, 0, 0, {"......", ".###..", ".###..", "......", "......"});
  dc.Fill(RGB(255, 255, 255));
  SetViewportOrgEx(dc, 2, 1, nullptr);
  SetWindowOrgEx(dc, 1, 0, nullptr);
  RECT one{0, 0, 1, 1};
  FillRect(dc, &one, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(dc.Px(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(2, 1), RGB(255, 255, 255));
}

TEST(FillRect, InvertedRectangleDrawsNothingAndSystemColourIndexWorks) {
  MemDC dc(4, 4);
  RECT inverted{3, 3, 1, 1};
  FillRect(dc, &inverted, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_PICTURE(dc, 0, 0, {"....", "....", "....", "...."});
  RECT all{0, 0, 4, 4};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(dc.Px(3, 3), RGB(192, 192, 192));
}

TEST(FillRect, IgnoresTheROP2ModeButFrameRectAndInvertRectWork) {
  MemDC dc(5, 5);
  SetROP2(dc, R2_NOP);
  RECT r{0, 0, 5, 5};
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_PICTURE(dc, 0, 0, {"#####", "#...#", "#...#", "#...#", "#####"});
  RECT inner{1, 1, 3, 3};
  InvertRect(dc, &inner);
  EXPECT_PICTURE(dc, 0, 0, {"#####", "###.#", "###.#", "#...#", "#####"});
}

TEST(Pixels, SetPixelGetPixelAndOutsideTheSurface) {
  MemDC dc(3, 3);
  EXPECT_EQ(SetPixel(dc, 1, 1, RGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(10, 20, 30));
  EXPECT_EQ(SetPixel(dc, 3, 0, RGB(0, 0, 0)), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  // On a monochrome surface colours become the nearer of black and white.
  MemDC mono(2, 1, RGB(255, 255, 255), 1);
  EXPECT_EQ(SetPixel(mono, 0, 0, RGB(100, 100, 100)), RGB(0, 0, 0));
  EXPECT_EQ(SetPixel(mono, 1, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
}

TEST(Pixels, PaletteIndexColoursResolveThroughTheSelectedPalette) {
  MemDC dc(1, 1);
  SetPixel(dc, 0, 0, PALETTEINDEX(13));  // the default palette's red
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 0, 0));
  SetPixel(dc, 0, 0, PALETTERGB(1, 2, 3));
  EXPECT_EQ(dc.Px(0, 0), RGB(1, 2, 3));
}

TEST(SysColors, ClassicSchemeAndBrushes) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), RGB(223, 223, 223));
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
  EXPECT_EQ(GetSysColor(99), 0u);
  HBRUSH b = GetSysColorBrush(COLOR_BTNSHADOW);
  LOGBRUSH lb{};
  ASSERT_EQ(GetObject(b, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(128, 128, 128));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(GetObjectType(b), OBJ_BRUSH);  // stock: still there
}

TEST(Rects, HelpersAndMulDiv) {
  RECT a{0, 0, 10, 10}, b{5, 5, 15, 15}, r;
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  const RECT want{5, 5, 10, 10};
  EXPECT_TRUE(EqualRect(&r, &want));
  RECT c{20, 20, 30, 30};
  EXPECT_FALSE(IntersectRect(&r, &a, &c));
  EXPECT_TRUE(IsRectEmpty(&r));
  EXPECT_TRUE(UnionRect(&r, &a, &c));
  EXPECT_EQ(r.right, 30);
  RECT top{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&r, &a, &top));
  EXPECT_EQ(r.top, 4);
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  EXPECT_TRUE(PtInRect(&a, POINT{9, 9}));
  EXPECT_EQ(MulDiv(3, 5, 2), 8);    // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(-3, 5, 2), -8);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 1), -1);
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);
}

TEST(FillRect, LongRunsAndPatternCopiesMatchAPixelReference) {
  // Long solid runs and pattern copies take fast paths; compare them with pixels computed
  // one by one from the brush origin, on seeded random rectangles and origins.
  std::mt19937 rng(7);
  const int w = 300, h = 40;
  MemDC dc(w, h);
  HBITMAP pat = CreateBitmap(5, 3, 1, 32, nullptr);  // an odd-sized tile catches phase errors
  {
    HDC pdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(pdc, pat);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) SetPixel(pdc, x, y, RGB(x * 40, y * 80, 7));
    SelectObject(pdc, old);
    DeleteDC(pdc);
  }
  HBRUSH pattern = CreatePatternBrush(pat);
  HBRUSH solid = CreateSolidBrush(RGB(1, 2, 3));
  std::vector<COLORREF> want(static_cast<size_t>(w) * h, RGB(255, 255, 255));
  for (int i = 0; i < 60; ++i) {
    const int x0 = static_cast<int>(rng() % w), x1 = x0 + static_cast<int>(rng() % (w - x0 + 1));
    const int y0 = static_cast<int>(rng() % h), y1 = y0 + static_cast<int>(rng() % (h - y0 + 1));
    const int ox = static_cast<int>(rng() % 11) - 5, oy = static_cast<int>(rng() % 7) - 3;
    const bool use_pattern = rng() % 2;
    SetBrushOrgEx(dc, ox, oy, nullptr);
    RECT r{x0, y0, x1, y1};
    FillRect(dc, &r, use_pattern ? pattern : solid);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const int tx = ((x - ox) % 5 + 5) % 5, ty = ((y - oy) % 3 + 3) % 3;
        want[static_cast<size_t>(y) * w + x] = use_pattern ? RGB(tx * 40, ty * 80, 7) : RGB(1, 2, 3);
      }
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(dc.Px(x, y), want[static_cast<size_t>(y) * w + x]) << x << "," << y;
  DeleteObject(pattern);
  DeleteObject(solid);
  DeleteObject(pat);
}

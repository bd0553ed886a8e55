// The shape masks behind DrawState and GrayString: reading a shape back from a monochrome
// bitmap, dithering, embossing, painting in a brush and copying bitmap pixels.
#include "platform/gdi/state_image.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/gdi/dc.h"
#include "support/memdc.h"

using testsupport::MemDC;

namespace {

gdi::DeviceContext& DC(HDC hdc) { return *gdi::Get<gdi::DeviceContext>(hdc); }

// A mask drawn as a picture: '#' set, anything else clear.
gdi::ShapeMask Mask(const std::vector<std::string>& rows) {
  gdi::ShapeMask m(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) m.Set(static_cast<int>(x), static_cast<int>(y), rows[y][x] == '#');
  return m;
}

std::vector<std::string> Rows(const gdi::ShapeMask& m) {
  std::vector<std::string> rows;
  for (int y = 0; y < m.height(); ++y) {
    std::string row;
    for (int x = 0; x < m.width(); ++x) row += m.Get(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

const std::map<char, COLORREF> kLegend = {{'f', RGB(192, 192, 192)}, {'s', RGB(128, 128, 128)},
                                          {'r', RGB(255, 0, 0)},     {'b', RGB(0, 0, 255)}};

}  // namespace

TEST(ShapeMask, ReadsTheShapeDrawnOnAMonochromeBitmap) {
  // The way DrawState makes it: a white monochrome bitmap, the image drawn black on it.
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(5, 3, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, 5, 3}, bar{1, 1, 4, 2};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FillRect(mem, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // Colours fall to the nearer of black and white: dark gray is shape, light gray is not.
  HBRUSH dark = CreateSolidBrush(RGB(100, 100, 100)), light = CreateSolidBrush(RGB(200, 200, 200));
  RECT a{0, 0, 1, 1}, b{4, 0, 5, 1};
  FillRect(mem, &a, dark);
  FillRect(mem, &b, light);
  // Asked for more than the bitmap holds, the rest is clear.
  const auto m = gdi::ShapeMask::FromSurface(gdi::Get<gdi::Bitmap>(bmp)->surface, 6, 4, gdi::kWhite);
  EXPECT_EQ(Rows(m), (std::vector<std::string>{"#.....", ".###..", "......", "......"}));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteObject(dark);
  DeleteObject(light);
  DeleteDC(mem);
}

TEST(ShapeMask, SpansAndDitherParity) {
  auto m = Mask({"##.##", ".....", "#####"});
  const auto spans = m.Spans(10, 20);
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0].y, 20);
  EXPECT_EQ(spans[0].x0, 10);
  EXPECT_EQ(spans[0].x1, 12);
  EXPECT_EQ(spans[1].x0, 13);
  EXPECT_EQ(spans[2].y, 22);
  EXPECT_EQ(spans[2].x1, 15);
  auto even = m;
  even.Dither(0);  // keeps (x + y) even
  EXPECT_EQ(Rows(even), (std::vector<std::string>{"#...#", ".....", "#.#.#"}));
  m.Dither(1);
  EXPECT_EQ(Rows(m), (std::vector<std::string>{".#.#.", ".....", ".#.#."}));
  EXPECT_TRUE(gdi::ShapeMask(-3, 2).Spans(0, 0).empty());
}

TEST(StateImage, DisabledIsHighlightOffsetThenShadow) {
  MemDC dc(6, 5, RGB(192, 192, 192));
  gdi::PaintStateMask(DC(dc), Mask({"#..", "#..", "###"}), 1, 1, DSS_DISABLED, nullptr);
  EXPECT_PICTURE(dc, 0, 0, {"ffffff", "fsffff", "fs.fff", "fsssff", "ff...f"}, kLegend);
  // The brush plays no part in the embossed look.
  MemDC dc2(4, 3, RGB(192, 192, 192));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  gdi::PaintStateMask(DC(dc2), Mask({"##"}), 0, 0, DSS_DISABLED | DSS_MONO, gdi::Get<gdi::Brush>(red));
  EXPECT_PICTURE(dc2, 0, 0, {"ssff", "f..f", "ffff"}, kLegend);
  DeleteObject(red);
}

TEST(StateImage, MonoAndUnionPaintInTheBrushBlackWithout) {
  MemDC dc(4, 2);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  gdi::PaintStateMask(DC(dc), Mask({"###.", "#..#"}), 0, 0, DSS_MONO, gdi::Get<gdi::Brush>(red));
  EXPECT_PICTURE(dc, 0, 0, {"rrr.", "r..r"}, kLegend);
  dc.Fill(RGB(255, 255, 255));
  gdi::PaintStateMask(DC(dc), Mask({"####", "####"}), 0, 0, DSS_UNION, gdi::Get<gdi::Brush>(red));
  EXPECT_PICTURE(dc, 0, 0, {"r.r.", ".r.r"}, kLegend);
  dc.Fill(RGB(255, 255, 255));
  gdi::PaintStateMask(DC(dc), Mask({"##..", "...#"}), 0, 0, DSS_MONO, nullptr);
  EXPECT_PICTURE(dc, 0, 0, {"##..", "...#"});
  DeleteObject(red);
}

TEST(StateImage, BrushPatternsFollowTheBrushOriginAndIgnoreTheDCColours) {
  MemDC dc(3, 8);
  SetBkColor(dc, RGB(0, 0, 255));
  SetTextColor(dc, RGB(0, 255, 0));
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(255, 0, 0));
  const auto full = Mask({"###", "###", "###", "###", "###", "###", "###", "###"});
  gdi::PaintStateMask(DC(dc), full, 0, 0, DSS_MONO, gdi::Get<gdi::Brush>(hatch));
  // The hatch line on row 6, its background white whatever the DC's background colour.
  EXPECT_PICTURE(dc, 0, 0, {"...", "...", "...", "...", "...", "...", "rrr", "..."}, kLegend);
  SetBrushOrgEx(dc, 0, 2, nullptr);
  gdi::PaintStateMask(DC(dc), full, 0, 0, DSS_MONO, gdi::Get<gdi::Brush>(hatch));
  EXPECT_EQ(dc.Px(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(1, 6), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 255, 0));
  DeleteObject(hatch);
}

TEST(StateImage, PaintMaskHonoursOriginsClipAndSurfaceEdges) {
  MemDC dc(5, 4);
  SetViewportOrgEx(dc, 1, 0, nullptr);
  IntersectClipRect(dc, 0, 0, 3, 4);  // logical: device columns 1..3
  const gdi::Ink black = gdi::Ink::Solid(R2_COPYPEN, gdi::kBlack);
  gdi::PaintMask(DC(dc), Mask({"#####", "#...#", "#####"}), -2, -1, black);
  EXPECT_PICTURE(dc, 0, 0, {"...#.", ".###.", ".....", "....."});
  SelectClipRgn(dc, nullptr);
  gdi::PaintMask(DC(dc), Mask({"##", "##"}), 3, 3, black);  // half off the bottom-right corner
  EXPECT_PICTURE(dc, 0, 0, {"...#.", ".###.", ".....", "....#"});
}

TEST(StateImage, PaintMaskMatchesAPixelByPixelReference) {
  std::mt19937 rng(7);
  for (int iter = 0; iter < 200; ++iter) {
    const int w = 1 + static_cast<int>(rng() % 12), h = 1 + static_cast<int>(rng() % 9);
    gdi::ShapeMask m(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) m.Set(x, y, rng() % 3 == 0);
    const int px = static_cast<int>(rng() % 16) - 4, py = static_cast<int>(rng() % 12) - 4;
    const RECT clip{static_cast<LONG>(rng() % 4), static_cast<LONG>(rng() % 3), 6 + static_cast<LONG>(rng() % 6),
                    4 + static_cast<LONG>(rng() % 5)};
    MemDC fast(10, 8), slow(10, 8);
    IntersectClipRect(fast, clip.left, clip.top, clip.right, clip.bottom);
    gdi::PaintMask(DC(fast), m, px, py, gdi::Ink::Solid(R2_XORPEN, 0x123456));
    // The reference: every set pixel on its own, inside the clip and the surface.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int sx = px + x, sy = py + y;
        if (!m.Get(x, y) || sx < clip.left || sx >= clip.right || sy < clip.top || sy >= clip.bottom) continue;
        if (sx < 0 || sy < 0 || sx >= 10 || sy >= 8) continue;
        SetPixelV(slow, sx, sy, slow.Px(sx, sy) ^ RGB(0x12, 0x34, 0x56));
      }
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) ASSERT_EQ(fast.Px(x, y), slow.Px(x, y)) << "iteration " << iter << " at " << x << "," << y;
  }
}

TEST(StateImage, CopyBitmapPixelsStopsAtTheBitmapAndMapsMonochrome) {
  HBITMAP colour = CreateBitmap(2, 2, 1, 32, nullptr);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, colour);
    SetPixelV(mem, 0, 0, RGB(255, 0, 0));
    SetPixelV(mem, 1, 0, RGB(0, 0, 255));
    SetPixelV(mem, 0, 1, RGB(255, 255, 255));
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  MemDC dc(5, 4, RGB(192, 192, 192));
  gdi::CopyBitmapPixels(DC(dc), *gdi::Get<gdi::Bitmap>(colour), 1, 1, 10, 10);
  EXPECT_PICTURE(dc, 0, 0, {"fffff", "frbff", "f.#ff", "fffff"}, kLegend);
  // A smaller size crops; off the surface nothing is written.
  dc.Fill(RGB(192, 192, 192));
  gdi::CopyBitmapPixels(DC(dc), *gdi::Get<gdi::Bitmap>(colour), 4, -1, 2, 2);
  EXPECT_PICTURE(dc, 0, 0, {"ffff.", "fffff", "fffff", "fffff"}, kLegend);

  // Monochrome: black takes the text colour, white the background colour.
  const uint8_t bits[] = {0x80, 0, 0x40, 0};  // set bits are white; rows padded to 16 bits
  HBITMAP mono = CreateBitmap(2, 2, 1, 1, bits);
  dc.Fill(RGB(192, 192, 192));
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkColor(dc, RGB(0, 0, 255));
  gdi::CopyBitmapPixels(DC(dc), *gdi::Get<gdi::Bitmap>(mono), 0, 0, 2, 2);
  EXPECT_PICTURE(dc, 0, 0, {"brfff", "rbfff"}, kLegend);

  // Bands of a tall bitmap join without a seam.
  HBITMAP tall = CreateBitmap(3, 150, 1, 32, nullptr);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, tall);
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 3; ++x) SetPixelV(mem, x, y, RGB(x * 40, y, 7));
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  MemDC big(4, 160);
  gdi::CopyBitmapPixels(DC(big), *gdi::Get<gdi::Bitmap>(tall), 1, 5, 3, 150);
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 3; ++x) ASSERT_EQ(big.Px(x + 1, y + 5), RGB(x * 40, y, 7)) << x << "," << y;
  EXPECT_EQ(big.Px(1, 155), RGB(255, 255, 255));
  DeleteObject(colour);
  DeleteObject(mono);
  DeleteObject(tall);
}

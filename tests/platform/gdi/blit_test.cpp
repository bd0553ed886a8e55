// PatBlt, BitBlt, StretchBlt, MaskBlt, TransparentBlt and AlphaBlend on memory DCs.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/raster.h"
#include "support/memdc.h"

using testsupport::MemDC;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A different colour for every pixel, so a misplaced pixel cannot go unnoticed.
COLORREF Unique(int x, int y) { return RGB(x * 16 + 3, y * 16 + 5, 77); }

void PaintUnique(const MemDC& dc) {
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x) SetPixel(dc, x, y, Unique(x, y));
}

std::vector<COLORREF> Snapshot(const MemDC& dc) {
  std::vector<COLORREF> v;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x) v.push_back(dc.Px(x, y));
  return v;
}

// Selects a brush for the lifetime of the object.
struct UseBrush {
  UseBrush(HDC dc, HBRUSH b) : dc(dc), brush(b), old(SelectObject(dc, b)) {}
  ~UseBrush() {
    SelectObject(dc, old);
    DeleteObject(brush);
  }
  HDC dc;
  HBRUSH brush;
  HGDIOBJ old;
};

// A 32 bpp top-down DIB section in a memory DC, for setting alpha bytes directly.
struct DibDC {
  DibDC(int w, int h) : width(w) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    void* mem = nullptr;
    bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &mem, nullptr, 0);
    bits = static_cast<uint32_t*>(mem);
    old = SelectObject(dc, bmp);
  }
  ~DibDC() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  uint32_t& at(int x, int y) { return bits[y * width + x]; }
  int width;
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  uint32_t* bits;
};

}  // namespace

// [SECTION] PatBlt ------------------------------------------------------------------------

TEST(PatBlt, TheSixteenPatternOnlyCodesActLikeTheRop2Modes) {
  // A ROP3 that ignores S is a ROP2 of (P, D): its index byte repeats the ROP2 truth table.
  const COLORREF brush_color = RGB(0x5A, 0xC3, 0x0F);
  const COLORREF dests[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0x12, 0x9F, 0xF0), RGB(0xA5, 0x3C, 0x66)};
  MemDC dc(4, 1);
  UseBrush brush(dc, CreateSolidBrush(brush_color));
  for (int rop2 = R2_BLACK; rop2 <= R2_WHITE; ++rop2) {
    const int table = rop2 - 1;  // bit ((P << 1) | D)
    unsigned index = 0;
    for (unsigned i = 0; i < 8; ++i) {
      const unsigned p = (i >> 2) & 1, d = i & 1;
      index |= ((table >> ((p << 1) | d)) & 1u) << i;
    }
    for (int x = 0; x < 4; ++x) SetPixel(dc, x, 0, dests[x]);
    ASSERT_TRUE(PatBlt(dc, 0, 0, 4, 1, index << 16)) << rop2;
    const gdi::RopMask m = gdi::Rop2Mask(rop2, gdi::ToPixel(brush_color));
    for (int x = 0; x < 4; ++x) {
      const gdi::Pixel expected = (gdi::ToPixel(dests[x]) & m.and_mask) ^ m.xor_mask;
      EXPECT_EQ(dc.Px(x, 0), gdi::ToColorRef(expected & gdi::kPixelMask)) << "rop2 " << rop2 << " x " << x;
    }
  }
}

TEST(PatBlt, NegativeExtentsRunBackFromTheOriginPixel) {
  MemDC dc(8, 5);
  EXPECT_TRUE(PatBlt(dc, 5, 3, -3, -2, BLACKNESS));  // columns 3..5, rows 2..3
  EXPECT_PICTURE(dc, 0, 0, {"........", "........", "...###..", "...###..", "........"});
  dc.Fill(kWhite);
  EXPECT_TRUE(PatBlt(dc, 1, 1, 3, 0, BLACKNESS));  // empty
  EXPECT_TRUE(PatBlt(dc, 1, 1, 0, 3, BLACKNESS));
  EXPECT_TRUE(PatBlt(dc, 0, 4, -1, -1, BLACKNESS));  // just the origin pixel
  EXPECT_PICTURE(dc, 0, 0, {"........", "........", "........", "........", "#......."});
}

TEST(PatBlt, RefusesSourceRopsAndANullBrushPaintsNothing) {
  MemDC dc(4, 1);
  SetLastError(0);
  EXPECT_FALSE(PatBlt(dc, 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_PICTURE(dc, 0, 0, {"...."});
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (DWORD rop : {PATCOPY, DSTINVERT, BLACKNESS, PATINVERT}) {
    EXPECT_TRUE(PatBlt(dc, 0, 0, 4, 1, rop));
    EXPECT_PICTURE(dc, 0, 0, {"...."});
  }
  SetLastError(0);
  EXPECT_FALSE(PatBlt(reinterpret_cast<HDC>(0x7FFF0001), 0, 0, 1, 1, PATCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(PatBlt, HatchFollowsTheBrushOriginAndTransparentGapsAreKept) {
  MemDC dc(10, 1, kRed);
  UseBrush brush(dc, CreateHatchBrush(HS_VERTICAL, kBlack));  // line in column 4 of the tile
  SetBrushOrgEx(dc, 2, 0, nullptr);
  SetBkColor(dc, kWhite);
  EXPECT_TRUE(PatBlt(dc, 0, 0, 10, 1, PATCOPY));
  EXPECT_PICTURE(dc, 0, 0, {"......#..."});
  // The origin is on the device: a moved viewport does not move the pattern.
  dc.Fill(kRed);
  SetViewportOrgEx(dc, 3, 0, nullptr);
  EXPECT_TRUE(PatBlt(dc, -3, 0, 10, 1, PATCOPY));
  EXPECT_PICTURE(dc, 0, 0, {"......#..."});
  SetViewportOrgEx(dc, 0, 0, nullptr);
  dc.Fill(kRed);
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(PatBlt(dc, 0, 0, 10, 1, PATCOPY));
  EXPECT_PICTURE(dc, 0, 0, {"rrrrrr#rrr"}, {{'r', kRed}});
}

TEST(PatBlt, ClippedBySurfaceEdgesClipRegionsAndOrigins) {
  MemDC dc(6, 4);
  EXPECT_TRUE(PatBlt(dc, -100, -100, 102, 101, BLACKNESS));  // only (0..1, 0) is on the surface
  EXPECT_TRUE(PatBlt(dc, 5, 3, 1000, 1000, BLACKNESS));
  EXPECT_PICTURE(dc, 0, 0, {"##....", "......", "......", ".....#"});
  dc.Fill(kWhite);
  IntersectClipRect(dc, 1, 1, 5, 3);
  ExcludeClipRect(dc, 2, 1, 4, 2);
  SetWindowOrgEx(dc, -1, 0, nullptr);  // logical x = surface x - 1
  EXPECT_TRUE(PatBlt(dc, -1, 0, 6, 4, BLACKNESS));
  EXPECT_PICTURE(dc, 0, 0, {"......", ".#..#.", ".####.", "......"});
}

// [SECTION] BitBlt ------------------------------------------------------------------------

TEST(BitBlt, CopiesThroughTheLogicalOriginsOfBothDCs) {
  MemDC src(4, 4), dst(6, 4);
  PaintUnique(src);
  SetWindowOrgEx(src, -1, -1, nullptr);  // logical (0, 0) is surface (1, 1)
  SetViewportOrgEx(dst, 2, 0, nullptr);   // logical (0, 0) is surface (2, 0)
  EXPECT_TRUE(BitBlt(dst, 0, 0, 2, 2, src, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Px(2, 0), Unique(1, 1));
  EXPECT_EQ(dst.Px(3, 1), Unique(2, 2));
  EXPECT_EQ(dst.Px(1, 0), kWhite);
  EXPECT_EQ(dst.Px(4, 0), kWhite);
  EXPECT_EQ(dst.Px(2, 2), kWhite);
}

TEST(BitBlt, WholePixelsIncludingTheXByteGoThroughTheRop) {
  DibDC src(1, 1), dst(1, 1);
  HBRUSH brush = CreateSolidBrush(RGB(0x10, 0x20, 0x30));
  HGDIOBJ old = SelectObject(dst.dc, brush);
  struct Case {
    DWORD rop;
    uint32_t expected;
  };
  // S = 0xC3A5F00F, D = 0x12345678, P = 0x00102030 (brushes have no X byte).
  const Case cases[] = {
      {SRCCOPY, 0xC3A5F00F},    {DSTINVERT, 0xEDCBA987}, {SRCAND, 0x02245008},   {SRCPAINT, 0xD3B5F67F},
      {SRCINVERT, 0xD191A677}, {NOTSRCCOPY, 0x3C5A0FF0}, {PATCOPY, 0x00102030}, {WHITENESS, 0xFFFFFFFF},
      {BLACKNESS, 0x00000000}, {PATINVERT, 0x12247648},
  };
  for (const Case& c : cases) {
    src.at(0, 0) = 0xC3A5F00F;
    dst.at(0, 0) = 0x12345678;
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
    EXPECT_EQ(dst.at(0, 0), c.expected) << std::hex << c.rop;
  }
  SelectObject(dst.dc, old);
  DeleteObject(brush);
}

TEST(BitBlt, ColourToMonochromeMakesTheSourceBackgroundWhite) {
  MemDC src(4, 1), mono(4, 1, kBlack, 1);
  SetPixel(src, 0, 0, RGB(0, 128, 0));
  SetPixel(src, 1, 0, kWhite);
  SetPixel(src, 2, 0, RGB(0, 128, 1));
  SetPixel(src, 3, 0, RGB(0, 128, 0));
  SetBkColor(src, RGB(0, 128, 0));
  SetBkColor(mono, kRed);  // the destination's colours play no part
  SetTextColor(mono, kGreen);
  EXPECT_TRUE(BitBlt(mono, 0, 0, 4, 1, src, 0, 0, SRCCOPY));
  // Only the exact background colour turns white; white itself does not.
  EXPECT_PICTURE(mono, 0, 0, {".##."});
}

TEST(BitBlt, MonochromeToColourUsesTheDestinationTextAndBackground) {
  MemDC mono(4, 1, kWhite, 1), dst(4, 1);
  SetPixel(mono, 1, 0, kBlack);
  SetPixel(mono, 2, 0, kBlack);
  SetTextColor(mono, kGreen);  // the source's colours play no part
  SetBkColor(mono, kGreen);
  SetTextColor(dst, kRed);
  SetBkColor(dst, kBlue);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 4, 1, mono, 0, 0, SRCCOPY));
  EXPECT_PICTURE(dst, 0, 0, {"brrb"}, {{'r', kRed}, {'b', kBlue}});
  // And through a ROP: SRCAND of blue/red onto green.
  dst.Fill(kGreen | kBlue);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 4, 1, mono, 0, 0, SRCAND));
  EXPECT_PICTURE(dst, 0, 0, {"b##b"}, {{'b', kBlue}});
}

TEST(BitBlt, OverlappingBlitsOnOneSurfaceInEveryDirection) {
  MemDC dc(11, 9);
  for (DWORD rop : {SRCCOPY, SRCINVERT}) {
    for (bool clipped : {false, true}) {
      for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
          SelectClipRgn(dc, nullptr);
          PaintUnique(dc);
          const std::vector<COLORREF> before = Snapshot(dc);
          // Two pieces in every band, the gap narrower than the shift: the order must hold
          // across pieces too.
          if (clipped) ExcludeClipRect(dc, 6, 0, 7, 9);
          const RECT from{3, 3, 8, 7};
          ASSERT_TRUE(BitBlt(dc, from.left + dx, from.top + dy, 5, 4, dc, from.left, from.top, rop));
          for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 11; ++x) {
              const bool inside = x >= from.left + dx && x < from.right + dx && y >= from.top + dy &&
                                  y < from.bottom + dy && (!clipped || x != 6);
              const COLORREF old = before[y * 11 + x];
              COLORREF want = old;
              if (inside) {
                const COLORREF s = before[(y - dy) * 11 + (x - dx)];
                want = rop == SRCCOPY ? s : s ^ old;
              }
              ASSERT_EQ(dc.Px(x, y), want) << "rop " << std::hex << rop << std::dec << " dx " << dx << " dy " << dy
                                           << " at " << x << "," << y << (clipped ? " clipped" : "");
            }
          }
        }
      }
    }
  }
}

TEST(BitBlt, SourceOutsideItsBitmapLeavesThatPartOfTheDestinationAlone) {
  MemDC src(4, 4), dst(8, 8, kBlue);
  PaintUnique(src);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 8, 8, src, -2, -3, SRCCOPY));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool mapped = x >= 2 && x < 6 && y >= 3 && y < 7;
      ASSERT_EQ(dst.Px(x, y), mapped ? Unique(x - 2, y - 3) : kBlue) << x << "," << y;
    }
  // Also for ROPs that do not copy: DSTINVERT-like results only where the source exists.
  dst.Fill(kBlack);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 8, 1, src, 2, 0, NOTSRCERASE));  // ~(S | D)
  EXPECT_EQ(dst.Px(1, 0), gdi::ToColorRef(~gdi::ToPixel(Unique(3, 0)) & gdi::kPixelMask));
  EXPECT_EQ(dst.Px(2, 0), kBlack);
}

TEST(BitBlt, ClipsAtTheDestinationEdges) {
  MemDC src(4, 4), dst(3, 3, kBlue);
  PaintUnique(src);
  EXPECT_TRUE(BitBlt(dst, -2, -2, 4, 4, src, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Px(0, 0), Unique(2, 2));
  EXPECT_EQ(dst.Px(1, 1), Unique(3, 3));
  EXPECT_EQ(dst.Px(2, 0), kBlue);
  EXPECT_EQ(dst.Px(0, 2), kBlue);
  EXPECT_TRUE(BitBlt(dst, 2, 2, 1000, 1000, src, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Px(2, 2), Unique(0, 0));
  EXPECT_TRUE(BitBlt(dst, 1 << 29, 0, 4, 4, src, 0, 0, SRCCOPY));
  SetLastError(0);
  EXPECT_FALSE(BitBlt(dst, 0x7FFFFFF0, 0, 100, 1, src, 0, 0, SRCCOPY));  // past any coordinate
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(BitBlt, InvalidHandlesAndAMissingSource) {
  MemDC dst(2, 1), src(2, 1, kRed);
  SetLastError(0);
  EXPECT_FALSE(BitBlt(reinterpret_cast<HDC>(0x7FFF0001), 0, 0, 1, 1, src, 0, 0, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  SetLastError(0);
  EXPECT_FALSE(BitBlt(dst, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  SetLastError(0);
  EXPECT_FALSE(StretchBlt(dst, 0, 0, 1, 1, reinterpret_cast<HDC>(src.bitmap()), 0, 0, 1, 1, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  EXPECT_FALSE(BitBlt(dst, 0, 0, 1, 1, gone, 0, 0, SRCCOPY));
  EXPECT_PICTURE(dst, 0, 0, {".."});
  // ROPs without a source need none.
  UseBrush brush(dst, CreateSolidBrush(kGreen));
  EXPECT_TRUE(BitBlt(dst, 0, 0, 1, 1, nullptr, 0, 0, PATCOPY));
  EXPECT_TRUE(StretchBlt(dst, 1, 0, 1, 1, nullptr, 0, 0, 5, 5, DSTINVERT));
  EXPECT_PICTURE(dst, 0, 0, {"g#"}, {{'g', kGreen}});
  EXPECT_TRUE(GdiFlush());
}

TEST(BitBlt, NegativeExtentsDoNotMirror) {
  MemDC src(4, 1), dst(6, 1);
  PaintUnique(src);
  // Both rectangles run back from their origin pixel: columns 1..4 <- 0..3.
  EXPECT_TRUE(BitBlt(dst, 4, 0, -4, 1, src, 3, 0, SRCCOPY));
  EXPECT_EQ(dst.Px(0, 0), kWhite);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Px(x + 1, 0), Unique(x, 0));
  EXPECT_EQ(dst.Px(5, 0), kWhite);
}

TEST(BitBlt, PatternRopsUseTheDestinationBrush) {
  MemDC src(8, 1, kWhite), dst(8, 1, kBlue);
  SetPixel(src, 0, 0, kBlack);
  {
    UseBrush brush(dst, CreateHatchBrush(HS_VERTICAL, kBlack));
    SetBkColor(dst, kRed);
    SetBrushOrgEx(dst, 1, 0, nullptr);  // hatch line at column 5
    EXPECT_TRUE(BitBlt(dst, 0, 0, 8, 1, src, 0, 0, MERGECOPY));  // P & S
    EXPECT_PICTURE(dst, 0, 0, {"#rrrr#rr"}, {{'r', kRed}});
  }
  // A null brush paints nothing where the pattern is needed, and does not matter elsewhere.
  dst.Fill(kBlue);
  SelectObject(dst, GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(BitBlt(dst, 0, 0, 8, 1, src, 0, 0, MERGECOPY));
  EXPECT_PICTURE(dst, 0, 0, {"bbbbbbbb"}, {{'b', kBlue}});
  EXPECT_TRUE(BitBlt(dst, 0, 0, 8, 1, src, 0, 0, SRCCOPY));
  EXPECT_PICTURE(dst, 0, 0, {"#......."});
}

// [SECTION] StretchBlt --------------------------------------------------------------------

TEST(StretchBlt, DoublingRepeatsEveryPixelInEveryMode) {
  MemDC src(2, 2);
  PaintUnique(src);
  for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
    MemDC dst(4, 4);
    SetStretchBltMode(dst, mode);
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 4, 4, src, 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) ASSERT_EQ(dst.Px(x, y), Unique(x / 2, y / 2)) << "mode " << mode;
  }
}

TEST(StretchBlt, HalvingMergesThePixelsAsTheModeSays) {
  const COLORREF a = RGB(0xF0, 0x0F, 0x33), b = RGB(0x3C, 0xFF, 0x00), c = RGB(0x81, 0x42, 0x24),
                 d = RGB(0x18, 0x7E, 0xE7), e = RGB(0x99, 0x66, 0x5A), f = RGB(0x0F, 0xF1, 0xA5),
                 g = RGB(0xC3, 0x3C, 0x96), h = RGB(0x21, 0x12, 0x6B);
  MemDC src(4, 2);
  const COLORREF px[2][4] = {{a, b, c, d}, {e, f, g, h}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(src, x, y, px[y][x]);
  auto average = [](COLORREF p, COLORREF q, COLORREF r, COLORREF s) {
    auto ch = [&](int shift) {
      auto byte = [shift](COLORREF c) { return (c >> shift) & 0xFF; };
      return static_cast<BYTE>((byte(p) + byte(q) + byte(r) + byte(s) + 2) / 4);
    };
    return RGB(ch(0), ch(8), ch(16));
  };
  struct Case {
    int mode;
    COLORREF left, right;
  };
  const Case cases[] = {
      {COLORONCOLOR, a, c},
      {BLACKONWHITE, a & b & e & f, c & d & g & h},
      {WHITEONBLACK, a | b | e | f, c | d | g | h},
      {HALFTONE, average(a, b, e, f), average(c, d, g, h)},
  };
  for (const Case& k : cases) {
    MemDC dst(2, 1);
    SetStretchBltMode(dst, k.mode);
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(dst.Px(0, 0), k.left) << "mode " << k.mode;
    EXPECT_EQ(dst.Px(1, 0), k.right) << "mode " << k.mode;
  }
}

TEST(StretchBlt, MonochromeShrinkKeepsBlackOrWhite) {
  MemDC src(8, 1, kWhite, 1);
  for (int x : {0, 3, 4, 5}) SetPixel(src, x, 0, kBlack);  // #..###..
  struct Case {
    int mode;
    const char* want;
  };
  for (const Case& k : {Case{BLACKONWHITE, "###."}, Case{WHITEONBLACK, "..#."}, Case{COLORONCOLOR, "#.#."}}) {
    MemDC dst(4, 1, kRed, 1);
    SetStretchBltMode(dst, k.mode);
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 4, 1, src, 0, 0, 8, 1, SRCCOPY));
    EXPECT_PICTURE(dst, 0, 0, {k.want}) << "mode " << k.mode;
  }
}

TEST(StretchBlt, OppositeSignsMirror) {
  MemDC src(4, 2);
  PaintUnique(src);
  MemDC dst(4, 2);
  // Destination runs back from column 3: mirrored.
  EXPECT_TRUE(StretchBlt(dst, 3, 0, -4, 1, src, 0, 0, 4, 1, SRCCOPY));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Px(x, 0), Unique(3 - x, 0));
  // Source runs back from column 3: mirrored.
  EXPECT_TRUE(StretchBlt(dst, 0, 0, 4, 1, src, 3, 0, -4, 1, SRCCOPY));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Px(x, 0), Unique(3 - x, 0));
  // Both run back: no mirror.
  EXPECT_TRUE(StretchBlt(dst, 3, 0, -4, 1, src, 3, 0, -4, 1, SRCCOPY));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Px(x, 0), Unique(x, 0));
  // Upside down, and mirrored while doubling.
  EXPECT_TRUE(StretchBlt(dst, 0, 1, 4, -2, src, 0, 0, 4, 2, SRCCOPY));
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(dst.Px(x, 0), Unique(x, 1));
    EXPECT_EQ(dst.Px(x, 1), Unique(x, 0));
  }
  EXPECT_TRUE(StretchBlt(dst, 0, 0, 4, 1, src, 1, 0, -2, 1, SRCCOPY));
  EXPECT_EQ(dst.Px(0, 0), Unique(1, 0));
  EXPECT_EQ(dst.Px(1, 0), Unique(1, 0));
  EXPECT_EQ(dst.Px(2, 0), Unique(0, 0));
  EXPECT_EQ(dst.Px(3, 0), Unique(0, 0));
}

TEST(StretchBlt, OntoItselfReadsTheOriginalPixels) {
  MemDC dc(8, 8);
  PaintUnique(dc);
  EXPECT_TRUE(StretchBlt(dc, 0, 0, 8, 8, dc, 2, 2, 4, 4, SRCCOPY));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dc.Px(x, y), Unique(2 + x / 2, 2 + y / 2)) << x << "," << y;
  PaintUnique(dc);
  EXPECT_TRUE(StretchBlt(dc, 7, 0, -8, 8, dc, 0, 0, 8, 8, SRCCOPY));  // mirror in place
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dc.Px(x, y), Unique(7 - x, y)) << x << "," << y;
}

TEST(StretchBlt, SourceOutsideItsBitmapLeavesThatPartAlone) {
  MemDC src(3, 3), dst(8, 8, kBlue);
  PaintUnique(src);
  // Doubling from (-1, -1): destination columns 0 and 1 come from column -1.
  EXPECT_TRUE(StretchBlt(dst, 0, 0, 8, 8, src, -1, -1, 4, 4, SRCCOPY));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool mapped = x >= 2 && y >= 2;
      ASSERT_EQ(dst.Px(x, y), mapped ? Unique(x / 2 - 1, y / 2 - 1) : kBlue) << x << "," << y;
    }
}

TEST(StretchBlt, ClippedByTheDestinationClipRegion) {
  MemDC src(2, 1), dst(8, 2, kBlue);
  SetPixel(src, 0, 0, kRed);
  SetPixel(src, 1, 0, kGreen);
  IntersectClipRect(dst, 1, 0, 6, 1);
  EXPECT_TRUE(StretchBlt(dst, 0, 0, 8, 2, src, 0, 0, 2, 1, SRCCOPY));
  EXPECT_PICTURE(dst, 0, 0, {"brrrggbb", "bbbbbbbb"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}});
}

// [SECTION] MaskBlt -----------------------------------------------------------------------

TEST(MaskBlt, MaskPicksTheForegroundOrBackgroundRop) {
  MemDC src(4, 1, kRed), dst(4, 1);
  const BYTE bits[2] = {0xA0, 0x00};  // .#.# in mask pixels 0..3 is "white, black, white, black"
  HBITMAP mask = CreateBitmap(8, 1, 1, 1, bits);
  constexpr DWORD kKeepDest = 0x00AA0029;
  // Mask 1 (white) takes the foreground ROP, 0 the background one.
  EXPECT_TRUE(MaskBlt(dst, 0, 0, 4, 1, src, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, kKeepDest)));
  EXPECT_PICTURE(dst, 0, 0, {"r.r."}, {{'r', kRed}});
  dst.Fill(kWhite);
  EXPECT_TRUE(MaskBlt(dst, 0, 0, 4, 1, src, 0, 0, mask, 1, 0, MAKEROP4(SRCCOPY, kKeepDest)));
  EXPECT_PICTURE(dst, 0, 0, {".r.."}, {{'r', kRed}});
  // A background ROP with the pattern.
  UseBrush brush(dst, CreateSolidBrush(kGreen));
  EXPECT_TRUE(MaskBlt(dst, 0, 0, 4, 1, src, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, PATCOPY)));
  EXPECT_PICTURE(dst, 0, 0, {"rgrg"}, {{'r', kRed}, {'g', kGreen}});
  // Neither ROP uses the source: no source DC needed.
  dst.Fill(kWhite);
  EXPECT_TRUE(MaskBlt(dst, 0, 0, 4, 1, nullptr, 0, 0, mask, 0, 0, MAKEROP4(BLACKNESS, PATCOPY)));
  EXPECT_PICTURE(dst, 0, 0, {"#g#g"}, {{'g', kGreen}});
  DeleteObject(mask);
}

TEST(MaskBlt, NullMaskIsBitBltAndBadMasksFail) {
  MemDC src(4, 1, kRed), dst(4, 1);
  UseBrush brush(dst, CreateSolidBrush(kGreen));
  EXPECT_TRUE(MaskBlt(dst, 0, 0, 4, 1, src, 0, 0, nullptr, 0, 0, MAKEROP4(SRCCOPY, PATCOPY)));
  EXPECT_PICTURE(dst, 0, 0, {"rrrr"}, {{'r', kRed}});
  dst.Fill(kWhite);
  HBITMAP colour = CreateBitmap(4, 1, 1, 32, nullptr);
  SetLastError(0);
  EXPECT_FALSE(MaskBlt(dst, 0, 0, 4, 1, src, 0, 0, colour, 0, 0, MAKEROP4(SRCCOPY, PATCOPY)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  HBITMAP small = CreateBitmap(4, 1, 1, 1, nullptr);
  SetLastError(0);
  EXPECT_FALSE(MaskBlt(dst, 0, 0, 4, 1, src, 0, 0, small, 1, 0, MAKEROP4(SRCCOPY, PATCOPY)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(MaskBlt(dst, 0, 0, 4, 1, nullptr, 0, 0, small, 0, 0, MAKEROP4(SRCCOPY, PATCOPY)));
  EXPECT_PICTURE(dst, 0, 0, {"...."});
  DeleteObject(colour);
  DeleteObject(small);
}

// [SECTION] TransparentBlt ----------------------------------------------------------------

TEST(TransparentBlt, LeavesOutTheKeyColourAndStretches) {
  constexpr COLORREF kKey = RGB(255, 0, 255);
  MemDC src(4, 1);
  SetPixel(src, 0, 0, kRed);
  SetPixel(src, 1, 0, kKey);
  SetPixel(src, 2, 0, kGreen);
  SetPixel(src, 3, 0, kKey);
  MemDC dst(8, 1, kBlue);
  EXPECT_TRUE(TransparentBlt(dst, 0, 0, 4, 1, src, 0, 0, 4, 1, kKey));
  EXPECT_PICTURE(dst, 0, 0, {"rbgbbbbb"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}});
  dst.Fill(kBlue);
  EXPECT_TRUE(GdiTransparentBlt(dst, 0, 0, 8, 1, src, 0, 0, 4, 1, kKey));
  EXPECT_PICTURE(dst, 0, 0, {"rrbbggbb"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}});
  // Shrinking picks pixels, never merges them, whatever the stretch mode.
  dst.Fill(kBlue);
  SetStretchBltMode(dst, BLACKONWHITE);
  EXPECT_TRUE(TransparentBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, kKey));
  EXPECT_PICTURE(dst, 0, 0, {"rgbbbbbb"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}});
  SetLastError(0);
  EXPECT_FALSE(TransparentBlt(dst, 4, 0, -4, 1, src, 0, 0, 4, 1, kKey));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(TransparentBlt, MonochromeDestinationTakesTheConvertedSource) {
  MemDC src(3, 1);
  SetPixel(src, 0, 0, kRed);
  SetPixel(src, 1, 0, kGreen);
  SetPixel(src, 2, 0, kBlue);
  SetBkColor(src, kRed);  // red turns white, the rest black
  MemDC mono(3, 1, kWhite, 1);
  EXPECT_TRUE(TransparentBlt(mono, 0, 0, 3, 1, src, 0, 0, 3, 1, kBlue));
  EXPECT_PICTURE(mono, 0, 0, {".#."});
}

// [SECTION] AlphaBlend --------------------------------------------------------------------

TEST(AlphaBlend, ConstantAlphaMixesEveryByte) {
  DibDC src(1, 1), dst(1, 1);
  src.at(0, 0) = 0x00FF0000;  // red
  dst.at(0, 0) = 0x000000FF;  // blue
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0}));
  EXPECT_EQ(dst.at(0, 0), 0x0080007Fu);  // (255*128 + 127) / 255 and (255*127 + 127) / 255
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 0, 0}));
  EXPECT_EQ(dst.at(0, 0), 0x0080007Fu);
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
  EXPECT_EQ(dst.at(0, 0), 0x00FF0000u);
}

TEST(AlphaBlend, PremultipliedPerPixelAlpha) {
  DibDC src(4, 1), dst(4, 1);
  src.at(0, 0) = 0x00000000;  // fully transparent
  src.at(1, 0) = 0xFF00FF00;  // opaque green
  src.at(2, 0) = 0x80800000;  // half-covered red, premultiplied
  src.at(3, 0) = 0xFF00FF00;
  for (int x = 0; x < 4; ++x) dst.at(x, 0) = 0x000000FF;
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, 3, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.at(0, 0), 0x000000FFu);
  EXPECT_EQ(dst.at(1, 0), 0xFF00FF00u);
  EXPECT_EQ(dst.at(2, 0), 0x8080007Fu);
  // Constant alpha scales the premultiplied source first: 0xFF -> 0x80, then 1 - 0x80/255.
  EXPECT_TRUE(AlphaBlend(dst.dc, 3, 0, 1, 1, src.dc, 3, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.at(3, 0), 0x8000807Fu);
}

TEST(AlphaBlend, StretchesWithoutMergingAndRefusesWhatWin32Refuses) {
  MemDC src(2, 1), dst(4, 1, kBlue);
  SetPixel(src, 0, 0, kRed);
  SetPixel(src, 1, 0, kGreen);
  SetStretchBltMode(dst, BLACKONWHITE);
  const BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, 0};
  EXPECT_TRUE(AlphaBlend(dst, 0, 0, 4, 1, src, 0, 0, 2, 1, opaque));
  EXPECT_PICTURE(dst, 0, 0, {"rrgg"}, {{'r', kRed}, {'g', kGreen}});
  auto refused = [&](BOOL ok) {
    const bool failed = !ok && GetLastError() == ERROR_INVALID_PARAMETER;
    SetLastError(0);
    return failed;
  };
  SetLastError(0);
  EXPECT_TRUE(refused(AlphaBlend(dst, 3, 0, -2, 1, src, 0, 0, 2, 1, opaque)));
  EXPECT_TRUE(refused(AlphaBlend(dst, 0, 0, 2, 1, src, 1, 0, 2, 1, opaque)));   // past the source
  EXPECT_TRUE(refused(AlphaBlend(dst, 0, 0, 2, 1, src, -1, 0, 2, 1, opaque)));  // before it
  EXPECT_TRUE(refused(AlphaBlend(dst, 1, 0, 2, 1, dst, 0, 0, 2, 1, opaque)));   // overlapping itself
  EXPECT_TRUE(refused(AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, BLENDFUNCTION{1, 0, 255, 0})));
  MemDC mono(2, 1, kWhite, 1);
  EXPECT_TRUE(refused(AlphaBlend(dst, 0, 0, 2, 1, mono, 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA})));
  EXPECT_PICTURE(dst, 0, 0, {"rrgg"}, {{'r', kRed}, {'g', kGreen}});
  EXPECT_TRUE(AlphaBlend(dst, 2, 0, 2, 1, dst, 0, 0, 2, 1, opaque));  // itself, not overlapping
  EXPECT_PICTURE(dst, 0, 0, {"rrrr"}, {{'r', kRed}});
}

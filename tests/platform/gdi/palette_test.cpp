// Logical palettes on true-colour and monochrome DCs.
#include <gtest/gtest.h>

#include <vector>

#include "support/memdc.h"

using testsupport::MemDC;

namespace {

// A LOGPALETTE with room for n entries, as callers allocate it.
struct PaletteBuffer {
  explicit PaletteBuffer(int n) : bytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(n)) {
    lp()->palVersion = 0x300;
    lp()->palNumEntries = static_cast<WORD>(n);
  }
  LOGPALETTE* lp() { return reinterpret_cast<LOGPALETTE*>(bytes.data()); }
  PALETTEENTRY& entry(int i) { return lp()->palPalEntry[i]; }
  std::vector<unsigned char> bytes;
};

HPALETTE ThreeColours() {
  PaletteBuffer buf(3);
  buf.entry(0) = PALETTEENTRY{10, 20, 30, 0};
  buf.entry(1) = PALETTEENTRY{200, 0, 0, 0};
  buf.entry(2) = PALETTEENTRY{0, 0, 250, 0};
  return CreatePalette(buf.lp());
}

bool SameEntry(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

}  // namespace

TEST(Palette, CreateValidatesVersionAndCount) {
  auto refused = [](const LOGPALETTE* lp) {
    SetLastError(0);
    HPALETTE p = CreatePalette(lp);
    const bool ok = p == nullptr && GetLastError() == ERROR_INVALID_PARAMETER;
    if (p) DeleteObject(p);
    return ok;
  };
  EXPECT_TRUE(refused(nullptr));
  PaletteBuffer big(1025);
  EXPECT_TRUE(refused(big.lp()));
  big.lp()->palNumEntries = 0;
  EXPECT_TRUE(refused(big.lp()));
  big.lp()->palNumEntries = 1024;
  big.lp()->palVersion = 0x200;
  EXPECT_TRUE(refused(big.lp()));
  big.lp()->palVersion = 0x300;
  HPALETTE p = CreatePalette(big.lp());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetObjectType(p), OBJ_PAL);
  WORD count = 0;
  EXPECT_EQ(GetObject(p, sizeof count, &count), static_cast<int>(sizeof count));
  EXPECT_EQ(count, 1024);
  EXPECT_TRUE(DeleteObject(p));
}

TEST(Palette, GetAndSetEntriesClipToThePaletteEnd) {
  HPALETTE p = ThreeColours();
  PALETTEENTRY out[4] = {};
  EXPECT_EQ(GetPaletteEntries(p, 0, 0, nullptr), 3u);  // no buffer: the size
  EXPECT_EQ(GetPaletteEntries(p, 1, 5, out), 2u);
  EXPECT_TRUE(SameEntry(out[0], PALETTEENTRY{200, 0, 0, 0}));
  EXPECT_TRUE(SameEntry(out[1], PALETTEENTRY{0, 0, 250, 0}));
  EXPECT_EQ(GetPaletteEntries(p, 3, 1, out), 0u);
  const PALETTEENTRY grey[2] = {{128, 128, 128, 0}, {1, 2, 3, 0}};
  EXPECT_EQ(SetPaletteEntries(p, 2, 2, grey), 1u);
  EXPECT_EQ(GetPaletteEntries(p, 2, 1, out), 1u);
  EXPECT_TRUE(SameEntry(out[0], grey[0]));
  EXPECT_EQ(SetPaletteEntries(p, 5, 1, grey), 0u);
  EXPECT_EQ(SetPaletteEntries(p, 0, 1, nullptr), 0u);
  // The stock palette is shared by every DC and stays as it is.
  HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(GetPaletteEntries(stock, 0, 0, nullptr), 20u);
  EXPECT_EQ(SetPaletteEntries(stock, 0, 1, grey), 0u);
  EXPECT_EQ(GetPaletteEntries(stock, 0, 1, out), 1u);
  EXPECT_TRUE(SameEntry(out[0], PALETTEENTRY{0, 0, 0, 0}));
  SetLastError(0);
  EXPECT_EQ(GetPaletteEntries(reinterpret_cast<HPALETTE>(0x7FFF0001), 0, 1, out), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  DeleteObject(p);
}

TEST(Palette, SelectedPaletteNamesThePaletteIndexColours) {
  MemDC dc(2, 1);
  HPALETTE p = ThreeColours();
  HPALETTE old = SelectPalette(dc, p, FALSE);
  EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), p);
  EXPECT_EQ(RealizePalette(dc), 0u);  // true colour: nothing to map
  SetPixel(dc, 0, 0, PALETTEINDEX(1));
  EXPECT_EQ(dc.Px(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(GetNearestColor(dc, PALETTEINDEX(2)), RGB(0, 0, 250));
  // A changed entry is what the index names from then on.
  const PALETTEENTRY green{0, 255, 0, 0};
  SetPaletteEntries(p, 1, 1, &green);
  HBRUSH b = CreateSolidBrush(PALETTEINDEX(1));
  RECT r{1, 0, 2, 1};
  FillRect(dc, &r, b);
  DeleteObject(b);
  EXPECT_EQ(dc.Px(1, 0), RGB(0, 255, 0));
  // Selecting back returns the one selected before; SaveDC/RestoreDC keep it too.
  const int saved = SaveDC(dc);
  EXPECT_EQ(SelectPalette(dc, old, TRUE), p);
  RestoreDC(dc, saved);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), p);
  EXPECT_EQ(SelectPalette(dc, old, FALSE), p);
  SetLastError(0);
  EXPECT_EQ(SelectPalette(dc, reinterpret_cast<HPALETTE>(dc.bitmap()), FALSE), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SelectPalette(nullptr, p, FALSE), nullptr);
  EXPECT_EQ(RealizePalette(nullptr), GDI_ERROR);
  DeleteObject(p);
}

TEST(Palette, NearestIndexAndNearestColour) {
  HPALETTE p = ThreeColours();
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(200, 0, 0)), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(150, 40, 10)), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(0, 0, 0)), 0u);
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(0, 10, 200)), 2u);
  // Equally near: the first entry wins.
  const PALETTEENTRY twins[2] = {{100, 100, 100, 0}, {100, 100, 100, 0}};
  SetPaletteEntries(p, 1, 2, twins);
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(90, 90, 90)), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(reinterpret_cast<HPALETTE>(0x7FFF0001), 0), CLR_INVALID);
  DeleteObject(p);

  MemDC colour(1, 1), mono(1, 1, RGB(255, 255, 255), 1);
  EXPECT_EQ(GetNearestColor(colour, RGB(12, 34, 56)), RGB(12, 34, 56));
  EXPECT_EQ(GetNearestColor(colour, PALETTERGB(12, 34, 56)), RGB(12, 34, 56));
  EXPECT_EQ(GetNearestColor(mono, RGB(200, 180, 160)), RGB(255, 255, 255));
  EXPECT_EQ(GetNearestColor(mono, RGB(100, 120, 90)), RGB(0, 0, 0));
  EXPECT_EQ(GetNearestColor(nullptr, 0), CLR_INVALID);
}

TEST(Palette, SystemPaletteHoldsTheTwentyStaticColours) {
  MemDC dc(1, 1);
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 0, nullptr), 20u);
  PALETTEENTRY e[20] = {};
  ASSERT_EQ(GetSystemPaletteEntries(dc, 0, 20, e), 20u);
  EXPECT_TRUE(SameEntry(e[0], PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_TRUE(SameEntry(e[7], PALETTEENTRY{192, 192, 192, 0}));
  EXPECT_TRUE(SameEntry(e[8], PALETTEENTRY{192, 220, 192, 0}));  // money green
  EXPECT_TRUE(SameEntry(e[19], PALETTEENTRY{255, 255, 255, 0}));
  EXPECT_EQ(GetSystemPaletteEntries(dc, 18, 5, e), 2u);
  EXPECT_TRUE(SameEntry(e[1], PALETTEENTRY{255, 255, 255, 0}));
  EXPECT_EQ(GetSystemPaletteEntries(dc, 20, 1, e), 0u);
  EXPECT_EQ(GetSystemPaletteEntries(nullptr, 0, 1, e), 0u);
}

TEST(Palette, HalftonePaletteHasTheStaticColoursAtItsEndsAndACube) {
  MemDC dc(1, 1);
  HPALETTE h = CreateHalftonePalette(dc);
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(GetPaletteEntries(h, 0, 0, nullptr), 256u);
  PALETTEENTRY all[256], statics[20];
  GetPaletteEntries(h, 0, 256, all);
  GetSystemPaletteEntries(dc, 0, 20, statics);
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(SameEntry(all[i], statics[i])) << i;
    EXPECT_TRUE(SameEntry(all[246 + i], statics[10 + i])) << i;
  }
  // Every colour of the 6x6x6 cube is there exactly.
  for (int r = 0; r < 256; r += 51)
    for (int g = 0; g < 256; g += 51)
      for (int b = 0; b < 256; b += 51) {
        const UINT i = GetNearestPaletteIndex(h, RGB(r, g, b));
        ASSERT_TRUE(SameEntry(all[i], PALETTEENTRY{BYTE(r), BYTE(g), BYTE(b), 0})) << r << "," << g << "," << b;
      }
  DeleteObject(h);
  EXPECT_EQ(CreateHalftonePalette(reinterpret_cast<HDC>(0x7FFF0001)), nullptr);
}

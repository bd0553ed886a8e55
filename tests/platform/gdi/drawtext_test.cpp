// DrawText, DrawState and GrayString with real fonts (one-bit glyphs, so pixels are exact).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/memdc.h"

using testsupport::InkBox;
using testsupport::MemDC;

namespace {

class WithFont {
 public:
  WithFont(HDC dc, const char* face, int height)
      : dc_(dc),
        font_(CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, face)),
        old_(SelectObject(dc, font_)) {}
  ~WithFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

}  // namespace

TEST(DrawText, CalcRectMeasuresWithTheSelectedFont) {
  MemDC dc(200, 100);
  WithFont f(dc, "MS Sans Serif", -11);
  SIZE one{}, two{};
  GetTextExtentPoint32(dc, "Hello", 5, &one);
  GetTextExtentPoint32(dc, "Hello world", 11, &two);
  RECT rc{0, 0, 0, 0};
  EXPECT_EQ(DrawText(dc, "Hello world", -1, &rc, DT_CALCRECT | DT_SINGLELINE), 13);
  EXPECT_EQ(rc.right, two.cx);
  EXPECT_EQ(rc.bottom, 13);
  // Word break on a line too narrow for both words: two lines, as wide as the wider word.
  RECT narrow{0, 0, one.cx + 2, 0};
  EXPECT_EQ(DrawText(dc, "Hello world", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 26);
  SIZE world{};
  GetTextExtentPoint32(dc, "world", 5, &world);
  EXPECT_EQ(narrow.bottom, 26);
  EXPECT_EQ(narrow.right, std::max(one.cx, world.cx));
  // The prefix character takes no room.
  RECT pre{0, 0, 0, 0};
  DrawText(dc, "&Hello", -1, &pre, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(pre.right, one.cx);
  RECT noprefix{0, 0, 0, 0};
  DrawText(dc, "&Hello", -1, &noprefix, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(noprefix.right, one.cx);
}

TEST(DrawText, AlignsAndCentresASingleLineInItsRectangle) {
  MemDC dc(200, 60);
  WithFont f(dc, "MS Sans Serif", -11);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  SIZE sz;
  GetTextExtentPoint32(dc, "Box", 3, &sz);
  RECT rc{10, 10, 190, 50};
  DrawText(dc, "Box", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  RECT b = InkBox(dc);
  EXPECT_EQ(b.left, 10 + (180 - sz.cx) / 2);
  EXPECT_EQ(b.top, 10 + 40 / 2 - 13 / 2);  // halves taken separately, as the platform does
  EXPECT_EQ(b.bottom - b.top, 13);
  dc.Fill(RGB(255, 255, 255));
  DrawText(dc, "Box", -1, &rc, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  b = InkBox(dc);
  EXPECT_EQ(b.right, 190);
  EXPECT_EQ(b.bottom, 50);
}

TEST(DrawText, PrefixUnderlinesTheNextCharacterBelowTheBaseline) {
  MemDC dc(100, 30);
  WithFont f(dc, "MS Sans Serif", -11);
  SetBkMode(dc, TRANSPARENT);
  RECT rc{5, 5, 95, 25};
  DrawText(dc, "a&Bc", -1, &rc, DT_SINGLELINE);
  SIZE a, b;
  GetTextExtentPoint32(dc, "a", 1, &a);
  GetTextExtentPoint32(dc, "B", 1, &b);
  const int underline_y = 5 + 11 + 1;  // baseline (ascent 11) + 1
  for (int x = 5 + a.cx; x < 5 + a.cx + b.cx; ++x) EXPECT_EQ(dc.Px(x, underline_y), RGB(0, 0, 0)) << x;
  EXPECT_EQ(dc.Px(5 + a.cx - 1, underline_y), RGB(255, 255, 255));
  // DT_HIDEPREFIX drops the underline but still hides the '&'.
  dc.Fill(RGB(255, 255, 255));
  DrawText(dc, "a&Bc", -1, &rc, DT_SINGLELINE | DT_HIDEPREFIX);
  for (int x = 5 + a.cx; x < 5 + a.cx + b.cx; ++x) EXPECT_EQ(dc.Px(x, underline_y), RGB(255, 255, 255)) << x;
}

TEST(DrawText, ClipsToTheRectangleUnlessToldNot) {
  MemDC dc(120, 40);
  WithFont f(dc, "Arial", -20);
  SetBkMode(dc, TRANSPARENT);
  RECT rc{10, 10, 40, 30};
  DrawText(dc, "WWWWWW", -1, &rc, DT_SINGLELINE);
  RECT b = InkBox(dc);
  EXPECT_LE(b.right, 40);
  dc.Fill(RGB(255, 255, 255));
  DrawText(dc, "WWWWWW", -1, &rc, DT_SINGLELINE | DT_NOCLIP);
  b = InkBox(dc);
  EXPECT_GT(b.right, 40);
}

TEST(DrawState, DisabledTextIsEmbossedInHighlightAndShadow) {
  MemDC dc(80, 30, RGB(192, 192, 192));
  WithFont f(dc, "MS Sans Serif", -11);
  ASSERT_TRUE(DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>("Off"), 0, 5, 5, 0, 0,
                        DST_TEXT | DSS_DISABLED));
  bool highlight = false, shadow = false, other = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      const COLORREF c = dc.Px(x, y);
      if (c == GetSysColor(COLOR_3DHILIGHT)) highlight = true;
      else if (c == GetSysColor(COLOR_3DSHADOW)) shadow = true;
      else if (c != RGB(192, 192, 192)) other = true;
    }
  EXPECT_TRUE(highlight);
  EXPECT_TRUE(shadow);
  EXPECT_FALSE(other);
  const RECT b = InkBox(dc, RGB(192, 192, 192));
  EXPECT_GE(b.left, 5);
  EXPECT_GE(b.top, 5);
}

TEST(DrawText, SampleForPeople) {
  MemDC dc(320, 160, GetSysColor(COLOR_BTNFACE));
  WithFont f(dc, "MS Sans Serif", -11);
  SetBkMode(dc, TRANSPARENT);
  RECT r1{8, 8, 150, 150};
  DrawText(dc, "&File  E&xit  &&Co\nA paragraph that wraps at word boundaries inside its box, left aligned.",
           -1, &r1, DT_WORDBREAK);
  RECT r2{170, 8, 312, 150};
  DrawText(dc, "Centred text that wraps over a few lines.", -1, &r2, DT_WORDBREAK | DT_CENTER);
  RECT r3{170, 80, 312, 96};
  DrawText(dc, "An ellipsis ends this line that is far too long", -1, &r3, DT_SINGLELINE | DT_END_ELLIPSIS);
  DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>("&Disabled"), 0, 170, 110, 0, 0,
            DST_PREFIXTEXT | DSS_DISABLED);
  dc.Save("drawtext_sample");
  EXPECT_LT(InkBox(dc, GetSysColor(COLOR_BTNFACE)).left, 20);
}

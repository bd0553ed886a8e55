// Fonts, metrics, measuring and text output. Pixel checks use one-bit glyphs
// (NONANTIALIASED_QUALITY or raster faces) so they are exact.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/memdc.h"

using testsupport::InkBox;
using testsupport::MemDC;

namespace {

HFONT MakeFont(const char* face, int height, int escapement = 0, int weight = FW_NORMAL, bool italic = false,
               BYTE quality = NONANTIALIASED_QUALITY) {
  return CreateFont(height, 0, escapement, escapement, weight, italic, 0, 0, ANSI_CHARSET, 0, 0, quality,
                    DEFAULT_PITCH, face);
}

// Selects a font for the life of the scope and deletes it afterwards.
class UseFont {
 public:
  UseFont(HDC dc, HFONT font) : dc_(dc), font_(font), old_(SelectObject(dc, font)) {}
  ~UseFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

}  // namespace

TEST(Fonts, MsSansSerifIsARasterFaceWithTheClassicMetricsAndSizes) {
  MemDC dc(4, 4);
  struct Case {
    int request;
    int cell;
  } cases[] = {{-11, 13}, {-12, 13}, {-13, 16}, {-16, 20}, {-32, 37}, {-8, 13}, {8, 13}, {18, 16}, {100, 37}};
  for (const Case& c : cases) {
    UseFont f(dc, MakeFont("MS Sans Serif", c.request));
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    EXPECT_EQ(tm.tmHeight, c.cell) << "request " << c.request;
    EXPECT_FALSE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
  }
  UseFont f(dc, MakeFont("ms sans serif", -11));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  EXPECT_EQ(tm.tmAscent, 11);
  EXPECT_EQ(tm.tmDescent, 2);
  EXPECT_EQ(tm.tmInternalLeading, 2);
  EXPECT_EQ(tm.tmAveCharWidth, 5);
  EXPECT_EQ(tm.tmExternalLeading, 0);
  char face[LF_FACESIZE];
  EXPECT_EQ(GetTextFace(dc, sizeof face, face), static_cast<int>(strlen("MS Sans Serif")) + 1);
  EXPECT_STREQ(face, "MS Sans Serif");
}

TEST(Fonts, TrueTypeFacesReportTrueTypeAndHonourTheHeightSign) {
  MemDC dc(4, 4);
  {
    UseFont f(dc, MakeFont("Arial", -20));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_TRUETYPE, TMPF_TRUETYPE);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);  // negative: character height
    char face[LF_FACESIZE];
    GetTextFace(dc, sizeof face, face);
    EXPECT_STREQ(face, "Arial");
  }
  {
    UseFont f(dc, MakeFont("Arial", 20));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    EXPECT_EQ(tm.tmHeight, 20);  // positive: cell height
  }
  {
    // An unknown face falls back by family: roman -> the serif face.
    HFONT font = CreateFont(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, FF_ROMAN, "No Such Face");
    UseFont f(dc, font);
    char face[LF_FACESIZE];
    GetTextFace(dc, sizeof face, face);
    EXPECT_STREQ(face, "Times New Roman");
  }
}

TEST(Fonts, EnumerationMarksRasterAndTrueTypeFaces) {
  MemDC dc(1, 1);
  std::vector<std::pair<std::string, DWORD>> seen;
  EnumFontFamilies(
      dc, nullptr,
      [&](const LOGFONT* lf, const TEXTMETRIC*, DWORD type, LPARAM) {
        seen.emplace_back(lf->lfFaceName, type);
        return 1;
      },
      0);
  auto type_of = [&](const std::string& name) -> DWORD {
    for (auto& [n, t] : seen)
      if (n == name) return t;
    return 0;
  };
  EXPECT_EQ(type_of("MS Sans Serif"), RASTER_FONTTYPE);
  EXPECT_EQ(type_of("System"), RASTER_FONTTYPE);
  EXPECT_EQ(type_of("Arial"), TRUETYPE_FONTTYPE);
  EXPECT_EQ(type_of("Times New Roman"), TRUETYPE_FONTTYPE);
  // Returning 0 stops the enumeration.
  int calls = 0;
  EXPECT_EQ(EnumFonts(dc, nullptr, [&](const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM) { return ++calls, 0; }, 0), 0);
  EXPECT_EQ(calls, 1);
  // Raster faces enumerate their sizes.
  std::vector<LONG> heights;
  EnumFonts(dc, "MS Sans Serif", [&](const LOGFONT* lf, const TEXTMETRIC*, DWORD, LPARAM) {
    heights.push_back(lf->lfHeight);
    return 1;
  }, 0);
  EXPECT_EQ(heights, (std::vector<LONG>{13, 16, 20, 24, 29, 37}));
}

TEST(Text, ExtentsCountCharacterExtraAndMatchCharWidths) {
  MemDC dc(4, 4);
  UseFont f(dc, MakeFont("Arial", -16));
  SIZE plain{}, extra{};
  ASSERT_TRUE(GetTextExtentPoint32(dc, "Hello", 5, &plain));
  int widths[5];
  ASSERT_TRUE(GetCharWidth32(dc, 'H', 'L', widths));
  INT h, e, l, o;
  GetCharWidth32(dc, 'H', 'H', &h);
  GetCharWidth32(dc, 'e', 'e', &e);
  GetCharWidth32(dc, 'l', 'l', &l);
  GetCharWidth32(dc, 'o', 'o', &o);
  EXPECT_EQ(plain.cx, h + e + 2 * l + o);
  SetTextCharacterExtra(dc, 3);
  GetTextExtentPoint32(dc, "Hello", 5, &extra);
  EXPECT_EQ(extra.cx, plain.cx + 15);
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  EXPECT_EQ(plain.cy, tm.tmHeight);
  int fit = -1, dx[5];
  SIZE sz;
  ASSERT_TRUE(GetTextExtentExPoint(dc, "Hello", 5, dx[0] = h + 3 + e + 3, &fit, dx, &sz));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx[4], extra.cx);
}

TEST(Text, OpaqueBackgroundFillsExactlyTheTextCell) {
  MemDC dc(80, 30);
  UseFont f(dc, MakeFont("MS Sans Serif", -11));
  SetBkColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, OPAQUE);
  TextOut(dc, 10, 5, "Wxyz", 4);
  SIZE sz;
  GetTextExtentPoint32(dc, "Wxyz", 4, &sz);
  const RECT box = InkBox(dc);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 5);
  EXPECT_EQ(box.right, 10 + sz.cx);
  EXPECT_EQ(box.bottom, 5 + 13);
  // Transparent mode leaves the background alone.
  dc.Fill(RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  TextOut(dc, 10, 5, "Wxyz", 4);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) ASSERT_NE(dc.Px(x, y), RGB(255, 0, 0));
}

TEST(Text, AlignmentModesPlaceTheReferencePoint) {
  MemDC dc(120, 40);
  UseFont f(dc, MakeFont("Arial", -16));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 255));
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  SIZE sz;
  GetTextExtentPoint32(dc, "Tag", 3, &sz);
  struct Case {
    UINT align;
    int left, top;
  } cases[] = {
      {TA_LEFT | TA_TOP, 60, 20},
      {TA_RIGHT | TA_TOP, 60 - sz.cx, 20},
      {TA_CENTER | TA_TOP, 60 - sz.cx / 2, 20},
      {TA_LEFT | TA_BASELINE, 60, 20 - tm.tmAscent},
      {TA_LEFT | TA_BOTTOM, 60, 20 - tm.tmHeight},
  };
  for (const Case& c : cases) {
    dc.Fill(RGB(255, 255, 255));
    SetTextAlign(dc, c.align);
    TextOut(dc, 60, 20, "Tag", 3);
    const RECT box = InkBox(dc);
    EXPECT_EQ(box.left, c.left) << "align " << c.align;
    EXPECT_EQ(box.top, c.top) << "align " << c.align;
  }
  // TA_UPDATECP draws at the current position and moves it past the text.
  dc.Fill(RGB(255, 255, 255));
  SetTextAlign(dc, TA_UPDATECP);
  MoveToEx(dc, 5, 3, nullptr);
  TextOut(dc, 100, 100, "Tag", 3);
  POINT cp;
  GetCurrentPositionEx(dc, &cp);
  EXPECT_EQ(cp.x, 5 + sz.cx);
  EXPECT_EQ(cp.y, 3);
  EXPECT_EQ(InkBox(dc).left, 5);
}

TEST(Text, RotatedTextRunsAlongItsEscapement) {
  struct Case {
    int escapement;
    const char* where;
  } cases[] = {{0, "right"}, {900, "up"}, {1800, "left"}, {2700, "down"}, {450, "up-right"}};
  for (const Case& c : cases) {
    MemDC dc(200, 200);
    UseFont f(dc, MakeFont("Arial", -20, c.escapement));
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 100, 100, "HHHHHH", 6);
    const RECT b = InkBox(dc);
    const int w = b.right - b.left, h = b.bottom - b.top;
    const std::string where = c.where;
    if (where == "right") { EXPECT_TRUE(w > 2 * h && b.left >= 100 && b.top >= 100) << where; }
    if (where == "up") { EXPECT_TRUE(h > 2 * w && b.bottom <= 101 && b.left >= 100) << where; }
    if (where == "left") { EXPECT_TRUE(w > 2 * h && b.right <= 101 && b.bottom <= 101) << where; }
    if (where == "down") { EXPECT_TRUE(h > 2 * w && b.top >= 99 && b.right <= 101) << where; }
    if (where == "up-right") { EXPECT_TRUE(b.right > 140 && b.top < 60 && std::abs(w - h) < 20) << where; }
  }
}

TEST(Text, RasterFacesDoNotRotate) {
  MemDC dc(200, 100);
  UseFont f(dc, MakeFont("MS Sans Serif", -11, 900));
  TextOut(dc, 20, 50, "HHHHHH", 6);
  const RECT b = InkBox(dc);
  EXPECT_GT(b.right - b.left, b.bottom - b.top);
}

TEST(Text, ClippedOutputStaysInsideItsRectangle) {
  MemDC dc(60, 30);
  UseFont f(dc, MakeFont("Arial", -24));
  SetBkMode(dc, TRANSPARENT);
  RECT rc{10, 8, 30, 20};
  ExtTextOut(dc, 5, 2, ETO_CLIPPED, &rc, "WWWW", 4, nullptr);
  const RECT b = InkBox(dc);
  EXPECT_GE(b.left, 10);
  EXPECT_GE(b.top, 8);
  EXPECT_LE(b.right, 30);
  EXPECT_LE(b.bottom, 20);
  EXPECT_LT(b.left, b.right);  // something was drawn
  // ETO_OPAQUE fills the rectangle with the background colour even in transparent mode.
  dc.Fill(RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 255, 0));
  ExtTextOut(dc, 0, 0, ETO_OPAQUE, &rc, "", 0, nullptr);
  EXPECT_EQ(dc.Px(10, 8), RGB(0, 255, 0));
  EXPECT_EQ(dc.Px(29, 19), RGB(0, 255, 0));
  EXPECT_EQ(dc.Px(30, 19), RGB(255, 255, 255));
}

TEST(Text, UnderlineSpansTheTextWidth) {
  MemDC dc(100, 30);
  HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, TRUE, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "MS Sans Serif");
  UseFont f(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TextOut(dc, 10, 5, "ab", 2);
  SIZE sz;
  GetTextExtentPoint32(dc, "ab", 2, &sz);
  // One row below the baseline is solid across the whole advance.
  for (int x = 10; x < 10 + sz.cx; ++x) EXPECT_EQ(dc.Px(x, 5 + 11 + 1), RGB(0, 0, 0)) << x;
}

TEST(Text, Utf8AndLatin1CharactersDraw) {
  MemDC dc(60, 30);
  UseFont f(dc, MakeFont("Arial", -16));
  SIZE a{}, b{};
  GetTextExtentPoint32(dc, "\xC3\xA9", 2, &a);  // U+00E9 in UTF-8: one character
  GetTextExtentPoint32(dc, "e", 1, &b);
  EXPECT_EQ(a.cx, b.cx);
  GetTextExtentPoint32(dc, "\xE9", 1, &a);  // a lone Latin-1 byte is that character
  EXPECT_EQ(a.cx, b.cx);
}

TEST(Text, SampleSheetForPeople) {
  MemDC dc(640, 480);
  SetBkMode(dc, TRANSPARENT);
  int y = 4;
  const char* faces[] = {"MS Sans Serif", "System", "Arial", "Times New Roman", "Courier New", "Courier"};
  for (const char* face : faces) {
    for (int style = 0; style < 4; ++style) {
      UseFont f(dc, MakeFont(face, -13, 0, style & 1 ? FW_BOLD : FW_NORMAL, style & 2, DEFAULT_QUALITY));
      std::string s = std::string(face) + (style & 1 ? " bold" : "") + (style & 2 ? " italic" : "") + " 0123 &Agy";
      TextOut(dc, 4 + (style % 2) * 300, y + (style / 2) * 18, s.c_str(), static_cast<int>(s.size()));
    }
    y += 40;
  }
  for (int size : {8, 12, 18, 28}) {
    UseFont f(dc, MakeFont("Arial", -size, 0, FW_NORMAL, false, DEFAULT_QUALITY));
    TextOut(dc, 4, y, "Showrama", 8);
    y += size + 6;
  }
  for (int angle = 0; angle < 3600; angle += 450) {
    UseFont f(dc, MakeFont("Arial", -14, angle, FW_NORMAL, false, DEFAULT_QUALITY));
    TextOut(dc, 480, 380, "  rotated", 9);
  }
  dc.Save("text_sample_sheet");
  EXPECT_LT(InkBox(dc).left, 10);
}

TEST(Text, RotatedOpaqueBackgroundIsTheTurnedCell) {
  MemDC dc(120, 120);
  UseFont f(dc, MakeFont("Arial", -16, 900));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  SetTextColor(dc, RGB(255, 0, 0));
  TextOut(dc, 40, 100, "Rotate", 6);
  SIZE sz;
  GetTextExtentPoint32(dc, "Rotate", 6, &sz);
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  // Turned a quarter counter-clockwise about the reference point: the cell now runs up from
  // (40, 100), tmHeight wide and as tall as the text is long.
  const RECT b = InkBox(dc);
  EXPECT_EQ(b.right - b.left, tm.tmHeight);
  EXPECT_EQ(b.bottom - b.top, sz.cx);
  EXPECT_EQ(b.left, 40);
  EXPECT_EQ(b.bottom, 100);
}

// The DrawText layout engine, measured with a fixed-width font: every character 7 pixels
// wide (unless told otherwise), cells 12 high with an ascent of 9 and 2 of external leading.
#include "platform/gdi/text_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

// Well-formed UTF-8 sequences are one character, any other byte is one.
size_t CharLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t n = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
  for (size_t k = 1; k < n; ++k)
    if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) n = 1;
  return n;
}

bool WellFormed(std::string_view s) {
  for (size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (static_cast<unsigned char>(s[i]) >= 0x80 && CharLength(s, i) == 1) return false;
  return true;
}

class FixedMeasurer : public gdi::TextMeasurer {
 public:
  int char_width = 7;
  std::map<std::string, int> special;  // characters of another width

  int Width(std::string_view run) override {
    int w = 0;
    size_t i = 0;
    while (i < run.size()) {
      const size_t n = CharLength(run, i);
      auto it = special.find(std::string(run.substr(i, n)));
      w += it != special.end() ? it->second : char_width;
      i += n;
    }
    return w;
  }
  int LineHeight() override { return 12; }
  int ExternalLeading() override { return 2; }
  int AveCharWidth() override { return 7; }
  int Ascent() override { return 9; }
};

gdi::TextLayout Lay(std::string_view text, UINT format, RECT rc, int tab = 0, int lm = 0, int rm = 0) {
  FixedMeasurer m;
  gdi::TextLayoutParams p;
  p.format = format;
  p.rect = rc;
  p.tab_length = tab;
  p.left_margin = lm;
  p.right_margin = rm;
  return gdi::LayoutText(text, p, m);
}

// Each line's drawn characters, runs joined with '|'.
std::vector<std::string> Lines(const gdi::TextLayout& t) {
  std::vector<std::string> out;
  for (const auto& line : t.lines) {
    std::string s;
    for (size_t i = 0; i < line.runs.size(); ++i) {
      if (i) s += '|';
      s += t.RunText(line.runs[i]);
    }
    out.push_back(s);
  }
  return out;
}

using Strings = std::vector<std::string>;
constexpr RECT kWide{0, 0, 200, 200};

}  // namespace

TEST(TextLayout, HorizontalAlignmentWithPixelMarginsAndTruncatingCenter) {
  const RECT rc{10, 0, 110, 50};
  EXPECT_EQ(Lay("abc", DT_LEFT, rc).lines[0].x, 10);
  EXPECT_EQ(Lay("abc", DT_CENTER, rc).lines[0].x, 49);  // (10 + 110 - 21) / 2
  EXPECT_EQ(Lay("abc", DT_RIGHT, rc).lines[0].x, 89);
  // DrawTextEx margins are pixels: they narrow the rectangle on their side.
  EXPECT_EQ(Lay("abc", DT_LEFT, rc, 0, 5, 7).lines[0].x, 15);
  EXPECT_EQ(Lay("abc", DT_CENTER, rc, 0, 5, 7).lines[0].x, 48);  // (15 + 103 - 21) / 2
  EXPECT_EQ(Lay("abc", DT_RIGHT, rc, 0, 5, 7).lines[0].x, 82);
  // Centring divides like C: halves go toward zero, also left of the origin.
  EXPECT_EQ(Lay("a", DT_CENTER, RECT{0, 0, 8, 12}).lines[0].x, 0);
  EXPECT_EQ(Lay("a", DT_CENTER, RECT{-8, 0, 0, 12}).lines[0].x, -7);
  // Text wider than the rectangle sticks out on both sides when centred.
  EXPECT_EQ(Lay("abcdef", DT_CENTER, RECT{0, 0, 10, 12}).lines[0].x, -16);
  // Each line of a block is aligned on its own.
  const auto t = Lay("a\nabc", DT_RIGHT, rc);
  EXPECT_EQ(t.lines[0].x, 103);
  EXPECT_EQ(t.lines[1].x, 89);
  EXPECT_EQ(t.lines[1].y, 12);
}

TEST(TextLayout, VerticalPlacementNeedsSingleLineAndSetsTheReturnValue) {
  const RECT rc{0, 10, 100, 51};
  auto t = Lay("abc", DT_SINGLELINE | DT_VCENTER, rc);
  EXPECT_EQ(t.lines[0].y, 24);  // 10 + 41 / 2 - 12 / 2
  EXPECT_EQ(t.height, 26);      // offset of the text's bottom from rc.top
  t = Lay("abc", DT_SINGLELINE | DT_BOTTOM, rc);
  EXPECT_EQ(t.lines[0].y, 39);
  EXPECT_EQ(t.height, 41);
  t = Lay("abc", DT_SINGLELINE, rc);
  EXPECT_EQ(t.lines[0].y, 10);
  EXPECT_EQ(t.height, 12);
  // Without DT_SINGLELINE both are ignored.
  EXPECT_EQ(Lay("abc", DT_VCENTER, rc).lines[0].y, 10);
  EXPECT_EQ(Lay("abc", DT_BOTTOM, rc).lines[0].y, 10);
  // An offset of zero is reported as 1, so success never looks like failure.
  EXPECT_EQ(Lay("abc", DT_SINGLELINE | DT_BOTTOM, RECT{0, 12, 100, 12}).height, 1);
  EXPECT_EQ(Lay("abc", DT_SINGLELINE | DT_VCENTER | DT_CALCRECT, RECT{0, 12, 0, 0}).height, 1);
  // A rectangle smaller than the text puts it above the top: the return value goes negative.
  EXPECT_EQ(Lay("abc", DT_SINGLELINE | DT_BOTTOM, RECT{0, 30, 100, 10}).height, -20);
}

TEST(TextLayout, LineBreaksAndSingleLine) {
  auto t = Lay("a\rb\nc\r\nd\n\re", 0, kWide);
  EXPECT_EQ(Lines(t), (Strings{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(t.height, 60);
  EXPECT_EQ(t.lines[3].source_begin, 7u);
  EXPECT_EQ(t.lines[3].source_end, 10u);  // "d\n\r": LFCR is one break
  // A break at the very end adds no line; two add one empty line.
  EXPECT_EQ(Lines(Lay("abc\n", 0, kWide)), (Strings{"abc"}));
  EXPECT_EQ(Lines(Lay("abc\n\n", 0, kWide)), (Strings{"abc", ""}));
  EXPECT_EQ(Lines(Lay("\r\r", 0, kWide)), (Strings{"", ""}));
  EXPECT_EQ(Lines(Lay("a\n\nb", 0, kWide)), (Strings{"a", "", "b"}));
  // DT_SINGLELINE keeps CR and LF as characters, measured like any other.
  t = Lay("a\r\nb", DT_SINGLELINE, kWide);
  EXPECT_EQ(Lines(t), (Strings{"a\r\nb"}));
  EXPECT_EQ(t.lines[0].width, 28);
  // Without DT_WORDBREAK a long line is not broken at all.
  t = Lay("aaa bbb ccc ddd", 0, RECT{0, 0, 30, 100});
  EXPECT_EQ(Lines(t), (Strings{"aaa bbb ccc ddd"}));
}

TEST(TextLayout, WordBreakAtSpacesDropsTheSpacesAtTheBreak) {
  const RECT rc{0, 0, 50, 200};  // seven characters
  auto t = Lay("aaa bbb ccc", DT_WORDBREAK, rc);
  EXPECT_EQ(Lines(t), (Strings{"aaa bbb", "ccc"}));
  EXPECT_EQ(t.lines[0].width, 49);
  EXPECT_EQ(t.lines[1].source_begin, 8u);
  // Spaces at a break count neither for the width nor for the alignment.
  t = Lay("aa    bbbbbb", DT_WORDBREAK | DT_RIGHT, rc);
  EXPECT_EQ(Lines(t), (Strings{"aa", "bbbbbb"}));
  EXPECT_EQ(t.lines[0].width, 14);
  EXPECT_EQ(t.lines[0].x, 36);
  // Spaces hanging past the edge at the end of a line do not wrap it.
  EXPECT_EQ(Lines(Lay("abcdef    \nx", DT_WORDBREAK, rc)), (Strings{"abcdef", "x"}));
  // A word wider than the line overflows; DT_EDITCONTROL breaks it where it stops fitting.
  EXPECT_EQ(Lines(Lay("abcdefghij k", DT_WORDBREAK, RECT{0, 0, 35, 200})), (Strings{"abcdefghij", "k"}));
  EXPECT_EQ(Lines(Lay("abcdefghij k", DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 35, 200})),
            (Strings{"abcde", "fghij", "k"}));
  EXPECT_EQ(Lines(Lay("ab cdefgh", DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 35, 200})),
            (Strings{"ab", "cdefg", "h"}));
  // Even a rectangle narrower than one character gets a character a line.
  EXPECT_EQ(Lines(Lay("abc", DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 3, 200})), (Strings{"a", "b", "c"}));
  // Hard breaks inside word-broken text still break.
  EXPECT_EQ(Lines(Lay("aaa\nbbb ccc ddd", DT_WORDBREAK, rc)), (Strings{"aaa", "bbb ccc", "ddd"}));
  // DT_SINGLELINE switches word breaking off.
  EXPECT_EQ(Lines(Lay("aaa bbb ccc", DT_WORDBREAK | DT_SINGLELINE, rc)), (Strings{"aaa bbb ccc"}));
}

TEST(TextLayout, CalcRectWithAndWithoutWordBreak) {
  const RECT rc{5, 5, 6, 6};
  auto t = Lay("ab\nabcd", DT_CALCRECT, rc);
  EXPECT_EQ(t.calc_rect, (RECT{5, 5, 33, 29}));
  EXPECT_EQ(t.height, 24);
  // Word breaking keeps the width: shrinks to the widest line...
  t = Lay("aaa bb cc", DT_CALCRECT | DT_WORDBREAK, RECT{5, 5, 105, 6});
  EXPECT_EQ(t.calc_rect, (RECT{5, 5, 68, 17}));
  t = Lay("aaa bb cc", DT_CALCRECT | DT_WORDBREAK, RECT{5, 5, 35, 6});
  EXPECT_EQ(Lines(t), (Strings{"aaa", "bb", "cc"}));
  EXPECT_EQ(t.calc_rect, (RECT{5, 5, 26, 41}));
  // ...and grows to a word wider than the rectangle.
  t = Lay("abcdefgh x", DT_CALCRECT | DT_WORDBREAK, RECT{5, 5, 35, 6});
  EXPECT_EQ(t.calc_rect, (RECT{5, 5, 61, 29}));
  // Margins are added back; alignment does not move the left edge.
  t = Lay("abc", DT_CALCRECT | DT_RIGHT, RECT{5, 5, 100, 100}, 0, 3, 4);
  EXPECT_EQ(t.calc_rect, (RECT{5, 5, 33, 17}));
  // DT_CALCRECT lays out every line, however short the rectangle.
  t = Lay("a\nb\nc", DT_CALCRECT, RECT{0, 0, 10, 5});
  EXPECT_EQ(t.calc_rect.bottom, 36);
  EXPECT_EQ(t.length_drawn, 5u);
  // The empty string: no width, one line of height only with DT_SINGLELINE; returns a line.
  t = Lay("", DT_CALCRECT, RECT{10, 10, 100, 100});
  EXPECT_EQ(t.calc_rect, (RECT{10, 10, 10, 10}));
  EXPECT_EQ(t.height, 12);
  t = Lay("", DT_CALCRECT | DT_SINGLELINE, RECT{10, 10, 100, 100});
  EXPECT_EQ(t.calc_rect, (RECT{10, 10, 10, 22}));
  EXPECT_TRUE(t.lines.empty());
}

TEST(TextLayout, ExternalLeadingAddsToTheLineAdvance) {
  auto t = Lay("a\nb", DT_EXTERNALLEADING, kWide);
  EXPECT_EQ(t.lines[1].y, 14);
  EXPECT_EQ(t.height, 28);
  EXPECT_EQ(Lay("a\nb", 0, kWide).height, 24);
}

TEST(TextLayout, TabStopsEveryTabLengthAverageWidthsFromTheLineStart) {
  auto t = Lay("a\tb", DT_EXPANDTABS, RECT{10, 0, 300, 100}, 0, 4);
  EXPECT_EQ(Lines(t), (Strings{"a|b"}));
  EXPECT_EQ(t.lines[0].runs[0].x, 14);
  EXPECT_EQ(t.lines[0].runs[1].x, 14 + 56);
  EXPECT_EQ(t.lines[0].width, 63);
  // A tab at a stop goes to the next one; consecutive tabs each take a stop.
  t = Lay("aaaaaaaa\tb\t\tc", DT_EXPANDTABS, kWide, 4);
  EXPECT_EQ(t.lines[0].runs[1].x, 84);
  EXPECT_EQ(t.lines[0].runs[2].x, 140);
  // Without DT_EXPANDTABS a tab is a character like any other.
  t = Lay("a\tb", 0, kWide);
  EXPECT_EQ(Lines(t), (Strings{"a\tb"}));
  EXPECT_EQ(t.lines[0].width, 21);
  // DrawText's DT_TABSTOP: bits 15-8 are the tab length and stop being flags.
  const auto split = gdi::SplitDrawTextFormat(DT_TABSTOP | DT_EXPANDTABS | DT_WORDBREAK | (12u << 8));
  EXPECT_EQ(split.tab_length, 12);
  EXPECT_EQ(split.format, DT_TABSTOP | DT_EXPANDTABS | DT_WORDBREAK);  // 12 << 8 is not DT_CALCRECT|DT_NOPREFIX
  EXPECT_EQ(gdi::SplitDrawTextFormat(DT_CALCRECT).format, DT_CALCRECT);
  EXPECT_EQ(gdi::SplitDrawTextFormat(DT_CALCRECT).tab_length, 0);
  // Stops restart on each line and wrapped lines measure their tabs too.
  t = Lay("ab\tc d\te", DT_EXPANDTABS | DT_WORDBREAK, RECT{0, 0, 70, 100});
  EXPECT_EQ(Lines(t), (Strings{"ab|c", "d|e"}));
  EXPECT_EQ(t.lines[1].runs[1].x, 56);
}

TEST(TextLayout, PrefixUnderlinesTheNextCharacter) {
  auto t = Lay("&File", 0, RECT{0, 20, 100, 100});
  EXPECT_EQ(Lines(t), (Strings{"File"}));
  ASSERT_EQ(t.underlines.size(), 1u);
  EXPECT_EQ(t.underlines[0].x, 0);
  EXPECT_EQ(t.underlines[0].width, 7);
  EXPECT_EQ(t.underlines[0].y, 30);  // baseline + 1
  t = Lay("Sa&ve", DT_RIGHT, RECT{0, 0, 100, 100});
  EXPECT_EQ(t.underlines[0].x, 72 + 14);
  // "&&" is one '&'; a '&' ending the text shows; one before a line break goes.
  t = Lay("a&&b", 0, kWide);
  EXPECT_EQ(Lines(t), (Strings{"a&b"}));
  EXPECT_TRUE(t.underlines.empty());
  EXPECT_EQ(Lines(Lay("ab&", 0, kWide)), (Strings{"ab&"}));
  EXPECT_EQ(Lines(Lay("a&\nb", 0, kWide)), (Strings{"a", "b"}));
  // The last prefixed character of a line wins, each line has its own.
  t = Lay("&a&b\n&cd", 0, kWide);
  ASSERT_EQ(t.underlines.size(), 2u);
  EXPECT_EQ(t.underlines[0].x, 7);
  EXPECT_EQ(t.underlines[1].y, 22);
  // A multi-byte character is underlined whole.
  t = Lay("x&\xC3\xA9", 0, kWide);
  EXPECT_EQ(Lines(t), (Strings{"x\xC3\xA9"}));
  EXPECT_EQ(t.underlines[0].width, 7);
  // The flags: literal, hidden, only the underline.
  EXPECT_EQ(Lines(Lay("&File", DT_NOPREFIX, kWide)), (Strings{"&File"}));
  EXPECT_TRUE(Lay("&File", DT_NOPREFIX, kWide).underlines.empty());
  t = Lay("&File", DT_HIDEPREFIX, kWide);
  EXPECT_EQ(Lines(t), (Strings{"File"}));
  EXPECT_TRUE(t.underlines.empty());
  t = Lay("Fi&le", DT_PREFIXONLY, kWide);
  EXPECT_EQ(Lines(t), (Strings{""}));
  ASSERT_EQ(t.underlines.size(), 1u);
  EXPECT_EQ(t.underlines[0].x, 14);
  // The prefix itself takes no room.
  EXPECT_EQ(Lay("a&b", DT_CALCRECT | DT_SINGLELINE, kWide).calc_rect.right, 14);
}

TEST(TextLayout, UnderlineIsClippedToTheRectangleUnlessNoClip) {
  auto t = Lay("x&y", 0, RECT{0, 0, 10, 20});
  ASSERT_EQ(t.underlines.size(), 1u);
  EXPECT_EQ(t.underlines[0].x, 7);
  EXPECT_EQ(t.underlines[0].width, 3);
  EXPECT_EQ(Lay("x&y", DT_NOCLIP, RECT{0, 0, 10, 20}).underlines[0].width, 7);
  EXPECT_TRUE(Lay("&y", 0, RECT{0, 0, 10, 10}).underlines.empty());  // row 10 is outside
  EXPECT_EQ(Lay("&y", 0, RECT{0, 0, 10, 11}).underlines.size(), 1u);
  EXPECT_TRUE(Lay("ab&c", 0, RECT{0, 0, 14, 20}).underlines.empty());
}

TEST(TextLayout, EndEllipsisShortensTheEndOfTheText) {
  const RECT rc{0, 0, 50, 100};  // seven characters
  auto t = Lay("abcdefghij", DT_END_ELLIPSIS, rc);
  EXPECT_EQ(Lines(t), (Strings{"abcd..."}));
  EXPECT_EQ(t.lines[0].width, 49);
  EXPECT_TRUE(t.lines[0].ellipsized);
  EXPECT_EQ(Lines(Lay("abcdefg", DT_END_ELLIPSIS, rc)), (Strings{"abcdefg"}));
  // A line that is not the end of the text is clipped without one.
  EXPECT_EQ(Lines(Lay("abcdefghij\nk", DT_END_ELLIPSIS, rc)), (Strings{"abcdefghij", "k"}));
  EXPECT_EQ(Lines(Lay("k\nabcdefghij\n", DT_END_ELLIPSIS, rc)), (Strings{"k", "abcd..."}));
  // Text hidden below the rectangle marks the last visible line, even one that fits.
  t = Lay("aa\nbb\ncc", DT_END_ELLIPSIS, RECT{0, 0, 50, 24});
  EXPECT_EQ(Lines(t), (Strings{"aa", "bb..."}));
  EXPECT_EQ(t.length_drawn, 6u);
  // When nothing fits the ellipsis stands alone.
  EXPECT_EQ(Lines(Lay("abcdefghij", DT_END_ELLIPSIS, RECT{0, 0, 10, 20})), (Strings{"..."}));
  // A prefixed character shortened away loses its underline.
  EXPECT_TRUE(Lay("abcdefg&hij", DT_END_ELLIPSIS, rc).underlines.empty());
  EXPECT_EQ(Lay("a&bcdefghij", DT_END_ELLIPSIS, rc).underlines.size(), 1u);
  // Ellipses cannot be combined with tab expansion: they are left out.
  EXPECT_EQ(Lines(Lay("abcdefghij", DT_END_ELLIPSIS | DT_EXPANDTABS, rc)), (Strings{"abcdefghij"}));
}

TEST(TextLayout, WordEllipsisShortensEveryLineThatDoesNotFit) {
  const RECT rc{0, 0, 50, 100};
  EXPECT_EQ(Lines(Lay("abcdefghij\nk", DT_WORD_ELLIPSIS, rc)), (Strings{"abcd...", "k"}));
  EXPECT_EQ(Lines(Lay("aaaaaaaaaa bb", DT_WORD_ELLIPSIS | DT_WORDBREAK, rc)), (Strings{"aaaa...", "bb"}));
  // It also stops DT_EDITCONTROL from breaking inside the word.
  EXPECT_EQ(Lines(Lay("aaaaaaaaaa bb", DT_WORD_ELLIPSIS | DT_WORDBREAK | DT_EDITCONTROL, rc)),
            (Strings{"aaaa...", "bb"}));
}

TEST(TextLayout, PathEllipsisKeepsTheLastBackslashOn) {
  const std::string path = "c:\\dir\\file.txt";  // 15 characters
  EXPECT_EQ(Lines(Lay(path, DT_PATH_ELLIPSIS, RECT{0, 0, 98, 20})), (Strings{"c:...\\file.txt"}));
  EXPECT_EQ(Lines(Lay(path, DT_PATH_ELLIPSIS, RECT{0, 0, 84, 20})), (Strings{"...\\file.txt"}));
  EXPECT_EQ(Lines(Lay(path, DT_PATH_ELLIPSIS, RECT{0, 0, 105, 20})), (Strings{path}));
  // Even "...\file.txt" too wide: it stays and is clipped, unless an end ellipsis follows.
  EXPECT_EQ(Lines(Lay(path, DT_PATH_ELLIPSIS, RECT{0, 0, 60, 20})), (Strings{"...\\file.txt"}));
  EXPECT_EQ(Lines(Lay(path, DT_PATH_ELLIPSIS | DT_END_ELLIPSIS, RECT{0, 0, 60, 20})), (Strings{"...\\f..."}));
  // Without a backslash characters go from the middle.
  EXPECT_EQ(Lines(Lay("abcdefghij", DT_PATH_ELLIPSIS, RECT{0, 0, 63, 20})), (Strings{"abc...hij"}));
  EXPECT_EQ(Lines(Lay("abcdefghij", DT_PATH_ELLIPSIS, RECT{0, 0, 56, 20})), (Strings{"abc...ij"}));
  EXPECT_EQ(Lines(Lay("abcdefghij", DT_PATH_ELLIPSIS, RECT{0, 0, 50, 20})), (Strings{"ab...ij"}));
}

TEST(TextLayout, ModifyStringWritesTheShortenedTextBack) {
  const RECT rc{0, 0, 50, 100};
  EXPECT_EQ(Lay("abcdefghij", DT_END_ELLIPSIS | DT_MODIFYSTRING, rc).modified, std::string("abcd..."));
  EXPECT_FALSE(Lay("abcdefghij", DT_END_ELLIPSIS, rc).modified.has_value());
  EXPECT_FALSE(Lay("abcdef", DT_END_ELLIPSIS | DT_MODIFYSTRING, rc).modified.has_value());
  // Only the end and path ellipses modify; the text around a shortened line is kept.
  EXPECT_FALSE(Lay("abcdefghij", DT_WORD_ELLIPSIS | DT_MODIFYSTRING, rc).modified.has_value());
  EXPECT_EQ(Lay("x\nc:\\dir\\file.txt\ny", DT_PATH_ELLIPSIS | DT_MODIFYSTRING, RECT{0, 0, 98, 100}).modified,
            std::string("x\nc:...\\file.txt\ny"));
  // Hidden text below the shortened line is cut off; prefixes of the line are resolved.
  EXPECT_EQ(Lay("aa\n&bb\ncc", DT_END_ELLIPSIS | DT_MODIFYSTRING, RECT{0, 0, 50, 24}).modified,
            std::string("aa\nbb..."));
  // The result grows by the ellipsis at most: three bytes beyond the text.
  EXPECT_EQ(Lay("ab", DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE, RECT{0, 0, 10, 20}).modified,
            std::string("..."));
}

TEST(TextLayout, ClippingStopsAfterTheLastVisibleLine) {
  const std::string text = "a\nb\nc\nd\ne";
  auto t = Lay(text, 0, RECT{0, 0, 50, 30});  // the third line shows in part
  EXPECT_EQ(Lines(t), (Strings{"a", "b", "c"}));
  EXPECT_EQ(t.length_drawn, 6u);
  EXPECT_EQ(t.height, 36);
  // DT_EDITCONTROL leaves the partly visible line out; the first line always shows.
  EXPECT_EQ(Lines(Lay(text, DT_EDITCONTROL, RECT{0, 0, 50, 30})), (Strings{"a", "b"}));
  EXPECT_EQ(Lines(Lay(text, DT_EDITCONTROL, RECT{0, 0, 50, 5})), (Strings{"a"}));
  // A line ending exactly on the bottom edge is the last one.
  t = Lay(text, 0, RECT{0, 0, 50, 24});
  EXPECT_EQ(Lines(t), (Strings{"a", "b"}));
  EXPECT_EQ(t.length_drawn, 4u);
  // DT_NOCLIP processes everything.
  t = Lay(text, DT_NOCLIP, RECT{0, 0, 50, 24});
  EXPECT_EQ(t.lines.size(), 5u);
  EXPECT_EQ(t.length_drawn, text.size());
  EXPECT_FALSE(t.clipped);
  EXPECT_TRUE(Lay(text, 0, RECT{0, 0, 50, 24}).clipped);
}

TEST(TextLayout, MalformedUtf8IsLaidOutByteByByte) {
  auto t = Lay("a\xE2\x82", DT_SINGLELINE, kWide);  // a cut-off three-byte sequence
  EXPECT_EQ(t.lines[0].width, 21);
  EXPECT_EQ(Lines(t), (Strings{"a\xE2\x82"}));
  t = Lay("\xE2\x82\xAC&\xF0\x9F", DT_SINGLELINE, kWide);
  EXPECT_EQ(t.lines[0].width, 21);
  ASSERT_EQ(t.underlines.size(), 1u);
  EXPECT_EQ(t.underlines[0].x, 7);
}

TEST(TextLayout, RandomTextKeepsEveryResultInsideItsBounds) {
  std::mt19937 rng(20240521);
  const char alphabet[] = {'a', 'b', ' ', ' ', '&', '\t', '\r', '\n', '\\', '\xC3', '\xA9', '\xE2', '\x80'};
  const UINT flags[] = {DT_CENTER,       DT_RIGHT,        DT_VCENTER,      DT_BOTTOM,       DT_WORDBREAK,
                        DT_SINGLELINE,   DT_EXPANDTABS,   DT_NOCLIP,       DT_EXTERNALLEADING, DT_CALCRECT,
                        DT_NOPREFIX,     DT_EDITCONTROL,  DT_PATH_ELLIPSIS, DT_END_ELLIPSIS, DT_MODIFYSTRING,
                        DT_WORD_ELLIPSIS, DT_HIDEPREFIX,  DT_PREFIXONLY};
  for (int iter = 0; iter < 3000; ++iter) {
    std::string text(rng() % 40, 'x');
    for (char& c : text) c = alphabet[rng() % sizeof alphabet];
    UINT format = 0;
    for (UINT f : flags)
      if (rng() % 4 == 0) format |= f;
    const int w = static_cast<int>(rng() % 120) - 10, h = static_cast<int>(rng() % 80) - 10;
    const RECT rc{3, 4, 3 + w, 4 + h};
    FixedMeasurer m;
    if (rng() % 2) m.special["b"] = 13;
    gdi::TextLayoutParams p{format, rc, static_cast<int>(rng() % 10), static_cast<int>(rng() % 9),
                            static_cast<int>(rng() % 9)};
    const auto t = gdi::LayoutText(text, p, m);
    SCOPED_TRACE(testing::Message() << "iteration " << iter << " format " << std::hex << format);
    ASSERT_LE(t.length_drawn, text.size());
    size_t source = 0;
    for (const auto& line : t.lines) {
      EXPECT_EQ(line.source_begin, source);  // lines cover the source without gaps
      EXPECT_GE(line.source_end, line.source_begin);
      source = line.source_end;
      for (const auto& run : line.runs) {
        ASSERT_LE(run.begin, run.end);
        ASSERT_LE(run.end, t.display.size());
        // Taking a prefix out of malformed text can join bytes into a new character.
        if (WellFormed(text)) {
          EXPECT_EQ(run.width, m.Width(t.RunText(run)));
        }
      }
    }
    EXPECT_EQ(source, t.length_drawn);
    if (!(format & (DT_NOCLIP | DT_CALCRECT)) && !(format & DT_EDITCONTROL) && !text.empty()) {
      EXPECT_TRUE(t.length_drawn == text.size() ||
                  t.lines.back().y + ((format & DT_EXTERNALLEADING) ? 14 : 12) >= rc.bottom);
    }
    for (const auto& u : t.underlines) {
      EXPECT_GT(u.width, 0);
      if (t.clipped) {
        EXPECT_GE(u.x, rc.left);
        EXPECT_LE(u.x + u.width, rc.right);
      }
    }
    if (t.modified) {
      EXPECT_LE(t.modified->size(), text.size() + 6 * t.lines.size());
    }
  }
}

#include "host/classes/format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/classes/sysutils.h"

using namespace host;

TEST(Format, SpecifierTable) {
  struct Case {
    const char* format;
    std::vector<FormatArg> args;
    const char* expected;
  };
  const Case cases[] = {
      {"%d", {42}, "42"},
      {"%d", {-42}, "-42"},
      {"%5d|", {42}, "   42|"},
      {"%-5d|", {42}, "42   |"},
      {"%.4d", {-42}, "-0042"},
      {"%*d", {4, 7}, "   7"},
      {"%-*.*d|", {6, 3, 5}, "005   |"},
      {"%u", {-1}, "4294967295"},
      {"%u", {int64_t{-1}}, "18446744073709551615"},
      {"%x", {255}, "ff"},
      {"%X", {255}, "FF"},
      {"%.4X", {255}, "00FF"},
      {"%x", {-1}, "ffffffff"},
      {"%s and %s", {"a", std::string("b")}, "a and b"},
      {"%.2s", {"abcdef"}, "ab"},
      {"%6s|%-6s|", {"ab", "cd"}, "    ab|cd    |"},
      {"%f", {3.14159}, "3.14"},
      {"%.3f", {-2.0}, "-2.000"},
      {"%.0f", {0.4}, "0"},
      {"%.2f", {-0.001}, "0.00"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {-999.0}, "-999"},
      {"%.1n", {-1000.0}, "-1,000.0"},
      {"%m", {1234.5}, "$1,234.50"},
      {"%m", {-1234.5}, "($1,234.50)"},
      {"%e", {1000.0}, "1.00000000000000E+003"},
      {"%.3e", {-0.00123}, "-1.23E-003"},
      {"%g", {0.1}, "0.1"},
      {"%g", {1e20}, "1E20"},
      {"%g", {0.00001}, "1E-5"},
      {"%g", {123456.0}, "123456"},
      {"100%%", {}, "100%"},
      {"%1:s %0:s %s", {"x", "y"}, "y x y"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.format, c.args), c.expected) << c.format;
}

TEST(Format, WrongOrMissingArgumentsAreRefused) {
  const std::pair<const char*, std::vector<FormatArg>> bad[] = {
      {"%d", {1.5}}, {"%s", {1}}, {"%f", {1}}, {"%d", {"1"}}, {"%d %d", {1}},
      {"%", {}},     {"%q", {1}}, {"%*d", {"a", 1}}, {"%5", {1}},
  };
  for (const auto& [format, args] : bad) {
    try {
      Format(format, args);
      ADD_FAILURE() << format;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Format '" + std::string(format) +
                                 "' invalid or incompatible with argument");
    }
  }
}

TEST(Round, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int64_t> cases[] = {
      {0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},   {-0.5, 0},  {-1.5, -2},
      {-2.5, -2}, {0.49, 0},  {0.51, 1},  {-0.51, -1}, {2.0, 2},  {1e15 + 0.5, 1000000000000000},
  };
  for (auto [v, r] : cases) EXPECT_EQ(Round(v), r) << v;
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_THROW(Round(1e300), EConvertError);
  EXPECT_THROW(Trunc(std::nan("")), EConvertError);
}

TEST(StrToInt, DecimalHexAndGarbage) {
  EXPECT_EQ(StrToInt("123"), 123);
  EXPECT_EQ(StrToInt("  -45"), -45);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("$ff"), 255);
  EXPECT_EQ(StrToInt("0x1A"), 26);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"abc", "", " ", "12 ", "1.5", "$", "2147483648", "$1FFFFFFFF", "--1"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(StrToIntDef("x", -9), -9);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(TextHelpers, ConversionsTrimmingAndCase) {
  EXPECT_EQ(IntToStr(-9223372036854775807 - 1), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(UpperCase("abc\xC3\xA9"), "ABC\xC3\xA9");
  EXPECT_EQ(AnsiUpperCase("abc\xC3\xA9\xC5\x93\xD0\xB6"), "ABC\xC3\x89\xC5\x92\xD0\x96");
  EXPECT_EQ(AnsiLowerCase("\xC3\x89\xC3\x97"), "\xC3\xA9\xC3\x97");  // x sign stays
  EXPECT_EQ(LowerCase("ABC"), "abc");
  EXPECT_LT(CompareText("apple", "BANANA"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("ab", "ABC"), 0);
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hell"));
  EXPECT_EQ(FloatToStr(2.5), "2.5");
}

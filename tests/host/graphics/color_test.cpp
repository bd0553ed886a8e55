#include "host/graphics/color.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/classes/sysutils.h"

using namespace host;

TEST(Color, SystemColoursResolveThroughTheScheme) {
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(192, 192, 192));
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
}

TEST(Color, NamesRoundTripAndUnnamedColoursUseHex) {
  std::vector<std::string> names;
  GetColorValues([&](const std::string& n) { names.push_back(n); });
  ASSERT_EQ(names.front(), "clBlack");
  EXPECT_EQ(names[15], "clWhite");
  EXPECT_EQ(names[16], "clScrollBar");
  EXPECT_EQ(names.back(), "clDefault");
  for (const std::string& n : names) EXPECT_EQ(ColorToString(StringToColor(n)), n);
  EXPECT_EQ(ColorToString(0x00123456), "$00123456");
  EXPECT_EQ(StringToColor("$00123456"), 0x00123456);
  EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_EQ(ColorToString(clSilver), "clSilver");  // the first name of a shared value
}

TEST(Color, BadTextIsAConvertError) {
  for (const char* bad : {"", "$", "clNoSuch", "12abc", "$1234567890", "99999999999"})
    EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

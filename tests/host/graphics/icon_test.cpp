// TIcon: loading ICO files, drawing through the AND mask or with alpha, saving, copies.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/graphics/graphics.h"
#include "platform/gdi/ico.h"
#include "platform/win32.h"
#include "support/memdc.h"
#include "support/testdata.h"

using namespace host;
using testsupport::MemDC;

namespace {

constexpr COLORREF kScreen = RGB(0x30, 0x60, 0x90);

// 3x2: red, clear, inverting / blue, lime, clear.
gdi::IconImage MaskedImage() {
  gdi::IconImage img;
  img.width = 3;
  img.height = 2;
  img.pixels = {0xFFFF0000, 0x00000000, 0x00FFFFFF, 0xFF0000FF, 0xFF00FF00, 0x00000000};
  img.mask = {0, 1, 1, 0, 0, 1};
  return img;
}

void LoadImage(TIcon& icon, const gdi::IconImage& img) {
  const std::vector<uint8_t> file = gdi::EncodeIco(img);
  TMemoryStream s;
  s.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
  s.SetPosition(0);
  icon.LoadFromStream(s);
}

}  // namespace

TEST(Icon, MaskedIconsShowAndInvertTheScreen) {
  TIcon icon;
  EXPECT_TRUE(icon.Empty());
  EXPECT_TRUE(icon.Transparent());
  LoadImage(icon, MaskedImage());
  EXPECT_EQ(icon.Width(), 3);
  EXPECT_EQ(icon.Height(), 2);
  EXPECT_FALSE(icon.HasAlpha());
  EXPECT_EQ(icon.BitsPerPixel(), 24);
  BITMAP bm{};
  ASSERT_TRUE(GetObject(icon.ColorBitmap(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 32);
  ASSERT_TRUE(GetObject(icon.MaskBitmap(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);

  MemDC dc(8, 4, kScreen);
  TCanvas c;
  c.SetHandle(dc);
  c.Font()->SetColor(clRed);  // the canvas's colours play no part
  c.Brush()->SetColor(clBlue);
  c.TextExtent("x");
  c.FillRect(RECT{0, 0, 0, 0});
  c.Draw(1, 1, &icon);
  const COLORREF inverted = RGB(0xCF, 0x9F, 0x6F);
  EXPECT_EQ(dc.Px(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(2, 1), kScreen);
  EXPECT_EQ(dc.Px(3, 1), inverted);
  EXPECT_EQ(dc.Px(1, 2), RGB(0, 0, 255));
  EXPECT_EQ(dc.Px(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(dc.Px(3, 2), kScreen);
  EXPECT_EQ(dc.Px(0, 0), kScreen);
  EXPECT_EQ(dc.Px(4, 1), kScreen);
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));

  // Stretched to twice the size.
  dc.Fill(RGB(255, 255, 255));
  c.StretchDraw(RECT{0, 0, 6, 4}, &icon);
  EXPECT_PICTURE(dc, 0, 0, {"rr..##..", "rr..##..", "bbgg....", "bbgg...."},
                 {{'r', RGB(255, 0, 0)}, {'b', RGB(0, 0, 255)}, {'g', RGB(0, 255, 0)}});
}

TEST(Icon, AlphaIsBlended) {
  gdi::IconImage img;
  img.width = 3;
  img.height = 1;
  img.alpha = true;
  img.pixels = {0xFFFF0000, 0x00FF0000, 0x800000FF};
  img.mask = {0, 1, 0};
  TIcon icon;
  LoadImage(icon, img);
  EXPECT_TRUE(icon.HasAlpha());
  EXPECT_EQ(icon.BitsPerPixel(), 32);
  MemDC dc(3, 1);
  TCanvas c;
  c.SetHandle(dc);
  c.Draw(0, 0, &icon);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(1, 0), RGB(255, 255, 255));
  const COLORREF half = dc.Px(2, 0);  // half blue over white
  EXPECT_NEAR(GetRValue(half), 127, 1);
  EXPECT_NEAR(GetGValue(half), 127, 1);
  EXPECT_EQ(GetBValue(half), 255);
}

TEST(Icon, SavesWhatItLoadedAndKeepsItsSize) {
  TIcon icon;
  LoadImage(icon, MaskedImage());
  TMemoryStream s;
  icon.SaveToStream(s);
  icon.SaveToStream(s);
  s.SetPosition(0);
  TIcon a, b;
  a.LoadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size() / 2);  // left after the first file
  b.LoadFromStream(s);
  MemDC one(3, 2, kScreen), two(3, 2, kScreen);
  TCanvas c1, c2;
  c1.SetHandle(one);
  c2.SetHandle(two);
  c1.Draw(0, 0, &icon);
  c2.Draw(0, 0, &b);
  EXPECT_EQ(one.Picture(), two.Picture());

  EXPECT_THROW(icon.SetWidth(4), EInvalidGraphicOperation);
  EXPECT_THROW(icon.SetHeight(1), EInvalidGraphicOperation);
  icon.SetWidth(3);

  TIcon copy;
  int changes = 0;
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(&icon);
  EXPECT_EQ(changes, 1);
  EXPECT_NE(copy.ColorBitmap(), icon.ColorBitmap());
  EXPECT_EQ(copy.Width(), 3);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.ColorBitmap(), nullptr);
  TMemoryStream none;
  copy.SaveToStream(none);
  EXPECT_EQ(none.Size(), 0);
  icon.LoadFromStream(none);
  EXPECT_TRUE(icon.Empty());
  TBitmap bmp;
  EXPECT_THROW(copy.Assign(&bmp), EConvertError);
}

TEST(Icon, DamagedFilesRaiseEInvalidGraphicAndChangeNothing) {
  TIcon icon;
  LoadImage(icon, MaskedImage());
  std::vector<uint8_t> file = gdi::EncodeIco(MaskedImage());
  file[2] = 2;  // a cursor
  TMemoryStream s;
  s.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
  s.SetPosition(0);
  try {
    icon.LoadFromStream(s);
    ADD_FAILURE() << "loaded a cursor";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "this is a cursor file (type 2), not an icon file");
  }
  EXPECT_EQ(icon.Width(), 3);
}

TEST(Icon, SharedFilesLoadAndDrawOrAreRefused) {
  REQUIRE_SHARED_TESTDATA(data);
  int loaded = 0, refused = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(data / "ico")) {
    if (item.path().extension() != ".ico") continue;
    SCOPED_TRACE(item.path().string());
    TIcon icon;
    try {
      icon.LoadFromFile(item.path().string());
    } catch (const EInvalidGraphic& e) {
      EXPECT_FALSE(e.Message().empty());
      ++refused;
      continue;
    }
    ++loaded;
    // What it saves draws as what it loaded.
    const std::filesystem::path copy = testsupport::OutputDir() / ("icon_test_" + item.path().filename().string());
    icon.SaveToFile(copy.string());
    TIcon again;
    again.LoadFromFile(copy.string());
    EXPECT_EQ(again.Width(), icon.Width());
    EXPECT_EQ(again.Height(), icon.Height());
    MemDC first(64, 64, kScreen), second(64, 64, kScreen);
    TCanvas c1, c2;
    c1.SetHandle(first);
    c2.SetHandle(second);
    c1.StretchDraw(RECT{0, 0, 64, 64}, &icon);
    c2.StretchDraw(RECT{0, 0, 64, 64}, &again);
    EXPECT_EQ(first.Picture(), second.Picture());
  }
  EXPECT_EQ(loaded, 22);
  EXPECT_EQ(refused, 6);
}

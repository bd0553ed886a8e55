// TBitmap: sizes and handles, its canvas, monochrome conversion, transparency, copies, BMP
// files through streams and files, and damaged files.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/graphics/graphics.h"
#include "platform/win32.h"
#include "support/memdc.h"
#include "support/testdata.h"

using namespace host;
using testsupport::MemDC;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
const std::map<char, COLORREF> kLegend = {{'r', kRed}, {'b', kBlue}, {'g', kLime}};

// The bitmap's pixels as a picture, read through its canvas.
std::vector<std::string> PictureOf(TBitmap& bmp) {
  std::vector<std::string> rows;
  for (int y = 0; y < bmp.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bmp.Width(); ++x) {
      const COLORREF c = static_cast<COLORREF>(bmp.Canvas()->Pixels(x, y));
      char ch = 'x';
      if (c == kWhite) ch = '.';
      if (c == RGB(0, 0, 0)) ch = '#';
      for (const auto& [k, v] : kLegend)
        if (c == v) ch = k;
      row += ch;
    }
    rows.push_back(row);
  }
  return rows;
}

// 3x2: red, lime, blue / white, black, grey.
void Paint(TBitmap& bmp) {
  bmp.SetSize(3, 2);
  TCanvas* c = bmp.Canvas();
  c->SetPixels(0, 0, clRed);
  c->SetPixels(1, 0, clLime);
  c->SetPixels(2, 0, clBlue);
  c->SetPixels(1, 1, clBlack);
  c->SetPixels(2, 1, clGray);
}

}  // namespace

TEST(Bitmap, EmptyUntilBothSidesAreSetThenWhite) {
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Handle(), nullptr);
  bmp.SetWidth(4);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Handle(), nullptr);
  bmp.SetHeight(2);
  EXPECT_FALSE(bmp.Empty());
  ASSERT_NE(bmp.Handle(), nullptr);
  BITMAP bm{};
  ASSERT_TRUE(GetObject(bmp.Handle(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(PictureOf(bmp), (std::vector<std::string>{"....", "...."}));
}

TEST(Bitmap, ResizingKeepsTheOverlapAndZeroReleases) {
  TBitmap bmp;
  bmp.SetSize(6, 6);
  bmp.Canvas()->SetPixels(1, 1, clRed);
  bmp.Canvas()->SetPixels(5, 5, clBlue);
  bmp.Canvas()->SetPixels(2, 3, clLime);
  HBITMAP old = bmp.Handle();
  HDC old_dc = bmp.Canvas()->Handle();
  EXPECT_EQ(GetCurrentObject(old_dc, OBJ_BITMAP), old);  // selected while the canvas has its DC
  bmp.SetSize(3, 7);
  EXPECT_EQ(GetObjectType(old), 0u);  // taken out of the canvas's DC and freed
  EXPECT_EQ(GetObjectType(old_dc), 0u);
  EXPECT_EQ(PictureOf(bmp), (std::vector<std::string>{"...", ".r.", "...", "..g", "...", "...", "..."}));
  EXPECT_EQ(GetCurrentObject(bmp.Canvas()->Handle(), OBJ_BITMAP), bmp.Handle());

  HBITMAP h = bmp.Handle();
  int changes = 0;
  bmp.OnChange = [&](TObject*) { ++changes; };
  bmp.SetWidth(0);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_FALSE(bmp.HandleAllocated());
  EXPECT_EQ(bmp.Handle(), nullptr);
  EXPECT_EQ(GetObjectType(h), 0u);
  EXPECT_EQ(bmp.Height(), 7);  // the other side is kept
  bmp.SetWidth(0);
  bmp.SetSize(0, 7);
  EXPECT_EQ(changes, 1);
  bmp.SetWidth(2);  // a new image, white
  EXPECT_EQ(PictureOf(bmp).front(), "..");
  bmp.SetSize(-3, 2);
  EXPECT_EQ(bmp.Width(), 0);
}

TEST(Bitmap, DrawingOnTheCanvasReportsAChange) {
  TBitmap bmp;
  bmp.SetSize(2, 2);
  bmp.SetModified(false);
  int changes = 0;
  bmp.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &bmp);
    ++changes;
  };
  bmp.Canvas()->FillRect(RECT{0, 0, 2, 2});
  bmp.Canvas()->Pixels(0, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(bmp.Modified());
}

TEST(Bitmap, MonochromeConversionFollowsGdi) {
  TBitmap bmp;
  Paint(bmp);
  bmp.Canvas()->SetPixels(0, 1, clSilver);
  bmp.SetMonochrome(true);
  EXPECT_TRUE(bmp.Monochrome());
  BITMAP bm{};
  ASSERT_TRUE(GetObject(bmp.Handle(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  // Only white stays white, light colours included.
  EXPECT_EQ(PictureOf(bmp), (std::vector<std::string>{"###", "###"}));
  bmp.Canvas()->SetPixels(2, 1, clWhite);
  bmp.Canvas()->SetPixels(0, 0, clSilver);  // drawn on monochrome: the nearer of black and white
  EXPECT_EQ(bmp.TransparentColor(), clWhite);
  bmp.SetMonochrome(false);
  ASSERT_TRUE(GetObject(bmp.Handle(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(PictureOf(bmp), (std::vector<std::string>{".##", "##."}));
  // An empty bitmap only remembers the choice.
  TBitmap empty;
  empty.SetMonochrome(true);
  empty.SetSize(9, 1);
  ASSERT_TRUE(GetObject(empty.Handle(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(PictureOf(empty).front(), ".........");
}

TEST(Bitmap, TransparentDrawingLeavesTheTransparentColourOut) {
  TBitmap bmp;
  bmp.SetSize(3, 2);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(RECT{0, 0, 3, 2});
  bmp.Canvas()->SetPixels(1, 0, clBlue);
  bmp.Canvas()->SetPixels(2, 1, clLime);
  EXPECT_EQ(bmp.TransparentMode(), tmAuto);
  EXPECT_EQ(bmp.TransparentColor(), clRed);  // the bottom-left pixel
  MemDC dc(7, 2, RGB(0, 0, 0));
  TCanvas c;
  c.SetHandle(dc);
  c.Draw(0, 0, &bmp);
  bmp.SetTransparent(true);
  c.Draw(4, 0, &bmp);
  EXPECT_PICTURE(dc, 0, 0, {"rbr##b#", "rrg###g"}, kLegend);
  // A fixed colour instead; back to automatic.
  bmp.SetTransparentColor(clBlue);
  EXPECT_EQ(bmp.TransparentMode(), tmFixed);
  dc.Fill(RGB(0, 0, 0));
  c.Draw(0, 0, &bmp);
  EXPECT_PICTURE(dc, 0, 0, {"r#r####", "rrg####"}, kLegend);
  bmp.SetTransparentMode(tmAuto);
  EXPECT_EQ(bmp.TransparentColor(), clRed);
  bmp.SetTransparentMode(tmFixed);  // fixes the colour it has now
  bmp.Canvas()->SetPixels(0, 1, clLime);
  EXPECT_EQ(bmp.TransparentColor(), clRed);
  // Stretched: every copy of a transparent pixel is left out.
  MemDC big(6, 4, RGB(0, 0, 0));
  TCanvas b;
  b.SetHandle(big);
  b.StretchDraw(RECT{0, 0, 6, 4}, &bmp);
  EXPECT_PICTURE(big, 0, 0, {"##bb##", "##bb##", "gg##gg", "gg##gg"}, kLegend);
}

TEST(Bitmap, DrawUsesTheCopyModeAndMonochromeDrawsBlackAndWhite) {
  TBitmap bmp;
  Paint(bmp);
  MemDC dc(3, 2, RGB(255, 255, 255));
  TCanvas c;
  c.SetHandle(dc);
  c.SetCopyMode(NOTSRCCOPY);
  c.Draw(0, 0, &bmp);
  EXPECT_EQ(dc.Px(0, 0), RGB(0, 255, 255));
  EXPECT_EQ(dc.Px(0, 1), RGB(0, 0, 0));
  c.SetCopyMode(SRCCOPY);
  // The canvas's colours do not tint a monochrome bitmap.
  bmp.SetMonochrome(true);
  c.Font()->SetColor(clRed);
  c.Brush()->SetColor(clBlue);
  c.TextExtent("x");
  c.FillRect(RECT{0, 0, 0, 0});
  c.Draw(0, 0, &bmp);
  EXPECT_PICTURE(dc, 0, 0, {"###", ".##"});
  EXPECT_EQ(GetTextColor(dc), kRed);  // and are left as they were
  EXPECT_EQ(GetBkColor(dc), kBlue);
  // Drawing nothing draws nothing.
  TBitmap empty;
  int changes = 0;
  c.OnChange = [&](TObject*) { ++changes; };
  c.Draw(0, 0, &empty);
  c.Draw(0, 0, nullptr);
  EXPECT_EQ(changes, 0);
}

TEST(Bitmap, AssignCopiesAndHandlesAreAdoptedAndReleased) {
  TBitmap a;
  Paint(a);
  a.SetTransparent(true);
  a.SetTransparentColor(clBlue);
  TBitmap b;
  b.Assign(&a);
  EXPECT_NE(b.Handle(), a.Handle());
  EXPECT_EQ(PictureOf(b), PictureOf(a));
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clBlue);
  a.Canvas()->SetPixels(0, 0, clBlack);  // the copy has its own pixels
  EXPECT_EQ(PictureOf(b)[0][0], 'r');
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  TFont font;
  EXPECT_THROW(b.Assign(&font), EConvertError);

  HBITMAP foreign = CreateBitmap(5, 3, 1, 1, nullptr);
  {
    TBitmap c;
    c.SetHandle(foreign);
    EXPECT_EQ(c.Width(), 5);
    EXPECT_EQ(c.Height(), 3);
    EXPECT_TRUE(c.Monochrome());
    EXPECT_EQ(c.Handle(), foreign);
    EXPECT_THROW(c.SetHandle(reinterpret_cast<HBITMAP>(GetStockObject(BLACK_PEN))), EInvalidGraphic);
    c.Canvas()->Pixels(0, 0);
    HBITMAP released = c.ReleaseHandle();
    EXPECT_EQ(released, foreign);
    EXPECT_TRUE(c.Empty());
    EXPECT_EQ(GetCurrentObject(c.Canvas()->Handle(), OBJ_BITMAP) == foreign, false);
    c.SetHandle(released);
  }
  EXPECT_EQ(GetObjectType(foreign), 0u);  // freed with the TBitmap that owned it
  TBitmap d;
  d.SetSize(2, 2);
  // A bitmap someone else has selected cannot get a canvas.
  HDC other = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(other, d.Handle());
  EXPECT_THROW(d.Canvas()->Pixels(0, 0), EInvalidGraphicOperation);
  SelectObject(other, old);
  DeleteDC(other);
  EXPECT_EQ(d.Canvas()->Pixels(0, 0), clWhite);
  HBITMAP mine = d.ReleaseHandle();
  EXPECT_EQ(GetObjectType(mine), OBJ_BITMAP);  // the caller's now
  DeleteObject(mine);
}

TEST(Bitmap, DormantKeepsThePixelsWithoutAHandle) {
  TBitmap bmp;
  Paint(bmp);
  bmp.SetMonochrome(false);
  const std::vector<std::string> before = PictureOf(bmp);
  HBITMAP h = bmp.Handle();
  bmp.Dormant();
  EXPECT_FALSE(bmp.HandleAllocated());
  EXPECT_EQ(GetObjectType(h), 0u);
  EXPECT_EQ(bmp.Width(), 3);
  TBitmap copy;
  copy.Assign(&bmp);  // straight from the memory copy
  EXPECT_EQ(PictureOf(copy), before);
  EXPECT_FALSE(bmp.HandleAllocated());
  bmp.FreeImage();
  EXPECT_TRUE(bmp.HandleAllocated());
  EXPECT_EQ(PictureOf(bmp), before);
  bmp.SetMonochrome(true);
  bmp.Dormant();
  bmp.SetSize(4, 2);  // resizing a dormant bitmap works from its pixels
  EXPECT_EQ(PictureOf(bmp), (std::vector<std::string>{"###.", ".##."}));
}

TEST(Bitmap, BmpRoundTripsThroughStreamsAndFiles) {
  TBitmap a;
  Paint(a);
  TMemoryStream stream;
  a.SaveToStream(stream);
  a.SaveToStream(stream);  // two files back to back
  EXPECT_EQ(stream.Bytes()[28], 24);  // bits per pixel
  stream.SetPosition(0);
  TBitmap b, c;
  b.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size() / 2);  // left after the first file
  c.LoadFromStream(stream);
  EXPECT_EQ(PictureOf(b), PictureOf(a));
  EXPECT_EQ(PictureOf(c), PictureOf(a));
  EXPECT_FALSE(b.Monochrome());
  EXPECT_EQ(b.Palette(), nullptr);

  a.SetMonochrome(true);
  const std::filesystem::path path = testsupport::OutputDir() / "bitmap_test_mono.bmp";
  a.SaveToFile(path.string());
  TBitmap m;
  m.LoadFromFile(path.string());
  EXPECT_TRUE(m.Monochrome());
  EXPECT_NE(m.Palette(), nullptr);  // the file's two colours
  EXPECT_EQ(PictureOf(m), PictureOf(a));
  TMemoryStream raw;
  raw.LoadFromFile(path.string());
  EXPECT_EQ(raw.Bytes()[28], 1);

  // Nothing written for an empty bitmap; reading nothing empties.
  TBitmap empty;
  TMemoryStream none;
  empty.SaveToStream(none);
  EXPECT_EQ(none.Size(), 0);
  m.LoadFromStream(none);
  EXPECT_TRUE(m.Empty());
}

TEST(Bitmap, DamagedFilesRaiseEInvalidGraphicAndChangeNothing) {
  TBitmap a;
  Paint(a);
  TMemoryStream stream;
  a.SaveToStream(stream);
  std::vector<uint8_t> bytes = stream.Bytes();
  auto load = [&](const std::vector<uint8_t>& data) -> std::string {
    TMemoryStream s;
    s.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    s.SetPosition(0);
    try {
      a.LoadFromStream(s);
    } catch (const EInvalidGraphic& e) {
      return e.Message();
    }
    return "(loaded)";
  };
  std::vector<uint8_t> bad = bytes;
  bad[0] = 'X';
  EXPECT_NE(load(bad).find("not a BMP file"), std::string::npos);
  bad = bytes;
  bad[28] = 7;
  EXPECT_NE(load(bad).find("bit count 7"), std::string::npos);
  bad.assign(bytes.begin(), bytes.end() - 5);
  EXPECT_NE(load(bad).find("truncated"), std::string::npos);
  EXPECT_EQ(PictureOf(a)[0], "rgb");  // still the old picture
  EXPECT_THROW(a.LoadFromFile((testsupport::OutputDir() / "no such file.bmp").string()), EFOpenError);
}

TEST(Bitmap, TheBmpSuiteLoadsOrIsRefused) {
  REQUIRE_SHARED_TESTDATA(data);
  int good = 0, bad = 0;
  for (const char* folder : {"g", "b"}) {
    for (const auto& item : std::filesystem::directory_iterator(data / "bmpsuite" / folder)) {
      SCOPED_TRACE(item.path().string());
      TBitmap bmp;
      if (std::string(folder) == "g") {
        ASSERT_NO_THROW(bmp.LoadFromFile(item.path().string()));
        EXPECT_FALSE(bmp.Empty());
        ++good;
      } else {
        try {
          bmp.LoadFromFile(item.path().string());
        } catch (const EInvalidGraphic& e) {
          EXPECT_FALSE(e.Message().empty());
          ++bad;
        }
      }
    }
  }
  EXPECT_EQ(good, 27);
  EXPECT_GE(bad, 15);  // a few "bad" files are readable (and read safely)
  TBitmap pal8;
  pal8.LoadFromFile((data / "bmpsuite" / "g" / "pal8.bmp").string());
  WORD entries = 0;
  ASSERT_NE(pal8.Palette(), nullptr);
  GetObject(pal8.Palette(), sizeof entries, &entries);
  EXPECT_EQ(entries, 252);
  EXPECT_EQ(pal8.Width(), 127);
  EXPECT_EQ(pal8.Height(), 64);
}

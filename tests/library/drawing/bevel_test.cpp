// Bevel frames and standard borders: exact pixels and the rectangles left inside them, the
// extent, the shadow-style rule and change notification.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/graphics/canvas.h"
#include "host/graphics/pen.h"
#include "host/graphics/color.h"
#include "library/drawing/bevel.h"
#include "support/memdc.h"

namespace zyr {
namespace {

using testsupport::MemDC;

constexpr COLORREF kLight = RGB(255, 0, 0);
constexpr COLORREF kShadow = RGB(0, 0, 255);
constexpr COLORREF kBand = RGB(0, 160, 0);
const std::map<char, COLORREF> kLegend = {{'L', kLight}, {'S', kShadow}, {'B', kBand}};

// A host canvas drawing on a test DC for the life of the scope.
class CanvasOn {
 public:
  explicit CanvasOn(HDC dc) { canvas_.SetHandle(dc); }
  ~CanvasOn() { canvas_.SetHandle(nullptr); }
  host::TCanvas* operator->() { return &canvas_; }
  host::TCanvas* get() { return &canvas_; }

 private:
  host::TCanvas canvas_;
};

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

TEST(Bevel, RaisedWidth1DrawsTwoPolylinesAndShrinksByOne) {
  MemDC dc(10, 10);
  CanvasOn canvas(dc);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawBevel(canvas.get(), r, bvRaised, kLight, kShadow, 1));
  ExpectRect(r, 1, 1, 9, 9);
  EXPECT_PICTURE(dc, 0, 0,
                 {"LLLLLLLLLS",
                  "L........S",
                  "L........S",
                  "L........S",
                  "L........S",
                  "L........S",
                  "L........S",
                  "L........S",
                  "L........S",
                  "LSSSSSSSSS"},
                 kLegend);
  // Lowered swaps the colours; bvNormal is black whatever they are.
  MemDC low(4, 4);
  CanvasOn lc(low);
  RECT lr{0, 0, 4, 4};
  DrawBevel(lc.get(), lr, bvLowered, kLight, kShadow, 1);
  EXPECT_PICTURE(low, 0, 0, {"SSSL", "S..L", "S..L", "SLLL"}, kLegend);
  MemDC normal(4, 4);
  CanvasOn nc(normal);
  RECT nr{0, 0, 4, 4};
  DrawBevel(nc.get(), nr, bvNormal, kLight, kShadow, 1);
  EXPECT_PICTURE(normal, 0, 0, {"####", "#..#", "#..#", "####"});
}

TEST(Bevel, RaisedWidth3TakesOneMoreFromLeftAndRight) {
  MemDC dc(20, 20);
  CanvasOn canvas(dc);
  RECT r{0, 0, 20, 20};
  EXPECT_TRUE(DrawBevel(canvas.get(), r, bvRaised, kLight, kShadow, 3));
  ExpectRect(r, 4, 3, 16, 17);
  // Two polygons without a pen: their own right and bottom edges stay unfilled, so the last
  // column and the pixels on the mitres are left as they were.
  EXPECT_PICTURE(dc, 0, 0,
                 {"LLLLLLLLLLLLLLLLLL..",
                  "LLLLLLLLLLLLLLLLL.S.",
                  "LLLLLLLLLLLLLLLL.SS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLL.............SSS.",
                  "LLLSSSSSSSSSSSSSSSS.",
                  "LL.SSSSSSSSSSSSSSSS.",
                  "L.SSSSSSSSSSSSSSSSS.",
                  ".SSSSSSSSSSSSSSSSSS."},
                 kLegend);
}

TEST(Bevel, FramedStylesEtchTwoOffsetFrames) {
  MemDC dc(10, 10);
  CanvasOn canvas(dc);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawBevel(canvas.get(), r, bvFrameLowered, kLight, kShadow, 1));
  ExpectRect(r, 2, 2, 8, 8);
  EXPECT_PICTURE(dc, 0, 0,
                 {"SSSSSSSSS.",
                  "SLLLLLLLSL",
                  "SL......SL",
                  "SL......SL",
                  "SL......SL",
                  "SL......SL",
                  "SL......SL",
                  "SL......SL",
                  "SSSSSSSSSL",
                  ".LLLLLLLLL"},
                 kLegend);
  MemDC wide(8, 8);
  CanvasOn wc(wide);
  RECT wr{0, 0, 8, 8};
  DrawBevel(wc.get(), wr, bvFrameRaised, kLight, kShadow, 2);
  ExpectRect(wr, 3, 3, 5, 5);
  EXPECT_PICTURE(wide, 0, 0,
                 {"LLLLLLL.",
                  "LSSSSLLS",
                  "LSSSSLSS",
                  "LSS..LLS",
                  "LSS..LLS",
                  "LLLLLLLS",
                  "LLSLLLLS",
                  ".SSSSSSS"},
                 kLegend);
}

TEST(Bevel, NothingIsDrawnForWidth0NoneOrShadow) {
  MemDC dc(6, 6);
  CanvasOn canvas(dc);
  for (auto [style, width] : {std::pair{bvRaised, 0}, {bvNone, 2}, {bvShadow, 2}}) {
    RECT r{0, 0, 6, 6};
    EXPECT_FALSE(DrawBevel(canvas.get(), r, style, kLight, kShadow, width));
    ExpectRect(r, 0, 0, 6, 6);
  }
  EXPECT_EQ(testsupport::InkBox(dc).right, -1);
}

TEST(Bevel, ShadowBevelFramesOverADropShadow) {
  const COLORREF frame = RGB(0, 0, 0);
  for (bool transparent : {false, true}) {
    MemDC dc(20, 20);
    CanvasOn canvas(dc);
    RECT r{0, 0, 20, 20};
    EXPECT_TRUE(DrawShadowBevel(canvas.get(), r, frame, kShadow, kBand, 3, 1, transparent));
    ExpectRect(r, 1, 1, 16, 16);
    const char o = transparent ? '.' : 'B';
    const std::string top(1, o);
    EXPECT_PICTURE(dc, 0, 0,
                   {"#################" + top + top + top,
                    "#BBBBBBBBBBBBBBB#" + top + top + top,
                    "#BBBBBBBBBBBBBBB#" + top + top + top,
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#BBBBBBBBBBBBBBB#SSS",
                    "#################SSS",
                    top + top + top + "SSSSSSSSSSSSSSSSS",
                    top + top + top + "SSSSSSSSSSSSSSSSS",
                    top + top + top + "SSSSSSSSSSSSSSSSS"},
                   kLegend)
        << "transparent " << transparent;
    EXPECT_EQ(canvas->Pen()->Width(), 1);
  }
  // A frame 4 wide is centred on the rectangle inset by 2: it covers 0..3 and 23..26, and the
  // rectangle left inside starts one pixel into the fill.
  MemDC dc(30, 30);
  CanvasOn canvas(dc);
  RECT r{0, 0, 30, 30};
  DrawShadowBevel(canvas.get(), r, frame, kShadow, kBand, 2, 4, false);
  ExpectRect(r, 5, 5, 23, 23);
  for (int x : {0, 3, 23, 26}) EXPECT_EQ(dc.Px(x, 12), frame) << x;
  EXPECT_EQ(dc.Px(4, 12), kBand);
  EXPECT_EQ(dc.Px(22, 12), kBand);
  EXPECT_EQ(dc.Px(27, 12), kShadow);
  EXPECT_EQ(dc.Px(29, 29), kShadow);
  EXPECT_EQ(dc.Px(29, 0), kBand);
}

TEST(StandardBorder, WidthsAndTheRectangleEachStyleLeaves) {
  struct Case {
    TZYRBorderStyle style;
    int width;
    RECT inside;
  } cases[] = {
      {lsNone, 0, {0, 0, 20, 20}},          {lsSingle, 1, {1, 1, 20, 20}},
      {lsLowered, 2, {2, 2, 18, 18}},       {lsRaised, 2, {2, 2, 18, 18}},
      {lsRaisedspb, 2, {1, 1, 18, 18}},     {lsLoweredspb, 2, {2, 2, 19, 19}},
      {lsFrameInset, 2, {2, 2, 18, 18}},    {lsFrameOffset, 2, {2, 2, 18, 18}},
      {lsWindowBorder, 2, {2, 2, 18, 18}},  {lsSingleRaised, 1, {1, 1, 19, 19}},
      {lsSingleLowered, 1, {1, 1, 19, 19}}, {lsDoubleRaised, 2, {2, 2, 18, 18}},
      {lsDoubleLowered, 2, {2, 2, 18, 18}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EnumTypeOf(c.style).Name(c.style));
    EXPECT_EQ(StandardBorderWidth(c.style), c.width);
    MemDC dc(20, 20);
    CanvasOn canvas(dc);
    RECT r{0, 0, 20, 20};
    EXPECT_TRUE(DrawStandardBorder(canvas.get(), r, c.style, 0));
    ExpectRect(r, c.inside.left, c.inside.top, c.inside.right, c.inside.bottom);
    // Nothing is drawn inside what is left, except by lsSingle, whose right and bottom line
    // does not adjust the rectangle.
    RECT clean = r;
    if (c.style == lsSingle) {
      EXPECT_EQ(dc.Px(19, 10), RGB(0, 0, 0));
      EXPECT_EQ(dc.Px(10, 19), RGB(0, 0, 0));
      clean.right -= 1;
      clean.bottom -= 1;
    }
    for (int y = clean.top; y < clean.bottom; ++y) {
      for (int x = clean.left; x < clean.right; ++x) ASSERT_EQ(dc.Px(x, y), RGB(255, 255, 255)) << x << "," << y;
    }
  }
  // A value beyond the list draws nothing and still answers True.
  MemDC dc(6, 6);
  CanvasOn canvas(dc);
  RECT r{0, 0, 6, 6};
  EXPECT_TRUE(DrawStandardBorder(canvas.get(), r, static_cast<TZYRBorderStyle>(13), 0));
  ExpectRect(r, 0, 0, 6, 6);
  EXPECT_EQ(testsupport::InkBox(dc).right, -1);
}

TEST(StandardBorder, ExactRowsOfSeveralStyles) {
  const std::map<char, COLORREF> sys = {{'H', GetSysColor(COLOR_BTNHIGHLIGHT)},
                                        {'S', GetSysColor(COLOR_BTNSHADOW)},
                                        {'D', GetSysColor(COLOR_3DDKSHADOW)},
                                        {'F', GetSysColor(COLOR_BTNFACE)},
                                        {'l', GetSysColor(COLOR_3DLIGHT)}};
  struct Case {
    TZYRBorderStyle style;
    std::vector<std::string> picture;
  } cases[] = {
      {lsSingleLowered, {"SSSSSH", "S....H", "S....H", "S....H", "S....H", "HHHHHH"}},
      {lsSingleRaised, {"HHHHHS", "H....S", "H....S", "H....S", "H....S", "SSSSSS"}},
      {lsDoubleLowered, {"SSSSSH", "SSSSHH", "SS..HH", "SS..HH", "SHHHHH", "HHHHHH"}},
      // Soft edges darken the top and left.
      {lsLowered, {"DDDDDH", "DSSSlH", "DS..lH", "DS..lH", "DllllH", "HHHHHH"}},
      {lsSingle, {"DDDDDD", "D....D", "D....D", "D....D", "D....D", "DDDDDD"}},
      {lsWindowBorder, {"HHHHHD", "HHHHSD", "HH..SD", "HH..SD", "HSSSSD", "DDDDDD"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EnumTypeOf(c.style).Name(c.style));
    MemDC dc(6, 6);
    CanvasOn canvas(dc);
    RECT r{0, 0, 6, 6};
    DrawStandardBorder(canvas.get(), r, c.style, 0);
    EXPECT_PICTURE(dc, 0, 0, c.picture, sys);
  }
}

TEST(BevelObject, DefaultsAndExtentOfEveryMode) {
  TZYRBevel b;
  EXPECT_EQ(b.StyleInner(), bvNone);
  EXPECT_EQ(b.StyleOuter(), bvNone);
  EXPECT_EQ(b.WidthInner(), 1);
  EXPECT_EQ(b.WidthOuter(), 1);
  EXPECT_EQ(b.BorderColor(), host::clBtnFace);
  EXPECT_EQ(b.LightColor(), host::clBtnHighlight);
  EXPECT_EQ(b.ShadowColor(), host::clBtnShadow);
  EXPECT_EQ(b.Mode(), bmCustom);
  EXPECT_EQ(b.StandardStyle(), lsSingleLowered);
  EXPECT_EQ(b.BevelExtent(), 0);

  b.SetStyleOuter(bvRaised);
  EXPECT_EQ(b.BevelExtent(), 1);
  b.SetWidthOuter(3);
  b.SetStyleInner(bvFrameLowered);
  b.SetWidthInner(2);
  b.SetBorderWidth(4);
  b.SetBorderInnerWidth(5);
  EXPECT_EQ(b.BevelExtent(), 3 + 4 + (2 + 1) + 5);
  b.SetStyleOuter(bvShadow);  // both edges become the shadow style
  b.SetWidthOuter(5);
  EXPECT_EQ(b.BevelExtent(), 5 / 2 + 2 + 1 + 5);
  b.SetMode(bmStandard);
  b.SetStandardStyle(lsWindowBorder);
  EXPECT_EQ(b.BevelExtent(), 2 + 5);
  b.SetStandardStyle(lsSingle);
  EXPECT_EQ(b.BevelExtent(), 1 + 5);
  // The widths are a subrange of 0..50.
  b.SetWidthInner(200);
  EXPECT_EQ(b.WidthInner(), 50);
}

TEST(BevelObject, ShadowStyleBelongsToBothEdgesOrNeither) {
  TZYRBevel b;
  b.SetStyleInner(bvRaised);
  b.SetStyleOuter(bvShadow);
  EXPECT_EQ(b.StyleInner(), bvShadow);
  b.SetStyleInner(bvRaised);
  EXPECT_EQ(b.StyleOuter(), bvNone);
  EXPECT_EQ(b.StyleInner(), bvRaised);
  b.SetStyleInner(bvShadow);
  EXPECT_EQ(b.StyleOuter(), bvShadow);
  b.SetStyleOuter(bvLowered);
  EXPECT_EQ(b.StyleInner(), bvNone);
  // Other changes leave the partner alone.
  b.SetStyleInner(bvRaised);
  EXPECT_EQ(b.StyleOuter(), bvLowered);
}

TEST(BevelObject, SettersNotifyOnRealChangesAndAssignOnce) {
  TZYRBevel b;
  int changes = 0;
  b.OnChange = [&](host::TObject* sender) {
    EXPECT_EQ(sender, &b);
    ++changes;
  };
  b.SetWidthInner(1);
  b.SetLightColor(host::clBtnHighlight);
  b.SetStandardStyle(lsSingleLowered);
  EXPECT_EQ(changes, 0);
  b.SetShadowColor(host::clRed);
  b.SetColor(0, host::clBlue);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(b.BorderColor(), host::clBlue);

  TZYRBevel source;
  source.SetStyleOuter(bvFrameRaised);
  source.SetStyleInner(bvLowered);
  source.SetWidthOuter(4);
  source.SetWidthInner(3);
  source.SetBorderWidth(2);
  source.SetBorderInnerWidth(1);
  source.SetBorderColor(host::clGreen);
  source.SetLightColor(host::clYellow);
  source.SetShadowColor(host::clNavy);
  source.SetMode(bmStandard);
  source.SetStandardStyle(lsDoubleRaised);
  changes = 0;
  b.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.StyleOuter(), bvFrameRaised);
  EXPECT_EQ(b.StyleInner(), bvLowered);
  EXPECT_EQ(b.WidthOuter(), 4);
  EXPECT_EQ(b.WidthInner(), 3);
  EXPECT_EQ(b.BorderWidth(), 2);
  EXPECT_EQ(b.BorderInnerWidth(), 1);
  EXPECT_EQ(b.BorderColor(), host::clGreen);
  EXPECT_EQ(b.LightColor(), host::clYellow);
  EXPECT_EQ(b.ShadowColor(), host::clNavy);
  EXPECT_EQ(b.Mode(), bmStandard);
  EXPECT_EQ(b.StandardStyle(), lsDoubleRaised);
  EXPECT_EQ(b.BevelExtent(), source.BevelExtent());
  // Suspended updates report nothing.
  b.BeginUpdate();
  b.SetWidthOuter(9);
  b.EndUpdate(false);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(b.Assign(nullptr), host::Exception);
}

TEST(PaintBevel, EmptyFrameDrawsNothingAndBandsTakeTheirRoom) {
  {
    MemDC dc(10, 10);
    CanvasOn canvas(dc);
    TZYRBevel b;
    const RECT r = b.PaintBevel(canvas.get(), RECT{1, 2, 9, 8}, false);
    ExpectRect(r, 1, 2, 9, 8);
    EXPECT_EQ(testsupport::InkBox(dc).right, -1);
  }
  TZYRBevel b;
  b.SetStyleOuter(bvRaised);
  b.SetBorderWidth(2);
  b.SetStyleInner(bvLowered);
  b.SetBorderInnerWidth(1);
  b.SetBorderColor(static_cast<TColor>(kBand));
  b.SetLightColor(static_cast<TColor>(kLight));
  b.SetShadowColor(static_cast<TColor>(kShadow));
  ASSERT_EQ(b.BevelExtent(), 5);
  for (bool transparent : {false, true}) {
    MemDC dc(12, 12);
    CanvasOn canvas(dc);
    const RECT r = b.PaintBevel(canvas.get(), RECT{0, 0, 12, 12}, transparent);
    ExpectRect(r, 5, 5, 7, 7);
    const std::string band = transparent ? ".." : "BB";
    const std::string one = transparent ? "." : "B";
    const std::string ten(10, one[0]);
    EXPECT_PICTURE(dc, 0, 0,
                   {"LLLLLLLLLLLS",
                    "L" + ten + "S",
                    "L" + ten + "S",
                    "L" + band + "SSSSSL" + band + "S",
                    "L" + band + "S" + one + one + one + one + "L" + band + "S",
                    "L" + band + "S" + one + ".." + one + "L" + band + "S",
                    "L" + band + "S" + one + ".." + one + "L" + band + "S",
                    "L" + band + "S" + one + one + one + one + "L" + band + "S",
                    "L" + band + "SLLLLL" + band + "S",
                    "L" + ten + "S",
                    "L" + ten + "S",
                    "LSSSSSSSSSSS"},
                   kLegend)
        << "transparent " << transparent;
  }
}

TEST(PaintBevel, StandardModeAndShadowStyle) {
  TZYRBevel b;
  b.SetMode(bmStandard);
  MemDC dc(10, 10);
  CanvasOn canvas(dc);
  ExpectRect(b.PaintBevel(canvas.get(), RECT{0, 0, 10, 10}, false), 1, 1, 9, 9);
  b.SetStandardStyle(lsWindowBorder);
  ExpectRect(b.PaintBevel(canvas.get(), RECT{0, 0, 10, 10}, false), 2, 2, 8, 8);

  // The shadow style: WidthOuter is the shadow, WidthInner the frame, BorderColor the fill.
  TZYRBevel s;
  s.SetStyleOuter(bvShadow);
  s.SetWidthOuter(3);
  s.SetWidthInner(1);
  s.SetBorderColor(static_cast<TColor>(kBand));
  s.SetLightColor(static_cast<TColor>(RGB(0, 0, 0)));
  s.SetShadowColor(static_cast<TColor>(kShadow));
  MemDC sd(20, 20);
  CanvasOn sc(sd);
  ExpectRect(s.PaintBevel(sc.get(), RECT{0, 0, 20, 20}, false), 1, 1, 16, 16);
  EXPECT_EQ(sd.Px(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(sd.Px(19, 19), kShadow);
  EXPECT_EQ(sd.Px(19, 0), kBand);
  EXPECT_EQ(sd.Px(8, 8), kBand);
}

}  // namespace
}  // namespace zyr

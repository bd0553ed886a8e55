// TCanvas: lazy selection, attaching to and detaching from foreign DCs, change events, and
// the drawing calls checked by their pixels.
#include <gtest/gtest.h>

#include <vector>

#include "host/graphics/graphics.h"
#include "platform/win32.h"
#include "support/memdc.h"

using namespace host;
using testsupport::MemDC;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

const std::map<char, COLORREF> kLegend = {{'r', kRed}, {'b', kBlue}, {'g', kGreen}, {'y', kYellow}};

struct Objects {
  HGDIOBJ pen, brush, font;
  bool operator==(const Objects&) const = default;
};

Objects Current(HDC dc) {
  return {GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH), GetCurrentObject(dc, OBJ_FONT)};
}

}  // namespace

TEST(Canvas, SelectsOnlyWhatADrawingCallNeedsWhenItNeedsIt) {
  MemDC dc(8, 8);
  const Objects original = Current(dc);
  TCanvas c;
  EXPECT_FALSE(c.HandleAllocated());
  c.SetHandle(dc);
  EXPECT_EQ(c.Handle(), dc.dc());
  c.MoveTo(1, 1);
  c.Pen()->SetColor(clRed);
  c.Brush()->SetColor(clBlue);
  EXPECT_EQ(Current(dc), original);  // nothing drawn yet
  c.FillRect(RECT{0, 0, 1, 1});      // a fill needs the brush only
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), original.pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), c.Brush()->Handle());
  c.LineTo(5, 1);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c.Pen()->Handle());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original.font);
  EXPECT_EQ(c.TextWidth("x") > 0, true);  // measuring needs the font
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c.Font()->Handle());
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));

  // A change takes the object out of the DC (the old handle is freed after that) and the next
  // call puts the new one in.
  HPEN old_pen = c.Pen()->Handle();
  c.Pen()->SetColor(clLime);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), original.pen);
  EXPECT_EQ(GetObjectType(old_pen), 0u);
  c.LineTo(5, 4);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c.Pen()->Handle());
  EXPECT_EQ(dc.Px(5, 2), kGreen);
  EXPECT_EQ(dc.Px(2, 1), kRed);
  // The pen's mode is set when it goes in.
  c.Pen()->SetMode(pmXor);
  c.LineTo(5, 6);
  EXPECT_EQ(GetROP2(dc), R2_XORPEN);
  // The font's colour too.
  c.Font()->SetColor(clRed);
  c.TextExtent("x");
  EXPECT_EQ(GetTextColor(dc), kRed);
}

TEST(Canvas, DetachingPutsBackWhatTheDCHeld) {
  MemDC dc(4, 4);
  HPEN theirs = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH their_brush = CreateSolidBrush(RGB(4, 5, 6));
  SelectObject(dc, theirs);
  SelectObject(dc, their_brush);
  const Objects original = Current(dc);
  {
    TCanvas c;
    c.SetHandle(dc);
    c.Rectangle(0, 0, 2, 2);
    c.TextOut(0, 0, "a");
    EXPECT_NE(Current(dc).pen, theirs);
    EXPECT_NE(Current(dc).font, original.font);
    c.SetHandle(nullptr);
    EXPECT_EQ(Current(dc), original);
    EXPECT_FALSE(c.HandleAllocated());
    EXPECT_THROW(c.Rectangle(0, 0, 1, 1), EInvalidOperation);
    // A canvas going away leaves its DC as it found it too.
    TCanvas other;
    other.SetHandle(dc);
    other.Ellipse(0, 0, 4, 4);
    other.Brush()->SetColor(clRed);  // out of the DC now, selected again below
    other.FillRect(RECT{0, 0, 1, 1});
  }
  EXPECT_EQ(Current(dc), original);
  // Moving a canvas to another DC does the same for the first one.
  MemDC second(4, 4);
  TCanvas c;
  c.SetHandle(dc);
  c.Rectangle(0, 0, 2, 2);
  c.SetHandle(second);
  EXPECT_EQ(Current(dc), original);
  c.Rectangle(0, 0, 2, 2);
  EXPECT_EQ(GetCurrentObject(second, OBJ_PEN), c.Pen()->Handle());
  c.Refresh();
  EXPECT_NE(GetCurrentObject(second, OBJ_PEN), c.Pen()->Handle());
  c.SetHandle(nullptr);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(theirs);
  DeleteObject(their_brush);
}

TEST(Canvas, ChangeEventsSurroundEveryDrawingCall) {
  MemDC dc(8, 8);
  TCanvas c;
  c.SetHandle(dc);
  std::string log;
  c.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &c);
    log += '<';
  };
  c.OnChange = [&](TObject*) { log += '>'; };
  c.MoveTo(1, 1);
  c.TextExtent("abc");
  c.Pixels(0, 0);
  c.PenPos();
  EXPECT_EQ(log, "");
  c.LineTo(2, 2);
  c.Rectangle(0, 0, 2, 2);
  c.FillRect(RECT{0, 0, 1, 1});
  c.TextOut(0, 0, "a");
  c.SetPixels(0, 0, clRed);
  EXPECT_EQ(log, "<><><><><>");
}

TEST(Canvas, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  MemDC dc(7, 5);
  TCanvas c;
  c.SetHandle(dc);
  c.Pen()->SetColor(clRed);
  c.Brush()->SetColor(clBlue);
  c.Rectangle(1, 1, 6, 4);
  EXPECT_PICTURE(dc, 0, 0, {".......", ".rrrrr.", ".rbbbr.", ".rrrrr.", "......."}, kLegend);
  // A clear pen fills one pixel less to the right and bottom; a clear brush leaves the inside.
  dc.Fill(RGB(255, 255, 255));
  c.Pen()->SetStyle(psClear);
  c.Rectangle(1, 1, 6, 4);
  c.Pen()->SetStyle(psSolid);
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(0, 0, 3, 3);
  EXPECT_PICTURE(dc, 0, 0, {"rrr....", "rbrbb..", "rrrbb..", ".......", "......."}, kLegend);
}

TEST(Canvas, HatchesLeaveTheGapsButTextOnThemIsOpaque) {
  MemDC dc(8, 8, kGreen);
  TCanvas c;
  c.SetHandle(dc);
  c.Pen()->SetStyle(psClear);
  c.Brush()->SetStyle(bsHorizontal);
  c.Brush()->SetColor(clRed);
  c.Rectangle(0, 0, 9, 9);
  int red = 0, green = 0;
  for (int y = 0; y < 8; ++y) {
    red += dc.Px(0, y) == kRed;
    green += dc.Px(0, y) == kGreen;
  }
  EXPECT_EQ(red, 1);  // one line in eight rows, the rest left as it was
  EXPECT_EQ(green, 7);
  // Text on a hatched brush goes on the brush colour.
  dc.Fill(kGreen);
  c.TextOut(0, 0, " ");
  EXPECT_EQ(dc.Px(0, 0), kRed);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  // ...and a fill after the text is transparent again.
  dc.Fill(kGreen);
  c.FillRect(RECT{0, 0, 8, 8});
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(dc.Px(0, 1), kGreen);
}

TEST(Canvas, TextUsesTheBrushAndTextRectClips) {
  MemDC dc(60, 30);
  TCanvas c;
  c.SetHandle(dc);
  c.Font()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);
  const SIZE space = c.TextExtent(" ");
  ASSERT_GT(space.cx, 0);
  EXPECT_EQ(c.TextWidth("  "), 2 * space.cx);
  EXPECT_EQ(c.TextHeight("W"), space.cy);
  c.TextOut(1, 1, " ");
  EXPECT_EQ(dc.Px(1, 1), kYellow);
  EXPECT_EQ(dc.Px(space.cx, space.cy), kYellow);
  EXPECT_EQ(dc.Px(space.cx + 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(c.PenPos(), (POINT{1 + space.cx, 1}));  // TextOut moves the pen past the text
  c.Brush()->SetStyle(bsClear);
  dc.Fill(RGB(255, 255, 255));
  c.TextOut(1, 1, " ");
  EXPECT_EQ(dc.Px(1, 1), RGB(255, 255, 255));

  // TextRect: the rectangle is filled and nothing outside it is touched.
  dc.Fill(kGreen);
  c.Brush()->SetStyle(bsSolid);
  const RECT r{10, 5, 20, 9};
  c.TextRect(r, 8, 2, "WWWWWWWW");
  int black = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      const COLORREF p = dc.Px(x, y);
      if (!inside) {
        ASSERT_EQ(p, kGreen) << x << "," << y;
      } else {
        ASSERT_TRUE(p == kYellow || p == RGB(0, 0, 0)) << x << "," << y;
        black += p == RGB(0, 0, 0);
      }
    }
  EXPECT_GT(black, 0);
  // A clear brush: clipped, and the rectangle is not filled.
  dc.Fill(kGreen);
  c.Brush()->SetStyle(bsClear);
  c.TextRect(r, 8, 2, "WWWWWWWW");
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      if (!inside || dc.Px(x, y) != RGB(0, 0, 0)) {
        ASSERT_EQ(dc.Px(x, y), kGreen) << x << "," << y;
      }
    }
}

TEST(Canvas, PixelsPenPosClipRectAndShapes) {
  MemDC dc(10, 10);
  TCanvas c;
  c.SetHandle(dc);
  c.SetPixels(3, 4, clRed);
  EXPECT_EQ(c.Pixels(3, 4), clRed);
  EXPECT_EQ(dc.Px(3, 4), kRed);
  c.SetPixels(5, 5, clBtnFace);
  EXPECT_EQ(dc.Px(5, 5), RGB(192, 192, 192));
  EXPECT_EQ(c.Pixels(-1, 0), static_cast<TColor>(CLR_INVALID));
  c.SetPenPos(POINT{7, 2});
  EXPECT_EQ(c.PenPos(), (POINT{7, 2}));
  EXPECT_EQ(c.ClipRect(), (RECT{0, 0, 10, 10}));
  IntersectClipRect(dc, 2, 3, 6, 7);
  EXPECT_EQ(c.ClipRect(), (RECT{2, 3, 6, 7}));
  SelectClipRgn(dc, nullptr);

  dc.Fill(RGB(255, 255, 255));
  c.Brush()->SetColor(clBlue);
  c.Polygon({POINT{0, 0}, POINT{4, 0}, POINT{0, 4}});
  c.Polyline({POINT{5, 0}, POINT{9, 0}, POINT{9, 3}});
  EXPECT_EQ(dc.Px(1, 1), kBlue);
  EXPECT_EQ(dc.Px(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(7, 0), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(9, 2), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(9, 3), RGB(255, 255, 255));
  dc.Fill(RGB(255, 255, 255));
  auto count = [&](COLORREF colour) {
    int n = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) n += dc.Px(x, y) == colour;
    return n;
  };
  c.Ellipse(0, 0, 10, 10);
  const int outline = count(RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(3, 6), kBlue);
  c.Pie(0, 0, 10, 10, 10, 5, 5, 0);  // the radii of a quarter add to the outline
  EXPECT_GT(count(RGB(0, 0, 0)), outline + 4);
  EXPECT_EQ(dc.Px(3, 6), kBlue);
  dc.Fill(RGB(255, 255, 255));
  c.RoundRect(0, 0, 10, 10, 4, 4);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(dc.Px(5, 0), RGB(0, 0, 0));
  dc.Fill(RGB(255, 255, 255));
  c.Chord(0, 0, 10, 10, 10, 5, 0, 5);
  c.Arc(0, 0, 10, 10, 0, 5, 10, 5);
  EXPECT_EQ(dc.Px(5, 2), kBlue);
  EXPECT_EQ(dc.Px(5, 9), RGB(0, 0, 0));
}

TEST(Canvas, FrameFocusAndFloodFill) {
  MemDC dc(6, 6);
  TCanvas c;
  c.SetHandle(dc);
  c.Brush()->SetColor(clRed);
  c.FrameRect(RECT{0, 0, 5, 5});
  c.Brush()->SetColor(clBlue);
  c.FloodFill(2, 2, clRed, fsBorder);
  EXPECT_PICTURE(dc, 0, 0, {"rrrrr.", "rbbbr.", "rbbbr.", "rbbbr.", "rrrrr.", "......"}, kLegend);
  c.Brush()->SetColor(clLime);
  c.FloodFill(5, 0, clWhite, fsSurface);
  EXPECT_PICTURE(dc, 0, 0, {"rrrrrg", "rbbbrg", "rbbbrg", "rbbbrg", "rrrrrg", "gggggg"}, kLegend);
  // Twice XORed is nothing.
  const std::vector<std::string> before = dc.Picture();
  c.DrawFocusRect(RECT{0, 0, 6, 6});
  EXPECT_NE(dc.Picture(), before);
  c.DrawFocusRect(RECT{0, 0, 6, 6});
  EXPECT_EQ(dc.Picture(), before);
}

TEST(Canvas, CopyRectUsesTheCopyMode) {
  TBitmap source;
  source.SetSize(2, 2);
  source.Canvas()->SetPixels(0, 0, clRed);
  source.Canvas()->SetPixels(1, 1, clBlue);
  MemDC dc(6, 4, kGreen);
  TCanvas c;
  c.SetHandle(dc);
  EXPECT_EQ(c.CopyMode(), static_cast<TCopyMode>(SRCCOPY));
  c.CopyRect(RECT{0, 0, 2, 2}, source.Canvas(), RECT{0, 0, 2, 2});
  c.SetCopyMode(SRCINVERT);
  c.CopyRect(RECT{2, 0, 4, 2}, source.Canvas(), RECT{0, 0, 2, 2});
  c.SetCopyMode(SRCCOPY);
  c.CopyRect(RECT{4, 0, 6, 4}, source.Canvas(), RECT{1, 0, 2, 2});  // one column, stretched twice
  EXPECT_PICTURE(dc, 0, 0, {"r.ym..", ".bmc..", "ggggbb", "ggggbb"},
                 {{'r', kRed}, {'b', kBlue}, {'g', kGreen}, {'y', kYellow}, {'m', RGB(255, 0, 255)},
                  {'c', RGB(0, 255, 255)}});
}

TEST(Canvas, BrushCopyPaintsOneColourWithTheBrush) {
  TBitmap source;
  source.SetSize(4, 1);
  source.Canvas()->SetPixels(0, 0, clRed);
  source.Canvas()->SetPixels(1, 0, clLime);
  source.Canvas()->SetPixels(2, 0, clRed);
  source.Canvas()->SetPixels(3, 0, clBlue);
  MemDC dc(8, 2);
  TCanvas c;
  c.SetHandle(dc);
  c.Brush()->SetColor(clYellow);
  c.BrushCopy(RECT{0, 0, 4, 1}, &source, RECT{0, 0, 4, 1}, clRed);
  // Stretched to twice the size, and with a clear brush the red pixels leave the screen as it was.
  dc.Fill(RGB(0, 0, 0));
  c.Brush()->SetStyle(bsClear);
  c.BrushCopy(RECT{0, 1, 8, 2}, &source, RECT{0, 0, 4, 1}, clRed);
  EXPECT_PICTURE(dc, 0, 0, {"########", "##gg##bb"}, kLegend);
  dc.Fill(RGB(255, 255, 255));
  c.Brush()->SetStyle(bsSolid);
  c.BrushCopy(RECT{0, 0, 4, 1}, &source, RECT{0, 0, 4, 1}, clRed);
  EXPECT_PICTURE(dc, 0, 0, {"ygyb....", "........"}, kLegend);
  // Nothing to copy, nothing drawn.
  c.BrushCopy(RECT{0, 0, 4, 1}, nullptr, RECT{0, 0, 4, 1}, clRed);
  TBitmap empty;
  c.BrushCopy(RECT{0, 1, 4, 2}, &empty, RECT{0, 0, 4, 1}, clRed);
  EXPECT_PICTURE(dc, 0, 0, {"ygyb....", "........"}, kLegend);
}

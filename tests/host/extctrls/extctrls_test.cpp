// Bevels, shapes, images, paint boxes and gauges painted on memory DCs and on the headless
// screen; timers on the virtual clock; a gallery picture of them all.
#include "host/extctrls/extctrls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "host/graphics/icon.h"
#include "host/graphics/pen.h"
#include "host/graphics/picture.h"
#include "platform/kernel/clock.h"
#include "platform/user/desktop.h"
#include "support/app.h"
#include "support/memdc.h"
#include "support/testdata.h"

namespace host {
namespace {

using testing_app::AppTest;
using testsupport::InkBox;
using testsupport::MemDC;

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
const std::map<char, COLORREF> kBevelLegend = {{'f', kFace}, {'s', kShadow}};

// Paints a windowless control into dc the way its parent would.
void PaintInto(TControl* control, const MemDC& dc) { control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.dc())); }

TEST(Bevel, BoxAndFrameLinesInShadowAndHighlight) {
  struct Case {
    TBevelShape shape;
    TBevelStyle style;
    std::vector<std::string> picture;
  };
  const Case cases[] = {
      {bsBox, bsLowered, {"sssss.", "sffff.", "sffff.", "sffff.", "s....."}},
      {bsBox, bsRaised, {".....s", ".ffffs", ".ffffs", ".ffffs", ".sssss"}},
      // Etched: the outer rectangle in shadow over the inner one in highlight, a pixel apart.
      {bsFrame, bsLowered, {"sssssf", "s...s.", "s.ffs.", "sssss.", "f....."}},
      {bsFrame, bsRaised, {".....f", ".sss.s", ".sff.s", ".....s", "fsssss"}},
      {bsTopLine, bsLowered, {"ssssss", "......", "ffffff", "ffffff", "ffffff"}},
      {bsBottomLine, bsRaised, {"ffffff", "ffffff", "ffffff", "......", "ssssss"}},
      {bsLeftLine, bsLowered, {"s.ffff", "s.ffff", "s.ffff", "s.ffff", "s.ffff"}},
      {bsRightLine, bsLowered, {"ffffs.", "ffffs.", "ffffs.", "ffffs.", "ffffs."}},
      {bsSpacer, bsLowered, {"ffffff", "ffffff", "ffffff", "ffffff", "ffffff"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(EnumTypeOf(c.shape).Name(c.shape)) + " " + EnumTypeOf(c.style).Name(c.style));
    TBevel bevel(nullptr);
    bevel.SetBounds(0, 0, 6, 5);
    bevel.SetShape(c.shape);
    bevel.SetStyle(c.style);
    MemDC dc(6, 5, kFace);
    PaintInto(&bevel, dc);
    EXPECT_PICTURE(dc, 0, 0, c.picture, kBevelLegend);
  }
}

TEST(Bevel, SpacerIsOutlinedOnlyWhileDesigning) {
  TBevel bevel(nullptr);
  bevel.SetBounds(0, 0, 20, 10);
  bevel.SetShape(bsSpacer);
  bevel.SetStateFlags({csDesigning});
  MemDC dc(20, 10, kFace);
  PaintInto(&bevel, dc);
  const RECT ink = InkBox(dc, kFace);
  EXPECT_EQ(ink.left, 0);
  EXPECT_EQ(ink.top, 0);
  EXPECT_EQ(ink.right, 20);
  EXPECT_EQ(ink.bottom, 10);
  EXPECT_EQ(dc.Px(10, 5), kFace);  // only the outline
}

TEST(Shape, FiguresStayInsideTheBoundsWhateverThePenWidth) {
  // Circles and squares take the shorter side and sit in the middle; the outline is pulled
  // in by half the pen so the ink fills exactly the figure's box.
  struct Case {
    TShapeType shape;
    int pen;
    RECT ink;
  };
  const Case cases[] = {
      {stRectangle, 1, {0, 0, 40, 20}}, {stRectangle, 4, {0, 0, 40, 20}}, {stRectangle, 5, {0, 0, 40, 20}},
      {stSquare, 1, {10, 0, 30, 20}},   {stSquare, 3, {10, 0, 30, 20}},   {stCircle, 1, {10, 0, 30, 20}},
      {stCircle, 5, {10, 0, 30, 20}},   {stEllipse, 3, {0, 0, 40, 20}},   {stRoundSquare, 1, {10, 0, 30, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(EnumTypeOf(c.shape).Name(c.shape)) + " pen " + std::to_string(c.pen));
    TShape shape(nullptr);
    shape.SetBounds(0, 0, 40, 20);
    shape.SetShape(c.shape);
    shape.Pen()->SetWidth(c.pen);
    shape.Brush()->SetColor(clRed);
    MemDC dc(40, 20);
    PaintInto(&shape, dc);
    const RECT ink = InkBox(dc);
    EXPECT_EQ(ink.left, c.ink.left);
    EXPECT_EQ(ink.top, c.ink.top);
    EXPECT_EQ(ink.right, c.ink.right);
    EXPECT_EQ(ink.bottom, c.ink.bottom);
    // The middle of the figure is the brush's.
    EXPECT_EQ(dc.Px((c.ink.left + c.ink.right) / 2, 10), RGB(255, 0, 0));
  }
}

TEST(Shape, CircleIsCentredAndRoundedCornersAreCut) {
  TShape shape(nullptr);
  shape.SetBounds(0, 0, 30, 50);
  shape.SetShape(stCircle);
  MemDC dc(30, 50);
  PaintInto(&shape, dc);
  // 30 across, centred vertically: rows 10..39.
  EXPECT_EQ(dc.Px(15, 10), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(15, 39), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(15, 9), RGB(255, 255, 255));
  EXPECT_EQ(dc.Px(15, 40), RGB(255, 255, 255));
  EXPECT_EQ(dc.Px(0, 25), RGB(0, 0, 0));
  EXPECT_EQ(dc.Px(1, 11), RGB(255, 255, 255));  // outside the curve near the corner

  shape.SetShape(stRoundRect);
  MemDC round(30, 50);
  PaintInto(&shape, round);
  EXPECT_EQ(round.Px(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(round.Px(0, 25), RGB(0, 0, 0));
  EXPECT_EQ(round.Px(15, 0), RGB(0, 0, 0));
}

TEST(Shape, PenAndBrushChangesAreStoredAndRepaint) {
  TShape shape(nullptr);
  shape.SetName("Shape1");
  shape.Pen()->SetColor(clBlue);
  shape.Brush()->SetStyle(bsClear);
  shape.SetShape(stEllipse);
  const std::string text = WriteComponentToText(&shape);
  EXPECT_NE(text.find("Pen.Color = clBlue"), std::string::npos) << text;
  EXPECT_NE(text.find("Brush.Style = bsClear"), std::string::npos) << text;
  EXPECT_NE(text.find("Shape = stEllipse"), std::string::npos) << text;
  TShape copy(nullptr);
  ReadComponentFromText(&copy, text, "shape.form");
  EXPECT_EQ(copy.Pen()->Color(), clBlue);
  EXPECT_EQ(copy.Brush()->Style(), bsClear);
  EXPECT_EQ(copy.Shape(), stEllipse);
}

// A 4x3 red bitmap with a blue bottom-left pixel.
void RedPicture(TPicture* picture) {
  TBitmap* b = picture->Bitmap();
  b->SetSize(4, 3);
  b->Canvas()->Brush()->SetColor(clRed);
  b->Canvas()->FillRect(RECT{0, 0, 4, 3});
  b->Canvas()->SetPixels(0, 2, clBlue);
}

TEST(Image, PlacesThePictureAtTheCornerCentredOrStretched) {
  TImage image(nullptr);
  image.SetBounds(0, 0, 10, 8);
  RedPicture(image.Picture());
  constexpr COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), white = RGB(255, 255, 255);
  {
    MemDC dc(10, 8);
    PaintInto(&image, dc);
    EXPECT_EQ(dc.Px(3, 0), red);
    EXPECT_EQ(dc.Px(0, 2), blue);
    EXPECT_EQ(dc.Px(4, 0), white);
    EXPECT_EQ(dc.Px(0, 3), white);
  }
  image.SetCenter(true);
  {
    MemDC dc(10, 8);
    PaintInto(&image, dc);
    const RECT ink = InkBox(dc);
    EXPECT_EQ(ink.left, 3);
    EXPECT_EQ(ink.top, 2);
    EXPECT_EQ(ink.right, 7);
    EXPECT_EQ(ink.bottom, 5);
  }
  image.SetStretch(true);  // wins over Center
  {
    MemDC dc(10, 8);
    PaintInto(&image, dc);
    EXPECT_EQ(dc.Px(9, 0), red);
    EXPECT_EQ(dc.Px(9, 7), red);
    EXPECT_EQ(dc.Px(0, 7), blue);
    EXPECT_EQ(dc.Px(2, 6), blue);  // the bottom-left pixel grown to 2.5 x 2.67
    EXPECT_EQ(dc.Px(3, 6), red);
    EXPECT_EQ(dc.Px(2, 5), red);
  }
  // Transparent leaves out the bitmap's bottom-left colour.
  image.SetTransparent(true);
  EXPECT_TRUE(image.Picture()->Graphic()->Transparent());
  {
    MemDC dc(10, 8, RGB(0, 255, 0));
    PaintInto(&image, dc);
    EXPECT_EQ(dc.Px(0, 7), RGB(0, 255, 0));
    EXPECT_EQ(dc.Px(9, 7), red);
  }
  // A new picture picks up the setting too.
  TPicture other;
  RedPicture(&other);
  image.SetPicture(&other);
  EXPECT_TRUE(image.Picture()->Graphic()->Transparent());
}

TEST(Image, AutoSizeFollowsThePicture) {
  TImage image(nullptr);
  image.SetBounds(5, 6, 50, 40);
  RedPicture(image.Picture());
  EXPECT_EQ(image.Width(), 50);
  image.SetAutoSize(true);
  EXPECT_EQ(image.BoundsRect().left, 5);
  EXPECT_EQ(image.Width(), 4);
  EXPECT_EQ(image.Height(), 3);
  image.Picture()->Bitmap()->SetSize(12, 9);
  EXPECT_EQ(image.Width(), 12);
  EXPECT_EQ(image.Height(), 9);
  // An empty picture leaves the size alone.
  image.Picture()->SetGraphic(nullptr);
  EXPECT_EQ(image.Width(), 12);
}

TEST(Image, CanvasMakesABitmapOfTheControlSizeAndRefusesIcons) {
  TImage image(nullptr);
  image.SetName("Image1");
  image.SetBounds(0, 0, 16, 12);
  TCanvas* canvas = image.Canvas();
  ASSERT_NE(dynamic_cast<TBitmap*>(image.Picture()->Graphic()), nullptr);
  EXPECT_EQ(image.Picture()->Width(), 16);
  EXPECT_EQ(image.Picture()->Height(), 12);
  canvas->Brush()->SetColor(clNavy);
  canvas->FillRect(RECT{0, 0, 8, 12});
  MemDC dc(16, 12);
  PaintInto(&image, dc);
  EXPECT_EQ(dc.Px(7, 11), RGB(0, 0, 128));
  EXPECT_EQ(dc.Px(8, 0), RGB(255, 255, 255));

  image.Picture()->Icon();
  try {
    image.Canvas();
    FAIL() << "an icon cannot be drawn on";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Image 'Image1' holds a TIcon: only a bitmap can be drawn on");
  }
}

TEST(PaintBox, OnPaintGetsTheCanvasWithColourAndFont) {
  TPaintBox box(nullptr);
  box.SetBounds(0, 0, 20, 10);
  box.SetColor(clYellow);
  box.Font()->SetColor(clRed);
  int painted = 0;
  box.OnPaint = [&](TObject* sender) {
    ++painted;
    EXPECT_EQ(sender, &box);
    TCanvas* c = box.Canvas();
    EXPECT_EQ(c->Font()->Color(), clRed);
    c->FillRect(RECT{0, 0, 5, 5});
  };
  MemDC dc(20, 10);
  PaintInto(&box, dc);
  EXPECT_EQ(painted, 1);
  EXPECT_EQ(dc.Px(4, 4), RGB(255, 255, 0));
  EXPECT_EQ(dc.Px(5, 5), RGB(255, 255, 255));
}

// Paints a gauge of the given size into a memory DC.
struct GaugeShot {
  explicit GaugeShot(TGauge& g) : dc(g.Width(), g.Height(), RGB(0, 255, 0)) { PaintInto(&g, dc); }
  int Count(int l, int t, int r, int b, COLORREF c) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += dc.Px(x, y) == c;
    return n;
  }
  MemDC dc;
};

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

TEST(Gauge, BarsFillTheirShareInsideTheFrame) {
  TGauge g(nullptr);
  g.SetShowText(false);
  g.SetBounds(0, 0, 102, 12);
  g.SetForeColor(clNavy);
  constexpr COLORREF navy = RGB(0, 0, 128);
  for (int progress : {0, 1, 37, 99, 100}) {
    SCOPED_TRACE(progress);
    g.SetProgress(progress);
    GaugeShot s(g);
    EXPECT_EQ(s.Count(0, 0, 102, 1, kBlack), 102);  // the frame
    EXPECT_EQ(s.Count(0, 11, 102, 12, kBlack), 102);
    EXPECT_EQ(s.Count(1, 1, 101, 11, navy), progress * 10);
    EXPECT_EQ(s.Count(1, 1, 1 + progress, 11, navy), progress * 10);  // from the left
  }
  g.SetKind(gkVerticalBar);
  g.SetBorderStyle(bsNone);
  g.SetBounds(0, 0, 8, 50);
  g.SetProgress(30);
  GaugeShot s(g);
  EXPECT_EQ(s.Count(0, 35, 8, 50, navy), 15 * 8);  // the bottom 30% of 50 rows
  EXPECT_EQ(s.Count(0, 0, 8, 35, kWhite), 35 * 8);
}

TEST(Gauge, TextIsInvertedWhereItCrossesTheFill) {
  TGauge g(nullptr);
  g.SetBounds(0, 0, 102, 22);
  g.SetProgress(50);  // "50%" straddles the edge of the fill at x = 51
  GaugeShot s(g);
  // Without the text the left half would be all black and the right half all white.
  const int white_on_fill = s.Count(1, 1, 51, 21, kWhite);
  const int black_on_back = s.Count(51, 1, 101, 21, kBlack);
  EXPECT_GT(white_on_fill, 5);
  EXPECT_GT(black_on_back, 5);
  // And the text sits in the middle: nothing near the ends.
  EXPECT_EQ(s.Count(1, 1, 30, 21, kWhite), 0);
  EXPECT_EQ(s.Count(72, 1, 101, 21, kBlack), 0);

  // All filled: the text is all white; nothing filled: all black.
  g.SetProgress(100);
  GaugeShot full(g);
  EXPECT_EQ(full.Count(1, 1, 101, 21, kBlack) + full.Count(1, 1, 101, 21, kWhite), 100 * 20);
  EXPECT_GT(full.Count(1, 1, 101, 21, kWhite), 5);
  g.SetKind(gkText);
  GaugeShot text(g);
  EXPECT_GT(text.Count(1, 1, 101, 21, kBlack), 5);
  EXPECT_EQ(text.Count(1, 1, 101, 21, kBlack), full.Count(1, 1, 101, 21, kWhite));  // same letters
}

TEST(Gauge, PieAndNeedleTurnWithTheProgress) {
  TGauge g(nullptr);
  g.SetShowText(false);
  g.SetBorderStyle(bsNone);
  g.SetColor(clSilver);
  g.SetKind(gkPie);
  g.SetBounds(0, 0, 41, 41);
  g.SetProgress(25);  // the top-right quarter
  GaugeShot pie(g);
  EXPECT_EQ(pie.dc.Px(28, 12), kBlack);
  EXPECT_EQ(pie.dc.Px(12, 12), kWhite);
  EXPECT_EQ(pie.dc.Px(28, 28), kWhite);
  EXPECT_EQ(pie.dc.Px(0, 0), RGB(192, 192, 192));  // the corners show the control's colour
  g.SetProgress(75);
  GaugeShot pie3(g);
  EXPECT_EQ(pie3.dc.Px(28, 28), kBlack);
  EXPECT_EQ(pie3.dc.Px(12, 28), kBlack);
  EXPECT_EQ(pie3.dc.Px(12, 12), kWhite);

  g.SetKind(gkNeedle);
  g.SetBounds(0, 0, 41, 21);
  g.SetProgress(0);
  GaugeShot left(g);
  g.SetProgress(50);
  GaugeShot up(g);
  EXPECT_EQ(up.dc.Px(20, 5), kBlack);  // straight up
  EXPECT_EQ(left.dc.Px(20, 5), kWhite);
  g.SetProgress(90);
  GaugeShot right(g);
  EXPECT_GE(right.Count(26, 13, 37, 20, kBlack), 8);  // low on the right
  EXPECT_EQ(up.Count(26, 13, 37, 20, kBlack), 0);
  EXPECT_EQ(right.dc.Px(20, 5), kWhite);
}

TEST(Gauge, RangeKeepsProgressInsideAndRefusesCrossedBounds) {
  TGauge g(nullptr);
  g.SetName("Gauge1");
  struct Case {
    int min, max, progress, percent;
  };
  const Case cases[] = {{0, 100, 50, 50}, {0, 100, 150, 100}, {0, 100, -5, 0},    {10, 20, 15, 50},
                        {-50, 50, 0, 50}, {0, 3, 2, 66},      {7, 7, 7, 0},       {INT32_MIN, INT32_MAX, -2, 49}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.min) + ".." + std::to_string(c.max));
    g.SetMinValue(INT32_MIN);
    g.SetMaxValue(c.max);
    g.SetMinValue(c.min);
    g.SetProgress(c.progress);
    EXPECT_EQ(g.PercentDone(), c.percent);
  }
  g.SetMinValue(0);
  g.SetMaxValue(100);
  g.SetProgress(90);
  g.AddProgress(30);
  EXPECT_EQ(g.Progress(), 100);
  g.AddProgress(INT32_MIN);
  EXPECT_EQ(g.Progress(), 0);
  g.SetProgress(80);
  g.SetMaxValue(60);
  EXPECT_EQ(g.Progress(), 60);

  auto message = [](auto&& f) {
    try {
      f();
    } catch (const EInvalidOperation& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { g.SetMinValue(61); }), "Gauge1.MinValue: 61 is above MaxValue (60)");
  EXPECT_EQ(message([&] { g.SetMaxValue(-1); }), "Gauge1.MaxValue: -1 is below MinValue (0)");
  EXPECT_EQ(message([&] { g.SetBorderStyle(bsDialog); }),
            "Gauge1.BorderStyle: a gauge has bsNone or bsSingle, not bsDialog");
  EXPECT_EQ(g.BorderStyle(), bsSingle);

  // A stored form may list the range in any order.
  TGauge read(nullptr);
  ReadComponentFromText(&read, "object G: TGauge\n  MinValue = 200\n  MaxValue = 300\n  Progress = 250\nend\n",
                        "gauge.form");
  EXPECT_EQ(read.MinValue(), 200);
  EXPECT_EQ(read.MaxValue(), 300);
  EXPECT_EQ(read.PercentDone(), 50);
}

// ---- Timer ----------------------------------------------------------------------------------

class TimerTest : public AppTest {};

TEST_F(TimerTest, FiresEveryIntervalWhileEnabled) {
  auto* timer = new TTimer(Application());
  int fired = 0;
  EXPECT_FALSE(timer->Active());  // no handler yet
  timer->SetInterval(100);
  timer->SetOnTimer([&](TObject* sender) {
    EXPECT_EQ(sender, timer);
    ++fired;
  });
  EXPECT_TRUE(timer->Active());
  for (int i = 0; i < 5; ++i) {
    kernel::AdvanceClock(100);
    desktop::Pump();
  }
  EXPECT_EQ(fired, 5);
  kernel::AdvanceClock(99);
  desktop::Pump();
  EXPECT_EQ(fired, 5);

  timer->SetEnabled(false);
  EXPECT_FALSE(timer->Active());
  for (int i = 0; i < 3; ++i) {
    kernel::AdvanceClock(100);
    desktop::Pump();
  }
  EXPECT_EQ(fired, 5);

  // Enabling again (or a new interval) starts the count from now.
  timer->SetEnabled(true);
  kernel::AdvanceClock(60);
  desktop::Pump();
  timer->SetInterval(200);
  kernel::AdvanceClock(60);
  desktop::Pump();
  EXPECT_EQ(fired, 5);
  kernel::AdvanceClock(140);
  desktop::Pump();
  EXPECT_EQ(fired, 6);

  timer->SetInterval(0);
  EXPECT_FALSE(timer->Active());
  kernel::AdvanceClock(1000);
  desktop::Pump();
  EXPECT_EQ(fired, 6);
  timer->Free();
}

TEST_F(TimerTest, NoTimerWhileDesigningAndNoneAfterFree) {
  auto* timer = new TTimer(Application());
  timer->SetStateFlags({csDesigning});
  int fired = 0;
  timer->SetOnTimer([&](TObject*) { ++fired; });
  EXPECT_FALSE(timer->Active());
  kernel::AdvanceClock(5000);
  desktop::Pump();
  EXPECT_EQ(fired, 0);
  timer->ClearStateFlags({csDesigning});
  timer->SetInterval(50);
  EXPECT_TRUE(timer->Active());
  timer->Free();
  kernel::AdvanceClock(5000);
  desktop::Pump();
  EXPECT_EQ(fired, 0);
}

TEST_F(TimerTest, HandlerExceptionsGoToTheApplication) {
  std::vector<std::string> errors;
  Application()->OnException = [&](TObject* sender, const std::exception& e) {
    errors.push_back(std::string(sender ? sender->ClassName() : "?") + ": " + e.what());
  };
  auto* timer = new TTimer(Application());
  timer->SetInterval(10);
  int fired = 0;
  timer->SetOnTimer([&](TObject*) {
    ++fired;
    throw EConvertError("'x' is not a valid integer value");
  });
  kernel::AdvanceClock(10);
  desktop::Pump();
  kernel::AdvanceClock(10);
  desktop::Pump();
  EXPECT_EQ(fired, 2);  // the timer keeps going
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "TTimer: 'x' is not a valid integer value");
  timer->Free();
}

// A form whose stored text holds a timer bound to a handler method.
class TTimerForm : public TForm {
  HOST_CLASS(TTimerForm)
  explicit TTimerForm(TComponent* owner) : TForm(owner) {}
  TTimer* Timer1 = nullptr;
  int ticks = 0;
  void Timer1Timer(TObject*) { ++ticks; }
};
HOST_PUBLISHED(TTimerForm, TForm) {
  HOST_FIELD(Timer1);
  HOST_METHOD(Timer1Timer);
}

TEST_F(TimerTest, ReadFromAFormItStartsOnceLoaded) {
  RegisterExtControls();
  auto* form = new TTimerForm(Application());
  ReadComponentFromText(form,
                        "object TimerForm: TTimerForm\n"
                        "  object Timer1: TTimer\n"
                        "    Interval = 250\n"
                        "    OnTimer = Timer1Timer\n"
                        "  end\n"
                        "end\n",
                        "timer.form");
  ASSERT_NE(form->Timer1, nullptr);
  EXPECT_TRUE(form->Timer1->Active());
  kernel::AdvanceClock(250);
  desktop::Pump();
  kernel::AdvanceClock(250);
  desktop::Pump();
  EXPECT_EQ(form->ticks, 2);
  const std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("Interval = 250"), std::string::npos) << text;
  EXPECT_EQ(text.find("Enabled"), std::string::npos) << text;
  form->Free();
}

// ---- On the screen ----------------------------------------------------------------------------

class ExtScreenTest : public AppTest {
 protected:
  TForm* NewForm(int w, int h) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetColor(clBtnFace);
    form->SetBounds(0, 0, w, h);
    return form;
  }
  template <class T>
  T* Add(TForm* form, int l, int t, int w, int h) {
    auto* c = new T(form);
    c->SetBounds(l, t, w, h);
    c->SetParent(form);
    return c;
  }
};

TEST_F(ExtScreenTest, ChangesRepaintOnTheScreen) {
  TForm* form = NewForm(200, 100);
  auto* shape = Add<TShape>(form, 10, 10, 40, 40);
  auto* gauge = Add<TGauge>(form, 60, 10, 102, 12);
  gauge->SetShowText(false);
  form->Show();
  EXPECT_EQ(ScreenPixel(30, 30), RGB(255, 255, 255));
  shape->Brush()->SetColor(clLime);
  EXPECT_EQ(ScreenPixel(30, 30), RGB(0, 255, 0));
  shape->Pen()->SetColor(clRed);
  EXPECT_EQ(ScreenPixel(10, 30), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(100, 15), RGB(255, 255, 255));
  gauge->SetProgress(60);
  EXPECT_EQ(ScreenPixel(100, 15), RGB(0, 0, 0));
  EXPECT_EQ(ScreenPixel(140, 15), RGB(255, 255, 255));
  form->Free();
}

TEST_F(ExtScreenTest, Gallery) {
  RegisterExtControls();
  TForm* form = NewForm(560, 330);
  const TBevelShape shapes[] = {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine};
  int x = 10;
  for (TBevelShape s : shapes) {
    for (TBevelStyle st : {bsLowered, bsRaised}) {
      auto* b = Add<TBevel>(form, x, st == bsLowered ? 10 : 60, 36, 36);
      b->SetShape(s);
      b->SetStyle(st);
    }
    x += 46;
  }
  const TShapeType figures[] = {stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle};
  x = 10;
  for (TShapeType f : figures) {
    auto* s = Add<TShape>(form, x, 110, 50, 36);
    s->SetShape(f);
    s->Brush()->SetColor(f % 2 ? clYellow : clAqua);
    s->Pen()->SetWidth(1 + f / 2);
    x += 58;
  }
  auto* image = Add<TImage>(form, 10, 160, 60, 60);
  TCanvas* ic = image->Canvas();
  ic->Brush()->SetColor(clTeal);
  ic->Ellipse(5, 5, 55, 55);
  ic->Font()->SetColor(clWhite);
  ic->Brush()->SetStyle(bsClear);
  ic->TextOut(14, 22, "Pict");
  auto* stretched = Add<TImage>(form, 80, 160, 80, 40);
  RedPicture(stretched->Picture());
  stretched->SetStretch(true);
  auto* box = Add<TPaintBox>(form, 170, 160, 90, 60);
  box->SetColor(clWhite);
  box->OnPaint = [box](TObject*) {
    TCanvas* c = box->Canvas();
    c->FillRect(RECT{0, 0, box->Width(), box->Height()});
    c->Pen()->SetColor(clBlue);
    for (int i = 0; i < 90; i += 10) {
      c->MoveTo(i, 0);
      c->LineTo(90 - i, 59);
    }
    c->TextOut(4, 4, "Paint");
  };
  struct GaugeSpot {
    TGaugeKind kind;
    int progress;
    RECT bounds;
  };
  const GaugeSpot gauges[] = {{gkHorizontalBar, 50, {270, 160, 420, 182}},
                              {gkText, 33, {270, 190, 420, 212}},
                              {gkVerticalBar, 70, {270, 220, 310, 300}},
                              {gkPie, 62, {320, 220, 400, 300}},
                              {gkNeedle, 80, {410, 230, 530, 300}}};
  for (const GaugeSpot& spot : gauges) {
    auto* g = Add<TGauge>(form, spot.bounds.left, spot.bounds.top, spot.bounds.right - spot.bounds.left,
                          spot.bounds.bottom - spot.bounds.top);
    g->SetKind(spot.kind);
    g->SetProgress(spot.progress);
    if (spot.kind == gkPie) g->SetForeColor(clNavy);
  }
  auto* coloured = Add<TGauge>(form, 430, 160, 120, 22);
  coloured->SetForeColor(clNavy);
  coloured->SetBackColor(clBtnFace);
  coloured->SetProgress(25);
  auto* flat = Add<TGauge>(form, 430, 190, 120, 22);
  flat->SetBorderStyle(bsNone);
  flat->SetProgress(90);
  form->Show();
  desktop::Pump();
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveScreen((dir / "extctrls.png").string(), &error)) << error;
  form->Free();
}

}  // namespace
}  // namespace host

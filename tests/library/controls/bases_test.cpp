// Control bases: bounds news, transparency and its repaint paths, the design-time outline,
// bevel panels aligning their children inside the frame, the caption panel's paint order and
// its rule that rotated text uses an outline font.
#include "library/controls/bases.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/forms/forms.h"
#include "host/graphics/font.h"
#include "host/stdctrls/stdctrls.h"
#include "library/foundation/application.h"
#include "platform/win32.h"
#include "support/app.h"
#include "support/memdc.h"

namespace zyr {
namespace {

using testsupport::MemDC;

class ControlBasesTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    InitLibrary();
  }
  void TearDown() override {
    DoneLibrary();
    AppTest::TearDown();
  }
  host::TForm* NewForm(int w = 300, int h = 200) {
    auto* form = host::New<host::TForm>(host::Application());
    form->SetBorderStyle(host::bsNone);
    form->SetBounds(10, 10, w, h);
    return form;
  }
};

// Counts its paints and can be made opaque the way opaque descendants are.
class TCountingControl : public TZYRGraphicControl {
 public:
  explicit TCountingControl(TComponent* owner) : TZYRGraphicControl(owner) {}
  void Opaque() { MakeOpaque(); }
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TZYRGraphicControl::Paint();
  }
};

TEST(ControlBases, AlignmentMapsToDrawTextFlagsInOrder) {
  const uint16_t expected[] = {DT_LEFT,
                               DT_CENTER,
                               DT_RIGHT,
                               DT_VCENTER,
                               DT_VCENTER | DT_CENTER,
                               DT_VCENTER | DT_RIGHT,
                               DT_BOTTOM,
                               DT_BOTTOM | DT_CENTER,
                               DT_BOTTOM | DT_RIGHT};
  for (int a = agTopLeft; a <= agBottomRight; ++a) {
    EXPECT_EQ(AlignmentFormat(static_cast<TZYRAlignment>(a)), expected[a]) << "alignment " << a;
  }
  EXPECT_EQ(sizeof(TZYRAlignment), 1u);
}

TEST(ControlBases, BoundsChangedReportsMoveResizeOrNothing) {
  TZYRGraphicControl c(nullptr);
  EXPECT_EQ(c.Width(), 30);
  EXPECT_EQ(c.Height(), 30);
  std::vector<int> seen;
  c.OnBoundsChanged = [&](TObject* sender, TZYRBoundsFlags flags) {
    EXPECT_EQ(sender, &c);
    seen.push_back(flags.ToBits());
  };
  struct Case {
    int l, t, w, h;
    int expected;  // -1: no news
  } cases[] = {
      {5, 0, 30, 30, 2},     // moved
      {5, 0, 40, 30, 1},     // resized in place
      {5, 0, 40, 30, -1},    // nothing changed
      {0, 7, 10, 10, 3},     // both
      {0, 7, -4, 10, 1},     // a negative width is stored as 0: a real change
      {0, 7, -9, 10, -1},    // and again 0: none
  };
  for (const Case& k : cases) {
    seen.clear();
    c.SetBounds(k.l, k.t, k.w, k.h);
    if (k.expected < 0) {
      EXPECT_TRUE(seen.empty()) << k.l << "," << k.t << "," << k.w << "," << k.h;
    } else {
      ASSERT_EQ(seen.size(), 1u) << k.l << "," << k.t << "," << k.w << "," << k.h;
      EXPECT_EQ(seen[0], k.expected);
    }
  }
  // Not while loading.
  seen.clear();
  c.SetStateFlags({host::csLoading});
  c.SetBounds(50, 50, 50, 50);
  c.ClearStateFlags({host::csLoading});
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(c.Left(), 50);
}

TEST(ControlBases, StartsTransparentAndOpaqueDescendantsAddOpaqueStyle) {
  TCountingControl c(nullptr);
  EXPECT_TRUE(c.Transparent());
  EXPECT_FALSE(c.ControlStyle().Contains(host::csOpaque));
  c.Opaque();
  EXPECT_FALSE(c.Transparent());
  EXPECT_TRUE(c.ControlStyle().Contains(host::csOpaque));
  EXPECT_EQ(c.paints, 0);
  c.SetTransparent(true);
  EXPECT_FALSE(c.ControlStyle().Contains(host::csOpaque));
}

TEST_F(ControlBasesTest, OpaquePaintsAtOnceTransparentWaitsForTheParent) {
  host::TForm* form = NewForm();
  auto* c = new TCountingControl(form);
  c->SetParent(form);
  c->SetBounds(10, 10, 40, 20);
  form->Show();
  desktop::Pump();

  c->paints = 0;
  c->SetTransparent(false);
  EXPECT_TRUE(c->ControlStyle().Contains(host::csOpaque));
  EXPECT_EQ(c->paints, 1) << "turning opaque paints at once";
  // A sub-object's news repaints an opaque control at once too.
  c->Bevel()->SetStyleOuter(bvRaised);
  EXPECT_EQ(c->paints, 2);

  c->paints = 0;
  c->SetTransparent(true);
  EXPECT_EQ(c->paints, 0) << "transparent: the parent paints the background first";
  desktop::Pump();
  EXPECT_GE(c->paints, 1);
  c->paints = 0;
  c->Bevel()->SetStyleOuter(bvLowered);
  EXPECT_EQ(c->paints, 0);
  desktop::Pump();
  EXPECT_GE(c->paints, 1);

  // Designing: never at once.
  c->SetStateFlags({host::csDesigning});
  c->paints = 0;
  c->SetTransparent(false);
  EXPECT_EQ(c->paints, 0);
  c->ClearStateFlags({host::csDesigning});
  // Hidden: nothing is drawn over the parent.
  c->SetTransparent(true);
  c->Hide();
  desktop::Pump();
  c->paints = 0;
  c->SetTransparent(false);
  EXPECT_EQ(c->paints, 0);
}

TEST(ControlBases, DesignTimeOutlineOnlyWhileDesigningAndWithoutFrame) {
  TZYRGraphicControl c(nullptr);
  c.SetBounds(0, 0, 30, 10);
  MemDC run(30, 10);
  c.Perform(WM_PAINT, reinterpret_cast<WPARAM>(run.dc()));
  EXPECT_LT(testsupport::InkBox(run).right, testsupport::InkBox(run).left) << "nothing at run time";

  c.SetStateFlags({host::csDesigning});
  MemDC design(30, 10);
  c.Perform(WM_PAINT, reinterpret_cast<WPARAM>(design.dc()));
  int black = 0, gaps = 0;
  for (int x = 0; x < 30; ++x) (design.Px(x, 0) == RGB(0, 0, 0) ? black : gaps)++;
  EXPECT_GT(black, 10);
  EXPECT_GT(gaps, 0) << "dashed, not solid";
  EXPECT_EQ(design.Px(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(design.Px(15, 5), RGB(255, 255, 255)) << "no fill";

  // With a frame the frame is drawn instead of the outline.
  c.Bevel()->SetStyleOuter(bvLowered);
  MemDC framed(30, 10);
  c.Perform(WM_PAINT, reinterpret_cast<WPARAM>(framed.dc()));
  EXPECT_EQ(framed.Px(0, 0), host::ColorToRGB(host::clBtnShadow));
  EXPECT_EQ(framed.Px(29, 9), host::ColorToRGB(host::clBtnHighlight));
}

TEST_F(ControlBasesTest, WindowedBasesStartAsDeclared) {
  host::TForm* form = NewForm();
  auto* control = new TZYRCustomControl(form);
  EXPECT_EQ(control->Width(), 100);
  EXPECT_EQ(control->Height(), 40);
  auto* panel = new TZYRCustomPanel(form);
  const host::TControlStyle panel_style{host::csAcceptsControls, host::csCaptureMouse, host::csClickEvents,
                                        host::csOpaque, host::csDoubleClicks, host::csReplicatable};
  EXPECT_EQ(panel->ControlStyle(), panel_style);
  EXPECT_EQ(panel->Color(), host::clBtnFace);
  EXPECT_FALSE(panel->ParentColor());
  EXPECT_FALSE(panel->Locked());
  auto* ext = new TZYRCustomExtPanel(form);
  host::TControlStyle ext_style = panel_style;
  ext_style.Include(host::csSetCaption);
  EXPECT_EQ(ext->ControlStyle(), ext_style);
  EXPECT_EQ(ext->Alignment(), agCenter);
  EXPECT_EQ(ext->FontFx()->Angle(), 0);
  control->SetAbout("0123456789abc");
  EXPECT_EQ(control->About(), "0123456789");
}

TEST_F(ControlBasesTest, PanelResizeEventOnlyForANewSize) {
  host::TForm* form = NewForm();
  auto* panel = new TZYRCustomPanel(form);
  panel->SetParent(form);
  int resizes = 0;
  panel->OnResize = [&](TObject* sender) {
    EXPECT_EQ(sender, panel);
    ++resizes;
  };
  panel->SetBounds(20, 20, 100, 40);  // moved only
  EXPECT_EQ(resizes, 0);
  panel->SetBounds(20, 20, 120, 40);
  EXPECT_EQ(resizes, 1);
  panel->SetBounds(30, 30, 120, 50);
  EXPECT_EQ(resizes, 2);
}

TEST_F(ControlBasesTest, BevelChangeRealignsClientChildrenInsideTheFrame) {
  host::TForm* form = NewForm();
  auto* panel = new TZYRCustomBevelPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 120, 80);
  auto* child = new host::TPanel(form);
  child->SetParent(panel);
  child->SetAlign(host::alClient);
  form->Show();
  desktop::Pump();
  EXPECT_EQ(child->BoundsRect(), (RECT{0, 0, 120, 80}));

  panel->Bevel()->SetStyleOuter(bvRaised);
  panel->Bevel()->SetWidthOuter(3);
  const int e = panel->Bevel()->BevelExtent();
  ASSERT_GT(e, 0);
  EXPECT_EQ(child->BoundsRect(), (RECT{e, e, 120 - e, 80 - e}));
  panel->Bevel()->SetBorderWidth(4);
  const int e2 = panel->Bevel()->BevelExtent();
  ASSERT_GT(e2, e);
  EXPECT_EQ(child->BoundsRect(), (RECT{e2, e2, 120 - e2, 80 - e2}));
  // Assigning a whole bevel reports once and realigns as well.
  TZYRBevel none;
  panel->SetBevel(&none);
  EXPECT_EQ(child->BoundsRect(), (RECT{0, 0, 120, 80}));
}

TEST_F(ControlBasesTest, CaptionPanelPaintsBackgroundThenBevelThenCaptionInside) {
  host::TForm* form = NewForm();
  auto* panel = new TZYRCustomExtPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 80, 40);
  panel->SetColor(host::clYellow);
  panel->Font()->SetName("Arial");
  panel->Font()->SetColor(host::clBlack);
  panel->SetCaption("II");
  panel->Bevel()->SetStyleOuter(bvRaised);
  form->Show();
  desktop::Pump();
  MemDC dc(80, 40);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.dc()));
  EXPECT_EQ(dc.Px(0, 0), host::ColorToRGB(host::clBtnHighlight));
  EXPECT_EQ(dc.Px(79, 39), host::ColorToRGB(host::clBtnShadow));
  EXPECT_EQ(dc.Px(3, 3), RGB(255, 255, 0));
  // The frame and the caption: the caption's ink sits centred inside.
  int first = -1, last = -1;
  for (int x = 1; x < 79; ++x) {
    for (int y = 1; y < 39; ++y) {
      if (dc.Px(x, y) != RGB(255, 255, 0)) {
        if (first < 0) first = x;
        last = x;
      }
    }
  }
  ASSERT_GE(first, 0) << "caption drawn";
  EXPECT_NEAR((first + last) / 2.0, 40, 2);

  // Top-left alignment: the caption starts just inside the frame.
  panel->SetAlignment(agTopLeft);
  MemDC left(80, 40);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(left.dc()));
  int x0 = -1;
  for (int x = 1; x < 79 && x0 < 0; ++x) {
    for (int y = 1; y < 39; ++y) {
      if (left.Px(x, y) != RGB(255, 255, 0)) {
        x0 = x;
        break;
      }
    }
  }
  EXPECT_GE(x0, 1);
  EXPECT_LE(x0, 4);
}

TEST_F(ControlBasesTest, RotatedCaptionTakesAnOutlineFontAndARasterFontStopsTheRotation) {
  host::TForm* form = NewForm();
  auto* panel = new TZYRCustomExtPanel(form);
  panel->SetParent(form);
  panel->Font()->SetName("MS Sans Serif");
  ASSERT_FALSE(IsTrueTypeFont("MS Sans Serif"));
  panel->FontFx()->SetAngle(45);
  EXPECT_EQ(panel->Font()->Name(), "Arial");
  EXPECT_EQ(panel->FontFx()->Angle(), 45);
  panel->Font()->SetName("MS Sans Serif");
  EXPECT_EQ(panel->FontFx()->Angle(), 0);
  EXPECT_EQ(panel->Font()->Name(), "MS Sans Serif");
  // Outline fonts keep the rotation either way.
  panel->Font()->SetName("Times New Roman");
  panel->FontFx()->SetAngle(30);
  panel->Font()->SetName("Courier New");
  EXPECT_EQ(panel->FontFx()->Angle(), 30);
  EXPECT_EQ(panel->Font()->Name(), "Courier New");
  EXPECT_FALSE(panel->ParentFont());
}

TEST_F(ControlBasesTest, CaptionPanelKeepsTakingTheParentFont) {
  host::TForm* form = NewForm();
  auto* panel = new TZYRCustomExtPanel(form);
  panel->SetParent(form);
  ASSERT_TRUE(panel->ParentFont());
  form->Font()->SetSize(14);
  EXPECT_EQ(panel->Font()->Size(), 14);
  EXPECT_TRUE(panel->ParentFont());
  form->Font()->SetSize(9);
  EXPECT_EQ(panel->Font()->Size(), 9);
}

}  // namespace
}  // namespace zyr

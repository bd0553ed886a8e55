// Labels: declared defaults, sizing to the text, multi-line placement, the outline-font rule
// of rotated captions, bevels, accelerators, hyperlinks through the shell, the paint guard and
// a gallery picture of every kind.
#include "library/controls/labels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/typinfo.h"
#include "host/forms/forms.h"
#include "host/graphics/font.h"
#include "host/stdctrls/edits.h"
#include "library/controls/controls.h"
#include "library/foundation/application.h"
#include "platform/shell/opener.h"
#include "platform/win32.h"
#include "support/app.h"
#include "support/memdc.h"

namespace zyr {
namespace {

using testsupport::InkBox;
using testsupport::MemDC;

constexpr COLORREF kWhite = RGB(255, 255, 255);

class LabelsTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    InitLibrary();
    RegisterControlClasses();
  }
  void TearDown() override {
    shell::SetLaunchHook(nullptr);
    DoneLibrary();
    AppTest::TearDown();
  }
  host::TForm* NewForm(int w = 300, int h = 200) {
    auto* form = host::New<host::TForm>(host::Application());
    form->SetBorderStyle(host::bsNone);
    form->SetBounds(10, 10, w, h);
    return form;
  }
  template <class T>
  T* Make(host::TWinControl* parent, int x, int y, const std::string& caption = "") {
    auto* label = new T(parent);
    label->SetParent(parent);
    label->SetBounds(x, y, label->Width(), label->Height());
    label->Font()->SetName("Arial");
    label->Font()->SetColor(host::clBlack);
    label->SetCaption(caption);
    return label;
  }
  static void Paint(host::TControl* c, MemDC& dc) { c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.dc())); }
  static bool Empty(const RECT& r) { return r.right < r.left; }
};

// Counts background fills (one per paint that gets that far) and can leave them out.
class TProbeLabel : public TZYRLabel {
 public:
  explicit TProbeLabel(TComponent* owner) : TZYRLabel(owner) {}
  int fills = 0;
  bool skip_fill = false;
  bool BandsTransparent() const { return BorderBandsTransparent(); }

 protected:
  void FillBackground() override {
    ++fills;
    if (!skip_fill) TZYRLabel::FillBackground();
  }
};

// ---- Defaults and stored form -------------------------------------------------------------

TEST_F(LabelsTest, PublishedPropertiesCarryTheirDeclaredDefaults) {
  struct Expect {
    host::TClass cls;
    const char* name;
    int64_t value;
  };
  const Expect table[] = {
      {TZYRSimpleLabel::StaticClass(), "Alignment", agTopLeft},
      {TZYRSimpleLabel::StaticClass(), "AutoSize", 1},
      {TZYRSimpleLabel::StaticClass(), "MultiLine", 0},
      {TZYRSimpleLabel::StaticClass(), "ShowAccelChar", 1},
      {TZYRSimpleLabel::StaticClass(), "Transparent", 1},
      {TZYRSimpleLabel::StaticClass(), "ParentColor", 1},
      {TZYRSimpleLabel::StaticClass(), "Color", host::clWindow},
      {TZYRSimpleLabel::StaticClass(), "UseAsJump", 0},
      {TZYRSimpleLabel::StaticClass(), "ActiveColor", 0x00800080},
      {TZYRSimpleLabel::StaticClass(), "InActiveColor", host::clBlue},
      {TZYRSimpleLabel::StaticClass(), "JumpUnderline", 1},
      {TZYRLabel::StaticClass(), "Alignment", agTopLeft},
      {TZYRLabel::StaticClass(), "AutoSize", 1},
      {TZYRLabel::StaticClass(), "Transparent", 1},
      {TZYRLabel::StaticClass(), "Color", host::clWindow},
  };
  host::TForm* form = NewForm();
  auto* simple = new TZYRSimpleLabel(form);
  auto* label = new TZYRLabel(form);
  for (const Expect& e : table) {
    const host::PropInfo* p = e.cls->FindProperty(e.name);
    ASSERT_NE(p, nullptr) << e.cls->Name() << "." << e.name;
    EXPECT_TRUE(p->has_default) << e.name;
    EXPECT_EQ(p->default_ordinal, e.value) << e.cls->Name() << "." << e.name;
    const TObject* fresh = e.cls == TZYRLabel::StaticClass() ? static_cast<TObject*>(label) : simple;
    EXPECT_EQ(p->get_ordinal(fresh), e.value) << "a new " << e.cls->Name() << " holds its " << e.name << " default";
  }
  for (const char* name : {"About", "Caption", "Font", "FocusControl", "Enabled", "Visible", "OnClick", "Font3D",
                           "Jump", "ParentFont", "ShowHint", "ParentShowHint", "PopupMenu", "DragMode"}) {
    EXPECT_NE(TZYRSimpleLabel::StaticClass()->FindProperty(name), nullptr) << name;
  }
  EXPECT_NE(TZYRLabel::StaticClass()->FindProperty("Bevel"), nullptr);
  EXPECT_NE(TZYRLabel::StaticClass()->FindProperty("FontFx"), nullptr);
  EXPECT_EQ(TZYRLabel::StaticClass()->FindProperty("UseAsJump"), nullptr);
  EXPECT_EQ(TZYRLabel::StaticClass()->FindProperty("OnBoundsChanged"), nullptr);
  EXPECT_EQ(host::GetClass("TZYRLabel"), TZYRLabel::StaticClass());
  EXPECT_EQ(host::GetClass("TZYRSimpleLabel"), TZYRSimpleLabel::StaticClass());
}

TEST_F(LabelsTest, ReadFormSizesTheLabelOnceLoadedAndWritesItBack) {
  host::TForm* form = NewForm();
  host::ReadComponentFromText(form,
                              "object F: TForm\n"
                              "  object L1: TZYRLabel\n"
                              "    Left = 4\n"
                              "    Top = 6\n"
                              "    Width = 3\n"
                              "    Height = 3\n"
                              "    Caption = 'Read from a form'\n"
                              "    Font.Name = 'Arial'\n"
                              "    FontFx.Style = tdRaised\n"
                              "    Bevel.StyleOuter = bvLowered\n"
                              "  end\n"
                              "end\n",
                              "labels.form");
  auto* label = dynamic_cast<TZYRLabel*>(form->FindComponent("L1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Left(), 4);
  EXPECT_EQ(label->Top(), 6);
  EXPECT_GT(label->Width(), 60) << "sized to the text in Loaded";
  EXPECT_EQ(label->FontFx()->Style(), tdRaised);
  EXPECT_EQ(label->Bevel()->StyleOuter(), bvLowered);
  const std::string text = host::WriteComponentToText(form);
  EXPECT_NE(text.find("FontFx.Style = tdRaised"), std::string::npos) << text;
  EXPECT_EQ(text.find("AutoSize"), std::string::npos) << "defaults are not written:\n" << text;
  EXPECT_EQ(text.find("Transparent"), std::string::npos) << text;
}

// ---- Size and placement -------------------------------------------------------------------

TEST_F(LabelsTest, AutoSizedEmptyLabelKeepsOneLineOfHeight) {
  host::TForm* form = NewForm();
  auto* simple = Make<TZYRSimpleLabel>(form, 0, 0, "Wg");
  auto* label = Make<TZYRLabel>(form, 0, 40, "Wg");
  const int line_simple = simple->Height();
  const int line_label = label->Height();
  EXPECT_GT(line_simple, 10);
  simple->SetCaption("");
  label->SetCaption("");
  EXPECT_EQ(simple->Height(), line_simple);
  EXPECT_EQ(label->Height(), line_label);
  EXPECT_LT(simple->Width(), 10) << "one blank wide";
  // "&" alone shows nothing but keeps the line too.
  simple->SetCaption("&");
  EXPECT_EQ(simple->Height(), line_simple);
  // The bevel adds its extent on every side.
  label->SetCaption("Wg");
  const int w = label->Width();
  label->Bevel()->SetBorderWidth(5);
  EXPECT_EQ(label->Width(), w + 10);
  EXPECT_EQ(label->Height(), line_label + 10);
  // Turning AutoSize off keeps the size; the text no longer resizes.
  label->SetAutoSize(false);
  label->SetCaption("A much longer caption");
  EXPECT_EQ(label->Width(), w + 10);
  label->SetAutoSize(true);
  EXPECT_GT(label->Width(), w + 40);
  // Effects make room for their copies.
  simple->SetCaption("Wg");
  const int plain = simple->Width();
  simple->Font3D()->SetStyle(tdRaisedShadow);
  simple->Font3D()->SetShadowDepth(3);
  EXPECT_EQ(simple->Width(), plain + 4);
  EXPECT_EQ(simple->Height(), line_simple + 4);
}

TEST_F(LabelsTest, MultiLineBottomCentreDrawsTheWholeBlockAtTheBottom) {
  host::TForm* form = NewForm();
  auto* probe = Make<TZYRSimpleLabel>(form, 0, 100, "Wg");
  const int line = probe->Height() - 2;
  auto* simple = Make<TZYRSimpleLabel>(form, 0, 0, "ab\r\nabcdefghij");
  auto* label = Make<TZYRLabel>(form, 0, 0, "ab\r\nabcdefghij");
  for (TZYRBaseLabel* l : {static_cast<TZYRBaseLabel*>(simple), static_cast<TZYRBaseLabel*>(label)}) {
    SCOPED_TRACE(l->ClassName());
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 120, 80);
    l->SetMultiLine(true);
    l->SetAlignment(agBottomCenter);
    MemDC dc(120, 80);
    Paint(l, dc);
    const RECT ink = InkBox(dc);
    ASSERT_FALSE(Empty(ink));
    // Both lines sit at the bottom: the block's top is two lines up, not at the top.
    EXPECT_GE(ink.bottom, 80 - 2 - line / 2);
    EXPECT_LE(ink.bottom, 80);
    EXPECT_GE(ink.top, 80 - 2 - 2 * line - 1);
    EXPECT_LE(ink.top, 80 - line);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 60, 3);
    // The short first line is centred on its own.
    MemDC first(120, 80);
    Paint(l, first);
    int lo = 120, hi = -1;
    for (int y = ink.top; y < ink.top + line / 2; ++y) {
      for (int x = 0; x < 120; ++x) {
        if (first.Px(x, y) != kWhite) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
      }
    }
    ASSERT_GE(hi, lo);
    EXPECT_NEAR((lo + hi) / 2.0, 60, 3);
    EXPECT_LT(hi - lo, ink.right - ink.left - 10);
  }
  // One line: the platform places it; centre-right lands right and in the middle.
  simple->SetMultiLine(false);
  simple->SetCaption("x");
  simple->SetAlignment(agCenterRight);
  MemDC one(120, 80);
  Paint(simple, one);
  const RECT ink = InkBox(one);
  EXPECT_GE(ink.right, 114);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 40, 3);
}

TEST_F(LabelsTest, RotatedLabelTakesAnOutlineFontAndARasterFontStopsTheRotation) {
  host::TForm* form = NewForm();
  auto* label = Make<TZYRLabel>(form, 0, 0, "Rotated");
  label->Font()->SetName("MS Sans Serif");
  const int w = label->Width();
  const int h = label->Height();
  label->FontFx()->SetAngle(45);
  EXPECT_EQ(label->Font()->Name(), "Arial");
  EXPECT_EQ(label->FontFx()->Angle(), 45);
  label->FontFx()->SetAngle(90);
  // Upright text is wide and flat; at 90 degrees the box stands.
  EXPECT_GT(w, h);
  EXPECT_GT(label->Height(), label->Width());
  EXPECT_GT(label->FontFx()->PosY(), 0) << "measuring placed the text in its box";
  label->Font()->SetName("MS Sans Serif");
  EXPECT_EQ(label->FontFx()->Angle(), 0);
  EXPECT_EQ(label->Font()->Name(), "MS Sans Serif");
  EXPECT_GT(label->Width(), label->Height());
  // Outline fonts keep both.
  label->Font()->SetName("Times New Roman");
  label->FontFx()->SetAngle(30);
  label->Font()->SetName("Courier New");
  EXPECT_EQ(label->FontFx()->Angle(), 30);
  EXPECT_EQ(label->Font()->Name(), "Courier New");
}

TEST_F(LabelsTest, LabelsKeepTakingTheParentFont) {
  host::TForm* form = NewForm();
  auto* label = new TZYRLabel(form);
  label->SetParent(form);
  label->SetCaption("Parent");
  ASSERT_TRUE(label->ParentFont());
  const int h = label->Height();
  form->Font()->SetSize(16);
  EXPECT_EQ(label->Font()->Size(), 16);
  EXPECT_TRUE(label->ParentFont()) << "a parent's font stays the parent's";
  EXPECT_GT(label->Height(), h) << "and resizes the label";
  label->Font()->SetSize(8);
  EXPECT_FALSE(label->ParentFont());
}

// ---- Painting -----------------------------------------------------------------------------

TEST_F(LabelsTest, BorderBandsAreLeftOutWhenTheyWouldRepeatTheLabelColour) {
  host::TForm* form = NewForm();
  auto* label = new TProbeLabel(form);
  label->SetParent(form);
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 20, 12);
  label->SetCaption(" ");
  label->SetTransparent(false);
  label->SetColor(host::clRed);
  label->Bevel()->SetBorderWidth(3);
  label->Bevel()->SetBorderColor(host::clLime);
  // The background is left out so that only the bands can colour the frame.
  label->skip_fill = true;
  MemDC painted(20, 12);
  Paint(label, painted);
  EXPECT_FALSE(label->BandsTransparent());
  EXPECT_EQ(painted.Px(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(painted.Px(2, 6), RGB(0, 255, 0));

  label->Bevel()->SetBorderColor(host::clRed);
  EXPECT_TRUE(label->BandsTransparent());
  MemDC skipped(20, 12);
  Paint(label, skipped);
  EXPECT_EQ(skipped.Px(0, 0), kWhite);
  EXPECT_EQ(skipped.Px(2, 6), kWhite);
  // Compared as colours: a system colour matches its value.
  label->SetColor(host::clBtnFace);
  label->Bevel()->SetBorderColor(static_cast<host::TColor>(host::ColorToRGB(host::clBtnFace)));
  EXPECT_TRUE(label->BandsTransparent());

  // A transparent label paints no band over what lies beneath.
  label->skip_fill = false;
  label->SetTransparent(true);
  label->Bevel()->SetBorderColor(host::clLime);
  MemDC beneath(20, 12, RGB(0, 0, 255));
  Paint(label, beneath);
  EXPECT_EQ(beneath.Px(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(beneath.Px(10, 6), RGB(0, 0, 255));
}

TEST_F(LabelsTest, PaintIsNotReenteredWhenMeasuringMovesTheText) {
  host::TForm* form = NewForm();
  auto* label = new TProbeLabel(form);
  label->SetParent(form);
  label->Font()->SetName("Arial");
  label->SetCaption("Upwards");
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 60, 80);
  label->SetAlignment(agCenter);
  label->SetTransparent(false);
  label->FontFx()->SetAngle(90);
  form->Show();
  desktop::Pump();
  // Measuring in Paint sets the text position through the setters; the news comes back to
  // the label, which as an opaque control would paint at once.
  label->FontFx()->SetPos(0, 0);
  label->fills = 0;
  MemDC dc(60, 80);
  Paint(label, dc);
  EXPECT_EQ(label->fills, 1);
  EXPECT_NE(label->FontFx()->PosY(), 0);
  EXPECT_FALSE(Empty(InkBox(dc)));
}

TEST_F(LabelsTest, EmptyLabelsShowADashedOutlineOnlyWhileDesigning) {
  host::TForm* form = NewForm();
  auto* label = Make<TZYRLabel>(form, 0, 0, "   ");
  auto* simple = Make<TZYRSimpleLabel>(form, 0, 0, "");
  label->SetAutoSize(false);
  simple->SetAutoSize(false);
  label->SetBounds(0, 0, 30, 12);
  simple->SetBounds(0, 0, 30, 12);
  for (host::TControl* c : {static_cast<host::TControl*>(label), static_cast<host::TControl*>(simple)}) {
    SCOPED_TRACE(c->ClassName());
    MemDC run(30, 12);
    Paint(c, run);
    EXPECT_TRUE(Empty(InkBox(run)));
    c->SetStateFlags({host::csDesigning});
    MemDC design(30, 12);
    Paint(c, design);
    EXPECT_EQ(design.Px(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(design.Px(0, 6), RGB(0, 0, 0));
    EXPECT_EQ(design.Px(15, 6), kWhite);
    c->ClearStateFlags({host::csDesigning});
  }
  // Something to show: no outline even while designing.
  label->SetCaption("Text");
  label->SetStateFlags({host::csDesigning});
  MemDC text(30, 12);
  Paint(label, text);
  EXPECT_NE(text.Px(0, 6), RGB(0, 0, 0));
}

TEST_F(LabelsTest, DisabledLabelDrawsGreyText) {
  host::TForm* form = NewForm();
  auto* simple = Make<TZYRSimpleLabel>(form, 0, 0, "IIII");
  simple->Font()->SetStyle({host::fsBold});
  simple->SetEnabled(false);
  MemDC dc(simple->Width(), simple->Height());
  Paint(simple, dc);
  bool grey = false;
  for (int y = 0; y < dc.height(); ++y) {
    for (int x = 0; x < dc.width(); ++x) grey |= dc.Px(x, y) == host::ColorToRGB(host::clGrayText);
  }
  EXPECT_TRUE(grey);
}

// ---- Accelerators -------------------------------------------------------------------------

TEST_F(LabelsTest, AltAcceleratorFocusesTheFocusControlAndNothingWithoutOne) {
  host::TForm* form = NewForm();
  auto* first = new host::TEdit(form);
  first->SetParent(form);
  first->SetBounds(100, 10, 80, 22);
  auto* second = new host::TEdit(form);
  second->SetParent(form);
  second->SetBounds(100, 40, 80, 22);
  auto* named = Make<TZYRLabel>(form, 10, 40, "&Name");
  named->SetFocusControl(second);
  auto* lonely = Make<TZYRSimpleLabel>(form, 10, 70, "&Other");
  (void)lonely;
  form->Show();
  first->SetFocus();
  desktop::Pump();
  auto alt = [](char letter) {
    display::Event e;
    e.kind = display::EventKind::KeyDown;
    e.vk = VK_MENU;
    desktop::Inject(e);
    desktop::TypeText(std::string(1, letter));
    e.kind = display::EventKind::KeyUp;
    desktop::Inject(e);
    desktop::Pump();
  };
  alt('o');
  EXPECT_TRUE(first->Focused()) << "no focus control: nothing happens";
  alt('n');
  EXPECT_TRUE(second->Focused());
  // Without ShowAccelChar, or disabled, the letter is no accelerator.
  first->SetFocus();
  named->SetShowAccelChar(false);
  alt('n');
  EXPECT_TRUE(first->Focused());
  named->SetShowAccelChar(true);
  named->SetEnabled(false);
  alt('n');
  EXPECT_TRUE(first->Focused());
  // A freed focus control is forgotten.
  named->SetEnabled(true);
  delete second;
  EXPECT_EQ(named->FocusControl(), nullptr);
  alt('n');
  EXPECT_TRUE(first->Focused());
}

// ---- Hyperlinks ---------------------------------------------------------------------------

class HyperlinkTest : public LabelsTest {
 protected:
  void SetUp() override {
    LabelsTest::SetUp();
    shell::SetLaunchHook([this](const shell::Argv& argv) {
      launches.push_back(argv);
      return shell::kLaunched;
    });
  }
  std::vector<shell::Argv> launches;
};

TEST_F(HyperlinkTest, LooksLikeALinkAndGivesBackTheLabelsOwnLookWhenSwitchedOff) {
  host::TForm* form = NewForm();
  auto* link = Make<TZYRSimpleLabel>(form, 10, 10, "Home page");
  link->Font()->SetColor(host::clMaroon);
  link->SetCursor(host::crCross);
  link->SetUseAsJump(true);
  EXPECT_EQ(link->Font()->Color(), host::clBlue);
  EXPECT_TRUE(link->Font()->Style().Contains(host::fsUnderline));
  EXPECT_EQ(link->Cursor(), crZYRHand);
  // JumpUnderline off takes away the underline it added; on puts it back.
  link->SetJumpUnderline(false);
  EXPECT_FALSE(link->Font()->Style().Contains(host::fsUnderline));
  link->SetJumpUnderline(true);
  EXPECT_TRUE(link->Font()->Style().Contains(host::fsUnderline));
  link->SetInActiveColor(host::clNavy);
  EXPECT_EQ(link->Font()->Color(), host::clNavy);
  link->SetUseAsJump(false);
  EXPECT_EQ(link->Font()->Color(), host::clMaroon);
  EXPECT_EQ(link->Cursor(), host::crCross);
  EXPECT_FALSE(link->Font()->Style().Contains(host::fsUnderline));

  // A label whose own font is underlined keeps that underline.
  auto* underlined = Make<TZYRSimpleLabel>(form, 10, 40, "Underlined");
  underlined->Font()->SetStyle({host::fsUnderline});
  underlined->SetUseAsJump(true);
  underlined->SetJumpUnderline(false);
  underlined->SetUseAsJump(false);
  EXPECT_TRUE(underlined->Font()->Style().Contains(host::fsUnderline));

  // Designing: the cursor is left alone.
  auto* designed = Make<TZYRSimpleLabel>(form, 10, 70, "Designed");
  designed->SetStateFlags({host::csDesigning});
  designed->SetUseAsJump(true);
  EXPECT_EQ(designed->Cursor(), host::crDefault);
}

TEST_F(HyperlinkTest, ClickOpensTheTargetAsOneArgumentAfterOnClick) {
  host::TForm* form = NewForm();
  auto* link = Make<TZYRSimpleLabel>(form, 10, 10, "Click me");
  const std::string target = "http://example.com/a?q=\"it's\";rm -rf ~;echo 'x'";
  link->SetJump("  " + target + "  ");
  link->SetUseAsJump(true);
  std::vector<std::string> order;
  link->OnClick = [&](TObject*) { order.push_back("click, launches: " + std::to_string(launches.size())); };
  form->Show();
  desktop::Pump();
  const POINT p = At(link, 5, 5);
  desktop::MouseDown(p.x, p.y);
  desktop::Pump();
  EXPECT_EQ(link->Font()->Color(), host::clPurple) << "held down";
  desktop::MouseUp(p.x, p.y);
  desktop::Pump();
  EXPECT_EQ(link->Font()->Color(), host::clBlue) << "at rest again";
  ASSERT_EQ(launches.size(), 1u);
  ASSERT_EQ(launches[0].size(), 2u) << "the opener and one argument";
  EXPECT_EQ(launches[0][1], target);
  EXPECT_EQ(order, (std::vector<std::string>{"click, launches: 0"}));
  EXPECT_TRUE(link->Enabled());

  // A blank Jump opens the caption.
  link->SetJump("   ");
  link->SetCaption("https://example.org/page");
  ClickOn(link, 3, 3);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1][1], "https://example.org/page");

  // A plain label opens nothing.
  link->SetUseAsJump(false);
  ClickOn(link, 3, 3);
  EXPECT_EQ(launches.size(), 2u);
}

TEST_F(HyperlinkTest, ATargetTheShellCannotOpenLeavesADisabledPlainLabel) {
  host::TForm* form = NewForm();
  auto* link = Make<TZYRSimpleLabel>(form, 10, 10, "Broken");
  link->Font()->SetColor(host::clGreen);
  link->SetJump("nosuchscheme:thing");
  link->SetUseAsJump(true);
  form->Show();
  desktop::Pump();
  ClickOn(link, 3, 3);
  EXPECT_TRUE(launches.empty());
  EXPECT_FALSE(link->UseAsJump());
  EXPECT_FALSE(link->Enabled());
  EXPECT_EQ(link->Font()->Color(), host::clGreen);
  EXPECT_EQ(link->Cursor(), host::crDefault);
  EXPECT_FALSE(link->Font()->Style().Contains(host::fsUnderline));

  // The same when the opener itself fails.
  shell::SetLaunchHook([](const shell::Argv&) { return SE_ERR_NOASSOC; });
  auto* other = Make<TZYRSimpleLabel>(form, 10, 40, "http://example.com");
  other->SetUseAsJump(true);
  desktop::Pump();
  ClickOn(other, 3, 3);
  EXPECT_FALSE(other->Enabled());
  EXPECT_FALSE(other->UseAsJump());
}

// ---- Gallery --------------------------------------------------------------------------------

TEST_F(LabelsTest, Gallery) {
  host::TForm* form = NewForm(620, 460);
  form->SetColor(host::clBtnFace);
  form->Font()->SetName("Arial");
  form->Font()->SetSize(9);
  const char* names[] = {"TopLeft", "TopCenter", "TopRight", "CenterLeft", "Center",
                         "CenterRight", "BottomLeft", "BottomCenter", "BottomRight"};
  // Nine alignments in framed boxes.
  for (int a = 0; a < 9; ++a) {
    auto* l = new TZYRLabel(form);
    l->SetParent(form);
    l->SetAutoSize(false);
    l->SetBounds(10 + (a % 3) * 100, 10 + (a / 3) * 44, 96, 40);
    l->SetTransparent(false);
    l->SetColor(host::clWindow);
    l->Bevel()->SetStyleOuter(bvLowered);
    l->SetAlignment(static_cast<TZYRAlignment>(a));
    l->SetCaption(names[a]);
  }
  // Effects.
  const TZYRThreeDStyle styles[] = {tdNone, tdSunken, tdRaised, tdSunkenShadow,
                                    tdRaisedShadow, tdPColorSunken, tdPColorRaised, tdShadow};
  const char* style_names[] = {"None", "Sunken", "Raised", "SunkenShadow",
                               "RaisedShadow", "PColorSunken", "PColorRaised", "Shadow"};
  for (int i = 0; i < 8; ++i) {
    auto* l = new TZYRSimpleLabel(form);
    l->SetParent(form);
    l->SetBounds(320 + (i % 2) * 150, 10 + (i / 2) * 30, 30, 30);
    l->Font()->SetSize(14);
    l->Font()->SetStyle({host::fsBold});
    l->Font3D()->SetStyle(styles[i]);
    l->Font3D()->SetShadowDepth(2);
    l->SetCaption(style_names[i]);
  }
  // Rotation.
  const int angles[] = {0, 45, 90, 180, 270, 315};
  for (int i = 0; i < 6; ++i) {
    auto* l = new TZYRLabel(form);
    l->SetParent(form);
    l->SetBounds(10 + i * 75, 150, 30, 30);
    l->Font()->SetSize(11);
    l->FontFx()->SetAngle(static_cast<TZYRAngle>(angles[i]));
    l->FontFx()->SetStyle(i % 2 ? tdRaised : tdShadow);
    l->SetCaption(std::to_string(angles[i]) + " degrees");
  }
  // Bevels.
  struct B {
    TZYRBevelStyle outer, inner;
    int border;
    const char* caption;
  } bevels[] = {{bvRaised, bvLowered, 2, "Raised + lowered"},
                {bvFrameLowered, bvNone, 0, "Frame lowered"},
                {bvShadow, bvShadow, 0, "Shadow"},
                {bvNormal, bvNone, 3, "Normal, border 3"}};
  for (int i = 0; i < 4; ++i) {
    auto* l = new TZYRLabel(form);
    l->SetParent(form);
    l->SetBounds(10 + i * 150, 270, 30, 30);
    l->SetTransparent(false);
    l->Bevel()->SetStyleOuter(bevels[i].outer);
    l->Bevel()->SetStyleInner(bevels[i].inner);
    l->Bevel()->SetWidthOuter(2);
    l->Bevel()->SetBorderWidth(static_cast<TZYRBorderWidth>(bevels[i].border));
    l->Bevel()->SetBorderColor(host::clSilver);
    l->SetCaption(bevels[i].caption);
  }
  // Multi-line, accelerator, disabled.
  auto* multi = new TZYRLabel(form);
  multi->SetParent(form);
  multi->SetAutoSize(false);
  multi->SetBounds(10, 320, 150, 60);
  multi->SetMultiLine(true);
  multi->SetAlignment(agBottomCenter);
  multi->Bevel()->SetStyleOuter(bvLowered);
  multi->SetCaption("A block of text broken into lines, at the bottom");
  auto* accel = new TZYRSimpleLabel(form);
  accel->SetParent(form);
  accel->SetBounds(170, 320, 30, 30);
  accel->SetCaption("&Accelerator");
  auto* grey = new TZYRSimpleLabel(form);
  grey->SetParent(form);
  grey->SetBounds(170, 345, 30, 30);
  grey->SetCaption("Disabled");
  grey->SetEnabled(false);
  // Hyperlinks: at rest and held down.
  auto* rest = new TZYRSimpleLabel(form);
  rest->SetParent(form);
  rest->SetBounds(300, 320, 30, 30);
  rest->SetCaption("http://example.com (at rest)");
  rest->SetUseAsJump(true);
  auto* pressed = new TZYRSimpleLabel(form);
  pressed->SetParent(form);
  pressed->SetBounds(300, 345, 30, 30);
  pressed->SetCaption("http://example.com (pressed)");
  pressed->SetUseAsJump(true);

  form->Show();
  desktop::Pump();
  shell::SetLaunchHook([](const shell::Argv&) { return shell::kLaunched; });
  const POINT p = At(pressed, 3, 3);
  desktop::MouseDown(p.x, p.y);
  desktop::Pump();
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveWindow(form->Handle(), (dir / "labels.png").string(), &error)) << error;
  desktop::MouseUp(p.x + 500, p.y);
  desktop::Pump();
}

}  // namespace
}  // namespace zyr

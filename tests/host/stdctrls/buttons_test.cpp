// Speed buttons, check boxes, radio buttons, group boxes and radio groups on the headless
// desktop: what clicks and keys do, groups and exclusivity, the look by pixels, stored forms.
#include "host/stdctrls/buttons.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/classes/filer.h"
#include "host/classes/strings.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class ButtonsTest : public AppTest {
 protected:
  TForm* NewForm(int w = 300, int h = 220) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, w, h);
    return form;
  }
  template <class T>
  T* Make(TWinControl* parent, int x, int y, const std::string& caption = "") {
    auto* c = new T(parent->GetParentForm() ? static_cast<TComponent*>(parent->GetParentForm()) : parent);
    c->SetParent(parent);
    c->SetLeft(x);
    c->SetTop(y);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
  }
  static COLORREF Pixel(TControl* c, int x, int y) {
    const POINT p = At(c, x, y);
    return ScreenPixel(p.x, p.y);
  }
  static void Show(TForm* form) {
    form->Show();
    desktop::Pump();
  }
  static void Press(int vk, bool down) {
    display::Event e;
    e.kind = down ? display::EventKind::KeyDown : display::EventKind::KeyUp;
    e.vk = vk;
    desktop::Inject(e);
    desktop::Pump();
  }
};

// ---- Check boxes ----------------------------------------------------------------------------

TEST_F(ButtonsTest, CheckBoxTogglesByClickSpaceAndAcceleratorAndReportsEveryChange) {
  TForm* form = NewForm();
  auto* other = Make<TCheckBox>(form, 10, 60, "Other");
  auto* box = Make<TCheckBox>(form, 10, 10, "&Check");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  Show(form);

  ClickOn(box, 6, 8);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(clicks, 1);

  // Space shows the box pushed while down and toggles on release.
  Press(VK_SPACE, true);
  EXPECT_TRUE(box->Pressed());
  EXPECT_TRUE(box->Checked());
  Press(VK_SPACE, false);
  EXPECT_FALSE(box->Pressed());
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);

  // The accelerator focuses and toggles from another control.
  other->SetFocus();
  desktop::Pump();
  desktop::TypeText("c");
  EXPECT_TRUE(box->Focused());
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 3);

  // Setting it in code reports too, but only a real change.
  box->SetChecked(false);
  box->SetChecked(false);
  EXPECT_EQ(clicks, 4);

  // Pressed while the mouse holds it; let go outside, nothing changes.
  const POINT in = At(box, 6, 8);
  const POINT out = At(box, 6, 40);
  desktop::MouseDown(in.x, in.y);
  desktop::Pump();
  EXPECT_TRUE(box->Pressed());
  desktop::MoveMouse(out.x, out.y);
  desktop::Pump();
  EXPECT_FALSE(box->Pressed());
  desktop::MouseUp(out.x, out.y);
  desktop::Pump();
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonsTest, AllowGrayedMakesClicksCycleThroughThreeStates) {
  TForm* form = NewForm();
  auto* box = Make<TCheckBox>(form, 10, 10, "Three");
  Show(form);
  std::vector<TCheckBoxState> seen;
  box->OnClick = [&](TObject*) { seen.push_back(box->State()); };
  for (int i = 0; i < 2; ++i) ClickOn(box, 6, 8);
  box->SetAllowGrayed(true);
  for (int i = 0; i < 4; ++i) ClickOn(box, 6, 8);
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbGrayed, cbChecked, cbUnchecked, cbGrayed}));
  EXPECT_FALSE(box->Checked());  // grayed is not checked
}

TEST_F(ButtonsTest, CheckBoxDrawsTheMarkInTheSunkenBoxAndTheFocusAroundTheCaption) {
  TForm* form = NewForm();
  auto* box = Make<TCheckBox>(form, 10, 10, "Mark");
  auto* right = Make<TCheckBox>(form, 10, 40, "Right");
  right->SetAlignment(taLeftJustify);
  auto* other = Make<TCheckBox>(form, 10, 70, "Other");
  box->SetChecked(true);
  Show(form);
  other->SetFocus();
  desktop::Pump();
  // The 13x13 box sits at the left, centred in the 17 rows: sunken edge, white inside.
  EXPECT_EQ(Pixel(box, 0, 2), kShadow);
  EXPECT_EQ(Pixel(box, 1, 3), kBlack);
  EXPECT_EQ(Pixel(box, 12, 14), kWhite);
  EXPECT_EQ(Pixel(box, 11, 13), RGB(223, 223, 223));
  // The mark: seven columns three pixels tall, from x 3, tops at rows 7 8 9 8 7 6 5.
  const int tops[] = {7, 8, 9, 8, 7, 6, 5};
  for (int i = 0; i < 7; ++i) {
    const int x = 3 + i;
    EXPECT_EQ(Pixel(box, x, tops[i] - 1), kWhite) << "above column " << i;
    for (int y = tops[i]; y < tops[i] + 3; ++y) EXPECT_EQ(Pixel(box, x, y), kBlack) << "column " << i << " row " << y;
    EXPECT_EQ(Pixel(box, x, tops[i] + 3), kWhite) << "below column " << i;
  }
  EXPECT_EQ(Pixel(box, 10, 6), kWhite);
  // Alignment taLeftJustify moves the box to the right end.
  EXPECT_EQ(Pixel(right, right->Width() - 13, 2), kShadow);
  EXPECT_EQ(Pixel(right, 0, 2), kFace);

  // The dotted focus rectangle hugs the caption (from x 16, row 1) only while focused.
  auto dotted = [&](TControl* c) {
    int n = 0;
    for (int x = 16; x < 40; ++x) n += Pixel(c, x, 1) != kFace;
    return n;
  };
  EXPECT_EQ(dotted(box), 0);
  box->SetFocus();
  desktop::Pump();
  EXPECT_GE(dotted(box), 10);
  EXPECT_EQ(Pixel(box, 15, 1), kFace);

  // Grayed: the mark in grey on a checkerboard; disabled: a grey box interior.
  box->SetState(cbGrayed);
  desktop::Pump();
  EXPECT_EQ(Pixel(box, 3, 7), kShadow);
  EXPECT_NE(Pixel(box, 2, 4), Pixel(box, 3, 4));
  box->SetState(cbUnchecked);
  box->SetEnabled(false);
  desktop::Pump();
  EXPECT_EQ(Pixel(box, 6, 8), kFace);
}

// ---- Radio buttons --------------------------------------------------------------------------

TEST_F(ButtonsTest, RadioButtonsOfOneParentAreExclusiveAndArrowsMoveTheCheck) {
  TForm* form = NewForm();
  auto* a = Make<TRadioButton>(form, 10, 10, "&A");
  auto* b = Make<TRadioButton>(form, 10, 30, "B");
  auto* c = Make<TRadioButton>(form, 10, 50, "C");
  auto* group = Make<TGroupBox>(form, 150, 10, "Elsewhere");
  auto* apart = Make<TRadioButton>(group, 10, 20, "Apart");
  apart->SetChecked(true);
  std::string trail;
  for (auto [r, n] : {std::pair{a, 'a'}, {b, 'b'}, {c, 'c'}}) r->OnClick = [&trail, n = n](TObject*) { trail += n; };
  Show(form);

  ClickOn(b, 6, 8);
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(b->Focused());
  ClickOn(c, 6, 8);
  EXPECT_FALSE(b->Checked());
  EXPECT_TRUE(c->Checked());
  EXPECT_TRUE(apart->Checked());  // another parent, another group
  ClickOn(c, 6, 8);               // already checked: no new click
  EXPECT_EQ(trail, "bc");
  // Only the checked one is a tab stop.
  EXPECT_TRUE(c->TabStop());
  EXPECT_FALSE(b->TabStop());

  desktop::PressKey(VK_DOWN);  // wraps to a
  EXPECT_TRUE(a->Focused());
  EXPECT_TRUE(a->Checked());
  EXPECT_FALSE(c->Checked());
  desktop::PressKey(VK_UP);  // back to c
  EXPECT_TRUE(c->Checked());
  b->SetEnabled(false);
  desktop::PressKey(VK_UP);  // skips the disabled b
  EXPECT_TRUE(a->Checked());
  EXPECT_EQ(trail, "bcaca");
  // The accelerator checks and focuses too.
  ClickOn(c, 6, 8);
  desktop::TypeText("a");
  EXPECT_TRUE(a->Checked());
  EXPECT_TRUE(a->Focused());
}

// ---- Speed buttons --------------------------------------------------------------------------

TEST_F(ButtonsTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
  TForm* form = NewForm();
  auto* a = Make<TSpeedButton>(form, 10, 10, "A");
  auto* b = Make<TSpeedButton>(form, 40, 10, "B");
  auto* plain = Make<TSpeedButton>(form, 70, 10, "P");
  auto* panel = Make<TGroupBox>(form, 100, 10);
  auto* far = Make<TSpeedButton>(panel, 10, 20, "F");
  for (TSpeedButton* s : {a, b, far}) s->SetGroupIndex(1);
  far->SetDown(true);
  std::string trail;
  for (auto [s, n] : {std::pair{a, 'a'}, {b, 'b'}, {plain, 'p'}}) {
    s->OnClick = [&trail, n = n](TObject*) { trail += n; };
  }
  Show(form);

  ClickOn(a, 5, 5);
  EXPECT_TRUE(a->Down());
  ClickOn(b, 5, 5);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(far->Down());  // another parent
  ClickOn(b, 5, 5);          // stays down without AllowAllUp, but still clicks
  EXPECT_TRUE(b->Down());
  b->SetDown(false);
  EXPECT_TRUE(b->Down());
  // AllowAllUp belongs to the whole group.
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  ClickOn(b, 5, 5);
  EXPECT_FALSE(b->Down());
  EXPECT_FALSE(a->Down());
  // Without a group a button only clicks.
  ClickOn(plain, 5, 5);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
  EXPECT_EQ(trail, "abbbp");

  // Held, it shows pressed; dragged off and let go, it does not click.
  const POINT in = At(plain, 5, 5);
  desktop::MouseDown(in.x, in.y);
  desktop::Pump();
  EXPECT_EQ(plain->State(), bsDown);
  desktop::MoveMouse(in.x + 100, in.y);
  desktop::Pump();
  EXPECT_EQ(plain->State(), bsUp);
  desktop::MouseUp(in.x + 100, in.y);
  desktop::Pump();
  EXPECT_EQ(trail, "abbbp");

  a->SetName("SpeedButton1");
  try {
    a->SetNumGlyphs(5);
    ADD_FAILURE() << "five glyphs accepted";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "SpeedButton1.NumGlyphs must be 1 to 4, not 5");
  }
}

TEST_F(ButtonsTest, SpeedButtonGlyphIsTransparentShiftsWhenPressedAndEmbossesWhenDisabled) {
  TForm* form = NewForm();
  auto* s = Make<TSpeedButton>(form, 10, 10);
  s->SetBounds(10, 10, 40, 30);
  TBitmap glyph;
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(clOlive);  // the bottom-left pixel: transparent
  glyph.Canvas()->FillRect(RECT{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clBlack);
  glyph.Canvas()->FillRect(RECT{6, 6, 10, 10});
  glyph.Canvas()->SetPixels(2, 2, clWhite);
  s->SetGlyph(&glyph);
  Show(form);
  // Centred: the image's top-left at (12, 7).
  EXPECT_EQ(Pixel(s, 12 + 6, 7 + 6), kBlack);
  EXPECT_EQ(Pixel(s, 12 + 1, 7 + 1), kFace);
  EXPECT_EQ(Pixel(s, 12 + 2, 7 + 2), kWhite);
  EXPECT_EQ(Pixel(s, 12 + 10, 7 + 10), kFace);

  const POINT in = At(s, 5, 5);
  desktop::MouseDown(in.x, in.y);
  desktop::Pump();
  EXPECT_EQ(Pixel(s, 12 + 10, 7 + 10), kBlack);  // one pixel down and right
  EXPECT_EQ(Pixel(s, 12 + 6, 7 + 6), kFace);
  desktop::MouseUp(in.x, in.y);
  desktop::Pump();

  // No disabled image: the dark pixels embossed, the white one gone.
  s->SetEnabled(false);
  desktop::Pump();
  EXPECT_EQ(s->State(), bsDisabled);
  EXPECT_EQ(Pixel(s, 12 + 6, 7 + 6), kShadow);
  EXPECT_EQ(Pixel(s, 12 + 10, 7 + 10), kWhite);
  EXPECT_EQ(Pixel(s, 12 + 2, 7 + 2), kFace);

  // With two images the second is the disabled one.
  TBitmap pair;
  pair.SetSize(32, 16);
  pair.Canvas()->Brush()->SetColor(clOlive);
  pair.Canvas()->FillRect(RECT{0, 0, 32, 16});
  pair.Canvas()->Brush()->SetColor(clRed);
  pair.Canvas()->FillRect(RECT{16, 0, 20, 4});
  s->SetGlyph(&pair);
  s->SetNumGlyphs(2);
  desktop::Pump();
  EXPECT_EQ(Pixel(s, 12, 7), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(s, 12 + 6, 7 + 6), kFace);
}

TEST_F(ButtonsTest, FlatSpeedButtonShowsItsFrameOnlyUnderTheMouseAndADownOneDithers) {
  TForm* form = NewForm();
  auto* flat = Make<TSpeedButton>(form, 10, 10);
  flat->SetFlat(true);
  auto* stuck = Make<TSpeedButton>(form, 50, 10);
  stuck->SetGroupIndex(3);
  stuck->SetDown(true);
  Show(form);
  EXPECT_EQ(Pixel(flat, 0, 0), kFace);
  EXPECT_EQ(Pixel(flat, 22, 21), kFace);
  POINT p = At(flat, 5, 5);
  desktop::MoveMouse(p.x, p.y);
  desktop::Pump();
  EXPECT_TRUE(flat->MouseInControl());
  EXPECT_EQ(Pixel(flat, 0, 0), kWhite);
  EXPECT_EQ(Pixel(flat, 22, 21), kShadow);
  p = At(flat, 5, 100);
  desktop::MoveMouse(p.x, p.y);
  desktop::Pump();
  EXPECT_FALSE(flat->MouseInControl());
  EXPECT_EQ(Pixel(flat, 0, 0), kFace);
  // A button stuck down: sunken, its face a checkerboard of white and grey.
  EXPECT_EQ(stuck->State(), bsExclusive);
  EXPECT_EQ(Pixel(stuck, 0, 0), kBlack);
  const COLORREF p1 = Pixel(stuck, 5, 5), p2 = Pixel(stuck, 6, 5);
  EXPECT_NE(p1, p2);
  EXPECT_TRUE((p1 == kWhite && p2 == kFace) || (p1 == kFace && p2 == kWhite));
}

// ---- Group boxes ----------------------------------------------------------------------------

TEST_F(ButtonsTest, GroupBoxEtchesItsFrameAroundTheCaptionAndLeavesRoomInside) {
  TForm* form = NewForm();
  auto* group = Make<TGroupBox>(form, 10, 10, "__");
  group->SetBounds(10, 10, 120, 80);
  auto* filler = Make<TCheckBox>(group, 0, 0);
  filler->SetAlign(alClient);
  Show(form);
  // The line runs at rows 5 (shadow) and 6 (white), cut from x 8 for the caption's width.
  EXPECT_EQ(Pixel(group, 0, 5), kShadow);
  EXPECT_EQ(Pixel(group, 1, 6), kWhite);
  EXPECT_EQ(Pixel(group, 7, 5), kShadow);
  EXPECT_EQ(Pixel(group, 7, 6), kWhite);
  int cut = 0;
  while (Pixel(group, 8 + cut, 5) == kFace && Pixel(group, 8 + cut, 6) == kFace) ++cut;
  EXPECT_GE(cut, 8);
  EXPECT_EQ(Pixel(group, 8 + cut, 5), kShadow);
  EXPECT_EQ(Pixel(group, 119, 5), kWhite);  // the right side: white outside, shadow inside
  EXPECT_EQ(Pixel(group, 118, 40), kShadow);
  EXPECT_EQ(Pixel(group, 119, 40), kWhite);
  EXPECT_EQ(Pixel(group, 50, 78), kShadow);
  EXPECT_EQ(Pixel(group, 50, 79), kWhite);
  // Aligned children keep off the frame and the caption line.
  EXPECT_EQ(filler->BoundsRect().left, 2);
  EXPECT_EQ(filler->BoundsRect().top, 13 + 2);
  EXPECT_EQ(filler->BoundsRect().right, 118);
  EXPECT_EQ(filler->BoundsRect().bottom, 78);
}

TEST_F(ButtonsTest, DisabledGroupBoxDisablesWhatItHoldsWithoutTouchingTheirEnabled) {
  TForm* form = NewForm();
  auto* group = Make<TGroupBox>(form, 10, 10, "&Group");
  auto* first = Make<TCheckBox>(group, 10, 20, "First");
  auto* second = Make<TCheckBox>(group, 10, 40, "Second");
  auto* speed = Make<TSpeedButton>(group, 120, 20, "S");
  auto* outside = Make<TCheckBox>(form, 10, 150, "Outside");
  Show(form);
  outside->SetFocus();
  desktop::Pump();

  group->SetEnabled(false);
  desktop::Pump();
  EXPECT_TRUE(first->Enabled());
  EXPECT_FALSE(IsWindowEnabled(first->Handle()));
  EXPECT_FALSE(first->CanFocus());
  EXPECT_EQ(speed->State(), bsDisabled);
  EXPECT_EQ(Pixel(first, 6, 8), kFace);  // the inactive box
  ClickOn(first, 6, 8);
  EXPECT_FALSE(first->Checked());
  desktop::TypeText("g");
  EXPECT_TRUE(outside->Focused());
  // Its own Enabled going round does not open the window while the box is disabled.
  second->SetEnabled(false);
  second->SetEnabled(true);
  EXPECT_FALSE(IsWindowEnabled(second->Handle()));

  group->SetEnabled(true);
  desktop::Pump();
  EXPECT_TRUE(IsWindowEnabled(first->Handle()));
  EXPECT_EQ(speed->State(), bsUp);
  EXPECT_EQ(Pixel(first, 6, 8), kWhite);
  // The accelerator focuses the first child without toggling it.
  desktop::TypeText("g");
  EXPECT_TRUE(first->Focused());
  EXPECT_FALSE(first->Checked());
  ClickOn(first, 6, 8);
  EXPECT_TRUE(first->Checked());
}

// ---- Radio groups ---------------------------------------------------------------------------

TEST_F(ButtonsTest, RadioGroupMakesAButtonPerItemInColumnsAndReportsTheSelection) {
  TForm* form = NewForm();
  auto* rg = Make<TRadioGroup>(form, 10, 10, "&Size");
  auto* outside = Make<TCheckBox>(form, 10, 150, "Outside");
  for (const char* s : {"Small", "Medium", "Large", "Huge"}) rg->Items()->Add(s);
  rg->SetColumns(2);
  int clicks = 0;
  rg->OnClick = [&](TObject*) { ++clicks; };
  Show(form);
  ASSERT_EQ(rg->ButtonCount(), 4);
  EXPECT_EQ(rg->ItemIndex(), -1);
  // 185x105: two rows of 43 under the caption, columns of 87 from x 8, filled down first.
  auto rect = [](TControl* c) {
    const RECT r = c->BoundsRect();
    return std::vector<int>{r.left, r.top, r.right, r.bottom};
  };
  EXPECT_EQ(rect(rg->Buttons(0)), (std::vector<int>{8, 14, 95, 57}));
  EXPECT_EQ(rect(rg->Buttons(1)), (std::vector<int>{8, 57, 95, 100}));
  EXPECT_EQ(rect(rg->Buttons(2)), (std::vector<int>{95, 14, 182, 57}));
  EXPECT_EQ(rg->Buttons(3)->Caption(), "Huge");

  ClickOn(rg->Buttons(2), 6, 20);
  EXPECT_EQ(rg->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  desktop::PressKey(VK_DOWN);
  EXPECT_EQ(rg->ItemIndex(), 3);
  EXPECT_TRUE(rg->Buttons(3)->Focused());
  EXPECT_EQ(clicks, 2);
  // In code: out-of-range numbers come to the nearest item; -1 clears.
  rg->SetItemIndex(9);
  EXPECT_EQ(rg->ItemIndex(), 3);
  rg->SetItemIndex(0);
  EXPECT_TRUE(rg->Buttons(0)->Checked());
  EXPECT_FALSE(rg->Buttons(3)->Checked());
  EXPECT_EQ(clicks, 3);
  rg->SetItemIndex(-1);
  EXPECT_FALSE(rg->Buttons(0)->Checked());
  // Tab comes in at the first button when nothing is selected, at the selected one otherwise.
  EXPECT_TRUE(rg->Buttons(0)->TabStop());
  rg->SetItemIndex(1);
  EXPECT_FALSE(rg->Buttons(0)->TabStop());
  outside->SetFocus();
  desktop::Pump();
  desktop::TypeText("s");
  EXPECT_TRUE(rg->Buttons(1)->Focused());

  // Fewer items, fewer buttons; a selection past the end goes.
  rg->Items()->Delete(3);
  rg->Items()->Delete(2);
  rg->Items()->Delete(1);
  EXPECT_EQ(rg->ButtonCount(), 1);
  EXPECT_EQ(rg->ItemIndex(), -1);
  EXPECT_THROW(rg->Buttons(1), EListError);
  EXPECT_THROW(rg->SetColumns(0), EInvalidOperation);
}

TEST_F(ButtonsTest, StoredFormsKeepItemsSelectionAndStatesButNotTheMadeButtons) {
  RegisterButtons();
  TForm* form = NewForm();
  ReadComponentFromText(form,
                        "object Form1: TForm\n"
                        "  object RadioGroup1: TRadioGroup\n"
                        "    Left = 4\n    Top = 4\n    Width = 200\n    Height = 90\n"
                        "    Caption = 'Pick'\n    Columns = 3\n    ItemIndex = 1\n"
                        "    Items.Strings = (\n      'one'\n      'two'\n      'three')\n"
                        "  end\n"
                        "  object CheckBox1: TCheckBox\n"
                        "    Left = 4\n    Top = 100\n    Width = 97\n    Height = 17\n"
                        "    AllowGrayed = True\n    State = cbGrayed\n"
                        "  end\n"
                        "  object SpeedButton1: TSpeedButton\n"
                        "    Left = 4\n    Top = 130\n    Width = 23\n    Height = 22\n"
                        "    GroupIndex = 2\n    Down = True\n    Flat = True\n"
                        "  end\n"
                        "end\n",
                        "buttons.form");
  auto* rg = dynamic_cast<TRadioGroup*>(form->FindComponent("RadioGroup1"));
  auto* cb = dynamic_cast<TCheckBox*>(form->FindComponent("CheckBox1"));
  auto* sb = dynamic_cast<TSpeedButton*>(form->FindComponent("SpeedButton1"));
  ASSERT_TRUE(rg && cb && sb);
  ASSERT_EQ(rg->ButtonCount(), 3);
  EXPECT_EQ(rg->ItemIndex(), 1);
  EXPECT_TRUE(rg->Buttons(1)->Checked());
  EXPECT_EQ(rg->Buttons(2)->Caption(), "three");
  EXPECT_EQ(cb->State(), cbGrayed);
  EXPECT_TRUE(sb->Down());
  const std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("ItemIndex = 1"), std::string::npos) << text;
  EXPECT_NE(text.find("'three'"), std::string::npos) << text;
  EXPECT_NE(text.find("State = cbGrayed"), std::string::npos) << text;
  EXPECT_NE(text.find("Down = True"), std::string::npos) << text;
  EXPECT_EQ(text.find("TRadioButton"), std::string::npos) << text;
  EXPECT_EQ(text.find("Checked"), std::string::npos) << text;
  EXPECT_EQ(text.find("Spacing"), std::string::npos) << text;

  TForm* bad = NewForm();
  try {
    ReadComponentFromText(bad,
                          "object Form2: TForm\n"
                          "  object SpeedButton1: TSpeedButton\n"
                          "    NumGlyphs = 7\n"
                          "  end\n"
                          "end\n",
                          "bad.form");
    ADD_FAILURE() << "NumGlyphs = 7 was read";
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("bad.form(3)"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("NumGlyphs"), std::string::npos) << e.what();
  }
}

// ---- Gallery --------------------------------------------------------------------------------

TEST_F(ButtonsTest, Gallery) {
  TForm* form = NewForm(600, 330);
  auto glyph = [](TBitmap& b, TColor colour) {
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(RECT{0, 0, 16, 16});
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(RECT{3, 3, 13, 13});
    b.Canvas()->Brush()->SetColor(colour);
    b.Canvas()->FillRect(RECT{4, 4, 12, 12});
  };
  TBitmap green, blue;
  glyph(green, clGreen);
  glyph(blue, clBlue);
  // Speed buttons: up, stuck down, disabled, flat (one under the mouse), with captions.
  const char* names[] = {"", "", "", "", ""};
  for (int i = 0; i < 5; ++i) {
    auto* s = Make<TSpeedButton>(form, 10 + i * 26, 10, names[i]);
    s->SetGlyph(i % 2 ? &blue : &green);
    if (i == 1) {
      s->SetGroupIndex(1);
      s->SetDown(true);
    }
    if (i == 2) s->SetEnabled(false);
    if (i >= 3) s->SetFlat(true);
  }
  auto* left = Make<TSpeedButton>(form, 150, 8, "&Open");
  left->SetBounds(150, 8, 70, 26);
  left->SetGlyph(&green);
  auto* top = Make<TSpeedButton>(form, 230, 4, "Top");
  top->SetBounds(230, 4, 50, 40);
  top->SetGlyph(&blue);
  top->SetLayout(blGlyphTop);
  auto* grey = Make<TSpeedButton>(form, 290, 8, "Off");
  grey->SetBounds(290, 8, 60, 26);
  grey->SetGlyph(&green);
  grey->SetEnabled(false);

  auto* c1 = Make<TCheckBox>(form, 10, 50, "&Unchecked");
  auto* c2 = Make<TCheckBox>(form, 10, 70, "Checked, focused");
  c2->SetWidth(120);
  c2->SetChecked(true);
  auto* c3 = Make<TCheckBox>(form, 10, 90, "Grayed");
  c3->SetState(cbGrayed);
  auto* c4 = Make<TCheckBox>(form, 10, 110, "Disabled");
  c4->SetChecked(true);
  c4->SetEnabled(false);
  auto* c5 = Make<TCheckBox>(form, 10, 130, "Left text");
  c5->SetAlignment(taLeftJustify);
  auto* r1 = Make<TRadioButton>(form, 150, 50, "&Radio on");
  r1->SetChecked(true);
  Make<TRadioButton>(form, 150, 70, "Radio off");
  auto* r3 = Make<TRadioButton>(form, 150, 90, "Disabled");
  r3->SetEnabled(false);
  (void)c1;
  (void)c5;

  auto* g1 = Make<TGroupBox>(form, 290, 50, "&Group box");
  g1->SetBounds(290, 50, 140, 90);
  Make<TCheckBox>(g1, 10, 20, "Inside")->SetBounds(10, 20, 90, 17);
  Make<TRadioButton>(g1, 10, 40, "Inside too")->SetBounds(10, 40, 90, 17);
  Make<TSpeedButton>(g1, 108, 20)->SetGlyph(&blue);
  auto* g2 = Make<TGroupBox>(form, 440, 50, "Disabled box");
  g2->SetBounds(440, 50, 140, 90);
  auto* inside = Make<TCheckBox>(g2, 10, 20, "Inside");
  inside->SetBounds(10, 20, 90, 17);
  inside->SetChecked(true);
  auto* inside_too = Make<TRadioButton>(g2, 10, 40, "Inside too");
  inside_too->SetBounds(10, 40, 90, 17);
  inside_too->SetChecked(true);
  Make<TSpeedButton>(g2, 108, 20)->SetGlyph(&blue);
  g2->SetEnabled(false);

  auto* rg = Make<TRadioGroup>(form, 10, 160, "Radio &group");
  rg->SetBounds(10, 160, 270, 100);
  for (const char* s : {"&First", "Second", "Third", "Fourth", "Fifth"}) rg->Items()->Add(s);
  rg->SetColumns(2);
  rg->SetItemIndex(2);
  auto* rg2 = Make<TRadioGroup>(form, 290, 160, "One column");
  rg2->SetBounds(290, 160, 140, 100);
  for (const char* s : {"Alpha", "Beta", "Gamma"}) rg2->Items()->Add(s);

  Show(form);
  c2->SetFocus();
  auto* pressed = Make<TCheckBox>(form, 150, 130, "Held down");
  desktop::Pump();
  const POINT p = At(pressed, 6, 8);
  desktop::MouseDown(p.x, p.y);
  desktop::Pump();
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveScreen((dir / "buttons.png").string(), &error)) << error;
  desktop::MouseUp(p.x, p.y);
  desktop::Pump();
}

}  // namespace
}  // namespace host

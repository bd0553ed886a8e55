// Buttons, labels and panels on the headless desktop: clicks by mouse and keyboard, default
// and cancel buttons in modal forms, accelerators, label sizing, panel layout and the look.
#include "host/stdctrls/stdctrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/graphics/font.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

// A focusable control that is not a button (where an edit box would sit).
class TFocusBox : public TCustomControl {
  HOST_CLASS(TFocusBox)
  explicit TFocusBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 40, 20);
    SetTabStop(true);
  }
};
HOST_DEFINE_CLASS(TFocusBox, TCustomControl)

void QueueKey(int vk, bool down_only = false) {
  display::Event e;
  e.kind = display::EventKind::KeyDown;
  e.vk = vk;
  desktop::Inject(e);
  if (down_only) return;
  e.kind = display::EventKind::KeyUp;
  desktop::Inject(e);
}

class StdCtrlsTest : public AppTest {
 protected:
  TForm* NewForm(int w = 300, int h = 200) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(20, 20, w, h);
    return form;
  }
  template <class T>
  T* Add(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(parent->GetParentForm() ? static_cast<TComponent*>(parent->GetParentForm()) : parent);
    c->SetBounds(x, y, w, h);
    c->SetParent(parent);
    return c;
  }
};

TEST_F(StdCtrlsTest, ButtonClicksByMouseAndSpaceButNotWhenReleasedOutside) {
  TForm* form = NewForm();
  auto* box = Add<TFocusBox>(form, 200, 10, 40, 20);
  auto* button = Add<TButton>(form, 10, 10, 75, 25);
  button->SetCaption("Go");
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  desktop::Pump();
  ASSERT_TRUE(box->Focused());

  ClickOn(button, 30, 12);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button->Focused());  // a click takes the focus

  // Pressed, dragged off (drawn up again), released outside: nothing.
  const POINT in = At(button, 30, 12);
  const POINT out = At(form, 150, 150);
  desktop::MoveMouse(in.x, in.y);
  desktop::MouseDown(in.x, in.y);
  desktop::Pump();
  EXPECT_TRUE(button->IsPushed());
  desktop::MoveMouse(out.x, out.y);
  desktop::Pump();
  EXPECT_FALSE(button->IsPushed());
  desktop::MouseUp(out.x, out.y);
  desktop::Pump();
  EXPECT_EQ(clicks, 1);

  // Space: pushed while held, the click comes with the release.
  QueueKey(VK_SPACE, true);
  desktop::Pump();
  EXPECT_TRUE(button->IsPushed());
  EXPECT_EQ(clicks, 1);
  display::Event up;
  up.kind = display::EventKind::KeyUp;
  up.vk = VK_SPACE;
  desktop::Inject(up);
  desktop::Pump();
  EXPECT_FALSE(button->IsPushed());
  EXPECT_EQ(clicks, 2);

  // A disabled button takes neither.
  button->SetEnabled(false);
  ClickOn(button, 30, 12);
  EXPECT_EQ(clicks, 2);
}

TEST_F(StdCtrlsTest, EnterAndEscInAModalFormClickDefaultAndCancelButtons) {
  TForm* form = NewForm();
  auto* box = Add<TFocusBox>(form, 10, 10, 40, 20);
  auto* ok = Add<TButton>(form, 10, 100, 75, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Add<TButton>(form, 100, 100, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  std::vector<std::string> clicked;
  ok->OnClick = [&](TObject*) { clicked.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { clicked.push_back("cancel"); };
  (void)box;

  // The focus is on the box: Enter goes to the default button.
  QueueKey(VK_RETURN);
  EXPECT_EQ(form->ShowModal(), mrOk);
  QueueKey(VK_ESCAPE);
  EXPECT_EQ(form->ShowModal(), mrCancel);
  // With the focus on the cancel button, Enter clicks it rather than the default one.
  QueueKey(VK_TAB);
  QueueKey(VK_TAB);
  QueueKey(VK_RETURN);
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(clicked, (std::vector<std::string>{"ok", "cancel", "cancel"}));
  EXPECT_FALSE(form->Visible());
}

TEST_F(StdCtrlsTest, AcceleratorsFocusAndClick) {
  TForm* form = NewForm();
  auto* first = Add<TFocusBox>(form, 10, 10, 40, 20);
  auto* target = Add<TFocusBox>(form, 10, 40, 40, 20);
  auto* label = Add<TLabel>(form, 60, 40, 0, 0);
  label->SetCaption("&Name:");
  label->SetFocusControl(target);
  auto* button = Add<TButton>(form, 10, 100, 75, 25);
  button->SetCaption("&Apply");
  int applied = 0;
  button->OnClick = [&](TObject*) { ++applied; };
  form->Show();
  desktop::Pump();
  ASSERT_TRUE(first->Focused());
  desktop::TypeText("n");
  EXPECT_TRUE(target->Focused());
  desktop::TypeText("a");
  EXPECT_EQ(applied, 1);
  EXPECT_TRUE(button->Focused());
  // Without the "&" the label does not react.
  first->SetFocus();
  label->SetShowAccelChar(false);
  desktop::TypeText("n");
  EXPECT_TRUE(first->Focused());
  // The label forgets a focus control that goes away.
  target->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
  label->SetShowAccelChar(true);
  desktop::TypeText("n");
  EXPECT_TRUE(first->Focused());
}

TEST_F(StdCtrlsTest, LabelAutoSizeFollowsTheCaption) {
  TForm* form = NewForm();
  auto* label = Add<TLabel>(form, 10, 10, 5, 5);
  label->SetCaption("Hi");
  const int short_w = label->Width();
  const int line_h = label->Height();
  EXPECT_GT(short_w, 5);
  EXPECT_GE(line_h, 13);
  label->SetCaption("Hi there, a longer caption");
  EXPECT_GT(label->Width(), short_w * 4);
  EXPECT_EQ(label->Height(), line_h);
  label->SetCaption("two\nlines");
  EXPECT_EQ(label->Height(), 2 * line_h);
  label->SetCaption("");
  EXPECT_EQ(label->Height(), line_h);  // an empty label keeps one line
  // "&" underlines and takes no room unless ShowAccelChar is off.
  label->SetCaption("&Open");
  const int with_accel = label->Width();
  label->SetShowAccelChar(false);
  EXPECT_GT(label->Width(), with_accel);
  // Right-justified labels grow to the left.
  label->SetAlignment(taRightJustify);
  label->SetCaption("x");
  const int right = label->Left() + label->Width();
  label->SetCaption("a much longer text");
  EXPECT_EQ(label->Left() + label->Width(), right);
  // Without AutoSize the bounds stay.
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 30, 30);
  label->SetCaption("something else entirely");
  EXPECT_EQ(label->Width(), 30);
  EXPECT_EQ(label->Height(), 30);
}

TEST_F(StdCtrlsTest, PanelAlignsAClientChildInsideItsBevelsAndBorder) {
  TForm* form = NewForm();
  auto* panel = Add<TPanel>(form, 10, 10, 200, 100);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  auto* child = Add<TFocusBox>(panel, 0, 0, 10, 10);
  child->SetAlign(alClient);
  auto rect = [](TControl* c) {
    RECT r = c->BoundsRect();
    return std::vector<int>{r.left, r.top, r.right, r.bottom};
  };
  EXPECT_EQ(rect(child), (std::vector<int>{7, 7, 193, 93}));  // 2 + 3 + 2 on each side
  panel->SetBevelInner(bvNone);
  EXPECT_EQ(rect(child), (std::vector<int>{5, 5, 195, 95}));
  panel->SetBevelOuter(bvNone);
  panel->SetBorderWidth(0);
  EXPECT_EQ(rect(child), (std::vector<int>{0, 0, 200, 100}));
  // A single border is a sunken 2-pixel window edge outside the client area.
  panel->SetBorderStyle(bsSingle);
  EXPECT_EQ(rect(child), (std::vector<int>{0, 0, 196, 96}));
  form->Show();
  desktop::Pump();
  EXPECT_EQ(rect(child), (std::vector<int>{0, 0, 196, 96}));
  EXPECT_THROW(panel->SetBevelWidth(0), EInvalidOperation);
  try {
    panel->SetName("Panel1");
    panel->SetBorderStyle(bsDialog);
    FAIL() << "bsDialog accepted";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Panel1: a panel's BorderStyle is bsNone or bsSingle");
  }
}

TEST_F(StdCtrlsTest, ButtonFramesAndFocusRectangleOnTheScreen) {
  TForm* form = NewForm();
  auto* box = Add<TFocusBox>(form, 250, 10, 40, 20);
  auto* plain = Add<TButton>(form, 10, 10, 75, 23);
  auto* def = Add<TButton>(form, 10, 50, 75, 23);
  def->SetDefault(true);
  form->Show();
  desktop::Pump();
  ASSERT_TRUE(box->Focused());
  auto pixel = [&](TControl* c, int x, int y) {
    const POINT p = At(c, x, y);
    return ScreenPixel(p.x, p.y);
  };
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), face = RGB(192, 192, 192);
  const COLORREF shadow = RGB(128, 128, 128), inverted = RGB(63, 63, 63);
  // A plain button: white outer edge at the top-left, black at the bottom-right.
  EXPECT_EQ(pixel(plain, 0, 0), white);
  EXPECT_EQ(pixel(plain, 74, 22), black);
  EXPECT_EQ(pixel(plain, 73, 21), shadow);
  // The default button has a black frame and its raised edge inside it.
  EXPECT_EQ(pixel(def, 0, 0), black);
  EXPECT_EQ(pixel(def, 40, 0), black);
  EXPECT_EQ(pixel(def, 1, 1), white);
  EXPECT_EQ(pixel(def, 73, 21), black);
  EXPECT_EQ(pixel(def, 72, 20), shadow);
  // No focus rectangle without the focus.
  auto focus_dots = [&](TControl* c) {
    int dots = 0;
    for (int x = 4; x < 71; ++x) dots += pixel(c, x, 4) == inverted;
    return dots;
  };
  EXPECT_EQ(focus_dots(def), 0);
  EXPECT_EQ(pixel(def, 4, 4), face);
  // Focusing the plain button moves the black frame to it and draws the dotted rectangle
  // four pixels in.
  plain->SetFocus();
  desktop::Pump();
  EXPECT_EQ(pixel(plain, 0, 0), black);
  EXPECT_EQ(pixel(def, 0, 0), white);
  const int dots = focus_dots(plain);  // every other pixel of 67, by the dots' phase
  EXPECT_TRUE(dots == 33 || dots == 34) << dots;
  EXPECT_NE(pixel(plain, 4, 10), pixel(plain, 4, 11));
  EXPECT_EQ(pixel(plain, 3, 10), face);
  // Focus back on a control that is no button: the default button has the frame again.
  box->SetFocus();
  desktop::Pump();
  EXPECT_EQ(pixel(plain, 0, 0), white);
  EXPECT_EQ(pixel(def, 0, 0), black);
  EXPECT_EQ(focus_dots(plain), 0);
}

TEST_F(StdCtrlsTest, PanelBevelLinesOnTheScreen) {
  TForm* form = NewForm();
  form->SetColor(clWhite);
  auto* panel = Add<TPanel>(form, 10, 10, 100, 50);
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(2);
  form->Show();
  auto pixel = [&](int x, int y) {
    const POINT p = At(panel, x, y);
    return ScreenPixel(p.x, p.y);
  };
  const COLORREF white = RGB(255, 255, 255), face = RGB(192, 192, 192), shadow = RGB(128, 128, 128);
  // Outer raised ring: highlight top and left, shadow right and bottom (owning the corners
  // at the top-right and bottom-left).
  EXPECT_EQ(pixel(0, 0), white);
  EXPECT_EQ(pixel(50, 0), white);
  EXPECT_EQ(pixel(0, 25), white);
  EXPECT_EQ(pixel(99, 0), shadow);
  EXPECT_EQ(pixel(0, 49), shadow);
  EXPECT_EQ(pixel(99, 25), shadow);
  EXPECT_EQ(pixel(50, 49), shadow);
  // The border in the face colour, then the lowered inner ring at 3.
  EXPECT_EQ(pixel(1, 1), face);
  EXPECT_EQ(pixel(2, 25), face);
  EXPECT_EQ(pixel(3, 3), shadow);
  EXPECT_EQ(pixel(50, 3), shadow);
  EXPECT_EQ(pixel(96, 25), white);
  EXPECT_EQ(pixel(50, 46), white);
  EXPECT_EQ(pixel(4, 4), face);
  // Outside the panel: the form.
  const POINT o = At(panel, -1, -1);
  EXPECT_EQ(ScreenPixel(o.x, o.y), white);
}

TEST_F(StdCtrlsTest, StoredFormsNameTheControlsAndTheirProperties) {
  RegisterStdControls();
  TForm* form = NewForm();
  ReadComponentFromText(form,
                        "object Form1: TForm\n"
                        "  object Panel1: TPanel\n"
                        "    Left = 0\n    Top = 0\n    Width = 120\n    Height = 60\n"
                        "    BevelInner = bvLowered\n    BorderWidth = 4\n    Caption = 'Area'\n"
                        "    object Edit1: TButton\n"
                        "      Left = 0\n      Top = 0\n      Width = 10\n      Height = 10\n"
                        "      Align = alClient\n      Caption = 'OK'\n      Default = True\n"
                        "      ModalResult = 1\n    end\n"
                        "  end\n"
                        "  object Label1: TLabel\n"
                        "    Left = 5\n    Top = 80\n    Width = 3\n    Height = 3\n"
                        "    Caption = '&Area'\n    FocusControl = Edit1\n    Alignment = taCenter\n"
                        "  end\n"
                        "end\n",
                        "test.form");
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Edit1"));
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
  ASSERT_TRUE(panel && button && label);
  EXPECT_EQ(panel->BevelInner(), bvLowered);
  EXPECT_EQ(panel->Caption(), "Area");
  EXPECT_EQ(button->Parent(), panel);
  EXPECT_TRUE(button->Default());
  EXPECT_EQ(button->ModalResult(), mrOk);
  EXPECT_EQ(button->BoundsRect().left, 6);  // 1 + 4 + 1 inside the panel
  EXPECT_EQ(button->BoundsRect().bottom, 54);
  EXPECT_EQ(label->FocusControl(), button);
  EXPECT_EQ(label->Alignment(), taCenter);
  EXPECT_GT(label->Width(), 3);  // sized to its text once loaded
  // Written again, defaults are left out and set values kept.
  const std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("BorderWidth = 4"), std::string::npos) << text;
  EXPECT_NE(text.find("Default = True"), std::string::npos) << text;
  EXPECT_NE(text.find("FocusControl = Edit1"), std::string::npos) << text;
  EXPECT_EQ(text.find("TabStop"), std::string::npos) << text;
  EXPECT_EQ(text.find("BevelOuter"), std::string::npos) << text;
}

}  // namespace
}  // namespace host

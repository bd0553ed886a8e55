// Controls on the headless desktop: alignment, parent font and colour, windowless painting and
// hit testing, mouse events, focus and tab order, accelerators, window procedure hooks.
#include "host/controls/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

// A windowed box that fills itself with its colour.
class TBox : public TCustomControl {
  HOST_CLASS(TBox)
  explicit TBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 50, 40);
    SetTabStop(true);
  }
  std::vector<std::string> log;
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    RECT r = ClientRect();
    Canvas()->FillRect(r);
  }
};
HOST_DEFINE_CLASS(TBox, TCustomControl)

// A windowless spot painted in its colour; refuses hits in its right half when asked.
class TSpot : public TGraphicControl {
  HOST_CLASS(TSpot)
  explicit TSpot(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 20, 20);
    control_style_.Include(csOpaque);
  }
  bool left_half_only = false;
  std::string caption_key;
  int accelerated = 0;
  int entered = 0, left = 0;
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    RECT r = ClientRect();
    Canvas()->FillRect(r);
  }
  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case CM_HITTEST:
        m.Result = !left_half_only || GET_X_LPARAM(m.LParam) < Width() / 2;
        return;
      case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(m.WParam), Caption())) {
          ++accelerated;
          m.Result = 1;
        }
        return;
      case CM_MOUSEENTER: ++entered; return;
      case CM_MOUSELEAVE: ++left; return;
      default: TGraphicControl::Dispatch(m);
    }
  }
};
HOST_DEFINE_CLASS(TSpot, TGraphicControl)

class ControlsTest : public AppTest {
 protected:
  TForm* NewForm(int w = 300, int h = 200) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, w, h);
    return form;
  }
};

TEST_F(ControlsTest, AlignedControlsShareTheClientAreaInOrder) {
  TForm* form = NewForm();
  auto make = [&](TAlign a, int w, int h) {
    auto* b = new TBox(form);
    b->SetBounds(0, 0, w, h);
    b->SetParent(form);
    b->SetAlign(a);
    return b;
  };
  TBox* top = make(alTop, 10, 30);
  TBox* bottom = make(alBottom, 10, 20);
  TBox* left = make(alLeft, 40, 10);
  TBox* right = make(alRight, 25, 10);
  TBox* client = make(alClient, 1, 1);
  TBox* top2 = make(alTop, 10, 15);  // placed above... by its position: below the first top box
  auto rect = [](TControl* c) {
    RECT r = c->BoundsRect();
    return std::vector<int>{r.left, r.top, r.right, r.bottom};
  };
  EXPECT_EQ(rect(top), (std::vector<int>{0, 0, 300, 30}));
  EXPECT_EQ(rect(top2), (std::vector<int>{0, 30, 300, 45}));
  EXPECT_EQ(rect(bottom), (std::vector<int>{0, 180, 300, 200}));
  EXPECT_EQ(rect(left), (std::vector<int>{0, 45, 40, 180}));
  EXPECT_EQ(rect(right), (std::vector<int>{275, 45, 300, 180}));
  EXPECT_EQ(rect(client), (std::vector<int>{40, 45, 275, 180}));
  // Resizing the parent lays everything out again; hiding one gives its room away.
  form->SetBounds(10, 10, 200, 100);
  EXPECT_EQ(rect(client), (std::vector<int>{40, 45, 175, 80}));
  top->Hide();
  EXPECT_EQ(rect(top2), (std::vector<int>{0, 0, 200, 15}));
  EXPECT_EQ(rect(client), (std::vector<int>{40, 15, 175, 80}));
}

TEST_F(ControlsTest, ParentFontAndColourFlowDownUntilSetOwnValues) {
  TForm* form = NewForm();
  auto* panel = new TBox(form);
  panel->SetParent(form);
  auto* spot = new TSpot(form);
  spot->SetParent(panel);
  form->Font()->SetName("Arial");
  form->SetColor(clYellow);
  EXPECT_EQ(panel->Font()->Name(), "Arial");
  EXPECT_EQ(spot->Font()->Name(), "Arial");
  EXPECT_EQ(spot->Color(), clYellow);
  EXPECT_TRUE(spot->ParentFont());
  spot->Font()->SetSize(14);
  EXPECT_FALSE(spot->ParentFont());
  form->Font()->SetName("Courier New");
  EXPECT_EQ(panel->Font()->Name(), "Courier New");
  EXPECT_EQ(spot->Font()->Name(), "Arial");  // its own font now
  spot->SetParentFont(true);
  EXPECT_EQ(spot->Font()->Name(), "Courier New");
  spot->SetColor(clRed);
  form->SetColor(clLime);
  EXPECT_EQ(spot->Color(), clRed);
  EXPECT_EQ(panel->Color(), clLime);
}

TEST_F(ControlsTest, WindowlessControlsPaintInZOrderAndTakeTheMouse) {
  TForm* form = NewForm();
  form->SetColor(clWhite);
  auto* under = new TSpot(form);
  under->SetParent(form);
  under->SetBounds(10, 10, 40, 40);
  under->SetColor(clBlue);
  auto* over = new TSpot(form);
  over->SetParent(form);
  over->SetBounds(30, 30, 20, 20);
  over->SetColor(clRed);
  over->left_half_only = true;
  form->Show();
  const POINT o = form->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 15, o.y + 15), RGB(0, 0, 255));
  EXPECT_EQ(ScreenPixel(o.x + 40, o.y + 40), RGB(255, 0, 0));  // the later one lies on top
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 5), RGB(255, 255, 255));

  int under_clicks = 0, over_clicks = 0, form_clicks = 0;
  under->OnClick = [&](TObject*) { ++under_clicks; };
  over->OnClick = [&](TObject*) { ++over_clicks; };
  form->OnClick = [&](TObject*) { ++form_clicks; };
  std::vector<std::string> downs;
  over->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    downs.push_back(std::to_string(b) + "@" + std::to_string(x) + "," + std::to_string(y));
  };
  ClickOn(form, 35, 35);  // over's left half
  ClickOn(form, 45, 38);  // over's right half refuses: the one beneath gets it
  ClickOn(form, 100, 100);
  EXPECT_EQ(over_clicks, 1);
  EXPECT_EQ(under_clicks, 1);
  EXPECT_EQ(form_clicks, 1);
  EXPECT_EQ(downs, (std::vector<std::string>{"0@5,5"}));

  // Bringing the lower one to the front repaints it on top.
  under->BringToFront();
  EXPECT_EQ(ScreenPixel(o.x + 40, o.y + 40), RGB(0, 0, 255));
  // A click that starts on a control and ends elsewhere is no click.
  const POINT a = At(form, 15, 15);
  const POINT b = At(form, 150, 150);
  desktop::MouseDown(a.x, a.y);
  desktop::MoveMouse(b.x, b.y);
  desktop::MouseUp(b.x, b.y);
  desktop::Pump();
  EXPECT_EQ(under_clicks, 1);
  // Mouse entering and leaving.
  const int entered = under->entered;
  desktop::MoveMouse(a.x, a.y);
  desktop::Pump();
  desktop::MoveMouse(b.x, b.y);
  desktop::Pump();
  EXPECT_EQ(under->entered, entered + 1);
  EXPECT_GE(under->left, 1);
}

TEST_F(ControlsTest, CanvasOutsidePaintDrawsAtTheControlAndNoFurther) {
  TForm* form = NewForm();
  form->SetColor(clWhite);
  auto* spot = new TSpot(form);
  spot->SetParent(form);
  spot->SetBounds(50, 60, 10, 10);
  form->Show();
  desktop::Pump();
  spot->Canvas()->Brush()->SetColor(clGreen);
  RECT big{-100, -100, 100, 100};
  spot->Canvas()->FillRect(big);
  TControlCanvas::FreeDeviceContexts();
  const POINT o = form->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 50, o.y + 60), RGB(0, 128, 0));
  EXPECT_EQ(ScreenPixel(o.x + 59, o.y + 69), RGB(0, 128, 0));
  EXPECT_EQ(ScreenPixel(o.x + 60, o.y + 60), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(o.x + 49, o.y + 65), RGB(255, 255, 255));
}

TEST_F(ControlsTest, TabMovesFocusInTabOrderSkippingWhatCannotFocus) {
  TForm* form = NewForm();
  auto* a = new TBox(form);
  auto* b = new TBox(form);
  auto* c = new TBox(form);
  auto* d = new TBox(form);
  for (TBox* box : {a, b, c, d}) box->SetParent(form);
  c->SetTabOrder(0);  // c, a, b, d
  b->SetEnabled(false);
  std::vector<std::string> trail;
  for (auto [box, name] : {std::pair{a, "a"}, {b, "b"}, {c, "c"}, {d, "d"}}) {
    box->OnEnter = [&trail, n = std::string(name)](TObject*) { trail.push_back("enter " + n); };
    box->OnExit = [&trail, n = std::string(name)](TObject*) { trail.push_back("exit " + n); };
  }
  form->Show();
  desktop::Pump();
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(form->ActiveControl(), c);
  desktop::PressKey(VK_TAB);
  EXPECT_TRUE(a->Focused());
  desktop::PressKey(VK_TAB);
  EXPECT_TRUE(d->Focused());  // b is disabled
  desktop::PressKey(VK_TAB);
  EXPECT_TRUE(c->Focused());  // round again
  display::Event shift;
  shift.kind = display::EventKind::KeyDown;
  shift.vk = VK_SHIFT;
  desktop::Inject(shift);
  desktop::PressKey(VK_TAB);
  shift.kind = display::EventKind::KeyUp;
  desktop::Inject(shift);
  desktop::Pump();
  EXPECT_TRUE(d->Focused());
  EXPECT_EQ(trail, (std::vector<std::string>{"enter c", "exit c", "enter a", "exit a", "enter d", "exit d",
                                             "enter c", "exit c", "enter d"}));
}

TEST_F(ControlsTest, AcceleratorsReachWindowlessControls) {
  TForm* form = NewForm();
  auto* box = new TBox(form);
  box->SetParent(form);
  auto* label = new TSpot(form);
  label->SetParent(form);
  label->SetCaption("&Name");
  form->Show();
  desktop::Pump();
  ASSERT_TRUE(box->Focused());
  desktop::TypeText("x");  // a plain letter the focused control does not want
  EXPECT_EQ(label->accelerated, 0);
  desktop::TypeText("n");
  EXPECT_EQ(label->accelerated, 1);
  EXPECT_TRUE(IsAccel('N', "&Name"));
  EXPECT_FALSE(IsAccel('N', "&&Name"));
  EXPECT_TRUE(IsAccel('a', "&&N&ame"));
}

TEST_F(ControlsTest, HooksInstalledOnTheWindowRunBeforeTheControl) {
  TForm* form = NewForm();
  auto* box = new TBox(form);
  box->SetParent(form);
  form->Show();
  desktop::Pump();
  std::vector<std::string> order;
  box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { order.push_back("control"); };
  HWND h = box->Handle();
  WNDPROC previous = SetWindowProc(h, [&](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_LBUTTONDOWN) order.push_back("hook");
    return CallWindowProc(previous, hwnd, msg, wp, lp);
  });
  ClickOn(box, 5, 5);
  EXPECT_EQ(order, (std::vector<std::string>{"hook", "control"}));
  // A bound method works as a window procedure of its own.
  int seen = 0;
  WNDPROC stub = MakeObjectInstance([&](TMessage& m) {
    if (m.Msg == WM_USER + 7) {
      ++seen;
      m.Result = 42;
    }
  });
  EXPECT_EQ(stub(h, WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(seen, 1);
  FreeObjectInstance(stub);
  EXPECT_FALSE(stub);
  SetWindowProc(h, previous);
}

TEST_F(ControlsTest, RecreatingTheWindowKeepsTextAndChildren) {
  TForm* form = NewForm();
  auto* box = new TBox(form);
  box->SetParent(form);
  auto* inner = new TBox(form);
  inner->SetParent(box);
  inner->SetBounds(5, 5, 10, 10);
  form->SetCaption("Hello");
  form->Show();
  desktop::Pump();
  HWND before = form->Handle();
  form->SetBorderStyle(bsDialog);
  EXPECT_NE(form->Handle(), before);
  char text[32] = {};
  GetWindowText(form->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Hello");
  EXPECT_TRUE(inner->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(inner->Handle()));
  EXPECT_EQ(GetParent(inner->Handle()), box->Handle());
}

}  // namespace
}  // namespace host

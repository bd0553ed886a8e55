// Scroll box, tab set, notebook and tabbed notebook on the headless desktop: scroll bars that
// follow the children, tab changes that can be refused, pages that keep their controls, stored
// notebooks, the look of the tabs.
#include "host/extctrls/pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "support/app.h"
#include "support/testdata.h"

namespace host {
namespace {

using testing_app::AppTest;

// A windowed box that fills itself with its colour.
class TPagesBox : public TCustomControl {
  HOST_CLASS(TPagesBox)
  explicit TPagesBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 30, 30);
    SetTabStop(true);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    RECT r = ClientRect();
    Canvas()->FillRect(r);
  }
};
HOST_PUBLISHED(TPagesBox, TCustomControl) { HOST_COLOR_PROP(Color); }

class TNbForm : public TForm {
  HOST_CLASS(TNbForm)
  explicit TNbForm(TComponent* owner) : TForm(owner) {}
  TNotebook* NB = nullptr;
  TTabSet* Tabs1 = nullptr;
  TPagesBox* Box1 = nullptr;
};
HOST_PUBLISHED(TNbForm, TForm) {
  HOST_FIELD(NB);
  HOST_FIELD(Tabs1);
  HOST_FIELD(Box1);
}

class PagesTest : public AppTest {
 protected:
  static void SetUpTestSuite() {
    AppTest::SetUpTestSuite();
    static bool registered = false;
    if (!registered) {
      RegisterPageControls();
      RegisterClasses({TPagesBox::StaticClass(), TNbForm::StaticClass()});
      registered = true;
    }
  }
  TForm* NewForm(int w = 320, int h = 240) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, w, h);
    return form;
  }
  static void Key(display::EventKind kind, int vk) {
    display::Event e;
    e.kind = kind;
    e.vk = vk;
    desktop::Inject(e);
  }
  static std::string Err(const std::function<void()>& f) {
    try {
      f();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no error)";
  }
};

// ---- Scroll box -----------------------------------------------------------------------------

TEST_F(PagesTest, ScrollBoxBarsFollowAChildLeavingAndReturning) {
  TForm* form = NewForm();
  auto* box = new TScrollBox(form);
  box->SetParent(form);
  box->SetBorderStyle(bsNone);
  box->SetBounds(0, 0, 100, 80);
  auto* child = new TPagesBox(form);
  child->SetParent(box);
  child->SetBounds(10, 10, 30, 30);
  form->Show();
  desktop::Pump();
  const int sb = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(box->ClientWidth(), 100);

  child->SetLeft(150);  // right edge 180: wider than 100
  EXPECT_EQ(box->HorzScrollBar()->Range(), 180);
  EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_NE(GetWindowLong(box->Handle(), GWL_STYLE) & WS_HSCROLL, 0);
  EXPECT_EQ(box->ClientHeight(), 80 - GetSystemMetrics(SM_CYHSCROLL));

  // Down to 70 high: fits 80, but not what is left above the horizontal bar.
  child->SetBounds(150, 25, 30, 45);
  EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(box->ClientWidth(), 100 - sb);

  child->SetBounds(10, 10, 30, 30);
  EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(GetWindowLong(box->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
  EXPECT_EQ(box->ClientWidth(), 100);

  // Without AutoScroll nothing follows the children.
  box->SetAutoScroll(false);
  child->SetLeft(300);
  EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
  box->HorzScrollBar()->SetRange(500);
  EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
  form->Free();
}

TEST_F(PagesTest, ScrollBoxScrollingMovesChildrenByTheScrolledAmount) {
  TForm* form = NewForm();
  auto* box = new TScrollBox(form);
  box->SetParent(form);
  box->SetBounds(0, 0, 120, 100);  // sunken edge: client 116 x 96
  auto* far = new TPagesBox(form);
  far->SetParent(box);
  far->SetBounds(200, 5, 40, 20);
  auto* near = new TPagesBox(form);
  near->SetParent(box);
  near->SetBounds(5, 5, 20, 20);
  form->Show();
  desktop::Pump();
  ASSERT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(box->ClientWidth(), 116);

  box->HorzScrollBar()->SetPosition(30);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 30);
  EXPECT_EQ(far->Left(), 170);
  EXPECT_EQ(near->Left(), -25);
  EXPECT_EQ(box->HorzScrollBar()->Range(), 240);  // unchanged by scrolling

  box->Perform(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 38);
  EXPECT_EQ(far->Left(), 162);
  box->Perform(WM_HSCROLL, SB_BOTTOM);  // no further than the far edge allows
  EXPECT_EQ(box->HorzScrollBar()->Position(), 240 - 116);
  EXPECT_EQ(far->Left() + far->Width(), 116);
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_HORZ), 240 - 116);
  box->Perform(WM_HSCROLL, SB_PAGELEFT);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 8);
  box->Perform(WM_HSCROLL, SB_LINELEFT);
  box->Perform(WM_HSCROLL, SB_LINELEFT);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 0);
  EXPECT_EQ(far->Left(), 200);
  EXPECT_EQ(near->Left(), 5);

  // The focused child far right is scrolled into view.
  box->ScrollInView(far);
  EXPECT_EQ(far->Left() + far->Width(), 116);
  box->ScrollInView(near);
  EXPECT_EQ(near->Left(), 0);

  // The pixels follow too: the far box shows at its scrolled place.
  far->SetColor(clRed);
  box->HorzScrollBar()->SetPosition(100);
  const POINT o = box->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 105, o.y + 10), RGB(255, 0, 0));
  form->Free();
}

TEST_F(PagesTest, ScrollBoxRefusesBadSettings) {
  TForm* form = NewForm();
  auto* box = new TScrollBox(form);
  box->SetName("Box");
  EXPECT_EQ(Err([&] { box->SetBorderStyle(bsSizeable); }), "Scroll box Box: border style must be bsNone or bsSingle");
  EXPECT_EQ(Err([&] { box->HorzScrollBar()->SetRange(-1); }), "Scroll range -1 is negative");
  EXPECT_EQ(Err([&] { box->VertScrollBar()->SetIncrement(0); }), "Scroll increment 0 is less than 1");
  EXPECT_EQ(box->Width(), 185);
  EXPECT_EQ(box->Height(), 41);
  form->Free();
}

// ---- Tab set --------------------------------------------------------------------------------

class TabSetTest : public PagesTest {
 protected:
  TTabSet* MakeTabs(TForm* form, std::initializer_list<const char*> names, int width = 300) {
    auto* tabs = new TTabSet(form);
    tabs->SetParent(form);
    tabs->SetBounds(10, 50, width, 25);
    for (const char* n : names) tabs->Tabs()->Add(n);
    return tabs;
  }
  // A point in the middle of a tab, half way down.
  static POINT Middle(TTabSet* tabs, int index) {
    const RECT r = tabs->ItemRect(index);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

TEST_F(TabSetTest, ClickAsksOnChangeFirstAndARefusalKeepsTheTab) {
  TForm* form = NewForm();
  TTabSet* tabs = MakeTabs(form, {"One", "Two", "Three"});
  tabs->SetTabIndex(0);
  std::vector<std::string> log;
  bool allow = true;
  tabs->OnChange = [&](TObject* sender, int32_t new_tab, bool& allow_change) {
    EXPECT_EQ(sender, tabs);
    log.push_back("change " + std::to_string(new_tab) + " from " + std::to_string(tabs->TabIndex()));
    allow_change = allow;
  };
  tabs->OnClick = [&](TObject*) { log.push_back("click " + std::to_string(tabs->TabIndex())); };
  form->Show();
  desktop::Pump();

  POINT p = Middle(tabs, 2);
  ClickOn(tabs, p.x, p.y);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"change 2 from 0", "click 2"}));
  EXPECT_TRUE(tabs->Focused());

  log.clear();
  allow = false;
  p = Middle(tabs, 1);
  ClickOn(tabs, p.x, p.y);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"change 1 from 2"}));

  // The keys move while focused; a refusal holds them too.
  log.clear();
  desktop::PressKey(VK_LEFT);
  EXPECT_EQ(tabs->TabIndex(), 2);
  allow = true;
  desktop::PressKey(VK_LEFT);
  EXPECT_EQ(tabs->TabIndex(), 1);
  desktop::PressKey(VK_RIGHT);
  desktop::PressKey(VK_RIGHT);  // already the last: stays
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"change 1 from 2", "change 1 from 2", "click 1", "change 2 from 1",
                                           "click 2"}));
  // A click beside the tabs changes nothing.
  log.clear();
  ClickOn(tabs, 295, 20);
  EXPECT_TRUE(log.empty());
  form->Free();
}

TEST_F(TabSetTest, TabIndexSetBeforeShowingIsKeptAndBadIndexesAreRefused) {
  TForm* form = NewForm();
  TTabSet* tabs = MakeTabs(form, {"A", "B", "C"});
  tabs->SetName("Tabs");
  tabs->SetTabIndex(1);
  EXPECT_FALSE(tabs->HandleAllocated());
  form->Show();
  desktop::Pump();
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(Err([&] { tabs->SetTabIndex(3); }), "Tab set Tabs: tab index 3 is out of range (3 tabs)");
  EXPECT_EQ(Err([&] { tabs->SetTabIndex(-2); }), "Tab set Tabs: tab index -2 is out of range (3 tabs)");
  // Deleting the selected last tab moves the selection back.
  tabs->SetTabIndex(2);
  tabs->Tabs()->Delete(2);
  EXPECT_EQ(tabs->TabIndex(), 1);
  tabs->Tabs()->Clear();
  EXPECT_EQ(tabs->TabIndex(), -1);
  form->Free();
}

TEST_F(TabSetTest, OverflowingTabsGetScrollButtons) {
  TForm* form = NewForm();
  TTabSet* tabs = MakeTabs(form, {"January", "February", "March", "April", "May", "June", "July"}, 200);
  form->Show();
  desktop::Pump();
  ASSERT_TRUE(tabs->ScrollButtonsShown());
  const int shown = tabs->VisibleTabs();
  EXPECT_GT(shown, 0);
  EXPECT_LT(shown, 7);
  const RECT right = tabs->ScrollButtonRect(true);
  const RECT left = tabs->ScrollButtonRect(false);
  EXPECT_EQ(right.right, 200 - tabs->EndMargin());
  EXPECT_EQ(left.right, right.left);
  // No shown tab reaches under the buttons.
  const RECT last = tabs->ItemRect(shown - 1);
  EXPECT_LE(last.right, left.left);

  ClickOn(tabs, (left.left + left.right) / 2, (left.top + left.bottom) / 2);  // nothing before the first
  EXPECT_EQ(tabs->FirstIndex(), 0);
  ClickOn(tabs, (right.left + right.right) / 2, (right.top + right.bottom) / 2);
  EXPECT_EQ(tabs->FirstIndex(), 1);
  EXPECT_EQ(tabs->TabIndex(), -1);  // scrolling does not select
  for (int i = 0; i < 10; ++i) ClickOn(tabs, (right.left + right.right) / 2, (right.top + right.bottom) / 2);
  EXPECT_EQ(tabs->FirstIndex() + tabs->VisibleTabs(), 7);  // stops when the last tab shows
  ClickOn(tabs, (left.left + left.right) / 2, (left.top + left.bottom) / 2);
  EXPECT_EQ(tabs->FirstIndex() + tabs->VisibleTabs(), 6);

  // Selecting a hidden tab scrolls it into view.
  tabs->SetTabIndex(0);
  EXPECT_EQ(tabs->FirstIndex(), 0);
  tabs->SetTabIndex(6);
  EXPECT_EQ(tabs->FirstIndex() + tabs->VisibleTabs(), 7);

  // Wide enough: no buttons; without AutoScroll none either.
  tabs->SetWidth(900);
  tabs->SetFirstIndex(0);
  EXPECT_FALSE(tabs->ScrollButtonsShown());
  tabs->SetWidth(200);
  tabs->SetAutoScroll(false);
  EXPECT_FALSE(tabs->ScrollButtonsShown());
  form->Free();
}

TEST_F(TabSetTest, TheSelectedTabJoinsTheLineAbove) {
  TForm* form = NewForm();
  TTabSet* tabs = MakeTabs(form, {"Alpha", "Beta", "Gamma"});
  tabs->SetTabIndex(1);
  form->Show();
  desktop::Pump();
  const POINT o = tabs->ClientOrigin();
  const RECT sel = tabs->ItemRect(1);
  const RECT other = tabs->ItemRect(0);
  const int h = tabs->TabHeight();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  const COLORREF black = RGB(0, 0, 0);
  // The top line: black before the tabs, black over the unselected tab, the tab's own colour
  // across the selected one except its two corners.
  EXPECT_EQ(ScreenPixel(o.x + 1, o.y), black);
  EXPECT_EQ(ScreenPixel(o.x + (other.left + other.right) / 2, o.y), black);
  EXPECT_EQ(ScreenPixel(o.x + sel.left, o.y), black);
  EXPECT_EQ(ScreenPixel(o.x + sel.right - 1, o.y), black);
  for (int x = sel.left + 2; x < sel.right - 2; x += 3) {
    ASSERT_EQ(ScreenPixel(o.x + x, o.y), face) << "x " << x;
  }
  EXPECT_EQ(ScreenPixel(o.x + tabs->ClientWidth() - 2, o.y), black);
  // The bottom edges are black, the fills are the selected and unselected colours.
  EXPECT_EQ(ScreenPixel(o.x + (sel.left + sel.right) / 2, o.y + h), black);
  EXPECT_EQ(ScreenPixel(o.x + (sel.left + sel.right) / 2, o.y + 2), face);
  EXPECT_EQ(ScreenPixel(o.x + other.left + h / 2 + 3, o.y + 2), window);
  // Below the tabs the background is dithered face and highlight.
  const COLORREF a = ScreenPixel(o.x + 2, o.y + h + 2);
  const COLORREF b = ScreenPixel(o.x + 3, o.y + h + 2);
  EXPECT_NE(a, b);
  EXPECT_TRUE((a == face && b == RGB(255, 255, 255)) || (b == face && a == RGB(255, 255, 255)));
  tabs->SetDitherBackground(false);
  EXPECT_EQ(ScreenPixel(o.x + 2, o.y + h + 2), face);
  EXPECT_EQ(ScreenPixel(o.x + 3, o.y + h + 2), face);
  form->Free();
}

// ---- Notebook -------------------------------------------------------------------------------

TEST_F(PagesTest, NotebookPagesKeepTheirChildrenAndState) {
  TForm* form = NewForm();
  auto* nb = new TNotebook(form);
  nb->SetName("NB");
  nb->SetParent(form);
  nb->SetBounds(0, 0, 200, 150);
  EXPECT_EQ(nb->PageCount(), 1);
  EXPECT_EQ(nb->ActivePage(), "Default");
  nb->Pages()->Clear();
  EXPECT_EQ(nb->PageIndex(), -1);
  nb->Pages()->Add("First");
  nb->Pages()->Add("Second");
  EXPECT_EQ(nb->PageIndex(), 0);
  auto* tabs = new TTabSet(form);
  tabs->SetParent(nb->Page(1));
  tabs->Tabs()->Add("x");
  tabs->Tabs()->Add("y");
  tabs->SetTabIndex(1);
  auto* box = new TPagesBox(form);
  box->SetParent(nb->Page(0));
  box->SetColor(clRed);
  std::vector<std::string> log;
  nb->OnPageChanged = [&](TObject*) { log.push_back(nb->ActivePage()); };
  form->Show();
  desktop::Pump();
  const POINT o = nb->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 5), RGB(255, 0, 0));
  EXPECT_TRUE(box->Showing());
  EXPECT_FALSE(tabs->Showing());
  EXPECT_EQ(nb->Page(0)->BoundsRect().right, 200);  // pages fill the notebook

  nb->SetActivePage("Second");
  EXPECT_EQ(nb->PageIndex(), 1);
  EXPECT_FALSE(box->Showing());
  EXPECT_TRUE(tabs->Showing());
  EXPECT_NE(ScreenPixel(o.x + 5, o.y + 5), RGB(255, 0, 0));
  nb->SetPageIndex(0);
  EXPECT_TRUE(box->Showing());
  EXPECT_EQ(box->Color(), clRed);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(tabs->Parent(), nb->Page(1));
  EXPECT_EQ(log, (std::vector<std::string>{"Second", "First"}));

  // Focus leaves a page that is turned away.
  box->SetFocus();
  nb->SetPageIndex(1);
  EXPECT_TRUE(tabs->Focused());

  EXPECT_EQ(Err([&] { nb->SetPageIndex(2); }), "Notebook NB: page index 2 is out of range (2 pages)");
  EXPECT_EQ(Err([&] { nb->SetActivePage("Third"); }), "Notebook NB has no page 'Third'");
  EXPECT_EQ(Err([&] { nb->Pages()->Delete(5); }), "List index out of bounds (5)");
  // Deleting a page frees its controls; the active page stays the same page.
  nb->SetPageIndex(1);
  nb->Pages()->Delete(0);
  EXPECT_EQ(nb->ActivePage(), "Second");
  EXPECT_EQ(nb->PageIndex(), 0);
  EXPECT_EQ(form->FindComponent(""), nullptr);
  form->Free();
}

const char* kNotebookForm = R"(object NbForm: TNbForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientWidth = 300
  ClientHeight = 200
  object NB: TNotebook
    Left = 10
    Top = 10
    Width = 200
    Height = 150
    ActivePage = 'Two'
    object TPage
      Caption = 'One'
      object Box1: TPagesBox
        Left = 5
        Top = 6
        Width = 30
        Height = 30
        Color = clLime
      end
    end
    object TPage
      Caption = 'Two'
      object Tabs1: TTabSet
        Left = 0
        Top = 0
        Width = 185
        Height = 21
        Tabs.Strings = (
          'a'
          'b'
          'c')
        TabIndex = 2
      end
    end
  end
end
)";

TEST_F(PagesTest, NotebookReadFromAFormKeepsPagesAndChildrenAndWritesThemBack) {
  auto* form = static_cast<TNbForm*>(CreateComponentFromText(kNotebookForm, "nb.form", Application()));
  ASSERT_NE(form->NB, nullptr);
  ASSERT_NE(form->Box1, nullptr);
  ASSERT_NE(form->Tabs1, nullptr);
  TNotebook* nb = form->NB;
  EXPECT_EQ(nb->PageCount(), 2);
  EXPECT_EQ(nb->Pages()->Strings(0), "One");
  EXPECT_EQ(nb->Pages()->Strings(1), "Two");
  EXPECT_EQ(nb->ActivePage(), "Two");
  EXPECT_EQ(form->Box1->Parent(), nb->Page(0));
  EXPECT_EQ(form->Box1->Owner(), form);
  EXPECT_EQ(nb->Page(0)->Owner(), nb);
  EXPECT_EQ(form->Tabs1->TabIndex(), 2);
  EXPECT_FALSE(nb->Page(0)->Visible());
  EXPECT_TRUE(nb->Page(1)->Visible());

  const std::string written = WriteComponentToText(form);
  EXPECT_NE(written.find("    object TPage\n      Caption = 'One'\n      object Box1: TPagesBox"), std::string::npos)
      << written;
  EXPECT_EQ(written.find("Pages."), std::string::npos) << written;
  EXPECT_EQ(written.find("PageIndex"), std::string::npos) << written;
  form->Free();
  auto* again = static_cast<TNbForm*>(CreateComponentFromText(written, "again.form", Application()));
  EXPECT_EQ(again->NB->PageCount(), 2);
  EXPECT_EQ(again->Box1->Parent(), again->NB->Page(0));
  EXPECT_EQ(again->Box1->Color(), clLime);
  EXPECT_EQ(WriteComponentToText(again), written);
  again->Free();

  // A stored active page that no page has is named in the error.
  std::string bad = kNotebookForm;
  bad.replace(bad.find("'Two'\n    object"), 5, "'Six'");
  EXPECT_EQ(Err([&] { CreateComponentFromText(bad, "bad.form", Application()); }).find("Notebook NB has no page 'Six'") !=
                std::string::npos,
            true);
}

// ---- Tabbed notebook ------------------------------------------------------------------------

TEST_F(PagesTest, TabbedNotebookTurnsPagesByClickAndCtrlTab) {
  TForm* form = NewForm();
  auto* tn = new TTabbedNotebook(form);
  tn->SetParent(form);
  tn->SetBounds(10, 10, 280, 200);
  tn->Pages()->Clear();
  tn->Pages()->Add("General");
  tn->Pages()->Add("View");
  tn->Pages()->Add("Extras");
  EXPECT_TRUE(tn->Page(0)->InheritsFrom(TTabPage::StaticClass()));
  auto* edit0 = new TPagesBox(form);
  edit0->SetParent(tn->Page(0));
  auto* edit1 = new TPagesBox(form);
  edit1->SetParent(tn->Page(1));
  std::vector<std::string> log;
  bool allow = true;
  tn->OnChange = [&](TObject*, int32_t new_tab, bool& allow_change) {
    log.push_back("change " + std::to_string(new_tab));
    allow_change = allow;
  };
  form->Show();
  desktop::Pump();
  // The pages sit inside the raised frame under the tab row.
  const RECT page = tn->Page(0)->BoundsRect();
  EXPECT_EQ(page.top, tn->TabRowHeight() + 4);
  EXPECT_EQ(page.left, 4);

  RECT r = tn->TabRect(2);
  ClickOn(tn, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(tn->PageIndex(), 2);
  allow = false;
  r = tn->TabRect(0);
  ClickOn(tn, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(tn->PageIndex(), 2);
  allow = true;
  EXPECT_EQ(log, (std::vector<std::string>{"change 2", "change 0"}));

  // Ctrl+Tab from a control on a page turns forward (wrapping), Ctrl+Shift+Tab back.
  tn->SetPageIndex(0);
  edit0->SetFocus();
  log.clear();
  Key(display::EventKind::KeyDown, VK_CONTROL);
  desktop::PressKey(VK_TAB);
  EXPECT_EQ(tn->PageIndex(), 1);
  EXPECT_TRUE(edit1->Focused());
  desktop::PressKey(VK_TAB);
  desktop::PressKey(VK_TAB);
  EXPECT_EQ(tn->PageIndex(), 0);
  Key(display::EventKind::KeyDown, VK_SHIFT);
  desktop::PressKey(VK_TAB);
  EXPECT_EQ(tn->PageIndex(), 2);
  Key(display::EventKind::KeyUp, VK_SHIFT);
  Key(display::EventKind::KeyUp, VK_CONTROL);
  desktop::Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"change 1", "change 2", "change 0", "change 2"}));
  // A plain Tab still moves the focus.
  edit0->SetParent(tn->Page(2));
  edit0->SetFocus();
  desktop::PressKey(VK_TAB);
  EXPECT_EQ(tn->PageIndex(), 2);

  // The selected tab stands out and joins its page: no frame line under it.
  const POINT o = tn->ClientOrigin();
  const RECT sel = tn->TabRect(2);
  const int row = tn->TabRowHeight();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(sel.top, 0);
  EXPECT_EQ(ScreenPixel(o.x + (sel.left + sel.right) / 2, o.y + row), face);
  EXPECT_EQ(ScreenPixel(o.x + (sel.left + sel.right) / 2, o.y + row + 1), face);
  const RECT other = tn->TabRect(0);
  EXPECT_EQ(ScreenPixel(o.x + (other.left + other.right) / 2, o.y + row + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  form->Free();
}

// ---- Gallery --------------------------------------------------------------------------------

TEST_F(PagesTest, Gallery) {
  TForm* form = NewForm(620, 440);
  form->SetColor(clBtnFace);
  auto* box = new TScrollBox(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 180, 120);
  for (int i = 0; i < 3; ++i) {
    auto* b = new TPagesBox(form);
    b->SetParent(box);
    b->SetBounds(10 + i * 90, 10 + i * 60, 60, 40);
    b->SetColor(i == 0 ? clTeal : i == 1 ? clNavy : clMaroon);
  }
  auto* plain = new TScrollBox(form);
  plain->SetParent(form);
  plain->SetBounds(200, 10, 120, 120);

  auto* nb = new TNotebook(form);
  nb->SetParent(form);
  nb->SetBounds(10, 150, 300, 100);
  nb->SetColor(clWindow);
  auto* tabs = new TTabSet(form);
  tabs->SetParent(form);
  tabs->SetBounds(10, 250, 300, 22);
  for (const char* n : {"Summary", "Details", "Notes", "History"}) tabs->Tabs()->Add(n);
  tabs->SetTabIndex(1);
  auto* many = new TTabSet(form);
  many->SetParent(form);
  many->SetBounds(10, 290, 300, 22);
  for (const char* n : {"January", "February", "March", "April", "May", "June"}) many->Tabs()->Add(n);
  many->SetTabIndex(0);
  auto* off = new TTabSet(form);
  off->SetParent(form);
  off->SetBounds(10, 330, 300, 22);
  for (const char* n : {"Disabled", "Tabs"}) off->Tabs()->Add(n);
  off->SetTabIndex(0);
  off->SetEnabled(false);

  auto* tn = new TTabbedNotebook(form);
  tn->SetParent(form);
  tn->SetBounds(330, 10, 280, 200);
  tn->Pages()->Clear();
  for (const char* n : {"General", "View", "Extras"}) tn->Pages()->Add(n);
  tn->SetPageIndex(1);
  auto* inner = new TScrollBox(form);
  inner->SetParent(tn->Page(1));
  inner->SetBounds(10, 10, 150, 80);
  form->Show();
  many->SetFocus();
  desktop::Pump();
  const auto dir = testsupport::OutputDir().parent_path() / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveScreen((dir / "pages.png").string(), &error)) << error;
  form->Free();
}

}  // namespace
}  // namespace host

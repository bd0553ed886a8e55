// The form display: forms shown as borderless children inside the bevel, detached or freed
// when another is shown, found by name, forgotten when freed elsewhere, never freed when the
// display goes, and the focus handed on to the shown form.
#include "library/foundation/formdisplay.h"

#include <gtest/gtest.h>

#include <string>

#include "host/classes/filer.h"
#include "host/classes/typinfo.h"
#include "host/forms/forms.h"
#include "host/graphics/color.h"
#include "host/stdctrls/edits.h"
#include "library/foundation/application.h"
#include "platform/win32.h"
#include "support/app.h"

namespace zyr {
namespace {

// Tells when it is freed.
class TWatchedForm : public host::TForm {
 public:
  TWatchedForm(TComponent* owner, bool* freed) : host::TForm(owner), freed_(freed) { *freed_ = false; }
  ~TWatchedForm() override { *freed_ = true; }

 private:
  bool* freed_;
};

class FormDisplayTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    InitLibrary();
    host_ = host::New<host::TForm>(host::Application());
    host_->SetName("HostForm");
    host_->SetBorderStyle(host::bsNone);
    host_->SetBounds(20, 20, 300, 220);
    display_ = new TZYRFormDisplay(host_);
    display_->SetParent(host_);
    display_->SetBounds(10, 10, 200, 150);
    host_->Show();
    desktop::Pump();
  }
  void TearDown() override {
    DoneLibrary();
    AppTest::TearDown();
  }
  host::TForm* NewPage(const std::string& name, TComponent* owner = host::Application()) {
    auto* page = host::New<host::TForm>(owner);
    page->SetName(name);
    return page;
  }
  RECT Inner() const {
    const int e = display_->Bevel()->BevelExtent();
    return {e, e, display_->Width() - e, display_->Height() - e};
  }

  host::TForm* host_ = nullptr;
  TZYRFormDisplay* display_ = nullptr;
};

TEST_F(FormDisplayTest, ShowFormEmbedsABorderlessChildAtTheInnerRectangle) {
  display_->Bevel()->SetStyleOuter(bvRaised);
  display_->Bevel()->SetWidthOuter(3);
  ASSERT_GT(display_->Bevel()->BevelExtent(), 0);
  host::TForm* page = NewPage("PageA");
  page->SetBounds(300, 300, 50, 40);

  EXPECT_TRUE(display_->ShowForm(page));
  EXPECT_EQ(display_->Form(), page);
  EXPECT_EQ(display_->FormName(), "PageA");
  EXPECT_EQ(page->Parent(), display_);
  EXPECT_TRUE(page->Embedded());
  EXPECT_TRUE(page->Visible());
  EXPECT_EQ(page->BoundsRect(), Inner());
  const HWND window = page->Handle();
  EXPECT_EQ(GetParent(window), display_->Handle());
  EXPECT_EQ(GetWindowLong(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE), static_cast<LONG_PTR>(WS_CHILD));
  EXPECT_EQ(GetWindowLong(window, GWL_EXSTYLE), 0);
  EXPECT_TRUE(IsWindowVisible(window));

  // The same form again changes nothing.
  EXPECT_FALSE(display_->ShowForm(page));
  EXPECT_EQ(display_->Form(), page);
  EXPECT_EQ(GetParent(window), display_->Handle());

  // Nothing to show: the message says so, and the shown form stays.
  try {
    display_->ShowForm(nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const host::Exception& e) {
    EXPECT_STREQ(e.what(), "TZYRFormDisplay: Form not instanced!");
  }
  EXPECT_EQ(display_->Form(), page);

  // The form that holds the display cannot be shown inside it.
  try {
    display_->ShowForm(host_);
    ADD_FAILURE() << "no exception";
  } catch (const host::Exception& e) {
    EXPECT_NE(std::string(e.what()).find("'HostForm' holds the display"), std::string::npos) << e.what();
  }
  EXPECT_EQ(display_->Form(), page);
  EXPECT_EQ(host_->Parent(), nullptr);
}

TEST_F(FormDisplayTest, NextFormDetachesForeignFormsAndFreesOwnedOnes) {
  bool a_freed = false, b_freed = false;
  auto* a = host::New<TWatchedForm>(host::Application(), &a_freed);
  auto* b = host::New<TWatchedForm>(display_, &b_freed);
  host::TForm* c = NewPage("PageC");

  ASSERT_TRUE(display_->ShowForm(a));
  // a belongs to the application: the caller may still use it, so it is only detached.
  ASSERT_TRUE(display_->ShowForm(b));
  EXPECT_FALSE(a_freed);
  EXPECT_FALSE(a->Visible());
  EXPECT_EQ(a->Parent(), display_);
  EXPECT_EQ(display_->Form(), b);
  // b belongs to the display: showing another frees it.
  ASSERT_TRUE(display_->ShowForm(c));
  EXPECT_TRUE(b_freed);
  EXPECT_EQ(display_->Form(), c);
  EXPECT_EQ(display_->FormName(), "PageC");
  // a shows again, where it belongs.
  ASSERT_TRUE(display_->ShowForm(a));
  EXPECT_TRUE(a->Visible());
  EXPECT_EQ(a->BoundsRect(), Inner());
  EXPECT_FALSE(c->Visible());
}

TEST_F(FormDisplayTest, BlankFormNameReleasesTheShownForm) {
  for (const std::string blank : {"", "   "}) {
    bool freed = false;
    auto* page = host::New<TWatchedForm>(host::Application(), &freed);
    page->SetName("Page");
    ASSERT_TRUE(display_->ShowForm(page));
    display_->SetFormName(blank);
    EXPECT_TRUE(freed) << "'" << blank << "'";
    EXPECT_EQ(display_->Form(), nullptr);
    EXPECT_EQ(display_->FormName(), "");
  }
  // Releasing an empty display is harmless.
  display_->ReleaseForm();
  EXPECT_EQ(display_->Form(), nullptr);
}

TEST_F(FormDisplayTest, RemoveFormKeepsTheFormHiddenInsideTheDisplay) {
  host::TForm* page = NewPage("PageA");
  ASSERT_TRUE(display_->ShowForm(page));
  page->SetAlign(host::alClient);
  display_->RemoveForm();
  EXPECT_EQ(display_->Form(), nullptr);
  EXPECT_EQ(display_->FormName(), "");
  EXPECT_FALSE(page->Visible());
  EXPECT_EQ(page->Parent(), display_);
  EXPECT_EQ(page->Align(), host::alNone);
  EXPECT_TRUE(page->HandleAllocated()) << "SaveResources is off";
  // Nothing shown: removing again does nothing.
  display_->RemoveForm();

  // The display changed meanwhile; the form comes back at the new inner rectangle.
  display_->SetBounds(0, 0, 150, 90);
  EXPECT_TRUE(display_->ShowForm(page));
  EXPECT_TRUE(page->Visible());
  EXPECT_EQ(page->BoundsRect(), (RECT{0, 0, 150, 90}));
}

TEST_F(FormDisplayTest, SaveResourcesFreesTheDetachedFormsWindow) {
  EXPECT_FALSE(display_->SaveResources());
  display_->SetSaveResources(true);
  host::TForm* page = NewPage("PageA");
  auto* edit = new host::TEdit(page);
  edit->SetParent(page);
  ASSERT_TRUE(display_->ShowForm(page));
  const HWND old_window = page->Handle();
  const HWND old_edit = edit->Handle();
  display_->RemoveForm();
  EXPECT_FALSE(page->HandleAllocated());
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_FALSE(IsWindow(old_window));
  EXPECT_FALSE(IsWindow(old_edit));
  EXPECT_EQ(page->Parent(), display_);
  // Shown again, the window is made again as a child of the display.
  ASSERT_TRUE(display_->ShowForm(page));
  ASSERT_TRUE(page->HandleAllocated());
  EXPECT_EQ(GetParent(page->Handle()), display_->Handle());
  EXPECT_TRUE(IsWindowVisible(page->Handle()));
}

TEST_F(FormDisplayTest, ResizeAndBevelChangesMoveTheShownForm) {
  host::TForm* page = NewPage("PageA");
  ASSERT_TRUE(display_->ShowForm(page));
  EXPECT_EQ(page->BoundsRect(), (RECT{0, 0, 200, 150}));
  int resizes = 0;
  display_->OnResize = [&](host::TObject*) { ++resizes; };
  display_->SetBounds(5, 5, 160, 120);
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(page->BoundsRect(), (RECT{0, 0, 160, 120}));

  display_->Bevel()->SetStyleOuter(bvLowered);
  display_->Bevel()->SetWidthOuter(2);
  const int e = display_->Bevel()->BevelExtent();
  ASSERT_GT(e, 0);
  EXPECT_EQ(page->BoundsRect(), (RECT{e, e, 160 - e, 120 - e}));
  display_->Bevel()->SetBorderWidth(5);
  const int e2 = display_->Bevel()->BevelExtent();
  ASSERT_GT(e2, e);
  EXPECT_EQ(page->BoundsRect(), (RECT{e2, e2, 160 - e2, 120 - e2}));
  EXPECT_EQ(display_->InnerRect(), page->BoundsRect());
}

TEST_F(FormDisplayTest, ShowByNameFindsTheExactNameOrChangesNothing) {
  // Names are unique per owner whatever their case, so the two pages have different owners.
  host::TForm* lower = NewPage("page", host_);
  host::TForm* upper = NewPage("Page");
  display_->SetFormName("Page");
  EXPECT_EQ(display_->Form(), upper);
  EXPECT_EQ(display_->FormName(), "Page");
  display_->ShowByName("page");
  EXPECT_EQ(display_->Form(), lower);
  EXPECT_FALSE(upper->Visible());
  // No form of that name (case matters): everything stays.
  for (const std::string missing : {"PAGE", "Nothing", "page "}) {
    display_->SetFormName(missing);
    EXPECT_EQ(display_->Form(), lower) << missing;
    EXPECT_EQ(display_->FormName(), "page") << missing;
  }
}

TEST_F(FormDisplayTest, AFormFreedElsewhereIsForgotten) {
  // A form of another owner, and one that shares the display's owner.
  for (TComponent* owner : {static_cast<TComponent*>(host::Application()), static_cast<TComponent*>(host_)}) {
    host::TForm* page = NewPage("Gone", owner);
    ASSERT_TRUE(display_->ShowForm(page));
    page->Free();
    EXPECT_EQ(display_->Form(), nullptr);
    EXPECT_EQ(display_->FormName(), "");
    EXPECT_EQ(display_->ControlCount(), 0);
    desktop::Pump();
    // Still usable: a paint and a resize with nothing shown.
    display_->SetBounds(10, 10, 190, 140);
    display_->Repaint();
  }
  // A form freed after it was detached leaves the display too.
  host::TForm* page = NewPage("Later");
  ASSERT_TRUE(display_->ShowForm(page));
  display_->RemoveForm();
  page->Free();
  EXPECT_EQ(display_->ControlCount(), 0);
}

TEST_F(FormDisplayTest, DestroyingTheDisplayOnlyDetachesItsForms) {
  bool shown_freed = false, hidden_freed = false, owned_freed = false;
  auto* hidden = host::New<TWatchedForm>(host::Application(), &hidden_freed);
  auto* shown = host::New<TWatchedForm>(host::Application(), &shown_freed);
  ASSERT_TRUE(display_->ShowForm(hidden));
  display_->RemoveForm();
  ASSERT_TRUE(display_->ShowForm(shown));
  auto* owned = host::New<TWatchedForm>(display_, &owned_freed);
  (void)owned;

  display_->Free();
  EXPECT_FALSE(shown_freed);
  EXPECT_FALSE(hidden_freed);
  EXPECT_TRUE(owned_freed) << "a form the display owns goes with it";
  for (host::TForm* f : {static_cast<host::TForm*>(shown), static_cast<host::TForm*>(hidden)}) {
    EXPECT_EQ(f->Parent(), nullptr);
    EXPECT_FALSE(f->Embedded());
    EXPECT_FALSE(f->Visible());
  }
  // They are whole forms again.
  shown->Show();
  desktop::Pump();
  EXPECT_TRUE(IsWindowVisible(shown->Handle()));
  EXPECT_EQ(GetParent(shown->Handle()), nullptr);
}

TEST_F(FormDisplayTest, FocusGoesToTheShownFormsActiveControlWhenTabStop) {
  host::TForm* page = NewPage("PageA");
  auto* first = new host::TEdit(page);
  first->SetParent(page);
  auto* second = new host::TEdit(page);
  second->SetParent(page);
  second->SetTop(30);
  ASSERT_TRUE(display_->ShowForm(page));
  page->SetActiveControl(second);
  desktop::Pump();

  auto* outside = new host::TEdit(host_);
  outside->SetParent(host_);
  outside->SetBounds(220, 10, 60, 20);
  desktop::Pump();

  // Without TabStop the display keeps the focus.
  outside->SetFocus();
  ::SetFocus(display_->Handle());
  desktop::Pump();
  EXPECT_EQ(GetFocus(), display_->Handle());

  // Tabbing from the edit beside it enters the display and goes on to the active control.
  display_->SetTabStop(true);
  outside->SetFocus();
  ASSERT_EQ(GetFocus(), outside->Handle());
  host_->SelectNext(outside, true, true);
  desktop::Pump();
  EXPECT_EQ(GetFocus(), second->Handle());
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(host_->ActiveControl(), second);

  // No active control: the focus stays on the display.
  outside->SetFocus();
  page->SetActiveControl(nullptr);
  ::SetFocus(display_->Handle());
  desktop::Pump();
  EXPECT_EQ(GetFocus(), display_->Handle());
}

TEST_F(FormDisplayTest, ShownFormFillsTheInnerRectangleExactly) {
  display_->SetColor(host::clBlue);
  display_->Bevel()->SetStyleOuter(bvRaised);
  display_->Bevel()->SetWidthOuter(2);
  display_->Bevel()->SetBorderWidth(3);
  display_->Bevel()->SetBorderColor(host::clLime);
  const int e = display_->Bevel()->BevelExtent();
  ASSERT_GT(e, 2);
  host::TForm* page = NewPage("PageA");
  page->SetColor(host::clRed);
  ASSERT_TRUE(display_->ShowForm(page));
  desktop::Pump();
  const COLORREF red = RGB(255, 0, 0);
  const int w = display_->Width(), h = display_->Height();
  const POINT o = At(display_, 0, 0);
  auto px = [&](int x, int y) { return ScreenPixel(o.x + x, o.y + y); };
  int red_inside = 0, red_outside = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool inside = x >= e && x < w - e && y >= e && y < h - e;
      const COLORREF c = px(x, y);
      if (c == red) {
        inside ? ++red_inside : ++red_outside;
      } else if (inside) {
        ADD_FAILURE() << "inner pixel " << x << "," << y << " not the form's colour";
        return;
      }
    }
  }
  EXPECT_EQ(red_inside, (w - 2 * e) * (h - 2 * e));
  EXPECT_EQ(red_outside, 0);
  // The bevel's border band touches the form on every side.
  const COLORREF lime = RGB(0, 255, 0);
  EXPECT_EQ(px(e - 1, h / 2), lime);
  EXPECT_EQ(px(w - e, h / 2), lime);
  EXPECT_EQ(px(w / 2, e - 1), lime);
  EXPECT_EQ(px(w / 2, h - e), lime);
  EXPECT_EQ(px(0, 0), host::ColorToRGB(host::clBtnHighlight));
}

TEST_F(FormDisplayTest, EmptyDisplayPaintsItsColourAndDeclaresItsStyle) {
  display_->SetColor(host::clBlue);
  desktop::Pump();
  const POINT o = At(display_, 0, 0);
  EXPECT_EQ(ScreenPixel(o.x + 100, o.y + 70), RGB(0, 0, 255));
  EXPECT_EQ(display_->ControlStyle(), (host::TControlStyle{host::csOpaque, host::csReplicatable}));
}

TEST_F(FormDisplayTest, StoredFormNameIsReadAsIsAndAdoptedOnTheFirstPaint) {
  RegisterFormDisplay();
  RegisterFormDisplay();
  auto* holder = host::New<host::TForm>(host::Application());
  host::ReadComponentFromText(holder,
                              "object Holder: TForm\n"
                              "  Left = 30\n"
                              "  Top = 30\n"
                              "  Width = 200\n"
                              "  Height = 150\n"
                              "  BorderStyle = bsNone\n"
                              "  object Pages: TZYRFormDisplay\n"
                              "    Left = 0\n"
                              "    Top = 0\n"
                              "    Width = 120\n"
                              "    Height = 100\n"
                              "    FormName = 'LaterPage'\n"
                              "    SaveResources = True\n"
                              "    Bevel.StyleOuter = bvRaised\n"
                              "  end\n"
                              "end\n",
                              "holder.form");
  auto* pages = dynamic_cast<TZYRFormDisplay*>(holder->FindComponent("Pages"));
  ASSERT_NE(pages, nullptr);
  // Read before the page exists: only stored.
  EXPECT_EQ(pages->FormName(), "LaterPage");
  EXPECT_EQ(pages->Form(), nullptr);
  EXPECT_TRUE(pages->SaveResources());
  host::TForm* page = NewPage("LaterPage");
  holder->Show();
  desktop::Pump();
  EXPECT_EQ(pages->Form(), page);
  EXPECT_EQ(page->BoundsRect(), pages->InnerRect());
  // Written back: defaults are left out, the name and the non-defaults are kept.
  const std::string text = host::WriteComponentToText(holder);
  EXPECT_NE(text.find("FormName = 'LaterPage'"), std::string::npos) << text;
  EXPECT_NE(text.find("SaveResources = True"), std::string::npos) << text;
  EXPECT_EQ(text.find("TabStop"), std::string::npos) << text;
  EXPECT_EQ(text.find("ParentColor"), std::string::npos) << text;
  EXPECT_EQ(text.find("    Color ="), std::string::npos) << text;
}

}  // namespace
}  // namespace zyr

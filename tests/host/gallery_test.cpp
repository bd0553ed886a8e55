// Every standard control on two headless forms, in their states, saved as pictures to judge
// the look as a whole (build/default/gallery/controls1.png, controls2.png); plus the
// registration of all of them by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/classes/strings.h"
#include "host/classes/typinfo.h"
#include "host/extctrls/extctrls.h"
#include "host/extctrls/pages.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/pen.h"
#include "host/graphics/picture.h"
#include "host/menus/menus.h"
#include "host/stdctrls/bitbtn.h"
#include "host/stdctrls/buttons.h"
#include "host/stdctrls/edits.h"
#include "host/stdctrls/lists.h"
#include "host/stdctrls/register.h"
#include "host/stdctrls/stdctrls.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

class GalleryTest : public AppTest {
 protected:
  template <class T>
  static T* Make(TWinControl* parent, int x, int y, int w = 0, int h = 0, const std::string& caption = "") {
    auto* c = new T(parent->GetParentForm() ? static_cast<TComponent*>(parent->GetParentForm()) : parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w ? w : c->Width(), h ? h : c->Height());
    if (!caption.empty()) c->SetCaption(caption);
    return c;
  }
  static void Save(const char* name) {
    desktop::Pump();
    const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(dir);
    std::string error;
    EXPECT_TRUE(desktop::SaveScreen((dir / name).string(), &error)) << error;
  }
};

TEST_F(GalleryTest, RegisterStandardControlsNamesEveryControlClass) {
  RegisterStandardControls();
  RegisterStandardControls();  // twice is harmless
  for (const char* name :
       {"TForm", "TButton", "TLabel", "TPanel", "TSpeedButton", "TCheckBox", "TRadioButton", "TGroupBox",
        "TRadioGroup", "TBitBtn", "TEdit", "TMemo", "TSpinButton", "TSpinEdit", "TScrollBar", "TListBox",
        "THeader", "TComboBox", "TBevel", "TShape", "TImage", "TPaintBox", "TGauge", "TTimer", "TScrollBox",
        "TTabSet", "TNotebook", "TTabbedNotebook", "TMainMenu", "TPopupMenu", "TMenuItem"}) {
    EXPECT_NE(GetClass(name), nullptr) << name;
  }
}

// Buttons of every kind, check boxes, radio buttons, edits, a memo with scroll bars, spin
// edit, scroll bars, labels and panels under a menu bar.
TEST_F(GalleryTest, Controls1) {
  auto* form = New<TForm>(Application());
  form->SetCaption("Standard controls");
  form->SetBounds(0, 0, 640, 480);
  auto* menu = new TMainMenu(form);
  for (const char* caption : {"&File", "&Edit", "&View", "&Help"}) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);

  // Push buttons: normal, default, disabled, and the focused one further down.
  Make<TButton>(form, 8, 8, 0, 0, "&Normal");
  Make<TButton>(form, 88, 8, 0, 0, "Default")->SetDefault(true);
  Make<TButton>(form, 168, 8, 0, 0, "Disabled")->SetEnabled(false);
  auto* focused_button = Make<TButton>(form, 248, 8, 0, 0, "&Focused");

  const TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll};
  for (int i = 0; i < 10; ++i) {
    auto* b = Make<TBitBtn>(form, 8 + (i % 5) * 82, 40 + (i / 5) * 30, 78, 26);
    b->SetKind(kinds[i]);
    b->SetDefault(false);
  }
  auto* off = Make<TBitBtn>(form, 418, 40, 78, 26);
  off->SetKind(bkOK);
  off->SetDefault(false);
  off->SetEnabled(false);
  auto* old = Make<TBitBtn>(form, 418, 70, 78, 26);
  old->SetKind(bkRetry);
  old->SetStyle(bsWin31);
  auto* top = Make<TBitBtn>(form, 504, 40, 70, 56);
  top->SetKind(bkYes);
  top->SetLayout(blGlyphTop);

  // Speed buttons: up, down, disabled.
  TBitmap glyph;
  TBitBtn::DrawKindGlyph(bkHelp, &glyph);
  for (int i = 0; i < 3; ++i) {
    auto* s = Make<TSpeedButton>(form, 330 + i * 25, 8);
    s->SetGlyph(&glyph);
    s->SetGroupIndex(1 + i);
    if (i == 1) s->SetDown(true);
    if (i == 2) s->SetEnabled(false);
  }

  auto* group = Make<TGroupBox>(form, 8, 104, 200, 120, "Options");
  Make<TCheckBox>(group, 10, 18, 170, 17, "&Unchecked");
  Make<TCheckBox>(group, 10, 36, 170, 17, "Checked")->SetChecked(true);
  auto* grayed = Make<TCheckBox>(group, 10, 54, 170, 17, "Grayed");
  grayed->SetAllowGrayed(true);
  grayed->SetState(cbGrayed);
  auto* dis = Make<TCheckBox>(group, 10, 72, 170, 17, "Disabled checked");
  dis->SetChecked(true);
  dis->SetEnabled(false);
  auto* focused_check = Make<TCheckBox>(group, 10, 92, 170, 17, "Focused");

  auto* radios = Make<TRadioGroup>(form, 216, 104, 190, 120, "Radio group");
  for (const char* s : {"First", "&Second", "Third"}) radios->Items()->Add(s);
  radios->SetItemIndex(1);
  auto* rb = Make<TRadioButton>(form, 414, 104, 150, 17, "Radio, disabled");
  rb->SetChecked(true);
  rb->SetEnabled(false);
  Make<TRadioButton>(form, 414, 124, 150, 17, "Radio");

  Make<TLabel>(form, 8, 236, 0, 0, "&Name:");
  auto* edit = Make<TEdit>(form, 60, 232, 121, 21);
  edit->SetText("Focused edit");
  auto* edit2 = Make<TEdit>(form, 190, 232, 121, 21);
  edit2->SetText("Disabled edit");
  edit2->SetEnabled(false);
  auto* spin = Make<TSpinEdit>(form, 320, 232, 80, 21);
  spin->SetValue(42);
  auto* label = Make<TLabel>(form, 414, 236, 0, 0, "Disabled label");
  label->SetEnabled(false);

  auto* memo = Make<TMemo>(form, 8, 262, 250, 100);
  for (int i = 1; i <= 12; ++i) {
    memo->Lines()->Add("Line " + std::to_string(i) + " of a memo with both scroll bars and a long line");
  }
  memo->SetScrollBars(ssBoth);
  Make<TScrollBar>(form, 270, 262, 160, 16);
  auto* vbar = new TScrollBar(form);
  vbar->SetKind(sbVertical);  // swaps width and height: before the bounds
  vbar->SetParent(form);
  vbar->SetBounds(440, 262, 16, 100);
  vbar->SetPosition(30);

  auto* panel = Make<TPanel>(form, 470, 262, 150, 50, "Raised panel");
  (void)panel;
  auto* lowered = Make<TPanel>(form, 470, 318, 150, 44, "Lowered panel");
  lowered->SetBevelOuter(bvLowered);

  form->Show();
  desktop::Pump();
  edit->SetFocus();
  Save("controls1a.png");
  focused_button->SetFocus();
  desktop::Pump();
  Save("controls1b.png");
  focused_check->SetFocus();
  const POINT p = At(focused_check, 6, 8);
  desktop::MouseDown(p.x, p.y);
  Save("controls1.png");
  desktop::MouseUp(p.x, p.y);
  desktop::Pump();
  form->Free();
}

// Lists, combo boxes, header, tabs, notebooks, gauges, shapes, bevels, an image and a scroll box.
TEST_F(GalleryTest, Controls2) {
  auto* form = New<TForm>(Application());
  form->SetCaption("More controls");
  form->SetBounds(0, 0, 640, 480);

  auto* list = Make<TListBox>(form, 8, 8, 121, 97);
  for (const char* s : {"Apples", "Bananas", "Cherries", "Dates", "Elderberries", "Figs", "Grapes", "Kiwis"}) {
    list->Items()->Add(s);
  }
  list->SetItemIndex(2);
  auto* list2 = Make<TListBox>(form, 136, 8, 121, 97);
  for (const char* s : {"Disabled", "list"}) list2->Items()->Add(s);
  list2->SetEnabled(false);

  auto* combo2 = Make<TComboBox>(form, 264, 8, 145, 21);
  combo2->SetStyle(csDropDownList);
  combo2->Items()->Add("Drop-down list");
  combo2->SetItemIndex(0);
  auto* combo3 = Make<TComboBox>(form, 264, 36, 145, 21);
  combo3->Items()->Add("Disabled");
  combo3->SetItemIndex(0);
  combo3->SetEnabled(false);
  auto* header = Make<THeader>(form, 264, 64, 200, 20);
  for (const char* s : {"Name", "Size", "Date"}) header->Sections()->Add(s);

  auto* tabs = Make<TTabSet>(form, 8, 112, 300, 21);
  for (const char* s : {"First", "Second", "Third"}) tabs->Tabs()->Add(s);
  tabs->SetTabIndex(1);

  auto* tabbed = Make<TTabbedNotebook>(form, 8, 140, 300, 130);
  for (const char* s : {"General", "Advanced", "About"}) tabbed->Pages()->Add(s);
  tabbed->SetPageIndex(0);
  Make<TCheckBox>(tabbed->Page(0), 10, 10, 150, 17, "On a page");
  Make<TEdit>(tabbed->Page(0), 10, 34, 121, 21)->SetText("Page edit");

  const TGaugeKind gauge_kinds[] = {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle};
  for (int i = 0; i < 5; ++i) {
    auto* g = Make<TGauge>(form, 320 + i * 62, 112, 56, 56);
    g->SetKind(gauge_kinds[i]);
    g->SetProgress(35 + i * 10);
  }

  const TShapeType shapes[] = {stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle};
  for (int i = 0; i < 6; ++i) {
    auto* s = Make<TShape>(form, 320 + i * 50, 180, 44, 36);
    s->SetShape(shapes[i]);
    s->Brush()->SetColor(i % 2 ? clYellow : clWhite);
  }

  const TBevelShape bevels[] = {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine};
  for (int i = 0; i < 6; ++i) {
    auto* b = Make<TBevel>(form, 320 + i * 50, 226, 44, 36);
    b->SetShape(bevels[i]);
    if (i == 1) b->SetStyle(bsRaised);
  }

  auto* book = Make<TNotebook>(form, 8, 280, 150, 80);
  for (const char* s : {"One", "Two"}) book->Pages()->Add(s);
  book->SetPageIndex(1);
  Make<TLabel>(book->Page(1), 8, 8, 0, 0, "Notebook page Two");

  auto* image = Make<TImage>(form, 170, 280, 40, 40);
  TBitmap picture;
  TBitBtn::DrawKindGlyph(bkClose, &picture);
  image->Picture()->SetGraphic(&picture);
  image->SetCenter(true);

  auto* box = Make<TScrollBox>(form, 220, 280, 150, 80);
  Make<TButton>(box, 10, 10, 0, 0, "In a box");
  Make<TButton>(box, 160, 100, 0, 0, "Far away");

  auto* combo = Make<TComboBox>(form, 400, 280, 145, 21);
  for (const char* s : {"Red", "Green", "Blue", "Cyan", "Magenta"}) combo->Items()->Add(s);
  combo->SetItemIndex(1);

  form->Show();
  desktop::Pump();
  combo->SetFocus();
  combo->SetDroppedDown(true);
  Save("controls2.png");
  combo->SetDroppedDown(false);
  desktop::Pump();
  form->Free();
}

}  // namespace
}  // namespace host

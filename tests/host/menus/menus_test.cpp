#include "host/menus/menus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "platform/kernel/clock.h"
#include "platform/user/desktop.h"
#include "platform/win32/draw.h"
#include "support/app.h"

using namespace host;

namespace {

class TMenuPad : public TCustomControl {
  HOST_CLASS(TMenuPad)
  explicit TMenuPad(TComponent* owner) : TCustomControl(owner) { SetColor(clWhite); }
};
HOST_DEFINE_CLASS(TMenuPad, TCustomControl)

// A form with File / Edit / View menus; every item's click is logged by caption.
struct MenuForm {
  TForm* form;
  TMainMenu* menu;
  TMenuItem *file, *open, *save, *sep, *exit;
  TMenuItem *edit, *undo, *cut, *paste;
  TMenuItem *view, *status, *small, *large, *recent, *one, *two;
  std::vector<std::string> log;

  TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
    auto* item = New<TMenuItem>(form);
    item->SetCaption(caption);
    item->OnClick = [this](TObject* sender) {
      log.push_back(static_cast<TMenuItem*>(sender)->Caption() + (MenuActive() ? " (menu up)" : ""));
    };
    parent->Add(item);
    return item;
  }

  MenuForm() {
    form = Application()->CreateForm<TForm>();
    form->SetBounds(40, 30, 400, 300);
    form->SetColor(clWhite);
    menu = New<TMainMenu>(form);
    file = Item(menu->Items(), "&File");
    open = Item(file, "&Open...");
    save = Item(file, "&Save");
    save->SetShortCut(TextToShortCut("Ctrl+S"));
    sep = Item(file, "-");
    exit = Item(file, "E&xit");
    edit = Item(menu->Items(), "&Edit");
    undo = Item(edit, "&Undo");
    undo->SetEnabled(false);
    undo->SetShortCut(TextToShortCut("Ctrl+Z"));
    cut = Item(edit, "Cu&t");
    paste = Item(edit, "&Paste");
    view = Item(menu->Items(), "&View");
    status = Item(view, "&Status Bar");
    status->SetChecked(true);
    small = Item(view, "S&mall");
    small->SetRadioItem(true);
    large = Item(view, "&Large");
    large->SetRadioItem(true);
    large->SetChecked(true);
    recent = Item(view, "&Recent");
    one = Item(recent, "&One");
    two = Item(recent, "&Two");
    form->SetMenu(menu);
    form->Show();
    desktop::Pump();
  }
  // Screen point inside bar item number i (0 = File; items are text + 12 wide).
  POINT Bar(int i) const {
    const POINT o = form->ClientOrigin();
    static const int kX[] = {5, 40, 75};
    return {o.x + kX[i], o.y - 10};
  }
  // Top-left corner of the drop-down of bar item 0.
  POINT DropDown() const {
    const POINT o = form->ClientOrigin();
    return {o.x, o.y};
  }
  // Screen point inside item row of a menu window whose top-left is at corner.
  static POINT Row(POINT corner, int row, int separators_before = 0) {
    return {corner.x + 30, corner.y + 3 + 19 * row - 10 * separators_before + 9};
  }
};

void Key(int vk, bool down) {
  display::Event e;
  e.kind = down ? display::EventKind::KeyDown : display::EventKind::KeyUp;
  e.vk = vk;
  desktop::Inject(e);
}

class MenusTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    RegisterMenus();
    RegisterClasses({TMenuPad::StaticClass()});
  }
  void TearDown() override {
    CloseMenus();
    AppTest::TearDown();
  }
  static void ClickAt(POINT p, int button = 0) { desktop::Click(p.x, p.y, button); }
  // The top-left corner of the drop-down below a bar item: left along its first row of menu
  // colour to the white inner edge.
  static POINT Corner(int x_inside, int top) {
    int x = x_inside;
    while (ScreenPixel(x - 1, top + 4) == GetSysColor(COLOR_MENU)) --x;
    return {x - 2, top};
  }
  static int Ink(int x0, int y0, int x1, int y1, COLORREF ink) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += ScreenPixel(x, y) == ink ? 1 : 0;
    }
    return n;
  }
};

// ---- Short cuts and the item tree --------------------------------------------------------

TEST(MenuShortCut, TextRoundTripsAndUnknownTextsGiveZero) {
  struct Case {
    TShortCut sc;
    const char* text;
  };
  const Case cases[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_F1 + 4, {ssShift}), "Shift+F5"},
      {ShortCut(VK_DELETE, {ssAlt}), "Alt+Del"},
      {ShortCut('1', {ssShift, ssCtrl}), "Shift+Ctrl+1"},
      {ShortCut(VK_F1 + 11, {}), "F12"},
      {ShortCut(VK_PRIOR, {ssCtrl, ssAlt}), "Ctrl+Alt+PgUp"},
      {ShortCut(VK_RETURN, {}), "Enter"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.sc), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
  }
  EXPECT_EQ(ShortCut('S', {ssCtrl}), 0x4000 + 'S');
  EXPECT_EQ(TextToShortCut(" ctrl + s "), ShortCut('S', {ssCtrl}));
  for (const char* bad : {"", "Ctrl+", "Hyper+S", "Ctrl+Nope", "F13", "+", "Ctrl+Shift"}) {
    EXPECT_EQ(TextToShortCut(bad), 0) << bad;
  }
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutToText(0x4000 | 0xE9), "");  // a key without a name
  WORD key = 0;
  TShiftState shift;
  ShortCutToKey(ShortCut('Q', {ssAlt, ssShift}), key, shift);
  EXPECT_EQ(key, 'Q');
  EXPECT_EQ(shift, (TShiftState{ssAlt, ssShift}));
}

TEST(MenuItems, ListOperationsKeepOrderAndRefuseBadIndexes) {
  TComponent owner(nullptr);
  auto* root = New<TMenuItem>(&owner);
  auto* a = New<TMenuItem>(&owner);
  auto* b = New<TMenuItem>(&owner);
  auto* c = New<TMenuItem>(&owner);
  root->Add(a);
  root->Add(c);
  root->Insert(1, b);
  EXPECT_EQ(root->Count(), 3);
  EXPECT_EQ(root->Items(1), b);
  EXPECT_EQ(root->IndexOf(c), 2);
  EXPECT_EQ(b->Parent(), root);
  try {
    root->Items(3);
    FAIL();
  } catch (const EMenuError& e) {
    EXPECT_STREQ(e.what(), "Menu index out of range (3)");
  }
  EXPECT_THROW(root->Insert(5, New<TMenuItem>(&owner)), EMenuError);
  try {
    root->Add(a);
    FAIL();
  } catch (const EMenuError& e) {
    EXPECT_STREQ(e.what(), "Menu inserted twice");
  }
  a->Add(New<TMenuItem>(&owner));
  root->Delete(0);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(root->IndexOf(a), -1);
  EXPECT_THROW(a->Items(0)->Add(a), EMenuError);  // an item cannot hold itself
  EXPECT_THROW(root->Delete(-1), EMenuError);
  // Sub-items go with their item: a and its child leave the owner.
  const int before = owner.ComponentCount();
  a->Free();
  EXPECT_EQ(owner.ComponentCount(), before - 2);
  // A sub-item freed on its own leaves its parent's list.
  c->Free();
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(root->Items(0), b);
}

TEST(MenuItems, RadioItemsOfAGroupExcludeEachOtherAndDisabledOnesDoNotClick) {
  TComponent owner(nullptr);
  auto* root = New<TMenuItem>(&owner);
  std::vector<TMenuItem*> items;
  for (int i = 0; i < 4; ++i) {
    auto* item = New<TMenuItem>(&owner);
    item->SetRadioItem(true);
    item->SetGroupIndex(i < 3 ? 1 : 2);
    root->Add(item);
    items.push_back(item);
  }
  items[0]->SetChecked(true);
  items[3]->SetChecked(true);  // another group
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_TRUE(items[3]->Checked());
  // Plain check items are left alone.
  auto* plain = New<TMenuItem>(&owner);
  plain->SetChecked(true);
  root->Add(plain);
  items[2]->SetChecked(true);
  EXPECT_TRUE(plain->Checked());
  EXPECT_FALSE(items[1]->Checked());
  int clicks = 0;
  plain->OnClick = [&](TObject*) { ++clicks; };
  plain->Click();
  plain->SetEnabled(false);
  plain->Click();
  EXPECT_EQ(clicks, 1);
}

// ---- Form text ----------------------------------------------------------------------------

class TMenuTextForm : public TForm {
  HOST_CLASS(TMenuTextForm)
  explicit TMenuTextForm(TComponent* owner) : TForm(owner) {}
  void OpenClick(TObject*) { ++opened; }
  int opened = 0;
  TMainMenu* MainMenu1 = nullptr;
};
HOST_PUBLISHED(TMenuTextForm, TForm) {
  HOST_METHOD(OpenClick);
  HOST_FIELD(MainMenu1);
}

constexpr const char* kMenuForm =
    "object MenuTextForm: TMenuTextForm\n"
    "  Caption = 'Menus'\n"
    "  Menu = MainMenu1\n"
    "  PixelsPerInch = 96\n"
    "  object MainMenu1: TMainMenu\n"
    "    object File1: TMenuItem\n"
    "      Caption = '&File'\n"
    "      object Open1: TMenuItem\n"
    "        Caption = '&Open...'\n"
    "        ShortCut = 16463\n"
    "        OnClick = OpenClick\n"
    "      end\n"
    "      object N1: TMenuItem\n"
    "        Caption = '-'\n"
    "      end\n"
    "      object Mode1: TMenuItem\n"
    "        Caption = 'Mode'\n"
    "        Checked = True\n"
    "        GroupIndex = 3\n"
    "        RadioItem = True\n"
    "      end\n"
    "    end\n"
    "    object Help1: TMenuItem\n"
    "      Caption = '&Help'\n"
    "      Enabled = False\n"
    "      Hint = 'About the program'\n"
    "    end\n"
    "  end\n"
    "  object PopupMenu1: TPopupMenu\n"
    "    Alignment = paRight\n"
    "    object Copy1: TMenuItem\n"
    "      Caption = '&Copy'\n"
    "      Default = True\n"
    "    end\n"
    "  end\n"
    "  object Pad1: TMenuPad\n"
    "    Left = 0\n"
    "    Top = 0\n"
    "    Width = 50\n"
    "    Height = 50\n"
    "    PopupMenu = PopupMenu1\n"
    "  end\n"
    "end\n";

TEST_F(MenusTest, MenusReadFromFormTextAndWriteBackTheSame) {
  RegisterClasses({TMenuTextForm::StaticClass()});
  auto* form = new TMenuTextForm(Application());
  ReadComponentFromText(form, kMenuForm, "menus.form");
  ASSERT_NE(form->MainMenu1, nullptr);
  EXPECT_EQ(form->Menu(), form->MainMenu1);
  TMenuItem* items = form->MainMenu1->Items();
  ASSERT_EQ(items->Count(), 2);
  ASSERT_EQ(items->Items(0)->Count(), 3);
  TMenuItem* open = items->Items(0)->Items(0);
  EXPECT_EQ(open->ShortCut(), TextToShortCut("Ctrl+O"));
  EXPECT_TRUE(items->Items(0)->Items(1)->IsLine());
  EXPECT_EQ(open->GetParentComponent(), items->Items(0));
  EXPECT_EQ(items->Items(0)->GetParentComponent(), form->MainMenu1);
  open->Click();
  EXPECT_EQ(form->opened, 1);
  auto* pad = static_cast<TControl*>(form->FindComponent("Pad1"));
  EXPECT_EQ(pad->PopupMenu(), form->FindComponent("PopupMenu1"));
  // Written back, the menu blocks come out as they were read, and read again they write the same.
  const std::string written = WriteComponentToText(form);
  const std::string text = kMenuForm;
  const auto block = [&](const std::string& from, const std::string& to) {
    return text.substr(text.find(from), text.find(to) - text.find(from));
  };
  EXPECT_NE(written.find(block("  object MainMenu1", "  object Pad1")), std::string::npos) << written;
  EXPECT_NE(written.find("    PopupMenu = PopupMenu1\n"), std::string::npos);
  EXPECT_NE(written.find("  Menu = MainMenu1\n"), std::string::npos);
  form->Free();
  auto* again = new TMenuTextForm(Application());
  ReadComponentFromText(again, written, "written.form");
  EXPECT_EQ(WriteComponentToText(again), written);
  EXPECT_EQ(again->MainMenu1->Items()->Items(0)->Items(2)->GroupIndex(), 3);
  again->Free();
}

TEST_F(MenusTest, MisplacedMenuItemsAndWrongMenuClassesAreNamed) {
  RegisterClasses({TMenuTextForm::StaticClass()});
  auto* form = new TMenuTextForm(Application());
  try {
    ReadComponentFromText(form,
                          "object MenuTextForm: TMenuTextForm\n"
                          "  object Stray1: TMenuItem\n"
                          "  end\n"
                          "end\n",
                          "stray.form");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(),
                 "stray.form(2): Cannot place Stray1: A menu item belongs in a menu or a menu item, not in a "
                 "TMenuTextForm");
  }
  auto* popup = New<TPopupMenu>(form);
  try {
    form->SetMenu(popup);
    FAIL();
  } catch (const EInvalidCast& e) {
    EXPECT_STREQ(e.what(), "A TPopupMenu is not a TMainMenu");
  }
  auto* pad = new TMenuPad(form);
  EXPECT_THROW(pad->SetPopupMenu(New<TMainMenu>(form)), EInvalidCast);
  form->Free();
}

// ---- The bar and its drop-downs ----------------------------------------------------------

TEST_F(MenusTest, TheBarTakesItsHeightFromTheClientArea) {
  auto* form = Application()->CreateForm<TForm>();
  form->SetBounds(40, 30, 300, 200);
  form->SetColor(clWhite);
  form->Show();
  desktop::Pump();
  const int plain = form->ClientHeight();
  const POINT plain_origin = form->ClientOrigin();
  auto* menu = New<TMainMenu>(form);
  auto* item = New<TMenuItem>(form);
  item->SetCaption("&File");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  desktop::Pump();
  EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 19);
  EXPECT_EQ(form->ClientHeight(), plain - 19);
  EXPECT_EQ(form->Height(), 200);
  const POINT o = form->ClientOrigin();
  EXPECT_EQ(o.y, plain_origin.y + 19);
  // Bar rows: menu colour, the line under it in face colour, white client below; the caption
  // text is black ink inside the bar.
  EXPECT_EQ(ScreenPixel(o.x + 150, o.y - 10), GetSysColor(COLOR_MENU));
  EXPECT_EQ(ScreenPixel(o.x + 150, o.y - 1), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(ScreenPixel(o.x + 150, o.y), RGB(255, 255, 255));
  EXPECT_GT(Ink(o.x, o.y - 19, o.x + 40, o.y - 1, RGB(0, 0, 0)), 10);
  EXPECT_EQ(Ink(o.x + 40, o.y - 19, o.x + 200, o.y - 1, RGB(0, 0, 0)), 0);
  // The caption bar ends where the menu starts.
  EXPECT_EQ(ScreenPixel(o.x + 150, o.y - 21), GetSysColor(COLOR_ACTIVECAPTION));
  // Taking the menu away gives the rows back.
  form->SetMenu(nullptr);
  desktop::Pump();
  EXPECT_EQ(form->ClientHeight(), plain);
  // A form not yet shown counts the bar too.
  auto* hidden = Application()->CreateForm<TForm>();
  hidden->SetBounds(0, 0, 300, 200);
  const int without = hidden->ClientHeight();
  hidden->SetMenu(menu);
  EXPECT_EQ(hidden->ClientHeight(), without - 19);
}

TEST_F(MenusTest, ClickingTheBarOpensTheDropDownAndAnItemFiresOnceAfterItCloses) {
  MenuForm m;
  ClickAt(m.Bar(0));
  ASSERT_TRUE(MenuActive());
  const POINT d = m.DropDown();
  // The raised edge: white inner highlight, black outer shadow.
  EXPECT_EQ(ScreenPixel(d.x + 1, d.y + 1), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(d.x + 3, d.y + 3), GetSysColor(COLOR_MENU));
  // The open bar item is drawn sunken: shadow on its top-left.
  const POINT bar = m.Bar(0);
  EXPECT_EQ(ScreenPixel(m.form->ClientOrigin().x, bar.y), GetSysColor(COLOR_BTNSHADOW));
  desktop::MoveMouse(MenuForm::Row(d, 1).x, MenuForm::Row(d, 1).y);
  desktop::Pump();
  // The item under the mouse is selected.
  EXPECT_EQ(ScreenPixel(d.x + 5, MenuForm::Row(d, 1).y), GetSysColor(COLOR_HIGHLIGHT));
  ClickAt(MenuForm::Row(d, 1));
  EXPECT_FALSE(MenuActive());
  EXPECT_EQ(m.log, (std::vector<std::string>{"&Save"}));
  // The drop-down is gone from the screen: the client shows there again.
  EXPECT_EQ(ScreenPixel(d.x + 1, d.y + 1), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(d.x + 30, MenuForm::Row(d, 1).y), RGB(255, 255, 255));
  // A second click on an open bar item closes it.
  ClickAt(m.Bar(0));
  EXPECT_TRUE(MenuActive());
  ClickAt(m.Bar(0));
  EXPECT_FALSE(MenuActive());
  EXPECT_EQ(m.log.size(), 1u);
}

TEST_F(MenusTest, ClickingOutsideClosesWithoutFiringAndTheClickGoesNowhere) {
  MenuForm m;
  int form_clicks = 0;
  m.form->OnClick = [&](TObject*) { ++form_clicks; };
  ClickAt(m.Bar(0));
  ASSERT_TRUE(MenuActive());
  ClickAt({m.form->ClientOrigin().x + 300, m.form->ClientOrigin().y + 200});
  EXPECT_FALSE(MenuActive());
  EXPECT_TRUE(m.log.empty());
  EXPECT_EQ(form_clicks, 0);
  // The next click reaches the form again.
  ClickAt({m.form->ClientOrigin().x + 300, m.form->ClientOrigin().y + 200});
  EXPECT_EQ(form_clicks, 1);
}

TEST_F(MenusTest, DisabledItemsAndSeparatorsDoNotFire) {
  MenuForm m;
  ClickAt(m.Bar(1));
  ASSERT_TRUE(MenuActive());
  const POINT d = Corner(m.Bar(1).x, m.DropDown().y);
  ClickAt(MenuForm::Row(d, 0));  // Undo, disabled
  EXPECT_TRUE(MenuActive());
  EXPECT_TRUE(m.log.empty());
  ClickAt(MenuForm::Row(d, 1));
  EXPECT_EQ(m.log, (std::vector<std::string>{"Cu&t"}));
  // The separator of File neither fires nor closes.
  ClickAt(m.Bar(0));
  const POINT f = m.DropDown();
  ClickAt({f.x + 30, f.y + 3 + 19 * 2 + 4});
  EXPECT_TRUE(MenuActive());
  EXPECT_EQ(m.log.size(), 1u);
}

TEST_F(MenusTest, KeyboardWalksTheBarAndTheDropDowns) {
  MenuForm m;
  desktop::PressKey(VK_F10);
  EXPECT_TRUE(MenuActive());
  desktop::PressKey(VK_DOWN);  // opens File on Open...
  desktop::PressKey(VK_DOWN);  // Save
  desktop::PressKey(VK_RETURN);
  EXPECT_FALSE(MenuActive());
  EXPECT_EQ(m.log, (std::vector<std::string>{"&Save"}));

  // Alt alone selects the bar; Right moves across; Enter opens; Up wraps to the last item.
  Key(VK_MENU, true);
  Key(VK_MENU, false);
  desktop::Pump();
  EXPECT_TRUE(MenuActive());
  desktop::PressKey(VK_RIGHT);
  desktop::PressKey(VK_RETURN);  // Edit, on Undo
  desktop::PressKey(VK_UP);      // Paste
  desktop::PressKey(VK_RETURN);
  EXPECT_EQ(m.log.back(), "&Paste");

  // With a drop-down open, Right opens the neighbour; Down skips the separator.
  desktop::PressKey(VK_F10);
  desktop::PressKey(VK_DOWN);
  desktop::PressKey(VK_RIGHT);   // Edit open, Undo selected
  desktop::PressKey(VK_LEFT);    // back to File, Open selected
  desktop::PressKey(VK_UP);      // Exit (wraps, over the separator)
  desktop::PressKey(VK_RETURN);
  EXPECT_EQ(m.log.back(), "E&xit");

  // Esc closes the drop-down but keeps the bar; Esc again leaves the menu.
  desktop::PressKey(VK_F10);
  desktop::PressKey(VK_DOWN);
  desktop::PressKey(VK_ESCAPE);
  EXPECT_TRUE(MenuActive());
  desktop::PressKey(VK_ESCAPE);
  EXPECT_FALSE(MenuActive());
  // Enter on a disabled item does nothing.
  desktop::PressKey(VK_F10);
  desktop::PressKey(VK_RIGHT);
  desktop::PressKey(VK_DOWN);    // Edit, on Undo
  desktop::PressKey(VK_RETURN);
  EXPECT_TRUE(MenuActive());
  desktop::PressKey(VK_F10);     // F10 again leaves
  EXPECT_FALSE(MenuActive());
  EXPECT_EQ(m.log.size(), 3u);
}

TEST_F(MenusTest, AltLetterOpensTheBarItemAndLettersChooseItems) {
  MenuForm m;
  auto* pad = new TMenuPad(m.form);
  pad->SetParent(m.form);
  pad->SetBounds(10, 10, 100, 100);
  pad->SetTabStop(true);
  m.form->FocusControl(pad);
  desktop::Pump();
  Key(VK_MENU, true);
  desktop::TypeText("e");
  Key(VK_MENU, false);
  desktop::Pump();
  ASSERT_TRUE(MenuActive());  // Alt released after a letter does not toggle the bar off
  desktop::TypeText("p");
  EXPECT_FALSE(MenuActive());
  EXPECT_EQ(m.log, (std::vector<std::string>{"&Paste"}));
  // A letter on the bar opens that item; inside, a letter with a sub-menu opens it.
  desktop::PressKey(VK_F10);
  desktop::TypeText("v");
  desktop::TypeText("r");
  desktop::TypeText("t");
  EXPECT_EQ(m.log.back(), "&Two");
  // A letter no item has leaves the menu as it is.
  Key(VK_MENU, true);
  desktop::TypeText("q");
  Key(VK_MENU, false);
  desktop::Pump();
  EXPECT_FALSE(MenuActive());
}

TEST_F(MenusTest, ShortCutsFireFromAnywhereInTheFormUnlessDisabled) {
  MenuForm m;
  auto* pad = new TMenuPad(m.form);
  pad->SetParent(m.form);
  pad->SetBounds(10, 10, 100, 100);
  pad->SetTabStop(true);
  std::vector<WORD> keys;
  pad->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
  m.form->FocusControl(pad);
  desktop::Pump();
  Key(VK_CONTROL, true);
  desktop::PressKey('S');
  desktop::PressKey('Z');  // Undo is disabled: the key goes on to the control
  Key(VK_CONTROL, false);
  desktop::Pump();
  EXPECT_EQ(m.log, (std::vector<std::string>{"&Save"}));
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 'S'), 0);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 'Z'), 1);
  desktop::PressKey('S');  // without Ctrl it is a plain key
  EXPECT_EQ(m.log.size(), 1u);
}

TEST_F(MenusTest, SubMenusOpenByArrowAndAfterTheHoverDelay) {
  MenuForm m;
  // Keyboard: View, down to Recent, Right opens it on One, Left closes it again.
  Key(VK_MENU, true);
  desktop::TypeText("v");
  Key(VK_MENU, false);
  desktop::Pump();
  for (int i = 0; i < 3; ++i) desktop::PressKey(VK_DOWN);
  desktop::PressKey(VK_RIGHT);
  desktop::PressKey(VK_LEFT);
  desktop::PressKey(VK_RIGHT);
  desktop::PressKey(VK_DOWN);
  desktop::PressKey(VK_RETURN);
  EXPECT_EQ(m.log, (std::vector<std::string>{"&Two"}));

  // Mouse: resting on Recent opens its sub-menu only after the delay.
  ClickAt(m.Bar(2));
  const POINT d = Corner(m.Bar(2).x, m.DropDown().y);
  const POINT recent = MenuForm::Row(d, 3);
  desktop::MoveMouse(recent.x, recent.y);
  desktop::Pump();
  const int width = [&] {
    int x = d.x + 2;
    while (ScreenPixel(x, d.y + 1) == RGB(255, 255, 255)) ++x;
    return x - d.x + 2;
  }();
  const POINT sub{d.x + width - 3, recent.y - 9 - 3};
  EXPECT_EQ(ScreenPixel(sub.x + 10, sub.y + 2), RGB(255, 255, 255));  // not yet: the client
  kernel::AdvanceClock(450);
  desktop::Pump();
  EXPECT_EQ(ScreenPixel(sub.x + 1, sub.y + 1), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(sub.x + 10, sub.y + 2), GetSysColor(COLOR_MENU));
  ClickAt(MenuForm::Row(sub, 0));
  EXPECT_EQ(m.log.back(), "&One");
  EXPECT_FALSE(MenuActive());
}

TEST_F(MenusTest, ARightClickOpensThePopupAtTheMouse) {
  MenuForm m;
  auto* pad = new TMenuPad(m.form);
  pad->SetParent(m.form);
  pad->SetBounds(20, 20, 200, 150);
  auto* popup = New<TPopupMenu>(m.form);
  int popups = 0;
  popup->OnPopup = [&](TObject*) { ++popups; };
  TMenuItem* copy = m.Item(popup->Items(), "&Copy");
  m.Item(popup->Items(), "Paste &Here");
  pad->SetPopupMenu(popup);
  desktop::Pump();
  const POINT at = At(pad, 40, 30);
  ClickAt(at, 1);
  ASSERT_TRUE(MenuActive());
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(popup->PopupComponent(), pad);
  EXPECT_EQ(ScreenPixel(at.x + 1, at.y + 1), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(at.x - 1, at.y + 5), RGB(255, 255, 255));  // the pad, left of the menu
  EXPECT_EQ(ScreenPixel(at.x, at.y + 5), GetSysColor(COLOR_3DLIGHT));
  // The right button chooses in a popup menu too.
  ClickAt(MenuForm::Row(at, 1), 1);
  EXPECT_EQ(m.log, (std::vector<std::string>{"Paste &Here"}));
  // Without AutoPopup a right click shows nothing; Popup from code still does, aligned right.
  popup->SetAutoPopup(false);
  ClickAt(at, 1);
  EXPECT_FALSE(MenuActive());
  popup->SetAlignment(paRight);
  popup->Popup(at.x, at.y);
  EXPECT_TRUE(MenuActive());
  EXPECT_EQ(ScreenPixel(at.x - 1, at.y + 5), RGB(0, 0, 0));  // the outer shadow of the right edge
  desktop::PressKey(VK_RETURN);  // nothing selected yet
  desktop::PressKey(VK_DOWN);
  desktop::PressKey(VK_RETURN);
  EXPECT_EQ(m.log.back(), copy->Caption());
  // Esc in a popup closes it entirely.
  popup->Popup(at.x, at.y);
  desktop::PressKey(VK_ESCAPE);
  EXPECT_FALSE(MenuActive());
}

TEST_F(MenusTest, CheckMarksAndBulletsAreDrawnInTheCheckColumn) {
  MenuForm m;
  ClickAt(m.Bar(2));
  const POINT d = Corner(m.Bar(2).x, m.DropDown().y);
  // Black ink in the 13x13 cell of a row: its count and the width of its box.
  auto cell_ink = [&](int row) {
    const int top = d.y + 3 + 19 * row + 3;
    int n = 0, left = 1 << 20, right = -1;
    for (int y = top; y < top + 13; ++y) {
      for (int x = d.x + 6; x < d.x + 19; ++x) {
        if (ScreenPixel(x, y) != RGB(0, 0, 0)) continue;
        ++n;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    return std::pair<int, int>(n, right - left + 1);
  };
  EXPECT_EQ(cell_ink(0), (std::pair<int, int>(21, 7)));  // Status Bar: the 7-column check mark
  EXPECT_EQ(cell_ink(1).first, 0);                        // Small: radio, not checked
  EXPECT_EQ(cell_ink(2), (std::pair<int, int>(21, 5)));  // Large: the 5-pixel bullet
  // The sub-menu arrow of Recent sits at the right end of its row.
  const int right = [&] {
    int x = d.x + 2;
    while (ScreenPixel(x, d.y + 1) == RGB(255, 255, 255)) ++x;
    return x;
  }();
  const int arrow_top = d.y + 3 + 19 * 3 + 3;
  EXPECT_GE(Ink(right - 18, arrow_top, right - 3, arrow_top + 13, RGB(0, 0, 0)), 6);
}

TEST_F(MenusTest, Gallery) {
  MenuForm m;
  m.form->SetCaption("Menus");
  // The View menu shows every kind of item: checked, radio, default, short cut, disabled,
  // separator, and an open sub-menu with its parent selected.
  m.Item(m.view, "-");
  TMenuItem* refresh = m.Item(m.view, "Re&fresh");
  refresh->SetShortCut(TextToShortCut("F5"));
  refresh->SetDefault(true);
  TMenuItem* full = m.Item(m.view, "F&ull Screen");
  full->SetShortCut(TextToShortCut("Shift+Ctrl+F11"));
  full->SetEnabled(false);
  full->SetChecked(true);
  desktop::PressKey(VK_F10);
  desktop::PressKey(VK_LEFT);
  for (int i = 0; i < 4; ++i) desktop::PressKey(VK_DOWN);
  desktop::PressKey(VK_RIGHT);
  desktop::Pump();
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveScreen((dir / "menus.png").string(), &error)) << error;
}

}  // namespace

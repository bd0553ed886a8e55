// List box, header and combo box on the headless desktop: selection by mouse, keys and typed
// letters, owner drawing, scrolling, section dragging, the drop-down list.
#include "host/stdctrls/lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

class ListsTest : public AppTest {
 protected:
  TForm* NewForm(int w = 400, int h = 300) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetColor(clBtnFace);
    form->SetBounds(10, 10, w, h);
    return form;
  }
  TListBox* NewList(TForm* form, int n) {
    auto* list = New<TListBox>(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 121, 97);
    for (int i = 0; i < n; ++i) list->Items()->Add("Item " + std::to_string(i));
    return list;
  }
  static void Key(int vk) { desktop::PressKey(vk); }
  static void WithKeyHeld(int held, int vk) {
    display::Event e{};
    e.kind = display::EventKind::KeyDown;
    e.vk = held;
    desktop::Inject(e);
    desktop::PressKey(vk);
    e.kind = display::EventKind::KeyUp;
    desktop::Inject(e);
    desktop::Pump();
  }
  static void ClickWithKey(TControl* c, int held, int x, int y) {
    display::Event e{};
    e.kind = display::EventKind::KeyDown;
    e.vk = held;
    desktop::Inject(e);
    desktop::Pump();
    const POINT p = At(c, x, y);
    desktop::Click(p.x, p.y);
    e.kind = display::EventKind::KeyUp;
    desktop::Inject(e);
    desktop::Pump();
  }
  static std::vector<int> SelectedOf(TCustomListBox* l) {
    std::vector<int> v;
    for (int i = 0; i < l->Items()->Count(); ++i) {
      if (l->Selected(i)) v.push_back(i);
    }
    return v;
  }
};

TEST_F(ListsTest, ListBoxDefaultsAndItemHeightFromTheFont) {
  TForm* form = NewForm();
  TListBox* list = NewList(form, 3);
  EXPECT_EQ(list->Width(), 121);
  EXPECT_EQ(list->Height(), 97);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->ItemHeight(), 13);  // MS Sans Serif 8
  EXPECT_EQ(list->Color(), clWindow);
  EXPECT_EQ(list->SelCount(), -1);
  list->SetStyle(lbOwnerDrawFixed);
  EXPECT_EQ(list->ItemHeight(), 16);
  list->SetItemHeight(20);
  EXPECT_EQ(list->ItemHeight(), 20);
  EXPECT_THROW(list->SetItemHeight(0), EInvalidOperation);
  EXPECT_THROW(list->SetItemIndex(3), EListError);
  EXPECT_THROW(list->Selected(-1), EListError);
  EXPECT_THROW(list->Items()->Strings(7), EStringListError);
}

TEST_F(ListsTest, ClickAndKeysSelectAndKeepTheItemInView) {
  TForm* form = NewForm();
  TListBox* list = NewList(form, 30);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  ClickOn(list, 20, 13 * 2 + 5);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_TRUE(list->Focused());
  EXPECT_EQ(clicks, 1);
  ClickOn(list, 20, 13 * 2 + 5);  // the same item: nothing changed
  EXPECT_EQ(clicks, 1);
  Key(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 3);
  Key(VK_END);
  EXPECT_EQ(list->ItemIndex(), 29);
  // The list scrolled so the last item is wholly shown at the bottom.
  const RECT r = list->ItemRect(29);
  EXPECT_LE(r.bottom, list->ClientHeight());
  EXPECT_GT(r.top, list->ClientHeight() - 2 * 13);
  EXPECT_GT(list->TopIndex(), 20);
  Key(VK_HOME);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  Key(VK_NEXT);
  const int page = list->ClientHeight() / 13;
  EXPECT_EQ(list->ItemIndex(), page - 1);
  Key(VK_UP);
  EXPECT_EQ(list->ItemIndex(), page - 2);
  EXPECT_EQ(clicks, 6);
  // TopIndex stops where the last page fills the list.
  list->SetTopIndex(1000);
  EXPECT_EQ(list->TopIndex(), 30 - page);
  EXPECT_EQ(list->ItemAtPos({5, 1}, true), 30 - page);
  EXPECT_EQ(list->ItemAtPos({5, 13 * page + 1}, true), -1);
  // Deleting items before the selection keeps it on the same item.
  list->SetItemIndex(5);
  list->Items()->Delete(0);
  EXPECT_EQ(list->ItemIndex(), 4);
  list->Items()->Delete(4);
  EXPECT_EQ(list->ItemIndex(), -1);
  int dbl = 0;
  list->OnDblClick = [&](TObject*) { ++dbl; };
  const POINT p = At(list, 10, 5);
  desktop::Click(p.x, p.y);
  desktop::Click(p.x, p.y);
  EXPECT_EQ(dbl, 1);
}

TEST_F(ListsTest, TypeAheadFindsByPrefixAndResetsAfterAPause) {
  TForm* form = NewForm();
  auto* list = New<TListBox>(form);
  list->SetParent(form);
  for (const char* s : {"Apple", "Banana", "Blueberry", "Cherry", "bramble"}) list->Items()->Add(s);
  form->Show();
  list->SetFocus();
  desktop::TypeText("b");
  EXPECT_EQ(list->ItemIndex(), 1);
  desktop::TypeText("l");  // "bl"
  EXPECT_EQ(list->ItemIndex(), 2);
  kernel::AdvanceClock(1500);
  desktop::TypeText("b");  // a new search: the next item with b after Blueberry
  EXPECT_EQ(list->ItemIndex(), 4);
  desktop::TypeText("b");  // the same letter walks on, wrapping
  EXPECT_EQ(list->ItemIndex(), 1);
  kernel::AdvanceClock(1500);
  desktop::TypeText("cz");  // no item begins with "cz": stays on Cherry
  EXPECT_EQ(list->ItemIndex(), 3);
  kernel::AdvanceClock(200);
  desktop::TypeText("h");  // within the pause: "czh" finds nothing either
  EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(ListsTest, MultiAndExtendedSelection) {
  TForm* form = NewForm();
  TListBox* list = NewList(form, 8);
  list->SetMultiSelect(true);
  form->Show();
  ClickOn(list, 10, 13 * 1 + 3);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{1}));
  ClickWithKey(list, VK_SHIFT, 10, 13 * 4 + 3);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{1, 2, 3, 4}));
  ClickWithKey(list, VK_CONTROL, 10, 13 * 2 + 3);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(list->SelCount(), 3);
  WithKeyHeld(VK_SHIFT, VK_DOWN);  // the anchor is item 2 now: 2..3
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{2, 3}));
  Key(VK_DOWN);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{4}));
  // Dragging extends from where the button went down.
  const POINT a = At(list, 10, 13 * 5 + 3);
  const POINT b = At(list, 10, 13 * 6 + 3);
  desktop::MouseDown(a.x, a.y);
  desktop::MoveMouse(b.x, b.y);
  desktop::MouseUp(b.x, b.y);
  desktop::Pump();
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{5, 6}));
  // Plain multiple selection: clicks toggle, keys move the focus, Space toggles.
  list->SetExtendedSelect(false);
  ClickOn(list, 10, 13 * 0 + 3);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{0, 5, 6}));
  ClickOn(list, 10, 13 * 5 + 3);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{0, 6}));
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 7);
  desktop::TypeText(" ");
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{0, 6, 7}));
  desktop::TypeText(" ");
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{0, 6}));
  list->SetMultiSelect(false);
  EXPECT_EQ(list->SelCount(), -1);
  EXPECT_EQ(SelectedOf(list), (std::vector<int>{7}));
}

TEST_F(ListsTest, OwnerDrawGetsIndexRectAndStateThenTheFocusRectangle) {
  TForm* form = NewForm();
  TListBox* list = NewList(form, 4);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(18);
  std::vector<std::string> calls;
  list->OnDrawItem = [&](TWinControl* c, int index, RECT r, TOwnerDrawState s) {
    EXPECT_EQ(c, list);
    calls.push_back(std::to_string(index) + ":" + std::to_string(r.top) + "-" + std::to_string(r.bottom) +
                    (s.Contains(odSelected) ? "S" : "") + (s.Contains(odFocused) ? "F" : ""));
    auto* canvas = static_cast<TListBox*>(c)->Canvas();
    canvas->Brush()->SetColor(s.Contains(odSelected) ? clRed : clLime);
    canvas->FillRect(r);
  };
  form->Show();
  desktop::Pump();
  // The list took the focus when the form showed.
  EXPECT_EQ(calls, (std::vector<std::string>{"0:0-18F", "1:18-36", "2:36-54", "3:54-72"}));
  calls.clear();
  ClickOn(list, 10, 18 + 4);
  desktop::Pump();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "1:18-36SF"), calls.end());
  // The owner's colours fill the item; the list's dotted rectangle lies over the red.
  const POINT o = list->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 10, o.y + 18 + 8), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(o.x + 10, o.y + 8), RGB(0, 255, 0));
  int inverted = 0;
  for (int x = 0; x < 20; ++x) inverted += ScreenPixel(o.x + x, o.y + 18) != RGB(255, 0, 0);
  EXPECT_GE(inverted, 8);  // every other pixel of the top edge
  EXPECT_LE(inverted, 12);
}

TEST_F(ListsTest, StandardSelectionColoursAndTextMargin) {
  TForm* form = NewForm();
  TListBox* list = NewList(form, 3);
  list->Items()->Put(1, "|||");
  form->Show();
  list->SetItemIndex(1);
  const POINT o = list->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 60, o.y + 13 + 6), RGB(0, 0, 128));  // clHighlight
  EXPECT_EQ(ScreenPixel(o.x + 60, o.y + 6), RGB(255, 255, 255));
  // The text starts 2 px in: columns 0 and 1 of the row are bare highlight.
  bool text_at_2 = false;
  for (int y = 14; y < 25; ++y) {  // inside the focus rectangle's rows
    EXPECT_EQ(ScreenPixel(o.x + 1, o.y + y), RGB(0, 0, 128));
    text_at_2 = text_at_2 || ScreenPixel(o.x + 2, o.y + y) == RGB(255, 255, 255) ||
                ScreenPixel(o.x + 3, o.y + y) == RGB(255, 255, 255);
  }
  EXPECT_TRUE(text_at_2);
}

TEST_F(ListsTest, VariableHeightsComeFromMeasureItem) {
  TForm* form = NewForm();
  auto* list = New<TListBox>(form);
  list->SetParent(form);
  list->SetStyle(lbOwnerDrawVariable);
  std::vector<int> measured;
  list->OnMeasureItem = [&](TWinControl*, int index, int& h) {
    measured.push_back(index);
    EXPECT_EQ(h, 16);
    h = 10 + index * 5;
  };
  for (int i = 0; i < 10; ++i) list->Items()->Add("x");
  EXPECT_EQ(measured, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  form->Show();
  const RECT r2 = list->ItemRect(2);
  EXPECT_EQ(r2.top, 10 + 15);
  EXPECT_EQ(r2.bottom, 10 + 15 + 20);
  EXPECT_EQ(list->ItemAtPos({3, 24}, true), 1);
  EXPECT_EQ(list->ItemAtPos({3, 25}, true), 2);
  // Making the last item visible puts its bottom at the list's bottom or above.
  list->SetItemIndex(9);
  const RECT r9 = list->ItemRect(9);
  EXPECT_GE(r9.top, 0);
  EXPECT_LE(r9.bottom, list->ClientHeight());
  EXPECT_EQ(list->TopIndex(), 9);  // 50 + 55 exceed the client height (93)
}

TEST_F(ListsTest, ColumnsLayOutDownThenAcross) {
  TForm* form = NewForm();
  TListBox* list = NewList(form, 40);
  list->SetColumns(2);
  form->Show();
  const int rows = list->ClientHeight() / 13;
  const int width = list->ClientWidth() / 2;
  EXPECT_EQ(list->ItemRect(rows).left, width);
  EXPECT_EQ(list->ItemRect(rows).top, 0);
  EXPECT_EQ(list->ItemAtPos({width + 3, 13 + 3}, true), rows + 1);
  list->SetItemIndex(39);
  EXPECT_EQ(list->TopIndex() % rows, 0);
  const RECT r = list->ItemRect(39);
  EXPECT_GE(r.left, 0);
  EXPECT_LE(r.right, list->ClientWidth());
  list->SetFocus();
  Key(VK_HOME);
  Key(VK_RIGHT);
  EXPECT_EQ(list->ItemIndex(), rows);
}

TEST_F(ListsTest, HeaderDragResizesWithSizingAndSized) {
  TForm* form = NewForm();
  auto* header = New<THeader>(form);
  header->SetParent(form);
  header->SetBounds(0, 0, 300, 20);
  header->Sections()->Add("Name");
  header->Sections()->Add("Size");
  header->Sections()->Add("Date");
  header->SetSectionWidth(0, 80);
  EXPECT_EQ(header->SectionWidth(1), 50);
  EXPECT_THROW(header->SectionWidth(3), EListError);
  std::vector<std::string> log;
  header->OnSizing = [&](TObject*, int s, int w) { log.push_back("sizing " + std::to_string(s) + " " + std::to_string(w)); };
  header->OnSized = [&](TObject*, int s, int w) { log.push_back("sized " + std::to_string(s) + " " + std::to_string(w)); };
  form->Show();
  EXPECT_EQ(header->DividerAt(81), 0);
  EXPECT_EQ(header->DividerAt(131), 1);
  EXPECT_EQ(header->DividerAt(100), -1);
  const POINT a = At(header, 131, 10);
  const POINT b = At(header, 150, 10);
  const POINT c = At(header, 60, 10);
  desktop::MouseDown(a.x, a.y);
  desktop::MoveMouse(b.x, b.y);
  desktop::MoveMouse(c.x, c.y);  // past the section's left edge: width 0
  desktop::MouseUp(c.x, c.y);
  desktop::Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"sizing 1 69", "sizing 1 0", "sized 1 0"}));
  EXPECT_EQ(header->SectionWidth(1), 0);
  EXPECT_EQ(header->SectionWidth(0), 80);
  // The raised buttons: white top-left and black bottom-right edges of the first section.
  const POINT o = header->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(o.x + 79, o.y + 5), RGB(0, 0, 0));
  EXPECT_EQ(ScreenPixel(o.x + 78, o.y + 5), RGB(128, 128, 128));
  // Resizing is refused when not allowed.
  header->SetAllowResize(false);
  log.clear();
  desktop::MouseDown(o.x + 80, o.y + 5);
  desktop::MoveMouse(o.x + 120, o.y + 5);
  desktop::MouseUp(o.x + 120, o.y + 5);
  desktop::Pump();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(header->SectionWidth(0), 80);
}

TEST_F(ListsTest, HeaderWidthsRoundTripThroughTheFormText) {
  TForm* form = NewForm();
  auto* header = New<THeader>(form);
  header->SetName("Header1");
  header->SetParent(form);
  header->Sections()->Add("A");
  header->Sections()->Add("B");
  header->SetSectionWidth(1, 77);
  RegisterListControls();
  const std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("SectionWidths = (\n"), std::string::npos) << text;
  auto* copy = New<TForm>(Application());
  ReadComponentFromText(copy, text, "copy.form");
  auto* h = dynamic_cast<THeader*>(copy->FindComponent("Header1"));
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->Sections()->Count(), 2);
  EXPECT_EQ(h->SectionWidth(1), 77);
  EXPECT_EQ(h->SectionWidth(0), 50);
}

TEST_F(ListsTest, ComboHeightFollowsItemHeight) {
  TForm* form = NewForm();
  auto* combo = New<TComboBox>(form);
  combo->SetParent(form);
  EXPECT_EQ(combo->Width(), 145);
  EXPECT_EQ(combo->Height(), 21);  // text 13 + 2 + 6
  combo->SetHeight(40);
  EXPECT_EQ(combo->Height(), 21);
  combo->SetStyle(csOwnerDrawFixed);
  EXPECT_EQ(combo->Height(), 22);  // item 16 + 6
  combo->SetItemHeight(24);
  EXPECT_EQ(combo->Height(), 30);
  combo->Font()->SetSize(10);
  EXPECT_EQ(combo->Height(), 30);
  combo->SetStyle(csDropDownList);
  EXPECT_EQ(combo->Height(), 16 + 2 + 6);
  EXPECT_THROW(combo->SetDropDownCount(0), EInvalidOperation);
}

TEST_F(ListsTest, ComboDropsSelectsAndClosesOnOutsideClick) {
  TForm* form = NewForm();
  auto* combo = New<TComboBox>(form);
  combo->SetParent(form);
  combo->SetBounds(20, 20, 145, 21);
  combo->SetStyle(csDropDownList);
  for (int i = 0; i < 12; ++i) combo->Items()->Add("Choice " + std::to_string(i));
  int changes = 0, drops = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  combo->OnDropDown = [&](TObject*) { ++drops; };
  form->Show();
  const RECT b = combo->ButtonRect();
  ClickOn(combo, b.left + 5, 5);
  ASSERT_TRUE(combo->DroppedDown());
  EXPECT_EQ(drops, 1);
  TComboListBox* list = combo->ListBox();
  ASSERT_NE(list, nullptr);
  // Below the combo, as wide, eight rows high plus the border.
  const POINT below = combo->Parent()->ClientToScreen({combo->Left(), combo->Top() + combo->Height()});
  EXPECT_EQ(list->Left(), below.x);
  EXPECT_EQ(list->Top(), below.y);
  EXPECT_EQ(list->Width(), 145);
  EXPECT_EQ(list->Height(), 8 * 13 + 2);
  EXPECT_TRUE(combo->Focused());
  // A click on the third row picks it and closes the list.
  const POINT p = list->ClientToScreen({20, 2 * 13 + 4});
  desktop::Click(p.x, p.y);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "Choice 2");
  EXPECT_EQ(changes, 1);
  // Open with the keyboard, move with arrows (each a change), close with Esc.
  Key(VK_F4);
  EXPECT_TRUE(combo->DroppedDown());
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 4);
  EXPECT_EQ(combo->ListBox()->ItemIndex(), 4);
  EXPECT_EQ(changes, 3);
  Key(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  // A click outside closes it without choosing.
  WithKeyHeld(VK_MENU, VK_DOWN);
  ASSERT_TRUE(combo->DroppedDown());
  const POINT hover = list->ClientToScreen({20, 13 * 6 + 3});
  desktop::MoveMouse(hover.x, hover.y);
  desktop::Pump();
  EXPECT_EQ(list->ItemIndex(), 6);
  ClickOn(form, 350, 250);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 4);
  EXPECT_EQ(changes, 3);
  // Type-ahead in the field.
  desktop::TypeText("c");
  EXPECT_EQ(combo->ItemIndex(), 5);
  EXPECT_EQ(changes, 4);
}

TEST_F(ListsTest, ComboListOpensAboveWhenNoRoomBelow) {
  TForm* form = NewForm(300, 460);
  auto* combo = New<TComboBox>(form);
  combo->SetParent(form);
  combo->SetBounds(10, 430, 145, 21);
  for (int i = 0; i < 5; ++i) combo->Items()->Add("x");
  form->Show();
  combo->SetDroppedDown(true);
  ASSERT_TRUE(combo->DroppedDown());
  const POINT top = combo->Parent()->ClientToScreen({combo->Left(), combo->Top()});
  EXPECT_EQ(combo->ListBox()->Top() + combo->ListBox()->Height(), top.y);
  combo->SetDroppedDown(false);
  EXPECT_FALSE(combo->ListBox()->Visible());
}

TEST_F(ListsTest, ComboEditTypingMaxLengthAndOwnerDrawnList) {
  TForm* form = NewForm();
  auto* combo = New<TComboBox>(form);
  combo->SetParent(form);
  combo->Items()->Add("alpha");
  combo->Items()->Add("beta");
  combo->SetMaxLength(5);
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  form->Show();
  combo->SetFocus();
  desktop::TypeText("betaXYZ");
  EXPECT_EQ(combo->Text(), "betaX");
  EXPECT_EQ(changes, 5);
  Key(VK_BACK);
  EXPECT_EQ(combo->Text(), "beta");
  EXPECT_EQ(combo->ItemIndex(), 1);  // the text names an item
  Key(VK_HOME);
  WithKeyHeld(VK_SHIFT, VK_RIGHT);
  EXPECT_EQ(combo->SelText(), "b");
  desktop::TypeText("z");
  EXPECT_EQ(combo->Text(), "zeta");
  EXPECT_EQ(combo->ItemIndex(), -1);

  // Owner-drawn items of a descendant-style combo are drawn on the combo's canvas while the
  // list paints.
  combo->SetStyle(csOwnerDrawVariable);
  combo->OnMeasureItem = [](TWinControl*, int index, int& h) { h = index == 0 ? 30 : 12; };
  std::vector<std::string> drawn;
  combo->OnDrawItem = [&](TWinControl* c, int index, RECT r, TOwnerDrawState s) {
    drawn.push_back(std::to_string(index) + ":" + std::to_string(r.bottom - r.top) + (s.Contains(odSelected) ? "S" : ""));
    auto* cb = static_cast<TComboBox*>(c);
    cb->Canvas()->Brush()->SetColor(index == 0 ? clYellow : clAqua);
    cb->Canvas()->FillRect(r);
  };
  combo->SetItemIndex(1);
  combo->SetDroppedDown(true);
  desktop::Pump();
  EXPECT_EQ(combo->ListBox()->Height(), 30 + 12 + 2);
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), "0:30"), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), "1:12S"), drawn.end());
  const POINT lo = combo->ListBox()->ClientOrigin();
  EXPECT_EQ(ScreenPixel(lo.x + 10, lo.y + 10), RGB(255, 255, 0));
  Key(VK_RETURN);
  EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ListsTest, ItemsReadFromFormTextAndSortedAdds) {
  TForm* form = NewForm();
  RegisterListControls();
  ReadComponentFromText(form,
                        "object F: TForm\n"
                        "  object L: TListBox\n"
                        "    Sorted = True\n"
                        "    Items.Strings = (\n"
                        "      'pear'\n"
                        "      'Apple'\n"
                        "      'fig')\n"
                        "  end\n"
                        "  object C: TComboBox\n"
                        "    Style = csDropDownList\n"
                        "    Items.Strings = (\n"
                        "      'one'\n"
                        "      'two')\n"
                        "    Text = 'two'\n"
                        "  end\n"
                        "end\n",
                        "sorted.form");
  auto* l = dynamic_cast<TListBox*>(form->FindComponent("L"));
  auto* c = dynamic_cast<TComboBox*>(form->FindComponent("C"));
  ASSERT_TRUE(l && c);
  EXPECT_EQ(l->Items()->CommaText(), "Apple,fig,pear");
  l->Items()->Add("banana");
  EXPECT_EQ(l->Items()->CommaText(), "Apple,banana,fig,pear");
  EXPECT_EQ(c->ItemIndex(), 1);
  c->SetText("three");  // no such item in a list style
  EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(c->Text(), "");
}

TEST_F(ListsTest, Gallery) {
  TForm* form = NewForm(460, 250);
  auto* l1 = NewList(form, 12);
  l1->SetItemIndex(3);
  auto* l2 = NewList(form, 6);
  l2->SetLeft(140);
  l2->SetMultiSelect(true);
  l2->SetSelected(1, true);
  l2->SetSelected(2, true);
  l2->SetSelected(4, true);
  auto* l3 = NewList(form, 5);
  l3->SetLeft(270);
  l3->SetItemIndex(1);
  l3->SetEnabled(false);
  auto* header = New<THeader>(form);
  header->SetParent(form);
  header->SetBounds(10, 115, 300, 20);
  for (const char* s : {"Name", "Size", "Type", "Modified"}) header->Sections()->Add(s);
  header->SetSectionWidth(0, 100);
  auto* c1 = New<TComboBox>(form);
  c1->SetParent(form);
  c1->SetBounds(10, 145, 145, 21);
  c1->Items()->Add("Drop-down");
  c1->SetText("Drop-down");
  auto* c2 = New<TComboBox>(form);
  c2->SetParent(form);
  c2->SetBounds(165, 145, 145, 21);
  c2->SetStyle(csDropDownList);
  for (const char* s : {"Red", "Green", "Blue", "Yellow"}) c2->Items()->Add(s);
  c2->SetItemIndex(1);
  auto* c3 = New<TComboBox>(form);
  c3->SetParent(form);
  c3->SetBounds(320, 145, 130, 21);
  c3->SetStyle(csDropDownList);
  c3->Items()->Add("Disabled");
  c3->SetItemIndex(0);
  c3->SetEnabled(false);
  auto* c4 = New<TComboBox>(form);
  c4->SetParent(form);
  c4->SetBounds(320, 175, 130, 70);
  c4->SetStyle(csSimple);
  for (const char* s : {"Simple", "combo", "box"}) c4->Items()->Add(s);
  c4->SetItemIndex(1);
  form->Show();
  l1->SetFocus();
  c2->SetFocus();
  c2->SetDroppedDown(true);
  desktop::Pump();
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveScreen((dir / "lists.png").string(), &error)) << error;
}

}  // namespace
}  // namespace host

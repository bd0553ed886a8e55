// Edits, memos, spin buttons, spin edits and scroll bars on the headless desktop: typing,
// selection by keys and mouse, the clipboard, limits, the look, lines and wrapping, scrolling.
#include "host/stdctrls/edits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/graphics/font.h"
#include "platform/win32.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

class EditsTest : public AppTest {
 protected:
  TForm* NewForm(int w = 400, int h = 300) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, w, h);
    form->Show();
    desktop::Pump();
    return form;
  }
  template <class T>
  T* Make(TForm* form, int x, int y, int w, int h) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(x, y, w, h);
    desktop::Pump();
    return c;
  }
  static void Key(int vk, std::initializer_list<int> mods = {}) {
    display::Event e;
    e.kind = display::EventKind::KeyDown;
    for (int m : mods) {
      e.vk = m;
      desktop::Inject(e);
    }
    desktop::PressKey(vk);
    e.kind = display::EventKind::KeyUp;
    for (int m : mods) {
      e.vk = m;
      desktop::Inject(e);
    }
    desktop::Pump();
  }
};

TEST_F(EditsTest, TypingEditsAtTheCaretAndFiresOnChangeEachTime) {
  TForm* form = NewForm();
  auto* edit = Make<TEdit>(form, 10, 10, 121, 21);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetFocus();
  desktop::TypeText("hello");
  EXPECT_EQ(edit->Text(), "hello");
  EXPECT_EQ(changes, 5);
  EXPECT_TRUE(edit->Modified());
  Key(VK_LEFT);
  Key(VK_LEFT);
  desktop::TypeText("X");
  EXPECT_EQ(edit->Text(), "helXlo");
  Key(VK_BACK);
  Key(VK_DELETE);
  EXPECT_EQ(edit->Text(), "helo");
  Key(VK_HOME);
  Key(VK_DELETE);
  EXPECT_EQ(edit->Text(), "elo");
  Key(VK_END);
  desktop::TypeText("\xC3\xA9");  // a two-byte character, removed whole by one Backspace
  EXPECT_EQ(edit->Text(), "elo\xC3\xA9");
  Key(VK_BACK);
  EXPECT_EQ(edit->Text(), "elo");
  // Ctrl+Backspace and Ctrl+arrows go by words.
  edit->SetText("one two three");
  edit->SetSelStart(13);
  Key(VK_LEFT, {VK_CONTROL});
  EXPECT_EQ(edit->SelStart(), 8);
  Key(VK_LEFT, {VK_CONTROL});
  EXPECT_EQ(edit->SelStart(), 4);
  Key(VK_RIGHT, {VK_CONTROL});
  EXPECT_EQ(edit->SelStart(), 8);
  // Setting Text puts the caret at the start and clears Modified.
  EXPECT_FALSE(edit->Modified());
}

TEST_F(EditsTest, ShiftKeysAndTheMouseSelect) {
  TForm* form = NewForm();
  auto* edit = Make<TEdit>(form, 10, 10, 200, 21);
  edit->SetText("alpha beta gamma");
  edit->SetFocus();
  // Focus by keyboard selected everything (AutoSelect).
  EXPECT_EQ(edit->SelLength(), 16);
  Key(VK_HOME);
  Key(VK_RIGHT, {VK_SHIFT});
  Key(VK_RIGHT, {VK_SHIFT});
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelText(), "al");
  Key(VK_END, {VK_SHIFT});
  EXPECT_EQ(edit->SelText(), "alpha beta gamma");
  Key(VK_RIGHT, {VK_CONTROL, VK_SHIFT});
  Key(VK_LEFT);  // collapses to the selection's start
  EXPECT_EQ(edit->SelLength(), 0);
  // A drag from the start of "beta" to the end of the text.
  edit->SetSelStart(0);
  const POINT caret_beta = [&] {
    edit->SetSelStart(6);
    return edit->CaretPoint();
  }();
  const POINT end = [&] {
    edit->SetSelStart(16);
    return edit->CaretPoint();
  }();
  POINT a = At(edit, caret_beta.x + 1, 8), b = At(edit, end.x + 20, 8);
  desktop::MouseDown(a.x, a.y);
  desktop::MoveMouse(b.x, b.y);
  desktop::MouseUp(b.x, b.y);
  desktop::Pump();
  EXPECT_EQ(edit->SelText(), "beta gamma");
  // A double click selects the word under the pointer.
  edit->SetSelStart(0);
  kernel::AdvanceClock(1000);
  desktop::Click(a.x + 3, a.y);
  desktop::Click(a.x + 3, a.y);
  EXPECT_EQ(edit->SelText(), "beta");
}

TEST_F(EditsTest, ClipboardRoundTripWithCtrlAndShiftKeys) {
  TForm* form = NewForm();
  auto* edit = Make<TEdit>(form, 10, 10, 200, 21);
  auto* other = Make<TEdit>(form, 10, 40, 200, 21);
  edit->SetText("copy me");
  edit->SetFocus();
  Key('C', {VK_CONTROL});
  EXPECT_EQ(GetClipboardText(), "copy me");
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  other->SetFocus();
  Key(VK_END);
  Key('V', {VK_CONTROL});
  Key(VK_INSERT, {VK_SHIFT});
  EXPECT_EQ(other->Text(), "copy mecopy me");
  Key(VK_HOME);
  Key(VK_END, {VK_SHIFT});
  Key('X', {VK_CONTROL});
  EXPECT_EQ(other->Text(), "");
  EXPECT_EQ(GetClipboardText(), "copy mecopy me");
  // Multi-line text pastes its first line into an edit.
  SetClipboardText("first\r\nsecond");
  Key(VK_INSERT, {VK_SHIFT});
  EXPECT_EQ(other->Text(), "first");
  // Shift+Del cuts, Ctrl+Ins copies.
  other->SelectAll();
  Key(VK_DELETE, {VK_SHIFT});
  EXPECT_EQ(other->Text(), "");
  edit->SetSelStart(0);
  edit->SetSelLength(4);
  edit->CopyToClipboard();
  EXPECT_EQ(GetClipboardText(), "copy");
  // The platform calls want the clipboard open.
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_STREQ(static_cast<const char*>(GetClipboardData(CF_TEXT)), "copy");
  EXPECT_EQ(GetClipboardData(2), nullptr);
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(CloseClipboard());
  // A password edit gives nothing away.
  edit->SetPasswordChar('*');
  edit->SelectAll();
  edit->CopyToClipboard();
  EXPECT_EQ(GetClipboardText(), "");
}

TEST_F(EditsTest, MaxLengthReadOnlyAndCharCaseRuleTyping) {
  TForm* form = NewForm();
  auto* edit = Make<TEdit>(form, 10, 10, 200, 21);
  edit->SetMaxLength(5);
  edit->SetFocus();
  desktop::TypeText("abcdefgh");
  EXPECT_EQ(edit->Text(), "abcde");
  SetClipboardText("XYZ");
  edit->SetSelStart(2);
  edit->SetSelLength(1);
  edit->PasteFromClipboard();  // one character's room: one character pasted
  EXPECT_EQ(edit->Text(), "abXde");
  EXPECT_THROW(edit->SetMaxLength(-1), EInvalidOperation);

  edit->SetMaxLength(0);
  edit->SetReadOnly(true);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  desktop::TypeText("q");
  Key(VK_BACK);
  Key(VK_DELETE);
  Key('X', {VK_CONTROL});
  Key('V', {VK_CONTROL});
  EXPECT_EQ(edit->Text(), "abXde");
  EXPECT_EQ(changes, 0);
  // Moving and copying still work.
  Key(VK_HOME);
  Key(VK_END, {VK_SHIFT});
  Key('C', {VK_CONTROL});
  EXPECT_EQ(GetClipboardText(), "abXde");

  edit->SetReadOnly(false);
  edit->SetCharCase(ecUpperCase);
  EXPECT_EQ(edit->Text(), "ABXDE");
  Key(VK_END);
  desktop::TypeText("xy");
  EXPECT_EQ(edit->Text(), "ABXDEXY");
  edit->SetCharCase(ecLowerCase);
  edit->SetText("MiXeD");
  EXPECT_EQ(edit->Text(), "mixed");
  EXPECT_THROW(edit->SetBorderStyle(bsDialog), EInvalidOperation);
}

TEST_F(EditsTest, LookSunkenEdgeSelectionColoursAndPasswordHidesText) {
  TForm* form = NewForm();
  auto* edit = Make<TEdit>(form, 10, 10, 121, 21);
  edit->SetText("WWWW");
  desktop::Pump();
  const POINT o = At(edit, 0, 0);
  // The sunken edge: shadow over dark shadow at the top left, light over highlight below.
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 20), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 19), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(ScreenPixel(o.x + 100, o.y + 10), GetSysColor(COLOR_WINDOW));
  auto count_text = [&](COLORREF colour) {
    int n = 0;
    for (int y = 3; y < 17; ++y)
      for (int x = 3; x < 60; ++x) n += ScreenPixel(o.x + x, o.y + y) == colour;
    return n;
  };
  const int plain = count_text(RGB(0, 0, 0));
  EXPECT_GT(plain, 20);
  // Selected text is highlight text on highlight.
  edit->SetFocus();
  edit->SelectAll();
  desktop::Pump();
  EXPECT_GT(count_text(GetSysColor(COLOR_HIGHLIGHT)), 40);
  EXPECT_GT(count_text(GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
  // A password shows one mark per character: the W shapes are gone, the marks are narrow.
  edit->SetSelLength(0);
  edit->SetPasswordChar('.');
  form->SetFocus();
  desktop::Pump();
  const int dots = count_text(RGB(0, 0, 0));
  EXPECT_GT(dots, 0);
  EXPECT_LT(dots, plain / 3);
  EXPECT_EQ(edit->Text(), "WWWW");
}

TEST_F(EditsTest, CaretScrollsTheEditHorizontally) {
  TForm* form = NewForm();
  auto* edit = Make<TEdit>(form, 10, 10, 60, 21);
  edit->SetFocus();
  desktop::TypeText("a long line that does not fit");
  EXPECT_GT(edit->ScrollX(), 0);
  POINT p = edit->CaretPoint();
  EXPECT_GE(p.x, 2);
  EXPECT_LE(p.x, 56);
  Key(VK_HOME);
  EXPECT_EQ(edit->ScrollX(), 0);
  EXPECT_EQ(edit->CaretPoint().x, 3);
}

TEST_F(EditsTest, MemoLinesAndTextStayInStep) {
  TForm* form = NewForm();
  auto* memo = Make<TMemo>(form, 10, 10, 200, 100);
  memo->SetText("one\ntwo\r\nthree");
  EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree");
  ASSERT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Strings(1), "two");
  memo->Lines()->Add("four");
  EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  EXPECT_EQ(memo->Lines()->Count(), 4);
  memo->Lines()->Insert(0, "zero");
  memo->Lines()->Delete(2);
  memo->Lines()->Put(1, "ONE");
  EXPECT_EQ(memo->Text(), "zero\r\nONE\r\nthree\r\nfour\r\n");
  EXPECT_EQ(memo->Lines()->Text(), memo->Text());
  memo->Lines()->SetText("a\nb");
  EXPECT_EQ(memo->Text(), "a\r\nb\r\n");
  memo->Lines()->Clear();
  EXPECT_EQ(memo->Lines()->Count(), 0);
  EXPECT_EQ(memo->Text(), "");
  try {
    memo->Lines()->Strings(0);
    FAIL() << "no exception";
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (0)");
  }
  // Enter types a line break; with WantReturns off it is the dialog's key.
  memo->SetFocus();
  desktop::TypeText("x");
  Key(VK_RETURN);
  desktop::TypeText("y");
  EXPECT_EQ(memo->Text(), "x\r\ny");
  Key(VK_HOME);
  Key(VK_BACK);  // joins the lines, taking CR LF whole
  EXPECT_EQ(memo->Text(), "xy");
  memo->SetWantReturns(false);
  Key(VK_RETURN);
  EXPECT_EQ(memo->Text(), "xy");
  Key(VK_TAB);  // WantTabs off: Tab moves on and types nothing
  EXPECT_EQ(memo->Text(), "xy");
}

TEST_F(EditsTest, WordWrapBreaksAfterBlanksAndInsideLongWords) {
  TForm* form = NewForm();
  auto* memo = Make<TMemo>(form, 10, 10, 80, 100);
  memo->SetText("aaa bbb ccc ddd eee fff");
  ASSERT_GT(memo->VisualLineCount(), 1);
  // Every visual line but the last ends just after a blank; no line starts with one.
  const std::string t = memo->Text();
  for (int i = 0; i < memo->VisualLineCount(); ++i) {
    auto [from, to] = memo->VisualLine(i);
    EXPECT_NE(t[static_cast<size_t>(from)], ' ') << "line " << i;
    if (i + 1 < memo->VisualLineCount()) {
      EXPECT_EQ(t[static_cast<size_t>(to) - 1], ' ') << "line " << i;
      EXPECT_EQ(memo->VisualLine(i + 1).first, to);
    }
  }
  memo->SetText(std::string(40, 'w'));
  EXPECT_GT(memo->VisualLineCount(), 2);
  int total = 0;
  for (int i = 0; i < memo->VisualLineCount(); ++i) total += memo->VisualLine(i).second - memo->VisualLine(i).first;
  EXPECT_EQ(total, 40);
  memo->SetWordWrap(false);
  EXPECT_EQ(memo->VisualLineCount(), 1);
  EXPECT_THROW(memo->VisualLine(1), EInvalidOperation);
}

TEST_F(EditsTest, UpAndDownKeepTheColumnAndTheCaretStaysInView) {
  TForm* form = NewForm();
  auto* memo = Make<TMemo>(form, 10, 10, 200, 60);
  memo->SetWordWrap(false);
  memo->SetText("abcdefgh\r\nab\r\nabcdefgh\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9");
  memo->SetFocus();
  memo->SetSelStart(6);  // after "abcdef"
  Key(VK_DOWN);
  EXPECT_EQ(memo->CaretLine(), 1);
  EXPECT_EQ(memo->SelStart(), 12);  // the end of the short line
  Key(VK_DOWN);
  EXPECT_EQ(memo->CaretLine(), 2);
  EXPECT_EQ(memo->SelStart(), 14 + 6);  // the column came back
  Key(VK_UP, {VK_SHIFT});
  EXPECT_EQ(memo->SelLength(), 8);
  EXPECT_EQ(memo->TopLine(), 0);
  Key(VK_END, {VK_CONTROL});
  EXPECT_EQ(memo->CaretLine(), 8);
  EXPECT_GT(memo->TopLine(), 0);
  EXPECT_LE(memo->TopLine(), 8);
  const POINT p = memo->CaretPoint();
  EXPECT_GE(p.y, 0);
  EXPECT_LE(p.y, 60 - 2 - 13);
  Key(VK_HOME, {VK_CONTROL});
  EXPECT_EQ(memo->TopLine(), 0);
  EXPECT_EQ(memo->SelStart(), 0);
  Key(VK_NEXT);
  EXPECT_GT(memo->CaretLine(), 1);
  // The wheel scrolls without moving the caret.
  const int caret = memo->SelStart();
  memo->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(memo->SelStart(), caret);
  EXPECT_GT(memo->TopLine(), 0);
}

TEST_F(EditsTest, SpinEditClampsStepsAndRefusesLetters) {
  TForm* form = NewForm();
  auto* spin = Make<TSpinEdit>(form, 10, 10, 121, 21);
  auto* other = Make<TEdit>(form, 10, 40, 121, 21);
  spin->SetMinValue(-5);
  spin->SetMaxValue(10);
  spin->SetIncrement(3);
  spin->SetValue(8);
  EXPECT_EQ(spin->Text(), "8");
  spin->SetFocus();
  Key(VK_UP);
  EXPECT_EQ(spin->Value(), 10);  // 11 clamped
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(spin->Value(), 4);
  spin->SelectAll();
  desktop::TypeText("9x9");  // letters refused
  EXPECT_EQ(spin->Text(), "99");
  other->SetFocus();  // leaving checks the value
  EXPECT_EQ(spin->Text(), "10");
  spin->SetText("-");
  spin->Perform(WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(spin->Value(), -5);
  // The buttons step too.
  TSpinButton* b = spin->Button();
  ClickOn(b, 5, 2);
  EXPECT_EQ(spin->Value(), -2);
  ClickOn(b, 5, b->Height() - 2);
  EXPECT_EQ(spin->Value(), -5);
  // No range when both bounds are zero.
  spin->SetMinValue(0);
  spin->SetMaxValue(0);
  spin->SetValue(12345);
  EXPECT_EQ(spin->Value(), 12345);
}

TEST_F(EditsTest, SpinButtonRepeatsWhileHeldOnTheVirtualClock) {
  TForm* form = NewForm();
  auto* spin = Make<TSpinButton>(form, 10, 10, 20, 30);
  int ups = 0, downs = 0;
  spin->OnUpClick = [&](TObject*) { ++ups; };
  spin->OnDownClick = [&](TObject*) { ++downs; };
  const POINT p = At(spin, 10, 5);
  desktop::MouseDown(p.x, p.y);
  desktop::Pump();
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(spin->Pressed(), 1);
  kernel::AdvanceClock(399);
  desktop::Pump();
  EXPECT_EQ(ups, 1);
  kernel::AdvanceClock(1);
  desktop::Pump();
  EXPECT_EQ(ups, 2);
  for (int i = 0; i < 5; ++i) {
    kernel::AdvanceClock(100);
    desktop::Pump();
  }
  EXPECT_EQ(ups, 7);
  // Off the button the repeats pause; back on they resume.
  const POINT away = At(spin, 10, 25);
  desktop::MoveMouse(away.x, away.y);
  kernel::AdvanceClock(300);
  desktop::Pump();
  EXPECT_EQ(ups, 7);
  EXPECT_EQ(spin->Pressed(), 0);
  desktop::MouseUp(away.x, away.y);
  kernel::AdvanceClock(1000);
  desktop::Pump();
  EXPECT_EQ(ups, 7);
  EXPECT_EQ(downs, 0);
  ClickOn(spin, 10, 25);
  EXPECT_EQ(downs, 1);
}

TEST_F(EditsTest, ScrollBarReportsScrollsThroughItsParent) {
  TForm* form = NewForm();
  auto* bar = Make<TScrollBar>(form, 10, 10, 121, 16);
  bar->SetSmallChange(2);
  bar->SetLargeChange(10);
  std::vector<std::pair<int, int>> scrolls;
  int changes = 0;
  bar->OnScroll = [&](TObject*, TScrollCode code, int32_t& pos) {
    scrolls.push_back({code, pos});
    if (code == scPageDown) pos = 50;  // OnScroll may change where it goes
  };
  bar->OnChange = [&](TObject*) { ++changes; };
  ClickOn(bar, 121 - 5, 8);  // the right arrow
  EXPECT_EQ(bar->Position(), 2);
  ASSERT_GE(scrolls.size(), 2u);
  EXPECT_EQ(scrolls[0], (std::pair<int, int>{scLineDown, 2}));
  EXPECT_EQ(scrolls.back().first, scEndScroll);
  EXPECT_EQ(changes, 1);
  ClickOn(bar, 100, 8);  // the track right of the thumb
  EXPECT_EQ(bar->Position(), 50);
  ClickOn(bar, 5, 8);  // the left arrow
  EXPECT_EQ(bar->Position(), 48);
  // Keys and clamping.
  bar->SetFocus();
  Key(VK_END);
  EXPECT_EQ(bar->Position(), 100);
  Key(VK_RIGHT);
  EXPECT_EQ(bar->Position(), 100);
  Key(VK_HOME);
  EXPECT_EQ(bar->Position(), 0);
  // Dragging the thumb tracks, then sets the position.
  scrolls.clear();
  const POINT t = At(bar, 16 + 8, 8), to = At(bar, 121 - 16 - 8, 8);
  desktop::MouseDown(t.x, t.y);
  desktop::MoveMouse(to.x, to.y);
  desktop::MouseUp(to.x, to.y);
  desktop::Pump();
  EXPECT_EQ(bar->Position(), 100);
  ASSERT_GE(scrolls.size(), 3u);
  EXPECT_EQ(scrolls[0].first, scTrack);
  EXPECT_EQ(scrolls[scrolls.size() - 2], (std::pair<int, int>{scPosition, 100}));
  // A range that makes no sense is refused with the numbers.
  try {
    bar->SetParams(0, 10, 5);
    FAIL() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Scroll bar property out of range: Max 5 is below Min 10");
  }
  bar->SetPageSize(20);
  bar->SetPosition(100);
  EXPECT_EQ(bar->Position(), 81);
}

TEST_F(EditsTest, Gallery) {
  RegisterEditControls();
  TForm* form = NewForm(420, 260);
  form->SetColor(clBtnFace);
  auto* e1 = Make<TEdit>(form, 10, 10, 121, 21);
  e1->SetText("Normal edit");
  auto* e2 = Make<TEdit>(form, 10, 40, 121, 21);
  e2->SetText("Selected text");
  auto* e3 = Make<TEdit>(form, 10, 70, 121, 21);
  e3->SetText("Disabled");
  e3->SetEnabled(false);
  auto* e4 = Make<TEdit>(form, 10, 100, 121, 21);
  e4->SetText("secret");
  e4->SetPasswordChar('*');
  auto* spin = Make<TSpinEdit>(form, 10, 130, 121, 21);
  spin->SetValue(42);
  auto* memo = Make<TMemo>(form, 150, 10, 150, 110);
  memo->SetText("A memo wraps its words at the right edge.\r\nSecond paragraph\r\n\tTabbed");
  auto* hbar = Make<TScrollBar>(form, 150, 130, 150, 16);
  hbar->SetPosition(30);
  auto* vbar = Make<TScrollBar>(form, 310, 10, 16, 121);
  vbar->SetKind(sbVertical);
  vbar->SetBounds(310, 10, 16, 121);
  vbar->SetPageSize(25);
  vbar->SetPosition(40);
  auto* sb = Make<TSpinButton>(form, 340, 10, 20, 25);
  (void)sb;
  e2->SetFocus();
  e2->SetSelStart(0);
  e2->SetSelLength(8);
  desktop::Pump();
  std::string error;
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(desktop::SaveScreen((dir / "edits.png").string(), &error)) << error;
}

}  // namespace
}  // namespace host

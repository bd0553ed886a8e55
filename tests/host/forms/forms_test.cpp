// Forms and the application on the headless desktop: show and close, modal nests with timers,
// embedding, the main form ending the program, hints, the screen's lists, reading forms.
#include "host/forms/forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/classes/strings.h"
#include "host/graphics/brush.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

class TPad : public TCustomControl {
  HOST_CLASS(TPad)
  explicit TPad(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 40, 30);
    SetTabStop(true);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    RECT r = ClientRect();
    Canvas()->FillRect(r);
  }
};
HOST_PUBLISHED(TPad, TCustomControl) {
  HOST_PROP(Align, alNone);
  HOST_COLOR_PROP(Color);
  HOST_PROP(Visible, true);
}

class FormsTest : public AppTest {};

TEST_F(FormsTest, CloseHidesByDefaultAndAsksFirst) {
  auto* main = Application()->CreateForm<TForm>();
  auto* other = Application()->CreateForm<TForm>();
  EXPECT_EQ(Application()->MainForm(), main);
  other->Show();
  desktop::Pump();
  EXPECT_TRUE(IsWindowVisible(other->Handle()));
  bool allow = false;
  std::vector<std::string> log;
  other->OnCloseQuery = [&](TObject*, bool& can) {
    log.push_back("query");
    can = allow;
  };
  other->OnClose = [&](TObject*, TCloseAction& action) {
    log.push_back("close " + std::to_string(action));
  };
  other->OnHide = [&](TObject*) { log.push_back("hide"); };
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  PostMessage(other->Handle(), WM_CLOSE, 0, 0);  // as the caption's close button does
  desktop::Pump();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(IsWindowVisible(other->Handle()));
  EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close 1", "hide"}));
  // caFree releases the form once the queue is handled.
  other->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  other->Show();
  const int before = Screen()->FormCount();
  other->Close();
  EXPECT_EQ(Screen()->FormCount(), before);
  desktop::Pump();
  EXPECT_EQ(Screen()->FormCount(), before - 1);
}

TEST_F(FormsTest, ClosingTheMainFormEndsRun) {
  auto* main = Application()->CreateForm<TForm>();
  main->SetCaption("Main");
  std::vector<std::string> log;
  main->OnShow = [&](TObject*) {
    log.push_back("shown");
    // The user closes it from its system menu a little later.
    SetTimer(nullptr, 0, 100, [main](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      PostMessage(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
  };
  Application()->Run();
  EXPECT_TRUE(Application()->Terminated());
  EXPECT_EQ(log, (std::vector<std::string>{"shown"}));
}

TEST_F(FormsTest, ModalFormsNestTimersKeepFiringAndOtherWindowsWait) {
  auto* main = Application()->CreateForm<TForm>();
  main->Show();
  auto* outer = New<TForm>(Application());
  auto* inner = New<TForm>(Application());
  int ticks = 0;
  std::vector<std::string> log;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, [&](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  outer->OnShow = [&](TObject*) {
    log.push_back("outer shown, main enabled=" + std::to_string(IsWindowEnabled(main->Handle())));
    SetTimer(nullptr, 0, 300, [&](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      log.push_back("inner returned " + std::to_string(inner->ShowModal()));
      log.push_back("outer enabled=" + std::to_string(IsWindowEnabled(outer->Handle())));
      outer->SetModalResult(mrOk);
    });
  };
  inner->OnShow = [&](TObject*) {
    log.push_back("inner shown, outer enabled=" + std::to_string(IsWindowEnabled(outer->Handle())) +
                  " level=" + std::to_string(Application()->ModalLevel()));
    SetTimer(nullptr, 0, 400, [&](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      log.push_back("ticks before inner closes " + std::string(ticks >= 10 ? ">=10" : "<10"));
      inner->Close();  // a modal form's Close answers Cancel
    });
  };
  EXPECT_EQ(outer->ShowModal(), mrOk);
  KillTimer(nullptr, timer);
  EXPECT_EQ(log, (std::vector<std::string>{"outer shown, main enabled=0", "inner shown, outer enabled=0 level=2",
                                           "ticks before inner closes >=10", "inner returned 2", "outer enabled=1"}));
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(outer->Visible());
  EXPECT_EQ(Application()->ModalLevel(), 0);
  outer->OnShow = nullptr;  // its timer would outlive the test
  EXPECT_THROW(
      {
        outer->Show();
        outer->ShowModal();
      },
      EInvalidOperation);
}

TEST_F(FormsTest, AFormEmbedsAsABorderlessChildAndComesBack) {
  auto* host_form = Application()->CreateForm<TForm>();
  host_form->SetBounds(20, 20, 400, 300);
  auto* pad = new TPad(host_form);
  pad->SetParent(host_form);
  pad->SetBounds(10, 10, 200, 150);
  host_form->Show();
  auto* page = New<TForm>(Application());
  page->SetCaption("Page");
  auto* field = new TPad(page);
  field->SetParent(page);
  field->SetColor(clRed);
  page->SetActiveControl(nullptr);
  page->SetParent(pad);
  page->SetBounds(0, 0, 200, 150);
  page->Show();
  desktop::Pump();
  ASSERT_TRUE(page->HandleAllocated());
  EXPECT_TRUE(page->Embedded());
  EXPECT_EQ(GetParent(page->Handle()), pad->Handle());
  EXPECT_TRUE(GetWindowLong(page->Handle(), GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(GetWindowLong(page->Handle(), GWL_STYLE) & WS_CAPTION);
  RECT r;
  GetClientRect(page->Handle(), &r);
  EXPECT_EQ(r.right, 200);  // no frame
  EXPECT_EQ(ScreenPixel(page->ClientOrigin().x + 5, page->ClientOrigin().y + 5), RGB(255, 0, 0));
  // Focus moves into the embedded form.
  page->SetFocus();
  desktop::Pump();
  EXPECT_TRUE(field->Focused());
  EXPECT_EQ(host_form->ActiveControl(), field);
  // Detached, it is a top-level window again, and keeps its children.
  page->Hide();
  page->SetParent(nullptr);
  page->SetBorderStyle(bsSingle);
  page->Show();
  desktop::Pump();
  EXPECT_FALSE(GetWindowLong(page->Handle(), GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(GetWindowLong(page->Handle(), GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(GetParent(field->Handle()), page->Handle());
  EXPECT_EQ(host_form->ActiveControl(), nullptr);
}

TEST_F(FormsTest, PositionCentresOnTheScreenOrTheMainForm) {
  auto* main = Application()->CreateForm<TForm>();
  main->SetBounds(100, 50, 300, 200);
  main->Show();
  auto* a = New<TForm>(Application());
  a->SetBounds(0, 0, 200, 100);
  a->SetPosition(poScreenCenter);
  a->Show();
  EXPECT_EQ(a->Left(), (640 - 200) / 2);
  EXPECT_EQ(a->Top(), (480 - 100) / 2);
  auto* b = New<TForm>(Application());
  b->SetBounds(0, 0, 100, 100);
  b->SetPosition(poMainFormCenter);
  b->Show();
  EXPECT_EQ(b->Left(), 100 + (300 - 100) / 2);
  EXPECT_EQ(b->Top(), 50 + (200 - 100) / 2);
}

TEST_F(FormsTest, ScreenListsFormsInCreationOrderAndKnowsTheActiveOne) {
  const int start = Screen()->FormCount();
  auto* a = New<TForm>(Application());
  auto* b = New<TForm>(Application());
  ASSERT_EQ(Screen()->FormCount(), start + 2);
  EXPECT_EQ(Screen()->Forms(start), a);
  EXPECT_EQ(Screen()->Forms(start + 1), b);
  b->Show();
  a->Show();
  desktop::Pump();
  EXPECT_EQ(Screen()->ActiveForm(), a);
  b->Free();
  EXPECT_EQ(Screen()->FormCount(), start + 1);
  EXPECT_GT(Screen()->Fonts()->Count(), 3);
  EXPECT_NE(Screen()->Fonts()->IndexOf("Arial"), -1);
  EXPECT_EQ(Screen()->Width(), 640);
}

// A hint window that remembers what it was asked to show.
class TRecordingHint : public THintWindow {
  HOST_CLASS(TRecordingHint)
  explicit TRecordingHint(TComponent* owner) : THintWindow(owner) {}
  static inline std::vector<std::string> shown;
  void ActivateHint(RECT rect, const std::string& hint) override {
    shown.push_back(hint);
    THintWindow::ActivateHint(rect, hint);
  }
};
HOST_DEFINE_CLASS(TRecordingHint, THintWindow)

TEST_F(FormsTest, HintsShowAfterThePauseAndGoOnLeave) {
  auto* form = Application()->CreateForm<TForm>();
  form->SetBounds(0, 0, 300, 200);
  auto* pad = new TPad(form);
  pad->SetParent(form);
  pad->SetBounds(20, 20, 50, 50);
  pad->SetHint("Pad hint|and a longer text");
  pad->SetShowHint(true);
  form->Show();
  desktop::Pump();
  const POINT on = pad->ClientToScreen({10, 10});
  const POINT off = form->ClientToScreen({200, 150});
  desktop::MoveMouse(on.x, on.y);
  desktop::Pump();
  ASSERT_EQ(Application()->HintWindow(), nullptr);  // not before the pause
  kernel::AdvanceClock(Application()->HintPause() + 10);
  desktop::Pump();
  THintWindow* hint = Application()->HintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint->Handle()));
  EXPECT_EQ(hint->Caption(), "Pad hint");
  EXPECT_GT(hint->Top(), on.y);  // below the pointer
  desktop::MoveMouse(off.x, off.y);
  desktop::Pump();
  EXPECT_FALSE(hint->HandleAllocated() && IsWindowVisible(hint->Handle()));

  // A hint window class of the program's own takes over once hints restart.
  HintWindowClass = TRecordingHint::StaticClass();
  Application()->SetShowHint(false);
  Application()->SetShowHint(true);
  TRecordingHint::shown.clear();
  desktop::MoveMouse(on.x, on.y);
  desktop::Pump();
  kernel::AdvanceClock(Application()->HintPause() + 10);
  desktop::Pump();
  EXPECT_EQ(TRecordingHint::shown, (std::vector<std::string>{"Pad hint"}));
  EXPECT_NE(dynamic_cast<TRecordingHint*>(Application()->HintWindow()), nullptr);
  HintWindowClass = THintWindow::StaticClass();
  // A click hides it.
  ClickOn(pad, 10, 10);
  EXPECT_FALSE(IsWindowVisible(Application()->HintWindow()->Handle()));
}

class TPadForm : public TForm {
  HOST_CLASS(TPadForm)
  explicit TPadForm(TComponent* owner) : TForm(owner) {}
  TPad* Top1 = nullptr;
  TPad* Rest = nullptr;
  std::vector<std::string> log;
  void FormCreate(TObject*) { log.push_back(std::string("create, Rest ") + (Rest ? "bound" : "missing")); }
  void FormShow(TObject*) { log.push_back("show"); }
};
HOST_PUBLISHED(TPadForm, TForm) {
  HOST_FIELD(Top1);
  HOST_FIELD(Rest);
  HOST_METHOD(FormCreate);
  HOST_METHOD(FormShow);
}

TEST_F(FormsTest, AStoredFormReadsItsControlsAndRoundTrips) {
  RegisterClasses({TPad::StaticClass(), TPadForm::StaticClass()});
  const char* text = R"(object PadForm: TPadForm
  Left = 30
  Top = 40
  BorderStyle = bsSingle
  Caption = 'Pads'
  ClientWidth = 200
  ClientHeight = 120
  Color = clWhite
  OnCreate = FormCreate
  OnShow = FormShow
  object Top1: TPad
    Left = 0
    Top = 0
    Width = 10
    Height = 20
    Align = alTop
    Color = clRed
  end
  object Rest: TPad
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Align = alClient
    Color = clBlue
  end
end
)";
  auto* form = static_cast<TPadForm*>(CreateComponentFromText(text, "pads.form", Application()));
  form->AfterConstruction();
  form->Show();
  desktop::Pump();
  EXPECT_EQ(form->log, (std::vector<std::string>{"create, Rest bound", "show"}));
  EXPECT_EQ(form->ClientWidth(), 200);
  EXPECT_EQ(form->ClientHeight(), 120);
  ASSERT_NE(form->Rest, nullptr);
  EXPECT_EQ(form->Rest->BoundsRect().top, 20);
  EXPECT_EQ(form->Rest->BoundsRect().bottom, 120);
  const POINT o = form->ClientOrigin();
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 5), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(o.x + 100, o.y + 100), RGB(0, 0, 255));
  // Written again, it reads back the same.
  const std::string written = WriteComponentToText(form);
  EXPECT_NE(written.find("ClientWidth = 200"), std::string::npos) << written;
  EXPECT_NE(written.find("OnShow = FormShow"), std::string::npos) << written;
  EXPECT_EQ(written.find("Width = 206"), std::string::npos) << written;
  form->Free();
  auto* again = static_cast<TPadForm*>(CreateComponentFromText(written, "again.form", Application()));
  EXPECT_EQ(WriteComponentToText(again), written);
}

}  // namespace
}  // namespace host

namespace host {
namespace {

// A control that counts the system's font-change news.
class TFontWatcher : public TGraphicControl {
  HOST_CLASS(TFontWatcher)
  explicit TFontWatcher(TComponent* owner) : TGraphicControl(owner) {}
  int font_changes = 0;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_FONTCHANGE) ++font_changes;
    TGraphicControl::Dispatch(m);
  }
};
HOST_DEFINE_CLASS(TFontWatcher, TGraphicControl)

TEST_F(FormsTest, SystemNewsKeyPreviewCursorsAndApplicationHooks) {
  auto* form = Application()->CreateForm<TForm>();
  auto* pad = new TPad(form);
  pad->SetParent(form);
  auto* watcher = new TFontWatcher(form);
  watcher->SetParent(pad);  // two levels down, and windowless
  form->Show();
  desktop::Pump();
  desktop::Broadcast(WM_FONTCHANGE, 0, 0);
  desktop::Pump();
  EXPECT_EQ(watcher->font_changes, 1);

  // The form sees keys first when it asks to.
  std::vector<std::string> keys;
  form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    keys.push_back("form");
    if (key == 'Q') key = 0;  // swallowed
  };
  pad->OnKeyDown = [&](TObject*, WORD&, TShiftState) { keys.push_back("pad"); };
  ASSERT_TRUE(pad->Focused());
  desktop::PressKey('A');
  form->SetKeyPreview(true);
  desktop::PressKey('A');
  desktop::PressKey('Q');
  EXPECT_EQ(keys, (std::vector<std::string>{"pad", "form", "pad", "form"}));

  // A control's cursor, and the screen's override over it.
  pad->SetCursor(crHandPoint);
  const POINT on = pad->ClientToScreen({5, 5});
  desktop::MoveMouse(on.x, on.y);
  desktop::Pump();
  EXPECT_EQ(GetCursor(), Screen()->Cursors(crHandPoint));
  Screen()->SetCursor(crHourGlass);
  desktop::MoveMouse(on.x + 1, on.y);
  desktop::Pump();
  EXPECT_EQ(GetCursor(), Screen()->Cursors(crHourGlass));
  Screen()->SetCursor(crDefault);

  // Hooks on the application window see its messages first, newest last in line.
  std::vector<std::string> seen;
  const int first = Application()->HookMainWindow([&](TMessage& m) {
    if (m.Msg == WM_USER + 3) seen.push_back("first");
    return false;
  });
  const int second = Application()->HookMainWindow([&](TMessage& m) {
    if (m.Msg != WM_USER + 3) return false;
    seen.push_back("second");
    return m.WParam == 1;  // handled: the message goes no further
  });
  SendMessage(Application()->Handle(), WM_USER + 3, 0, 0);
  SendMessage(Application()->Handle(), WM_USER + 3, 1, 0);
  Application()->UnhookMainWindow(first);
  SendMessage(Application()->Handle(), WM_USER + 3, 0, 0);
  Application()->UnhookMainWindow(second);
  EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "first", "second", "second"}));

  // An exception in a handler reaches the application's handler, not the caller's stack.
  std::string reported;
  Application()->OnException = [&](TObject*, const std::exception& e) { reported = e.what(); };
  pad->OnClick = [](TObject*) { throw EInvalidOperation("the pad broke"); };
  ClickOn(pad, 5, 5);
  EXPECT_EQ(reported, "the pad broke");
}

}  // namespace
}  // namespace host

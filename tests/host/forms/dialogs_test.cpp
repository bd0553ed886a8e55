// Message boxes and message dialogs answered as a user would: a click on a button, Enter,
// Esc or an accelerator, queued before the dialog's modal loop starts or from its idle time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/forms/forms.h"
#include "host/stdctrls/stdctrls.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

void QueueKey(int vk) {
  display::Event e;
  e.kind = display::EventKind::KeyDown;
  e.vk = vk;
  desktop::Inject(e);
  e.kind = display::EventKind::KeyUp;
  desktop::Inject(e);
}

// A letter as typed: the key, the character it gives, the key released.
void QueueLetter(char letter, bool alt) {
  display::Event e;
  e.kind = display::EventKind::KeyDown;
  e.vk = VK_MENU;
  if (alt) desktop::Inject(e);
  e.vk = letter >= 'a' ? letter - 32 : letter;
  desktop::Inject(e);
  display::Event text;
  text.kind = display::EventKind::Text;
  text.text = std::string(1, letter);
  desktop::Inject(text);
  e.kind = display::EventKind::KeyUp;
  desktop::Inject(e);
  e.vk = VK_MENU;
  if (alt) desktop::Inject(e);
}

TCustomForm* ShowingDialog() {
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* f = Screen()->Forms(i);
    if (f->Name() == "MessageDialog" && f->Showing()) return f;
  }
  return nullptr;
}

TButton* ButtonOf(TCustomForm* form, const std::string& caption) {
  for (int i = 0; i < form->ControlCount(); ++i) {
    auto* b = dynamic_cast<TButton*>(form->Controls(i));
    if (b && b->Caption() == caption) return b;
  }
  return nullptr;
}

class DialogsTest : public AppTest {
 protected:
  // Once the dialog is up and idle, queues a click in the middle of the button so captioned
  // and remembers what the dialog looked like.
  void ClickWhenShown(const std::string& caption) {
    clicked_ = false;
    Application()->OnIdle = [this, caption](TObject*, bool&) {
      TCustomForm* dialog = ShowingDialog();
      if (!dialog || clicked_) return;
      clicked_ = true;
      seen_caption = dialog->Caption();
      TButton* b = ButtonOf(dialog, caption);
      ASSERT_NE(b, nullptr) << caption;
      const POINT p = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
      desktop::MoveMouse(p.x, p.y);
      desktop::MouseDown(p.x, p.y);
      desktop::MouseUp(p.x, p.y);
    };
  }
  // Input queued before the dialog was used up and the dialog is still open: fail instead
  // of waiting for ever.
  static void FailWhenLeftOpen() {
    Application()->OnIdle = [](TObject*, bool& done) {
      if (TCustomForm* dialog = ShowingDialog()) {
        ADD_FAILURE() << "the dialog is still open";
        dialog->SetModalResult(-1);
        done = false;
      }
    };
  }
  std::string seen_caption;

 private:
  bool clicked_ = false;
};

TEST_F(DialogsTest, MessageBoxIsAnsweredByClickingAButton) {
  Application()->SetTitle("Showrama");
  ClickWhenShown("&No");
  EXPECT_EQ(Application()->MessageBox("Save the changes?", "", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(seen_caption, "Showrama");  // no caption: the application's title
  EXPECT_EQ(ShowingDialog(), nullptr);
  ClickWhenShown("&Retry");
  EXPECT_EQ(Application()->MessageBox("Disk not ready", "Drive A", MB_RETRYCANCEL | MB_ICONERROR), IDRETRY);
  EXPECT_EQ(seen_caption, "Drive A");
  ClickWhenShown("OK");
  EXPECT_EQ(MessageDlg("Done.", mtInformation, {mbOK}, 0), mrOk);
  EXPECT_EQ(seen_caption, "Information");
}

TEST_F(DialogsTest, MessageBoxIsAnsweredByKeys) {
  struct Case {
    const char* what;
    UINT flags;
    std::vector<int> keys;
    bool alt;
    int answer;
  };
  const Case cases[] = {
      {"Esc answers Cancel", MB_YESNOCANCEL, {VK_ESCAPE}, false, IDCANCEL},
      {"Esc answers No without Cancel", MB_YESNO, {VK_ESCAPE}, false, IDNO},
      {"Esc answers OK when it stands alone", MB_OK, {VK_ESCAPE}, false, IDOK},
      {"Enter takes the first button", MB_OKCANCEL, {VK_RETURN}, false, IDOK},
      {"Enter takes the second default", MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, false, IDNO},
      {"Enter takes the third default", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {VK_RETURN}, false, IDIGNORE},
      {"a default beyond the buttons is the first", MB_YESNO | MB_DEFBUTTON3, {VK_RETURN}, false, IDYES},
      {"Tab then Enter", MB_YESNOCANCEL, {VK_TAB, VK_RETURN}, false, IDNO},
      {"an accelerator letter", MB_ABORTRETRYIGNORE, {'r'}, false, IDRETRY},
      {"Alt and the letter", MB_ABORTRETRYIGNORE, {'a'}, true, IDABORT},
      {"Space on the focused button", MB_RETRYCANCEL | MB_DEFBUTTON2, {VK_SPACE}, false, IDCANCEL},
  };
  FailWhenLeftOpen();
  for (const Case& c : cases) {
    for (int key : c.keys) {
      if (key >= 'a' && key <= 'z') {
        QueueLetter(static_cast<char>(key), c.alt);
      } else {
        QueueKey(key);
      }
    }
    EXPECT_EQ(Application()->MessageBox("Question", "Keys", c.flags), c.answer) << c.what;
  }
}

TEST_F(DialogsTest, EscWithoutAnAnswerAndTheCloseBoxKeepOrAnswer) {
  FailWhenLeftOpen();
  // Abort/Retry/Ignore has no answer for Esc: the dialog stays until a button is chosen.
  QueueKey(VK_ESCAPE);
  QueueLetter('i', false);
  EXPECT_EQ(Application()->MessageBox("Read error", "", MB_ABORTRETRYIGNORE), IDIGNORE);
  // The close box answers what Esc answers.
  TCustomForm* dialog = CreateMessageDialog("Delete it?", mtConfirmation, {mbYes, mbNo});
  dialog->OnShow = [dialog](TObject*) { PostMessage(dialog->Handle(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(dialog->ShowModal(), mrNo);
  dialog->Free();
}

TEST_F(DialogsTest, DialogLayoutButtonsAndTexts) {
  TCustomForm* dialog = CreateMessageDialog("Save?", mtConfirmation, mbYesNoCancel);
  EXPECT_EQ(dialog->Caption(), "Confirm");
  EXPECT_EQ(dialog->BorderStyle(), bsDialog);
  EXPECT_EQ(dialog->Position(), poScreenCenter);
  std::vector<std::string> captions;
  std::vector<int> lefts;
  for (int i = 0; i < dialog->ControlCount(); ++i) {
    if (auto* b = dynamic_cast<TButton*>(dialog->Controls(i))) {
      captions.push_back(b->Caption());
      lefts.push_back(b->Left());
      EXPECT_EQ(b->Width(), 75);
      EXPECT_EQ(b->Height(), 23);
    }
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"&Yes", "&No", "Cancel"}));
  ASSERT_EQ(lefts.size(), 3u);
  EXPECT_EQ(lefts[1] - lefts[0], 81);  // 6 px gaps
  EXPECT_EQ(lefts[2] - lefts[1], 81);
  // Centred: as much room on the left of the row as on the right (within a pixel).
  const int right_room = dialog->ClientWidth() - (lefts[2] + 75);
  EXPECT_LE(std::abs(right_room - lefts[0]), 1);
  auto* yes = ButtonOf(dialog, "&Yes");
  auto* cancel = ButtonOf(dialog, "Cancel");
  EXPECT_TRUE(yes->Default());
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_NE(dialog->FindComponent("Image"), nullptr);
  dialog->Free();

  // Every button kind with its text; no icon for a custom dialog.
  dialog = CreateMessageDialog("All of them", mtCustom,
                               {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp});
  captions.clear();
  for (int i = 0; i < dialog->ControlCount(); ++i) {
    if (auto* b = dynamic_cast<TButton*>(dialog->Controls(i))) captions.push_back(b->Caption());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore",
                                                "&All", "&Help"}));
  EXPECT_EQ(dialog->FindComponent("Image"), nullptr);
  dialog->Free();

  // A long text wraps: the dialog stays within about two thirds of the screen.
  std::string text;
  for (int i = 0; i < 60; ++i) text += "word" + std::to_string(i) + " ";
  dialog = CreateMessageDialog(text, mtWarning, {mbOK});
  EXPECT_EQ(dialog->Caption(), "Warning");
  auto* label = dynamic_cast<TLabel*>(dialog->FindComponent("Message"));
  ASSERT_NE(label, nullptr);
  EXPECT_LE(dialog->ClientWidth(), Screen()->Width() * 2 / 3);
  EXPECT_GT(label->Height(), 3 * 13);
  EXPECT_GT(ButtonOf(dialog, "OK")->Top(), label->Top() + label->Height());
  dialog->Free();
}

TEST_F(DialogsTest, BadFlagsAreRefusedWithTheirValue) {
  try {
    Application()->MessageBox("x", "y", 0x7);
    FAIL() << "accepted";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "MessageBox: unknown buttons in flags $00000007");
  }
  try {
    Application()->MessageBox("x", "y", MB_OK | 0x50);
    FAIL() << "accepted";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "MessageBox: unknown icon in flags $00000050");
  }
  EXPECT_THROW(CreateMessageDialog("none", mtError, {}), EInvalidOperation);
  EXPECT_EQ(ShowingDialog(), nullptr);
}

TEST_F(DialogsTest, IconsAreDrawnOnTheDialog) {
  struct Case {
    TMsgDlgType type;
    POINT at;
    COLORREF expect;
  };
  const Case cases[] = {
      {mtError, {5, 16}, RGB(255, 0, 0)},          // the red disc
      {mtError, {15, 15}, RGB(255, 255, 255)},     // the white cross in its middle
      {mtWarning, {8, 26}, RGB(255, 255, 0)},      // the yellow triangle
      {mtWarning, {15, 15}, RGB(0, 0, 0)},         // the exclamation mark
      {mtInformation, {6, 12}, RGB(255, 255, 255)},  // the white bubble
      {mtInformation, {16, 15}, RGB(0, 0, 255)},   // the blue "i"
      {mtConfirmation, {6, 12}, RGB(255, 255, 255)},  // the white bubble
  };
  for (const Case& c : cases) {
    TCustomForm* dialog = CreateMessageDialog("Look", c.type, {mbOK});
    dialog->Show();
    TControl* icon = dynamic_cast<TControl*>(dialog->FindComponent("Image"));
    ASSERT_NE(icon, nullptr);
    const POINT p = icon->ClientToScreen(c.at);
    EXPECT_EQ(ScreenPixel(p.x, p.y), c.expect) << c.type << " at " << c.at.x << "," << c.at.y;
    if (c.type == mtConfirmation) {
      // The "?" is a letter of a font: some blue in the middle of the bubble is enough.
      int blue = 0;
      for (int y = 3; y < 22; ++y) {
        for (int x = 8; x < 24; ++x) {
          const POINT q = icon->ClientToScreen({x, y});
          blue += ScreenPixel(q.x, q.y) == RGB(0, 0, 255);
        }
      }
      EXPECT_GT(blue, 20);
    }
    // The default button has the focus and so the black frame.
    TButton* ok = ButtonOf(dialog, "OK");
    EXPECT_TRUE(ok->Focused());
    const POINT corner = ok->ClientToScreen({0, 0});
    EXPECT_EQ(ScreenPixel(corner.x, corner.y), RGB(0, 0, 0));
    dialog->Free();
  }
}

// Writes build/<preset>/gallery/dialogs.png: buttons in their states, labels, panels and a
// message dialog on top, for looking at.
TEST_F(DialogsTest, GalleryPicture) {
  auto* form = New<TForm>(Application());
  form->SetCaption("Standard controls");
  form->SetBounds(16, 16, 420, 300);
  auto add_button = [&](const char* caption, int x, int y) {
    auto* b = new TButton(form);
    b->SetCaption(caption);
    b->SetBounds(x, y, 75, 25);
    b->SetParent(form);
    return b;
  };
  add_button("&Normal", 12, 12);
  add_button("&Default", 95, 12)->SetDefault(true);
  TButton* focused = add_button("&Focused", 178, 12);
  add_button("D&isabled", 261, 12)->SetEnabled(false);
  auto* label = new TLabel(form);
  label->SetCaption("&Label with an accelerator");
  label->SetBounds(12, 50, 0, 0);
  label->SetParent(form);
  auto* grey = new TLabel(form);
  grey->SetCaption("A disabled label");
  grey->SetBounds(200, 50, 0, 0);
  grey->SetEnabled(false);
  grey->SetParent(form);
  auto* raised = new TPanel(form);
  raised->SetCaption("Raised panel");
  raised->SetBounds(12, 75, 185, 41);
  raised->SetParent(form);
  auto* framed = new TPanel(form);
  framed->SetCaption("");
  framed->SetBevelInner(bvLowered);
  framed->SetBorderWidth(2);
  framed->SetBounds(210, 75, 185, 60);
  framed->SetParent(form);
  auto* inner = new TLabel(form);
  inner->SetCaption("Inside a lowered bevel");
  inner->SetAlignment(taCenter);
  inner->SetLayout(tlCenter);
  inner->SetAutoSize(false);
  inner->SetParent(framed);
  inner->SetAlign(alClient);
  auto* status = new TPanel(form);
  status->SetBevelOuter(bvLowered);
  status->SetAlignment(taLeftJustify);
  status->SetCaption(" Status: lowered panel aligned to the bottom");
  status->SetHeight(20);
  status->SetParent(form);
  status->SetAlign(alBottom);
  form->Show();
  focused->SetFocus();
  TCustomForm* dialog =
      CreateMessageDialog("The file has been changed. Do you want to save the changes before closing?",
                          mtConfirmation, mbYesNoCancel);
  dialog->Show();
  desktop::Pump();
  const std::filesystem::path dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(desktop::SaveScreen((dir / "dialogs.png").string(), &error)) << error;
  dialog->Free();
}

}  // namespace
}  // namespace host

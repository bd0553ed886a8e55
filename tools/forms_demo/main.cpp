// A small program on the class framework: a form laid out with aligned panels, a button that
// opens a modal dialog and one that asks through a message box. Runs in a real window (SDL)
// or headless; `--png FILE` shows everything at once headless, writes a PNG and exits.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "host/stdctrls/stdctrls.h"
#include "platform/user/desktop.h"

using namespace host;

namespace {

// A modal dialog with a question and OK/Cancel.
class TNameDialog : public TForm {
 public:
  explicit TNameDialog(TComponent* owner) : TForm(owner) {
    SetCaption("Modal dialog");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientWidth(300);
    SetClientHeight(110);
    auto* label = new TLabel(this);
    label->SetParent(this);
    label->SetBounds(16, 16, 268, 40);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetCaption("This dialog is modal: the main window waits until you press OK or Cancel (Enter or Esc).");
    auto* ok = new TButton(this);
    ok->SetParent(this);
    ok->SetBounds(128, 72, 75, 23);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(this);
    cancel->SetParent(this);
    cancel->SetBounds(209, 72, 75, 23);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
  }
};

class TMainWindow : public TForm {
 public:
  explicit TMainWindow(TComponent* owner) : TForm(owner) {
    SetCaption("Forms demo (close me to quit)");
    SetBounds(40, 30, 520, 360);
    auto panel = [&](TAlign align, int size, const char* caption, TPanelBevel outer) {
      auto* p = new TPanel(this);
      p->SetParent(this);
      p->SetBounds(0, 0, size, size);
      p->SetAlign(align);
      p->SetCaption(caption);
      p->SetBevelOuter(outer);
      return p;
    };
    TPanel* top = panel(alTop, 41, "", bvRaised);
    panel(alBottom, 22, "Status: aligned to the bottom", bvLowered)->SetAlignment(taLeftJustify);
    panel(alLeft, 120, "Left", bvRaised);
    panel(alRight, 90, "Right", bvRaised);
    panel(alClient, 0, "Client area", bvLowered);
    auto* dialog = new TButton(this);
    dialog->SetParent(top);
    dialog->SetBounds(8, 8, 110, 25);
    dialog->SetCaption("&Modal dialog...");
    dialog->OnClick = [this](TObject*) {
      auto* d = New<TNameDialog>(this);
      status_ = d->ShowModal() == mrOk ? "You pressed OK" : "You cancelled";
      d->Free();
      SetCaption(status_);
    };
    auto* ask = new TButton(this);
    ask->SetParent(top);
    ask->SetBounds(126, 8, 110, 25);
    ask->SetCaption("&Message box...");
    ask->OnClick = [this](TObject*) {
      const int answer = Application()->MessageBox("Do you like aligned panels?", "Question",
                                                   MB_YESNOCANCEL | MB_ICONQUESTION);
      SetCaption(answer == IDYES ? "Yes" : answer == IDNO ? "No" : "Cancelled");
    };
  }

 private:
  std::string status_;
};

}  // namespace

int main(int argc, char** argv) {
  const char* png = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) png = argv[++i];
  }
  std::string error;
  const bool opened = png ? desktop::OpenHeadless(800, 600) : desktop::Open(&error);
  if (!opened) {
    std::fprintf(stderr, "forms_demo: %s\n", error.empty() ? "cannot open the display" : error.c_str());
    return 1;
  }
  InitApplication();
  Application()->SetTitle("Forms demo");
  auto* main_window = Application()->CreateForm<TMainWindow>();
  if (png) {
    // Everything at once: the main window, the dialog beside it and a message box on top.
    main_window->Show();
    auto* dialog = New<TNameDialog>(Application());
    dialog->SetPosition(poDesigned);
    dialog->SetBounds(430, 250, dialog->Width(), dialog->Height());
    dialog->Show();
    TCustomForm* box = CreateMessageDialog("Do you like aligned panels?", mtConfirmation, mbYesNoCancel);
    box->SetPosition(poDesigned);
    box->SetBounds(60, 420, box->Width(), box->Height());
    box->Show();
    desktop::Pump();
    const bool saved = desktop::SaveScreen(png, &error);
    DoneApplication();
    if (!saved) {
      std::fprintf(stderr, "forms_demo: cannot write %s: %s\n", png, error.c_str());
      return 1;
    }
    return 0;
  }
  Application()->Run();
  DoneApplication();
  return 0;
}

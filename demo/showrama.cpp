#include "demo/showrama.h"

#include <filesystem>
#include <vector>

#include "demo/comps.h"
#include "demo/contact.h"
#include "demo/help.h"
#include "demo/mainform.h"
#include "demo/order.h"
#include "demo/splash.h"
#include "demo/welcome.h"
#include "host/classes/sysutils.h"
#include "host/classes/classes.h"
#include "host/classes/resources.h"
#include "host/extctrls/pages.h"
#include "host/graphics/bitmap.h"
#include "host/stdctrls/register.h"
#include "library/controls/controls.h"
#include "library/foundation/formdisplay.h"
#include "library/foundation/utils.h"
#include "library/services/services.h"
#include "platform/user/desktop.h"

void EmbedShowramaResources();

namespace showrama {

void RegisterShowrama() {
  static bool done = false;
  if (done) return;
  done = true;
  EmbedShowramaResources();
  host::RegisterStandardControls();
  zyr::RegisterControlClasses();
  zyr::RegisterServicesClasses();
  zyr::RegisterFormDisplay();
  RegisterMainForm();
  RegisterTwelcome();
  RegisterComps();
  RegisterTorder();
  RegisterTcontact();
  RegisterTfrmsplash();
  RegisterTfrmhelp();
}

void StartUp(int delay_ms, const StartUpWatch& watch) {
  host::TApplication* app = host::Application();
  app->SetTitle("Showrama");
  app->CreateForm<Tfrmshowrama>();
  // Owned by the application and found by name by the form display on its first paint.
  app->CreateForm<Twelcome>();
  auto* splash = host::New<Tfrmsplash>(app);
  try {
    splash->Show();
    splash->Update();
    if (watch.splash_shown) watch.splash_shown(splash);
    zyr::Delay(delay_ms);
    if (watch.delay_done) watch.delay_done(splash);
  } catch (...) {
    splash->Free();
    throw;
  }
  splash->Free();
}

namespace {

void Save(HWND window, const std::filesystem::path& file, std::vector<std::string>& written) {
  desktop::Pump();
  std::string error;
  const bool saved = window ? desktop::SaveWindow(window, file.string(), &error)
                            : desktop::SaveScreen(file.string(), &error);
  if (!saved) throw host::Exception("Gallery: cannot write " + file.string() + ": " + error);
  written.push_back(file.string());
}

host::TCustomForm* ShowingMessageBox() {
  for (int i = 0; i < host::Screen()->FormCount(); ++i) {
    host::TCustomForm* f = host::Screen()->Forms(i);
    if (f->Name() == "MessageDialog" && f->Showing()) return f;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> RenderGallery(const std::string& folder) {
  const std::filesystem::path dir(folder);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) throw host::Exception("Gallery: cannot make the folder " + folder + ": " + ec.message());
  std::vector<std::string> written;

  auto* splash = host::New<Tfrmsplash>(host::Application());
  try {
    splash->Show();
    Save(splash->Handle(), dir / "showrama_splash.png", written);
  } catch (...) {
    splash->Free();
    throw;
  }
  splash->Free();

  if (!frmshowrama) StartUp(0);
  Tfrmshowrama* main = frmshowrama;
  main->Show();
  static const char* const kTabFiles[] = {"welcome", "system", "visual", "data", "dialog", "graphic", "ordering",
                                          "contact"};
  for (int tab = 0; tab < 8; ++tab) {
    main->TabSet->SetTabIndex(tab);
    Save(main->Handle(), dir / ("showrama_tab" + std::to_string(tab) + "_" + kTabFiles[tab] + ".png"), written);
  }
  // The Exit tab asks first: the question is pictured with the screen around it, then
  // cancelled so the program goes on.
  host::TApplication* app = host::Application();
  host::TIdleEvent previous = app->OnIdle;
  std::string failure;
  app->OnIdle = [&](host::TObject*, bool& done) {
    host::TCustomForm* box = ShowingMessageBox();
    if (!box || box->ModalResult() != host::mrNone) return;
    try {
      Save(nullptr, dir / "showrama_tab8_exit.png", written);
    } catch (const std::exception& e) {
      failure = e.what();
    }
    box->SetModalResult(host::mrCancel);
    done = false;  // the modal loop looks at the result again instead of waiting
  };
  main->TabSet->SetTabIndex(8);
  app->OnIdle = previous;
  if (!failure.empty()) throw host::Exception(failure);

  auto* window = host::New<Tfrmhelp>(host::Application());
  try {
    window->Show();
    Save(window->Handle(), dir / "showrama_help.png", written);
  } catch (...) {
    window->Free();
    throw;
  }
  window->Free();
  return written;
}

}  // namespace showrama

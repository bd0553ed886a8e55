#include "demo/mainform.h"

#include "demo/comps.h"
#include "demo/contact.h"
#include "demo/help.h"
#include "demo/order.h"
#include "demo/showrama.h"
#include "demo/welcome.h"
#include "host/classes/publish.h"
#include "host/classes/typinfo.h"
#include "host/extctrls/extctrls.h"
#include "host/extctrls/pages.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "host/menus/menus.h"
#include "host/stdctrls/buttons.h"
#include "library/controls/labels.h"
#include "library/foundation/application.h"
#include "library/foundation/formdisplay.h"
#include "library/foundation/settings.h"
#include "library/services/strlist.h"

namespace showrama {

Tfrmshowrama* frmshowrama = nullptr;
host::TForm* frmzyrdemo = nullptr;

namespace {

constexpr int kExitTab = 8;
constexpr int kFirstComponentTab = 1;
constexpr int kLastComponentTab = 5;
// The message box flags OK/Cancel with the question icon.
constexpr UINT kExitQuestion = MB_OKCANCEL | MB_ICONQUESTION;
static_assert(kExitQuestion == 33);

bool IsComponentTab(int tab) { return tab >= kFirstComponentTab && tab <= kLastComponentTab; }

}  // namespace

HOST_PUBLISHED(Tfrmshowrama, host::TForm) {
  HOST_FIELD(fd);
  HOST_FIELD(TabSet);
  HOST_FIELD(Bevel5);
  HOST_FIELD(dblbl1);
  HOST_FIELD(dblbl2);
  HOST_FIELD(dblbl3);
  HOST_FIELD(dblbl4);
  HOST_FIELD(help);
  HOST_FIELD(strfeatures);
  HOST_FIELD(PopupMenu1);
  HOST_FIELD(Info1);
  HOST_FIELD(N1);
  HOST_FIELD(Exit1);
  HOST_METHOD(FormCreate);
  HOST_METHOD(FormActivate);
  HOST_METHOD(FormClose);
  HOST_METHOD(TabSetChange);
  HOST_METHOD(helpClick);
  HOST_METHOD(Exit1Click);
}

Tfrmshowrama::Tfrmshowrama(TComponent* owner) : host::TForm(owner) { frmshowrama = this; }

Tfrmshowrama::~Tfrmshowrama() {
  if (frmshowrama == this) frmshowrama = nullptr;
}

void Tfrmshowrama::FormCreate(TObject*) {
  // Forms that keep their place (the help window) write it beside the program.
  zyr::TZYRIniCtrl* ini = zyr::ZYRApplication->IniCtrl();
  ini->SetTarget(zyr::itIniFile);
  ini->SetIniPrefix(zyr::ppProgram);
  ShowFeatures(0);
}

void Tfrmshowrama::FormActivate(TObject*) {}

void Tfrmshowrama::FormClose(TObject*, host::TCloseAction&) {
  if (frmzyrdemo) {
    host::TForm* demo = frmzyrdemo;
    frmzyrdemo = nullptr;
    demo->Free();
  }
}

void Tfrmshowrama::ShowFeatures(int group) {
  host::TStrings* lines = strfeatures->Items();
  zyr::TZYRSimpleLabel* labels[] = {dblbl1, dblbl2, dblbl3, dblbl4};
  for (int i = 0; i < 4; ++i) {
    const int index = 5 * group + i;
    labels[i]->SetCaption(index < lines->Count() ? lines->Strings(index) : "");
  }
}

void Tfrmshowrama::TabSetChange(TObject*, int32_t new_tab, bool& allow_change) {
  if (new_tab == kExitTab) {
    if (host::Application()->MessageBox("Do you really want to exit?", "ZYR Tools", kExitQuestion) == IDOK) {
      host::Application()->Terminate();
    } else {
      allow_change = false;
    }
    return;
  }
  const int current = TabSet->TabIndex();
  if (new_tab == current) return;
  // The five component tabs share one page, which stays in place between them.
  if (!(IsComponentTab(current) && IsComponentTab(new_tab))) fd->RemoveForm();

  host::TForm* page = nullptr;
  if (new_tab == 0) {
    page = welcome;
  } else if (IsComponentTab(new_tab)) {
    if (!comps) host::New<Tcomps>(fd);
    page = comps;
  } else if (new_tab == 6) {
    if (!order) host::New<Torder>(fd);
    page = order;
  } else if (new_tab == 7) {
    if (!contact) host::New<Tcontact>(fd);
    page = contact;
  }
  if (page) fd->ShowForm(page);

  ShowFeatures(new_tab <= kLastComponentTab ? new_tab : 0);
  if (IsComponentTab(new_tab) && comps) comps->ShowCategory(new_tab - kFirstComponentTab);
}

void Tfrmshowrama::helpClick(TObject*) {
  auto* window = host::New<Tfrmhelp>(host::Application());
  try {
    window->ShowModal();
  } catch (...) {
    window->Free();
    throw;
  }
  window->Free();
}

void Tfrmshowrama::Exit1Click(TObject*) { Close(); }

void Tfrmshowrama::stylerCaptionPaint(TObject*, host::TCanvas* canvas, const RECT& dest) {
  canvas->Font()->SetStyle({host::fsItalic});
  canvas->TextOut(dest.left, dest.top + 2, "ZYR-Tools Showrama");
}

void RegisterMainForm() { host::RegisterClasses({Tfrmshowrama::StaticClass()}); }

}  // namespace showrama

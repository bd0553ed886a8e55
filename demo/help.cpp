#include "demo/help.h"

#include "host/classes/publish.h"
#include "host/classes/typinfo.h"
#include "host/stdctrls/stdctrls.h"

namespace showrama {

Tfrmhelp* frmhelp = nullptr;

HOST_PUBLISHED(Tfrmhelp, host::TForm) {
  HOST_FIELD(Button1);
  HOST_FIELD(Button2);
}

Tfrmhelp::Tfrmhelp(TComponent* owner) : host::TForm(owner) { frmhelp = this; }

Tfrmhelp::~Tfrmhelp() {
  if (frmhelp == this) frmhelp = nullptr;
}

void RegisterTfrmhelp() { host::RegisterClasses({Tfrmhelp::StaticClass()}); }

}  // namespace showrama

// The help window: a short guide through the demo, OK to close it.
#pragma once

#include <string>

#include "host/forms/forms.h"

namespace host {
class TButton;
}

namespace showrama {

class Tfrmhelp : public host::TForm {
  HOST_CLASS(Tfrmhelp)
  explicit Tfrmhelp(TComponent* owner);
  ~Tfrmhelp() override;
  std::string FormResource() const override { return "forms/frmhelp.form"; }

  host::TButton* Button1 = nullptr;
  host::TButton* Button2 = nullptr;
};

// The help window while it is open (the main window makes it, shows it modally, frees it).
extern Tfrmhelp* frmhelp;

void RegisterTfrmhelp();

}  // namespace showrama

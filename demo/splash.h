// The splash window shown for a moment at start-up.
#pragma once

#include <string>

#include "host/forms/forms.h"

namespace host {
class TImage;
}

namespace showrama {

class Tfrmsplash : public host::TForm {
  HOST_CLASS(Tfrmsplash)
  explicit Tfrmsplash(TComponent* owner);
  ~Tfrmsplash() override;
  std::string FormResource() const override { return "forms/frmsplash.form"; }

  host::TImage* SplashPicture = nullptr;
};

void RegisterTfrmsplash();

}  // namespace showrama

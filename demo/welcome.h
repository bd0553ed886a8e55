// The welcome page: the library's title, slogan and an introduction; no behaviour.
#pragma once

#include <string>

#include "host/forms/forms.h"

namespace showrama {

class Twelcome : public host::TForm {
  HOST_CLASS(Twelcome)
  explicit Twelcome(TComponent* owner);
  ~Twelcome() override;
  std::string FormResource() const override { return "forms/welcome.form"; }
};

// The page while it exists.
extern Twelcome* welcome;

void RegisterTwelcome();

}  // namespace showrama

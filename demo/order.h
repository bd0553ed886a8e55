// The ordering page: what the project is and how to get it; no behaviour.
#pragma once

#include <string>

#include "host/forms/forms.h"

namespace showrama {

class Torder : public host::TForm {
  HOST_CLASS(Torder)
  explicit Torder(TComponent* owner);
  ~Torder() override;
  std::string FormResource() const override { return "forms/order.form"; }
};

// The page while it exists.
extern Torder* order;

void RegisterTorder();

}  // namespace showrama

// The contact page: where the project lives and how to take part; no behaviour.
#pragma once

#include <string>

#include "host/forms/forms.h"

namespace showrama {

class Tcontact : public host::TForm {
  HOST_CLASS(Tcontact)
  explicit Tcontact(TComponent* owner);
  ~Tcontact() override;
  std::string FormResource() const override { return "forms/contact.form"; }
};

// The page while it exists.
extern Tcontact* contact;

void RegisterTcontact();

}  // namespace showrama

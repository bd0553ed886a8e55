#include "demo/contact.h"

#include "host/classes/publish.h"
#include "host/classes/typinfo.h"

namespace showrama {

Tcontact* contact = nullptr;

HOST_DEFINE_CLASS(Tcontact, host::TForm)

Tcontact::Tcontact(TComponent* owner) : host::TForm(owner) { contact = this; }

Tcontact::~Tcontact() {
  if (contact == this) contact = nullptr;
}

void RegisterTcontact() { host::RegisterClasses({Tcontact::StaticClass()}); }

}  // namespace showrama

#include "demo/welcome.h"

#include "host/classes/publish.h"
#include "host/classes/typinfo.h"

namespace showrama {

Twelcome* welcome = nullptr;

HOST_DEFINE_CLASS(Twelcome, host::TForm)

Twelcome::Twelcome(TComponent* owner) : host::TForm(owner) { welcome = this; }

Twelcome::~Twelcome() {
  if (welcome == this) welcome = nullptr;
}

void RegisterTwelcome() { host::RegisterClasses({Twelcome::StaticClass()}); }

}  // namespace showrama

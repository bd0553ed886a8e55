#include "demo/order.h"

#include "host/classes/publish.h"
#include "host/classes/typinfo.h"

namespace showrama {

Torder* order = nullptr;

HOST_DEFINE_CLASS(Torder, host::TForm)

Torder::Torder(TComponent* owner) : host::TForm(owner) { order = this; }

Torder::~Torder() {
  if (order == this) order = nullptr;
}

void RegisterTorder() { host::RegisterClasses({Torder::StaticClass()}); }

}  // namespace showrama

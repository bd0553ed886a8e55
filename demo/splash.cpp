#include "demo/splash.h"


#include "host/classes/publish.h"
#include "host/classes/typinfo.h"
#include "host/extctrls/extctrls.h"
#include "host/graphics/picture.h"
#include "demo/showrama.h"

namespace showrama {

HOST_PUBLISHED(Tfrmsplash, host::TForm) { HOST_FIELD(SplashPicture); }

Tfrmsplash::Tfrmsplash(TComponent* owner) : host::TForm(owner) {}

Tfrmsplash::~Tfrmsplash() = default;

void RegisterTfrmsplash() { host::RegisterClasses({Tfrmsplash::StaticClass()}); }

}  // namespace showrama

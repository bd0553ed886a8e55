#include "host/stdctrls/register.h"

#include "host/classes/typinfo.h"
#include "host/extctrls/extctrls.h"
#include "host/extctrls/pages.h"
#include "host/forms/forms.h"
#include "host/menus/menus.h"
#include "host/stdctrls/bitbtn.h"
#include "host/stdctrls/buttons.h"
#include "host/stdctrls/edits.h"
#include "host/stdctrls/lists.h"
#include "host/stdctrls/stdctrls.h"

namespace host {

void RegisterStandardControls() {
  RegisterClasses({TForm::StaticClass()});
  RegisterStdControls();
  RegisterButtons();
  RegisterBitBtn();
  RegisterEditControls();
  RegisterListControls();
  RegisterExtControls();
  RegisterPageControls();
  RegisterMenus();
}

}  // namespace host

#include "library/services/services.h"

#include "host/classes/typinfo.h"
#include "library/services/strlist.h"
#include "library/services/sysinfo.h"

namespace zyr {

void RegisterServicesClasses() {
  host::RegisterClasses({TZYRSysInfo::StaticClass(), TZYRStrList::StaticClass()});
}

}  // namespace zyr

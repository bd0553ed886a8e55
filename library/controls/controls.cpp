#include "library/controls/controls.h"

#include "host/classes/typinfo.h"
#include "library/controls/labels.h"

namespace zyr {

void RegisterControlClasses() {
  host::RegisterClasses({TZYRSimpleLabel::StaticClass(), TZYRLabel::StaticClass()});
}

}  // namespace zyr

// The control classes that forms may name.
#pragma once

namespace zyr {

// Registers the control classes with the host; calling it again does no harm.
void RegisterControlClasses();

}  // namespace zyr

// The non-visual service components that forms may name.
#pragma once

namespace zyr {

// Registers the service classes with the host; calling it again does no harm.
void RegisterServicesClasses();

}  // namespace zyr

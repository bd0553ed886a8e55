// Registers every standard control of the framework (and TForm) so stored forms can name them.
#pragma once

namespace host {

// Calls each control unit's own Register function; safe to call more than once.
void RegisterStandardControls();

}  // namespace host

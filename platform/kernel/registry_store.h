// Where the registry keeps its hives, and the hooks tests use to look at them.
#pragma once

#include <string>

namespace kernel {

// $SHOWRAMA_CONFIG_DIR/registry when set, else $XDG_CONFIG_HOME (or ~/.config)/showrama/registry.
std::string RegistryFolder();
// Forgets the hives held in memory (open keys go stale), so the next call reads the files
// again: what a new process would see.
void ReloadRegistry();

}  // namespace kernel

// Starts a plug-in library as the host's "execute user function" does: load it,
// call ufusr, ask ufusr_ask_unload, call ufusr_cleanup when it has one, unload it.
#pragma once

#include <string>

namespace ughost {

// Returns 0 when the plug-in was entered and unloaded, non-zero when it could not
// be loaded or lacks a required entry.
int run_plugin(const std::string& path, const std::string& parameter);

}  // namespace ughost

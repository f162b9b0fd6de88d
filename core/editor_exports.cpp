// The entry points of every editor plug-in, built into each of them: the host
// enters the editor that this_editor describes, and unloads it at once after.
#include "editor_entry.h"
#include "plugin_export.h"

PLUGIN_EXPORT void ufusr(char*, int* return_code, int) { run_editor(this_editor, return_code); }

PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }

PLUGIN_EXPORT void ufusr_cleanup() {}

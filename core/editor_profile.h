// What sets an editor apart at its entry, as data. Each editor defines its own:
//
//   extern const EditorProfile this_editor = {
//       .dialog_file = "strakel.dlg",
//       .callbacks = main_callbacks,
//       .probe = probe_data_directory,
//       ...
//   };
#pragma once

#include <span>

#include "uf.h"

struct EditorProfile {
    const char* dialog_file;
    // The main dialog's callback table, its terminating entry included.
    std::span<UF_STYLER_callback_info_t> callbacks;
    // Checks the library directory and the editor's own file: 0 readable, -1 no
    // directory variable, -2 not readable.
    int (*probe)();
    // Whether the table differs from what it was at its last load or save.
    bool (*unsaved_changes)();
    // Shown when the own table file cannot be read.
    const char* unavailable_text;
    bool dialog_after_failed_probe;
    // Shown when the dialog cannot be created; null shows nothing.
    const char* dialog_failure_text;
    bool sets_return_code;
};

// The running editor's profile: each editor plug-in defines it.
extern const EditorProfile this_editor;

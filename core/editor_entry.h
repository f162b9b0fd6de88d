// The entry every editor's ufusr runs, and the callbacks all their dialogs share.
#pragma once

#include "editor_profile.h"
#include "failure_report.h"
#include "uf.h"

// The editor plug-ins' exports.
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// Opens a host session, probes the editor's table file, shows its dialog, closes
// the session and reports a host failure. Nothing it meets is thrown on to the
// host: an exception is reported and the return code set all the same.
void run_editor(const EditorProfile& profile, UF_STYLER_callback_info_t* callbacks, int count, int* return_code);

// A dialog that could not be created: the host's text on the status line and
// on standard output, then the editor's own text, when it has one.
void report_dialog_not_created(int status, const char* text);

// Types 4 and 7 of a main dialog: the dialog ends, after a question when the
// table has changes not yet saved. Callback tables bind these, like every
// callback, through guarded<> (callback_guard.h).
int dialog_exit_cb(int dialog_id, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
// Types 4 and 7 of a record dialog, and the fields whose Enter ends it: it ends.
int record_dialog_exit_cb(int dialog_id, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
// Items whose activation needs nothing at once.
int item_noop_cb(int dialog_id, void* client_data, UF_STYLER_item_value_type_p_t callback_data);

// strakel: the cut-method editor. Its main dialog lists cut_method_table; a row
// is shown, created and changed in the record dialog "strakeledit.dlg".
#pragma once

#include "command_set.h"
#include "uf.h"

extern const Editor cut_method_editor;

// Opens the record dialog for a row (negative: a new row); the dialog's response,
// or -1 (no host session) or -2 (not created).
int open_cutmeth_record_dialog(int dialog, long index);
void cutmeth_listing();

// Callbacks of the main dialog.
int cutmeth_construct_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int cutmeth_command_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);

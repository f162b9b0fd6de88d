// gradivo: the tool-material editor. Its main dialog lists tool_material_table;
// a row is shown, created and changed in the record dialog "gradivoedit.dlg".
#pragma once

#include "command_set.h"
#include "uf.h"

extern const Editor tool_material_editor;

// Opens the record dialog for a row (negative: a new row); the dialog's response,
// or -1 (no host session) or -2 (not created).
int open_toolmat_record_dialog(int dialog, long index);
void toolmat_listing();

// Callbacks of the main dialog.
int toolmat_construct_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int toolmat_command_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);

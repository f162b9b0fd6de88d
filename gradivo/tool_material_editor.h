// gradivo: the tool-material editor. Its main dialog lists tool_material_table;
// a row is shown, created and changed in the record dialog "gradivoedit.dlg".
#pragma once

#include <string>

#include "command_set.h"
#include "record_table.h"
#include "records.h"

extern RecordTable<TOOL_MATERIALS> tool_material_table;
extern std::string tool_material_path;
// 0: saving allowed; -1: the file did not open for appending.
extern int SaveFlag;

int probe_data_directory();
int load_tool_material_table();
int save_tool_material_table();
bool tool_materials_unsaved();

extern const Editor tool_material_editor;

// Opens the record dialog for a row (negative: a new row); the dialog's response,
// or -1 (no host session) or -2 (not created).
int open_toolmat_record_dialog(int dialog, long index);
void toolmat_listing();

// The work of the main dialog's callbacks, each run inside a host session.
void toolmat_construct_cb(int dialog);
void toolmat_command_cb(int dialog);

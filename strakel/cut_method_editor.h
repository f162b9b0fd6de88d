// strakel: the cut-method editor. Its main dialog lists cut_method_table; a row
// is shown, created and changed in the record dialog "strakeledit.dlg".
#pragma once

#include <string>

#include "command_set.h"
#include "record_table.h"
#include "records.h"

using MATERIALS = CUTS;

extern RecordTable<MATERIALS> cut_method_table;
extern std::string cut_method_path;
// 0: saving allowed; -1: the file did not open for appending.
extern int SaveFlag;

int probe_data_directory();
int load_cut_method_table();
int save_cut_method_table();
bool cut_methods_unsaved();

extern const Editor cut_method_editor;

// Opens the record dialog for a row (negative: a new row); the dialog's response,
// or -1 (no host session) or -2 (not created).
int open_cutmeth_record_dialog(int dialog, long index);
void cutmeth_listing();

// The work of the main dialog's callbacks, each run inside a host session.
void cutmeth_construct_cb(int dialog);
void cutmeth_command_cb(int dialog);

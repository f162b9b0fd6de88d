// blankora: the part-material editor, which edits part_materials.dat in the
// fields of its main dialog.
#pragma once

#include <string>

#include "command_set.h"
#include "record_table.h"
#include "records.h"

using MATERIALS = PARTS;

extern RecordTable<MATERIALS> part_material_table;
extern std::string part_material_path;
// 0: saving allowed; -1: the file did not open for appending.
extern int SaveFlag;
// -1 browsing, 0 editing the selected row, 1 creating a row.
extern int edit_mode;

int probe_data_directory();
int load_part_material_table();
int save_part_material_table();
bool part_materials_unsaved();

extern const Editor part_material_editor;

void partmat_listing();

// The work of the main dialog's callbacks, each run inside a host session.
void partmat_construct_cb(int dialog);
void partmat_show_record_cb(int dialog);
void partmat_action_cb(int dialog);
void partmat_command_cb(int dialog);

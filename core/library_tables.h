// The four library tables: their formats, the tables each plug-in holds, their
// paths, and their loaders and writers.
#pragma once

#include <string>

#include "record_table.h"
#include "records.h"
#include "table_format.h"

extern const TableFormat<FEEDS> feeds_format;
extern const TableFormat<TOOL_MATERIALS> tool_material_format;
extern const TableFormat<PARTS> part_material_format;
extern const TableFormat<CUTS> cut_method_format;

extern RecordTable<FEEDS> feeds_table;
extern RecordTable<TOOL_MATERIALS> tool_material_table;
extern RecordTable<PARTS> part_material_table;
extern RecordTable<CUTS> cut_method_table;

// Built by the access probe: the library directory followed by the file name.
extern std::string feeds_path;
extern std::string tool_material_path;
extern std::string part_material_path;
extern std::string cut_method_path;

// 0: the plug-in's own table file opened for appending, so saving is allowed;
// -1: it did not, and saving is refused.
extern int SaveFlag;

// 0 on success, -1 when the file cannot be opened; each shows its own messages.
int load_feeds_table();
int load_tool_material_table();
int load_part_material_table();
int load_cut_method_table();

// 0 when written or declined by the user; -1 when saving is not allowed or the
// table is empty; -2 when the file cannot be written. Each shows its own messages.
int save_feeds_table();
int save_tool_material_table();
int save_part_material_table();
int save_cut_method_table();

// Whether the running editor's table differs from what it was at its last load
// or save: leaving the editor then loses the changes.
bool own_table_has_unsaved_changes();

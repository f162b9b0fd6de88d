// ratomir: the feeds-and-speeds editor. Its dialog shows feeds_table as a list,
// with pick lists drawn from the three other tables.
#pragma once

#include <string>

#include "command_set.h"
#include "record_table.h"
#include "records.h"

extern RecordTable<FEEDS> feeds_table;
extern RecordTable<TOOL_MATERIALS> tool_material_table;
extern RecordTable<PARTS> part_material_table;
extern RecordTable<CUTS> cut_method_table;
extern std::string feeds_path;
extern std::string tool_material_path;
extern std::string part_material_path;
extern std::string cut_method_path;
// 0: saving allowed; -1: feeds_speeds.dat did not open for appending.
extern int SaveFlag;
// -1 browsing, 0 editing the selected row, 1 creating a row.
extern int edit_mode;

int probe_data_directory();
int load_feeds_table();
int load_tool_material_table();
int load_part_material_table();
int load_cut_method_table();
int save_feeds_table();
bool feeds_unsaved();

extern const Editor feeds_editor;

// Pick-list kinds.
constexpr int cut_method_kind = 1;
constexpr int tool_material_kind = 2;
constexpr int part_material_kind = 3;

int load_library_tables();
int add_blank_row(int kind);
int find_pick_index(int kind, long row);
std::string resolve_pick_reference(int kind, int index);
void feeds_list_line(const FEEDS& row, std::string& line);

void feeds_listing();

// The work of the main dialog's callbacks, each run inside a host session.
void construct_dialog(int dialog);
void show_selected_row(int dialog);
void feeds_action_cb(int dialog);
void calc_cb(int dialog);
void feeds_command_cb(int dialog);

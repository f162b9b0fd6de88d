// ratomir: the feeds-and-speeds editor. Its dialog shows feeds_table as a list,
// with pick lists drawn from the three other tables.
#pragma once

#include <string>

#include "command_set.h"
#include "records.h"
#include "uf.h"

extern const Editor feeds_editor;

// Pick-list kinds.
constexpr int cut_method_kind = 1;
constexpr int tool_material_kind = 2;
constexpr int part_material_kind = 3;

int load_library_tables();
int add_blank_row(int kind);
int find_pick_index(int kind, long row);
std::string resolve_pick_reference(int kind, int index);
std::string feeds_list_line(const FEEDS& row);

// The bodies of the callbacks, run inside a host session.
void build_dialog(int dialog);
void show_row(int dialog);
void feeds_listing();

// Callbacks of the main dialog.
int construct_dialog(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int show_selected_row(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int feeds_action_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int calc_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int feeds_command_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);

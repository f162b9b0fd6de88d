#include "library_tables.h"

#include "editor_profile.h"
#include "table_store.h"

RecordTable<FEEDS> feeds_table;
RecordTable<TOOL_MATERIALS> tool_material_table;
RecordTable<PARTS> part_material_table;
RecordTable<CUTS> cut_method_table;

std::string feeds_path;
std::string tool_material_path;
std::string part_material_path;
std::string cut_method_path;

int SaveFlag = 0;

namespace {

// What each table's file and rows were at its last load or save.
TableSync feeds_sync;
TableSync tool_material_sync;
TableSync part_material_sync;
TableSync cut_method_sync;

void number_tool_material(TOOL_MATERIALS& row, std::int32_t position) { row.util = position; }

// Only the running editor's own table is ever saved; the others are read for
// its pick lists.
bool saved_here(LibraryTable table) { return active_editor == nullptr || active_editor->own_table == table; }

}  // namespace

int load_feeds_table() {
    return load_table(feeds_format, feeds_table, feeds_path, feeds_sync, saved_here(LibraryTable::feeds));
}
int load_tool_material_table() {
    return load_table(tool_material_format, tool_material_table, tool_material_path, tool_material_sync,
                      saved_here(LibraryTable::tool_materials), number_tool_material);
}
int load_part_material_table() {
    return load_table(part_material_format, part_material_table, part_material_path, part_material_sync,
                      saved_here(LibraryTable::part_materials));
}
int load_cut_method_table() {
    return load_table(cut_method_format, cut_method_table, cut_method_path, cut_method_sync,
                      saved_here(LibraryTable::cut_methods));
}

int save_feeds_table() { return save_table(feeds_format, feeds_table, feeds_path, feeds_sync); }
int save_tool_material_table() {
    return save_table(tool_material_format, tool_material_table, tool_material_path, tool_material_sync);
}
int save_part_material_table() {
    return save_table(part_material_format, part_material_table, part_material_path, part_material_sync);
}
int save_cut_method_table() {
    return save_table(cut_method_format, cut_method_table, cut_method_path, cut_method_sync);
}

bool own_table_has_unsaved_changes() {
    if (active_editor == nullptr) return false;
    switch (active_editor->own_table) {
        case LibraryTable::feeds: return unsaved_changes(feeds_format, feeds_table, feeds_sync);
        case LibraryTable::tool_materials:
            return unsaved_changes(tool_material_format, tool_material_table, tool_material_sync);
        case LibraryTable::part_materials:
            return unsaved_changes(part_material_format, part_material_table, part_material_sync);
        case LibraryTable::cut_methods:
            return unsaved_changes(cut_method_format, cut_method_table, cut_method_sync);
    }
    return false;
}

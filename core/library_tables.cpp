#include "library_tables.h"

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

void number_tool_material(TOOL_MATERIALS& row, std::int32_t position) { row.util = position; }

}  // namespace

int load_feeds_table() { return load_table(feeds_format, feeds_table, feeds_path); }
int load_tool_material_table() {
    return load_table(tool_material_format, tool_material_table, tool_material_path, number_tool_material);
}
int load_part_material_table() { return load_table(part_material_format, part_material_table, part_material_path); }
int load_cut_method_table() { return load_table(cut_method_format, cut_method_table, cut_method_path); }

int save_feeds_table() { return save_table(feeds_format, feeds_table, feeds_path); }
int save_tool_material_table() { return save_table(tool_material_format, tool_material_table, tool_material_path); }
int save_part_material_table() { return save_table(part_material_format, part_material_table, part_material_path); }
int save_cut_method_table() { return save_table(cut_method_format, cut_method_table, cut_method_path); }

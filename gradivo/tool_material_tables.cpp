// The tool-material table, its file and the flag that allows saving it.
#include "probe.h"
#include "table_formats.h"
#include "table_store.h"
#include "tool_material_editor.h"

RecordTable<TOOL_MATERIALS> tool_material_table;
std::string tool_material_path;
int SaveFlag = 0;

namespace {

// Each row carries its place among the rows of the last load.
void number_tool_material(TOOL_MATERIALS& row, std::int32_t position) { row.util = position; }

TableFile<TOOL_MATERIALS> tool_material_file(tool_material_format, tool_material_table, tool_material_path, {},
                                             number_tool_material);

}  // namespace

int probe_data_directory() {
    return probe_library({&tool_material_path, tool_material_format.file_name}, SaveFlag);
}
int load_tool_material_table() { return tool_material_file.load(); }
int save_tool_material_table() { return tool_material_file.save(SaveFlag); }
bool tool_materials_unsaved() { return tool_material_file.unsaved_changes(); }

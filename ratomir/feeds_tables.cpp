// The four tables the feeds-and-speeds editor holds, their files, and the flag
// that allows saving its own. The three others are only read, for the pick lists.
#include "feeds_editor.h"
#include "probe.h"
#include "table_formats.h"
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

// The failure message of a pick-list file names the file the user must look at.
constexpr LoadOptions pick_list = {.saved_here = false, .failure_names_table = true};

TableFile<FEEDS> feeds_file(feeds_format, feeds_table, feeds_path, {.saved_here = true, .failure_names_table = true});
TableFile<TOOL_MATERIALS> tool_material_file(tool_material_format, tool_material_table, tool_material_path, pick_list);
TableFile<PARTS> part_material_file(part_material_format, part_material_table, part_material_path, pick_list);
TableFile<CUTS> cut_method_file(cut_method_format, cut_method_table, cut_method_path, pick_list);

}  // namespace

int probe_data_directory() {
    return probe_library({&feeds_path, feeds_format.file_name}, SaveFlag,
                         {{&cut_method_path, cut_method_format.file_name},
                          {&tool_material_path, tool_material_format.file_name},
                          {&part_material_path, part_material_format.file_name}});
}

int load_feeds_table() { return feeds_file.load(); }
int load_tool_material_table() { return tool_material_file.load(); }
int load_part_material_table() { return part_material_file.load(); }
int load_cut_method_table() { return cut_method_file.load(); }
int save_feeds_table() { return feeds_file.save(SaveFlag); }
bool feeds_unsaved() { return feeds_file.unsaved_changes(); }

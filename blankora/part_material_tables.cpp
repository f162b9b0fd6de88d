// The part-material table, its file and the flag that allows saving it.
#include "part_material_editor.h"
#include "probe.h"
#include "table_formats.h"
#include "table_store.h"

RecordTable<MATERIALS> part_material_table;
std::string part_material_path;
int SaveFlag = 0;

namespace {

TableFile<MATERIALS> part_material_file(part_material_format, part_material_table, part_material_path, {});

}  // namespace

int probe_data_directory() {
    return probe_library({&part_material_path, part_material_format.file_name}, SaveFlag);
}
int load_part_material_table() { return part_material_file.load(); }
int save_part_material_table() { return part_material_file.save(SaveFlag); }
bool part_materials_unsaved() { return part_material_file.unsaved_changes(); }

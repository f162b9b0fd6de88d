// The cut-method table, its file and the flag that allows saving it.
#include "cut_method_editor.h"
#include "probe.h"
#include "table_formats.h"
#include "table_store.h"

RecordTable<CUTS> cut_method_table;
std::string cut_method_path;
int SaveFlag = 0;

namespace {

TableFile<CUTS> cut_method_file(cut_method_format, cut_method_table, cut_method_path, {});

}  // namespace

int probe_data_directory() { return probe_library({&cut_method_path, cut_method_format.file_name}, SaveFlag); }
int load_cut_method_table() { return cut_method_file.load(); }
int save_cut_method_table() { return cut_method_file.save(SaveFlag); }
bool cut_methods_unsaved() { return cut_method_file.unsaved_changes(); }

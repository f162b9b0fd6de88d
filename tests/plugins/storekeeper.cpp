// A test plug-in over the data store: it enters through an editor's entry (the
// parameter names the editor), lists the table rows by library reference, and
// loads (button 4) and saves (button 5) them. It lets the store be tested
// through the real host interface before and apart from the editors' dialogs.
#include <cstring>
#include <string>

#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "plugin_export.h"
#include "probe.h"
#include "table_formats.h"
#include "table_store.h"

namespace {

RecordTable<FEEDS> feeds_table;
RecordTable<TOOL_MATERIALS> tool_material_table;
RecordTable<PARTS> part_material_table;
RecordTable<CUTS> cut_method_table;
std::string feeds_path;
std::string tool_material_path;
std::string part_material_path;
std::string cut_method_path;
int SaveFlag = 0;

// As the editors hold them: the feeds editor reads the other three for its pick
// lists and names each file in its messages; the others say "the database".
constexpr LoadOptions own_table = {.saved_here = true, .failure_names_table = false};
constexpr LoadOptions pick_list = {.saved_here = false, .failure_names_table = true};
TableFile<FEEDS> feeds_file(feeds_format, feeds_table, feeds_path, {.saved_here = true, .failure_names_table = true});
TableFile<TOOL_MATERIALS> tool_material_pick_list(tool_material_format, tool_material_table, tool_material_path,
                                                  pick_list);
TableFile<PARTS> part_material_pick_list(part_material_format, part_material_table, part_material_path, pick_list);
TableFile<CUTS> cut_method_pick_list(cut_method_format, cut_method_table, cut_method_path, pick_list);
TableFile<TOOL_MATERIALS> tool_material_file(tool_material_format, tool_material_table, tool_material_path, own_table,
                                             [](TOOL_MATERIALS& row, std::int32_t place) { row.util = place; });
TableFile<PARTS> part_material_file(part_material_format, part_material_table, part_material_path, own_table);
TableFile<CUTS> cut_method_file(cut_method_format, cut_method_table, cut_method_path, own_table);

template <class Record>
void list_rows(int dialog, const RecordTable<Record>& table) {
    UF_STYLER_item_value_type_t value{};
    value.item_id = "LIST";
    value.item_attr = UF_STYLER_LIST_DELETE;
    value.subitem_index = -1;
    UF_STYLER_set_value(dialog, &value);
    for (std::size_t i = 0; i < table.size(); ++i) {
        Record row = table.copy_of(i);
        value.item_attr = UF_STYLER_LIST_INSERT;
        value.subitem_index = static_cast<int>(i);
        value.indicator = UF_STYLER_STRING_VALUE;
        value.value.string = row.LIBRF;
        UF_STYLER_set_value(dialog, &value);
    }
}

// One editor as the store sees it.
struct StoredEditor {
    const char* name;
    const char* dialog_file;
    const char* unavailable_text;
    const char* dialog_failure_text;
    int (*probe)();
    void (*load_and_list)(int dialog);
    void (*save)();
    bool (*unsaved_changes)();
};

const StoredEditor stored_editors[] = {
    {"ratomir", "ratomir.dlg", "База 'Подач и скоростей' НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
     " Невозможно загрузить 'ratomir.dlg' \n Ошибка выделения памяти ?...",
     [] {
         return probe_library({&feeds_path, feeds_format.file_name}, SaveFlag,
                              {{&cut_method_path, cut_method_format.file_name},
                               {&tool_material_path, tool_material_format.file_name},
                               {&part_material_path, part_material_format.file_name}});
     },
     [](int dialog) {
         if (feeds_file.load() == 0) {
             tool_material_pick_list.load();
             cut_method_pick_list.load();
             part_material_pick_list.load();
         }
         list_rows(dialog, feeds_table);
     },
     [] { feeds_file.save(SaveFlag); }, [] { return feeds_file.unsaved_changes(); }},
    {"gradivo", "gradivo.dlg", "База Материала Инструмента НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
     nullptr,
     [] { return probe_library({&tool_material_path, tool_material_format.file_name}, SaveFlag); },
     [](int dialog) {
         tool_material_file.load();
         list_rows(dialog, tool_material_table);
     },
     [] { tool_material_file.save(SaveFlag); }, [] { return tool_material_file.unsaved_changes(); }},
    {"blankora", "blankora.dlg", "База Материала НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
     " Невозможно загрузить 'blankora.dlg'  ...",
     [] { return probe_library({&part_material_path, part_material_format.file_name}, SaveFlag); },
     [](int dialog) {
         part_material_file.load();
         list_rows(dialog, part_material_table);
     },
     [] { part_material_file.save(SaveFlag); }, [] { return part_material_file.unsaved_changes(); }},
    {"strakel", "strakel.dlg", "База Методов резания НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
     " Невозможно загрузить 'strakel.dlg'  ...",
     [] { return probe_library({&cut_method_path, cut_method_format.file_name}, SaveFlag); },
     [](int dialog) {
         cut_method_file.load();
         list_rows(dialog, cut_method_table);
     },
     [] { cut_method_file.save(SaveFlag); }, [] { return cut_method_file.unsaved_changes(); }},
};

// The editor the parameter names; the feeds editor when it names none.
const StoredEditor* chosen = &stored_editors[0];

void construct(int dialog) { chosen->load_and_list(dialog); }

void command(int dialog) {
    UF_STYLER_item_value_type_t value{};
    value.item_id = "BLO_ACT";
    value.item_attr = UF_STYLER_VALUE;
    UF_STYLER_ask_value(dialog, &value);
    if (value.value.integer == 4) chosen->load_and_list(dialog);
    if (value.value.integer == 5) chosen->save();
    UF_STYLER_free_value(&value);
}

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<construct>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIST", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<command>>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

// The store plays the chosen editor: its entry data are the chosen one's.
extern const EditorProfile this_editor = {
    .dialog_file = nullptr,
    .callbacks = callbacks,
    .probe = [] { return chosen->probe(); },
    .unsaved_changes = [] { return chosen->unsaved_changes(); },
    .unavailable_text = nullptr,
    .dialog_after_failed_probe = true,
    .dialog_failure_text = nullptr,
    .sets_return_code = true,
};

PLUGIN_EXPORT void ufusr(char* parameter, int* return_code, int) {
    for (const StoredEditor& editor : stored_editors) {
        if (std::strcmp(parameter, editor.name) == 0) chosen = &editor;
    }
    EditorProfile profile = this_editor;
    profile.dialog_file = chosen->dialog_file;
    profile.unavailable_text = chosen->unavailable_text;
    profile.dialog_failure_text = chosen->dialog_failure_text;
    profile.sets_return_code = chosen->dialog_failure_text != nullptr;
    profile.dialog_after_failed_probe = chosen != &stored_editors[0];
    run_editor(profile, return_code);
}

PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }

PLUGIN_EXPORT void ufusr_cleanup() {}

// A test plug-in over the data store: it enters through an editor's entry (the
// parameter names the editor), lists the table rows by library reference, and
// loads (button 4) and saves (button 5) them. It lets the store be tested
// through the real host interface before and apart from the editors' dialogs.
#include <cstring>
#include <string>

#include "callback_guard.h"
#include "editor_entry.h"
#include "editor_profiles.h"
#include "host_session.h"
#include "library_tables.h"

namespace {

const EditorProfile* profile_named(const char* name) {
    if (std::strcmp(name, "blankora") == 0) return &blankora_profile;
    if (std::strcmp(name, "strakel") == 0) return &strakel_profile;
    if (std::strcmp(name, "gradivo") == 0) return &gradivo_profile;
    return &ratomir_profile;
}

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

void load_and_list(int dialog) {
    switch (active_editor->own_table) {
        case LibraryTable::feeds:
            if (load_feeds_table() == 0) {
                load_tool_material_table();
                load_cut_method_table();
                load_part_material_table();
            }
            list_rows(dialog, feeds_table);
            break;
        case LibraryTable::tool_materials:
            load_tool_material_table();
            list_rows(dialog, tool_material_table);
            break;
        case LibraryTable::part_materials:
            load_part_material_table();
            list_rows(dialog, part_material_table);
            break;
        case LibraryTable::cut_methods:
            load_cut_method_table();
            list_rows(dialog, cut_method_table);
            break;
    }
}

void save() {
    switch (active_editor->own_table) {
        case LibraryTable::feeds: save_feeds_table(); break;
        case LibraryTable::tool_materials: save_tool_material_table(); break;
        case LibraryTable::part_materials: save_part_material_table(); break;
        case LibraryTable::cut_methods: save_cut_method_table(); break;
    }
}

int construct_cb(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (session.open()) load_and_list(dialog);
    return UF_UI_CB_CONTINUE_DIALOG;
}

int command_cb(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (!session.open()) return UF_UI_CB_CONTINUE_DIALOG;
    UF_STYLER_item_value_type_t value{};
    value.item_id = "BLO_ACT";
    value.item_attr = UF_STYLER_VALUE;
    UF_STYLER_ask_value(dialog, &value);
    if (value.value.integer == 4) load_and_list(dialog);
    if (value.value.integer == 5) save();
    UF_STYLER_free_value(&value);
    return UF_UI_CB_CONTINUE_DIALOG;
}

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<construct_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIST", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<command_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

PLUGIN_EXPORT void ufusr(char* parameter, int* return_code, int) {
    run_editor(*profile_named(parameter), callbacks, static_cast<int>(std::size(callbacks)), return_code);
}

PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }

PLUGIN_EXPORT void ufusr_cleanup() {}

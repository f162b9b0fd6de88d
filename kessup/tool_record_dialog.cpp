// The record dialog "kessupedit.dlg": a row as "column = value" lines, one field
// that edits the selected column's value, and the tool materials' references
// for a TOOLMAT column.
#include <iterator>

#include "callback_guard.h"
#include "dialog_items.h"
#include "editor_entry.h"
#include "host_session.h"
#include "kessup.h"
#include "table_formats.h"
#include "record_dialog.h"

namespace {

// A field of the tool library has no fixed width; this keeps a row to a line
// every reader of the file takes whole.
constexpr std::size_t longest_value = 133;

ToolRow editing;
std::vector<std::string> tool_material_references;

void list_fields(int dialog, int selected) {
    dialog_items::delete_all_lines(dialog, "FIELDS");
    editing.fields.resize(column_count(tool_library, editing));
    for (std::size_t c = 0; c < editing.fields.size(); ++c) {
        std::string line = column_name(tool_library, editing, c) + " = " + editing.fields[c];
        dialog_items::insert_line(dialog, "FIELDS", static_cast<int>(c), line);
    }
    dialog_items::select_line(dialog, "FIELDS", selected);
    dialog_items::set_text(dialog, "VALUE", editing.fields.at(static_cast<std::size_t>(selected)));
}

// The references of tool_materials.dat, read as the feeds editor reads them; none when it cannot be read.
void read_tool_material_references() {
    tool_material_references.clear();
    char* folder = nullptr;
    UF_translate_variable("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", &folder);
    if (folder == nullptr || *folder == '\0') return;
    std::string content;
    FileSnapshot snapshot;
    std::string error;
    if (!read_library_file(std::string(folder) + tool_material_format.file_name, content, snapshot, error)) return;
    RecordTable<TOOL_MATERIALS> table;
    LoadReport report;
    read_table(content, tool_material_format, table, report);
    for (const TOOL_MATERIALS& row : table) tool_material_references.emplace_back(row.LIBRF);
}

int selected_column(int dialog) {
    const int selected = dialog_items::ask_index(dialog, "FIELDS");
    return selected < 0 || static_cast<std::size_t>(selected) >= editing.fields.size() ? 0 : selected;
}

// The value field stored into the selected column; false (the user told why) when it cannot be.
bool store_value(int dialog) {
    const int column = selected_column(dialog);
    const std::string value = dialog_items::ask_text(dialog, "VALUE");
    if (!storable_text(column_name(tool_library, editing, static_cast<std::size_t>(column)).c_str(), value,
                       longest_value)) {
        return false;
    }
    editing.fields.at(static_cast<std::size_t>(column)) = value;
    return true;
}

void tool_record_construct_cb(int dialog) {
    editing = tool_library.rows.size() > static_cast<std::size_t>(std::max(record_index, 0L)) && record_index >= 0
                  ? tool_library.rows.at(static_cast<std::size_t>(record_index))
                  : new_tool_row(tool_library);
    list_fields(dialog, 0);
    const long toolmat = column_index(tool_library, editing, "TOOLMAT");
    read_tool_material_references();
    dialog_items::set_entries(dialog, "TOOLMAT", tool_material_references);
    dialog_items::set_sensitive(dialog, "TOOLMAT", toolmat >= 0 && !tool_material_references.empty());
    if (toolmat >= 0) {
        for (std::size_t i = 0; i < tool_material_references.size(); ++i) {
            if (tool_material_references[i] == editing.fields.at(static_cast<std::size_t>(toolmat))) {
                dialog_items::select_line(dialog, "TOOLMAT", static_cast<int>(i));
            }
        }
    }
    dialog_items::give_focus(dialog, "VALUE");
}

void tool_field_selected_cb(int dialog) {
    dialog_items::set_text(dialog, "VALUE", editing.fields.at(static_cast<std::size_t>(selected_column(dialog))));
}

void tool_value_entered_cb(int dialog) {
    if (store_value(dialog)) list_fields(dialog, selected_column(dialog));
}

void tool_material_chosen_cb(int dialog) {
    const long toolmat = column_index(tool_library, editing, "TOOLMAT");
    const int chosen = dialog_items::ask_index(dialog, "TOOLMAT");
    if (toolmat < 0 || chosen < 0 || static_cast<std::size_t>(chosen) >= tool_material_references.size()) return;
    editing.fields.at(static_cast<std::size_t>(toolmat)) = tool_material_references[static_cast<std::size_t>(chosen)];
    list_fields(dialog, static_cast<int>(toolmat));
}

// OK takes the value field too, so a value typed without Enter is not lost.
int tool_record_apply_cb(int dialog) {
    if (!store_value(dialog)) return UF_UI_CB_CONTINUE_DIALOG;
    editing.edited = true;
    if (record_index >= 0 && static_cast<std::size_t>(record_index) < tool_library.rows.size()) {
        tool_library.rows.at(static_cast<std::size_t>(record_index)) = editing;
    } else {
        tool_library.rows.push_back(editing);
    }
    return UF_UI_CB_EXIT_DIALOG;
}

UF_STYLER_callback_info_t record_callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<tool_record_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<in_session_ending<tool_record_apply_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<record_dialog_exit_cb>},
    {"FIELDS", UF_STYLER_ACTIVATE_CB, 0, guarded<in_session<tool_field_selected_cb>>},
    {"VALUE", UF_STYLER_ACTIVATE_CB, 0, guarded<in_session<tool_value_entered_cb>>},
    {"TOOLMAT", UF_STYLER_ACTIVATE_CB, 0, guarded<in_session<tool_material_chosen_cb>>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

const RecordDialog record_dialog = {
    "kessupedit.dlg",
    record_callbacks,
    static_cast<int>(std::size(record_callbacks)),
    " Невозможно загрузить 'kessupedit.dlg'  ...",
};

}  // namespace

int open_tool_record_dialog(int, long index) { return run_record_dialog(record_dialog, index); }

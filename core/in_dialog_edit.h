// Editing a row in the fields of the main dialog, as the feeds-and-speeds and
// part-material editors do: "BLO_ACTION" applies (0) or discards (1) the edit
// that Edit or New began.
#pragma once

#include <span>
#include <string>

#include "command_set.h"
#include "dialog_items.h"
#include "library_file.h"
#include "record_table.h"

// Asks a text field; false (the user told why) when the file could not hold the text.
bool ask_storable_text(int dialog, const char* item, const char* label, std::size_t max_length, std::span<char> field);
// Asks a real field; false (the user told why) when the file could not hold the number.
bool ask_storable_real(int dialog, const char* item, double& value);

// The "BLO_ACTION" callback body. read_fields sets a row from the dialog's fields
// and returns false, storing nothing, when a value cannot be stored; the fields
// then show the selected row again, so the refused values (or a new row's
// reference) do not wait there for the next Edit to store them.
template <class Record>
void apply_in_dialog(int dialog, const Editor& editor, RecordTable<Record>& table, bool (*read_fields)(int, Record&)) {
    constexpr int apply_button = 0;
    constexpr int discard_button = 1;
    const int button = dialog_items::ask_index(dialog, "BLO_ACTION");
    if (button == discard_button) {
        editor.show_selected_row(dialog);
    } else if (button != apply_button) {
        show_unknown_command();
    } else if (*editor.edit_mode == 0) {
        const int selected = dialog_items::ask_index(dialog, editor.list_item);
        if (table.has_row(selected)) {
            Record row = table.copy_of(static_cast<std::size_t>(selected));
            if (read_fields(dialog, row)) {
                table.at(static_cast<std::size_t>(selected)) = row;
                refill_list(dialog, editor);
                dialog_items::select_line(dialog, editor.list_item, selected);
            } else {
                editor.show_selected_row(dialog);
            }
        }
    } else if (*editor.edit_mode == 1) {
        Record row;
        copy_text(row.tag, "DATA");
        if (read_fields(dialog, row)) {
            table.append(row);
            refill_list(dialog, editor);
            dialog_items::select_line(dialog, editor.list_item, static_cast<int>(table.size()) - 1);
        } else {
            editor.show_selected_row(dialog);
        }
    }
    leave_edit_state(dialog, editor);
}

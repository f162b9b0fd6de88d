#include "command_set.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "dialog_items.h"
#include "format_text.h"
#include "taken_references.h"
#include "uf.h"
#include "value_refusal.h"

namespace {

constexpr int redraws_before_searching = 1000;
// Draws stay within 0..32767, so references keep the width they have in the
// libraries this system shares with the host's own platform.
constexpr int draw_range = 32768;

int draw() { return std::rand() % draw_range; }

void edit_in_dialog(int dialog, const Editor& editor) { enter_edit_state(dialog, editor, 0); }

void create_in_dialog(int dialog, const Editor& editor) {
    enter_edit_state(dialog, editor, 1);
    dialog_items::set_text(dialog, editor.reference_item, new_libref(editor));
    dialog_items::give_focus(dialog, editor.first_value_field);
}

void open_record_dialog(int dialog, const Editor& editor, long row) {
    if (editor.record_dialog(dialog, row) != 2) return;
    // A record stored from the dialog shows at once, also one added through Edit
    // with no line selected: it is the new last row then.
    refill_list(dialog, editor);
    const long last = static_cast<long>(editor.table->size()) - 1;
    if (last >= 0) dialog_items::select_line(dialog, editor.list_item, row >= 0 && row <= last ? row : last);
}

void remove_selected(int dialog, const Editor& editor) {
    const int row = dialog_items::ask_index(dialog, editor.list_item);
    if (remove_row(editor, row) != 0) return;
    refill_list(dialog, editor);
    if (editor.table->size() == 0) return;
    dialog_items::select_line(dialog, editor.list_item, row > 1 ? row - 1 : 0);
    if (editor.show_selected_row != nullptr) editor.show_selected_row(dialog);
}

void reload(int dialog, const Editor& editor) {
    dialog_items::delete_all_lines(dialog, editor.list_item);
    if (editor.reload != nullptr) {
        editor.reload(dialog);
        return;
    }
    // After a failed load the table keeps its rows, and they are what a save
    // would write: so the list shows them, and the fields the selected one, which
    // an Edit would otherwise overwrite with the record shown before.
    editor.table->load();
    insert_all_lines(dialog, editor);
    if (editor.table->size() == 0) return;
    dialog_items::select_line(dialog, editor.list_item, 0);
    if (editor.show_selected_row != nullptr) editor.show_selected_row(dialog);
}

}  // namespace

void show_unknown_command() { uc1601("Неизвестная команда", 1); }

void dispatch_command(int dialog, const Editor& editor) {
    const int button = dialog_items::ask_index(dialog, "BLO_ACT");
    if (button < 0 || button >= static_cast<int>(editor.commands.size())) {
        show_unknown_command();
        return;
    }
    switch (editor.commands[static_cast<std::size_t>(button)]) {
        case Command::edit:
            if (editor.record_dialog != nullptr) {
                open_record_dialog(dialog, editor, dialog_items::ask_index(dialog, editor.list_item));
            } else {
                edit_in_dialog(dialog, editor);
            }
            break;
        case Command::create:
            if (editor.record_dialog != nullptr) {
                open_record_dialog(dialog, editor, -1);
            } else {
                create_in_dialog(dialog, editor);
            }
            break;
        case Command::remove:
            remove_selected(dialog, editor);
            break;
        case Command::list:
            editor.listing();
            break;
        case Command::load:
            reload(dialog, editor);
            break;
        case Command::save:
            editor.table->save();
            break;
        case Command::none:
            break;
    }
}

int remove_row(const Editor& editor, long index) {
    if (index < 0 || static_cast<std::size_t>(index) >= editor.table->size()) return -1;
    editor.table->remove(static_cast<std::size_t>(index));
    return 0;
}

std::string new_libref(const Editor& editor) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const TakenReferences taken(*editor.table);
    std::string candidate = format_text(editor.reference_format, draw());
    for (int retries = 0; retries <= redraws_before_searching && taken.contains(candidate); ++retries) {
        candidate = format_text(editor.reference_format, draw());
    }
    // A large table can hold every number the draws give: then the first free
    // number is taken, wider ones included. It is found within one more number
    // than the table has rows.
    for (int number = 0; taken.contains(candidate); ++number) {
        candidate = format_text(editor.reference_format, number);
    }
    return candidate;
}

void enter_edit_state(int dialog, const Editor& editor, int mode) {
    *editor.edit_mode = mode;
    dialog_items::set_sensitive(dialog, editor.list_item, false);
    dialog_items::set_buttons_sensitive(dialog, "BLO_ACT", false);
    dialog_items::set_sensitive(dialog, "SW_EDIT", true);
}

void leave_edit_state(int dialog, const Editor& editor) {
    *editor.edit_mode = -1;
    dialog_items::set_sensitive(dialog, editor.list_item, true);
    dialog_items::set_buttons_sensitive(dialog, "BLO_ACT", true);
    dialog_items::set_sensitive(dialog, "SW_EDIT", false);
}

void refill_list(int dialog, const Editor& editor) {
    dialog_items::delete_all_lines(dialog, editor.list_item);
    insert_all_lines(dialog, editor);
}

void insert_all_lines(int dialog, const Editor& editor) {
    std::string line;
    for (std::size_t row = 0; row < editor.table->size(); ++row) {
        editor.table->list_line(row, line);
        dialog_items::insert_line(dialog, editor.list_item, static_cast<int>(row), line);
    }
}

bool storable_text(const char* field_label, const std::string& value, std::size_t max_length) {
    const TextRefusal refusal = text_refusal(value, max_length);
    if (refusal == TextRefusal::forbidden_character) {
        const std::string text = format_text(
            " Поле '%s' содержит недопустимый символ ( | # или перевод строки ).\n Запись не изменена.", field_label);
        uc1601(text.c_str(), 1);
        return false;
    }
    if (refusal == TextRefusal::too_long) {
        const std::string text = format_text(" Поле '%s' длиннее %d знаков.\n Запись не изменена.", field_label,
                                             static_cast<int>(max_length));
        uc1601(text.c_str(), 1);
        return false;
    }
    return true;
}

bool storable_number(double value) {
    if (std::isfinite(value)) return true;
    const std::string text =
        format_text(" Значение '%lf' не является конечным числом.\n Запись не изменена.", value);
    uc1601(text.c_str(), 1);
    return false;
}

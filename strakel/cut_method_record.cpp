// The record dialog "strakeledit.dlg": one cut method's reference, machine mode,
// name and description.
#include <iterator>
#include <string>

#include "cut_method_editor.h"
#include "dialog_items.h"
#include "format_text.h"
#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "record_dialog.h"

namespace {

// The choices of "MODE_CUTS", in their order.
constexpr const char* machine_modes[] = {"MILL", "DRILL", "LATHE"};

// Any mode but drill and lathe, in whatever case, shows as milling.
int mode_choice(const MATERIALS& row) {
    const std::string mode = upper_latin(row.MODE);
    for (int choice = 1; choice < static_cast<int>(std::size(machine_modes)); ++choice) {
        if (mode == machine_modes[choice]) return choice;
    }
    return 0;
}

MATERIALS new_method() {
    MATERIALS row;
    copy_text(row.MODE, machine_modes[0]);
    copy_text(row.NAME, "-");
    copy_text(row.DESCRIPTION, "0");
    return row;
}

void show_record(int dialog, const MATERIALS& row) {
    dialog_items::set_text(dialog, "WIDE_NUM", row.LIBRF);
    dialog_items::select_line(dialog, "MODE_CUTS", mode_choice(row));
    dialog_items::set_text(dialog, "WIDE_MAT", row.NAME);
    dialog_items::set_text(dialog, "WIDE_DISCRIPTION", row.DESCRIPTION);
    dialog_items::give_focus(dialog, "WIDE_MAT");
}

// The mode is always stored as one of the three texts, in upper case.
bool read_fields(int dialog, MATERIALS& row) {
    if (!ask_record_text(dialog, "WIDE_NUM", "Идентификатор записи", row.LIBRF)) return false;
    const int choice = dialog_items::ask_index(dialog, "MODE_CUTS");
    copy_text(row.MODE, machine_modes[choice == 1 || choice == 2 ? choice : 0]);
    return ask_record_text(dialog, "WIDE_MAT", "Название метода", row.NAME) &&
           ask_record_text(dialog, "WIDE_DISCRIPTION", "Описание метода", row.DESCRIPTION);
}

void cutmeth_record_construct_cb(int dialog) {
    show_record(dialog, record_to_show(cut_method_editor, cut_method_table, new_method()));
}

int cutmeth_record_apply_cb(int dialog) { return store_record(dialog, cut_method_table, read_fields); }

// Enter in the reference field ends the dialog as Cancel does.
UF_STYLER_callback_info_t record_callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<cutmeth_record_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<in_session_ending<cutmeth_record_apply_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<record_dialog_exit_cb>},
    {"WIDE_NUM", UF_STYLER_ACTIVATE_CB, 0, guarded<record_dialog_exit_cb>},
    {"MODE_CUTS", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"WIDE_MAT", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"WIDE_DISCRIPTION", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

const RecordDialog record_dialog = {
    "strakeledit.dlg",
    record_callbacks,
    static_cast<int>(std::size(record_callbacks)),
    " Невозможно загрузить 'strakeledit.dlg'  ...",
};

}  // namespace

int open_cutmeth_record_dialog(int, long index) { return run_record_dialog(record_dialog, index); }

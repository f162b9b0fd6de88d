// The record dialog "gradivoedit.dlg": one tool material's reference, name and
// description.
#include <iterator>

#include "dialog_items.h"
#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "record_dialog.h"
#include "tool_material_editor.h"

namespace {

// A new row is offered with a ready-made name and description.
TOOL_MATERIALS new_material() {
    TOOL_MATERIALS row;
    copy_text(row.MATNAM, "BT20");
    copy_text(row.MATDESC, "Ti (высоколегированный)");
    return row;
}

void show_record(int dialog, const TOOL_MATERIALS& row) {
    dialog_items::set_text(dialog, "WIDE_NUM", row.LIBRF);
    dialog_items::set_text(dialog, "WIDE_MAT", row.MATNAM);
    dialog_items::set_text(dialog, "WIDE_DISCRIPTION", row.MATDESC);
    dialog_items::give_focus(dialog, "WIDE_MAT");
}

bool read_fields(int dialog, TOOL_MATERIALS& row) {
    return ask_record_text(dialog, "WIDE_NUM", "Идентификатор записи", row.LIBRF) &&
           ask_record_text(dialog, "WIDE_MAT", "Название материала", row.MATNAM) &&
           ask_record_text(dialog, "WIDE_DISCRIPTION", "Описание материала", row.MATDESC);
}

void toolmat_record_construct_cb(int dialog) {
    show_record(dialog, record_to_show(tool_material_editor, tool_material_table, new_material()));
}

int toolmat_record_apply_cb(int dialog) { return store_record(dialog, tool_material_table, read_fields); }

// Enter in the name field ends the dialog as Cancel does.
UF_STYLER_callback_info_t record_callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<toolmat_record_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<in_session_ending<toolmat_record_apply_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<record_dialog_exit_cb>},
    {"WIDE_NUM", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"WIDE_MAT", UF_STYLER_ACTIVATE_CB, 0, guarded<record_dialog_exit_cb>},
    {"WIDE_DISCRIPTION", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

// The user is told when the dialog cannot be created, as in the cut-method
// editor; the status line alone went unnoticed.
const RecordDialog record_dialog = {
    "gradivoedit.dlg",
    record_callbacks,
    static_cast<int>(std::size(record_callbacks)),
    " Невозможно загрузить 'gradivoedit.dlg'  ...",
};

}  // namespace

int open_toolmat_record_dialog(int, long index) { return run_record_dialog(record_dialog, index); }

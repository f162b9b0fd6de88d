// The main dialog: the list of cut methods and the command row.
#include "cut_method_editor.h"
#include "format_text.h"
#include "host_session.h"
#include "library_tables.h"
#include "record_dialog.h"

namespace {

using MATERIALS = CUTS;

// The description is cut to 80 characters: the list has room for no more.
std::string cutmeth_list_line(const MATERIALS& row) {
    return format_text("%.20s | %.20s  = %.50s  = %.80s", row.LIBRF, row.MODE, row.NAME, row.DESCRIPTION);
}

RecordEditorTable<MATERIALS> cut_method_rows(cut_method_table, cutmeth_list_line, load_cut_method_table,
                                             save_cut_method_table);

}  // namespace

// Delete is the second button and New the third, unlike in the editors that
// edit in their main dialog.
const Editor cut_method_editor = {
    &cut_method_rows,
    "LIST_CUTS",
    {Command::edit, Command::remove, Command::create, Command::list, Command::load, Command::save, Command::none},
    "OPD0_%04d",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    open_cutmeth_record_dialog,
    cutmeth_listing,
};

int cutmeth_construct_cb(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (session.open()) list_loaded_table(dialog, cut_method_editor);
    return UF_UI_CB_CONTINUE_DIALOG;
}

int cutmeth_command_cb(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (session.open()) dispatch_command(dialog, cut_method_editor);
    return UF_UI_CB_CONTINUE_DIALOG;
}

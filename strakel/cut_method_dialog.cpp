// The main dialog: the list of cut methods and the command row.
#include "cut_method_editor.h"
#include "list_line_text.h"
#include "record_dialog.h"

namespace {

// The description is cut to 80 characters: the list has room for no more.
void cutmeth_list_line(const MATERIALS& row, std::string& line) {
    // "%.20s | %.20s  = %.50s  = %.80s"
    ListLineText text(line);
    text.put_field(row.LIBRF, 20);
    text.put(" | ");
    text.put_field(row.MODE, 20);
    text.put("  = ");
    text.put_field(row.NAME, 50);
    text.put("  = ");
    text.put_field(row.DESCRIPTION, 80);
}

RecordEditorTable<MATERIALS> cut_method_rows(cut_method_table, cutmeth_list_line, load_cut_method_table,
                                             save_cut_method_table);

}  // namespace

// Delete is the second button and New the third, unlike in the editors that
// edit in their main dialog.
const Editor cut_method_editor = {
    .table = &cut_method_rows,
    .list_item = "LIST_CUTS",
    .commands = {Command::edit, Command::remove, Command::create, Command::list, Command::load, Command::save,
                 Command::none},
    .reference_format = "OPD0_%04d",
    .record_dialog = open_cutmeth_record_dialog,
    .listing = cutmeth_listing,
};

void cutmeth_construct_cb(int dialog) { list_loaded_table(dialog, cut_method_editor); }

void cutmeth_command_cb(int dialog) { dispatch_command(dialog, cut_method_editor); }

// The main dialog: the list of materials, the fields of the selected one, and
// applying an edit made in them.
#include "dialog_items.h"
#include "in_dialog_edit.h"
#include "list_line_text.h"
#include "part_material_editor.h"

int edit_mode = -1;

namespace {

void partmat_list_line(const MATERIALS& row, std::string& line) {
    // "%.50s  =  %.50s  =  %.20s  =  %.133s"
    ListLineText text(line);
    text.put_field(row.MATCODE, 50);
    text.put("  =  ");
    text.put_field(row.MATNAME, 50);
    text.put("  =  ");
    text.put_field(row.HARDNESS, 20);
    text.put("  =  ");
    text.put_field(row.PARTMAT, 133);
}

RecordEditorTable<MATERIALS> material_rows(part_material_table, partmat_list_line, load_part_material_table,
                                           save_part_material_table);

void show_record(int dialog) {
    const int row = dialog_items::ask_index(dialog, "LIST");
    if (!part_material_table.has_row(row)) return;
    const MATERIALS& shown = part_material_table.at(static_cast<std::size_t>(row));
    dialog_items::set_text(dialog, "LIBREF", shown.LIBRF);
    dialog_items::set_text(dialog, "MATCODE", shown.MATCODE);
    dialog_items::set_text(dialog, "MATNAME", shown.MATNAME);
    dialog_items::set_text(dialog, "HARDNESS", shown.HARDNESS);
    dialog_items::set_text(dialog, "PARTMAT", shown.PARTMAT);
}

// Each field takes what its column of the file keeps.
bool read_fields(int dialog, MATERIALS& row) {
    return ask_storable_text(dialog, "LIBREF", "Идентификатор записи", 19, row.LIBRF) &&
           ask_storable_text(dialog, "MATCODE", "Код материала", 49, row.MATCODE) &&
           ask_storable_text(dialog, "MATNAME", "Название материала", 49, row.MATNAME) &&
           ask_storable_text(dialog, "HARDNESS", "Твердость", 19, row.HARDNESS) &&
           ask_storable_text(dialog, "PARTMAT", "Описание материала", 132, row.PARTMAT);
}

void build_dialog(int dialog) {
    edit_mode = -1;
    dialog_items::set_sensitive(dialog, "SW_EDIT", false);
    if (load_part_material_table() != 0 || part_material_table.size() == 0) return;
    insert_all_lines(dialog, part_material_editor);
    dialog_items::select_line(dialog, "LIST", 0);
    show_record(dialog);
}

}  // namespace

// Delete and Load show the newly selected record, so the fields never hold a
// record other than the selected one, which an Edit would then overwrite.
const Editor part_material_editor = {
    .table = &material_rows,
    .edit_mode = &edit_mode,
    .list_item = "LIST",
    .commands = {Command::edit, Command::create, Command::remove, Command::list, Command::load, Command::save,
                 Command::none},
    .reference_format = "MAT0_%04d",
    .reference_item = "LIBREF",
    .first_value_field = "MATCODE",
    .show_selected_row = show_record,
    .listing = partmat_listing,
};

void partmat_construct_cb(int dialog) { build_dialog(dialog); }

void partmat_show_record_cb(int dialog) { show_record(dialog); }

void partmat_action_cb(int dialog) {
    apply_in_dialog(dialog, part_material_editor, part_material_table, read_fields);
}

void partmat_command_cb(int dialog) { dispatch_command(dialog, part_material_editor); }

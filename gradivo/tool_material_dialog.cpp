// The main dialog: the list of tool materials and the command row.
#include "list_line_text.h"
#include "record_dialog.h"
#include "tool_material_editor.h"

namespace {

// The description is cut to 80 characters: the list has room for no more.
void toolmat_list_line(const TOOL_MATERIALS& row, std::string& line) {
    // "%.50s  = %.80s"
    ListLineText text(line);
    text.put_field(row.MATNAM, 50);
    text.put("  = ");
    text.put_field(row.MATDESC, 80);
}

RecordEditorTable<TOOL_MATERIALS> tool_material_rows(tool_material_table, toolmat_list_line,
                                                     load_tool_material_table, save_tool_material_table);

}  // namespace

// Delete is the second button and New the third, as in the cut-method editor.
const Editor tool_material_editor = {
    .table = &tool_material_rows,
    .list_item = "LIST_TOOL_MATERIAL",
    .commands = {Command::edit, Command::remove, Command::create, Command::list, Command::load, Command::save,
                 Command::none},
    .reference_format = "TMC0_%04d",
    .record_dialog = open_toolmat_record_dialog,
    .listing = toolmat_listing,
};

void toolmat_construct_cb(int dialog) { list_loaded_table(dialog, tool_material_editor); }

void toolmat_command_cb(int dialog) { dispatch_command(dialog, tool_material_editor); }

// The main dialog: building it from the four tables, the list, the pick lists,
// and showing the selected row.
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "dialog_items.h"
#include "feeds_editor.h"
#include "format_text.h"
#include "list_line_text.h"

int edit_mode = -1;

namespace {

RecordEditorTable<FEEDS> feeds_rows(feeds_table, feeds_list_line, load_feeds_table, save_feeds_table);

// The entry whose reference equals the stored one (Latin letters in any case);
// failing that, the first whose reference the stored one contains, so padded or
// decorated references still find their row; failing that, the first entry.
template <class Record>
int pick_index(const RecordTable<Record>& table, const char* stored) {
    const std::string search = upper_latin(format_text("%.25s", stored));
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (upper_latin(table.at(i).LIBRF) == search) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (search.find(upper_latin(table.at(i).LIBRF)) != std::string::npos) return static_cast<int>(i);
    }
    return 0;
}

template <class Record>
std::string pick_reference(const RecordTable<Record>& table, int index) {
    if (!table.has_row(index)) return "NULL";
    return format_text("%.20s", upper_latin(table.at(static_cast<std::size_t>(index)).LIBRF));
}

std::vector<std::string> cut_method_entries() {
    std::vector<std::string> entries;
    for (const CUTS& row : cut_method_table) {
        entries.push_back(format_text("%.20s | %.20s  = %.50s  = %.80s", row.LIBRF, row.MODE, row.NAME, row.DESCRIPTION));
    }
    return entries;
}

std::vector<std::string> tool_material_entries() {
    std::vector<std::string> entries;
    for (const TOOL_MATERIALS& row : tool_material_table) {
        entries.push_back(format_text("%.50s  = %.80s", row.MATNAM, row.MATDESC));
    }
    return entries;
}

std::vector<std::string> part_material_entries() {
    std::vector<std::string> entries;
    for (const PARTS& row : part_material_table) {
        entries.push_back(
            format_text("%.50s  =  %.50s  =  %.20s  =  %.80s", row.MATCODE, row.MATNAME, row.HARDNESS, row.PARTMAT));
    }
    return entries;
}

void list_rows_and_show_first(int dialog) {
    insert_all_lines(dialog, feeds_editor);
    if (feeds_table.size() == 0) return;
    dialog_items::select_line(dialog, "LIST", 0);
    show_selected_row(dialog);
}

}  // namespace

const Editor feeds_editor = {
    .table = &feeds_rows,
    .edit_mode = &edit_mode,
    .list_item = "LIST",
    .commands = {Command::edit, Command::create, Command::remove, Command::list, Command::load, Command::save,
                 Command::none},
    .reference_format = "FSDO_%04d",
    .reference_item = "LIBREF",
    .first_value_field = "DPT_CUT_MM",
    .show_selected_row = show_selected_row,
    .reload = construct_dialog,
    .listing = feeds_listing,
};

// The line is "%.20s  =  %.3lf  =  %.3lf  =  %.3lf " (with "  i1=  %.2lf  i2=  %.2lf ="
// after the depth for an indexed row).
void feeds_list_line(const FEEDS& row, std::string& line) {
    constexpr std::size_t shown_reference = 20;
    ListLineText text(line);
    text.put_field(row.LIBRF, std::min(sizeof row.LIBRF, shown_reference));
    text.put("  =  ");
    text.put_fixed(row.DPT_CUT_MM, 3);
    if (row.INDEX1 != 0 || row.INDEX2 != 0) {
        text.put("  i1=  ");
        text.put_fixed(row.INDEX1, 2);
        text.put("  i2=  ");
        text.put_fixed(row.INDEX2, 2);
        text.put(" =  ");
    } else {
        text.put("  =  ");
    }
    text.put_fixed(row.SURF_SPEED_MPM, 3);
    text.put("  =  ");
    text.put_fixed(row.FEED_MMPT, 3);
    text.put(" ");
}

int add_blank_row(int kind) {
    switch (kind) {
        case cut_method_kind: cut_method_table.append(CUTS{}); break;
        case tool_material_kind: tool_material_table.append(TOOL_MATERIALS{}); break;
        case part_material_kind: part_material_table.append(PARTS{}); break;
        default: break;
    }
    return 0;
}

int load_library_tables() {
    if (const int status = load_feeds_table(); status < 0) return status;
    // A file that cannot be read leaves one blank entry in its pick list, however
    // often the tables are loaded.
    if (load_tool_material_table() < 0) {
        tool_material_table.empty();
        add_blank_row(tool_material_kind);
    }
    if (load_cut_method_table() < 0) {
        cut_method_table.empty();
        add_blank_row(cut_method_kind);
    }
    if (load_part_material_table() < 0) {
        part_material_table.empty();
        add_blank_row(part_material_kind);
    }
    return 0;
}

int find_pick_index(int kind, long row) {
    if (!feeds_table.has_row(row)) return 0;
    const FEEDS& feeds = std::as_const(feeds_table).at(static_cast<std::size_t>(row));
    switch (kind) {
        case cut_method_kind: return pick_index(cut_method_table, feeds.OPERTYPE);
        case tool_material_kind: return pick_index(tool_material_table, feeds.TOOLMAT);
        case part_material_kind: return pick_index(part_material_table, feeds.PARTMAT);
        default: return 0;
    }
}

std::string resolve_pick_reference(int kind, int index) {
    switch (kind) {
        case cut_method_kind: return pick_reference(cut_method_table, index);
        case tool_material_kind: return pick_reference(tool_material_table, index);
        case part_material_kind: return pick_reference(part_material_table, index);
        default: return "NULL";
    }
}

void construct_dialog(int dialog) {
    edit_mode = -1;
    dialog_items::set_sensitive(dialog, "SW_EDIT", false);
    if (load_library_tables() != 0) {
        // The table kept its rows, and a save would write them: the list shows them.
        list_rows_and_show_first(dialog);
        return;
    }
    if (feeds_table.size() == 0) return;
    insert_all_lines(dialog, feeds_editor);
    dialog_items::select_line(dialog, "LIST", 0);
    dialog_items::set_entries(dialog, "OPERTYPE", cut_method_entries());
    dialog_items::set_entries(dialog, "TOOLMAT", tool_material_entries());
    dialog_items::set_entries(dialog, "PARTMAT", part_material_entries());
    show_selected_row(dialog);
}

void show_selected_row(int dialog) {
    const int row = dialog_items::ask_index(dialog, "LIST");
    // With no row selected (an empty table) the fields stay as they are.
    if (!feeds_table.has_row(row)) return;
    // Read through the const table: a row handed out to change would count as changed.
    const FEEDS& shown = std::as_const(feeds_table).at(static_cast<std::size_t>(row));
    dialog_items::set_text(dialog, "LIBREF", shown.LIBRF);
    dialog_items::select_line(dialog, "OPERTYPE", find_pick_index(cut_method_kind, row));
    dialog_items::select_line(dialog, "PARTMAT", find_pick_index(part_material_kind, row));
    dialog_items::select_line(dialog, "TOOLMAT", find_pick_index(tool_material_kind, row));
    dialog_items::set_real(dialog, "DPT_CUT_MM", shown.DPT_CUT_MM);
    dialog_items::set_real(dialog, "INDEX1", shown.INDEX1);
    dialog_items::set_real(dialog, "INDEX2", shown.INDEX2);
    dialog_items::set_real(dialog, "SURF_SPEED_MPM", shown.SURF_SPEED_MPM);
    dialog_items::set_real(dialog, "FEED_MMPT", shown.FEED_MMPT);
}

void feeds_command_cb(int dialog) { dispatch_command(dialog, feeds_editor); }

// Applying or cancelling an edit made in the fields of the main dialog.
#include <cstring>

#include "dialog_items.h"
#include "feeds_editor.h"
#include "host_session.h"
#include "library_file.h"
#include "library_tables.h"

namespace {

constexpr int apply_button = 0;
constexpr int cancel_button = 1;
// What a save keeps of a library reference.
constexpr std::size_t saved_reference_length = 20;

void copy_text(std::span<char> field, const std::string& text) {
    library_file_detail::store_text(field, text, field.size());
}

// Sets the row from the fields, in the order the user reads them. False when a
// value could not be stored in the file as it stands.
bool read_fields(int dialog, FEEDS& row) {
    const std::string reference = dialog_items::ask_text(dialog, "LIBREF");
    if (!storable_text("Идентификатор записи", reference, saved_reference_length)) return false;
    copy_text(row.LIBRF, reference);
    copy_text(row.OPERTYPE, resolve_pick_reference(cut_method_kind, dialog_items::ask_index(dialog, "OPERTYPE")));
    copy_text(row.PARTMAT, resolve_pick_reference(part_material_kind, dialog_items::ask_index(dialog, "PARTMAT")));
    copy_text(row.TOOLMAT, resolve_pick_reference(tool_material_kind, dialog_items::ask_index(dialog, "TOOLMAT")));
    row.DPT_CUT_MM = dialog_items::ask_real(dialog, "DPT_CUT_MM");
    row.INDEX1 = dialog_items::ask_real(dialog, "INDEX1");
    row.INDEX2 = dialog_items::ask_real(dialog, "INDEX2");
    row.SURF_SPEED_MPM = dialog_items::ask_real(dialog, "SURF_SPEED_MPM");
    row.FEED_MMPT = dialog_items::ask_real(dialog, "FEED_MMPT");
    return true;
}

void apply_edit(int dialog) {
    const int selected = dialog_items::ask_index(dialog, "LIST");
    if (!feeds_table.has_row(selected)) return;
    FEEDS row = feeds_table.copy_of(static_cast<std::size_t>(selected));
    if (!read_fields(dialog, row)) return;
    feeds_table.at(static_cast<std::size_t>(selected)) = row;
    refill_list(dialog, feeds_editor);
    dialog_items::select_line(dialog, "LIST", selected);
}

void apply_new(int dialog) {
    FEEDS row;
    copy_text(row.tag, "DATA");
    if (!read_fields(dialog, row)) return;
    feeds_table.append(row);
    refill_list(dialog, feeds_editor);
    dialog_items::select_line(dialog, "LIST", static_cast<int>(feeds_table.size()) - 1);
}

}  // namespace

int feeds_action_cb(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (!session.open()) return UF_UI_CB_CONTINUE_DIALOG;
    const int button = dialog_items::ask_index(dialog, "BLO_ACTION");
    if (button == cancel_button) {
        show_row(dialog);
    } else if (button != apply_button) {
        show_unknown_command();
    } else if (edit_mode == 0) {
        apply_edit(dialog);
    } else if (edit_mode == 1) {
        apply_new(dialog);
    }
    leave_edit_state(dialog, feeds_editor);
    return UF_UI_CB_CONTINUE_DIALOG;
}

// Applying or discarding an edit made in the fields of the main dialog.
#include "feeds_editor.h"
#include "in_dialog_edit.h"

namespace {

// What a save keeps of a library reference.
constexpr std::size_t saved_reference_length = 20;

// Sets the row from the fields, in the order the user reads them.
bool read_fields(int dialog, FEEDS& row) {
    if (!ask_storable_text(dialog, "LIBREF", "Идентификатор записи", saved_reference_length, row.LIBRF)) return false;
    copy_text(row.OPERTYPE, resolve_pick_reference(cut_method_kind, dialog_items::ask_index(dialog, "OPERTYPE")));
    copy_text(row.PARTMAT, resolve_pick_reference(part_material_kind, dialog_items::ask_index(dialog, "PARTMAT")));
    copy_text(row.TOOLMAT, resolve_pick_reference(tool_material_kind, dialog_items::ask_index(dialog, "TOOLMAT")));
    return ask_storable_real(dialog, "DPT_CUT_MM", row.DPT_CUT_MM) &&
           ask_storable_real(dialog, "INDEX1", row.INDEX1) && ask_storable_real(dialog, "INDEX2", row.INDEX2) &&
           ask_storable_real(dialog, "SURF_SPEED_MPM", row.SURF_SPEED_MPM) &&
           ask_storable_real(dialog, "FEED_MMPT", row.FEED_MMPT);
}

}  // namespace

void feeds_action_cb(int dialog) { apply_in_dialog(dialog, feeds_editor, feeds_table, read_fields); }

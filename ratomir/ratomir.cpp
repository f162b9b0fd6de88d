// The feeds-and-speeds editor as the host enters it: its main dialog's callback
// table and what sets it apart at its entry.
#include "callback_guard.h"
#include "editor_entry.h"
#include "feeds_editor.h"
#include "host_session.h"

namespace {

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<construct_dialog>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIBREF", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"OPERTYPE", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"PARTMAT", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"TOOLMAT", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"DPT_CUT_MM", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"CALC", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<calc_cb>>},
    {"INDEX1", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"INDEX2", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"SURF_SPEED_MPM", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"FEED_MMPT", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACTION", UF_STYLER_ACTIVATE_CB, 0, guarded<in_session<feeds_action_cb>>},
    {"LIST", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<show_selected_row>>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<feeds_command_cb>>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

// Without its own file the editor has nothing to show: no dialog then.
extern const EditorProfile this_editor = {
    .dialog_file = "ratomir.dlg",
    .callbacks = callbacks,
    .probe = probe_data_directory,
    .unsaved_changes = feeds_unsaved,
    .unavailable_text = "База 'Подач и скоростей' НЕ доступна или НЕ существует \n обратитесь к системному "
                        "администратору.",
    .dialog_after_failed_probe = false,
    .dialog_failure_text = " Невозможно загрузить 'ratomir.dlg' \n Ошибка выделения памяти ?...",
    .sets_return_code = true,
};

// The cut-method editor as the host enters it: its main dialog's callback table
// and what sets it apart at its entry.
#include "callback_guard.h"
#include "cut_method_editor.h"
#include "editor_entry.h"
#include "host_session.h"

namespace {

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<cutmeth_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIST_CUTS", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<cutmeth_command_cb>>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

extern const EditorProfile this_editor = {
    .dialog_file = "strakel.dlg",
    .callbacks = callbacks,
    .probe = probe_data_directory,
    .unsaved_changes = cut_methods_unsaved,
    .unavailable_text =
        "База Методов резания НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
    .dialog_after_failed_probe = true,
    .dialog_failure_text = " Невозможно загрузить 'strakel.dlg'  ...",
    .sets_return_code = true,
};

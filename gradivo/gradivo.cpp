// The tool-material editor as the host enters it: its main dialog's callback
// table and what sets it apart at its entry.
#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "tool_material_editor.h"

namespace {

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<toolmat_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIST_TOOL_MATERIAL", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<toolmat_command_cb>>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

// Unlike the other editors, this one shows nothing when its dialog cannot be
// created, and leaves the return code as the caller set it.
extern const EditorProfile this_editor = {
    .dialog_file = "gradivo.dlg",
    .callbacks = callbacks,
    .probe = probe_data_directory,
    .unsaved_changes = tool_materials_unsaved,
    .unavailable_text = "База Материала Инструмента НЕ доступна или НЕ существует \n обратитесь к системному "
                        "администратору.",
    .dialog_after_failed_probe = true,
    .dialog_failure_text = nullptr,
    .sets_return_code = false,
};

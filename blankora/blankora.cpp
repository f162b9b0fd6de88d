// The plug-in's exports and its main dialog's callback table.
#include <iterator>

#include "callback_guard.h"
#include "editor_entry.h"
#include "editor_profiles.h"
#include "part_material_editor.h"

namespace {

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<partmat_construct_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIBREF", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"MATCODE", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"MATNAME", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"HARDNESS", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"PARTMAT", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACTION", UF_STYLER_ACTIVATE_CB, 0, guarded<partmat_action_cb>},
    {"LIST", UF_STYLER_ACTIVATE_CB, 0, guarded<partmat_show_record_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 0, guarded<partmat_command_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

PLUGIN_EXPORT void ufusr(char*, int* return_code, int) {
    run_editor(blankora_profile, callbacks, static_cast<int>(std::size(callbacks)), return_code);
}

PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }

PLUGIN_EXPORT void ufusr_cleanup() {}

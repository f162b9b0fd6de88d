// Callbacks any plug-in's dialogs share; apart from the editors' entry, so that
// plug-ins which are not editors can bind them too.
#include "editor_entry.h"
#include "host_session.h"

int record_dialog_exit_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    return session.open() ? UF_UI_CB_EXIT_DIALOG : UF_UI_CB_CONTINUE_DIALOG;
}

int item_noop_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    return UF_UI_CB_CONTINUE_DIALOG;
}

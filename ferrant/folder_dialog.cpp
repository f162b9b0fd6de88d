// The dialog "ferrant.dlg": one text field with the snapshot's folder.
#include <iterator>

#include "callback_guard.h"
#include "dialog_items.h"
#include "editor_entry.h"
#include "failure_report.h"
#include "ferrant.h"
#include "host_session.h"

namespace {

// What the constructor shows and what OK read; the dialog has no other state.
std::string shown_folder;
std::string typed_folder;

void folder_construct_cb(int dialog) { dialog_items::set_text(dialog, "FOLDER", shown_folder); }

int folder_ok_cb(int dialog) {
    typed_folder = dialog_items::ask_text(dialog, "FOLDER");
    // An empty folder would be the current folder of the host: it is asked again.
    return typed_folder.empty() ? UF_UI_CB_CONTINUE_DIALOG : UF_UI_CB_EXIT_DIALOG;
}

UF_STYLER_callback_info_t folder_callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<folder_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<in_session_ending<folder_ok_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<record_dialog_exit_cb>},
    {"FOLDER", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

}  // namespace

bool ask_folder(const std::string& initial, std::string& chosen) {
    shown_folder = initial;
    typed_folder.clear();
    int response = 0;
    const int created = UF_STYLER_create_dialog("ferrant.dlg", folder_callbacks,
                                                static_cast<int>(std::size(folder_callbacks)), nullptr, &response);
    if (created != 0) {
        report_dialog_not_created(created, " Невозможно загрузить 'ferrant.dlg'  ...");
        return false;
    }
    if (response != 2) return false;
    chosen = typed_folder;
    return true;
}

#include "editor_entry.h"

#include "callback_guard.h"
#include "failure_report.h"
#include "host_session.h"
#include "windows.h"

namespace {

// The probe and the dialog, inside the entry's session.
void show_editor(const EditorProfile& profile) {
    if (profile.probe() < 0) {
        MessageBeep(0);
        MessageBoxA(GetFocus(), profile.unavailable_text, "Проверка чтения-записи ->.", MB_ICONERROR);
        if (!profile.dialog_after_failed_probe) return;
    }
    int response = 0;
    const int created = UF_STYLER_create_dialog(profile.dialog_file, profile.callbacks.data(),
                                                static_cast<int>(profile.callbacks.size()), nullptr, &response);
    if (created != 0) report_dialog_not_created(created, profile.dialog_failure_text);
}

// The session's status, or the status of its failed close.
int run_editor_session(const EditorProfile& profile) {
    if (const int status = UF_initialize(); status != 0) return status;
    try {
        show_editor(profile);
    } catch (...) {
        UF_terminate();
        throw;
    }
    return UF_terminate();
}

}  // namespace

void run_editor(const EditorProfile& profile, int* return_code) {
    guarded_entry([&] { report_failure(run_editor_session(profile)); });
    if (profile.sets_return_code && return_code != nullptr) *return_code = 0;
}

// Leaving the main dialog drops the table; changes not yet saved are lost
// unless the user stays to save them.
int dialog_exit_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (!session.open()) return UF_UI_CB_CONTINUE_DIALOG;
    if (this_editor.unsaved_changes() &&
        MessageBoxA(GetFocus(), "В Базе есть несохраненные изменения.\n Выйти без сохранения?", "Выход ...",
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return UF_UI_CB_CONTINUE_DIALOG;
    }
    return UF_UI_CB_EXIT_DIALOG;
}

#include "editor_entry.h"

#include <cstdio>

#include "callback_guard.h"
#include "host_session.h"
#include "library_tables.h"
#include "probe.h"
#include "windows.h"

const EditorProfile* active_editor = nullptr;

void report_dialog_not_created(int status, const char* text) {
    char message[UF_UI_MAX_STRING_LEN + 1] = {};
    UF_get_fail_message(status, message);
    UF_UI_set_status(message);
    std::printf("%s\n", message);
    if (text != nullptr) uc1601(text, 1);
}

namespace {

// The probe and the dialog, inside the entry's session.
void show_editor(const EditorProfile& profile, UF_STYLER_callback_info_t* callbacks, int count) {
    if (probe_data_directory() < 0) {
        MessageBeep(0);
        MessageBoxA(GetFocus(), profile.unavailable_text, "Проверка чтения-записи ->.", MB_ICONERROR);
        if (!profile.dialog_after_failed_probe) return;
    }
    int response = 0;
    const int created = UF_STYLER_create_dialog(profile.dialog_file, callbacks, count, nullptr, &response);
    if (created != 0) report_dialog_not_created(created, profile.dialog_failure_text);
}

// The session's status, or the status of its failed close.
int run_editor_session(const EditorProfile& profile, UF_STYLER_callback_info_t* callbacks, int count) {
    if (const int status = UF_initialize(); status != 0) return status;
    try {
        show_editor(profile, callbacks, count);
    } catch (...) {
        UF_terminate();
        throw;
    }
    return UF_terminate();
}

}  // namespace

void run_editor(const EditorProfile& profile, UF_STYLER_callback_info_t* callbacks, int count, int* return_code) {
    active_editor = &profile;
    guarded_entry([&] { report_failure(run_editor_session(profile, callbacks, count)); });
    if (profile.sets_return_code && return_code != nullptr) *return_code = 0;
}

// Leaving the main dialog drops the table; changes not yet saved are lost
// unless the user stays to save them.
int dialog_exit_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (!session.open()) return UF_UI_CB_CONTINUE_DIALOG;
    if (own_table_has_unsaved_changes() &&
        MessageBoxA(GetFocus(), "В Базе есть несохраненные изменения.\n Выйти без сохранения?", "Выход ...",
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return UF_UI_CB_CONTINUE_DIALOG;
    }
    return UF_UI_CB_EXIT_DIALOG;
}

int record_dialog_exit_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    return session.open() ? UF_UI_CB_EXIT_DIALOG : UF_UI_CB_CONTINUE_DIALOG;
}

int item_noop_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    return UF_UI_CB_CONTINUE_DIALOG;
}

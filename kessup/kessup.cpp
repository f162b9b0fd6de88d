// The plug-in's exports and its main dialog's callback table. The tool library
// lies in its own folder, named by UGII_CAM_LIBRARY_TOOL_METRIC_DIR.
#include <fcntl.h>

#include <iterator>

#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "kessup.h"
#include "library_file_open.h"
#include "library_tables.h"
#include "windows.h"

namespace {

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<tool_construct_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<tool_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<tool_exit_cb>},
    {"LIST_TOOLS", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<tool_command_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

// The tool library's path and SaveFlag, as the editors' probe finds their own
// file: -1 when the variable is not set, -2 when the file cannot be read.
int probe_tool_library() {
    tool_library_path.clear();
    SaveFlag = 0;
    char* folder = nullptr;
    UF_translate_variable("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", &folder);
    if (folder == nullptr || *folder == '\0') {
        uc1601("Переменная UGII_CAM_LIBRARY_TOOL_METRIC_DIR - не установлена", 1);
        return -1;
    }
    tool_library_path = std::string(folder) + "tool_database.dat";
    const bool readable = library_file_opens(tool_library_path, O_RDONLY);
    if (!library_file_opens(tool_library_path, O_WRONLY | O_APPEND | O_CREAT)) SaveFlag = -1;
    return readable ? 0 : -2;
}

void show_tool_editor() {
    if (probe_tool_library() < 0) {
        MessageBeep(0);
        MessageBoxA(GetFocus(), "База Инструмента НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
                    "Проверка чтения-записи ->.", MB_ICONERROR);
    }
    int response = 0;
    const int created =
        UF_STYLER_create_dialog("kessup.dlg", callbacks, static_cast<int>(std::size(callbacks)), nullptr, &response);
    if (created != 0) report_dialog_not_created(created, " Невозможно загрузить 'kessup.dlg'  ...");
}

}  // namespace

PLUGIN_EXPORT void ufusr(char*, int* return_code, int) {
    guarded_entry([&] {
        if (const int status = UF_initialize(); status != 0) {
            report_failure(status);
            return;
        }
        try {
            show_tool_editor();
        } catch (...) {
            UF_terminate();
            throw;
        }
        report_failure(UF_terminate());
    });
    if (return_code != nullptr) *return_code = 0;
}

PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }

PLUGIN_EXPORT void ufusr_cleanup() {}

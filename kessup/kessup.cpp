// The tool-library editor as the host enters it: its main dialog's callback
// table and what sets it apart at its entry. The tool library
// lies in its own folder, named by UGII_CAM_LIBRARY_TOOL_METRIC_DIR.
#include <fcntl.h>

#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "kessup.h"
#include "library_file_open.h"

int SaveFlag = 0;

namespace {

UF_STYLER_callback_info_t callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<in_session<tool_construct_cb>>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_OK_CB, 0, guarded<dialog_exit_cb>},
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CANCEL_CB, 0, guarded<dialog_exit_cb>},
    {"LIST_TOOLS", UF_STYLER_ACTIVATE_CB, 0, guarded<item_noop_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<tool_command_cb>>},
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

}  // namespace

extern const EditorProfile this_editor = {
    .dialog_file = "kessup.dlg",
    .callbacks = callbacks,
    .probe = probe_tool_library,
    .unsaved_changes = tool_library_changed,
    .unavailable_text = "База Инструмента НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
    .dialog_after_failed_probe = true,
    .dialog_failure_text = " Невозможно загрузить 'kessup.dlg'  ...",
    .sets_return_code = true,
};

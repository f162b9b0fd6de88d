// The launcher's exports. Unlike the editors it has no ufusr_cleanup: it keeps
// nothing that would need clearing before the host unloads it.
#include <cstdio>

#include "callback_guard.h"
#include "korvane.h"
#include "plugin_export.h"
#include "uf.h"


int report_launcher_failure(int status) {
    if (status == 0) return 0;
    char message[UF_UI_MAX_STRING_LEN + 1] = {};
    UF_get_fail_message(status, message);
    UF_UI_set_status(message);
    std::fprintf(stderr, "%s\n", message);
    return status;
}

namespace {

// The report and the menu inside a session; the session's status, or that of its failed close.
int run_launcher_session() {
    if (const int status = UF_initialize(); status != 0) return status;
    try {
        // The check shows its own messages; only a missing directory variable stops here.
        if (check_environment() == 0) run_main_menu();
    } catch (...) {
        UF_terminate();
        throw;
    }
    return UF_terminate();
}

}  // namespace

// The parameter text and its length are not read: the launcher needs nothing from its caller.
PLUGIN_EXPORT void ufusr(char* /*parameter*/, int* return_code, int /*parameter_length*/) {
    guarded_entry([] { report_launcher_failure(run_launcher_session()); });
    if (return_code != nullptr) *return_code = 0;
}

// 1: the host unloads the launcher as soon as ufusr returns.
PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }

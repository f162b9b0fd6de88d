// The plug-in's exports. The launcher passes the mode where the host passes the
// parameter's length: 0 export, 1 import.
#include "callback_guard.h"
#include "editor_entry.h"
#include "failure_report.h"
#include "ferrant.h"
#include "host_session.h"
#include "plugin_export.h"

namespace {

constexpr int import_mode = 1;

}  // namespace

PLUGIN_EXPORT void ufusr(char*, int* return_code, int mode) {
    guarded_entry([&] {
        if (const int status = UF_initialize(); status != 0) {
            report_failure(status);
            return;
        }
        try {
            if (mode == import_mode) {
                run_import();
            } else {
                run_export();
            }
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

// Starting a plug-in library from the launcher: found by file name under the
// search variables, loaded through the host, entered, unloaded.
#include <string>

#include "host_variable.h"
#include "korvane.h"
#include "library_path.h"
#include "uf.h"

namespace {

// Tried in this order; the first that yields a library with an entry wins.
constexpr const char* search_variables[] = {
    "UGII_USER_DIR", "UGII_SITE_DIR", "UGII_VENDOR_DIR", "USER_UFUN", "UGII_INITIAL_UFUN_DIR", "UGII_TMP_DIR", "HOME",
};

// A plug-in's entry has the host's shape; the launcher passes the mode where the
// host passes the parameter's length.
using PluginEntry = void (*)(char* parameter, int* return_code, int mode);

void log_host_failure(int status) {
    char message[UF_UI_MAX_STRING_LEN + 1] = {};
    UF_get_fail_message(status, message);
    UF_print_syslog(message, 0);
}

// Loads the library at path, enters it when it has an entry and unloads it again.
// True when the entry was called.
bool run_library_at(const std::string& path, const std::string& directory, int mode) {
    UF_print_syslog(path.c_str(), 0);
    UF_load_f_p_t loaded = nullptr;
    const int status = UF_load_library(path.c_str(), "ufusr", &loaded);
    if (status != 0) {
        log_host_failure(status);
        return false;
    }
    const bool entered = loaded != nullptr;
    if (entered) {
        // The entry takes a writable text, so it gets a copy of the host's value.
        std::string parameter = directory;
        int return_code = 0;  // whatever the plug-in leaves here is not read
        reinterpret_cast<PluginEntry>(loaded)(parameter.data(), &return_code, mode);
    }
    // Also without an entry: every library that was loaded is unloaded.
    UF_unload_library(path.c_str());
    return entered;
}

}  // namespace

int run_editor_library(const std::string& file_name, int mode) {
    bool ran = false;
    for (const char* variable : search_variables) {
        const auto directory = directory_variable(variable);
        if (!directory) continue;
        ran = run_library_at(library_path(*directory, file_name), *directory, mode);
        if (ran) break;
    }
    if (!ran) {
        const std::string message = "Don't load " + file_name + " \n ...";
        uc1601(message.c_str(), 1);
    }
    return 0;
}

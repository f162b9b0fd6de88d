#include "plugin_runner.h"

#include <dlfcn.h>

#include <filesystem>
#include <vector>

#include "host_control.h"

namespace ughost {
namespace {

using Entry = void (*)(char*, int*, int);
using AskUnload = int (*)();
using Cleanup = void (*)();

constexpr int unload_immediately = 1;

}  // namespace

int run_plugin(const std::string& path, const std::string& parameter) {
    HostControl& host = *ughost_host_control();
    // Transcripts name the file, not the folder, so they read the same on every machine.
    const std::string name = std::filesystem::path(path).filename().string();
    host.ui().notes().plugin_loading(name);
    void* handle = nullptr;
    std::string error;
    if (host.load_library(path, handle, error) != 0) {
        host.ui().notes().plugin_not_loaded(name, error);
        return 1;
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "ufusr"));
    const auto ask_unload = reinterpret_cast<AskUnload>(dlsym(handle, "ufusr_ask_unload"));
    const auto cleanup = reinterpret_cast<Cleanup>(dlsym(handle, "ufusr_cleanup"));
    if (entry == nullptr || ask_unload == nullptr) {
        host.ui().notes().plugin_lacks_entry(name, entry == nullptr ? "ufusr" : "ufusr_ask_unload");
        host.unload_library(handle);
        return 1;
    }
    std::vector<char> text(parameter.begin(), parameter.end());
    text.push_back('\0');
    int return_code = -1;
    // An entry should not throw; the host survives one that does and unloads it as usual.
    try {
        entry(text.data(), &return_code, static_cast<int>(parameter.size()));
    } catch (const std::exception& error) {
        host.ui().notes().entry_threw(name, error.what());
    } catch (...) {
        host.ui().notes().entry_threw_unknown(name);
    }
    if (host.session_depth() != 0) {
        host.ui().notes().entry_left_sessions(host.session_depth());
    }
    host.ui().notes().entry_returned(return_code);
    const int unload = ask_unload();
    host.ui().notes().unload_asked(unload);
    if (unload != unload_immediately) host.ui().notes().unload_answer_overruled();
    if (cleanup != nullptr) cleanup();
    host.unload_library(handle);
    host.ui().notes().plugin_unloaded(name, host.is_loaded(path));
    return 0;
}

}  // namespace ughost

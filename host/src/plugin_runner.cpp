#include "plugin_runner.h"

#include <dlfcn.h>

#include <filesystem>
#include <vector>

#include "host.h"

namespace ughost {
namespace {

using Entry = void (*)(char*, int*, int);
using AskUnload = int (*)();
using Cleanup = void (*)();

constexpr int unload_immediately = 1;

}  // namespace

int run_plugin(const std::string& path, const std::string& parameter) {
    Host& host = Host::instance();
    // Transcripts name the file, not the folder, so they read the same on every machine.
    const std::string name = std::filesystem::path(path).filename().string();
    host.ui().note_event("load " + name);
    void* handle = nullptr;
    std::string error;
    if (host.load_library(path, handle, error) != 0) {
        host.ui().note_event("error: cannot load " + name + ": " + error);
        return 1;
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "ufusr"));
    const auto ask_unload = reinterpret_cast<AskUnload>(dlsym(handle, "ufusr_ask_unload"));
    const auto cleanup = reinterpret_cast<Cleanup>(dlsym(handle, "ufusr_cleanup"));
    if (entry == nullptr || ask_unload == nullptr) {
        host.ui().note_event(std::string("error: ") + name + " lacks the required entry " +
                             (entry == nullptr ? "ufusr" : "ufusr_ask_unload"));
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
        host.ui().note_event("error: ufusr of " + name + " threw: " + error.what());
    } catch (...) {
        host.ui().note_event("error: ufusr of " + name + " threw an unknown exception");
    }
    if (host.session_depth() != 0) {
        host.ui().note_event("warning: ufusr returned with " + std::to_string(host.session_depth()) +
                             " host session(s) open");
    }
    host.ui().note_event("ufusr returned retcode=" + std::to_string(return_code));
    const int unload = ask_unload();
    host.ui().note_event("ufusr_ask_unload returned " + std::to_string(unload));
    if (unload != unload_immediately) {
        host.ui().note_event("warning: the host unloads every plug-in when its ufusr returns");
    }
    if (cleanup != nullptr) cleanup();
    host.unload_library(handle);
    host.ui().note_event(host.is_loaded(path) ? "warning: " + name + " is still loaded after its unload"
                                              : "unload " + name);
    return 0;
}

}  // namespace ughost

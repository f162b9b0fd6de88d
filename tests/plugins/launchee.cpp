// A stand-in for the plug-ins the launcher starts: it says in a host message
// under which file name it was loaded and with which parameter and mode it was
// entered. Copies of it stand for the editors, kessup and ferrant.
#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "uf.h"

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

TEST_EXPORT void ufusr(char* parameter, int* return_code, int mode) {
    Dl_info self{};
    dladdr(reinterpret_cast<void*>(&ufusr), &self);
    const std::string name =
        self.dli_fname == nullptr ? "(unknown)" : std::filesystem::path(self.dli_fname).filename().string();
    const std::string text = name + " entered: parameter \"" + parameter + "\", mode " + std::to_string(mode);
    uc1601(text.c_str(), 1);
    *return_code = 99;  // the launcher must not care
}

TEST_EXPORT int ufusr_ask_unload() { return 1; }

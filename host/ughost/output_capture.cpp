#include "output_capture.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace ughost {
namespace {

// What a dying sanitizer passes on; a process has one capture.
int dying_errors[2] = {-1, -1};  // the capture file of descriptor 2 and the original descriptor 2
long* dying_offset = nullptr;

// Runs inside the sanitizer's death: no allocation, only reads and writes.
void forward_errors() {
    char buffer[4096];
    ssize_t got = 0;
    while ((got = pread(dying_errors[0], buffer, sizeof buffer, *dying_offset)) > 0) {
        *dying_offset += got;
        if (write(dying_errors[1], buffer, static_cast<std::size_t>(got)) != got) return;
    }
}

// Each sanitizer runtime (the address and the undefined-behaviour one are
// separate libraries) keeps its own death callback, so every loaded object
// that has the setter is told.
int register_death_callback(dl_phdr_info* info, std::size_t, void*) {
    void* object = dlopen(info->dlpi_name[0] == '\0' ? nullptr : info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
    if (object == nullptr) return 0;
    using Setter = void (*)(void (*)());
    if (const auto set = reinterpret_cast<Setter>(dlsym(object, "__sanitizer_set_death_callback"))) set(forward_errors);
    dlclose(object);
    return 0;
}

}  // namespace

bool OutputCapture::start() {
    std::fflush(stdout);
    std::fflush(stderr);
    for (int stream = 0; stream < 2; ++stream) {
        char name[] = "/tmp/ughost-output-XXXXXX";
        files_[stream] = mkstemp(name);
        if (files_[stream] < 0) return false;
        unlink(name);
        saved_[stream] = dup(stream + 1);
        if (saved_[stream] < 0 || dup2(files_[stream], stream + 1) < 0) return false;
    }
    return true;
}

void OutputCapture::drain(const Sink& sink) {
    if (files_[0] < 0) return;
    std::fflush(stdout);
    std::fflush(stderr);
    for (int stream = 0; stream < 2; ++stream) {
        std::string text;
        char buffer[4096];
        ssize_t got = 0;
        while ((got = pread(files_[stream], buffer, sizeof buffer, offsets_[stream])) > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
            offsets_[stream] += got;
        }
        if (!text.empty()) sink(stream + 1, text);
    }
}

void OutputCapture::forward_errors_at_sanitizer_death() {
    dying_errors[0] = files_[1];
    dying_errors[1] = saved_[1];
    dying_offset = &offsets_[1];
    dl_iterate_phdr(register_death_callback, nullptr);
}

void OutputCapture::stop() {
    std::fflush(stdout);
    std::fflush(stderr);
    for (int stream = 0; stream < 2; ++stream) {
        if (stream == 1) dying_errors[0] = -1;
        if (saved_[stream] >= 0) {
            dup2(saved_[stream], stream + 1);
            close(saved_[stream]);
            saved_[stream] = -1;
        }
        if (files_[stream] >= 0) {
            close(files_[stream]);
            files_[stream] = -1;
        }
    }
}

}  // namespace ughost

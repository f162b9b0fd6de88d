#include "output_capture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace ughost {

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

void OutputCapture::stop() {
    std::fflush(stdout);
    std::fflush(stderr);
    for (int stream = 0; stream < 2; ++stream) {
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

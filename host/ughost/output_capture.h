// Catches what plug-ins print to standard output and standard error, so the
// transcript can show it in the order it happened among the other events.
#pragma once

#include <functional>
#include <string>

namespace ughost {

class OutputCapture {
public:
    using Sink = std::function<void(int stream, const std::string& text)>;

    // Redirects descriptors 1 and 2 to files of its own; false when it cannot.
    bool start();
    // Passes on what was printed since the last call.
    void drain(const Sink& sink);
    // Puts descriptors 1 and 2 back.
    void stop();
    // When a sanitizer ends the process, what reached descriptor 2 since the last
    // drain (its report among it) is copied to the original standard error
    // instead of vanishing with the capture file.
    void forward_errors_at_sanitizer_death();
    // The descriptor of the original standard output, for the transcript.
    int original_stdout() const { return saved_[0]; }
    int original_stderr() const { return saved_[1]; }

private:
    int saved_[2] = {-1, -1};
    int files_[2] = {-1, -1};
    long offsets_[2] = {0, 0};
};

}  // namespace ughost

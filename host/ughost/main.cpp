// ughost: the host program. Loads plug-in libraries and enters them as the CAD
// host does, with a front-end in place of the host's windows. Usage in host/README.md.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "host_control.h"
#include "output_capture.h"
#include "script_run.h"
#include "scripted_front_end.h"

namespace {


void usage() {
    std::fputs(
        "usage: ughost --script FILE [--transcript FILE | --no-transcript] [--param TEXT]\n"
        "              [--syslog FILE] PLUGIN.so...\n"
        "Plays the script of user actions (FILE '-' is standard input) against the plug-ins,\n"
        "started one after the other, and writes the transcript to standard output or FILE.\n",
        stderr);
}

bool parse_options(int argc, char** argv, ughost::RunOptions& options) {
    return ughost::parse_run_options("ughost", std::vector<std::string>(argv + 1, argv + argc), false, options) &&
           !options.plugins.empty() && !options.script_file.empty();
}

// Plays the script against the plug-ins, one after the other; returns the exit status.
int play(const ughost::RunOptions& options, std::vector<ughost::ScriptLine> script, ughost::OutputCapture& capture,
         std::FILE* transcript) {
    ughost::HostControl& host = *ughost_host_control();
    ughost::ScriptedFrontEnd front_end(host, std::move(script), transcript, capture.original_stderr());
    host.set_front_end(&front_end);
    host.set_syslog_file(options.syslog_file.empty() ? ughost::default_syslog_file() : options.syslog_file);
    // Without a transcript nobody reads what the plug-ins print, so it is not
    // gathered event by event.
    if (transcript != nullptr) ughost::drain_output_to(host, capture, front_end);
    front_end.start();
    int status = ughost::run_plugins(options.plugins, options.parameter);
    host.ui();
    status = front_end.finish() != 0 ? 2 : status;
    // The front-end ends here; the host must not reach it afterwards.
    host.set_output_drain({});
    host.set_front_end(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Like any desktop program, the host runs in the user's locale; the plug-ins must not care.
    std::setlocale(LC_ALL, "");
    ughost::RunOptions options;
    if (!parse_options(argc, argv, options)) {
        usage();
        return 2;
    }
    std::vector<ughost::ScriptLine> script;
    if (!ughost::load_script("ughost", options.script_file, script)) return 2;

    ughost::OutputCapture capture;
    if (!capture.start()) {
        std::perror("ughost: cannot capture the plug-ins' output");
        return 2;
    }
    capture.forward_errors_at_sanitizer_death();
    std::FILE* transcript = nullptr;
    if (options.transcript && !ughost::open_transcript("ughost", options.transcript_file, capture, transcript)) {
        capture.stop();
        return 2;
    }
    const int status = play(options, std::move(script), capture, transcript);
    if (transcript != nullptr) std::fclose(transcript);
    capture.stop();
    return status;
}

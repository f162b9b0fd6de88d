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

struct Options {
    std::string script_file;
    std::string transcript_file;
    bool transcript = true;
    std::string parameter;
    std::string syslog_file;
    std::vector<std::string> plugins;
};

void usage() {
    std::fputs(
        "usage: ughost --script FILE [--transcript FILE | --no-transcript] [--param TEXT]\n"
        "              [--syslog FILE] PLUGIN.so...\n"
        "Plays the script of user actions (FILE '-' is standard input) against the plug-ins,\n"
        "started one after the other, and writes the transcript to standard output or FILE.\n",
        stderr);
}

bool parse_options(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        if (arg == "--script") {
            if (!value(options.script_file)) return false;
        } else if (arg == "--transcript") {
            if (!value(options.transcript_file)) return false;
        } else if (arg == "--no-transcript") {
            options.transcript = false;
        } else if (arg == "--param") {
            if (!value(options.parameter)) return false;
        } else if (arg == "--syslog") {
            if (!value(options.syslog_file)) return false;
        } else if (arg == "--help" || arg == "-h") {
            return false;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "ughost: unknown option %s\n", arg.c_str());
            return false;
        } else {
            options.plugins.push_back(arg);
        }
    }
    return !options.plugins.empty() && !options.script_file.empty();
}

// Plays the script against the plug-ins, one after the other; returns the exit status.
int play(const Options& options, std::vector<ughost::ScriptLine> script, ughost::OutputCapture& capture,
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
    Options options;
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

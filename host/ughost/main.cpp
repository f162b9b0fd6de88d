// ughost: the host program. Loads plug-in libraries and enters them as the CAD
// host does, with a front-end in place of the host's windows. Usage in host/README.md.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host_control.h"
#include "host_text.h"
#include "output_capture.h"
#include "plugin_runner.h"
#include "script.h"
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

bool read_script(const std::string& file, std::string& text) {
    std::ostringstream buffer;
    if (file == "-") {
        buffer << std::cin.rdbuf();
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) return false;
        buffer << in.rdbuf();
    }
    text = buffer.str();
    return true;
}

// The script, parsed; false (with the reason on standard error) when it cannot be read or does not parse.
bool load_script(const std::string& file, std::vector<ughost::ScriptLine>& script) {
    std::string text;
    if (!read_script(file, text)) {
        std::fprintf(stderr, "ughost: cannot open script '%s' for reading\n", file.c_str());
        return false;
    }
    ughost::ScriptError error;
    if (!ughost::parse_script(text, script, error)) {
        std::fprintf(stderr, "ughost: %s:%d: %s\n", file.c_str(), error.line, error.message.c_str());
        return false;
    }
    return true;
}

// Where the transcript goes: the original standard output (the captured one
// holds what the plug-ins print), the file asked for, or nowhere.
bool open_transcript(const Options& options, const ughost::OutputCapture& capture, std::FILE*& transcript) {
    transcript = nullptr;
    if (!options.transcript) return true;
    transcript = options.transcript_file.empty() ? fdopen(dup(capture.original_stdout()), "w")
                                                 : std::fopen(options.transcript_file.c_str(), "w");
    if (transcript != nullptr) return true;
    std::fprintf(stderr, "ughost: cannot open transcript '%s' for writing\n", options.transcript_file.c_str());
    return false;
}

std::string default_syslog_file() {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") + "/ughost-" +
           std::to_string(getuid()) + ".syslog";
}

// Plays the script against the plug-ins, one after the other; returns the exit status.
int play(const Options& options, std::vector<ughost::ScriptLine> script, ughost::OutputCapture& capture,
         std::FILE* transcript) {
    ughost::HostControl& host = *ughost_host_control();
    ughost::ScriptedFrontEnd front_end(host, std::move(script), transcript, capture.original_stderr());
    host.set_front_end(&front_end);
    host.set_syslog_file(options.syslog_file.empty() ? default_syslog_file() : options.syslog_file);
    // Without a transcript nobody reads what the plug-ins print, so it is not
    // gathered event by event.
    if (transcript != nullptr) host.set_output_drain([&] {
        capture.drain([&](int stream, const std::string& text) {
            front_end.output_written(stream, ughost::cp1251_to_utf8(text));
        });
    });
    front_end.start();
    int status = 0;
    for (const auto& plugin : options.plugins) {
        if (ughost::run_plugin(plugin, options.parameter) != 0) status = 1;
    }
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
    if (!load_script(options.script_file, script)) return 2;

    ughost::OutputCapture capture;
    if (!capture.start()) {
        std::perror("ughost: cannot capture the plug-ins' output");
        return 2;
    }
    capture.forward_errors_at_sanitizer_death();
    std::FILE* transcript = nullptr;
    if (!open_transcript(options, capture, transcript)) {
        capture.stop();
        return 2;
    }
    const int status = play(options, std::move(script), capture, transcript);
    if (transcript != nullptr) std::fclose(transcript);
    capture.stop();
    return status;
}

#include "script_run.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host_text.h"
#include "plugin_runner.h"

namespace ughost {

bool parse_run_options(const char* program, const std::vector<std::string>& args, bool takes_quit,
                       RunOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        if (arg == "--script") {
            if (!value(options.script_file)) return false;
        } else if (arg == "--transcript") {
            if (!value(options.transcript_file)) return false;
        } else if (arg == "--no-transcript") {
            options.transcript = false;
        } else if (arg == "--quit" && takes_quit) {
            options.quit = true;
        } else if (arg == "--param") {
            if (!value(options.parameter)) return false;
        } else if (arg == "--syslog") {
            if (!value(options.syslog_file)) return false;
        } else if (arg == "--help" || arg == "-h") {
            return false;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", program, arg.c_str());
            return false;
        } else {
            options.plugins.push_back(arg);
        }
    }
    return true;
}
namespace {

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

}  // namespace

bool load_script(const char* program, const std::string& file, std::vector<ScriptLine>& script) {
    std::string text;
    if (!read_script(file, text)) {
        std::fprintf(stderr, "%s: cannot open script '%s' for reading\n", program, file.c_str());
        return false;
    }
    ScriptError error;
    if (!parse_script(text, script, error)) {
        std::fprintf(stderr, "%s: %s:%d: %s\n", program, file.c_str(), error.line, error.message.c_str());
        return false;
    }
    return true;
}

bool open_transcript(const char* program, const std::string& file, const OutputCapture& capture,
                     std::FILE*& transcript) {
    transcript = file.empty() ? fdopen(dup(capture.original_stdout()), "w") : std::fopen(file.c_str(), "w");
    if (transcript != nullptr) return true;
    std::fprintf(stderr, "%s: cannot open transcript '%s' for writing\n", program, file.c_str());
    return false;
}

std::string default_syslog_file() {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") + "/ughost-" +
           std::to_string(getuid()) + ".syslog";
}

void drain_output_to(HostControl& host, OutputCapture& capture, FrontEnd& front_end) {
    host.set_output_drain([&capture, &front_end] {
        capture.drain([&front_end](int stream, const std::string& text) {
            front_end.output_written(stream, cp1251_to_utf8(text));
        });
    });
}

int run_plugins(const std::vector<std::string>& plugins, const std::string& parameter) {
    int status = 0;
    for (const auto& plugin : plugins) {
        if (run_plugin(plugin, parameter) != 0) status = 1;
    }
    return status;
}

}  // namespace ughost

// What both host programs do around playing a script: read and parse it, open
// the transcript, name the system log, pass on what the plug-ins print, start
// the plug-ins in turn. program names the host program in its messages.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "front_end.h"
#include "host_control.h"
#include "output_capture.h"
#include "script.h"

namespace ughost {

// The options both host programs take.
struct RunOptions {
    std::string script_file;
    std::string transcript_file;
    bool transcript = true;
    bool quit = false;  // the desktop's: close once the script has run
    std::string parameter;
    std::string syslog_file;
    std::vector<std::string> plugins;
};

// Reads the options that follow the program's name; false on --help, on an
// option without its value, and on one the program does not take (told on
// standard error). takes_quit: the program knows --quit.
bool parse_run_options(const char* program, const std::vector<std::string>& args, bool takes_quit,
                       RunOptions& options);

// The script, parsed; false (with the reason on standard error) when it cannot be
// read or does not parse. FILE '-' is standard input.
bool load_script(const char* program, const std::string& file, std::vector<ScriptLine>& script);

// The transcript: the original standard output (the captured one holds what the
// plug-ins print) when file is empty, else the file; false (with the reason on
// standard error) when it cannot be opened.
bool open_transcript(const char* program, const std::string& file, const OutputCapture& capture,
                     std::FILE*& transcript);

// $TMPDIR/ughost-<uid>.syslog
std::string default_syslog_file();

// Passes what the plug-ins print to the front-end event by event, in the host's text.
void drain_output_to(HostControl& host, OutputCapture& capture, FrontEnd& front_end);

// Starts the plug-ins one after the other; 1 when one could not be loaded or
// lacks an entry, else 0.
int run_plugins(const std::vector<std::string>& plugins, const std::string& parameter);

}  // namespace ughost

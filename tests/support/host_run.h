// Runs the host program on a plug-in with a script, the way a user would start
// it, and gives back what the user saw (the transcript) and how it ended.
#pragma once

#include <map>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct HostRunOptions {
    std::string program = UGHOST_PROGRAM;       // the host program run
    std::vector<std::string> plugins;           // paths of the plug-ins, started in order
    std::string script;                          // the script text
    std::string parameter;                       // --param
    std::map<std::string, std::optional<std::string>> environment;  // set (or unset, with nullopt)
    long file_size_limit = -1;                   // bytes a process may write to a file; -1 unlimited
    bool transcript = true;
    std::optional<std::chrono::microseconds> kill_after;  // SIGKILL this long after the start, as a crash
};

struct HostRun {
    int exit_status = -1;
    std::string transcript;
    std::string errors;  // the host program's own standard error
    std::string syslog;  // the system log file
};

// Runs ughost, or, when the suite runs through the desktop front-end
// (UGHOST_FRONT_END=desktop), ughost-gui --script on Qt's offscreen platform:
// the same script, the same transcript expected.
HostRun run_host(const HostRunOptions& options);

// Whether the suite runs through the desktop front-end.
bool runs_through_desktop();
// The host program ughost's runs start: ughost, or ughost-gui when the suite runs through it.
std::string host_program();

// True when runs happen as an ordinary user, so that file permissions hold:
// the suite may run as root, and root reads and writes what it likes.
bool runs_unprivileged();

// A fresh directory the host runs may use, removed at the end of the test.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    // The directory as the data directory variable wants it: with its separator.
    std::string with_separator() const { return path_ + "/"; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    void copy_sample(const std::string& name) const;
    void copy_samples() const;
    // Makes a file or folder belong to the user the runs happen as.
    void hand_over(const std::string& path) const;

private:
    std::string path_;
};

// A run of a staged plug-in (e.g. "strakel") over a library folder.
HostRunOptions plugin_run(const std::string& plugin, const ScratchDirectory& library, const std::string& script);
// Such a run, which the test expects to end normally; io_faults plans failures
// of the library files' system calls ("read:2:EIO").
HostRun run_editor(const std::string& plugin, const ScratchDirectory& library, const std::string& script,
                   const std::string& io_faults = "");

std::string read_bytes(const std::string& path);
std::string sample_bytes(const std::string& name);

// Every line of expected appears in text, in this order (other lines may come between).
::testing::AssertionResult lines_in_order(const std::string& text, const std::vector<std::string>& expected);
// How often a line that starts with prefix appears in text.
int count_lines_starting(const std::string& text, const std::string& prefix);

// Everything written to the listing window during a run, as one text.
std::string listing_text(const std::string& transcript);

// The lines of a transcript after the first line equal to `from`, up to the next line equal to `to`.
std::string between(const std::string& transcript, const std::string& from, const std::string& to);

// The listing expected from a fixture, with its "/LIB/" standing for the library directory.
std::string expected_listing(const std::string& fixture, const ScratchDirectory& library);

#include <gtest/gtest.h>

#include "host_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <grp.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "host_text.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t unprivileged_user = 65534;  // nobody
constexpr gid_t unprivileged_group = 65534;

// Variables the host or the plug-ins read; a run starts with none of them but
// what the test gives.
const char* const host_variables[] = {
    "UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", "UGII_CAM_LIBRARY_TOOL_METRIC_DIR", "UGII_USER_DIR", "UGII_SITE_DIR",
    "UGII_VENDOR_DIR", "USER_UFUN", "UGII_INITIAL_UFUN_DIR", "UGII_TMP_DIR", "HOME", "XDG_STATE_HOME"};

bool everyone_can_reach(const fs::path& path) {
    for (fs::path p = fs::absolute(path); !p.empty(); p = p.parent_path()) {
        struct stat info {};
        if (stat(p.c_str(), &info) != 0) return false;
        const mode_t needed = S_ISDIR(info.st_mode) ? S_IXOTH : S_IROTH;
        if ((info.st_mode & needed) == 0) return false;
        if (p == p.parent_path()) break;
    }
    return true;
}

}  // namespace

HostRunOptions plugin_run(const std::string& plugin, const ScratchDirectory& library, const std::string& script) {
    HostRunOptions options;
    options.plugins = {std::string(APPLICATION_DIR) + "/" + plugin + ".so"};
    options.script = script;
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
    return options;
}

HostRun run_editor(const std::string& plugin, const ScratchDirectory& library, const std::string& script,
                   const std::string& io_faults) {
    HostRunOptions options = plugin_run(plugin, library, script);
    if (!io_faults.empty()) options.environment["LIBRARY_IO_FAULTS"] = io_faults;
    HostRun run = run_host(options);
    EXPECT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    return run;
}

bool runs_unprivileged() {
    if (geteuid() != 0) return true;
    // The scratch folders are made in the temporary folder, which TMPDIR may
    // name a private one.
    static const bool reachable = everyone_can_reach(UGHOST_PROGRAM) && everyone_can_reach(TEST_APPLICATION_DIR) &&
                                  everyone_can_reach(APPLICATION_DIR) && everyone_can_reach(fs::temp_directory_path());
    return reachable;
}

bool runs_through_desktop() {
    const char* front_end = std::getenv("UGHOST_FRONT_END");
    return front_end != nullptr && std::string(front_end) == "desktop";
}

std::string host_program() {
#ifdef DESKTOP_PROGRAM
    if (runs_through_desktop()) return DESKTOP_PROGRAM;
#endif
    return UGHOST_PROGRAM;
}

namespace {

// Whether the run goes through the desktop front-end: asked for, or ughost's runs
// while the suite runs through it.
bool desktop_run(const HostRunOptions& options) {
#ifdef DESKTOP_PROGRAM
    return options.program == DESKTOP_PROGRAM || (runs_through_desktop() && options.program == UGHOST_PROGRAM);
#else
    return false;
#endif
}

// Qt's own notes (no runtime folder, a platform without size hints) would reach
// the host's standard error, which the tests read as the host's findings.
void quiet_desktop() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_LOGGING_RULES", "default.warning=false", 1);
}

}  // namespace

HostRun run_host(const HostRunOptions& options) {
    ScratchDirectory work;
    work.write("script", options.script);
    const std::string errors_path = work.file("errors");

    // The transcript comes through a pipe: a limit on file sizes must not cut it.
    const bool desktop = desktop_run(options);
    std::vector<std::string> args = {options.program};
#ifdef DESKTOP_PROGRAM
    if (desktop) args = {DESKTOP_PROGRAM, "--quit"};
#endif
    args.insert(args.end(), {"--script", work.file("script"), "--syslog", work.file("syslog")});
    if (!options.transcript) args.push_back("--no-transcript");
    if (!options.parameter.empty()) args.insert(args.end(), {"--param", options.parameter});
    args.insert(args.end(), options.plugins.begin(), options.plugins.end());

    int transcript_pipe[2];
    if (pipe(transcript_pipe) != 0) throw std::runtime_error("cannot make a pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(transcript_pipe[0]);
        dup2(transcript_pipe[1], 1);
        for (const char* name : host_variables) unsetenv(name);
        if (desktop) quiet_desktop();
        for (const auto& [name, value] : options.environment) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        const int errors = open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(errors, 2);
        if (options.file_size_limit >= 0) {
            // As ulimit -f does: a write past the limit kills the process with SIGXFSZ unless it ignores that.
            const rlimit limit{static_cast<rlim_t>(options.file_size_limit), static_cast<rlim_t>(options.file_size_limit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (geteuid() == 0 && runs_unprivileged()) {
            if (setgroups(0, nullptr) != 0 || setgid(unprivileged_group) != 0 || setuid(unprivileged_user) != 0) _exit(126);
        }
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(transcript_pipe[1]);
    // Joined before the child is reaped, so the signal cannot reach a process that took its number.
    std::thread crash;
    if (options.kill_after) {
        crash = std::thread([child, delay = *options.kill_after] {
            std::this_thread::sleep_for(delay);
            kill(child, SIGKILL);
        });
    }
    HostRun run;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(transcript_pipe[0], buffer, sizeof buffer)) > 0) run.transcript.append(buffer, got);
    close(transcript_pipe[0]);
    if (crash.joinable()) crash.join();
    int status = 0;
    waitpid(child, &status, 0);
    run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.errors = read_bytes(errors_path);
    run.syslog = read_bytes(work.file("syslog"));
    return run;
}

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "cdl-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch directory");
    path_ = pattern;
    hand_over(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    // Folders a test made read-only must be writable again to be removed.
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
        if (entry.is_directory(ignored)) chmod(entry.path().c_str(), 0755);
    }
    chmod(path_.c_str(), 0755);
    fs::remove_all(path_, ignored);
}

void ScratchDirectory::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    hand_over(file(name));
}

std::string ScratchDirectory::read(const std::string& name) const { return read_bytes(file(name)); }

bool ScratchDirectory::exists(const std::string& name) const { return fs::exists(fs::symlink_status(file(name))); }

void ScratchDirectory::copy_sample(const std::string& name) const { write(name, sample_bytes(name)); }

void ScratchDirectory::copy_samples() const {
    for (const char* name : {"feeds_speeds.dat", "tool_materials.dat", "part_materials.dat", "cut_methods.dat",
                             "tool_database.dat"}) {
        copy_sample(name);
    }
}

void ScratchDirectory::hand_over(const std::string& path) const {
    if (geteuid() == 0 && runs_unprivileged()) {
        if (lchown(path.c_str(), unprivileged_user, unprivileged_group) != 0) {
            throw std::runtime_error("cannot hand over " + path);
        }
    }
}

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string sample_bytes(const std::string& name) { return read_bytes(std::string(SAMPLE_LIBRARY_DIR) + "/" + name); }

::testing::AssertionResult lines_in_order(const std::string& text, const std::vector<std::string>& expected) {
    std::istringstream in(text);
    std::string line;
    std::size_t next = 0;
    while (next < expected.size() && std::getline(in, line)) {
        if (line == expected[next]) ++next;
    }
    if (next == expected.size()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "line not found in order: " << expected[next] << "\n--- text:\n" << text;
}

int count_lines_starting(const std::string& text, const std::string& prefix) {
    std::istringstream in(text);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) ++count;
    }
    return count;
}

std::string listing_text(const std::string& transcript) {
    std::istringstream in(transcript);
    std::string line;
    std::string text;
    while (std::getline(in, line)) {
        if (line.rfind("listing \"", 0) == 0) text += ughost::unquote(line.substr(8)).value_or("<malformed>");
    }
    return text;
}

std::string between(const std::string& transcript, const std::string& from, const std::string& to) {
    const std::string text = "\n" + transcript;
    const std::size_t start = text.find("\n" + from + "\n");
    if (start == std::string::npos) return "<no line " + from + ">\n" + transcript;
    const std::size_t body = start + from.size() + 2;
    const std::size_t end = text.find("\n" + to + "\n", body - 1);
    if (end == std::string::npos) return "<no line " + to + ">\n" + transcript;
    return text.substr(body, end + 1 - body);
}

std::string expected_listing(const std::string& fixture, const ScratchDirectory& library) {
    std::string expected = read_bytes(std::string(FIXTURE_DIR) + "/" + fixture);
    for (std::size_t at = 0; (at = expected.find("/LIB/", at)) != std::string::npos;) {
        expected.replace(at, 5, library.with_separator());
    }
    return expected;
}

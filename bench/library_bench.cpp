// Times the editors on a large library, each step as whole processes of the
// host (headless, and the desktop front-end offscreen), interleaved with
// `wc -l` on the same feeds file so that the machine's drift cancels in the
// ratio. A step's time is its run's median less the median of the run it
// builds on (Delete is "open, Delete, Delete, leave" less "open, Delete, leave").
// Peak memory is the resident high-water mark of the step's process.
//
//   build/bench/library_bench [--rows 10000,100000,1000000] [--reps N] [--headless]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench_library.h"

namespace fs = std::filesystem;

namespace {

constexpr int auxiliary_rows = 1000;

struct Options {
    std::vector<int> rows = {100000};
    int reps = 5;
    bool gui = GUI_RUN_PROGRAM[0] != '\0';
};

struct Run {
    double seconds = 0;
    double peak_mib = 0;
    double disk_seconds = 0;  // of the run's, spent waiting on the disk (fsync and the like)
};

// One step: a child process, the step it builds on, and whether it writes the feeds file.
struct Step {
    std::string name;
    std::vector<std::string> argv;
    std::string base;  // empty: the whole run is the step
    bool writes = false;
    std::vector<Run> runs;
};

std::string plugin(const std::string& name) { return std::string(APPLICATION_DIR) + "/" + name + ".so"; }

// What the run's libraries reported of their waits on the disk, one line each.
double disk_seconds(const std::string& report) {
    double milliseconds = 0;
    std::ifstream lines(report);
    for (double library_total = 0; lines >> library_total;) milliseconds += library_total;
    fs::remove(report);
    return milliseconds / 1e3;
}

Run run_child(const std::vector<std::string>& argv, const std::string& library, const std::string& disk_report) {
    fs::remove(disk_report);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", (library + "/").c_str(), 1);
        setenv("LIBRARY_IO_DISK_WAITS", disk_report.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto stop = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "library_bench: %s failed (status %d)\n", argv[0].c_str(), status);
        std::exit(1);
    }
    return {std::chrono::duration<double>(stop - start).count(), static_cast<double>(usage.ru_maxrss) / 1024.0,
            disk_seconds(disk_report)};
}

// Puts the file on the disk and waits for it: a file written just before a run
// would still be going out while the run replaces it, and its replacement wait
// for that, which a file saved a while ago never makes anyone do.
void flush_file(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double median(const std::vector<Run>& runs, double (*of)(const Run&)) {
    std::vector<double> values;
    for (const Run& run : runs) values.push_back(of(run));
    return median(values);
}

double whole(const Run& run) { return run.seconds; }
double on_disk(const Run& run) { return run.disk_seconds; }
double less_disk(const Run& run) { return run.seconds - run.disk_seconds; }

double peak(const std::vector<Run>& runs) {
    double most = 0;
    for (const Run& run : runs) most = std::max(most, run.peak_mib);
    return most;
}

std::vector<std::string> headless(const std::string& folder, const std::string& editor, const std::string& script) {
    const std::string file = folder + "/" + editor + "-" + std::to_string(std::hash<std::string>()(script)) + ".script";
    if (std::FILE* out = std::fopen(file.c_str(), "w")) {
        std::fputs(script.c_str(), out);
        std::fclose(out);
    }
    return {UGHOST_PROGRAM, "--no-transcript", "--script", file, "--syslog", folder + "/syslog", plugin(editor)};
}

std::vector<std::string> desktop(const std::string& editor, const char* list, int rows, const char* what) {
    return {GUI_RUN_PROGRAM, plugin(editor), editor + ".dlg", list, std::to_string(rows), what};
}

std::vector<Step> steps_for(const std::string& folder, int rows, bool gui) {
    const std::string leave = "ok\nanswer yes\n";
    const std::string save = "press BLO_ACT 5\nanswer yes\n";
    const std::string delete_row = "press BLO_ACT 2\n";
    const std::string edit_row = "press BLO_ACT 0\npress BLO_ACTION 0\n";
    const std::string new_row = "press BLO_ACT 1\npress BLO_ACTION 0\n";
    std::vector<Step> steps = {
        {"open, headless", headless(folder, "ratomir", "ok\n"), "", false, {}},
        {"Load", headless(folder, "ratomir", "press BLO_ACT 4\nok\n"), "open, headless", false, {}},
        {"Save (fsync included)", headless(folder, "ratomir", save + "ok\n"), "open, headless", true, {}},
        // A save within two seconds of the file's last change reads the file
        // again to compare, since a file system's times may be that coarse.
        {"Save again at once", headless(folder, "ratomir", save + save + "ok\n"), "Save (fsync included)", true, {}},
        // A change makes leaving check every row for unsaved changes, which
        // the plain open's leaving skips: each command's own time is its second
        // run less its first, and its first run with that check is shown too.
        {"Delete, then leave", headless(folder, "ratomir", delete_row + leave), "open, headless", false, {}},
        {"Delete", headless(folder, "ratomir", delete_row + delete_row + leave), "Delete, then leave", false, {}},
        {"Edit+Apply, then leave", headless(folder, "ratomir", edit_row + "ok\n"), "open, headless", false, {}},
        {"Edit+Apply", headless(folder, "ratomir", edit_row + edit_row + "ok\n"), "Edit+Apply, then leave", false,
         {}},
        {"New+Apply, then leave", headless(folder, "ratomir", new_row + leave), "open, headless", false, {}},
        {"New+Apply", headless(folder, "ratomir", new_row + new_row + leave), "New+Apply, then leave", false, {}},
        {"List", headless(folder, "ratomir", "press BLO_ACT 3\nok\n"), "open, headless", false, {}},
    };
    if (gui) {
        steps.push_back({"open, desktop", desktop("ratomir", "LIST", rows, "open"), "", false, {}});
        steps.push_back({"Delete, desktop", desktop("ratomir", "LIST", rows, "delete"), "open, desktop", false, {}});
        steps.push_back({"Filter typed, desktop", desktop("ratomir", "LIST", rows, "filter"), "open, desktop", false, {}});
        steps.push_back({"Delete filtered, desktop", desktop("ratomir", "LIST", rows, "filter-delete"),
                         "Filter typed, desktop", false, {}});
        steps.push_back({"blankora open, desktop", desktop("blankora", "LIST", rows, "open"), "", false, {}});
        steps.push_back({"strakel open, desktop", desktop("strakel", "LIST_CUTS", rows, "open"), "", false, {}});
        steps.push_back(
            {"gradivo open, desktop", desktop("gradivo", "LIST_TOOL_MATERIAL", rows, "open"), "", false, {}});
    }
    return steps;
}

bool uses_large_auxiliary_tables(const Step& step) {
    return step.argv.size() > 1 && step.argv[1].find("ratomir") == std::string::npos && step.argv[0] == GUI_RUN_PROGRAM;
}

void measure(int rows, const Options& options) {
    char pattern[] = "/tmp/library-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    // ratomir's library: many feeds rows, a shop's worth of the rest; the other
    // editors' library: their own tables as large as the feeds table.
    const std::string feeds_library = folder + "/feeds";
    const std::string auxiliary_library = folder + "/auxiliary";
    fs::create_directories(feeds_library);
    fs::create_directories(auxiliary_library);
    write_bench_library(feeds_library, rows, auxiliary_rows);
    write_bench_library(auxiliary_library, 1, rows);
    const std::string feeds_file = feeds_library + "/feeds_speeds.dat";
    // The library as a technologist opens it: last saved a while ago. A file
    // changed within two seconds of its load is read again before a save.
    const std::string original = folder + "/feeds_speeds.original";
    fs::copy_file(feeds_file, original);
    const auto saved_a_while_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(feeds_file, saved_a_while_ago);
    flush_file(feeds_file);

    std::vector<Step> steps = steps_for(folder, rows, options.gui);
    std::vector<Run> wc;
    const std::vector<std::string> count_lines = {WC_PROGRAM, "-l", feeds_file};
    const std::string disk_report = folder + "/disk-waits";
    for (int rep = 0; rep < options.reps; ++rep) {
        for (Step& step : steps) {
            wc.push_back(run_child(count_lines, feeds_library, disk_report));
            const std::string& library = uses_large_auxiliary_tables(step) ? auxiliary_library : feeds_library;
            step.runs.push_back(run_child(step.argv, library, disk_report));
            if (step.writes) {
                fs::copy_file(original, feeds_file, fs::copy_options::overwrite_existing);
                fs::last_write_time(feeds_file, saved_a_while_ago);
                flush_file(feeds_file);
            }
        }
    }

    // A step's time less its base's, each a median: of the whole runs, of
    // their waits on the disk, and of the runs less those waits.
    const auto step_median = [&](const Step& step, double (*of)(const Run&)) {
        double base = 0;
        for (const Step& other : steps) {
            if (other.name == step.base) base = median(other.runs, of);
        }
        return median(step.runs, of) - base;
    };
    const double wc_median = median(wc, whole);
    std::printf("\n%d feeds rows (%.1f MB), %d rows in each other table (%d in the desktop runs of blankora, "
                "strakel and gradivo); median of %d runs\n",
                rows, static_cast<double>(fs::file_size(original)) / 1e6, auxiliary_rows,
                rows, options.reps);
    std::printf("| %-24s | %10s | %10s | %10s | %16s | %12s |\n", "step", "time ms", "× wc -l", "disk ms",
                "less disk × wc -l", "peak MiB");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(26, '-').c_str(), std::string(12, '-').c_str(),
                std::string(12, '-').c_str(), std::string(12, '-').c_str(), std::string(18, '-').c_str(),
                std::string(14, '-').c_str());
    std::printf("| %-24s | %10.1f | %10s | %10s | %16s | %12.1f |\n", "wc -l", wc_median * 1e3, "1", "", "",
                peak(wc));
    for (const Step& step : steps) {
        const double seconds = step_median(step, whole);
        std::printf("| %-24s | %10.1f | %10.1f | %10.1f | %16.1f | %12.1f |\n", step.name.c_str(), seconds * 1e3,
                    seconds / wc_median, step_median(step, on_disk) * 1e3, step_median(step, less_disk) / wc_median,
                    peak(step.runs));
    }
    fs::remove_all(folder);
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rows" && i + 1 < argc) {
            options.rows.clear();
            for (std::string list = argv[++i]; !list.empty();) {
                const std::size_t comma = list.find(',');
                options.rows.push_back(std::atoi(list.substr(0, comma).c_str()));
                list = comma == std::string::npos ? "" : list.substr(comma + 1);
            }
        } else if (arg == "--reps" && i + 1 < argc) {
            options.reps = std::atoi(argv[++i]);
        } else if (arg == "--headless") {
            options.gui = false;
        } else {
            return false;
        }
    }
    return options.reps > 0 && std::all_of(options.rows.begin(), options.rows.end(), [](int n) { return n > 1; });
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs("usage: library_bench [--rows 10000,100000,1000000] [--reps N] [--headless]\n", stderr);
        return 2;
    }
    for (const int rows : options.rows) measure(rows, options);
    return 0;
}

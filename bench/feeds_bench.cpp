// Times ratomir on a large library through the scripted host, transcript off:
// opening the dialog (four tables loaded, list and pick lists filled), then
// Delete of row 0, then Save. Each benchmark is one whole host run; the cost of
// Delete and Save is the difference between runs. Peak memory is the host
// process's maximum resident set.
//
//   build/bench/feeds_bench [--benchmark_repetitions=5]
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int feeds_rows = 100000;
constexpr int auxiliary_rows = 1000;

std::string library_dir;

void write_lines(const std::string& name, int rows, std::string (*line)(int)) {
    std::ofstream out(library_dir + "/" + name, std::ios::binary);
    for (int i = 0; i < rows; ++i) out << line(i) << "\r\n";
}

std::string feeds_line(int i) {
    char text[200];
    std::snprintf(text, sizeof text, "DATA|FSDO_%06d|OPD0_%04d|MAT0_%04d|TMC0_%04d|0.098|%d.500|%s|%s|98.425|%d.000|0.004|0.1%02d",
                  i, i % auxiliary_rows, (i * 7) % auxiliary_rows, (i * 13) % auxiliary_rows, i % 9,
                  i % 5 ? "" : "1.00", i % 5 ? "" : "2.00", 20 + i % 300, i % 100);
    return text;
}

std::string cut_line(int i) {
    return "DATA|OPD0_" + std::to_string(1000 + i).substr(1) + "|MILL|Фрезерование " + std::to_string(i) +
           "|Черновая обработка уступа";
}
std::string part_line(int i) {
    return "DATA|ST" + std::to_string(i) + "|Сталь " + std::to_string(i) + "|Сталь конструкционная|HB 200|MAT0_" +
           std::to_string(1000 + i).substr(1);
}
std::string tool_line(int i) {
    return "DATA|TMC0_" + std::to_string(1000 + i).substr(1) + "|Т15К6-" + std::to_string(i) + "|Твердый сплав";
}

void make_library() {
    char pattern[] = "/tmp/feeds-bench-XXXXXX";
    library_dir = mkdtemp(pattern);
    write_lines("feeds_speeds.dat", feeds_rows, feeds_line);
    write_lines("cut_methods.dat", auxiliary_rows, cut_line);
    write_lines("part_materials.dat", auxiliary_rows, part_line);
    write_lines("tool_materials.dat", auxiliary_rows, tool_line);
    fs::copy_file(library_dir + "/feeds_speeds.dat", library_dir + "/feeds_speeds.original");
}

// One host run with the given script; returns seconds and the peak memory in MiB.
double run_host(const std::string& script, double& peak_mib) {
    fs::copy_file(library_dir + "/feeds_speeds.original", library_dir + "/feeds_speeds.dat",
                  fs::copy_options::overwrite_existing);
    const std::string script_file = library_dir + "/script";
    std::ofstream(script_file) << script;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", (library_dir + "/").c_str(), 1);
        execl(UGHOST_PROGRAM, UGHOST_PROGRAM, "--no-transcript", "--script", script_file.c_str(), "--syslog",
              (library_dir + "/syslog").c_str(), RATOMIR_PLUGIN, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto stop = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the host run failed: status %d\n", status);
        std::exit(1);
    }
    peak_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return std::chrono::duration<double>(stop - start).count();
}

void bench_script(benchmark::State& state, const std::string& script) {
    double peak = 0;
    for (auto _ : state) state.SetIterationTime(run_host(script, peak));
    state.counters["peak_MiB"] = peak;
}

void Open(benchmark::State& state) { bench_script(state, "ok\n"); }
void OpenDelete(benchmark::State& state) { bench_script(state, "press BLO_ACT 2\nok\n"); }
void OpenDeleteSave(benchmark::State& state) { bench_script(state, "press BLO_ACT 2\npress BLO_ACT 5\nanswer yes\nok\n"); }

// For scale: the time to merely count the lines of the same file.
void WcLines(benchmark::State& state) {
    const std::string command = "wc -l " + library_dir + "/feeds_speeds.original >/dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError("wc failed");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

BENCHMARK(WcLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Open)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(OpenDelete)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(OpenDeleteSave)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    make_library();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("library: %s (%d feeds rows, %d rows in each other table)\n", library_dir.c_str(), feeds_rows,
                auxiliary_rows);
    fs::remove_all(library_dir);
    return 0;
}

// The installed system. `cmake --install` and the Debian package give a tree
// that runs from wherever it is copied: the same demo session as from the build
// folder, the desktop host on Qt's offscreen platform, nothing taken from the build.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "host_run.h"

namespace fs = std::filesystem;

namespace {

const std::string share_dir = "share/cutting-data-library";
const char* const plugins[] = {"blankora", "gradivo", "korvane", "ratomir", "strakel"};

struct Command {
    int status = -1;
    std::string output;  // standard output and standard error
};

Command run_command(const std::string& command) {
    Command result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The tree installed from the build, then copied into `to` and the installed
// original removed, as when an administrator moves it.
void install_moved(const ScratchDirectory& scratch, const fs::path& to) {
    const fs::path prefix = fs::path(scratch.path()) / "prefix";
    const Command install = run_command(std::string(CMAKE_COMMAND) + " --install '" BUILD_DIR "' --prefix '" +
                                        prefix.string() + "'");
    ASSERT_EQ(install.status, 0) << install.output;
    fs::copy(prefix, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    fs::remove_all(prefix);
}

// Replaces every occurrence of from in text by to.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

struct DemoRun {
    HostRun run;
    std::string transcript;  // with the tree and the library folder written as TREE and LIBRARY
    std::string saved_feeds;
};

// Plays the demo session as run.sh --headless does: the launcher of tree finds
// the editors through UGII_USER_DIR, on a writable copy of the sample library.
DemoRun run_demo(const fs::path& host, const fs::path& tree, const fs::path& samples, const fs::path& script) {
    ScratchDirectory library;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() == ".dat") library.write(entry.path().filename().string(), read_bytes(entry.path().string()));
    }
    HostRunOptions options;
    options.program = host;
    options.plugins = {(tree / "application/korvane.so").string()};
    options.script = read_bytes(script);
    options.environment = {{"UGII_USER_DIR", tree.string()},
                           {"UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", library.with_separator()},
                           {"UGII_CAM_LIBRARY_TOOL_METRIC_DIR", library.with_separator()}};
    DemoRun demo;
    demo.run = run_host(options);
    demo.transcript = replaced(replaced(demo.run.transcript, tree.string(), "TREE"), library.path(), "LIBRARY");
    demo.saved_feeds = library.read("feeds_speeds.dat");
    return demo;
}

DemoRun run_installed_demo(const fs::path& tree) {
    return run_demo(tree / "bin/ughost", tree, tree / share_dir / "library", tree / share_dir / "demo/launcher.script");
}

// What the demo session does from the build folder, which the installed tree must repeat.
const DemoRun& staged_demo() {
    static const DemoRun demo = run_demo(UGHOST_PROGRAM, STAGE_DIR, SAMPLE_LIBRARY_DIR,
                                         fs::path(SAMPLE_LIBRARY_DIR) / "../demo/launcher.script");
    return demo;
}

void expect_same_as_staged_demo(const DemoRun& demo) {
    ASSERT_EQ(staged_demo().run.exit_status, 0) << staged_demo().run.errors;
    EXPECT_EQ(demo.run.exit_status, 0) << demo.run.errors;
    EXPECT_EQ(demo.transcript, staged_demo().transcript);
    EXPECT_EQ(demo.saved_feeds, staged_demo().saved_feeds);
    EXPECT_NE(demo.saved_feeds, sample_bytes("feeds_speeds.dat")) << "the demo session saves a changed feed";
}

// The run path the dynamic linker follows from an ELF file ("" when it has none).
std::string run_path(const fs::path& file) {
    const Command dynamic = run_command("readelf -d '" + file.string() + "'");
    const std::string marker = "Library runpath: [";
    const std::size_t at = dynamic.output.find(marker);
    if (at == std::string::npos) return "";
    const std::size_t begin = at + marker.size();
    return dynamic.output.substr(begin, dynamic.output.find(']', begin) - begin);
}

std::vector<fs::path> elf_files(const fs::path& tree) {
    std::vector<fs::path> files = {tree / "bin/ughost"};
    if (DESKTOP_HOST) files.push_back(tree / "bin/ughost-gui");
    for (const char* plugin : plugins) files.push_back(tree / "application" / (std::string(plugin) + ".so"));
    return files;
}

// ---- 1. The tree cmake --install puts under a prefix ----

TEST(InstalledTree, HoldsTheSystemWithRunPathsRelativeToItself) {
    ScratchDirectory scratch;
    const fs::path tree = fs::path(scratch.path()) / "moved";
    install_moved(scratch, tree);

    EXPECT_TRUE(fs::is_regular_file(tree / "lib/libugopen.so"));
    for (const fs::path& file : elf_files(tree)) EXPECT_EQ(run_path(file), "$ORIGIN/../lib") << file;
    for (const char* name : {"ratomir.dlg", "blankora.dlg", "strakel.dlg", "strakeledit.dlg", "gradivo.dlg",
                             "gradivoedit.dlg", "korvane.bmp"}) {
        EXPECT_TRUE(fs::is_regular_file(tree / "application" / name)) << name;
    }
    for (const char* name : {"feeds_speeds.dat", "tool_materials.dat", "part_materials.dat", "cut_methods.dat",
                             "tool_database.dat"}) {
        EXPECT_EQ(read_bytes(tree / share_dir / "library" / name), sample_bytes(name)) << name;
    }
    EXPECT_TRUE(fs::is_regular_file(tree / "share/doc/cutting-data-library/README.md"));
    EXPECT_TRUE(fs::is_regular_file(tree / "share/doc/cutting-data-library/host/README.md"));
    // The linker finds the host's library in the copy, not in the build folder.
    const Command libraries = run_command("ldd '" + (tree / "bin/ughost").string() + "'");
    EXPECT_NE(libraries.output.find("libugopen.so => " + (tree / "bin/../lib/libugopen.so").string()), std::string::npos)
        << libraries.output;
}

TEST(InstalledTree, MovedElsewhereRunsTheDemoSession) {
    ScratchDirectory scratch;
    const fs::path tree = fs::path(scratch.path()) / "moved";
    install_moved(scratch, tree);
    expect_same_as_staged_demo(run_installed_demo(tree));
}

// Nothing outside the tree stands in for its own library: without it, the host does not start.
TEST(InstalledTree, WithoutItsLibraryDoesNotStart) {
    ScratchDirectory scratch;
    const fs::path tree = fs::path(scratch.path()) / "moved";
    install_moved(scratch, tree);
    fs::remove(tree / "lib/libugopen.so");
    const DemoRun demo = run_installed_demo(tree);
    EXPECT_EQ(demo.run.exit_status, 127);
    EXPECT_NE(demo.run.errors.find("libugopen.so"), std::string::npos) << demo.run.errors;
}

// The desktop host opens on the offscreen platform and starts the launcher from
// the copy; the launcher then waits in its menu for a user, so the test ends it.
TEST(InstalledTree, DesktopHostOpensOffscreenAndStartsTheLauncher) {
    if (!DESKTOP_HOST) {
        GTEST_SKIP() << "built without the desktop front-end";
    }
    ScratchDirectory scratch;
    const fs::path tree = fs::path(scratch.path()) / "moved";
    install_moved(scratch, tree);
    scratch.copy_samples();

    const pid_t child = fork();
    if (child == 0) {
        const int errors = open(scratch.file("errors").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(errors, 1);
        dup2(errors, 2);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("UGII_USER_DIR", tree.c_str(), 1);
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", scratch.with_separator().c_str(), 1);
        setenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", scratch.with_separator().c_str(), 1);
        const std::string program = (tree / "bin/ughost-gui").string();
        const std::string syslog = scratch.file("syslog");
        const std::string launcher = (tree / "application/korvane.so").string();
        execl(program.c_str(), program.c_str(), "--syslog", syslog.c_str(), launcher.c_str(), nullptr);
        _exit(127);
    }
    const std::string maps = "/proc/" + std::to_string(child) + "/maps";
    std::string mapped;
    int status = 0;
    for (int tries = 0; tries < 200 && waitpid(child, &status, WNOHANG) == 0; ++tries) {
        mapped = read_bytes(maps);
        if (mapped.find((tree / "application/korvane.so").string()) != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const bool running = waitpid(child, &status, WNOHANG) == 0;
    if (running) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ASSERT_TRUE(running) << "ughost-gui ended with status " << status << ": " << scratch.read("errors");
    EXPECT_NE(mapped.find((tree / "lib/libugopen.so").string()), std::string::npos) << mapped;
    EXPECT_NE(mapped.find((tree / "application/korvane.so").string()), std::string::npos) << mapped;
    EXPECT_NE(mapped.find("libQt6Widgets"), std::string::npos) << mapped;
}

// ---- 2. The Debian package ----

TEST(DebianPackage, UnpackedRunsTheDemoSession) {
    ScratchDirectory scratch;
    const std::string out = scratch.file("out");
    const Command package =
        run_command(std::string(CPACK_COMMAND) + " --config '" BUILD_DIR "/CPackConfig.cmake' -B '" + out + "'");
    ASSERT_EQ(package.status, 0) << package.output;
    std::vector<fs::path> packages;
    for (const auto& entry : fs::directory_iterator(out)) {
        if (entry.path().extension() == ".deb") packages.push_back(entry.path());
    }
    ASSERT_EQ(packages.size(), 1u) << package.output;
    EXPECT_EQ(packages[0].filename().string().rfind("cutting-data-library_" PROJECT_VERSION "_", 0), 0u)
        << packages[0];

    const Command fields = run_command("dpkg-deb -f '" + packages[0].string() + "' Package Version Depends");
    ASSERT_EQ(fields.status, 0) << fields.output;
    EXPECT_NE(fields.output.find("Package: cutting-data-library\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("Version: " PROJECT_VERSION "\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("libc6"), std::string::npos) << fields.output;
    if (DESKTOP_HOST) {
        EXPECT_NE(fields.output.find("libqt6widgets6"), std::string::npos) << fields.output;
    }

    const fs::path root = fs::path(scratch.path()) / "root";
    const Command unpack = run_command("dpkg-deb -x '" + packages[0].string() + "' '" + root.string() + "'");
    ASSERT_EQ(unpack.status, 0) << unpack.output;
    const fs::path tree = root / "opt/cutting-data-library";
    for (const fs::path& file : elf_files(tree)) EXPECT_EQ(run_path(file), "$ORIGIN/../lib") << file;
    expect_same_as_staged_demo(run_installed_demo(tree));
}

}  // namespace

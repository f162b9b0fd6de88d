// Saves that must not lose the library file, through the real host: shared
// folders, planted links, failed and killed saves, and the repair of a file an
// interrupted save left damaged.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <vector>

#include "store_session.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t other_user = 1;  // daemon: neither the saver nor root
constexpr int killed = 128 + SIGKILL;

const std::string table_file = "part_materials.dat";
const std::string rows = "DATA|45|Steel|desc|HB 200|MAT0_0001\nDATA|12X18H10T|Stainless|desc|HB 180|MAT0_0002\n";

std::string header_of(const std::string& file) {
    const std::string bytes = sample_bytes(file);
    return bytes.substr(0, bytes.find("DATA|"));
}

// A file the writer would put differently, so that a save changes every byte count.
const std::string old_content = rows;
const std::string new_content = header_of(table_file) + crlf(rows);

bool privileged_runs() { return geteuid() == 0 && runs_unprivileged(); }

// The library folder and the user's state folder, where in-place saves keep
// their journal.
struct SavedLibrary {
    ScratchDirectory library;
    ScratchDirectory state;

    SavedLibrary() { library.write(table_file, old_content); }

    HostRunOptions run(const std::string& script, const std::string& faults = "") const {
        HostRunOptions options = storekeeper_run("blankora", library, script);
        options.environment["XDG_STATE_HOME"] = state.path();
        if (!faults.empty()) options.environment["LIBRARY_IO_FAULTS"] = faults;
        return options;
    }

    // A second name for the file, which only an in-place save keeps in step.
    void add_hard_link() const { fs::create_hard_link(library.file(table_file), library.file("second_name.dat")); }

    std::string content() const { return library.read(table_file); }
};

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) names.insert(fs::relative(entry.path(), folder).string());
    }
    return names;
}

::testing::AssertionResult nothing_stray(const SavedLibrary& setup, std::set<std::string> expected = {table_file}) {
    if (names_in(setup.library.path()) != expected) {
        std::string found;
        for (const std::string& name : names_in(setup.library.path())) found += " " + name;
        return ::testing::AssertionFailure() << "library folder holds:" << found;
    }
    if (!names_in(setup.state.path()).empty()) {
        return ::testing::AssertionFailure() << "state folder holds " << *names_in(setup.state.path()).begin();
    }
    return ::testing::AssertionSuccess();
}

const std::string repair_question =
    "box question owner=blankora.dlg caption=\"Загрузка Базы\" text=\" Файл part_materials.dat поврежден: его "
    "сохранение было прервано.\\n Восстановить содержимое, которое было до сохранения?\" buttons=yes/NO";

// What a failed save must look like to the user and on disk.
void expect_refused(const SavedLibrary& setup, const HostRun& run, std::set<std::string> files = {table_file}) {
    EXPECT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> answer yes", cannot_save_box("blankora"), "> ok"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box information"), 0) << run.transcript;
    EXPECT_EQ(setup.content(), old_content);
    EXPECT_TRUE(nothing_stray(setup, files));
}

void expect_saved(const SavedLibrary& setup, const HostRun& run, std::set<std::string> files = {table_file}) {
    EXPECT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> answer yes", saved_box("blankora", 2), "> ok"}));
    EXPECT_EQ(setup.content(), new_content);
    EXPECT_TRUE(nothing_stray(setup, files));
}

struct stat status_of(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status;
}

// 1. Shared folders: the file keeps its owner, group, mode and other names.

TEST(SharedFolder, AGroupMembersSaveKeepsTheOwnerAndTheGroup) {
    if (!privileged_runs()) GTEST_SKIP() << "needs root to hand the file to another owner";
    SavedLibrary setup;
    const std::string file = setup.library.file(table_file);
    ASSERT_EQ(chown(file.c_str(), other_user, 65534), 0);  // the saver's group
    ASSERT_EQ(chmod(file.c_str(), 0664), 0);
    expect_saved(setup, run_host(setup.run(save_and_close)));
    const struct stat after = status_of(file);
    EXPECT_EQ(after.st_uid, other_user);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
}

TEST(SharedFolder, AnotherUsersWritableFileInAStickyFolderIsSaved) {
    if (!privileged_runs()) GTEST_SKIP() << "needs root to make a folder of another owner";
    SavedLibrary setup;
    const std::string file = setup.library.file(table_file);
    ASSERT_EQ(chown(setup.library.path().c_str(), 0, 0), 0);
    ASSERT_EQ(chmod(setup.library.path().c_str(), 01777), 0);
    ASSERT_EQ(chown(file.c_str(), other_user, other_user), 0);
    ASSERT_EQ(chmod(file.c_str(), 0666), 0);
    expect_saved(setup, run_host(setup.run(save_and_close)));
    EXPECT_EQ(status_of(file).st_uid, other_user);
}

TEST(SharedFolder, TheFilesOtherNameSeesTheNewContent) {
    SavedLibrary setup;
    setup.add_hard_link();
    expect_saved(setup, run_host(setup.run(save_and_close)), {table_file, "second_name.dat"});
    EXPECT_EQ(setup.library.read("second_name.dat"), new_content);
    EXPECT_EQ(status_of(setup.library.file(table_file)).st_nlink, 2u);
}

TEST(SharedFolder, ABarredRenameRewritesTheFileInPlace) {
    SavedLibrary setup;
    expect_saved(setup, run_host(setup.run(save_and_close, "rename:1:EPERM")));
}

TEST(SharedFolder, WithoutAStateFolderAnInPlaceSaveIsRefused) {
    SavedLibrary setup;
    setup.add_hard_link();
    HostRunOptions options = setup.run(save_and_close);
    options.environment.erase("XDG_STATE_HOME");
    const HostRun run = run_host(options);
    expect_refused(setup, run, {table_file, "second_name.dat"});
    EXPECT_NE(run.syslog.find("no state folder"), std::string::npos) << run.syslog;
}

// 2. A link another user planted in a sticky shared folder is not followed.
TEST(PlantedLink, AnotherUsersLinkToAPrivateFileIsNotFollowed) {
    if (!privileged_runs()) GTEST_SKIP() << "needs root to plant a link as another user";
    SavedLibrary setup;
    ScratchDirectory shared;
    ASSERT_EQ(chown(shared.path().c_str(), 0, 0), 0);
    ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
    const std::string secret = "the victim's own notes\n";
    setup.library.write("private.txt", secret);
    chmod(setup.library.file("private.txt").c_str(), 0600);
    fs::create_symlink(setup.library.file("private.txt"), shared.file(table_file));
    ASSERT_EQ(lchown(shared.file(table_file).c_str(), other_user, other_user), 0);
    // The victim adds a row and saves: whether the file is refused at the start
    // or at the save, the private file must not become the library.
    HostRunOptions options = setup.run("press BLO_ACT 1\ntype MATCODE 12X18H10T\npress BLO_ACTION 0\n" +
                                       save_and_close);
    options.plugins = {std::string(APPLICATION_DIR) + "/blankora.so"};
    options.parameter.clear();
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = shared.with_separator();
    const HostRun run = run_host(options);
    EXPECT_EQ(count_lines_starting(run.transcript, "box information"), 0) << run.transcript;
    EXPECT_EQ(setup.library.read("private.txt"), secret);
}

// 3. Each failure of a save, planted through the file seam: the old file stays,
// the user is told, nothing is left behind.

struct Fault {
    const char* name;
    const char* faults;
    bool in_place;
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

class FailedSave : public ::testing::TestWithParam<Fault> {};

TEST_P(FailedSave, KeepsTheOldFileAndSaysSo) {
    SavedLibrary setup;
    std::set<std::string> files = {table_file};
    if (GetParam().in_place) {
        setup.add_hard_link();
        files.insert("second_name.dat");
    }
    const HostRun run = run_host(setup.run(save_and_close, GetParam().faults));
    expect_refused(setup, run, files);
    EXPECT_FALSE(run.syslog.empty());
    if (GetParam().in_place) {
        EXPECT_EQ(setup.library.read("second_name.dat"), old_content);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCall, FailedSave,
    ::testing::Values(Fault{"write", "write:1:ENOSPC", false}, Fault{"flush", "fsync:1:EIO", false},
                      Fault{"rename", "rename:1:EIO", false}, Fault{"journal_write", "write:1:ENOSPC", true},
                      Fault{"journal_copy", "write:2:EDQUOT", true}, Fault{"journal_flush", "fsync:1:EIO", true},
                      Fault{"journal_rename", "rename:1:EIO", true}, Fault{"in_place_write", "write:3:EIO", true},
                      Fault{"in_place_truncate", "ftruncate:1:EIO", true},
                      Fault{"in_place_flush", "fsync:3:EIO", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FailedSave, AFailedOwnerChangeRewritesInPlace) {
    SavedLibrary setup;
    expect_saved(setup, run_host(setup.run(save_and_close, "fchown:1:EPERM")));
}

// ulimit -f: the write fails instead of the process dying.
TEST(FailedSave, TheFileSizeLimitRefusesTheSave) {
    for (const bool in_place : {false, true}) {
        SCOPED_TRACE(in_place ? "in place" : "by rename");
        SavedLibrary setup;
        std::set<std::string> files = {table_file};
        if (in_place) {
            setup.add_hard_link();
            files.insert("second_name.dat");
        }
        HostRunOptions options = setup.run(save_and_close);
        options.file_size_limit = 200;  // the header alone is longer
        const HostRun run = run_host(options);
        expect_refused(setup, run, files);
        EXPECT_NE(run.syslog.find(strerror(EFBIG)), std::string::npos) << run.syslog;
    }
}

// 4. Killed saves: the file holds its old or its new content whole, or the next
// load offers the old content back; the next save leaves nothing stray.

// After a save was killed: the file is whole, or is made whole by the repair.
void expect_recoverable(const SavedLibrary& setup, const std::string& old_bytes, const std::string& new_bytes) {
    const std::string after = setup.content();
    if (after == old_bytes || after == new_bytes) return;
    const HostRun load = run_host(setup.run("answer yes\nok\n"));
    ASSERT_EQ(load.exit_status, 0) << load.errors << load.transcript;
    EXPECT_EQ(count_lines_starting(load.transcript, "box question owner=blankora.dlg caption=\"Загрузка Базы\""), 1)
        << load.transcript;
    EXPECT_EQ(setup.content(), old_bytes);
}

TEST(KilledSave, AtEveryWriteFlushRenameAndTruncate) {
    for (const bool in_place : {false, true}) {
        for (const char* call : {"write", "fsync", "rename", "ftruncate", "fchown"}) {
            for (int nth = 1;; ++nth) {
                SCOPED_TRACE(std::string(in_place ? "in place, " : "by rename, ") + call + " " + std::to_string(nth));
                ASSERT_LT(nth, 10) << "the save never finished";
                SavedLibrary setup;
                std::set<std::string> files = {table_file};
                if (in_place) {
                    setup.add_hard_link();
                    files.insert("second_name.dat");
                }
                const HostRun run =
                    run_host(setup.run(save_and_close, std::string(call) + ":" + std::to_string(nth) + ":KILL"));
                expect_recoverable(setup, old_content, new_content);
                expect_saved(setup, run_host(setup.run(save_and_close)), files);
                if (run.exit_status != killed) break;
            }
        }
    }
}

TEST(KilledSave, LeftoversOfOtherRunningSavesAreKept) {
    SavedLibrary setup;
    const HostRun killed_run = run_host(setup.run(save_and_close, "rename:1:KILL"));
    ASSERT_EQ(killed_run.exit_status, killed);
    ASSERT_EQ(names_in(setup.library.path()).size(), 2u) << "the killed save left no file";
    // pid 1 runs for as long as the machine does: its save could still be under way.
    setup.library.write("." + table_file + ".saving-1", "another save's new file");
    expect_saved(setup, run_host(setup.run(save_and_close)), {table_file, "." + table_file + ".saving-1"});
}

// A library of 100,000 rows (about 9 MB), killed at random moments of its save
// on both paths; the moments are spread from the end of the load to the end
// of the save.
class LargeLibrary {
public:
    LargeLibrary() {
        library_.copy_samples();
        for (int row = 0; row < 100000; ++row) {
            old_ += "DATA|FSDO_" + std::to_string(row) + "|OPD0_0001|MAT0_0001|TMC0_0001|0.1|2.54|||328|" +
                    std::to_string(row % 900 + 100) + "|0.004|0.1\n";
        }
    }

    HostRunOptions run(const std::string& script) const {
        HostRunOptions options = storekeeper_run("ratomir", library_, script);
        options.environment["XDG_STATE_HOME"] = state_.path();
        options.transcript = false;
        return options;
    }

    void reset(bool in_place) const {
        std::error_code ignored;
        fs::remove(library_.file("second_name.dat"), ignored);
        library_.write("feeds_speeds.dat", old_);
        if (in_place) fs::create_hard_link(library_.file("feeds_speeds.dat"), library_.file("second_name.dat"));
    }

    // The median of a few runs: on a busy machine one slow run would draw the
    // moments past the end of a save that takes only a few hundredths of a second.
    std::chrono::microseconds timed(const HostRunOptions& options) const {
        std::vector<std::chrono::microseconds> times;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const HostRun result = run_host(options);
            EXPECT_EQ(result.exit_status, 0) << result.errors;
            times.push_back(
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
        }
        std::nth_element(times.begin(), times.begin() + 2, times.end());
        return times[2];
    }

    const ScratchDirectory& library() const { return library_; }
    const ScratchDirectory& state() const { return state_; }
    const std::string& old_content() const { return old_; }

private:
    ScratchDirectory library_;
    ScratchDirectory state_;
    std::string old_;
};

TEST(KilledSave, AtRandomMomentsOfALargeSave) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers make a save of this size some ten times slower.
    constexpr int saves_per_path = 10;
#else
    constexpr int saves_per_path = 50;
#endif
    LargeLibrary large;
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (const bool in_place : {false, true}) {
        SCOPED_TRACE(in_place ? "in place" : "by rename");
        large.reset(in_place);
        const auto load_only = large.timed(large.run("ok\n"));
        const auto whole_save = large.timed(large.run(save_and_close));
        const std::string new_bytes = large.library().read("feeds_speeds.dat");
        ASSERT_NE(new_bytes, large.old_content());
        // One slow run on a busy machine can time the load alone above the save;
        // bounds out of order would draw moments of any length.
        const long earliest = std::min(load_only, whole_save).count();
        long latest = std::max(load_only, whole_save).count();
        int killed_runs = 0;
        // A run the machine's drift lets finish before its moment kills nothing:
        // then more are drawn, up to twice as many, and no later moment than
        // that run's end, so a busy machine cannot leave the kills too few to
        // mean anything.
        const auto too_few = [&] { return killed_runs <= saves_per_path / 4; };
        for (int save = 0; save < 2 * saves_per_path && (save < saves_per_path || too_few()); ++save) {
            large.reset(in_place);
            HostRunOptions options = large.run(save_and_close);
            options.kill_after =
                std::chrono::microseconds(std::uniform_int_distribution<long>(earliest, latest)(random));
            const auto start = std::chrono::steady_clock::now();
            const bool was_killed = run_host(options).exit_status == killed;
            killed_runs += was_killed;
            if (!was_killed) {
                const auto ran = std::chrono::steady_clock::now() - start;
                const long ran_for = std::chrono::duration_cast<std::chrono::microseconds>(ran).count();
                latest = std::max(earliest, std::min(latest, ran_for));
            }
            const std::string after = large.library().read("feeds_speeds.dat");
            if (after == large.old_content() || after == new_bytes) continue;
            ASSERT_TRUE(in_place) << "a save by rename left the file damaged, " << after.size() << " bytes";
            const HostRun repair = run_host(large.run("answer yes\nok\n"));
            ASSERT_EQ(repair.exit_status, 0) << repair.errors;
            ASSERT_EQ(large.library().read("feeds_speeds.dat"), large.old_content());
        }
        EXPECT_FALSE(too_few()) << "the moments missed the saves: " << killed_runs << " killed";
        ASSERT_EQ(run_host(large.run(save_and_close)).exit_status, 0);
        EXPECT_EQ(large.library().read("feeds_speeds.dat"), new_bytes);
        std::set<std::string> expected = {"feeds_speeds.dat", "tool_materials.dat", "part_materials.dat",
                                          "cut_methods.dat", "tool_database.dat"};
        if (in_place) expected.insert("second_name.dat");
        EXPECT_EQ(names_in(large.library().path()), expected);
        EXPECT_TRUE(names_in(large.state().path()).empty());
    }
}

// 5. The load's repair of a file an in-place save was killed in.

// Old content longer than the new, so that a save killed before it truncates
// the file leaves the new content followed by the old one's tail.
struct DamagedFile : SavedLibrary {
    std::string long_old = rows + std::string(8000, '#') + "\n";

    DamagedFile() {
        library.write(table_file, long_old);
        add_hard_link();
        const HostRun run = run_host(this->run(save_and_close, "ftruncate:1:KILL"));
        EXPECT_EQ(run.exit_status, killed);
        EXPECT_NE(content(), long_old);
        EXPECT_NE(content(), new_content);
    }
};

TEST(Repair, TheUserGetsTheOldContentBack) {
    DamagedFile file;
    const HostRun run = run_host(file.run("answer yes\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {repair_question, "> answer yes",
                                                "item blankora.dlg LIST insert 1 \"MAT0_0002\""}));
    EXPECT_EQ(file.content(), file.long_old);
    EXPECT_EQ(file.library.read("second_name.dat"), file.long_old);
    EXPECT_TRUE(nothing_stray(file, {table_file, "second_name.dat"}));
    const HostRun again = run_host(file.run("ok\n"));
    EXPECT_EQ(count_lines_starting(again.transcript, "box "), 0) << again.transcript;
}

TEST(Repair, DeclinedItIsOfferedAgainAtTheNextLoad) {
    DamagedFile file;
    const std::string damaged = file.content();
    const HostRun run = run_host(file.run("answer no\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {repair_question, "> answer no"}));
    EXPECT_EQ(file.content(), damaged);
    const HostRun again = run_host(file.run("answer yes\nok\n"));
    EXPECT_TRUE(lines_in_order(again.transcript, {repair_question, "> answer yes"}));
    EXPECT_EQ(file.content(), file.long_old);
}

TEST(Repair, AFailedRestoreSaysSoAndKeepsTheCopy) {
    DamagedFile file;
    const std::string damaged = file.content();
    const HostRun run = run_host(file.run("answer yes\nok\n", "write:1:EIO"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {repair_question, "> answer yes",
                                "box error owner=blankora.dlg caption=\"Ошибка - загрузки Базы\" text=\" Невозможно "
                                "восстановить part_materials.dat\\n Обратитесь к сист. администратору\" -> ok"}));
    EXPECT_EQ(file.content(), damaged);
    const HostRun again = run_host(file.run("answer yes\nok\n"));
    EXPECT_EQ(file.content(), file.long_old);
}

TEST(Repair, AFileKilledBeforeItWasWrittenIsNotQuestioned) {
    SavedLibrary setup;
    setup.add_hard_link();
    ASSERT_EQ(run_host(setup.run(save_and_close, "write:3:KILL")).exit_status, killed);
    EXPECT_EQ(setup.content(), old_content);
    EXPECT_FALSE(names_in(setup.state.path()).empty()) << "the journal kept no copy";
    const HostRun run = run_host(setup.run("ok\n"));
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 0) << run.transcript;
    EXPECT_TRUE(nothing_stray(setup, {table_file, "second_name.dat"}));
}

// 6. The disk's part of a save, as a benchmark asks for it.

TEST(DiskWaits, ASaveReportsItsWaitsOnTheDiskAndAnOpenNone) {
    SavedLibrary setup;
    ScratchDirectory report;
    const std::string waits = report.file("waits");
    const auto reported = [&](const std::string& script) {
        HostRunOptions options = setup.run(script);
        options.environment["LIBRARY_IO_DISK_WAITS"] = waits;
        EXPECT_EQ(run_host(options).exit_status, 0);
        const std::string lines = report.read("waits");
        std::filesystem::remove(waits);
        return lines;
    };
    const std::string opened = reported("ok\n");
    EXPECT_EQ(opened, "0\n");
    const std::string saved = reported(save_and_close);
    // One line: the one library the run loaded.
    ASSERT_EQ(std::count(saved.begin(), saved.end(), '\n'), 1) << saved;
    EXPECT_GT(std::stod(saved), 0.0) << saved;
    EXPECT_EQ(setup.content(), new_content);
}

}  // namespace

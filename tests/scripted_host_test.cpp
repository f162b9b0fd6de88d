// The scripted front-end never lets a test pass by accident: a script that does
// not fit what the host awaits stops the run.
#include <gtest/gtest.h>

#include "store_session.h"

namespace {

struct ScriptFault {
    const char* name;
    const char* script;
    const char* error;
};

void PrintTo(const ScriptFault& fault, std::ostream* out) { *out << fault.name; }

class BadScript : public ::testing::TestWithParam<ScriptFault> {};

TEST_P(BadScript, StopsTheRunAndNamesTheLine) {
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run("strakel", library, GetParam().script));
    EXPECT_EQ(run.exit_status, 2);
    const std::string error = GetParam().error;
    EXPECT_EQ(run.errors, "ughost: " + error + "\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"script error: " + error}));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadScript,
    ::testing::Values(
        ScriptFault{"ActionThatDoesNotFit", "answer yes\n",
                    "script line 1: 'answer yes' does not fit: the host awaits an action in dialog strakel.dlg"},
        ScriptFault{"RunningOut", "press BLO_ACT 3\n",
                    "the script ran out of actions while the host awaited an action in dialog strakel.dlg"},
        ScriptFault{"LeftOver", "ok\ncancel\n", "script line 2: 'cancel' was never used"},
        ScriptFault{"UnknownItem", "select NOPE 1\n",
                    "script line 1: 'select NOPE 1' cannot be done: the dialog has no item NOPE"},
        ScriptFault{"MissingLine", "select LIST 8\n",
                    "script line 1: 'select LIST 8' cannot be done: item LIST has no line 8"},
        ScriptFault{"NoSuchButton", "press BLO_ACT 7\n",
                    "script line 1: 'press BLO_ACT 7' cannot be done: item BLO_ACT has no button 7"},
        ScriptFault{"FaultThatNeverHappens", "fail UF_STYLER_create_dialog after 1\nok\n",
                    "script line 1: 'fail UF_STYLER_create_dialog after 1' never took effect"},
        ScriptFault{"FaultReplacedBeforeItHappened", "fail UF_terminate after 9\nfail UF_terminate\nok\n",
                    "script line 1: 'fail UF_terminate after 9' never took effect"},
        ScriptFault{"RenameOfAMissingFile", "rename /nonexistent/a /nonexistent/b\nok\n",
                    "script line 1: 'rename /nonexistent/a /nonexistent/b' failed: No such file or directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptReading, ANumberThatDoesNotFitStopsTheRunBeforeItStarts) {
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run("strakel", library, "press BLO_ACT 4294967301\nok\n"));
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.errors.find(":1: expected: press ITEM [BUTTON]\n"), std::string::npos) << run.errors;
    EXPECT_EQ(run.transcript, "");
}

TEST(ScriptReading, AMisspeltFaultStopsTheRunBeforeItStarts) {
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run("strakel", library, "fail UF_initialise\nok\n"));
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.errors.find(":1: no call 'UF_initialise' can be made to fail\n"), std::string::npos) << run.errors;
}

// A directive takes effect as the host takes the action above it, before that action runs.
TEST(Directives, RenameTakesEffectBeforeTheActionAboveIt) {
    ScratchDirectory library;
    library.copy_samples();
    const std::string file = library.file("cut_methods.dat");
    const HostRun run = run_host(storekeeper_run("strakel", library, "press BLO_ACT 4\nrename " + file + " " + file +
                                                                         ".away\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 4", "> rename " + file + " " + file + ".away",
                                                "box error owner=strakel.dlg caption=\"Ошибка - загрузки Базы\" "
                                                "text=\" Невозможно загрузить Базу\\n Обратитесь к сист. "
                                                "администратору\" -> ok"}));
    EXPECT_EQ(library.read("cut_methods.dat.away"), sample_bytes("cut_methods.dat"));
}

TEST(Directives, ChmodTakesEffectBeforeTheActionAboveIt) {
    if (!runs_unprivileged()) GTEST_SKIP() << "file permissions do not hold for this user";
    ScratchDirectory library;
    library.copy_samples();
    const std::string file = library.file("cut_methods.dat");
    const HostRun run = run_host(storekeeper_run("strakel", library, "press BLO_ACT 4\nchmod 0 " + file + "\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 4", "> chmod 0 " + file,
                                                "box error owner=strakel.dlg caption=\"Ошибка - загрузки Базы\" "
                                                "text=\" Невозможно загрузить Базу\\n Обратитесь к сист. "
                                                "администратору\" -> ok"}));
}

TEST(PluginLoading, ALibraryThatCannotBeLoadedFailsTheRun) {
    ScratchDirectory library;
    HostRunOptions options = storekeeper_run("strakel", library, "");
    options.plugins = {library.file("absent.so")};
    const HostRun run = run_host(options);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(lines_in_order(run.transcript, {"load absent.so"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "error: cannot load absent.so: "), 1) << run.transcript;
}

TEST(PluginLoading, CancellingTheDialogGivesItsResponse) {
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run("strakel", library, "select LIST 2\ncancel\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> select LIST 2", "> cancel", "dialog strakel.dlg closed response=3"}));
}

}  // namespace

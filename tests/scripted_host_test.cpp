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
                    "script line 1: 'press BLO_ACT 7' cannot be done: item BLO_ACT has no button 7"}),
    [](const auto& info) { return std::string(info.param.name); });

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

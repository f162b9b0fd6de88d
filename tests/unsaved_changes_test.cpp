// Leaving an editor whose table has changes not yet saved asks first; leaving
// one whose table is as it was loaded or saved does not.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "record_table.h"
#include "records.h"

#include "small_library.h"
#include "store_session.h"
#include "test_text.h"

namespace {

const std::string leave_question_of(const std::string& owner) {
    return "box question owner=" + owner + ".dlg caption=\"Выход ...\" text=\"В Базе есть несохраненные "
           "изменения.\\n Выйти без сохранения?\" buttons=yes/NO";
}

HostRun run_on_small_library(const std::string& editor, const std::string& script) {
    ScratchDirectory library;
    write_small_library(library);
    return run_editor(editor, library, script);
}

TEST(UnsavedChanges, NoKeepsTheEditorOpenSoTheUserCanSave) {
    const HostRun run = run_on_small_library("blankora", "press BLO_ACT 0\ntype MATNAME Сталь 40Х\npress BLO_ACTION 0\n"
                                               "ok\nanswer no\ncancel\nanswer no\n"
                                               "press BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> ok", leave_question_of("blankora"), "> answer no", "> cancel",
                                                leave_question_of("blankora"), "> answer no", "> press BLO_ACT 5",
                                                saved_box("blankora", 2), "> ok",
                                                "dialog blankora.dlg closed response=2"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box question owner=blankora.dlg caption=\"Выход"), 2);
}

TEST(UnsavedChanges, YesLeavesWithoutSaving) {
    const HostRun run = run_on_small_library("ratomir", "press BLO_ACT 2\ncancel\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {leave_question_of("ratomir"), "> answer yes", "dialog ratomir.dlg closed response=3"}));
}

TEST(UnsavedChanges, AnEditThatChangedNothingAndALoadThatUndidChangesAskNothing) {
    HostRun run = run_on_small_library("blankora", "press BLO_ACT 0\npress BLO_ACTION 0\nok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 0) << run.transcript;
    run = run_on_small_library("strakel", "press BLO_ACT 1\npress BLO_ACT 4\nok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 0) << run.transcript;
}

TEST(UnsavedChanges, EveryWayOfChangingFeedsRowsAsksAndLookingOrSavingDoesNot) {
    const auto leave_questions = [](const std::string& script) {
        const HostRun run = run_on_small_library("ratomir", script);
        return count_lines_starting(run.transcript, "box question owner=ratomir.dlg caption=\"Выход");
    };
    EXPECT_EQ(leave_questions("press BLO_ACT 0\ntype DPT_CUT_MM 9.5\npress BLO_ACTION 0\nok\nanswer yes\n"), 1);
    EXPECT_EQ(leave_questions("press BLO_ACT 1\npress BLO_ACTION 0\nok\nanswer yes\n"), 1);
    EXPECT_EQ(leave_questions("press BLO_ACT 2\nok\nanswer yes\n"), 1);
    EXPECT_EQ(leave_questions("select LIST 1\npress BLO_ACT 3\nok\n"), 0);
    EXPECT_EQ(leave_questions("press BLO_ACT 2\npress BLO_ACT 5\nanswer yes\nok\n"), 0);
    EXPECT_EQ(leave_questions("press BLO_ACT 2\npress BLO_ACT 5\nanswer yes\npress BLO_ACT 2\nok\nanswer yes\n"), 1);
}

TEST(UnsavedChanges, ATableCountsEveryWayItsRowsCanChange) {
    RecordTable<CUTS> table;
    std::uint64_t before = table.changes();
    const auto changed = [&] {
        const bool counted = table.changes() != before;
        before = table.changes();
        return counted;
    };
    table.append(CUTS{});
    EXPECT_TRUE(changed());
    table.at(0).MODE[0] = 'M';
    EXPECT_TRUE(changed());
    table.reserve(10);
    for (const CUTS& row : table) EXPECT_EQ(row.MODE[0], 'M');
    EXPECT_EQ(std::as_const(table).at(0).MODE[0], 'M');
    EXPECT_EQ(table.copy_of(0).MODE[0], 'M');
    EXPECT_FALSE(changed());
    table.remove(0);
    EXPECT_TRUE(changed());
    table.empty();
    EXPECT_TRUE(changed());
}

TEST(UnsavedChanges, ARecordDialogEndsWithoutAQuestion) {
    // The record dialog's Cancel leaves nothing to ask about; its OK stores a
    // row, which the main dialog's OK then asks about.
    const HostRun run = run_on_small_library("gradivo", "press BLO_ACT 2\ncancel\npress BLO_ACT 2\nok\nok\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"dialog gradivoedit.dlg closed response=3",
                                                "dialog gradivoedit.dlg closed response=2", "> ok",
                                                leave_question_of("gradivo"), "> answer yes"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box question"), 1);
}

}  // namespace

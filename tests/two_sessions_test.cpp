// Two sessions on one library: a save never silently undoes what another
// session saved after this one loaded.
#include <gtest/gtest.h>

#include <filesystem>

#include "small_library.h"
#include "store_session.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;

HostRun run_ratomir(const ScratchDirectory& library, const std::string& script) {
    return run_editor("ratomir", library, script);
}

const std::string changed_question =
    "box question owner=ratomir.dlg caption=\"Сохранение ...\" text=\" Файл feeds_speeds.dat изменен другим "
    "пользователем после загрузки.\\n Записать Ваши данные вместо его изменений?\" buttons=yes/NO";

class TwoSessions : public ::testing::Test {
protected:
    void SetUp() override {
        write_small_library(shared);
        write_small_library(other);
        // Session B edits a row, deletes one, adds one and saves; its file then
        // takes the shared file's place, as its save would have.
        run_ratomir(other, "select LIST 1\npress BLO_ACT 0\ntype FEED_MMPT 0.5\npress BLO_ACTION 0\n"
                           "select LIST 0\npress BLO_ACT 2\npress BLO_ACT 1\npress BLO_ACTION 0\n"
                           "press BLO_ACT 5\nanswer yes\nok\n");
        b_saved = other.read("feeds_speeds.dat");
        ASSERT_NE(b_saved, shared.read("feeds_speeds.dat"));
    }

    // Session A loads, edits, and saves after B's save has replaced the file.
    std::string a_session(const std::string& answers) const {
        return "select LIST 2\npress BLO_ACT 0\ntype DPT_CUT_MM 7\npress BLO_ACTION 0\n"
               "rename " + other.file("feeds_speeds.dat") + " " + shared.file("feeds_speeds.dat") + "\n"
               "press BLO_ACT 5\nanswer yes\n" + answers;
    }

    ScratchDirectory shared;
    ScratchDirectory other;
    std::string b_saved;
};

TEST_F(TwoSessions, TheOtherSessionsWorkSurvivesUnlessTheUserConfirms) {
    const HostRun run = run_ratomir(shared, a_session("answer no\nok\nanswer yes\n"));
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 5", "> answer yes", changed_question, "> answer no",
                                                "> ok"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box information"), 0);
    EXPECT_EQ(shared.read("feeds_speeds.dat"), b_saved);
}

TEST_F(TwoSessions, ConfirmedTheSaveWritesThisSessionsTableAndAsksNoMore) {
    const HostRun run = run_ratomir(shared, a_session("answer yes\npress BLO_ACT 5\nanswer yes\nok\n"));
    EXPECT_TRUE(lines_in_order(run.transcript, {changed_question, "> answer yes", saved_box("ratomir", 4),
                                                "> press BLO_ACT 5", "> answer yes", saved_box("ratomir", 4)}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box question owner=ratomir.dlg caption=\"Сохранение ...\" "
                                                   "text=\" Файл"),
              1);
    EXPECT_NE(shared.read("feeds_speeds.dat"), b_saved);
    EXPECT_NE(shared.read("feeds_speeds.dat").find("|7.000|"), std::string::npos);
}

TEST_F(TwoSessions, AFileRemovedSinceTheLoadIsSimplyCreated) {
    const HostRun run = run_ratomir(shared, "press BLO_ACT 2\nremove " + shared.file("feeds_speeds.dat") +
                                                "\npress BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "box question"), 1);
    EXPECT_TRUE(fs::exists(shared.file("feeds_speeds.dat")));
}

// A save of several megabytes is written and fingerprinted piece by piece: a
// second save of this session finds the file as it wrote it and asks nothing
// more than whether to save.
TEST(LargeSave, TheFileWrittenInPiecesIsKnownAsThisSessionsOwn) {
    ScratchDirectory library;
    write_small_library(library);
    std::string rows;
    for (int row = 0; row < 50000; ++row) {
        rows += "DATA|FSDO_" + std::to_string(100000 + row) +
                "|OPD0_0001|MAT0_0001|TMC0_0001|0.100|2.540|||984.252|300.000|0.004|0.100\r\n";
    }
    library.write("feeds_speeds.dat", rows);
    const std::string save = "press BLO_ACT 5\nanswer yes\n";
    const HostRun run = run_ratomir(library, "press BLO_ACT 2\n" + save + save + "ok\n");
    const std::string written = library.read("feeds_speeds.dat");
    ASSERT_GT(written.size(), std::size_t{3} << 20) << run.transcript;
    EXPECT_TRUE(written.ends_with(rows.substr(rows.find('\n') + 1)));
    EXPECT_EQ(count_lines_starting(run.transcript, "box question"), 2);
    EXPECT_EQ(count_lines_starting(run.transcript, "box information"), 2);
    EXPECT_EQ(count_lines_starting(run.transcript, changed_question), 0);
}

}  // namespace

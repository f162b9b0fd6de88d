// The editors' entry: host session, access probe, dialog creation and the
// failure report, driven through the store test plug-in, which enters as each
// editor does.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "store_session.h"

namespace {

const std::string ratomir_unavailable =
    "beep\n"
    "box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"База 'Подач и скоростей' НЕ доступна или "
    "НЕ существует \\n обратитесь к системному администратору.\" -> ok";

const std::string variable_unset = "message \"Переменная UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR - не установлена\"";

const std::string entry_end =
    "ufusr returned retcode=0\n"
    "ufusr_ask_unload returned 1\n"
    "unload storekeeper.so\n";

TEST(HostSession, RefusedSessionShowsOnlyTheStatusAndTheErrorBlock) {
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run("ratomir", library, "fail UF_initialize\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(run.transcript,
              "> fail UF_initialize\n"
              "load storekeeper.so\n"
              "status \"The host session could not be opened\"\n"
              "stderr \"\\nError:\\nThe host session could not be opened\\n\\n\"\n" +
                  entry_end);
}

TEST(HostSession, AFailingCloseIsReportedLikeAnyStatus) {
    ScratchDirectory library;
    library.copy_samples();
    // The constructor and the dialog's exit close their sessions; the entry's close fails.
    const HostRun run = run_host(storekeeper_run("strakel", library, "fail UF_terminate after 2\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_TRUE(lines_in_order(run.transcript, {"dialog strakel.dlg closed response=2",
                                                "status \"The host session could not be closed\"",
                                                "stderr \"\\nError:\\nThe host session could not be closed\\n\\n\"",
                                                "ufusr returned retcode=0"}));
}

TEST(HostSession, ACallbackWithoutASessionDoesNothing) {
    ScratchDirectory library;
    library.copy_samples();
    // The entry's session opens; the constructor's does not, so nothing is listed.
    const HostRun run = run_host(storekeeper_run("gradivo", library, "fail UF_initialize after 1\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(count_lines_starting(run.transcript, "item "), 0) << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"dialog gradivo.dlg open \"Storekeeper\"", "> ok",
                                                "dialog gradivo.dlg closed response=2"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
}

TEST(Entry, ASuccessfulRunWritesNothingToTheErrorStream) {
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run("blankora", library, "ok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(count_lines_starting(run.transcript, "stderr"), 0);
    EXPECT_EQ(count_lines_starting(run.transcript, "status"), 0);
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"dialog blankora.dlg closed response=2", entry_end.substr(0, 24)}));
}

TEST(Entry, StartingTwiceUnloadsInBetween) {
    ScratchDirectory library;
    library.copy_samples();
    HostRunOptions options = storekeeper_run("gradivo", library, "ok\nok\n");
    options.plugins = {STOREKEEPER, STOREKEEPER};
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(count_lines_starting(run.transcript, "unload storekeeper.so"), 2) << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "item gradivo.dlg LIST insert 0 "), 2);
}

struct ProbeCase {
    const char* editor;
    const char* unavailable;
    bool dialog_follows;
};

void PrintTo(const ProbeCase& value, std::ostream* out) { *out << value.editor; }

class ProbeFailure : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeFailure, UnsetVariableGivesItsMessageThenTheEditorsBox) {
    const ProbeCase& editor = GetParam();
    ScratchDirectory library;
    HostRunOptions options = storekeeper_run(editor.editor, library, editor.dialog_follows ? "ok\n" : "");
    options.environment.erase("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR");
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string box = "box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"" +
                            std::string(editor.unavailable) +
                            " НЕ доступна или НЕ существует \\n обратитесь к системному администратору.\" -> ok";
    EXPECT_TRUE(lines_in_order(run.transcript, {variable_unset, "beep", box}));
    EXPECT_EQ(count_lines_starting(run.transcript, "dialog "), editor.dialog_follows ? 2 : 0) << run.transcript;
    if (editor.dialog_follows) {
        // The dialog opens all the same, and its loader meets the missing file.
        EXPECT_TRUE(lines_in_order(run.transcript,
                                   {box, "dialog " + std::string(editor.editor) + ".dlg open \"Storekeeper\"",
                                    "box error owner=" + std::string(editor.editor) +
                                        ".dlg caption=\"Ошибка - загрузки Базы\" text=\" Невозможно загрузить "
                                        "Базу\\n Обратитесь к сист. администратору\" -> ok"}));
    }
}

TEST_P(ProbeFailure, AnEmptyVariableCountsAsUnset) {
    const ProbeCase& editor = GetParam();
    ScratchDirectory library;
    HostRunOptions options = storekeeper_run(editor.editor, library, editor.dialog_follows ? "ok\n" : "");
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = "";
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {variable_unset, "beep"}));
}

INSTANTIATE_TEST_SUITE_P(FourEditors, ProbeFailure,
                         ::testing::Values(ProbeCase{"ratomir", "База 'Подач и скоростей'", false},
                                           ProbeCase{"blankora", "База Материала", true},
                                           ProbeCase{"strakel", "База Методов резания", true},
                                           ProbeCase{"gradivo", "База Материала Инструмента", true}),
                         [](const auto& info) { return std::string(info.param.editor); });

TEST(Probe, AMissingFileIsCreatedEmptyAndFoundNextTime) {
    ScratchDirectory library;
    HostRunOptions options = storekeeper_run("ratomir", library, "ok\n");
    options.plugins = {STOREKEEPER, STOREKEEPER};
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    // First start: not readable, so only the box; the append probe leaves an empty file.
    // Second start: the empty file opens the dialog with an empty table; the other
    // three files are missing and their loaders say so.
    EXPECT_TRUE(lines_in_order(run.transcript, {"load storekeeper.so", ratomir_unavailable.substr(0, 4),
                                                "unload storekeeper.so", "load storekeeper.so",
                                                "dialog ratomir.dlg open \"Storekeeper\""}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box error owner=host"), 1) << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "box error owner=ratomir.dlg caption=\"Ошибка - загрузки Базы\""), 3);
    EXPECT_TRUE(library.exists("feeds_speeds.dat"));
    EXPECT_EQ(library.read("feeds_speeds.dat"), "");
}

TEST(Probe, ADirectoryWithoutItsSeparatorMissesTheFile) {
    ScratchDirectory library;
    library.copy_samples();
    HostRunOptions options = storekeeper_run("ratomir", library, "");
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.path();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"load storekeeper.so", "beep"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "dialog "), 0);
    // The probe's path runs the folder's name into the file's: the file it
    // makes lies beside the folder, where no scratch folder cleans it up.
    const std::string beside = library.path() + "feeds_speeds.dat";
    EXPECT_TRUE(std::filesystem::exists(beside));
    std::filesystem::remove(beside);
}

TEST(Probe, MissingAuxiliaryFilesDoNotStopTheFeedsEditor) {
    ScratchDirectory library;
    library.copy_sample("feeds_speeds.dat");
    const HostRun run = run_host(storekeeper_run("ratomir", library, "ok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "beep"), 0);
    for (const char* table : {"tool_materials", "cut_methods", "part_materials"}) {
        EXPECT_TRUE(lines_in_order(run.transcript,
                                   {"box error owner=ratomir.dlg caption=\"Ошибка - загрузки Базы\" text=\" "
                                    "Невозможно загрузить " + std::string(table) +
                                    "\\n Обратитесь к сист. администратору\" -> ok"}));
    }
    EXPECT_EQ(count_lines_starting(run.transcript, "item ratomir.dlg LIST insert"), 48);
}

struct DialogFailureCase {
    const char* editor;
    const char* message;  // the load-failure text, or null
    const char* return_code;
};

void PrintTo(const DialogFailureCase& value, std::ostream* out) { *out << value.editor; }

class DialogFailure : public ::testing::TestWithParam<DialogFailureCase> {};

TEST_P(DialogFailure, TheHostTextGoesToStatusAndOutputThenTheEditorsMessage) {
    const DialogFailureCase& editor = GetParam();
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run(editor.editor, library, "fail UF_STYLER_create_dialog\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    std::string expected =
        "> fail UF_STYLER_create_dialog\n"
        "load storekeeper.so\n"
        "status \"The dialog could not be created\"\n"
        "stdout \"The dialog could not be created\\n\"\n";
    if (editor.message != nullptr) expected += "message \"" + std::string(editor.message) + "\"\n";
    expected += "ufusr returned retcode=" + std::string(editor.return_code) +
                "\nufusr_ask_unload returned 1\nunload storekeeper.so\n";
    EXPECT_EQ(run.transcript, expected);
}

INSTANTIATE_TEST_SUITE_P(
    FourEditors, DialogFailure,
    ::testing::Values(
        DialogFailureCase{"ratomir", " Невозможно загрузить 'ratomir.dlg' \\n Ошибка выделения памяти ?...", "0"},
        DialogFailureCase{"blankora", " Невозможно загрузить 'blankora.dlg'  ...", "0"},
        DialogFailureCase{"strakel", " Невозможно загрузить 'strakel.dlg'  ...", "0"},
        // gradivo shows no message of its own and leaves the return code as the host set it.
        DialogFailureCase{"gradivo", nullptr, "-1"}),
    [](const auto& info) { return std::string(info.param.editor); });

// Starts the store plug-in (as strakel) from a folder of its own, whose strakel.dlg
// is the text given, or missing when the text is empty.
HostRun run_with_dialog_file(const std::string& dialog_text) {
    ScratchDirectory library;
    library.copy_samples();
    ScratchDirectory folder;
    std::filesystem::copy_file(STOREKEEPER, folder.file("storekeeper.so"));
    folder.hand_over(folder.file("storekeeper.so"));
    if (!dialog_text.empty()) folder.write("strakel.dlg", dialog_text);
    HostRunOptions options = storekeeper_run("strakel", library, "");
    options.plugins = {folder.file("storekeeper.so")};
    HostRun run = run_host(options);
    EXPECT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    return run;
}

TEST(DialogFile, AMissingFileIsTheHostsFailure) {
    const HostRun run = run_with_dialog_file("");
    EXPECT_TRUE(lines_in_order(run.transcript, {"syslog \"dialog file strakel.dlg was not found\"",
                                                "status \"The dialog file was not found\"",
                                                "message \" Невозможно загрузить 'strakel.dlg'  ...\""}));
}

TEST(DialogFile, ABrokenFileIsNamedWithItsLine) {
    const HostRun run = run_with_dialog_file("dialog \"Broken\"\nlist LIST \"Rows\"\nbutons BLO_ACT \"Commands\" \"Edit\"\n");
    EXPECT_NE(run.syslog.find("strakel.dlg:3: unknown item kind 'butons'"), std::string::npos) << run.syslog;
    EXPECT_TRUE(lines_in_order(run.transcript, {"status \"The dialog file is not valid\""}));
}

TEST(DialogFile, ACallbackForAMissingItemIsRefused) {
    const HostRun run = run_with_dialog_file("dialog \"Without commands\"\nlist LIST \"Rows\"\n");
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"syslog \"strakel.dlg: the callback table names item BLO_ACT, which the dialog file lacks\"",
                                "status \"A callback names an item the dialog file lacks\""}));
}

}  // namespace

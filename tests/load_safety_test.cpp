// What an editor does with library files that cannot be read as they are:
// read errors, files that are not files, foreign text, planted links. The rule
// in each case: the user is told, and nothing the file holds is lost silently.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "small_library.h"
#include "store_session.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;

// A cut-method file big enough that reading it takes several reads.
std::string many_cut_methods(int rows) {
    std::string text = "# CUT_METHODS.DAT\r\nFORMAT LIBRF MODE NAME DESCRIPTION\r\n";
    for (int row = 0; row < rows; ++row) {
        text += "DATA|OPD0_" + std::to_string(row) + "|MILL|name " + std::to_string(row) +
                "|a description long enough to make the file span several reads\r\n";
    }
    return text;
}

const std::string strakel_load_failure =
    "box error owner=strakel.dlg caption=\"Ошибка - загрузки Базы\" text=\" Невозможно загрузить Базу\\n Обратитесь "
    "к сист. администратору\" -> ok";
const std::string strakel_unavailable =
    "box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"База Методов резания НЕ доступна или НЕ "
    "существует \\n обратитесь к системному администратору.\" -> ok";

TEST(ReadErrors, AFailedReadAtOpeningIsALoadFailureAndSavesNothing) {
    ScratchDirectory library;
    const std::string file = many_cut_methods(2000);
    library.write("cut_methods.dat", file);
    // The second read of the file fails as a failing disk would.
    const HostRun run = run_editor("strakel", library, "press BLO_ACT 5\nok\n", "read:2:EIO");
    EXPECT_TRUE(lines_in_order(run.transcript, {strakel_load_failure, "> press BLO_ACT 5",
                                                "message \"В Базе нет элементов\\n Сохранение прервано...\""}));
    EXPECT_EQ(count_lines_starting(run.transcript, "item strakel.dlg LIST_CUTS insert"), 0);
    EXPECT_NE(run.syslog.find("Input/output error"), std::string::npos) << run.syslog;
    EXPECT_EQ(library.read("cut_methods.dat"), file);
}

TEST(ReadErrors, AFailedReadOnLoadKeepsTheTableAsItWas) {
    ScratchDirectory library;
    const std::string file = many_cut_methods(2000);
    library.write("cut_methods.dat", file);
    // Opening reads the file in three reads (the last one finds its end); the
    // Load command's second read fails.
    const HostRun run = run_editor("strakel", library, "press BLO_ACT 4\npress BLO_ACT 5\nanswer yes\nok\n",
                                   "read:5:EIO");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 4", strakel_load_failure,
                                                "item strakel.dlg LIST_CUTS insert 1999 \"OPD0_1999 | MILL  = name "
                                                "1999  = a description long enough to make the file span several "
                                                "reads\"",
                                                saved_box("strakel", 2000)}));
}

// A Load reads its file whole before the table lets go of its rows, in
// pieces of 256 KiB (an opening in pieces of 64 KiB): a read failing in the
// middle of the file leaves every row where it was.
TEST(ReadErrors, AReadFailingInTheMiddleOfALoadKeepsEveryRow) {
    ScratchDirectory library;
    const std::string file = many_cut_methods(6000);
    ASSERT_GT(file.size(), std::size_t{2} << 18);
    library.write("cut_methods.dat", file);
    const std::size_t opening_reads = file.size() / (1 << 16) + 2;
    const HostRun run = run_editor("strakel", library, "press BLO_ACT 4\npress BLO_ACT 5\nanswer yes\nok\n",
                                   "read:" + std::to_string(opening_reads + 2) + ":EIO");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 4", strakel_load_failure, saved_box("strakel", 6000)}));
}

// Rows deleted and added leave the table's storage out of its order; a Load
// over them holds the file's rows as an opening does, fingerprint included:
// leaving then asks nothing, and a save writes what a save after opening writes.
TEST(Reloading, ALoadAfterDeletesAndANewHoldsTheFilesRows) {
    const auto run_on_feeds = [](const std::string& script, std::string& saved) {
        ScratchDirectory library;
        write_small_library(library);
        std::string feeds;
        for (int row = 0; row < 3000; ++row) {
            feeds += "DATA|FSDO_" + std::to_string(row) + "|OPD0_0001|MAT0_0001|TMC0_0001|0|" + std::to_string(row) +
                     ".25|||0|" + std::to_string(row % 97) + ".5|0|0.0" + std::to_string(row % 9) + "\r\n";
        }
        library.write("feeds_speeds.dat", feeds);
        const HostRun run = run_editor("ratomir", library, script);
        saved = library.read("feeds_speeds.dat");
        return run;
    };
    std::string saved_after_opening;
    run_on_feeds("press BLO_ACT 5\nanswer yes\nok\n", saved_after_opening);
    std::string saved_after_load;
    const HostRun run = run_on_feeds("press BLO_ACT 2\npress BLO_ACT 2\npress BLO_ACT 1\npress BLO_ACTION 0\n"
                                     "press BLO_ACT 4\nok\n",
                                     saved_after_load);
    EXPECT_EQ(count_lines_starting(run.transcript, "box question"), 0) << run.transcript;
    run_on_feeds("press BLO_ACT 2\npress BLO_ACT 2\npress BLO_ACT 1\npress BLO_ACTION 0\npress BLO_ACT 4\n"
                 "press BLO_ACT 5\nanswer yes\nok\n",
                 saved_after_load);
    EXPECT_EQ(saved_after_load, saved_after_opening);
}

// Only a regular file is a library file: none of these may block, load as
// nothing or eat memory.
class OddFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(OddFiles, AreUnavailableAndCannotBeLoaded) {
    ScratchDirectory library;
    const std::string path = library.file("cut_methods.dat");
    const std::string kind = GetParam();
    if (kind == "fifo") {
        ASSERT_EQ(mkfifo(path.c_str(), 0666), 0);
    }
    if (kind == "directory") fs::create_directory(path);
    if (kind == "device") fs::create_symlink("/dev/zero", path);
    const HostRun run = run_editor("strakel", library, "ok\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {strakel_unavailable, strakel_load_failure, "> ok"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, OddFiles, ::testing::Values("fifo", "directory", "device"));

TEST(OddFiles, FeedsEditorsPickListFileThatIsAFifoDoesNotBlock) {
    ScratchDirectory library;
    library.copy_samples();
    fs::remove(library.file("tool_materials.dat"));
    ASSERT_EQ(mkfifo(library.file("tool_materials.dat").c_str(), 0666), 0);
    const HostRun run = run_editor("ratomir", library, "ok\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"box error owner=ratomir.dlg caption=\"Ошибка - загрузки Базы\" "
                                                "text=\" Невозможно загрузить tool_materials\\n Обратитесь к сист. "
                                                "администратору\" -> ok",
                                                "> ok"}));
}

// Text another program saved: it would load as nothing, or lose its first row.
TEST(ForeignText, UTF16IsNamedAndTheSaveThatWouldEmptyTheFileAsksFirst) {
    ScratchDirectory library;
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("DATA|OPD0_0001|MILL|name|description\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    library.write("cut_methods.dat", utf16);
    const HostRun run = run_editor("strakel", library,
                                   "press BLO_ACT 2\nok\npress BLO_ACT 5\nanswer yes\nanswer no\nok\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(
        run.transcript,
        {"box warning owner=strakel.dlg caption=\"Загрузка Базы\" text=\" Файл cut_methods.dat загружен не "
         "полностью:\\n Файл похож на текст в кодировке UTF-16, а не Windows-1251.\\n Нераспознанные строки "
         "пропущены - 2 (строки 1, 2);\\n   при сохранении Базы они будут удалены из файла\" -> ok",
         "> answer yes",
         "box question owner=strakel.dlg caption=\"Сохранение ...\" text=\" Файл cut_methods.dat был загружен не "
         "полностью.\\n Строки, которые не удалось прочитать, при сохранении будут потеряны.\\n Все равно "
         "сохранить?\" buttons=yes/NO",
         "> answer no"}));
    EXPECT_EQ(library.read("cut_methods.dat"), utf16);
}

TEST(ForeignText, CarriageReturnLineEndsAreNamed) {
    ScratchDirectory library;
    library.write("cut_methods.dat", "# CUT_METHODS.DAT\rDATA|OPD0_0001|MILL|name|description\r");
    const HostRun run = run_editor("strakel", library, "ok\n");
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"box warning owner=strakel.dlg caption=\"Загрузка Базы\" text=\" Файл cut_methods.dat "
                                "загружен не полностью:\\n Строки файла разделены только знаком CR.\" -> ok"}));
}

TEST(ForeignText, AUTF8SignatureIsTakenOffAndTheFirstRowKept) {
    ScratchDirectory library;
    library.write("cut_methods.dat", "\xEF\xBB\xBF" "DATA|OPD0_0001|MILL|name|description\r\n");
    const HostRun run = run_editor("strakel", library, "ok\n");
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"box warning owner=strakel.dlg caption=\"Загрузка Базы\" text=\" Файл cut_methods.dat "
                                "загружен не полностью:\\n Файл похож на текст в кодировке UTF-8, а не "
                                "Windows-1251.\" -> ok",
                                "item strakel.dlg LIST_CUTS insert 0 \"OPD0_0001 | MILL  = name  = description\""}));
}

TEST(ForeignText, CyrillicInUTF8IsNamedButCodePageTextAndCommentsAreNot) {
    ScratchDirectory library;
    library.write("cut_methods.dat", "DATA|OPD0_0001|MILL|Фрезерование|описание\r\n");
    HostRun run = run_editor("strakel", library, "ok\n");
    EXPECT_NE(run.transcript.find("Файл похож на текст в кодировке UTF-8"), std::string::npos) << run.transcript;

    library.write("cut_methods.dat", cp1251("DATA|OPD0_0001|MILL|Фрезерование|описание\r\n"));
    run = run_editor("strakel", library, "ok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 0) << run.transcript;

    library.write("cut_methods.dat", "# only comments\r\n#\r\n\r\nFORMAT LIBRF MODE NAME DESCRIPTION\r\n");
    run = run_editor("strakel", library, "ok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 0) << run.transcript;
}

// A file the editor only reads for its pick lists is never saved: its notice
// says what was skipped, not what a save would do.
TEST(LoadNotice, APickListFileIsNotPromisedASave) {
    ScratchDirectory library;
    library.copy_samples();
    library.write("cut_methods.dat", "DATA|OPD0_0001|MILL|name\r\ndata|lower case\r\n");
    const HostRun run = run_editor("ratomir", library, "ok\n");
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"box warning owner=ratomir.dlg caption=\"Загрузка Базы\" text=\" Файл cut_methods.dat "
                                "загружен не полностью:\\n Нераспознанные строки пропущены - 1 (строка 2)\\n Строки с "
                                "ошибкой формата пропущены - 1 (строка 1)\" -> ok"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box warning"), 1);
}

// In a sticky world-writable folder a link is followed only when it is the
// user's own or the folder owner's, as the kernel's protected-links rule says.
TEST(PlantedLinks, ALinkAnotherUserPlantedIsNotFollowed) {
    if (geteuid() != 0 || !runs_unprivileged()) GTEST_SKIP() << "needs root to plant a link as another user";
    ScratchDirectory shared;
    ScratchDirectory private_files;
    ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
    ASSERT_EQ(chown(shared.path().c_str(), 0, 0), 0);
    const std::string secret = "the victim's own notes\n";
    private_files.write("notes.txt", secret);
    private_files.hand_over(private_files.file("notes.txt"));
    const std::string link = shared.file("part_materials.dat");
    fs::create_symlink(private_files.file("notes.txt"), link);
    constexpr uid_t another_user = 4242;
    ASSERT_EQ(lchown(link.c_str(), another_user, another_user), 0);

    const HostRun run = run_editor("blankora", shared,
                                   "press BLO_ACT 1\npress BLO_ACTION 0\npress BLO_ACT 5\nok\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"База Материала НЕ "
                                "доступна или НЕ существует \\n обратитесь к системному администратору.\" -> ok",
                                "> press BLO_ACT 5", cannot_save_box("blankora")}));
    EXPECT_EQ(private_files.read("notes.txt"), secret);
}

}  // namespace

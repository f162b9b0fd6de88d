// Loading and saving the four library files through the real host interface.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "store_session.h"
#include "test_text.h"

namespace {

struct TableCase {
    const char* editor;
    const char* file;
    int rows;
};

void PrintTo(const TableCase& value, std::ostream* out) { *out << value.editor; }

class SampleRoundTrip : public ::testing::TestWithParam<TableCase> {};

// The sample library was written to the file format independently of the
// writers: a load and a save must give back every byte.
TEST_P(SampleRoundTrip, ASaveAfterALoadGivesBackEveryByte) {
    const TableCase& table = GetParam();
    ScratchDirectory library;
    library.copy_samples();
    const HostRun run = run_host(storekeeper_run(table.editor, library, save_and_close));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 5", "> answer yes",
                                                saved_box(table.editor, table.rows), "> ok"}));
    EXPECT_EQ(library.read(table.file), sample_bytes(table.file));
}

INSTANTIATE_TEST_SUITE_P(FourTables, SampleRoundTrip,
                         ::testing::Values(TableCase{"ratomir", "feeds_speeds.dat", 48},
                                           TableCase{"gradivo", "tool_materials.dat", 8},
                                           TableCase{"blankora", "part_materials.dat", 10},
                                           TableCase{"strakel", "cut_methods.dat", 8}),
                         [](const auto& info) { return std::string(info.param.editor); });

std::string header_of(const std::string& file) {
    const std::string bytes = sample_bytes(file);
    return bytes.substr(0, bytes.find("DATA|"));
}

TEST(Save, WritesTheFixedHeaderAndTheRowsOnly) {
    ScratchDirectory library;
    library.copy_samples();
    library.write("feeds_speeds.dat",
                  "# an old comment\n"
                  " DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|9.999|2.54|||1|100|1|0.1\n"
                  "DATA  |FSDO_0002|OPD0_0002|MAT0_0002|TMC0_0002|0|1.5|0.004||0|30|0|0.05\n"
                  "FORMAT whatever\n"
                  "DATA|FSDO_0003|opd0_0003|MAT0_0003|TMC0_0003||0.5|1|2.5||250||0.08");
    const HostRun run = run_host(storekeeper_run("ratomir", library, save_and_close));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(library.read("feeds_speeds.dat"),
              header_of("feeds_speeds.dat") +
                  "DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0.100|2.540|||328.084|100.000|0.004|0.100\r\n"
                  "DATA|FSDO_0002|OPD0_0002|MAT0_0002|TMC0_0002|0.059|1.500|0.00|0.00|98.425|30.000|0.002|0.050\r\n"
                  "DATA|FSDO_0003|opd0_0003|MAT0_0003|TMC0_0003|0.020|0.500|1.00|2.50|820.210|250.000|0.003|0.080\r\n");
}

TEST(Save, DeclinedWritesNothingAndShowsNothingMore) {
    ScratchDirectory library;
    library.copy_samples();
    const std::string before = "DATA|T1|name|description\n";
    library.write("tool_materials.dat", before);
    const HostRun run = run_host(storekeeper_run("gradivo", library, "press BLO_ACT 5\nanswer no\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(library.read("tool_materials.dat"), before);
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 1);
    EXPECT_EQ(count_lines_starting(run.transcript, "message "), 0);
}

TEST(Save, AnEmptyTableIsNotSaved) {
    ScratchDirectory library;
    const std::string before = "# only comments\n#DATA|X|y|z\n";
    library.write("cut_methods.dat", before);
    const HostRun run = run_host(storekeeper_run("strakel", library, "press BLO_ACT 5\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 5",
                                                "message \"В Базе нет элементов\\n Сохранение прервано...\""}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 0);
    EXPECT_EQ(library.read("cut_methods.dat"), before);
}

TEST(Save, AReadOnlyFileIsRefusedWithoutTheQuestion) {
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: file permissions do not hold";
    ScratchDirectory library;
    library.copy_samples();
    chmod(library.file("part_materials.dat").c_str(), 0444);
    const HostRun run = run_host(storekeeper_run("blankora", library, "press BLO_ACT 5\nok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 5", cannot_save_box("blankora"), "> ok"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 1);
    EXPECT_EQ(library.read("part_materials.dat"), sample_bytes("part_materials.dat"));
}

// A file size limit (ulimit -f) is met as a full disk would be: the write fails.
TEST(Save, AFailedWriteKeepsTheOldFileAndSaysSo) {
    ScratchDirectory library;
    const std::string before = "DATA|T1|name|description\n";
    library.write("tool_materials.dat", before);
    HostRunOptions options = storekeeper_run("gradivo", library, save_and_close);
    options.file_size_limit = 500;  // the header alone is longer
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> answer yes", cannot_save_box("gradivo"), "> ok"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box information"), 0);
    EXPECT_EQ(library.read("tool_materials.dat"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(library.path()), {}), 1) << "a new file was left";
    EXPECT_NE(run.syslog.find("cannot write"), std::string::npos) << run.syslog;
}

TEST(Save, KeepsThePermissionsOfTheFile) {
    ScratchDirectory library;
    library.copy_samples();
    chmod(library.file("cut_methods.dat").c_str(), 0640);
    const HostRun run = run_host(storekeeper_run("strakel", library, save_and_close));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    struct stat info {};
    ASSERT_EQ(stat(library.file("cut_methods.dat").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(library.read("cut_methods.dat"), sample_bytes("cut_methods.dat"));
}

TEST(Save, ALinkedFileIsReplacedWhereTheLinkPoints) {
    ScratchDirectory library;
    ScratchDirectory elsewhere;
    library.copy_samples();
    elsewhere.write("shared_cuts.dat", "DATA|OPD0_0001|MILL|name|description\n");
    std::filesystem::remove(library.file("cut_methods.dat"));
    std::filesystem::create_symlink(elsewhere.file("shared_cuts.dat"), library.file("cut_methods.dat"));
    library.hand_over(library.file("cut_methods.dat"));
    const HostRun run = run_host(storekeeper_run("strakel", library, save_and_close));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(std::filesystem::is_symlink(library.file("cut_methods.dat")));
    EXPECT_EQ(elsewhere.read("shared_cuts.dat"),
              header_of("cut_methods.dat") + "DATA|OPD0_0001|MILL|name|description\r\n");
}

// On shared drives a user may write a file but not create one beside it.
TEST(Save, AFolderThatTakesNoNewFilesGetsTheFileRewrittenInPlace) {
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: folder permissions do not hold";
    ScratchDirectory library;
    ScratchDirectory state;  // where the old content is kept while the file is rewritten
    library.write("part_materials.dat", "DATA|45|Steel|desc|HB 200|MAT0_0001\n");
    chmod(library.path().c_str(), 0555);
    HostRunOptions options = storekeeper_run("blankora", library, save_and_close);
    options.environment["XDG_STATE_HOME"] = state.path();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> answer yes", saved_box("blankora", 1)}));
    EXPECT_EQ(library.read("part_materials.dat"),
              header_of("part_materials.dat") + "DATA|45|Steel|desc|HB 200|MAT0_0001\r\n");
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(state.path()), {}), 1)
        << "more than the journal's folder is left";
}

TEST(Save, NumbersAreWrittenWithAPointUnderADecimalCommaLocale) {
    const std::string locale = ensure_decimal_comma_locale();
    ASSERT_FALSE(locale.empty()) << "no locale with a decimal comma could be set up";
    ScratchDirectory library;
    library.copy_samples();
    HostRunOptions options = storekeeper_run("ratomir", library, save_and_close);
    options.environment["LC_ALL"] = locale;
    if (!generated_locale_path().empty()) options.environment["LOCPATH"] = generated_locale_path();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(library.read("feeds_speeds.dat"), sample_bytes("feeds_speeds.dat"));
}

TEST(Save, ALongDirectoryPathIsUsedWhole) {
    ScratchDirectory root;
    std::string directory = root.path();
    for (int level = 0; level < 12; ++level) {
        directory += "/" + std::string(40, static_cast<char>('a' + level));
        std::filesystem::create_directory(directory);
        root.hand_over(directory);
    }
    ASSERT_GT(directory.size(), 480u);
    std::filesystem::copy_file(std::string(SAMPLE_LIBRARY_DIR) + "/cut_methods.dat", directory + "/cut_methods.dat");
    root.hand_over(directory + "/cut_methods.dat");
    HostRunOptions options = storekeeper_run("strakel", root, save_and_close);
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = directory + "/";
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {saved_box("strakel", 8)}));
    EXPECT_EQ(read_bytes(directory + "/cut_methods.dat"), sample_bytes("cut_methods.dat"));
}

TEST(Load, LinesALoadHadToChangeAreNamedOnce) {
    ScratchDirectory library;
    library.write("cut_methods.dat",
                  "# header\n"
                  "DATA|OPD0_0001|MILL|name|description\n"
                  "DATA|OPD0_0002|MILL|name\n"
                  "DATA|" + std::string(25, 'R') + "|MILL|name|description\n"
                  "DATA|OPD0_0004|MILL|name|description|\n");
    const HostRun run = run_host(storekeeper_run("strakel", library, "ok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(
        run.transcript,
        {"box warning owner=strakel.dlg caption=\"Загрузка Базы\" text=\" Файл cut_methods.dat загружен не "
         "полностью:\\n Строки с ошибкой формата пропущены - 2 (строки 3, 5);\\n   при сохранении Базы они "
         "будут удалены из файла\\n Слишком длинные значения обрезаны - 1 (строка 4);\\n   при сохранении Базы "
         "они будут записаны обрезанными\" -> ok",
         "item strakel.dlg LIST insert 1 \"RRRRRRRRRRRRRRRRRRR\""}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box "), 1);
}

TEST(Load, ReferencesASaveWouldCutAreNamed) {
    ScratchDirectory library;
    library.copy_samples();
    library.write("feeds_speeds.dat", "DATA|FSDO_0001_LONGER_NAME|o|p|t|0|1|||0|1|0|1\n");
    const HostRun run = run_host(storekeeper_run("ratomir", library, "ok\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"box warning owner=ratomir.dlg caption=\"Загрузка Базы\" text=\" Файл "
                                "feeds_speeds.dat загружен не полностью:\\n Ссылки длиннее 20 знаков будут "
                                "обрезаны при сохранении - 1 (строка 1)\" -> ok"}));
}

}  // namespace

// Export and import of the base (ferrant) through the host: snapshots with their
// spreadsheets and manifest, a round trip that changes no byte, edited
// spreadsheets brought back row for row, broken snapshots refused whole, the
// automatic snapshot before an import, and a failed replacement rolled back.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "host_run.h"

namespace {

namespace fs = std::filesystem;

const std::string ferrant = std::string(APPLICATION_DIR) + "/ferrant.so";
const char* const table_names[] = {"cut_methods.dat", "feeds_speeds.dat", "part_materials.dat", "tool_materials.dat"};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The lines that differ between two texts of the same line count, as "old -> new".
std::vector<std::string> differing_lines(const std::string& before, const std::string& after) {
    std::vector<std::string> a;
    std::vector<std::string> b;
    for (auto [text, lines] : {std::pair{&before, &a}, std::pair{&after, &b}}) {
        std::size_t start = 0;
        for (std::size_t end; (end = text->find('\n', start)) != std::string::npos; start = end + 1) {
            lines->push_back(text->substr(start, end - start));
        }
    }
    std::vector<std::string> differ;
    if (a.size() != b.size()) return {"line counts differ"};
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) differ.push_back(a[i] + " -> " + b[i]);
    }
    return differ;
}

// The sample base: the four tables in data/, the tool library in tool/.
class Ferrant : public ::testing::Test {
protected:
    ScratchDirectory scratch;
    std::string data;
    std::string tool;

    void SetUp() override {
        fs::create_directory(scratch.file("data"));
        fs::create_directory(scratch.file("tool"));
        scratch.hand_over(scratch.file("data"));
        scratch.hand_over(scratch.file("tool"));
        data = scratch.file("data") + "/";
        tool = scratch.file("tool") + "/";
        for (const char* name : table_names) scratch.write(std::string("data/") + name, sample_bytes(name));
        scratch.write("tool/tool_database.dat", sample_bytes("tool_database.dat"));
    }

    HostRun run(int mode, const std::string& script, const std::string& faults = "") {
        HostRunOptions options;
        options.plugins = {ferrant};
        options.script = script;
        options.parameter = mode == 1 ? "1" : "";  // the host passes the parameter's length where the launcher passes the mode
        options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = data;
        options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = tool;
        if (!faults.empty()) options.environment["LIBRARY_IO_FAULTS"] = faults;
        HostRun result = run_host(options);
        EXPECT_EQ(result.exit_status, 0) << result.errors << result.transcript;
        return result;
    }

    // Exports into folder (under data/export/ when relative); returns the folder with its separator.
    std::string export_to(const std::string& name) {
        const std::string folder = data + "export/" + name + "/";
        run(0, "type FOLDER " + folder + "\nok\n");
        return folder;
    }

    // Imports the snapshot folder typed as "another folder" and answers the question.
    HostRun import_from(const std::string& folder, const std::string& answer = "yes", const std::string& faults = "") {
        const std::size_t offered = snapshots().size() > 6 ? 6 : snapshots().size();
        return run(1, "menu " + std::to_string(5 + offered) + "\ntype FOLDER " + folder + "\nok\n" +
                          (answer.empty() ? "" : "answer " + answer + "\n"),
                   faults);
    }

    std::vector<std::string> snapshots() const {
        std::vector<std::string> names;
        if (!fs::exists(data + "export")) return names;
        for (const auto& entry : fs::directory_iterator(data + "export")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string base_file(const std::string& name) const {
        return read_bytes((name == "tool_database.dat" ? tool : data) + name);
    }

    void expect_base_is_sample() const {
        for (const char* name : table_names) EXPECT_EQ(base_file(name), sample_bytes(name)) << name;
        EXPECT_EQ(base_file("tool_database.dat"), sample_bytes("tool_database.dat"));
    }
};

// ---- 1. Export ----

TEST_F(Ferrant, ExportOffersADatedFolderAndWritesTheFilesSpreadsheetsAndManifest) {
    const HostRun result = run(0, "ok\n");
    const std::regex offered("item ferrant.dlg FOLDER text \"" + data + "export/\\d{4}-\\d\\d-\\d\\d_\\d{6}/\"\n");
    EXPECT_TRUE(std::regex_search(result.transcript, offered)) << result.transcript;
    ASSERT_EQ(snapshots().size(), 1u);
    const std::string folder = data + "export/" + snapshots().front() + "/";
    for (const char* name : table_names) EXPECT_EQ(read_bytes(folder + name), sample_bytes(name)) << name;
    EXPECT_EQ(read_bytes(folder + "tool_database.dat"), sample_bytes("tool_database.dat"));

    const std::string manifest = read_bytes(folder + "manifest.txt");
    EXPECT_TRUE(std::regex_search(manifest, std::regex("\r\nfeeds_speeds\\.dat;48;5736;[0-9a-f]{16}\r\n")));
    EXPECT_TRUE(std::regex_search(manifest, std::regex("\r\nfeeds_speeds\\.csv;48;\\d+;[0-9a-f]{16}\r\n")));
    EXPECT_TRUE(std::regex_search(manifest, std::regex("\r\ntool_database\\.dat;5;611;[0-9a-f]{16}\r\n")));

    // UTF-8 with a signature, ";" between cells, decimal commas, index columns empty where the file has none.
    const std::string csv = read_bytes(folder + "feeds_speeds.csv");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("LIBRF;OPERTYPE;PARTMAT;TOOLMAT;DPT_CUT_IN;DPT_CUT_MM;INDEX1;INDEX2;SURF_SPEED_FPM;"
                       "SURF_SPEED_MPM;FEED_IPT;FEED_MMPT\r\n"
                       "FSDO_0001;OPD0_0001;MAT0_0001;TMC0_0001;0,157;4,000;;;91,864;28,000;0,004;0,100\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(read_bytes(folder + "cut_methods.csv").find("OPD0_0001;MILL;Фрезерование черновое;"), std::string::npos);

    EXPECT_TRUE(lines_in_order(listing_text(result.transcript),
                               {" Экспорт Базы", "  feeds_speeds.dat       строк:    48   байт:    5736",
                                "  tool_database.dat      строк:     5   байт:     611", " Проверка целостности:",
                                "  Ссылки подач без строки в своей таблице: 0", "  Повторные идентификаторы: 0",
                                "  Строки, которые изменит сохранение: 0"}))
        << result.transcript;
}

TEST_F(Ferrant, CancelledExportWritesNothing) {
    run(0, "cancel\n");
    EXPECT_TRUE(snapshots().empty());
}

TEST_F(Ferrant, ExportIntoAnExistingFolderIsRefusedAndLeavesItAlone) {
    fs::create_directories(data + "export/taken");
    scratch.write("data/export/taken/note.txt", "mine");
    const HostRun result = run(0, "type FOLDER " + data + "export/taken\nok\n");
    EXPECT_NE(result.transcript.find("box error owner=host caption=\"Ошибка - Экспорт Базы\""), std::string::npos)
        << result.transcript;
    EXPECT_FALSE(fs::exists(data + "export/taken/manifest.txt"));
    EXPECT_NE(result.syslog.find("the snapshot folder exists"), std::string::npos);
}

TEST_F(Ferrant, TheIntegrityCheckCountsUnresolvedReferencesDuplicatesAndRowsASaveWouldChange) {
    std::string feeds = sample_bytes("feeds_speeds.dat");
    feeds = replaced(feeds, "FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001", "FSDO_0001|OPD0_0001|NOSUCH|TMC0_0001");
    feeds = replaced(feeds, "FSDO_0002|", "FSDO_0001|");
    feeds = replaced(feeds, "|4.000|", "|4|");
    scratch.write("data/feeds_speeds.dat", feeds);
    const std::string listing = listing_text(run(0, "ok\n").transcript);
    EXPECT_TRUE(lines_in_order(listing, {"  Ссылки подач без строки в своей таблице: 1", "     FSDO_0001: PARTMAT=NOSUCH",
                                         "  Повторные идентификаторы: 1", "     feeds_speeds.dat: FSDO_0001",
                                         "  Строки, которые изменит сохранение: 1"}))
        << listing;
}

TEST_F(Ferrant, AMissingVariableIsNamedAndNothingIsWritten) {
    HostRunOptions options;
    options.plugins = {ferrant};
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = data;
    options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = std::nullopt;
    const HostRun result = run_host(options);
    EXPECT_NE(result.transcript.find("message \"Переменная UGII_CAM_LIBRARY_TOOL_METRIC_DIR - не установлена\""),
              std::string::npos)
        << result.transcript;
    EXPECT_TRUE(snapshots().empty());
}

// ---- 2. Import ----

TEST_F(Ferrant, RoundTripWithoutEditsChangesNoByteAndLeavesAnUndoSnapshot) {
    export_to("first");
    const HostRun result = run(1, "menu 5\nanswer yes\n");
    EXPECT_NE(result.transcript.find("items=[\"first\", \"Другая папка ...\"]"), std::string::npos) << result.transcript;
    EXPECT_TRUE(lines_in_order(listing_text(result.transcript),
                               {"  feeds_speeds.dat       строк сейчас:    48   после импорта:    48   (без изменений)",
                                " Проверка целостности:"}));
    expect_base_is_sample();
    const auto names = snapshots();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(names.front().ends_with("_pre-import")) << names.front();
}

TEST_F(Ferrant, SnapshotsAreOfferedNewestFirstAndOnlyWhenComplete) {
    export_to("2026-01-01_100000");
    export_to("2026-03-01_100000");
    fs::create_directories(data + "export/2026-05-01_100000");  // an export that did not finish: no manifest
    const HostRun result = run(1, "menu 2\n");
    EXPECT_NE(result.transcript.find("items=[\"2026-03-01_100000\", \"2026-01-01_100000\", \"Другая папка ...\"]"),
              std::string::npos)
        << result.transcript;
    expect_base_is_sample();
}

TEST_F(Ferrant, AnsweringNoChangesNothingAndMakesNoUndoSnapshot) {
    const std::string folder = export_to("edited");
    scratch.write("data/export/edited/feeds_speeds.csv",
                  replaced(read_bytes(folder + "feeds_speeds.csv"), ";28,000;", ";29,000;"));
    import_from(folder, "no");
    expect_base_is_sample();
    EXPECT_EQ(snapshots().size(), 1u);
}

TEST_F(Ferrant, EditedSpreadsheetsChangeExactlyTheEditedRows) {
    const std::string folder = export_to("edited");
    // Saved as a spreadsheet in a Russian locale saves: signature, ";" and decimal commas.
    scratch.write("data/export/edited/feeds_speeds.csv",
                  replaced(read_bytes(folder + "feeds_speeds.csv"), "91,864;28,000;0,004;0,100", "1;29.5;2;0,125"));
    // Saved by another locale: no signature, "," between cells, quotes around cells that hold one.
    std::string comma_separated;
    const std::string cuts = read_bytes(folder + "cut_methods.csv").substr(3);
    std::size_t start = 0;
    for (std::size_t end; (end = cuts.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = cuts.substr(start, end - start);
        std::string cell;
        std::string joined;
        line += ';';
        for (char c : line) {
            if (c != ';') {
                cell += c;
                continue;
            }
            if (!joined.empty()) joined += ',';
            joined += cell.find(',') == std::string::npos ? cell : "\"" + cell + "\"";
            cell.clear();
        }
        comma_separated += joined + "\r\n";
    }
    comma_separated = replaced(comma_separated, "Фрезерование черновое,", "\"Фрезерование, черновое\",");
    scratch.write("data/export/edited/cut_methods.csv", comma_separated);

    const HostRun result = import_from(folder);
    const std::string listing = listing_text(result.transcript);
    EXPECT_NE(listing.find("изменен в таблице feeds_speeds.csv: файл будет записан заново\n"
                           "     из таблицы: новые или измененные строки - 1 ("),
              std::string::npos)
        << listing;
    EXPECT_EQ(differing_lines(sample_bytes("feeds_speeds.dat"), base_file("feeds_speeds.dat")),
              std::vector<std::string>({"DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0.157|4.000|||91.864|28.000|0.004|"
                                        "0.100\r -> DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0.157|4.000|||96.785|"
                                        "29.500|0.005|0.125\r"}));
    const auto cut_changes = differing_lines(sample_bytes("cut_methods.dat"), base_file("cut_methods.dat"));
    ASSERT_EQ(cut_changes.size(), 1u);
    EXPECT_NE(cut_changes.front().find("|MILL|\xD4\xF0\xE5\xE7\xE5\xF0\xEE\xE2\xE0\xED\xE8\xE5, "), std::string::npos);
    EXPECT_EQ(base_file("part_materials.dat"), sample_bytes("part_materials.dat"));
    EXPECT_EQ(base_file("tool_materials.dat"), sample_bytes("tool_materials.dat"));
}

TEST_F(Ferrant, TheUndoSnapshotRestoresTheStateBeforeTheImport) {
    const std::string folder = export_to("edited");
    scratch.write("data/export/edited/feeds_speeds.csv",
                  replaced(read_bytes(folder + "feeds_speeds.csv"), ";28,000;", ";29,000;"));
    import_from(folder);
    ASSERT_NE(base_file("feeds_speeds.dat"), sample_bytes("feeds_speeds.dat"));
    std::string undo;
    for (const std::string& name : snapshots()) {
        if (name.ends_with("_pre-import")) undo = data + "export/" + name + "/";
    }
    ASSERT_FALSE(undo.empty());
    import_from(undo);
    expect_base_is_sample();
}

// Texts a spreadsheet would turn into numbers, dates or formulas are written
// protected, and come back as they were.
TEST_F(Ferrant, SpreadsheetTricksAreUndoneOnTheWayBack) {
    std::string tools = sample_bytes("tool_materials.dat");
    tools += "DATA|0042|=1+2|-x\r\nDATA|12.03|@cmd|'quoted\r\nDATA|+7|a;b \"c\"|1-2\r\n";
    scratch.write("data/tool_materials.dat", tools);
    const std::string folder = export_to("tricks");
    const std::string csv = read_bytes(folder + "tool_materials.csv");
    EXPECT_NE(csv.find("'0042;'=1+2;'-x\r\n'12.03;'@cmd;''quoted\r\n'+7;\"a;b \"\"c\"\"\";'1-2\r\n"), std::string::npos)
        << csv;
    // Another row edited, so the file is read back from the spreadsheet.
    scratch.write("data/export/tricks/tool_materials.csv", replaced(csv, "'0042;", "'0043;"));
    import_from(folder);
    EXPECT_EQ(base_file("tool_materials.dat"), replaced(tools, "DATA|0042|", "DATA|0043|"));
}

struct BrokenSnapshot {
    const char* name;
    const char* file;  // the snapshot file changed
    const char* from;  // its text replaced
    const char* to;
    const char* reason;  // what the user is told
};

void PrintTo(const BrokenSnapshot& broken, std::ostream* out) { *out << broken.name; }

class FerrantBroken : public Ferrant, public ::testing::WithParamInterface<BrokenSnapshot> {};

TEST_P(FerrantBroken, IsRefusedWholeWithItsReasonAndChangesNothing) {
    const BrokenSnapshot& broken = GetParam();
    const std::string folder = export_to("broken");
    // A good edit beside the broken one: it must not be imported either.
    scratch.write("data/export/broken/part_materials.csv",
                  replaced(read_bytes(folder + "part_materials.csv"), "MAT0_0001", "MAT0_0100"));
    const std::string path = std::string("data/export/broken/") + broken.file;
    scratch.write(path, replaced(scratch.read(path), broken.from, broken.to));
    const HostRun result = import_from(folder, "");
    EXPECT_NE(result.transcript.find(broken.reason), std::string::npos) << result.transcript;
    EXPECT_NE(result.transcript.find("База не изменена."), std::string::npos);
    expect_base_is_sample();
    EXPECT_EQ(snapshots().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, FerrantBroken,
    ::testing::Values(
        BrokenSnapshot{"Hash", "cut_methods.csv", "Фрезерование черновое", "Фрезерование #черновое",
                       "Файл cut_methods.csv не принят, строка 2, столбец NAME:\\n значение содержит недопустимый символ"},
        BrokenSnapshot{"Bar", "cut_methods.csv", "Фрезерование черновое", "Фрезерование | черновое",
                       "Файл cut_methods.csv не принят, строка 2, столбец NAME:\\n значение содержит недопустимый символ"},
        BrokenSnapshot{"LineBreak", "cut_methods.csv", "Фрезерование черновое", "\"Фрезерование\nчерновое\"",
                       "строка 2, столбец NAME:\\n значение содержит недопустимый символ"},
        BrokenSnapshot{"TooLong", "tool_materials.csv", "TMC0_0001", "TMC0_0001_LONGER_THAN_19",
                       "Файл tool_materials.csv не принят, строка 2, столбец LIBRF:\\n значение длиннее 19 знаков."},
        BrokenSnapshot{"NotANumber", "feeds_speeds.csv", ";28,000;", ";двадцать;",
                       "строка 2, столбец SURF_SPEED_MPM:\\n значение не является числом."},
        BrokenSnapshot{"CellMissing", "feeds_speeds.csv", ";28,000;", ";",
                       "строка 2:\\n в строке 11 ячеек вместо 12."},
        BrokenSnapshot{"UnknownColumn", "feeds_speeds.csv", "FEED_MMPT", "FEED",
                       "строка 1, столбец FEED:\\n неизвестный или повторный столбец 'FEED'."},
        BrokenSnapshot{"OpenQuote", "cut_methods.csv", "Фрезерование черновое", "\"Фрезерование черновое",
                       "строка 2:\\n кавычка не закрыта до конца файла."},
        BrokenSnapshot{"TableFileChanged", "feeds_speeds.dat", "28.000", "28.500",
                       "Файл feeds_speeds.dat изменен после экспорта"},
        BrokenSnapshot{"ManifestDamaged", "manifest.txt", "# FILE", "# LIST",
                       "Папка не является полным снимком Базы"}));

TEST_F(Ferrant, AFolderWithoutASnapshotIsRefused) {
    fs::create_directories(data + "elsewhere");
    const HostRun result = run(1, "menu 5\ntype FOLDER " + data + "elsewhere\nok\n");
    EXPECT_NE(result.transcript.find("Папка не является полным снимком Базы"), std::string::npos) << result.transcript;
    expect_base_is_sample();
}

TEST_F(Ferrant, AFailedReplacementPutsBackTheFilesAlreadyReplaced) {
    const std::string folder = export_to("edited");
    scratch.write("data/export/edited/feeds_speeds.csv",
                  replaced(read_bytes(folder + "feeds_speeds.csv"), ";28,000;", ";29,000;"));
    scratch.write("data/export/edited/cut_methods.csv",
                  replaced(read_bytes(folder + "cut_methods.csv"), "OPD0_0001", "OPD0_0100"));
    // feeds_speeds.dat is replaced first; the second replacement's rename fails.
    const HostRun result = import_from(folder, "yes", "rename:2:EIO");
    EXPECT_NE(result.transcript.find("Невозможно заменить файлы Базы.\\n Уже замененные файлы восстановлены"),
              std::string::npos)
        << result.transcript;
    expect_base_is_sample();
}

TEST_F(Ferrant, AMissingToolFolderIsToldBeforeAnythingIsAsked) {
    fs::remove_all(scratch.file("tool"));
    const HostRun result = run(1, "");
    EXPECT_NE(result.transcript.find("Папка библиотеки инструмента не найдена"), std::string::npos) << result.transcript;
    EXPECT_EQ(result.transcript.find("menu \""), std::string::npos);
}

TEST_F(Ferrant, AFolderTheUserMayNotWriteIsToldBeforeAnythingIsAsked) {
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: file permissions do not hold";
    chmod(scratch.file("data").c_str(), 0555);
    const HostRun result = run(1, "");
    chmod(scratch.file("data").c_str(), 0755);
    EXPECT_NE(result.transcript.find("Нет права записи в папку\\n " + data), std::string::npos) << result.transcript;
    EXPECT_EQ(result.transcript.find("menu \""), std::string::npos);
}

}  // namespace

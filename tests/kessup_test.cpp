// The tool library editor (kessup) through the host: columns from each FORMAT
// section, continuation lines kept with their row, a save that changes only the
// rows edited, added or deleted, the refusals and the new references.
#include <gtest/gtest.h>

#include <filesystem>

#include "host_run.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;

const std::string kessup = std::string(APPLICATION_DIR) + "/kessup.so";

// Two FORMAT sections, comments between rows, a row continued on the next line,
// a blank line, and a last line without a line end.
const std::string two_sections =
    "# TOOL_DATABASE.DAT\r\n"
    "#  mills\r\n"
    "FORMAT LIBRF TYPE DIA TOOLMAT\r\n"
    "DATA|EM_0007|ENDMILL|10.000|TMC0_0001\r\n"
    "# a note between rows, kept in place\r\n"
    "DATA|EM_0009|ENDMILL|12.000|\r\n"
    "   TMC0_0002\r\n"
    "\r\n"
    "FORMAT LIBRF TYPE DIA POINT\r\n"
    "DATA  |DR_0001|DRILL|8.000|118\r\n"
    "DATA|DR_0002|DRILL|10.000|118";

class Kessup : public ::testing::Test {
protected:
    ScratchDirectory tool;
    ScratchDirectory data;

    void SetUp() override {
        tool.write("tool_database.dat", cp1251(two_sections));
        data.copy_sample("tool_materials.dat");
    }

    HostRun run(const std::string& script) {
        HostRunOptions options;
        options.plugins = {kessup};
        options.script = script;
        options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = tool.with_separator();
        options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = data.with_separator();
        HostRun result = run_host(options);
        EXPECT_EQ(result.exit_status, 0) << result.errors << result.transcript;
        return result;
    }

    std::string saved() const { return tool.read("tool_database.dat"); }
};

const std::string save = "press BLO_ACT 5\nanswer yes\n";

TEST_F(Kessup, ListsEveryRowWithItsContinuationJoined) {
    const HostRun result = run("ok\n");
    EXPECT_TRUE(lines_in_order(result.transcript,
                               {"item kessup.dlg LIST_TOOLS insert 0 \"EM_0007 | ENDMILL | 10.000 | TMC0_0001\"",
                                "item kessup.dlg LIST_TOOLS insert 1 \"EM_0009 | ENDMILL | 12.000 |    TMC0_0002\"",
                                "item kessup.dlg LIST_TOOLS insert 2 \"DR_0001 | DRILL | 8.000 | 118\"",
                                "item kessup.dlg LIST_TOOLS insert 3 \"DR_0002 | DRILL | 10.000 | 118\""}))
        << result.transcript;
}

TEST_F(Kessup, EachRowShowsTheColumnsOfTheFormatAboveIt) {
    const HostRun result = run("select LIST_TOOLS 2\npress BLO_ACT 0\ncancel\nok\n");
    EXPECT_TRUE(lines_in_order(result.transcript, {"item kessupedit.dlg FIELDS insert 3 \"POINT = 118\"",
                                                   "item kessupedit.dlg TOOLMAT sensitive 0"}))
        << result.transcript;
    EXPECT_EQ(saved(), cp1251(two_sections));
}

TEST_F(Kessup, EditingARowChangesThatLineOnlyAndKeepsEveryOtherByte) {
    run("select LIST_TOOLS 2\npress BLO_ACT 0\nselect FIELDS 2\ntype VALUE 8.500\nok\n" + save + "ok\n");
    std::string expected = two_sections;
    expected.replace(expected.find("DATA  |DR_0001|DRILL|8.000|118"), 30, "DATA  |DR_0001|DRILL|8.500|118");
    EXPECT_EQ(saved(), cp1251(expected));
}

TEST_F(Kessup, AToolMaterialIsChosenFromTheToolMaterialsReferences) {
    const HostRun result = run("press BLO_ACT 0\nselect TOOLMAT 4\nok\n" + save + "ok\n");
    EXPECT_TRUE(lines_in_order(result.transcript, {"item kessupedit.dlg TOOLMAT entry 4 \"TMC0_0005\"",
                                                   "item kessupedit.dlg TOOLMAT select 0"}));
    std::string expected = two_sections;
    expected.replace(expected.find("|10.000|TMC0_0001"), 17, "|10.000|TMC0_0005");
    EXPECT_EQ(saved(), cp1251(expected));
}

// A continued row, once edited, is written on one line; its comment neighbours stay.
TEST_F(Kessup, AnEditedContinuedRowIsWrittenOnOneLine) {
    run("select LIST_TOOLS 1\npress BLO_ACT 0\nselect FIELDS 3\ntype VALUE TMC0_0003\nok\n" + save + "ok\n");
    std::string expected = two_sections;
    expected.replace(expected.find("DATA|EM_0009|ENDMILL|12.000|\r\n   TMC0_0002\r\n"), 44,
                     "DATA|EM_0009|ENDMILL|12.000|TMC0_0003\r\n");
    EXPECT_EQ(saved(), cp1251(expected));
}

TEST_F(Kessup, DeleteAndNewChangeOnlyTheirRows) {
    const HostRun result = run("select LIST_TOOLS 0\npress BLO_ACT 1\npress BLO_ACT 2\nselect FIELDS 1\n"
                               "type VALUE DRILL\nok\n" + save + "ok\n");
    // The new reference follows the last row's style: its prefix, the next free number, as many digits.
    EXPECT_NE(result.transcript.find("item kessupedit.dlg FIELDS insert 0 \"LIBRF = DR_0003\""), std::string::npos)
        << result.transcript;
    std::string expected = two_sections;
    expected.erase(expected.find("DATA|EM_0007"), 39);
    expected += "\r\nDATA|DR_0003|DRILL||\r\n";
    EXPECT_EQ(saved(), cp1251(expected));
}

TEST_F(Kessup, ANewReferenceIsFreeInTheWholeFile) {
    tool.write("tool_database.dat", "FORMAT LIBRF TYPE\r\nDATA|T_0002|X\r\nDATA|T_0001|Y\r\n");
    const HostRun result = run("press BLO_ACT 2\nok\n" + save + "ok\n");
    EXPECT_NE(result.transcript.find("\"LIBRF = T_0003\""), std::string::npos) << result.transcript;
    EXPECT_EQ(saved(), "FORMAT LIBRF TYPE\r\nDATA|T_0002|X\r\nDATA|T_0001|Y\r\nDATA|T_0003|\r\n");
}

TEST_F(Kessup, AValueTheFileCannotHoldIsRefusedAndTheDialogStays) {
    const HostRun result = run("press BLO_ACT 0\nselect FIELDS 1\ntype VALUE END|MILL\nok\ncancel\n" + save + "ok\n");
    EXPECT_NE(result.transcript.find("message \" Поле 'TYPE' содержит недопустимый символ ( | # или перевод строки )."
                                     "\\n Запись не изменена.\""),
              std::string::npos)
        << result.transcript;
    EXPECT_EQ(saved(), cp1251(two_sections));
}

// The file this session wrote is known as its own: a second save, within the
// file times' resolution, compares its content and asks nothing more than
// whether to save.
TEST_F(Kessup, ASecondSaveFindsTheFileAsTheFirstWroteIt) {
    const HostRun result = run("press BLO_ACT 2\nok\n" + save + "press BLO_ACT 1\n" + save + "ok\n");
    EXPECT_EQ(count_lines_starting(result.transcript, "box question owner=kessup.dlg caption=\"Сохранение ...\""), 2)
        << result.transcript;
    EXPECT_EQ(count_lines_starting(result.transcript, "box information"), 2) << result.transcript;
    EXPECT_EQ(result.transcript.find("изменен другим"), std::string::npos) << result.transcript;
}

TEST_F(Kessup, LeavingWithUnsavedChangesAsksFirst) {
    const HostRun result = run("press BLO_ACT 1\nok\nanswer no\nok\nanswer yes\n");
    EXPECT_EQ(count_lines_starting(result.transcript, "box question owner=kessup.dlg caption=\"Выход ...\""), 2);
    EXPECT_EQ(saved(), cp1251(two_sections));
}

TEST_F(Kessup, AMissingFileIsToldAndTheDialogStillOpens) {
    fs::remove(tool.file("tool_database.dat"));
    const HostRun result = run("ok\n");
    EXPECT_TRUE(lines_in_order(result.transcript,
                               {"box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"База Инструмента НЕ "
                                "доступна или НЕ существует \\n обратитесь к системному администратору.\" -> ok",
                                "dialog kessup.dlg open \"Инструмент\""}))
        << result.transcript;
}

TEST_F(Kessup, AnUnsetVariableIsNamed) {
    HostRunOptions options;
    options.plugins = {kessup};
    options.script = "ok\n";
    options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = std::nullopt;
    const HostRun result = run_host(options);
    EXPECT_NE(result.transcript.find("message \"Переменная UGII_CAM_LIBRARY_TOOL_METRIC_DIR - не установлена\""),
              std::string::npos)
        << result.transcript;
}

}  // namespace

// The tool-material editor and its record dialog, driven as a user drives them.
#include <sys/stat.h>

#include "record_editor_session.h"

namespace {

const std::string long_description =
    "Твердый сплав ТК для чистовой и получистовой обработки углеродистых и легированных сталей без удара";

const RecordEditor gradivo = {"gradivo", "LIST_TOOL_MATERIAL", "tool_materials.dat", "TMC0_",
                              "DATA|TMC0_0001|Р6М5|Быстрорежущая сталь\r\n"
                              "DATA|TMC0_0002|Т15К6|Твердый сплав ТК\r\n"
                              "DATA|TMC0_0003|ВК8|Твердый сплав ВК\r\n"
                              "DATA|TMC0_0004|Т5К10|" + long_description + "\r\n"
                              "DATA|TMC0_0005|ВК6-ОМ|Особомелкозернистый сплав\r\n"
                              "DATA|TMC0_0006|Р18|Быстрорежущая сталь вольфрамовая\r\n"};

// The list shows the first 80 characters of a description.
const std::vector<std::string> lines = {
    "Р6М5  = Быстрорежущая сталь",
    "Т15К6  = Твердый сплав ТК",
    "ВК8  = Твердый сплав ВК",
    "Т5К10  = Твердый сплав ТК для чистовой и получистовой обработки углеродистых и легированн",
    "ВК6-ОМ  = Особомелкозернистый сплав",
    "Р18  = Быстрорежущая сталь вольфрамовая",
};
const std::string new_line = "BT20  = Ti (высоколегированный)";
const std::string new_row = cp1251("|BT20|Ti (высоколегированный)\r\n");

std::string record_form(const std::string& reference, const std::string& name, const std::string& text) {
    const std::string item = "item gradivoedit.dlg ";
    return "dialog gradivoedit.dlg open \"Материал инструмента: запись\"\n" + item + "WIDE_NUM text \"" + reference +
           "\"\n" + item + "WIDE_MAT text \"" + name + "\"\n" + item + "WIDE_DISCRIPTION text \"" + text + "\"\n" +
           item + "WIDE_MAT focus\n";
}

class Gradivo : public RecordEditorSession {
protected:
    Gradivo() : RecordEditorSession(gradivo) {}
};

// 1. Opening.
TEST_F(Gradivo, OpensWithEveryMaterialAndLeavesTheReturnCodeAlone) {
    EXPECT_EQ(run("press BLO_ACT 6\nok\n").transcript,
              "load gradivo.so\ndialog gradivo.dlg open \"Материал инструмента\"\n" + listed(lines, 0) +
                  "> press BLO_ACT 6\n"
                  "> ok\n"
                  "dialog gradivo.dlg closed response=2\n"
                  "ufusr returned retcode=-1\n"
                  "ufusr_ask_unload returned 1\n"
                  "unload gradivo.so\n");
}

TEST_F(Gradivo, OnAnEmptyFileEditWithoutASelectionAddsARowThatIsShownAndListed) {
    library.write("tool_materials.dat", "");
    const HostRun run = this->run("press BLO_ACT 0\nok\npress BLO_ACT 3\nok\nanswer yes\n");
    const std::string reference = offered_reference(run.transcript);
    EXPECT_EQ(between(run.transcript, "dialog gradivo.dlg open \"Материал инструмента\"", "> ok"),
              "> press BLO_ACT 0\n" + record_form(reference, "BT20", "Ti (высоколегированный)"));
    EXPECT_EQ(between(run.transcript, "> ok", "> press BLO_ACT 3"),
              "dialog gradivoedit.dlg closed response=2\n" + list_of({new_line}, 0));
    // A row made here has no load position.
    EXPECT_NE(listing_text(run.transcript).find("\n# Count=1\n# SaveFlag=0\n# Name=" + library.file("tool_materials.dat") +
                                                " \n#-----------------------------------------------------------\n"
                                                "FORMAT LIBRF MATNAM MATDESC\nDATA|" + reference +
                                                "|BT20|Ti (высоколегированный)  :util(0)\n\n "),
              std::string::npos)
        << listing_text(run.transcript);
}

// 2. The record dialog.
TEST_F(Gradivo, NewOffersDefaultsAndOnlyOkStoresThem) {
    const HostRun run = this->run("press BLO_ACT 2\nactivate WIDE_NUM\nactivate WIDE_DISCRIPTION\nactivate WIDE_MAT\n"
                                  "press BLO_ACT 2\ncancel\npress BLO_ACT 2\nok\n" + save_yes + "ok\n");
    // Enter in the name field ends the dialog as Cancel does; Enter elsewhere does nothing.
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 2", "> press BLO_ACT 2"),
              record_form(offered_reference(run.transcript), "BT20", "Ti (высоколегированный)") +
                  "> activate WIDE_NUM\n> activate WIDE_DISCRIPTION\n> activate WIDE_MAT\n"
                  "dialog gradivoedit.dlg closed response=4\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> cancel", "dialog gradivoedit.dlg closed response=3",
                                                "> press BLO_ACT 2", "> ok"}));
    EXPECT_EQ(between(run.transcript, "> ok", "> press BLO_ACT 5"),
              "dialog gradivoedit.dlg closed response=2\n" + list_of(with(lines, 6, new_line), 6));
    const std::string stored = offered_reference(between(run.transcript, "> cancel", "> ok"));
    EXPECT_EQ(saved(), saved_rows() + "DATA|" + stored + new_row);
}

TEST_F(Gradivo, EditStoresTheFieldsOverTheRowAsTyped) {
    const HostRun run = this->run("select LIST_TOOL_MATERIAL 3\npress BLO_ACT 0\ntype WIDE_NUM \"\"\n"
                                  "type WIDE_MAT Т5К10М\nok\n" + save_yes + "ok\n");
    EXPECT_EQ(between(run.transcript, "> select LIST_TOOL_MATERIAL 3", "> press BLO_ACT 5"),
              "> press BLO_ACT 0\n" + record_form("TMC0_0004", "Т5К10", long_description) +
                  "> type WIDE_NUM \"\"\n> type WIDE_MAT Т5К10М\n> ok\ndialog gradivoedit.dlg closed response=2\n" +
                  list_of(with(lines, 3, "Т5К10М" + lines[3].substr(lines[3].find("  = "))), 3));
    // An empty reference is stored as it was typed.
    const std::string edited = "TMC0_0004|Т5К10|";
    std::string expected = gradivo.rows;
    expected.replace(expected.find(edited), edited.size(), "|Т5К10М|");
    EXPECT_EQ(saved(), header() + cp1251(expected));
}

TEST_F(Gradivo, AValueTheFileCannotHoldKeepsTheDialogOpenAndCancelKeepsTheRow) {
    const std::string too_long(133, 'D');
    const HostRun run = this->run("press BLO_ACT 0\ntype WIDE_MAT ВК#8\nok\ntype WIDE_MAT ВК8\ntype WIDE_DISCRIPTION " +
                                  too_long + "\nok\ncancel\n" + save_yes + "ok\n");
    EXPECT_EQ(between(run.transcript, "> type WIDE_MAT ВК#8", "> cancel"),
              "> ok\n"
              "message \" Поле 'Название материала' содержит недопустимый символ ( | # или перевод строки ).\\n Запись не "
              "изменена.\"\n"
              "> type WIDE_MAT ВК8\n> type WIDE_DISCRIPTION " + too_long + "\n> ok\n"
              "message \" Поле 'Описание материала' длиннее 132 знаков.\\n Запись не изменена.\"\n");
    EXPECT_EQ(saved(), saved_rows());
}

TEST_F(Gradivo, ARecordDialogThatCannotBeCreatedIsReported) {
    const HostRun run = this->run("press BLO_ACT 0\nfail UF_STYLER_create_dialog\nok\n");
    EXPECT_EQ(between(run.transcript, "> fail UF_STYLER_create_dialog", "> ok"), record_dialog_not_created());
}

// 3. Delete, Load and Save.
TEST_F(Gradivo, DeleteSelectsTheLineBeforeAndLoadBringsTheFileBack) {
    const HostRun run = this->run("select LIST_TOOL_MATERIAL 5\npress BLO_ACT 1\nselect LIST_TOOL_MATERIAL 1\n"
                                  "press BLO_ACT 1\npress BLO_ACT 4\nok\n");
    EXPECT_EQ(between(run.transcript, "> select LIST_TOOL_MATERIAL 5", "> ok"),
              "> press BLO_ACT 1\n" + list_of({lines[0], lines[1], lines[2], lines[3], lines[4]}, 4) +
                  "> select LIST_TOOL_MATERIAL 1\n> press BLO_ACT 1\n" +
                  list_of({lines[0], lines[2], lines[3], lines[4]}, 0) + "> press BLO_ACT 4\n" +
                  list_of(lines, 0));
}

TEST_F(Gradivo, AFailedLoadShowsWhatASaveWrites) {
    const HostRun run = this->run("press BLO_ACT 1\nremove " + library.file("tool_materials.dat") +
                                  "\npress BLO_ACT 4\n" + save_yes + "ok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 4", "> press BLO_ACT 5"),
              failed_load(std::vector<std::string>(lines.begin() + 1, lines.end())));
    EXPECT_EQ(saved(), saved_rows("DATA|TMC0_0002"));
}

TEST_F(Gradivo, SaveDeclinedWritesNothingAndAReadOnlyFileIsRefused) {
    run("press BLO_ACT 1\npress BLO_ACT 5\nanswer no\nok\nanswer yes\n");
    EXPECT_EQ(saved(), cp1251(gradivo.rows));
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: file permissions do not hold";
    chmod(library.file("tool_materials.dat").c_str(), 0444);
    const HostRun run = this->run("press BLO_ACT 1\npress BLO_ACT 5\nok\nanswer yes\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 5", "> ok"), cannot_save_box("gradivo") + "\n");
    EXPECT_EQ(saved(), cp1251(gradivo.rows));
}

// 4. The listing, and the file as the feeds-and-speeds editor reads it.
TEST_F(Gradivo, TheListingShowsTheGuideAndEveryRowWithItsLoadPosition) {
    const HostRun run = this->run("select LIST_TOOL_MATERIAL 1\npress BLO_ACT 1\npress BLO_ACT 3\nok\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 3", "listing open"}));
    EXPECT_EQ(listing_text(run.transcript), expected_listing("gradivo_listing.txt", library));
}

TEST_F(Gradivo, ASavedFileLoadsUnchangedIntoTheFeedsEditorsPickList) {
    run("press BLO_ACT 2\ntype WIDE_MAT ВК10-ХОМ\nok\n" + save_yes + "ok\n");
    EXPECT_TRUE(feeds_pick_list_shows("TOOLMAT", with(lines, 6, "ВК10-ХОМ  = Ti (высоколегированный)")));
}

}  // namespace

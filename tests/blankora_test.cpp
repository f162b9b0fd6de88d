// The part-material editor, driven as a user drives it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "small_library.h"
#include "test_text.h"

namespace {

HostRun run_blankora(const ScratchDirectory& library, const std::string& script) {
    return run_editor("blankora", library, script);
}

const std::string steel = "ST45  =  Сталь 45  =  HB 200  =  Сталь конструкционная";
const std::string alloy = "D16T  =  Д16Т  =    =  Алюминиевый сплав";

std::string shown(const char* reference, const char* code, const char* name, const char* hardness,
                  const char* description) {
    const std::string item = "item blankora.dlg ";
    return item + "LIBREF text \"" + reference + "\"\n" + item + "MATCODE text \"" + code + "\"\n" + item +
           "MATNAME text \"" + name + "\"\n" + item + "HARDNESS text \"" + hardness + "\"\n" + item +
           "PARTMAT text \"" + description + "\"\n";
}

const std::string shown_steel = shown("MAT0_0001", "ST45", "Сталь 45", "HB 200", "Сталь конструкционная");
const std::string shown_alloy = shown("MAT0_0002", "D16T", "Д16Т", "", "Алюминиевый сплав");

std::string list_of(const std::vector<std::string>& lines, int selected) {
    std::string text = "item blankora.dlg LIST delete all\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += "item blankora.dlg LIST insert " + std::to_string(i) + " \"" + lines[i] + "\"\n";
    }
    return text + "item blankora.dlg LIST select " + std::to_string(selected) + "\n";
}

// The data lines of the saved file, its header left out.
std::string saved_rows(const ScratchDirectory& library) {
    const std::string bytes = library.read("part_materials.dat");
    return bytes.substr(std::min(bytes.find("DATA|"), bytes.size()));
}

const std::string browsing =
    "item blankora.dlg LIST sensitive 1\n"
    "item blankora.dlg BLO_ACT buttons sensitive 1\n"
    "item blankora.dlg SW_EDIT sensitive 0\n";

class Blankora : public ::testing::Test {
protected:
    void SetUp() override { write_small_library(library); }
    ScratchDirectory library;
};

TEST_F(Blankora, OpensWithTheListAndTheFirstMaterial) {
    const HostRun run = run_blankora(library, "select LIST 1\nok\n");
    EXPECT_EQ(between(run.transcript, "dialog blankora.dlg open \"Материал заготовки\"", "> select LIST 1"),
              "item blankora.dlg SW_EDIT sensitive 0\n"
              "item blankora.dlg LIST insert 0 \"" + steel + "\"\n"
              "item blankora.dlg LIST insert 1 \"" + alloy + "\"\n"
              "item blankora.dlg LIST select 0\n" + shown_steel);
    EXPECT_EQ(between(run.transcript, "> select LIST 1", "> ok"), shown_alloy);
}

TEST_F(Blankora, AMissingFileOpensAnEmptyDialogAndNewStartsTheTable) {
    std::filesystem::remove(library.file("part_materials.dat"));
    const HostRun run = run_blankora(library, "press BLO_ACT 1\ntype MATCODE 12X18H10T\npress BLO_ACTION 0\n"
                                              "press BLO_ACT 5\nanswer yes\nok\n");
    // The probe finds no file, says so, and leaves an empty one; the dialog opens on it.
    EXPECT_TRUE(lines_in_order(run.transcript, {"box error owner=host caption=\"Проверка чтения-записи ->.\" "
                                                "text=\"База Материала НЕ доступна или НЕ существует \\n обратитесь "
                                                "к системному администратору.\" -> ok",
                                                "item blankora.dlg SW_EDIT sensitive 0", "> press BLO_ACT 1",
                                                "item blankora.dlg MATCODE focus",
                                                "item blankora.dlg LIST insert 0 \"12X18H10T  =    =    =  \"",
                                                "item blankora.dlg LIST select 0"}));
    const std::string file = library.read("part_materials.dat");
    EXPECT_NE(file.find("\r\nDATA|12X18H10T||||MAT0_"), std::string::npos) << file;
}

TEST_F(Blankora, EditAndApplyStoresWhatWasTyped) {
    const HostRun run = run_blankora(library, "select LIST 1\npress BLO_ACT 0\ntype HARDNESS HB 120\n"
                                              "type MATNAME Д16Т закаленный\npress BLO_ACTION 0\n"
                                              "press BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 0", "> press BLO_ACT 5"),
              list_of({steel, "D16T  =  Д16Т закаленный  =  HB 120  =  Алюминиевый сплав"}, 1) + browsing);
    EXPECT_NE(library.read("part_materials.dat").find(cp1251("DATA|D16T|Д16Т закаленный|Алюминиевый сплав|HB 120|MAT0_0002\r\n")),
              std::string::npos);
}

TEST_F(Blankora, NewCopiesTheShownMaterialUnderAFreshReferenceAndDiscardAddsNothing) {
    const HostRun run = run_blankora(library, "press BLO_ACT 1\npress BLO_ACTION 0\n"
                                              "press BLO_ACT 1\npress BLO_ACTION 1\nok\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 1", "item blankora.dlg MATCODE focus",
                                                "> press BLO_ACTION 0"}));
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 0", "> press BLO_ACT 1"),
              list_of({steel, alloy, steel}, 2) + browsing);
    // Discard shows the selected (new) material again.
    const std::string discarded = between(run.transcript, "> press BLO_ACTION 1", "> ok");
    EXPECT_EQ(discarded.substr(0, 35), "item blankora.dlg LIBREF text \"MAT0");
    EXPECT_EQ(discarded.substr(discarded.find('\n') + 1), shown_steel.substr(shown_steel.find('\n') + 1) + browsing);
}

TEST_F(Blankora, DeleteAndLoadShowTheNewlySelectedMaterial) {
    const HostRun run = run_blankora(library, "press BLO_ACT 2\npress BLO_ACT 4\nselect LIST 1\n"
                                              "press BLO_ACT 2\npress BLO_ACT 2\npress BLO_ACT 2\nok\nanswer yes\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 2", "> press BLO_ACT 4"), list_of({alloy}, 0) + shown_alloy);
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 4", "> select LIST 1"),
              list_of({steel, alloy}, 0) + shown_steel);
    // Deleting row 1 selects row 0; deleting the only row leaves an empty list and the fields alone.
    EXPECT_TRUE(lines_in_order(run.transcript, {"> select LIST 1", "> press BLO_ACT 2", "item blankora.dlg LIST select 0",
                                                "> press BLO_ACT 2", "item blankora.dlg LIST delete all",
                                                "> press BLO_ACT 2", "> ok"}));
    EXPECT_NE(run.transcript.find("> press BLO_ACT 2\nitem blankora.dlg LIST delete all\n> press BLO_ACT 2\n> ok\n"),
              std::string::npos);
}

// A refused apply stores nothing and puts the selected material back into the
// fields: what was refused is not left there for the next Edit to trip over.
TEST_F(Blankora, AnEditThatTheFileCannotHoldIsRefusedAndTheFieldsShowTheMaterialAgain) {
    const std::string bad_character =
        "message \" Поле 'Описание материала' содержит недопустимый символ ( | # или перевод строки ).\\n Запись не "
        "изменена.\"\n";
    const std::string too_long = "message \" Поле 'Твердость' длиннее 19 знаков.\\n Запись не изменена.\"\n";
    const HostRun run = run_blankora(library, "press BLO_ACT 0\ntype PARTMAT сталь #2\npress BLO_ACTION 0\n"
                                              "press BLO_ACT 0\ntype HARDNESS HRC 28-32 после закалки\n"
                                              "press BLO_ACTION 0\npress BLO_ACT 0\ntype MATCODE Ст45\n"
                                              "press BLO_ACTION 0\npress BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(between(run.transcript, "> type PARTMAT сталь #2", "> press BLO_ACT 0"),
              "> press BLO_ACTION 0\n" + bad_character + shown_steel + browsing);
    EXPECT_EQ(between(run.transcript, "> type HARDNESS HRC 28-32 после закалки", "> press BLO_ACT 0"),
              "> press BLO_ACTION 0\n" + too_long + shown_steel + browsing);
    // The third edit carries neither refused value along, so it is stored.
    EXPECT_EQ(between(run.transcript, "> type MATCODE Ст45", "> press BLO_ACT 5"),
              "> press BLO_ACTION 0\n" + list_of({"Ст45  =  Сталь 45  =  HB 200  =  Сталь конструкционная", alloy}, 0) +
                  browsing);
    EXPECT_NE(library.read("part_materials.dat").find(cp1251("DATA|Ст45|Сталь 45|Сталь конструкционная|HB 200|MAT0_0001\r\n")),
              std::string::npos);
}

// A refused New left its generated reference in "LIBREF", and the
// next Edit stored it as the key of the selected material.
TEST_F(Blankora, ARefusedNewLeavesNoReferenceForTheNextEdit) {
    const HostRun run = run_blankora(library, "select LIST 1\npress BLO_ACT 1\ntype MATCODE Д16|Т\n"
                                              "press BLO_ACTION 0\npress BLO_ACT 0\npress BLO_ACTION 0\n"
                                              "press BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(between(run.transcript, "> type MATCODE Д16|Т", "> press BLO_ACT 0"),
              "> press BLO_ACTION 0\n"
              "message \" Поле 'Код материала' содержит недопустимый символ ( | # или перевод строки ).\\n Запись не "
              "изменена.\"\n" + shown_alloy + browsing);
    EXPECT_EQ(saved_rows(library),
              cp1251("DATA|ST45|Сталь 45|Сталь конструкционная|HB 200|MAT0_0001\r\n"
                     "DATA|D16T|Д16Т|Алюминиевый сплав||MAT0_0002\r\n"));
}

// After a failed Load row 0 was selected while the fields still
// showed the material selected before, and Edit + apply copied it over row 0.
TEST_F(Blankora, AFailedLoadShowsWhatASaveWouldWriteAndTheSelectedMaterial) {
    const HostRun run = run_blankora(library, "select LIST 1\nremove " + library.file("part_materials.dat") +
                                                  "\npress BLO_ACT 4\npress BLO_ACT 0\npress BLO_ACTION 0\n"
                                                  "press BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 4", "> press BLO_ACT 0"),
              "item blankora.dlg LIST delete all\n"
              "box error owner=blankora.dlg caption=\"Ошибка - загрузки Базы\" text=\" Невозможно загрузить Базу\\n "
              "Обратитесь к сист. администратору\" -> ok\n"
              "item blankora.dlg LIST insert 0 \"" + steel + "\"\n"
              "item blankora.dlg LIST insert 1 \"" + alloy + "\"\n"
              "item blankora.dlg LIST select 0\n" + shown_steel);
    EXPECT_EQ(saved_rows(library),
              cp1251("DATA|ST45|Сталь 45|Сталь конструкционная|HB 200|MAT0_0001\r\n"
                     "DATA|D16T|Д16Т|Алюминиевый сплав||MAT0_0002\r\n"));
}

TEST_F(Blankora, TheListingShowsTheGuideAndTheTableAsItsFile) {
    const HostRun run = run_blankora(library, "press BLO_ACT 3\nok\n");
    EXPECT_EQ(listing_text(run.transcript), expected_listing("blankora_listing.txt", library));
}

TEST_F(Blankora, ASavedFileLoadsUnchangedIntoTheFeedsEditorsPickList) {
    run_blankora(library, "press BLO_ACT 1\ntype MATCODE ВТ6\ntype MATNAME Титан ВТ6\npress BLO_ACTION 0\n"
                          "press BLO_ACT 5\nanswer yes\nok\n");
    HostRunOptions options;
    options.plugins = {std::string(APPLICATION_DIR) + "/ratomir.so"};
    options.script = "ok\n";
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
    const HostRun run = run_host(options);
    EXPECT_TRUE(lines_in_order(run.transcript, {"item ratomir.dlg PARTMAT entries 3",
                                                "item ratomir.dlg PARTMAT entry 2 \"ВТ6  =  Титан ВТ6  =  HB 200  =  "
                                                "Сталь конструкционная\""}));
    EXPECT_EQ(count_lines_starting(run.transcript, "box"), 0) << run.transcript;
}

}  // namespace

// The cut-method editor and its record dialog, driven as a user drives them.
#include <sys/stat.h>

#include <filesystem>

#include "record_editor_session.h"

namespace {

const std::string long_description =
    "Черновое фрезерование плоскостей, уступов и контуров торцовыми и концевыми фрезами по литейной корке";

// Modes in either case, an empty one and one that is none of the three.
const RecordEditor strakel = {"strakel", "LIST_CUTS", "cut_methods.dat", "OPD0_",
                              "DATA|OPD0_0001|MILL|Фрезерование черновое|" + long_description + "\r\n"
                              "DATA|OPD0_0002|drill|Сверление|Сверление отверстий\r\n"
                              "DATA|OPD0_0003||Без режима|Режим не задан\r\n"
                              "DATA|OPD0_0004|LATHE|Точение|Точение наружное\r\n"
                              "DATA|OPD0_0005|Milling|Фрезерование пазов|Пазы и уступы\r\n"
                              "DATA|OPD0_0006|lathe|Резьба|Нарезание резьбы\r\n"};

// The list shows the first 80 characters of a description.
const std::vector<std::string> lines = {
    "OPD0_0001 | MILL  = Фрезерование черновое  = Черновое фрезерование плоскостей, уступов и контуров торцовыми и "
    "концевыми фреза",
    "OPD0_0002 | drill  = Сверление  = Сверление отверстий",
    "OPD0_0003 |   = Без режима  = Режим не задан",
    "OPD0_0004 | LATHE  = Точение  = Точение наружное",
    "OPD0_0005 | Milling  = Фрезерование пазов  = Пазы и уступы",
    "OPD0_0006 | lathe  = Резьба  = Нарезание резьбы",
};

std::string record_form(const std::string& reference, int mode, const std::string& name, const std::string& text) {
    const std::string item = "item strakeledit.dlg ";
    return "dialog strakeledit.dlg open \"Метод резания\"\n" + item + "WIDE_NUM text \"" + reference + "\"\n" + item +
           "MODE_CUTS select " + std::to_string(mode) + "\n" + item + "WIDE_MAT text \"" + name + "\"\n" + item +
           "WIDE_DISCRIPTION text \"" + text + "\"\n" + item + "WIDE_MAT focus\n";
}

class Strakel : public RecordEditorSession {
protected:
    Strakel() : RecordEditorSession(strakel) {}
};

// 1. Opening.
TEST_F(Strakel, OpensWithEveryMethodAndTheFirstSelected) {
    EXPECT_EQ(run("press BLO_ACT 6\nok\n").transcript,
              "load strakel.so\ndialog strakel.dlg open \"Методы резания\"\n" + listed(lines, 0) +
                  "> press BLO_ACT 6\n"
                  "> ok\n"
                  "dialog strakel.dlg closed response=2\n"
                  "ufusr returned retcode=0\n"
                  "ufusr_ask_unload returned 1\n"
                  "unload strakel.so\n");
}

TEST_F(Strakel, AnEmptyFileListsNothingAndHasNothingToSave) {
    library.write("cut_methods.dat", "# no methods yet\r\n");
    EXPECT_EQ(between(run("press BLO_ACT 5\nok\n").transcript, "dialog strakel.dlg open \"Методы резания\"", "> ok"),
              "> press BLO_ACT 5\nmessage \"В Базе нет элементов\\n Сохранение прервано...\"\n");
}

TEST_F(Strakel, OnAMissingFileEditWithoutASelectionAddsARowThatIsShown) {
    std::filesystem::remove(library.file("cut_methods.dat"));
    const HostRun run = this->run("press BLO_ACT 0\nok\n" + save_yes + "ok\n");
    const std::string reference = offered_reference(run.transcript);
    EXPECT_EQ(between(run.transcript, "load strakel.so", "> ok"),
              "beep\n"
              "box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"База Методов резания НЕ доступна или "
              "НЕ существует \\n обратитесь к системному администратору.\" -> ok\n"
              "dialog strakel.dlg open \"Методы резания\"\n"
              "> press BLO_ACT 0\n" + record_form(reference, 0, "-", "0"));
    EXPECT_EQ(between(run.transcript, "> ok", "> press BLO_ACT 5"),
              "dialog strakeledit.dlg closed response=2\n" + list_of({reference + " | MILL  = -  = 0"}, 0));
    EXPECT_EQ(saved(), header() + "DATA|" + reference + "|MILL|-|0\r\n");
}

// 2. The record dialog.
TEST_F(Strakel, NewOffersAFreshReferenceAndDefaultsAndOkAppendsThem) {
    const HostRun run = this->run("press BLO_ACT 2\nok\n" + save_yes + "ok\n");
    const std::string reference = offered_reference(run.transcript);
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 2", "> ok"), record_form(reference, 0, "-", "0"));
    EXPECT_EQ(between(run.transcript, "> ok", "> press BLO_ACT 5"),
              "dialog strakeledit.dlg closed response=2\n" + list_of(with(lines, 6, reference + " | MILL  = -  = 0"), 6));
    EXPECT_EQ(saved(), saved_rows() + "DATA|" + reference + "|MILL|-|0\r\n");
}

TEST_F(Strakel, EditShowsTheModeInAnyCaseAndOkStoresItInUpperCase) {
    std::string script = "press BLO_ACT 0\nselect MODE_CUTS 1\ntype WIDE_MAT Сверление глубокое\nok\n";
    for (int row = 1; row < 6; ++row) script += "select LIST_CUTS " + std::to_string(row) + "\npress BLO_ACT 0\nok\n";
    const HostRun run = this->run(script + save_yes + "ok\n");
    const std::string first = "OPD0_0001 | DRILL  = Сверление глубокое  = " + lines[0].substr(lines[0].rfind("  = ") + 4);
    EXPECT_EQ(between(run.transcript, "> select LIST_CUTS 1", "> select LIST_CUTS 2"),
              "> press BLO_ACT 0\n" + record_form("OPD0_0002", 1, "Сверление", "Сверление отверстий") +
                  "> ok\ndialog strakeledit.dlg closed response=2\n" +
                  list_of(with(with(lines, 0, first), 1, "OPD0_0002 | DRILL  = Сверление  = Сверление отверстий"), 1));
    std::vector<int> choices;
    const std::regex shown_mode("item strakeledit.dlg MODE_CUTS select (\\d)");
    for (std::sregex_iterator it(run.transcript.begin(), run.transcript.end(), shown_mode), end; it != end; ++it) {
        choices.push_back(std::stoi((*it)[1]));
    }
    EXPECT_EQ(choices, (std::vector<int>{0, 1, 0, 2, 0, 2}));
    EXPECT_EQ(saved(), header() + cp1251("DATA|OPD0_0001|DRILL|Сверление глубокое|" + long_description + "\r\n"
                                         "DATA|OPD0_0002|DRILL|Сверление|Сверление отверстий\r\n"
                                         "DATA|OPD0_0003|MILL|Без режима|Режим не задан\r\n"
                                         "DATA|OPD0_0004|LATHE|Точение|Точение наружное\r\n"
                                         "DATA|OPD0_0005|MILL|Фрезерование пазов|Пазы и уступы\r\n"
                                         "DATA|OPD0_0006|LATHE|Резьба|Нарезание резьбы\r\n"));
}

TEST_F(Strakel, CancelAndEnterInTheReferenceFieldStoreNothing) {
    const HostRun run = this->run(
        "press BLO_ACT 0\ntype WIDE_MAT другое\nselect MODE_CUTS 2\nactivate WIDE_MAT\nactivate WIDE_DISCRIPTION\n"
        "cancel\npress BLO_ACT 2\nactivate WIDE_NUM\nselect LIST_CUTS 2\npress BLO_ACT 0\ntype WIDE_NUM OPD0_0099\n"
        "activate WIDE_NUM\n" + save_yes + "ok\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> activate WIDE_DISCRIPTION", "> cancel",
                                                "dialog strakeledit.dlg closed response=3", "> activate WIDE_NUM",
                                                "dialog strakeledit.dlg closed response=4", "> activate WIDE_NUM",
                                                "dialog strakeledit.dlg closed response=4", "> press BLO_ACT 5"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "dialog strakeledit.dlg closed"), 3);
    EXPECT_EQ(count_lines_starting(run.transcript, "item strakel.dlg LIST_CUTS"), 7) << "only the first listing";
    EXPECT_EQ(saved(), saved_rows());
}

TEST_F(Strakel, AValueTheFileCannotHoldKeepsTheDialogOpenUntilItIsPutRight) {
    const std::string at_limit_name(49, 'N');
    const std::string at_limit_text(132, 'D');
    const HostRun run = this->run(
        "press BLO_ACT 2\ntype WIDE_DISCRIPTION a|b\nok\ntype WIDE_DISCRIPTION \"две\\nстроки\"\nok\n"
        "type WIDE_DISCRIPTION " + at_limit_text + "\ntype WIDE_NUM OPD0#7\nok\ntype WIDE_NUM OPD0_0123456789ABCDE\nok\n"
        "type WIDE_NUM OPD0_0123456789ABCD\ntype WIDE_MAT " + at_limit_name + "N\nok\n"
        "type WIDE_MAT " + at_limit_name + "\nok\n" + save_yes + "ok\n");
    const std::string bad = " содержит недопустимый символ ( | # или перевод строки ).\\n Запись не изменена.\"";
    EXPECT_TRUE(lines_in_order(run.transcript, {"message \" Поле 'Описание метода'" + bad,
                                                "message \" Поле 'Описание метода'" + bad,
                                                "message \" Поле 'Идентификатор записи'" + bad,
                                                "message \" Поле 'Идентификатор записи' длиннее 19 знаков.\\n Запись не "
                                                "изменена.\"",
                                                "message \" Поле 'Название метода' длиннее 49 знаков.\\n Запись не "
                                                "изменена.\""}));
    EXPECT_EQ(count_lines_starting(run.transcript, "dialog strakeledit.dlg closed"), 1);
    EXPECT_EQ(saved(), saved_rows() + "DATA|OPD0_0123456789ABCD|MILL|" + at_limit_name + "|" + at_limit_text + "\r\n");
}

TEST_F(Strakel, ARecordDialogThatCannotBeCreatedIsReported) {
    const HostRun run = this->run("press BLO_ACT 2\nfail UF_STYLER_create_dialog\nok\n");
    EXPECT_EQ(between(run.transcript, "> fail UF_STYLER_create_dialog", "> ok"), record_dialog_not_created());
}

// 3. Delete, Load and Save.
TEST_F(Strakel, DeleteSelectsTheLineBefore) {
    const HostRun run = this->run("select LIST_CUTS 5\npress BLO_ACT 1\nselect LIST_CUTS 1\npress BLO_ACT 1\n"
                                  "press BLO_ACT 1\npress BLO_ACT 1\npress BLO_ACT 1\npress BLO_ACT 1\n"
                                  "press BLO_ACT 1\nok\nanswer yes\n");
    EXPECT_EQ(between(run.transcript, "> select LIST_CUTS 5", "> select LIST_CUTS 1"),
              "> press BLO_ACT 1\n" + list_of({lines[0], lines[1], lines[2], lines[3], lines[4]}, 4));
    EXPECT_EQ(between(run.transcript, "> select LIST_CUTS 1", "> ok"),
              "> press BLO_ACT 1\n" + list_of({lines[0], lines[2], lines[3], lines[4]}, 0) + "> press BLO_ACT 1\n" +
                  list_of({lines[2], lines[3], lines[4]}, 0) + "> press BLO_ACT 1\n" + list_of({lines[3], lines[4]}, 0) +
                  "> press BLO_ACT 1\n" + list_of({lines[4]}, 0) +
                  "> press BLO_ACT 1\nitem strakel.dlg LIST_CUTS delete all\n> press BLO_ACT 1\n");
}

TEST_F(Strakel, LoadDropsUnsavedChangesAndAFailedLoadShowsWhatASaveWrites) {
    const HostRun run = this->run("press BLO_ACT 1\npress BLO_ACT 4\npress BLO_ACT 1\nremove " +
                                  library.file("cut_methods.dat") + "\npress BLO_ACT 4\n" + save_yes + "ok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 4", "> press BLO_ACT 1"),
              list_of(lines, 0));
    const std::vector<std::string> kept(lines.begin() + 1, lines.end());
    EXPECT_EQ(between(run.transcript, "> remove " + library.file("cut_methods.dat"), "> press BLO_ACT 5"),
              list_of(kept, 0) + "> press BLO_ACT 4\n" + failed_load(kept));
    EXPECT_EQ(saved(), saved_rows("DATA|OPD0_0002"));
}

TEST_F(Strakel, SaveDeclinedWritesNothingAndAReadOnlyFileIsRefused) {
    run("press BLO_ACT 1\npress BLO_ACT 5\nanswer no\nok\nanswer yes\n");
    EXPECT_EQ(saved(), cp1251(strakel.rows));
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: file permissions do not hold";
    chmod(library.file("cut_methods.dat").c_str(), 0444);
    const HostRun run = this->run("press BLO_ACT 1\npress BLO_ACT 5\npress BLO_ACT 3\nok\nanswer yes\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 5", "> press BLO_ACT 3"), cannot_save_box("strakel") + "\n");
    EXPECT_NE(listing_text(run.transcript).find("\n# Count=5\n# SaveFlag=-1\n"), std::string::npos);
    EXPECT_EQ(saved(), cp1251(strakel.rows));
}

// 4. The listing, and the file as the feeds-and-speeds editor reads it.
TEST_F(Strakel, TheListingShowsTheGuideAndTheTableAsASaveWritesIt) {
    const HostRun run = this->run("press BLO_ACT 3\nok\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 3", "listing open"}));
    EXPECT_EQ(listing_text(run.transcript), expected_listing("strakel_listing.txt", library));
}

TEST_F(Strakel, ASavedFileLoadsUnchangedIntoTheFeedsEditorsPickList) {
    const HostRun run = this->run("press BLO_ACT 2\nselect MODE_CUTS 2\ntype WIDE_MAT Расточка\n"
                                  "type WIDE_DISCRIPTION Растачивание отверстий\nok\n" + save_yes + "ok\n");
    const std::string added = offered_reference(run.transcript) + " | LATHE  = Расточка  = Растачивание отверстий";
    EXPECT_TRUE(feeds_pick_list_shows("OPERTYPE", with(lines, 6, added)));
}

}  // namespace

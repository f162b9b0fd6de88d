// The feeds-and-speeds editor, driven as a user drives it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "small_library.h"
#include "test_text.h"

namespace {

HostRunOptions ratomir_run(const ScratchDirectory& library, const std::string& script) {
    HostRunOptions options;
    options.plugins = {std::string(APPLICATION_DIR) + "/ratomir.so"};
    options.script = script;
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
    return options;
}

HostRun run_ratomir(const ScratchDirectory& library, const std::string& script) {
    HostRun run = run_host(ratomir_run(library, script));
    EXPECT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    return run;
}

std::string shown_row(const char* reference, int cut, int part, int tool, const char* depth, const char* index1,
                       const char* index2, const char* speed, const char* feed) {
    const std::string item = "item ratomir.dlg ";
    return item + "LIBREF text \"" + reference + "\"\n" + item + "OPERTYPE select " + std::to_string(cut) + "\n" +
           item + "PARTMAT select " + std::to_string(part) + "\n" + item + "TOOLMAT select " + std::to_string(tool) +
           "\n" + item + "DPT_CUT_MM real " + depth + "\n" + item + "INDEX1 real " + index1 + "\n" + item +
           "INDEX2 real " + index2 + "\n" + item + "SURF_SPEED_MPM real " + speed + "\n" + item + "FEED_MMPT real " +
           feed + "\n";
}

const std::string edit_state_on =
    "item ratomir.dlg LIST sensitive 0\n"
    "item ratomir.dlg BLO_ACT buttons sensitive 0\n"
    "item ratomir.dlg SW_EDIT sensitive 1\n";
const std::string edit_state_off =
    "item ratomir.dlg LIST sensitive 1\n"
    "item ratomir.dlg BLO_ACT buttons sensitive 1\n"
    "item ratomir.dlg SW_EDIT sensitive 0\n";

std::string small_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += "item ratomir.dlg LIST insert " + std::to_string(i) + " \"" + lines[i] + "\"\n";
    }
    return text;
}

std::string small_list(const std::vector<std::string>& lines) {
    return "item ratomir.dlg LIST delete all\n" + small_lines(lines);
}

const std::string line1 = "FSDO_0001  =  2.500  =  30.000  =  0.100 ";
const std::string line2 = "FSDO_0002  =  1.000  i1=  1.00  i2=  2.00 =  80.000  =  0.050 ";
const std::string line3 = "FSDO_0003  =  0.500  =  120.000  =  0.080 ";
const std::string line4 = "FSDO_0004  =  4.000  =  25.000  =  0.120 ";

class Ratomir : public ::testing::Test {
protected:
    void SetUp() override { write_small_library(library); }
    std::string feeds_file() const { return library.read("feeds_speeds.dat"); }
    ScratchDirectory library;
};

// 1. Opening and selecting.
TEST_F(Ratomir, OpensWithTheListThePickListsAndTheFirstRow) {
    const HostRun run = run_ratomir(library, "ok\n");
    EXPECT_EQ(run.transcript,
              "load ratomir.so\n"
              "dialog ratomir.dlg open \"Режимы резания: подачи и скорости\"\n"
              "item ratomir.dlg SW_EDIT sensitive 0\n"
              "item ratomir.dlg LIST insert 0 \"" + line1 + "\"\n"
              "item ratomir.dlg LIST insert 1 \"" + line2 + "\"\n"
              "item ratomir.dlg LIST insert 2 \"" + line3 + "\"\n"
              "item ratomir.dlg LIST insert 3 \"" + line4 + "\"\n"
              "item ratomir.dlg LIST select 0\n"
              "item ratomir.dlg OPERTYPE entries 4\n"
              "item ratomir.dlg OPERTYPE entry 0 \"OPD0_0001 | MILL  = Фрезерование черновое  = Черновая обработка\"\n"
              "item ratomir.dlg OPERTYPE entry 1 \"opd0_0002 | DRILL  = Сверление  = Сверление отверстий\"\n"
              "item ratomir.dlg OPERTYPE entry 2 \"AB1 | LATHE  = Точение  = Точение наружное\"\n"
              "item ratomir.dlg OPERTYPE entry 3 \"AB12 | LATHE  = Точение чистовое  = Чистовое точение\"\n"
              "item ratomir.dlg TOOLMAT entries 2\n"
              "item ratomir.dlg TOOLMAT entry 0 \"Р6М5  = Быстрорежущая сталь\"\n"
              "item ratomir.dlg TOOLMAT entry 1 \"Т15К6  = Твердый сплав\"\n"
              "item ratomir.dlg PARTMAT entries 2\n"
              "item ratomir.dlg PARTMAT entry 0 \"ST45  =  Сталь 45  =  HB 200  =  Сталь конструкционная\"\n"
              "item ratomir.dlg PARTMAT entry 1 \"D16T  =  Д16Т  =    =  Алюминиевый сплав\"\n" +
                  shown_row("FSDO_0001", 0, 0, 0, "2.5", "0", "0", "30", "0.1") +
                  "> ok\n"
                  "dialog ratomir.dlg closed response=2\n"
                  "ufusr returned retcode=0\n"
                  "ufusr_ask_unload returned 1\n"
                  "unload ratomir.so\n");
}

// A list line shows 20 characters of the reference and the numbers rounded as
// printf rounds them; an index of its own, however small, shows both indexes.
TEST_F(Ratomir, ListLinesCutLongReferencesAndRoundAsPrintf) {
    library.write("feeds_speeds.dat",
                  "DATA|FSDO_LONG_REFERENCE_24|OPD0_0001|MAT0_0001|TMC0_0001|0|-2.5|0|0.125||30.0005|0|1e-9\r\n"
                  "DATA|FSDO_0002|OPD0_0001|MAT0_0001|TMC0_0001|0|1234567.8915|||0|0|0|-0\r\n");
    const HostRun run = run_ratomir(library, "ok\n");
    EXPECT_TRUE(lines_in_order(
        run.transcript,
        {"item ratomir.dlg LIST insert 0 \"FSDO_LONG_REFERENCE_  =  -2.500  i1=  0.00  i2=  0.12 =  30.000  =  0.000 \"",
         "item ratomir.dlg LIST insert 1 \"FSDO_0002  =  1234567.891  =  0.000  =  -0.000 \""}))
        << run.transcript;
}

TEST_F(Ratomir, SelectingARowResolvesItsReferences) {
    const HostRun run = run_ratomir(library, "select LIST 1\nselect LIST 2\nok\n");
    // Row 2: a lower-case cut-method reference in the table, a lower-case part reference in the row.
    EXPECT_EQ(between(run.transcript, "> select LIST 1", "> select LIST 2"),
              shown_row("FSDO_0002", 1, 1, 1, "1", "1", "2", "80", "0.05"));
    // Row 3: AB12 finds AB12, not the AB1 before it; MAT0_0009 matches nothing, so the first entry.
    EXPECT_EQ(between(run.transcript, "> select LIST 2", "> ok"),
              shown_row("FSDO_0003", 3, 0, 1, "0.5", "0", "0", "120", "0.08"));
}

TEST_F(Ratomir, AnEmptyFileOpensAnEmptyDialog) {
    library.write("feeds_speeds.dat", "# nothing yet\r\n");
    const HostRun run = run_ratomir(library, "ok\n");
    EXPECT_EQ(between(run.transcript, "dialog ratomir.dlg open \"Режимы резания: подачи и скорости\"", "> ok"),
              "item ratomir.dlg SW_EDIT sensitive 0\n");
}

TEST_F(Ratomir, AMissingPickListFileLeavesOneBlankEntryHoweverOftenItLoads) {
    std::filesystem::remove(library.file("tool_materials.dat"));
    const HostRun run = run_ratomir(library, "press BLO_ACT 4\npress BLO_ACT 4\nok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "item ratomir.dlg TOOLMAT entries 1"), 3) << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "item ratomir.dlg TOOLMAT entry 0 \"  = \""), 3);
    EXPECT_EQ(count_lines_starting(run.transcript, "box error owner=ratomir.dlg caption=\"Ошибка - загрузки Базы\" "
                                                   "text=\" Невозможно загрузить tool_materials"),
              3);
}

// 2. Editing in the dialog.
TEST_F(Ratomir, EditAndApplyStoresTheRowWithUpperCaseReferences) {
    const HostRun run = run_ratomir(library, "select LIST 1\npress BLO_ACT 0\ntype FEED_MMPT 0.07\n"
                                             "press BLO_ACTION 0\npress BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 0", "> press BLO_ACT 5"),
              small_list({line1, "FSDO_0002  =  1.000  i1=  1.00  i2=  2.00 =  80.000  =  0.070 ", line3, line4}) +
                  "item ratomir.dlg LIST select 1\n" + edit_state_off);
    EXPECT_NE(feeds_file().find("DATA|FSDO_0002|OPD0_0002|MAT0_0002|TMC0_0002|0.039|1.000|1.00|2.00|262.467|80.000|"
                                "0.003|0.070\r\n"),
              std::string::npos)
        << feeds_file();
}

TEST_F(Ratomir, NewAndApplyAddsTheShownValuesUnderAFreshReference) {
    const HostRun run = run_ratomir(library, "select LIST 3\npress BLO_ACT 1\npress BLO_ACTION 0\nok\nanswer yes\n");
    const std::string created = between(run.transcript, "> press BLO_ACT 1", "> press BLO_ACTION 0");
    ASSERT_EQ(created.substr(0, edit_state_on.size()), edit_state_on);
    const std::string reference_line = created.substr(edit_state_on.size(), created.find('\n', edit_state_on.size()) -
                                                                                 edit_state_on.size());
    ASSERT_EQ(reference_line.substr(0, 35), "item ratomir.dlg LIBREF text \"FSDO_");
    const std::string reference = reference_line.substr(30, reference_line.size() - 31);
    EXPECT_GE(reference.size(), 9u);
    EXPECT_LE(reference.size(), 10u);
    EXPECT_EQ(created.substr(edit_state_on.size() + reference_line.size() + 1), "item ratomir.dlg DPT_CUT_MM focus\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 0", "> ok"),
              small_list({line1, line2, line3, line4, reference + "  =  4.000  =  25.000  =  0.120 "}) +
                  "item ratomir.dlg LIST select 4\n" + edit_state_off);
}

TEST_F(Ratomir, NewReferencesAreNeverOnesTheTableHolds) {
    std::string script;
    for (int i = 0; i < 6; ++i) script += "press BLO_ACT 1\npress BLO_ACTION 0\n";
    const std::string held = feeds_file();
    const HostRun run = run_ratomir(library, script + "ok\nanswer yes\n");
    // What a New offers follows the reference field's opening for editing;
    // the table's rows are shown without it.
    const std::string offered = "item ratomir.dlg SW_EDIT sensitive 1\nitem ratomir.dlg LIBREF text \"";
    std::set<std::string> references;
    for (std::size_t at = run.transcript.find(offered); at != std::string::npos;
         at = run.transcript.find(offered, at + 1)) {
        const std::size_t start = at + offered.size();
        const std::string reference = run.transcript.substr(start, run.transcript.find('"', start) - start);
        EXPECT_EQ(held.find("|" + reference + "|"), std::string::npos) << reference;
        references.insert(reference);
    }
    EXPECT_EQ(references.size(), 6u) << run.transcript;
}

// A large table holds every reference the draws can give (0 to
// 32767), and New handed out one of them.
TEST_F(Ratomir, NewFindsAFreeReferenceWhenEveryDrawIsTaken) {
    std::set<std::string> taken;
    std::string rows;
    for (int number = 0; number < 32768; ++number) {
        char reference[16];
        std::snprintf(reference, sizeof reference, "FSDO_%04d", number);
        taken.insert(reference);
        rows += std::string("DATA|") + reference + "|OPD0_0001|MAT0_0001|TMC0_0001|0|2.5|||0|30|0|0.1\r\n";
    }
    library.write("feeds_speeds.dat", rows);
    // The second New comes after the first one's row was added.
    const HostRun run = run_ratomir(library, "press BLO_ACT 1\npress BLO_ACTION 0\npress BLO_ACT 1\npress BLO_ACTION 1\nok\nanswer yes\n");
    const std::string offered = "item ratomir.dlg SW_EDIT sensitive 1\nitem ratomir.dlg LIBREF text \"";
    std::vector<std::string> references;
    for (std::size_t at = run.transcript.find(offered); at != std::string::npos;
         at = run.transcript.find(offered, at + 1)) {
        const std::size_t start = at + offered.size();
        references.push_back(run.transcript.substr(start, run.transcript.find('"', start) - start));
    }
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(taken.count(references[0]), 0u) << references[0];
    EXPECT_EQ(taken.count(references[1]), 0u) << references[1];
    EXPECT_NE(references[0], references[1]);
    EXPECT_EQ(references[0].substr(0, 5), "FSDO_");
}

TEST_F(Ratomir, NewThenCancelChangesNothingAndShowsTheRowAgain) {
    const HostRun run = run_ratomir(library, "select LIST 1\npress BLO_ACT 1\npress BLO_ACTION 1\n"
                                             "press BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 1", "> press BLO_ACT 5"),
              shown_row("FSDO_0002", 1, 1, 1, "1", "1", "2", "80", "0.05") + edit_state_off);
    EXPECT_TRUE(lines_in_order(run.transcript, {"box information owner=ratomir.dlg caption=\"Сохранение ...\" "
                                                "text=\"База сохранена...\\n Всего записано 4 - элементов.\" -> ok"}));
}

TEST_F(Ratomir, AnApplyRefusesWhatTheFileCannotHold) {
    const HostRun run = run_ratomir(library,
                                    "press BLO_ACT 0\ntype LIBREF FSDO|0001\npress BLO_ACTION 0\n"
                                    "press BLO_ACT 0\ntype LIBREF FSDO#1\npress BLO_ACTION 0\n"
                                    "press BLO_ACT 1\ntype LIBREF ABCDEFGHIJKLMNOPQRSTU\npress BLO_ACTION 0\n"
                                    "press BLO_ACT 5\nanswer yes\nok\n");
    const std::string bad_character =
        "message \" Поле 'Идентификатор записи' содержит недопустимый символ ( | # или перевод строки ).\\n Запись "
        "не изменена.\"";
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {bad_character, edit_state_off.substr(0, 33), bad_character,
                                "message \" Поле 'Идентификатор записи' длиннее 20 знаков.\\n Запись не изменена.\"",
                                "item ratomir.dlg SW_EDIT sensitive 0"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "item ratomir.dlg LIST insert"), 4) << "the list was redrawn";
    EXPECT_TRUE(lines_in_order(run.transcript, {"box information owner=ratomir.dlg caption=\"Сохранение ...\" "
                                                "text=\"База сохранена...\\n Всего записано 4 - элементов.\" -> ok"}));
    EXPECT_NE(feeds_file().find("DATA|FSDO_0001|OPD0_0001|"), std::string::npos);
}

// 3. Delete, Load, Save.
TEST_F(Ratomir, DeleteSelectsTheLineBeforeAndShowsIt) {
    const HostRun run = run_ratomir(library, "select LIST 3\npress BLO_ACT 2\npress BLO_ACT 2\n"
                                             "select LIST 1\npress BLO_ACT 2\nok\nanswer yes\n");
    // The fourth line goes: the third is selected and shown.
    EXPECT_TRUE(lines_in_order(run.transcript, {"> select LIST 3", "> press BLO_ACT 2"}));
    std::string after_first = run.transcript.substr(run.transcript.find("> press BLO_ACT 2\n") + 18);
    EXPECT_EQ(after_first.substr(0, after_first.find("> press BLO_ACT 2")),
              small_list({line1, line2, line3}) + "item ratomir.dlg LIST select 2\n" +
                  shown_row("FSDO_0003", 3, 0, 1, "0.5", "0", "0", "120", "0.08"));
    // Then the third (selected) goes, the second is selected; deleting the second selects the first.
    EXPECT_EQ(between(run.transcript, "> select LIST 1", "> ok"),
              shown_row("FSDO_0002", 1, 1, 1, "1", "1", "2", "80", "0.05") + "> press BLO_ACT 2\n" +
                  small_list({line1}) + "item ratomir.dlg LIST select 0\n" +
                  shown_row("FSDO_0001", 0, 0, 0, "2.5", "0", "0", "30", "0.1"));
}

TEST_F(Ratomir, DeletingTheLastRowLeavesTheFieldsAlone) {
    library.write("feeds_speeds.dat", "DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0|2.5|||0|30|0|0.1\r\n");
    const HostRun run = run_ratomir(library, "press BLO_ACT 2\npress BLO_ACT 2\npress BLO_ACT 0\npress BLO_ACTION 0\n"
                                             "press BLO_ACT 5\nok\nanswer yes\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 2", "> press BLO_ACT 2"), "item ratomir.dlg LIST delete all\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 0", "> press BLO_ACT 5"), edit_state_off);
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"> press BLO_ACT 5", "message \"В Базе нет элементов\\n Сохранение прервано...\""}));
}

TEST_F(Ratomir, LoadDropsUnsavedEditsWithoutAsking) {
    const HostRun run = run_ratomir(library, "press BLO_ACT 2\npress BLO_ACT 4\npress BLO_ACT 5\nanswer yes\nok\n");
    const std::string reloaded = between(run.transcript, "> press BLO_ACT 4", "> press BLO_ACT 5");
    EXPECT_EQ(reloaded.substr(0, reloaded.find("item ratomir.dlg LIST select 0")),
              "item ratomir.dlg LIST delete all\n"
              "item ratomir.dlg SW_EDIT sensitive 0\n"
              "item ratomir.dlg LIST insert 0 \"" + line1 + "\"\n"
              "item ratomir.dlg LIST insert 1 \"" + line2 + "\"\n"
              "item ratomir.dlg LIST insert 2 \"" + line3 + "\"\n"
              "item ratomir.dlg LIST insert 3 \"" + line4 + "\"\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> answer yes", "box information owner=ratomir.dlg caption=\"Сохранение ...\" "
                                                "text=\"База сохранена...\\n Всего записано 4 - элементов.\" -> ok"}));
}

TEST_F(Ratomir, AFailedLoadKeepsShowingWhatASaveWouldWrite) {
    const HostRun run =
        run_ratomir(library, "press BLO_ACT 2\nremove " + library.file("feeds_speeds.dat") + "\npress BLO_ACT 4\nok\nanswer yes\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 4", "> ok"),
              "item ratomir.dlg LIST delete all\n"
              "item ratomir.dlg SW_EDIT sensitive 0\n"
              "box error owner=ratomir.dlg caption=\"Ошибка - загрузки Базы\" text=\" Невозможно загрузить "
              "feeds_speeds\\n Обратитесь к сист. администратору\" -> ok\n" +
                  small_lines({line2, line3, line4}) + "item ratomir.dlg LIST select 0\n" +
                  shown_row("FSDO_0002", 1, 1, 1, "1", "1", "2", "80", "0.05"));
}

TEST_F(Ratomir, SaveDeclinedWritesNothingAndReadOnlyIsRefused) {
    const std::string before = feeds_file();
    run_ratomir(library, "press BLO_ACT 2\npress BLO_ACT 5\nanswer no\nok\nanswer yes\n");
    EXPECT_EQ(feeds_file(), before);
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: file permissions do not hold";
    chmod(library.file("feeds_speeds.dat").c_str(), 0444);
    const HostRun run = run_ratomir(library, "press BLO_ACT 2\npress BLO_ACT 5\nok\nanswer yes\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 5", "box error owner=ratomir.dlg caption=\"Ошибка - "
                                                "Сохранить Базу\" text=\" Невозможно сохранить Базу\\n Обратитесь к "
                                                "сист. администратору\" -> ok", "> ok"}));
    EXPECT_EQ(feeds_file(), before);
}

TEST_F(Ratomir, TheSeventhButtonDoesNothing) {
    const HostRun run = run_ratomir(library, "press BLO_ACT 6\nok\n");
    EXPECT_EQ(between(run.transcript, "> press BLO_ACT 6", "> ok"), "");
}

// 4. The calculator.
struct Calculation {
    const char* name;
    const char* script;
    std::string expected;  // the transcript from the press of CALC to the "ok" that closes the dialog
};

void PrintTo(const Calculation& calculation, std::ostream* out) { *out << calculation.name; }

class Calculator : public Ratomir, public ::testing::WithParamInterface<Calculation> {};

const std::string choice_menu = "menu \"Выберите расчет.....\" default=1 items=[\"Расчет: Скорости резания\", \"Расчет: Подачи на зуб\"]\n";
const std::string speed_menu = "numbers \"Введите величины.....\" [\":Диам. фрезы=\"=0, \":Число обор.=\"=0]\n";
const std::string feed_menu = "numbers \"Введите величины.....\" [\":Подача=\"=0, \":N зуб. фр.=\"=0, \":Число обор.=\"=0]\n";

std::string not_finite(const char* value) {
    return std::string("message \" Значение '") + value + "' не является конечным числом.\\n Запись не изменена.\"\n";
}

TEST_P(Calculator, ComputesOrLeaves) {
    const HostRun run = run_ratomir(library, std::string("press CALC\n") + GetParam().script + "ok\n");
    EXPECT_EQ(between(run.transcript, "> press CALC", "> ok"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ratomir, Calculator,
    ::testing::Values(
        Calculation{"Speed", "menu 5\nnumbers 3 100 1000\n",
                    (choice_menu + "> menu 5\n" + speed_menu + "> numbers 3 100 1000\n" +
                     "item ratomir.dlg SURF_SPEED_MPM real 314.15926\nmessage \"Скорость резания = 314.159 (m/мин)\"\n")},
        Calculation{"SpeedWithTheShopsPi", "menu 5\nnumbers 4 1000 10000\n",
                    (choice_menu + "> menu 5\n" + speed_menu + "> numbers 4 1000 10000\n" +
                     "item ratomir.dlg SURF_SPEED_MPM real 31415.926\nmessage \"Скорость резания = 31415.926 (m/мин)\"\n")},
        Calculation{"SpeedOfDiameterZero", "menu 5\nnumbers 3 0 1000\n",
                    (choice_menu + "> menu 5\n" + speed_menu + "> numbers 3 0 1000\n" +
                     "item ratomir.dlg SURF_SPEED_MPM real 0\nmessage \"Скорость резания = 0.000 (m/мин)\"\n")},
        Calculation{"NegativeSpeedAsksAgain", "menu 5\nnumbers 3 -1 1000\nnumbers 1\n",
                    (choice_menu + "> menu 5\n" + speed_menu + "> numbers 3 -1 1000\n" + speed_menu + "> numbers 1\n")},
        Calculation{"FeedPerTooth", "menu 6\nnumbers 3 1200 4 1000\n",
                    (choice_menu + "> menu 6\n" + feed_menu + "> numbers 3 1200 4 1000\n" +
                     "item ratomir.dlg FEED_MMPT real 0.3\nmessage \"Подача на зуб = 0.300 (мм/зуб)\"\n")},
        Calculation{"NoTeethAsksAgainThenCancel", "menu 6\nnumbers 3 1200 0 1000\nnumbers 3 1200 4 0\nnumbers 2\n",
                    (choice_menu + "> menu 6\n" + feed_menu + "> numbers 3 1200 0 1000\n" + feed_menu +
                     "> numbers 3 1200 4 0\n" + feed_menu + "> numbers 2\n")},
        Calculation{"UnexpectedAnswersGoBack", "menu 7\nmenu 6\nnumbers 5\nmenu 1\n",
                    (choice_menu + "> menu 7\n" + choice_menu + "> menu 6\n" + feed_menu + "> numbers 5\n" +
                     choice_menu + "> menu 1\n")},
        Calculation{"CancelTheChoice", "menu 2\n", (choice_menu + "> menu 2\n")},
        // Results no file can hold are refused, and the field keeps its value.
        Calculation{"SpeedBeyondTheLargestNumber", "menu 5\nnumbers 3 1e200 1e200\n",
                    (choice_menu + "> menu 5\n" + speed_menu + "> numbers 3 1e200 1e200\n" + not_finite("inf"))},
        Calculation{"SpeedOfAnInfiniteCutterNotTurning", "menu 5\nnumbers 3 inf 0\n",
                    (choice_menu + "> menu 5\n" + speed_menu + "> numbers 3 inf 0\n" + not_finite("nan"))},
        Calculation{"FeedOverVanishingTeethAndTurns", "menu 6\nnumbers 3 1200 1e-200 1e-200\n",
                    (choice_menu + "> menu 6\n" + feed_menu + "> numbers 3 1200 1e-200 1e-200\n" + not_finite("inf"))}),
    [](const auto& info) { return std::string(info.param.name); });

// 1e200 × 1e200 put infinity into the field, and the save wrote |inf|inf|.
TEST_F(Ratomir, AResultNoFileCanHoldNeverReachesTheFile) {
    const HostRun run = run_ratomir(library, "press BLO_ACT 0\npress CALC\nmenu 5\nnumbers 3 1e200 1e200\n"
                                             "press BLO_ACTION 0\npress BLO_ACT 5\nanswer yes\nok\n");
    EXPECT_EQ(count_lines_starting(run.transcript, "item ratomir.dlg SURF_SPEED_MPM"), 1) << run.transcript;
    EXPECT_NE(feeds_file().find("DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0.098|2.500|||98.425|30.000|0.004|0.100\r\n"),
              std::string::npos)
        << feeds_file();
    EXPECT_EQ(feeds_file().find("inf"), std::string::npos);
}

// A value that is no finite number (here one the file itself held) refuses the
// apply: the row stays as it was and the fields show it again.
TEST_F(Ratomir, AnApplyRefusesANumberThatIsNotFinite) {
    library.write("feeds_speeds.dat", "DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0|2.5|||0|1e400|0|0.1\r\n");
    const HostRun run = run_ratomir(library, "press BLO_ACT 0\ntype FEED_MMPT 0.2\npress BLO_ACTION 0\nok\n");
    EXPECT_EQ(between(run.transcript, "> type FEED_MMPT 0.2", "> ok"),
              "> press BLO_ACTION 0\n" + not_finite("inf") +
                  shown_row("FSDO_0001", 0, 0, 0, "2.5", "0", "0", "inf", "0.1") + edit_state_off);
}

// 5. The listing.
TEST_F(Ratomir, TheListingShowsTheGuideAndEveryTableAsItsFile) {
    const HostRun run = run_ratomir(library, "press BLO_ACT 3\nok\n");
    EXPECT_TRUE(lines_in_order(run.transcript, {"> press BLO_ACT 3", "listing open"}));
    EXPECT_EQ(listing_text(run.transcript), expected_listing("ratomir_listing.txt", library));
}

}  // namespace

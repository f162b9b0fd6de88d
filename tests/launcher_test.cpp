// The launcher korvane through the host: splash, environment and access report,
// main menu, plug-ins found, loaded, entered and unloaded, and the quick guide.
// Stand-ins take the place of the plug-ins it starts: copies of the launchee
// test plug-in (which names its file, parameter and mode), of the entryless
// library, and of the store test plug-in, which enters as the feeds editor.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <regex>

#include "host_run.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;

const std::string korvane = std::string(APPLICATION_DIR) + "/korvane.so";
const std::string launchee = std::string(TEST_APPLICATION_DIR) + "/launchee.so";
const std::string entryless = std::string(TEST_APPLICATION_DIR) + "/entryless.so";

const std::string splash =
    "load korvane.so\n"
    "picture open \"korvane.bmp\"\n"
    "timer set 0 2000 ms\n"
    "clock +2000 ms\n"
    "timer killed 0\n"
    "picture closed \"korvane.bmp\" after 2000 ms\n";

const std::string launcher_end = "ufusr returned retcode=0\nufusr_ask_unload returned 1\nunload korvane.so\n";

const std::string main_menu =
    "menu \"Выберите действие.....\" default=1 items=[\"Инструмент\", \"Режимы резания: подачи, шпинд.\", "
    "\"Метод резания\", \"Материал инструмента\", \"Материал заготовки\", \"-> Сохранить базу (Экспорт..)\", "
    "\"-> Загрузить базу (Импорт..)\", \"-> Краткое руководство\"]\n";

const std::string hold_menu = "menu \"Краткое Руководство пользователя и об авторах ..\" default=1 items=[\"\"]\n";

const char* const library_files[] = {"tool_database.dat", "cut_methods.dat", "feeds_speeds.dat", "part_materials.dat",
                                     "tool_materials.dat"};

// A folder in the scratch directory that the runs may use; returned with its separator.
std::string make_folder(const ScratchDirectory& scratch, const std::string& name) {
    std::string path = scratch.path();
    for (const auto& part : fs::path(name)) {
        path += "/" + part.string();
        fs::create_directory(path);
        scratch.hand_over(path);
    }
    return path + "/";
}

// The two library directories, tool/ and data/, with the sample files.
struct Library {
    ScratchDirectory scratch;
    std::string tool = make_folder(scratch, "tool");
    std::string data = make_folder(scratch, "data");

    Library() {
        for (const char* name : library_files) {
            scratch.write((name == std::string("tool_database.dat") ? "tool/" : "data/") + std::string(name),
                          sample_bytes(name));
        }
    }
    std::string path_of(const std::string& name) const {
        return (name == "tool_database.dat" ? tool : data) + name;
    }
    // The five paths as the transcript shows them, and as the system log keeps them.
    std::string logged_paths() const {
        std::string lines;
        for (const char* name : library_files) lines += "syslog \"" + path_of(name) + "\"\n";
        return lines;
    }
    std::string log_file() const {
        std::string lines;
        for (const char* name : library_files) lines += path_of(name) + "\n";
        return lines;
    }
};

HostRunOptions launcher_run(const Library& library, const std::string& script) {
    HostRunOptions options;
    options.plugins = {korvane};
    options.script = script;
    options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = library.tool;
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.data;
    return options;
}

// A host tree under folder: application/ holds copies of test libraries under the
// names the launcher looks for. Returns the folder as a search variable names it.
std::string stage(const ScratchDirectory& scratch, const std::string& folder,
                  const std::map<std::string, std::string>& copies) {
    const std::string value = make_folder(scratch, folder);
    make_folder(scratch, folder + "/application");
    for (const auto& [name, source] : copies) scratch.write(folder + "/application/" + name, read_bytes(source));
    return value;
}

// What the transcript shows of one library found, entered and unloaded.
std::string launchee_run(const std::string& directory, const std::string& name, int mode) {
    const std::string path = directory + "/application/" + name;
    return "syslog \"" + path + "\"\n" + "library " + path + " loaded\n" + "message \"" + name +
           " entered: parameter \\\"" + directory + "\\\", mode " + std::to_string(mode) + "\"\n" + "library " +
           path + " unloaded\n";
}

std::string not_found(const std::string& directory, const std::string& name) {
    const std::string path = directory + "/application/" + name;
    return "syslog \"" + path + "\"\n" + "library " + path + " not loaded: " + path +
           ": cannot open shared object file: No such file or directory\n" +
           "syslog \"The library could not be loaded\"\n";
}

// ---- 1. The environment and access report ----

TEST(Environment, AllAccessibleGivesNoReportLogsTheFivePathsAndOffersTheMenu) {
    Library library;
    const HostRun run = run_host(launcher_run(library, "menu 2\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(run.transcript, splash + library.logged_paths() + main_menu + "> menu 2\n" + launcher_end);
    EXPECT_EQ(run.syslog, library.log_file());
}

TEST(Environment, ReportShowsReadAndWriteMarksAndCreatesWhatTheFolderAllows) {
    if (!runs_unprivileged()) GTEST_SKIP() << "runs as root: file permissions do not hold";
    Library library;
    fs::remove(library.path_of("tool_database.dat"));
    chmod(library.tool.c_str(), 0555);  // tool_database.dat can be neither read nor created
    fs::remove(library.path_of("cut_methods.dat"));
    chmod(library.path_of("feeds_speeds.dat").c_str(), 0444);
    const HostRun run = run_host(launcher_run(library, "menu 1\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string box =
        "box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"\\t\\t r w\\n"
        "tool_database.dat    -  - \\n"
        "cut_methods.dat    -  + \\n"
        "feeds_speeds.dat    +  - \\n"
        "part_materials.dat    +  + \\n"
        "tool_materials.dat    +  + \\n"
        "\\n r - режим чтения (наличия) \\n w - записи (наличия) \\n обратитесь к системному администратору.\" -> ok\n";
    EXPECT_EQ(run.transcript, splash + "beep\n" + box + library.logged_paths() + main_menu + "> menu 1\n" + launcher_end);
    EXPECT_FALSE(fs::exists(library.path_of("tool_database.dat")));
    ASSERT_TRUE(fs::exists(library.path_of("cut_methods.dat")));
    EXPECT_EQ(fs::file_size(library.path_of("cut_methods.dat")), 0u);
    EXPECT_EQ(read_bytes(library.path_of("feeds_speeds.dat")), sample_bytes("feeds_speeds.dat"));
}

// Only regular files count: a FIFO would block the probes, a directory would pass
// for a readable file.
TEST(Environment, AFifoOrAFolderNamedLikeALibraryFileIsReportedMissing) {
    Library library;
    fs::remove(library.path_of("tool_database.dat"));
    ASSERT_EQ(mkfifo(library.path_of("tool_database.dat").c_str(), 0666), 0);
    fs::remove(library.path_of("cut_methods.dat"));
    fs::create_directory(library.path_of("cut_methods.dat"));
    const HostRun run = run_host(launcher_run(library, "menu 1\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_NE(run.transcript.find("\\t\\t r w\\ntool_database.dat    -  - \\ncut_methods.dat    -  - \\n"
                                  "feeds_speeds.dat    +  + \\n"),
              std::string::npos)
        << run.transcript;
}

enum class Value { set, unset, empty };

struct MissingVariable {
    const char* name;
    Value tool;
    Value data;
    const char* message;
};

void PrintTo(const MissingVariable& value, std::ostream* out) { *out << value.name; }

std::optional<std::string> value_of(Value value, const std::string& folder) {
    if (value == Value::unset) return std::nullopt;
    return value == Value::set ? folder : "";
}

class EnvironmentUnset : public ::testing::TestWithParam<MissingVariable> {};

// An empty value counts as unset: the probes would otherwise create empty library
// files in whatever the current directory is.
TEST_P(EnvironmentUnset, ShowsOnlyItsMessageAndNoMenu) {
    const MissingVariable& variables = GetParam();
    Library library;
    HostRunOptions options = launcher_run(library, "");
    options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = value_of(variables.tool, library.tool);
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = value_of(variables.data, library.data);
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(run.transcript, splash + "message \"Переменная " + variables.message + " - не установлена\"\n" +
                                  launcher_end);
    EXPECT_EQ(run.syslog, "");
}

INSTANTIATE_TEST_SUITE_P(
    Variables, EnvironmentUnset,
    ::testing::Values(MissingVariable{"ToolUnset", Value::unset, Value::set, "UGII_CAM_LIBRARY_TOOL_METRIC_DIR"},
                      MissingVariable{"DataUnset", Value::set, Value::unset, "UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"},
                      MissingVariable{"BothUnset", Value::unset, Value::unset, "UGII_CAM_LIBRARY_TOOL_METRIC_DIR"},
                      MissingVariable{"ToolEmpty", Value::empty, Value::set, "UGII_CAM_LIBRARY_TOOL_METRIC_DIR"},
                      MissingVariable{"DataEmpty", Value::set, Value::empty, "UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- 2. The main menu and the plug-ins it starts ----

// The transcript of a launcher run with all files accessible, up to the first menu.
std::string up_to_menu(const Library& library) { return splash + library.logged_paths() + main_menu; }

TEST(Menu, EachItemStartsItsLibraryWithItsMode) {
    Library library;
    const std::string user = stage(library.scratch, "user", {{"kessup.so", launchee}, {"ratomir.so", launchee},
                                                             {"strakel.so", launchee}, {"gradivo.so", launchee},
                                                             {"blankora.so", launchee}, {"ferrant.so", launchee}});
    HostRunOptions options = launcher_run(library, "menu 5\nmenu 6\nmenu 7\nmenu 8\nmenu 9\nmenu 10\nmenu 11\nmenu 1\n");
    options.environment["UGII_USER_DIR"] = user;
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::pair<const char*, int> started[] = {{"kessup.so", 0},   {"ratomir.so", 0}, {"strakel.so", 0},
                                                   {"gradivo.so", 0},  {"blankora.so", 0}, {"ferrant.so", 0},
                                                   {"ferrant.so", 1}};
    std::string expected = up_to_menu(library);
    int answer = 5;
    for (const auto& [name, mode] : started) {
        expected += "> menu " + std::to_string(answer++) + "\n" + launchee_run(user, name, mode) + main_menu;
    }
    EXPECT_EQ(run.transcript, expected + "> menu 1\n" + launcher_end);
}

struct MenuAnswer {
    int code;
    bool ends;
};

void PrintTo(const MenuAnswer& value, std::ostream* out) { *out << value.code; }

class MenuAnswers : public ::testing::TestWithParam<MenuAnswer> {};

// Back, Cancel and a menu the host cannot show end the launcher; anything
// unexpected shows the menu again and does nothing else.
TEST_P(MenuAnswers, EndTheLauncherOrShowTheMenuAgain) {
    const MenuAnswer& answer = GetParam();
    Library library;
    const std::string code = "menu " + std::to_string(answer.code) + "\n";
    const HostRun run = run_host(launcher_run(library, answer.ends ? code : code + "menu 2\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string again = answer.ends ? "" : main_menu + "> menu 2\n";
    EXPECT_EQ(run.transcript, up_to_menu(library) + "> " + code + again + launcher_end);
}

INSTANTIATE_TEST_SUITE_P(Codes, MenuAnswers,
                         ::testing::Values(MenuAnswer{1, true}, MenuAnswer{2, true}, MenuAnswer{19, true},
                                           MenuAnswer{3, false}, MenuAnswer{4, false}, MenuAnswer{13, false},
                                           MenuAnswer{0, false}, MenuAnswer{-1, false}),
                         [](const auto& info) {
                             return (info.param.code < 0 ? "minus" : "") + std::to_string(std::abs(info.param.code));
                         });

// The search goes through the variables in order: one that is unset or empty is
// skipped, a folder without the library and a refused load are logged, and the
// first library with an entry runs; later variables are not tried.
TEST(Search, TheFirstLoadableLibraryRunsAndTheRestAreNotTried) {
    Library library;
    const std::string user = stage(library.scratch, "user", {});
    const std::string site = stage(library.scratch, "site", {{"gradivo.so", launchee}});
    const std::string vendor = stage(library.scratch, "vendor", {{"gradivo.so", launchee}});
    const std::string home = stage(library.scratch, "home", {{"gradivo.so", launchee}});
    HostRunOptions options = launcher_run(library, "menu 8\nmenu 8\nfail UF_load_library after 1\nmenu 2\n");
    options.environment["UGII_USER_DIR"] = user;
    options.environment["USER_UFUN"] = "";
    options.environment["UGII_SITE_DIR"] = site;
    options.environment["UGII_VENDOR_DIR"] = vendor;
    options.environment["HOME"] = home;
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string site_path = site + "/application/gradivo.so";
    EXPECT_EQ(run.transcript, up_to_menu(library) + "> menu 8\n" + not_found(user, "gradivo.so") +
                                  launchee_run(site, "gradivo.so", 0) + main_menu +
                                  // The second time the host refuses the site's copy: the vendor's runs.
                                  "> menu 8\n> fail UF_load_library after 1\n" + not_found(user, "gradivo.so") +
                                  "syslog \"" + site_path + "\"\nlibrary " + site_path +
                                  " not loaded: the library load was refused\n"
                                  "syslog \"The library could not be loaded\"\n" +
                                  launchee_run(vendor, "gradivo.so", 0) + main_menu + "> menu 2\n" + launcher_end);
}

TEST(Search, ALibraryFoundNowhereIsNamedByItsFileAndLogsNothing) {
    Library library;
    const HostRun run = run_host(launcher_run(library, "menu 6\nmenu 2\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(run.transcript, up_to_menu(library) + "> menu 6\nmessage \"Don't load ratomir.so \\n ...\"\n" +
                                  main_menu + "> menu 2\n" + launcher_end);
    EXPECT_EQ(run.syslog, library.log_file());
}

TEST(Search, ALibraryWithoutAnEntryIsUnloadedAndTheSearchGoesOn) {
    Library library;
    const std::string user = stage(library.scratch, "user", {{"strakel.so", entryless}, {"blankora.so", entryless}});
    const std::string site = stage(library.scratch, "site", {{"strakel.so", launchee}});
    HostRunOptions options = launcher_run(library, "menu 7\nmenu 9\nmenu 2\n");
    options.environment["UGII_USER_DIR"] = user;
    options.environment["UGII_SITE_DIR"] = site;
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    auto without_entry = [&](const std::string& name) {
        const std::string path = user + "/application/" + name;
        return "syslog \"" + path + "\"\nlibrary " + path + " loaded\nlibrary " + path + " unloaded\n";
    };
    EXPECT_EQ(run.transcript, up_to_menu(library) + "> menu 7\n" + without_entry("strakel.so") +
                                  launchee_run(site, "strakel.so", 0) + main_menu + "> menu 9\n" +
                                  without_entry("blankora.so") + not_found(site, "blankora.so") +
                                  "message \"Don't load blankora.so \\n ...\"\n" + main_menu + "> menu 2\n" +
                                  launcher_end);
}

// The editor is loaded and reads its file afresh for each choice: after the file
// is gone, the second start finds it missing.
TEST(Search, TheSameEditorTwiceInARowReadsItsFileAfresh) {
    Library library;
    const std::string user =
        stage(library.scratch, "user",
              {{"ratomir.so", STOREKEEPER}, {"ratomir.dlg", std::string(TEST_APPLICATION_DIR) + "/ratomir.dlg"}});
    const std::string feeds = library.path_of("feeds_speeds.dat");
    HostRunOptions options = launcher_run(library, "menu 6\nok\nremove " + feeds + "\nmenu 6\nmenu 1\n");
    options.environment["UGII_USER_DIR"] = user;
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string path = user + "/application/ratomir.so";
    EXPECT_TRUE(lines_in_order(
        run.transcript,
        {"> menu 6", "library " + path + " loaded", "dialog ratomir.dlg open \"Storekeeper\"",
         "item ratomir.dlg LIST insert 47 \"FSDO_0048\"", "> ok", "> remove " + feeds,
         "library " + path + " unloaded", "> menu 6", "library " + path + " loaded",
         "box error owner=host caption=\"Проверка чтения-записи ->.\" text=\"База 'Подач и скоростей' НЕ доступна "
         "или НЕ существует \\n обратитесь к системному администратору.\" -> ok",
         "library " + path + " unloaded", "> menu 1"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "dialog ratomir.dlg open"), 1);
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
}

struct Editor {
    const char* name;
    int answer;
};

void PrintTo(const Editor& value, std::ostream* out) { *out << value.name; }

class BuiltEditors : public ::testing::TestWithParam<Editor> {};

// The editors as the build stages them, started from the menu under the staged
// host tree: each opens its dialog on the library and is unloaded when it closes.
TEST_P(BuiltEditors, StartFromTheMenuAndAreUnloadedWhenClosed) {
    const Editor& editor = GetParam();
    const std::string file = std::string(editor.name) + ".so";
    if (!fs::exists(std::string(APPLICATION_DIR) + "/" + file)) GTEST_SKIP() << file << " is not built yet";
    Library library;
    const std::string answer = "menu " + std::to_string(editor.answer);
    HostRunOptions options = launcher_run(library, answer + "\nok\nmenu 2\n");
    const std::string stage_dir = fs::path(APPLICATION_DIR).parent_path().string() + "/";
    options.environment["UGII_USER_DIR"] = stage_dir;
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string path = stage_dir + "/application/" + file;
    EXPECT_TRUE(lines_in_order(run.transcript, {"> " + answer, "syslog \"" + path + "\"", "library " + path + " loaded",
                                                "> ok", "dialog " + std::string(editor.name) + ".dlg closed response=2",
                                                "library " + path + " unloaded", "> menu 2"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "box"), 0) << run.transcript;
}

INSTANTIATE_TEST_SUITE_P(Stage, BuiltEditors,
                         ::testing::Values(Editor{"ratomir", 6}, Editor{"strakel", 7}, Editor{"gradivo", 8},
                                           Editor{"blankora", 9}),
                         [](const auto& info) { return std::string(info.param.name); });

// The sample file with the data line that starts with `key` replaced by `line` (UTF-8).

std::string sample_with(const std::string& file, const std::string& key, const std::string& line) {
    std::string bytes = sample_bytes(file);
    const std::size_t start = bytes.find(cp1251(key));
    if (start == std::string::npos) return "<no line " + key + " in " + file + ">";
    bytes.replace(start, bytes.find("\r\n", start) - start, cp1251(line));
    return bytes;
}

// The tool library and the export and import of the base, as the build stages
// them: none of the menu's items ends in "Don't load".
TEST(BuiltPlugins, ToolLibraryExportAndImportStartFromTheMenu) {
    for (const char* name : {"kessup", "ferrant"}) {
        const std::string file = std::string(APPLICATION_DIR) + "/" + name + ".so";
        if (!fs::exists(file)) GTEST_SKIP() << file << " is not built yet";
    }
    Library library;
    const std::string snapshot = library.data + "export/from-menu/";
    HostRunOptions options = launcher_run(
        library, "menu 5\nselect LIST_TOOLS 1\npress BLO_ACT 0\nselect FIELDS 2\ntype VALUE 16.500\nok\n"
                 "press BLO_ACT 5\nanswer yes\nok\n"
                 "menu 10\ntype FOLDER " + snapshot + "\nok\n"
                 "menu 11\nmenu 5\nanswer yes\nmenu 2\n");
    options.environment["UGII_USER_DIR"] = fs::path(APPLICATION_DIR).parent_path().string();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(run.transcript.find("Don't load"), std::string::npos) << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"dialog kessup.dlg open \"Инструмент\"",
                                                "dialog ferrant.dlg open \"Снимок Базы\"",
                                                "menu \"Выберите снимок Базы для импорта\" default=1 "
                                                "items=[\"from-menu\", \"Другая папка ...\"]",
                                                "box question owner=host caption=\"Импорт Базы\" text=\" Заменить Базу "
                                                "содержимым снимка?\\n Перед заменой текущая База будет экспортирована.\" "
                                                "buttons=yes/NO"}))
        << run.transcript;
    const std::string tools = sample_with("tool_database.dat", "DATA|EM16_T15K6|",
                                          "DATA|EM16_T15K6|ENDMILL|16.500|32.000|92.000|4|TMC0_0005|"
                                          "Фреза концевая твердосплавная D16");
    EXPECT_EQ(read_bytes(library.path_of("tool_database.dat")), tools);
    EXPECT_EQ(read_bytes(snapshot + "tool_database.dat"), tools);
    for (const char* name : {"cut_methods.dat", "feeds_speeds.dat", "part_materials.dat", "tool_materials.dat"}) {
        EXPECT_EQ(read_bytes(library.path_of(name)), sample_bytes(name)) << name;
    }
}

// One session from the launcher: a row edited and saved in each of the four
// editors, and the four files as a save writes them.
TEST(LauncherSession, EachEditorEditsAndSavesARow) {
    for (const char* name : {"ratomir", "strakel", "gradivo", "blankora"}) {
        const std::string file = std::string(APPLICATION_DIR) + "/" + name + ".so";
        if (!fs::exists(file)) GTEST_SKIP() << file << " is not built yet";
    }
    Library library;
    const std::string save = "press BLO_ACT 5\nanswer yes\nok\n";
    HostRunOptions options = launcher_run(
        library, "menu 6\nselect LIST 1\npress BLO_ACT 0\ntype FEED_MMPT 0.07\npress BLO_ACTION 0\n" + save +
                     "menu 7\npress BLO_ACT 0\ntype WIDE_DISCRIPTION Черновое фрезерование\nok\n" + save +
                     "menu 8\npress BLO_ACT 0\ntype WIDE_DISCRIPTION Быстрорежущая сталь\nok\n" + save +
                     "menu 9\nselect LIST 1\npress BLO_ACT 0\ntype HARDNESS HB 120\npress BLO_ACTION 0\n" + save +
                     "menu 2\n");
    options.environment["UGII_USER_DIR"] = fs::path(APPLICATION_DIR).parent_path().string();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "box information"), 4) << run.transcript;
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
    EXPECT_EQ(read_bytes(library.path_of("feeds_speeds.dat")),
              sample_with("feeds_speeds.dat", "DATA|FSDO_0002|",
                          "DATA|FSDO_0002|OPD0_0001|MAT0_0001|TMC0_0006|0.157|4.000|||393.701|120.000|0.003|0.070"));
    EXPECT_EQ(read_bytes(library.path_of("cut_methods.dat")),
              sample_with("cut_methods.dat", "DATA|OPD0_0001|",
                          "DATA|OPD0_0001|MILL|Фрезерование черновое|Черновое фрезерование"));
    EXPECT_EQ(read_bytes(library.path_of("tool_materials.dat")),
              sample_with("tool_materials.dat", "DATA|TMC0_0001|", "DATA|TMC0_0001|Р6М5|Быстрорежущая сталь"));
    EXPECT_EQ(read_bytes(library.path_of("part_materials.dat")),
              sample_with("part_materials.dat", "DATA|ST40X|",
                          "DATA|ST40X|Сталь 40Х|Сталь конструкционная легированная хромистая, улучшенная|HB 120|"
                          "MAT0_0002"));
}

// ---- 3. The quick guide ----

std::string guide_head() {
    return "listing open\n"
           "listing \"\\n Релиз Unigraphics - cutting_data_library 1.0.0 \"\n"
           "listing \"\\n Загрузочный модуль библиотеки: \"\n"
           "listing \"" + fs::canonical(host_program()).string() + "\"\n"
           "listing \"\\n\"\n";
}

// Everything after the date, one write a line, as the transcript shows it.
const std::string guide_body = read_bytes(std::string(FIXTURE_DIR) + "/korvane_guide.txt");

// The date is the one line that changes from run to run; it keeps the line break of the calendar text.
std::string without_date(const std::string& transcript) {
    static const std::regex date(R"(listing "\\n Дата: \w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4}\\n "\n)");
    std::smatch found;
    if (!std::regex_search(transcript, found, date)) return transcript;
    return found.prefix().str() + "(date)\n" + found.suffix().str();
}

TEST(QuickGuide, IsWrittenTextForTextAndHeldUntilDismissed) {
    Library library;
    const HostRun run = run_host(launcher_run(library, "menu 12\nmenu 1\nmenu 12\nmenu 2\nmenu 2\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string guide = "> menu 12\n" + guide_head() + "(date)\n" + guide_body + hold_menu;
    EXPECT_EQ(without_date(without_date(run.transcript)),
              up_to_menu(library) + guide + "> menu 1\n" + main_menu + guide + "> menu 2\n" + main_menu +
                  "> menu 2\n" + launcher_end);
}

struct HoldAnswer {
    int code;
    bool dismisses;
};

void PrintTo(const HoldAnswer& value, std::ostream* out) { *out << value.code; }

class HoldMenu : public ::testing::TestWithParam<HoldAnswer> {};

// Only the host's two OK codes keep the user in the guide; anything else returns to the main menu.
TEST_P(HoldMenu, ReturnsToTheMainMenuOrHoldsAgain) {
    const HoldAnswer& answer = GetParam();
    Library library;
    const std::string code = "menu " + std::to_string(answer.code) + "\n";
    const std::string script = "menu 12\n" + code + (answer.dismisses ? "" : "menu 2\n") + "menu 2\n";
    const HostRun run = run_host(launcher_run(library, script));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string after = hold_menu + "> " + code + (answer.dismisses ? "" : hold_menu + "> menu 2\n") +
                              main_menu + "> menu 2\n" + launcher_end;
    EXPECT_TRUE(run.transcript.ends_with(guide_body + after)) << run.transcript;
}

INSTANTIATE_TEST_SUITE_P(Codes, HoldMenu,
                         ::testing::Values(HoldAnswer{1, true}, HoldAnswer{2, true}, HoldAnswer{5, true},
                                           HoldAnswer{19, true}, HoldAnswer{3, false}, HoldAnswer{4, false}));

// ---- 4. The splash and the entry ----

TEST(Splash, ThePictureIs289By290In16ColoursWithRedTitleAndBlackWord) {
    const std::string bmp = read_bytes(std::string(APPLICATION_DIR) + "/korvane.bmp");
    ASSERT_GE(bmp.size(), 118u);
    auto number = [&](std::size_t at, int bytes) {
        unsigned long value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = value * 256 + static_cast<unsigned char>(bmp[at + i]);
        return value;
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(number(18, 4), 289u);                      // width
    EXPECT_EQ(number(22, 4), 290u);                      // height, rows stored bottom-up
    EXPECT_EQ(number(28, 2), 4u);                        // bits per pixel
    EXPECT_EQ(number(30, 4), 0u);                        // uncompressed
    EXPECT_EQ(number(46, 4), 16u);                       // colours in the palette
    EXPECT_EQ(bmp.size(), 14u + 40u + 16u * 4u + 148u * 290u);
    // The colour of pixel (x, y), counted from the top left.
    auto colour = [&](int x, int y) {
        const unsigned char pair = static_cast<unsigned char>(bmp[118 + (289 - y) * 148 + x / 2]);
        const int index = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
        return number(54 + index * 4, 3);  // blue, green, red
    };
    auto count = [&](int left, int top, int right, int bottom, unsigned long bgr) {
        int found = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) found += colour(x, y) == bgr ? 1 : 0;
        }
        return found;
    };
    EXPECT_GT(count(0, 0, 144, 30, 0xFF0000), 100);   // red title at the top left
    EXPECT_GT(count(120, 140, 170, 180, 0x000000), 100);  // the bold word in the middle
}

TEST(Splash, APictureNotBesideThePluginIsLookedForInTheApplicationFolders) {
    ScratchDirectory scratch;
    make_folder(scratch, "bare");
    scratch.write("bare/korvane.so", read_bytes(korvane));
    HostRunOptions options;
    options.plugins = {scratch.file("bare/korvane.so")};
    const std::string unset = "message \"Переменная UGII_CAM_LIBRARY_TOOL_METRIC_DIR - не установлена\"\n";
    const HostRun missing = run_host(options);
    ASSERT_EQ(missing.exit_status, 0) << missing.errors << missing.transcript;
    EXPECT_EQ(missing.transcript, "load korvane.so\nerror: picture korvane.bmp was not found\n"
                                  "syslog \"picture file korvane.bmp was not found\"\n" +
                                  unset + launcher_end);
    EXPECT_EQ(missing.syslog, "picture file korvane.bmp was not found\n");

    options.environment["UGII_SITE_DIR"] =
        stage(scratch, "site", {{"korvane.bmp", std::string(APPLICATION_DIR) + "/korvane.bmp"}});
    const HostRun found = run_host(options);
    ASSERT_EQ(found.exit_status, 0) << found.errors << found.transcript;
    EXPECT_EQ(found.transcript, splash + unset + launcher_end);
}

TEST(Entry, ARefusedSessionIsReportedWithoutAnErrorBlock) {
    Library library;
    const HostRun run = run_host(launcher_run(library, "fail UF_initialize\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(run.transcript, "> fail UF_initialize\n" + splash +
                                  "status \"The host session could not be opened\"\n"
                                  "stderr \"The host session could not be opened\\n\"\n" +
                                  launcher_end);
}

TEST(Entry, AFailingCloseIsReportedAfterTheMenu) {
    Library library;
    const HostRun run = run_host(launcher_run(library, "fail UF_terminate\nmenu 2\n"));
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(run.transcript, "> fail UF_terminate\n" + up_to_menu(library) + "> menu 2\n" +
                                  "status \"The host session could not be closed\"\n"
                                  "stderr \"The host session could not be closed\\n\"\n"
                                  "warning: ufusr returned with 1 host session(s) open\n" +
                                  launcher_end);
}

}  // namespace

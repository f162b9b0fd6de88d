// One script, two front-ends: each script is played by ughost and by ughost-gui
// (through its windows, offscreen) on the same library in the same folder, and
// the transcripts, exit statuses and saved files must be the same, line for line
// and byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "host_run.h"
#include "small_library.h"

namespace {

namespace fs = std::filesystem;

// A new row's reference is drawn at random, seeded from the clock's second, and
// the two runs may fall in different seconds: its number is left out of the comparison.
std::string drawn_references_masked(const std::string& text) {
    static const std::regex drawn(R"(\b(TMC0|MAT0|OPD0|FSDO)_[0-9]+)");
    return std::regex_replace(text, drawn, "$1_####");
}

struct Case {
    const char* name;
    const char* plugin;
    std::string script;
    int exit_status;
    std::vector<const char*> files;  // compared after the runs
};

const Case cases[] = {
    {"feeds_row_edited_and_saved", "ratomir",
     "select LIST 1\npress BLO_ACT 0\ntype FEED_MMPT 0.07\npress BLO_ACTION 0\npress BLO_ACT 5\nanswer yes\nok\n", 0,
     {"feeds_speeds.dat"}},
    {"calculator_menus_and_listing", "ratomir",
     "press CALC\nmenu 6\nnumbers 3 1200 4 1000\npress BLO_ACT 3\ncancel\n", 0, {"feeds_speeds.dat"}},
    {"unsaved_row_asked_about_on_leaving", "ratomir",
     "select LIST 2\npress BLO_ACT 0\ntype SURF_SPEED_MPM 95\npress BLO_ACTION 0\nok\nanswer no\ncancel\nanswer yes\n",
     0, {"feeds_speeds.dat"}},
    {"part_material_edited_and_saved", "blankora",
     "select LIST 1\npress BLO_ACT 0\ntype HARDNESS HB 120\npress BLO_ACTION 0\npress BLO_ACT 5\nanswer yes\nok\n", 0,
     {"part_materials.dat"}},
    {"cut_method_changed_in_its_record_dialog", "strakel",
     "select LIST_CUTS 1\npress BLO_ACT 0\nselect MODE_CUTS 2\ntype WIDE_MAT Сверление глубокое\nok\n"
     "press BLO_ACT 5\nanswer yes\nok\n",
     0, {"cut_methods.dat"}},
    {"tool_material_added_in_its_record_dialog", "gradivo",
     "press BLO_ACT 2\ntype WIDE_MAT ВК8\ntype WIDE_DISCRIPTION Твердый сплав для чугуна\nok\n"
     "press BLO_ACT 5\nanswer yes\nok\n",
     0, {"tool_materials.dat"}},
    // Failure paths: the host refuses a typed value, a disabled button, an action that does not fit.
    {"text_the_code_page_cannot_hold_stops_the_script", "blankora",
     "press BLO_ACT 0\ntype MATNAME Сталь 中\npress BLO_ACTION 0\n", 2, {"part_materials.dat"}},
    {"disabled_button_stops_the_script", "blankora", "press BLO_ACTION 0\n", 2, {}},
    {"answer_where_the_dialog_awaits_an_action", "gradivo", "answer yes\n", 2, {}},
    {"actions_left_over", "gradivo", "ok\nok\n", 2, {}},
};

void PrintTo(const Case& value, std::ostream* out) { *out << value.name; }

class TwoFrontEnds : public ::testing::TestWithParam<Case> {
protected:
    // The library as it was before the first run, in the same folder, so paths in the transcripts agree.
    void fresh_library() {
        for (const auto& entry : fs::directory_iterator(library.path())) fs::remove_all(entry.path());
        write_small_library(library);
    }

    struct Played {
        HostRun run;
        std::vector<std::string> files;
    };

    Played play(const std::string& program) {
        fresh_library();
        const Case& c = GetParam();
        HostRunOptions options;
        options.program = program;
        options.plugins = {std::string(APPLICATION_DIR) + "/" + c.plugin + ".so"};
        options.script = c.script;
        options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
        Played played{run_host(options), {}};
        played.run.transcript = drawn_references_masked(played.run.transcript);
        for (const char* file : c.files) played.files.push_back(drawn_references_masked(library.read(file)));
        return played;
    }

    ScratchDirectory library;
};

TEST_P(TwoFrontEnds, GiveTheSameTranscriptAndFiles) {
    const Played scripted = play(UGHOST_PROGRAM);
    const Played desktop = play(DESKTOP_PROGRAM);
    EXPECT_EQ(scripted.run.exit_status, GetParam().exit_status) << scripted.run.errors << scripted.run.transcript;
    EXPECT_EQ(desktop.run.exit_status, scripted.run.exit_status) << desktop.run.errors;
    EXPECT_EQ(desktop.run.transcript, scripted.run.transcript);
    EXPECT_EQ(desktop.files, scripted.files);
    EXPECT_EQ(desktop.run.syslog, scripted.run.syslog);
}

INSTANTIATE_TEST_SUITE_P(Scripts, TwoFrontEnds, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The launcher's demo session from the sample library: menus, the feeds editor, a save, the cut methods.
TEST(TwoFrontEndsLauncher, TheDemoSessionGivesTheSameTranscriptAndFiles) {
    ScratchDirectory library;
    const std::string stage = fs::path(APPLICATION_DIR).parent_path().string();
    const std::string script = read_bytes(SAMPLE_LIBRARY_DIR "/../demo/launcher.script");
    auto play = [&](const std::string& program) {
        for (const auto& entry : fs::directory_iterator(library.path())) fs::remove_all(entry.path());
        library.copy_samples();
        HostRunOptions options;
        options.program = program;
        options.plugins = {std::string(APPLICATION_DIR) + "/korvane.so"};
        options.script = script;
        options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
        options.environment["UGII_CAM_LIBRARY_TOOL_METRIC_DIR"] = library.with_separator();
        options.environment["UGII_USER_DIR"] = stage;
        HostRun run = run_host(options);
        return std::make_pair(run, library.read("feeds_speeds.dat"));
    };
    const auto [scripted, scripted_feeds] = play(UGHOST_PROGRAM);
    const auto [desktop, desktop_feeds] = play(DESKTOP_PROGRAM);
    EXPECT_EQ(scripted.exit_status, 0) << scripted.errors;
    EXPECT_EQ(desktop.exit_status, 0) << desktop.errors;
    EXPECT_EQ(desktop.transcript, scripted.transcript);
    EXPECT_EQ(desktop_feeds, scripted_feeds);
    EXPECT_NE(scripted_feeds, sample_bytes("feeds_speeds.dat"));
}

}  // namespace

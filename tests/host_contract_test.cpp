// What the host and the plug-ins promise each other at the C boundary: bytes
// kept through the screen, value types checked, nothing thrown across, a run
// that crashes still leaves its transcript.
#include <gtest/gtest.h>

#include <filesystem>

#include "small_library.h"
#include "test_text.h"

namespace {

const std::string type_misfit = "The value type does not fit the item";
const std::string type_misfit_reported[] = {"status \"" + type_misfit + "\"",
                                            "stderr \"\\nError:\\n" + type_misfit + "\\n\\n\""};

HostRun run_plugin(const std::string& editor, const ScratchDirectory& library, const std::string& script) {
    return run_host(plugin_run(editor, library, script));
}

// ---- 1. Bytes the code page leaves unassigned ----

// 0x98 has no character in the code page; it is shown as U+F798.
const std::string unassigned_shown = "\xEF\x9E\x98";

TEST(UnassignedBytes, SurviveLoadShowEditApplyAndSave) {
    ScratchDirectory library;
    const std::string file = cp1251("DATA|ST45|Сталь") + "\x98" + cp1251("45|Сталь конструкционная|HB 200|MAT0_0001\r\n");
    library.write("part_materials.dat", file);
    const HostRun run = run_plugin("blankora", library,
                                   "press BLO_ACT 0\ntype HARDNESS HB 210\npress BLO_ACTION 0\n"
                                   "press BLO_ACT 5\nanswer yes\nok\n");
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"item blankora.dlg MATNAME text \"Сталь" + unassigned_shown + "45\""}));
    const std::string saved = library.read("part_materials.dat");
    EXPECT_NE(saved.find(cp1251("DATA|ST45|Сталь") + "\x98" + cp1251("45|Сталь конструкционная|HB 210|MAT0_0001\r\n")),
              std::string::npos)
        << saved;
}

TEST(UnassignedBytes, TypedAsShownTheyAreSavedAsTheByte) {
    ScratchDirectory library;
    write_small_library(library);
    const HostRun run = run_plugin("blankora", library,
                                   "press BLO_ACT 0\ntype MATNAME Д" + unassigned_shown +
                                       "16\npress BLO_ACTION 0\npress BLO_ACT 5\nanswer yes\nok\n");
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_NE(library.read("part_materials.dat").find(cp1251("|Д") + "\x98" + "16|"), std::string::npos);
}

struct InvalidInput {
    const char* name;
    const char* bytes;
};

void PrintTo(const InvalidInput& input, std::ostream* out) { *out << input.name; }

class InvalidUtf8 : public ::testing::TestWithParam<InvalidInput> {};

TEST_P(InvalidUtf8, IsRefusedNotMangled) {
    ScratchDirectory library;
    write_small_library(library);
    const std::string typed = std::string("type MATNAME A") + GetParam().bytes + "B";
    const HostRun run = run_plugin("blankora", library, "press BLO_ACT 0\n" + typed + "\npress BLO_ACTION 0\nok\n");
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_EQ(run.errors, "ughost: script line 2: '" + typed +
                              "' cannot be done: Текст содержит знаки, которых нет в кодовой странице 1251: такой "
                              "текст не может быть записан.\n");
}

INSTANTIATE_TEST_SUITE_P(Sequences, InvalidUtf8,
                         ::testing::Values(InvalidInput{"OverlongNul", "\xC0\x80"},
                                           InvalidInput{"OverlongBar", "\xC1\xBC"},
                                           InvalidInput{"OverlongPrivate", "\xF0\x8F\x9E\x98"},
                                           InvalidInput{"LoneContinuation", "\x80"},
                                           InvalidInput{"Surrogate", "\xED\xA0\x80"},
                                           InvalidInput{"PastUnicode", "\xF4\x90\x80\x80"},
                                           InvalidInput{"CutSequence", "\xD0"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- 2. Item kinds that differ from what the plug-in expects ----

struct KindSwap {
    const char* name;
    const char* plugin;       // started from a folder of its own
    const char* dialog_file;  // the file whose item changes kind
    const char* line;         // the item's line as shipped
    const char* swapped;      // and as the swapped copy has it
    const char* script;
    const char* host_log;     // what the host logs of the refused value
};

void PrintTo(const KindSwap& swap, std::ostream* out) { *out << swap.name; }

class KindSwapped : public ::testing::TestWithParam<KindSwap> {};

TEST_P(KindSwapped, IsRefusedByTheHostAndReportedByThePlugin) {
    const KindSwap& swap = GetParam();
    ScratchDirectory library;
    write_small_library(library);
    ScratchDirectory folder;
    const std::string plugin = swap.plugin;
    std::filesystem::copy_file(std::string(APPLICATION_DIR) + "/" + plugin + ".so", folder.file(plugin + ".so"));
    folder.hand_over(folder.file(plugin + ".so"));
    for (const auto& entry : std::filesystem::directory_iterator(APPLICATION_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(plugin, 0) != 0 || entry.path().extension() != ".dlg") continue;
        std::string text = read_bytes(entry.path().string());
        if (name == swap.dialog_file) {
            const std::size_t at = text.find(swap.line);
            ASSERT_NE(at, std::string::npos) << name;
            text.replace(at, std::string(swap.line).size(), swap.swapped);
        }
        folder.write(name, text);
    }
    HostRunOptions options;
    options.plugins = {folder.file(plugin + ".so")};
    options.script = swap.script;
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"syslog \"" + std::string(swap.host_log) + "\"",
                                                type_misfit_reported[0], type_misfit_reported[1]}));
    EXPECT_NE(run.syslog.find(swap.host_log), std::string::npos) << run.syslog;
    EXPECT_EQ(count_lines_starting(run.transcript, "ufusr returned retcode="), 1) << run.transcript;
}

INSTANTIATE_TEST_SUITE_P(
    FiveDialogs, KindSwapped,
    ::testing::Values(
        KindSwap{"ReferenceDeclaredReal", "ratomir", "ratomir.dlg", "text LIBREF", "real LIBREF", "ok\n",
                 "ratomir.dlg: item LIBREF is a real item and was given a text"},
        KindSwap{"DepthDeclaredText", "ratomir", "ratomir.dlg", "real DPT_CUT_MM", "text DPT_CUT_MM", "ok\n",
                 "ratomir.dlg: item DPT_CUT_MM is a text item and was given a real number"},
        KindSwap{"MaterialNameDeclaredReal", "blankora", "blankora.dlg", "text MATNAME", "real MATNAME", "ok\n",
                 "blankora.dlg: item MATNAME is a real item and was given a text"},
        KindSwap{"MachineModeDeclaredText", "strakel", "strakeledit.dlg", "choice MODE_CUTS \"Режим станка\" \"MILL\" "
                 "\"DRILL\" \"LATHE\"", "text MODE_CUTS \"Режим станка\"", "press BLO_ACT 0\ncancel\nok\n",
                 "strakeledit.dlg: item MODE_CUTS is a text item and was given an integer"},
        KindSwap{"RecordReferenceDeclaredReal", "gradivo", "gradivoedit.dlg", "text WIDE_NUM", "real WIDE_NUM",
                 "press BLO_ACT 0\ncancel\nok\n", "gradivoedit.dlg: item WIDE_NUM is a real item and was given a text"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KindSwappedOnAsk, AValueOfAnotherTypeDropsTheApply) {
    // The list's field is declared real: the host gives the apply a number where it asks for a text.
    ScratchDirectory library;
    write_small_library(library);
    ScratchDirectory folder;
    std::filesystem::copy_file(std::string(APPLICATION_DIR) + "/blankora.so", folder.file("blankora.so"));
    folder.hand_over(folder.file("blankora.so"));
    std::string text = read_bytes(std::string(APPLICATION_DIR) + "/blankora.dlg");
    text.replace(text.find("text PARTMAT"), 12, "real PARTMAT");
    folder.write("blankora.dlg", text);
    HostRunOptions options;
    options.plugins = {folder.file("blankora.so")};
    options.script = "press BLO_ACT 0\ntype MATNAME Сталь 40\npress BLO_ACTION 0\ncancel\n";
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
    const HostRun run = run_host(options);
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_EQ(between(run.transcript, "> press BLO_ACTION 0", "> cancel"),
              type_misfit_reported[0] + "\n" + type_misfit_reported[1] + "\n");
}

// ---- 3. Exceptions at the C boundary ----

HostRun run_faulty(const std::string& how, const std::string& script) {
    ScratchDirectory library;
    HostRunOptions options;
    options.plugins = {FAULTY};
    options.parameter = how;
    options.script = script;
    return run_host(options);
}

TEST(Exceptions, AnEntryThatThrowsReportsAndReturnsItsCode) {
    const HostRun run = run_faulty("entry", "");
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript, {"load faulty.so", "stderr \"\\nError:\\nthe entry failed on purpose\\n\\n\"",
                                                "syslog \"the entry failed on purpose\"", "ufusr returned retcode=0",
                                                "unload faulty.so"}));
}

TEST(Exceptions, AGuardedCallbackThatThrowsReportsAndTheDialogStays) {
    const HostRun run = run_faulty("callback", "press BLO_ACT 0\nok\n");
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    const std::string reported[] = {"stderr \"\\nError:\\nthe callback failed on purpose\\n\\n\"",
                                    "syslog \"the callback failed on purpose\""};
    EXPECT_TRUE(lines_in_order(run.transcript, {"dialog faulty.dlg open \"Faulty\"", reported[0], reported[1],
                                                "> press BLO_ACT 0", reported[0], reported[1], "> ok",
                                                "dialog faulty.dlg closed response=2"}));
    EXPECT_EQ(count_lines_starting(run.transcript, "warning"), 0) << run.transcript;
}

TEST(Exceptions, AnUnguardedCallbackThatThrowsIsCaughtByTheHost) {
    const HostRun run = run_faulty("unguarded", "press BLO_ACT 0\nok\n");
    ASSERT_EQ(run.exit_status, 0) << run.errors << run.transcript;
    EXPECT_TRUE(lines_in_order(run.transcript,
                               {"> press BLO_ACT 0",
                                "syslog \"faulty.dlg: the callback of BLO_ACT threw: the callback failed on purpose\"",
                                "> ok",
                                "dialog faulty.dlg closed response=2"}));
}

// ---- 4. A crash keeps what happened before it ----

TEST(Crash, TheTranscriptKeepsTheEventsBeforeIt) {
    ScratchDirectory work;
    HostRunOptions options;
    options.plugins = {FAULTY};
    options.parameter = "crash";
    const HostRun run = run_host(options);
    EXPECT_NE(run.exit_status, 0);
    EXPECT_NE(run.exit_status, 2);
    EXPECT_TRUE(lines_in_order(run.transcript, {"load faulty.so", "message \"before the crash\""})) << run.errors;
#ifdef SANITIZED_BUILD
    // The sanitizer's report, and what the plug-in printed before it, reach the error stream.
    EXPECT_NE(run.errors.find("faulty.cpp:"), std::string::npos) << run.errors;  // the report names the crash site
    EXPECT_NE(run.errors.find("printed before the crash"), std::string::npos) << run.errors;
#endif
}

}  // namespace

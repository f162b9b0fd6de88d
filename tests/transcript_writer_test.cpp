// The transcript writer on its own: every event as the line host/README.md
// documents, through a line sink as the desktop front-end uses it, and through
// a file flushed event by event as the scripted front-end uses it. Many of these
// lines (a library left loaded, an entry that is missing or throws something
// unknown) take a broken plug-in to reach end to end.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dialog.h"
#include "transcript_writer.h"

namespace {

using namespace ughost;

struct Event {
    const char* name;
    std::function<void(TranscriptWriter&)> call;
    std::vector<std::string> lines;
};

std::vector<std::string> lines_of(const std::function<void(TranscriptWriter&)>& call) {
    std::vector<std::string> lines;
    TranscriptWriter writer([&](const std::string& line) { lines.push_back(line); });
    call(writer);
    return lines;
}

void expect_lines(const std::vector<Event>& events) {
    for (const auto& event : events) EXPECT_EQ(lines_of(event.call), event.lines) << event.name;
}

TEST(TranscriptWriter, HostNotes) {
    expect_lines({
        {"load", [](auto& w) { w.plugin_loading("ratomir.so"); }, {"load ratomir.so"}},
        {"cannot load", [](auto& w) { w.plugin_not_loaded("x.so", "no such file"); },
         {"error: cannot load x.so: no such file"}},
        {"lacks", [](auto& w) { w.plugin_lacks_entry("x.so", "ufusr"); }, {"error: x.so lacks the required entry ufusr"}},
        {"threw", [](auto& w) { w.entry_threw("x.so", "boom"); }, {"error: ufusr of x.so threw: boom"}},
        {"threw unknown", [](auto& w) { w.entry_threw_unknown("x.so"); },
         {"error: ufusr of x.so threw an unknown exception"}},
        {"sessions", [](auto& w) { w.entry_left_sessions(2); }, {"warning: ufusr returned with 2 host session(s) open"}},
        {"returned", [](auto& w) { w.entry_returned(-1); }, {"ufusr returned retcode=-1"}},
        {"ask unload", [](auto& w) { w.unload_asked(0); }, {"ufusr_ask_unload returned 0"}},
        {"overruled", [](auto& w) { w.unload_answer_overruled(); },
         {"warning: the host unloads every plug-in when its ufusr returns"}},
        {"unload", [](auto& w) { w.plugin_unloaded("x.so", false); }, {"unload x.so"}},
        {"still loaded", [](auto& w) { w.plugin_unloaded("x.so", true); },
         {"warning: x.so is still loaded after its unload"}},
        {"library", [](auto& w) { w.library_loaded("/a/b.so"); }, {"library /a/b.so loaded"}},
        {"library refused", [](auto& w) { w.library_not_loaded("/a/b.so", "why"); }, {"library /a/b.so not loaded: why"}},
        {"library gone", [](auto& w) { w.library_unloaded("/a/b.so", false); }, {"library /a/b.so unloaded"}},
        {"library kept", [](auto& w) { w.library_unloaded("/a/b.so", true); }, {"library /a/b.so still loaded"}},
        {"callback", [](auto& w) { w.callback_left_sessions("BLO_ACT", 1); },
         {"warning the callback of BLO_ACT left 1 host session(s) open"}},
        {"no picture", [](auto& w) { w.picture_not_found("splash.bmp"); }, {"error: picture splash.bmp was not found"}},
        {"no timer", [](auto& w) { w.picture_closed_by_host(); },
         {"picture window has no timer and can never close; closed by the host"}},
        {"timer set", [](auto& w) { w.timer_set(7, 2000); }, {"timer set 7 2000 ms"}},
        {"timer killed", [](auto& w) { w.timer_killed(7, true); }, {"timer killed 7"}},
        {"no such timer", [](auto& w) { w.timer_killed(8, false); }, {"timer killed 8 (none was set)"}},
    });
}

TEST(TranscriptWriter, WhatTheUserSeesAndDoes) {
    MessageBoxRequest question{"ratomir.dlg", "Save", "Write \"all\"?", Icon::question, true, true};
    MessageBoxRequest notice{"", "C", "line\n", Icon::none, false, false};
    expect_lines({
        {"action", [](auto& w) { w.action_taken("press BLO_ACT 5"); }, {"> press BLO_ACT 5"}},
        {"script error", [](auto& w) { w.script_error("it ran out"); }, {"script error: it ran out"}},
        {"message", [](auto& w) { w.message_shown("a\tb"); }, {"message \"a\\tb\""}},
        {"yes/no box", [&](auto& w) { w.message_box(question); },
         {"box question owner=ratomir.dlg caption=\"Save\" text=\"Write \\\"all\\\"?\" buttons=yes/NO"}},
        {"ok box", [&](auto& w) { w.message_box(notice); }, {"box plain owner=host caption=\"C\" text=\"line\\n\" -> ok"}},
        {"menu", [](auto& w) { w.choice_menu("M", 1, {"A", ""}); }, {"menu \"M\" default=1 items=[\"A\", \"\"]"}},
        {"numbers", [](auto& w) { w.number_menu("N", {"v", "w"}, {2.5, 100}); }, {"numbers \"N\" [\"v\"=2.5, \"w\"=100]"}},
        {"listing", [](auto& w) { w.listing_opened(); w.listing_written("x\r\n"); }, {"listing open", "listing \"x\\r\\n\""}},
        {"status", [](auto& w) { w.status_shown("s"); }, {"status \"s\""}},
        {"syslog", [](auto& w) { w.syslog_written("\x01"); }, {"syslog \"\\x01\""}},
        {"beep", [](auto& w) { w.beep(); }, {"beep"}},
        {"picture", [](auto& w) { w.picture_shown("/a/b/k.bmp"); w.clock_moved(2000); w.picture_closed("/a/b/k.bmp", 2000); },
         {"picture open \"k.bmp\"", "clock +2000 ms", "picture closed \"k.bmp\" after 2000 ms"}},
        {"output", [](auto& w) { w.output_written(1, "o"); w.output_written(2, "e"); }, {"stdout \"o\"", "stderr \"e\""}},
    });
}

Dialog sample_dialog() {
    DialogDefinition definition;
    definition.title = "Режимы";
    definition.items = {{"LIST", ItemKind::list, "Rows", true, "", {}},
                        {"BLO", ItemKind::buttons, "Commands", true, "", {"A", "B"}},
                        {"FEED", ItemKind::real, "Feed", true, "", {}},
                        {"NAME", ItemKind::text, "Name", true, "", {}},
                        {"MAT", ItemKind::option, "Material", true, "", {}}};
    return Dialog(1, "ratomir.dlg", std::move(definition), nullptr);
}

TEST(TranscriptWriter, DialogsAndTheirItems) {
    Dialog dialog = sample_dialog();
    Item list = *dialog.find("LIST");
    list.lines = {"row 0", "row \"1\""};
    Item field = *dialog.find("FEED");
    field.real = 0.1;
    Item name = *dialog.find("NAME");
    name.text = "Сталь";
    Item option = *dialog.find("MAT");
    option.lines = {"P1", "P2"};
    const Item& buttons = *dialog.find("BLO");
    expect_lines({
        {"open", [&](auto& w) { w.dialog_opened(dialog); }, {"dialog ratomir.dlg open \"Режимы\""}},
        {"closed", [&](auto& w) { w.dialog_closed(dialog, 2); }, {"dialog ratomir.dlg closed response=2"}},
        {"insert", [&](auto& w) { w.item_changed(dialog, {&list, Change::insert, 1, 0}); },
         {"item ratomir.dlg LIST insert 1 \"row \\\"1\\\"\""}},
        {"delete", [&](auto& w) { w.item_changed(dialog, {&list, Change::remove, 0, 0}); }, {"item ratomir.dlg LIST delete 0"}},
        {"delete all", [&](auto& w) { w.item_changed(dialog, {&list, Change::remove, -1, 0}); },
         {"item ratomir.dlg LIST delete all"}},
        {"select", [&](auto& w) { w.item_changed(dialog, {&list, Change::select, 1, 0}); }, {"item ratomir.dlg LIST select 1"}},
        {"sensitive", [&](auto& w) { w.item_changed(dialog, {&list, Change::sensitive, 0, 0}); },
         {"item ratomir.dlg LIST sensitive 0"}},
        {"buttons", [&](auto& w) { w.item_changed(dialog, {&buttons, Change::button_sensitive, -1, 1}); },
         {"item ratomir.dlg BLO buttons sensitive 1"}},
        {"button", [&](auto& w) { w.item_changed(dialog, {&buttons, Change::button_sensitive, 1, 0}); },
         {"item ratomir.dlg BLO button 1 sensitive 0"}},
        {"real", [&](auto& w) { w.item_changed(dialog, {&field, Change::real, 0, 0}); }, {"item ratomir.dlg FEED real 0.1"}},
        {"text", [&](auto& w) { w.item_changed(dialog, {&name, Change::text, 0, 0}); },
         {"item ratomir.dlg NAME text \"Сталь\""}},
        {"focus", [&](auto& w) { w.item_changed(dialog, {&name, Change::focus, 0, 0}); }, {"item ratomir.dlg NAME focus"}},
        {"entries", [&](auto& w) { w.item_changed(dialog, {&option, Change::entries, 0, 0}); },
         {"item ratomir.dlg MAT entries 2", "item ratomir.dlg MAT entry 0 \"P1\"", "item ratomir.dlg MAT entry 1 \"P2\""}},
    });
}

// A plug-in that crashes must leave every event before the crash in the file.
TEST(TranscriptWriter, EachLineReachesTheFileAtOnce) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    TranscriptWriter writer(transcript_file(file));
    writer.plugin_loading("x.so");
    writer.beep();
    std::FILE* reader = std::fopen(("/proc/self/fd/" + std::to_string(fileno(file))).c_str(), "r");
    ASSERT_NE(reader, nullptr);
    char buffer[64] = {};
    const std::size_t read = std::fread(buffer, 1, sizeof buffer - 1, reader);
    EXPECT_EQ(std::string(buffer, read), "load x.so\nbeep\n");
    std::fclose(reader);
    std::fclose(file);
}

}  // namespace

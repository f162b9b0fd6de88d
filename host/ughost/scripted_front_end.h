// The headless front-end: plays a script of user actions (through the script
// player) and hands every event, and every action it takes, to the transcript writer.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "front_end.h"
#include "host_control.h"
#include "script.h"
#include "script_player.h"
#include "transcript_writer.h"

namespace ughost {

class ScriptedFrontEnd : public FrontEnd {
public:
    // transcript may be null: the script is played all the same, nothing is written.
    // Script errors also go to error_fd, which is not the plug-ins' captured stderr.
    ScriptedFrontEnd(HostControl& host, std::vector<ScriptLine> script, std::FILE* transcript, int error_fd);

    // Applies the directives that stand before the first action.
    void start() { player_.start(); }
    // Fails the run when actions are left over or a planned fault never happened;
    // returns the exit status to use.
    int finish() { return player_.finish(); }

    HostNotes& notes() override { return transcript_; }
    void dialog_opened(const Dialog& dialog) override;
    void dialog_closed(const Dialog& dialog, int response) override;
    void item_changed(const Dialog& dialog, const ItemChange& change) override;
    void list_changes(const Dialog& dialog, const std::vector<ItemChange>& changes) override;
    bool next_action(Dialog& dialog, DialogAction& action) override;
    void action_refused(const DialogAction& action, const std::string& why) override;
    void show_message(const std::string& text) override;
    BoxAnswer message_box(const MessageBoxRequest& request) override;
    int choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) override;
    NumberMenuAnswer number_menu(const std::string& title, const std::vector<std::string>& labels,
                                 const std::vector<double>& values) override;
    void listing_opened() override;
    void listing_written(const std::string& text) override;
    void status_shown(const std::string& text) override;
    void syslog_written(const std::string& text) override;
    void beep() override;
    void picture_shown(const std::string& image_file) override;
    void picture_closed(const std::string& image_file, long elapsed_ms) override;
    void wait_for(long milliseconds) override;
    void output_written(int stream, const std::string& text) override;

private:
    TranscriptWriter transcript_;
    ScriptPlayer player_;
};

}  // namespace ughost

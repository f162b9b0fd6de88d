// The desktop front-end: the host's dialogs, messages, menus, listing window,
// status line, log and pictures as Qt widgets. Given a script, it plays it
// through those widgets and writes the transcript the scripted front-end writes.
#pragma once

#include <QHash>

#include <cstdio>
#include <memory>

#include "front_end.h"
#include "host_control.h"
#include "script_player.h"
#include "transcript_writer.h"

class QDialog;
class QWidget;

namespace ughost {

class DialogWindow;
class HostWindow;

class GuiFrontEnd : public FrontEnd {
public:
    explicit GuiFrontEnd(HostWindow& window);

    // From now on the user's actions come from the script, and every event goes
    // to the transcript (null: none) and to the log. Script errors go to error_fd.
    ScriptPlayer& play_script(HostControl& host, std::vector<ScriptLine> script, std::FILE* transcript,
                              int error_fd);

    // The host's notes go to the log, in the transcript's words (and to the transcript, playing a script).
    HostNotes& notes() override { return player_ ? transcript_ : log_notes_; }
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
    // The window that owns what the host shows next: the innermost dialog, else the main window.
    QWidget* owner() const;
    QWidget* window_of(const std::string& dialog_file) const;
    // The script's next action, done in the dialog's widgets.
    DialogAction play_next_action(Dialog& dialog, DialogWindow& window);
    void transcript_line(const std::string& line);

    HostWindow& window_;
    TranscriptWriter log_notes_;
    TranscriptWriter transcript_;
    std::FILE* transcript_file_ = nullptr;
    std::unique_ptr<ScriptPlayer> player_;
    QHash<int, DialogWindow*> dialogs_;
    QList<int> open_order_;
    DialogWindow* refused_in_ = nullptr;
    QDialog* picture_ = nullptr;
};

}  // namespace ughost

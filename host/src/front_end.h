// What a front-end does for the host: show what the plug-ins show and bring back
// what the user does. Texts are UTF-8. The scripted front-end plays a script and
// writes a transcript; the GUI front-end draws real windows.
#pragma once

#include <string>
#include <vector>

#include "dialog.h"

namespace ughost {

enum class ActionKind { select, type, activate, press, ok, cancel };

struct DialogAction {
    ActionKind kind = ActionKind::ok;
    std::string item;
    int index = -1;
    std::string text;  // UTF-8, for type
};

enum class Icon { none, error, question, warning, information };

struct MessageBoxRequest {
    std::string owner;  // file name of the owning dialog, empty for the host's main window
    std::string caption;
    std::string text;
    Icon icon = Icon::none;
    bool yes_no = false;
    bool default_no = false;
};

enum class BoxAnswer { ok, yes, no };

struct NumberMenuAnswer {
    int code = 2;
    std::vector<double> values;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // Notes of what happens; a GUI shows them, the transcript records them.
    virtual void note_event(const std::string& line) = 0;

    virtual void dialog_opened(const Dialog& dialog) = 0;
    virtual void dialog_closed(const Dialog& dialog, int response) = 0;
    virtual void item_changed(const Dialog& dialog, const ItemChange& change) = 0;
    // Waits for the user's next action in the innermost dialog. Returning false
    // stops the host (no more input can come).
    virtual bool next_action(Dialog& dialog, DialogAction& action) = 0;
    // The host tells the front-end that an action it returned could not be taken.
    virtual void action_refused(const DialogAction& action, const std::string& why) = 0;

    virtual void show_message(const std::string& text) = 0;
    virtual BoxAnswer message_box(const MessageBoxRequest& request) = 0;
    // Returns the host's return code of the choice menu (1 back, 2 cancel, 5+ items).
    virtual int choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) = 0;
    virtual NumberMenuAnswer number_menu(const std::string& title, const std::vector<std::string>& labels,
                                         const std::vector<double>& values) = 0;

    virtual void listing_opened() = 0;
    virtual void listing_written(const std::string& text) = 0;
    virtual void status_shown(const std::string& text) = 0;
    virtual void syslog_written(const std::string& text) = 0;
    virtual void beep() = 0;
    // A picture window stays up until its timers have run; the front-end shows it
    // and removes it. image_file is the path the host found; elapsed_ms is how
    // long it stood on the host's clock.
    virtual void picture_shown(const std::string& image_file) = 0;
    virtual void picture_closed(const std::string& image_file, long elapsed_ms) = 0;
    // Waits for the given time on the host's clock (the scripted front-end only records it).
    virtual void wait_for(long milliseconds) = 0;
    virtual void output_written(int stream, const std::string& text) = 0;
};

}  // namespace ughost

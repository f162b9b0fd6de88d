// What a front-end does for the host: show what the plug-ins show and bring back
// what the user does. Every event is a typed call; texts are UTF-8. The scripted
// front-end plays a script and hands each event to the transcript writer; the
// GUI front-end draws real windows.
#pragma once

#include <cstdint>
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

// What the host notes about the plug-ins' life and its own findings, which no
// window shows: the transcript records them, a desktop lists them in its log.
class HostNotes {
public:
    // A plug-in started by the host program; name is its file name.
    virtual void plugin_loading(const std::string& name) = 0;
    virtual void plugin_not_loaded(const std::string& name, const std::string& reason) = 0;
    virtual void plugin_lacks_entry(const std::string& name, const std::string& entry) = 0;
    virtual void entry_threw(const std::string& name, const std::string& what) = 0;
    virtual void entry_threw_unknown(const std::string& name) = 0;
    virtual void entry_left_sessions(int count) = 0;
    virtual void entry_returned(int return_code) = 0;
    virtual void unload_asked(int answer) = 0;
    // The plug-in asked to stay loaded, which the host does not do.
    virtual void unload_answer_overruled() = 0;
    virtual void plugin_unloaded(const std::string& name, bool still_loaded) = 0;

    // UF_load_library and UF_unload_library; path as the plug-in gave it.
    virtual void library_loaded(const std::string& path) = 0;
    virtual void library_not_loaded(const std::string& path, const std::string& reason) = 0;
    virtual void library_unloaded(const std::string& path, bool still_loaded) = 0;

    virtual void callback_left_sessions(const std::string& item_id, int count) = 0;
    virtual void picture_not_found(const std::string& image_file) = 0;
    // A picture window without a timer could never end; the host ends it.
    virtual void picture_closed_by_host() = 0;
    virtual void timer_set(std::uintptr_t id, unsigned milliseconds) = 0;
    virtual void timer_killed(std::uintptr_t id, bool was_set) = 0;

protected:
    ~HostNotes() = default;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    virtual HostNotes& notes() = 0;

    virtual void dialog_opened(const Dialog& dialog) = 0;
    virtual void dialog_closed(const Dialog& dialog, int response) = 0;
    virtual void item_changed(const Dialog& dialog, const ItemChange& change) = 0;
    // List lines a callback emptied and refilled, in the order they changed; a
    // line's text is the item's line at that index. A front-end that can take a
    // refill at once does so; the rest take them one by one.
    virtual void list_changes(const Dialog& dialog, const std::vector<ItemChange>& changes) {
        for (const ItemChange& change : changes) item_changed(dialog, change);
    }
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

// The host's state behind its C interface: the front-end in use, host sessions,
// open dialogs, loaded plug-in libraries, the clock and its timers, the system log,
// and the faults a script asked for.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialog.h"
#include "front_end.h"
#include "host_control.h"
#include "windows.h"

namespace ughost {

struct LoadedLibrary {
    std::string path;
    void* handle = nullptr;
};

using CallbackTable = std::vector<UF_STYLER_callback_info_t>;

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    long period_ms = 0;
    long due_ms = 0;
};

class Host final : public HostControl {
public:
    static Host& instance();

    void set_front_end(FrontEnd* front_end) override { front_end_ = front_end; }
    FrontEnd& ui() override;
    void set_output_drain(std::function<void()> drain) override { drain_output_ = std::move(drain); }

    void plan_fault(const std::string& call, int after) override;
    bool fault_pending(const std::string& call) const override { return faults_.count(call) != 0; }
    // Whether the planned fault of the call happens now; counts the call down otherwise.
    bool fault_due(const std::string& call);

    int open_session();
    int close_session();
    int session_depth() const override { return session_depth_; }

    // Dialogs.
    int run_dialog(const char* file_name, UF_STYLER_callback_info_t* callbacks, int count, void* client_data,
                   int* response);
    Dialog* dialog(int id);
    Dialog* innermost_dialog();

    // Libraries.
    int load_library(const std::string& path, void*& handle, std::string& error) override;
    void unload_library(void* handle) override;
    bool is_loaded(const std::string& path) const override;
    void* find_loaded(const std::string& path) const;
    std::vector<std::string> dialog_search_directories() const;
    // The first readable file of that name in the search directories, as a path;
    // empty when there is none. Dialog files and pictures are found this way.
    std::string find_plugin_file(const std::string& file_name) const;

    const char* translate_variable(const std::string& name);
    const char* release() const;

    void set_syslog_file(std::string path) override { syslog_file_ = std::move(path); }
    const std::string& syslog_file() const { return syslog_file_; }
    void write_syslog(const std::string& text);

    // The host's clock, in milliseconds since start; timers tick on it.
    long now_ms() const { return clock_ms_; }
    void advance_clock(long ms) { clock_ms_ += ms; }
    UINT_PTR set_timer(HWND window, UINT_PTR id, long period_ms);
    bool kill_timer(HWND window, UINT_PTR id);
    const Timer* next_timer(HWND window) const;
    void rearm_timer(HWND window, UINT_PTR id);

    // A change the plug-in made to an item of an open dialog, on its way to the front-end.
    void item_changed(const Dialog& dialog, const ItemChange& change);
    // Passes on the list changes held back so far.
    void flush_list_changes();

private:
    Host() = default;
    // Whether the change can wait for the rest of its refill: emptying a list, or
    // a line appended at its end (whose text then stays as it is until the
    // refill is passed on).
    bool can_hold_back(const Dialog& dialog, const ItemChange& change) const;
    int fire(Dialog& dialog, const UF_STYLER_callback_info_t* callback, int reason, const char* item_id,
             void* client_data);
    void check_session_balance(int depth_before, const std::string& item_id);
    int read_dialog_file(const char* file_name, DialogDefinition& definition);
    int read_callback_table(const char* file_name, const UF_STYLER_callback_info_t* callbacks, int count,
                            const DialogDefinition& definition, CallbackTable& table);
    // Takes the user's actions until one ends the dialog; returns its response.
    int run_user_actions(Dialog& dialog, const CallbackTable& table, void* client_data);
    // Whether the dialog can take the action; why not otherwise.
    static bool user_action_taken(Dialog& dialog, const DialogAction& action, std::string& why);
    int answer_user_action(Dialog& dialog, const DialogAction& action, const CallbackTable& table,
                           void* client_data);

    FrontEnd* front_end_ = nullptr;
    // A refill of many lines goes to the front-end in one call, before anything
    // else it is shown and at the latest when the callback returns.
    const Dialog* held_back_dialog_ = nullptr;
    std::vector<ItemChange> held_back_;
    std::function<void()> drain_output_;
    std::map<std::string, int> faults_;
    int session_depth_ = 0;
    int next_dialog_id_ = 1;
    std::vector<std::unique_ptr<Dialog>> dialogs_;
    std::vector<LoadedLibrary> libraries_;
    std::map<std::string, std::string> variables_;
    std::string syslog_file_;
    long clock_ms_ = 0;
    std::vector<Timer> timers_;
};

}  // namespace ughost

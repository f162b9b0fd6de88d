#include "host.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_call.h"
#include "host_status.h"
#include "host_text.h"
#include "list_growth.h"

namespace ughost {
namespace {

// Where the host looks for a plug-in's dialog files besides the plug-in's own folder.
constexpr const char* application_variables[] = {"UGII_USER_DIR",         "UGII_SITE_DIR", "UGII_VENDOR_DIR",
                                                 "USER_UFUN",             "UGII_INITIAL_UFUN_DIR",
                                                 "UGII_TMP_DIR",          "HOME"};

bool read_file(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

const UF_STYLER_callback_info_t* find_callback(const CallbackTable& table,
                                               std::string_view item, int type) {
    for (const auto& entry : table) {
        if (item == entry.object_id && entry.type == type && entry.callback != nullptr) return &entry;
    }
    return nullptr;
}

}  // namespace

Host& Host::instance() {
    static Host host;
    return host;
}

FrontEnd& Host::ui() {
    flush_list_changes();
    if (drain_output_) drain_output_();
    return *front_end_;
}

bool Host::can_hold_back(const Dialog& dialog, const ItemChange& change) const {
    if (!held_back_.empty() && held_back_dialog_ != &dialog) return false;
    if (change.item->definition.kind != ItemKind::list) return false;
    // Emptying only starts a refill: a later one would change lines already held back.
    if (change.what == Change::remove) return change.index < 0 && held_back_.empty();
    return change.what == Change::insert && static_cast<std::size_t>(change.index) + 1 == change.item->lines.size();
}

void Host::item_changed(const Dialog& dialog, const ItemChange& change) {
    if (!can_hold_back(dialog, change)) {
        ui().item_changed(dialog, change);
        return;
    }
    if (held_back_.empty()) {
        // What the plug-in printed before the refill goes before it.
        if (drain_output_) drain_output_();
        // Room for the whole refill at once: growing would hold two copies.
        const std::size_t lines = dialog.spare_line_count();
        held_back_.reserve(lines + lines / 8 + 16);
    }
    held_back_dialog_ = &dialog;
    make_room_for_one_more(held_back_);
    held_back_.push_back(change);
}

void Host::flush_list_changes() {
    if (held_back_.empty()) return;
    std::vector<ItemChange> changes;
    changes.swap(held_back_);
    front_end_->list_changes(*held_back_dialog_, changes);
}

void Host::plan_fault(const std::string& call, int after) { faults_[call] = after; }

bool Host::fault_due(const std::string& call) {
    const auto found = faults_.find(call);
    if (found == faults_.end()) return false;
    if (found->second > 0) {
        --found->second;
        return false;
    }
    faults_.erase(found);
    return true;
}

int Host::open_session() {
    if (fault_due("UF_initialize")) return status_session_refused;
    ++session_depth_;
    return 0;
}

int Host::close_session() {
    if (session_depth_ == 0) return status_no_session;
    if (fault_due("UF_terminate")) return status_session_not_closed;
    --session_depth_;
    return 0;
}

void Host::check_session_balance(int depth_before, const std::string& item_id) {
    if (session_depth_ != depth_before) {
        ui().notes().callback_left_sessions(item_id, session_depth_ - depth_before);
        session_depth_ = depth_before;
    }
}

Dialog* Host::dialog(int id) {
    for (auto& open : dialogs_) {
        if (open->id() == id) return open.get();
    }
    return nullptr;
}

Dialog* Host::innermost_dialog() { return dialogs_.empty() ? nullptr : dialogs_.back().get(); }

std::vector<std::string> Host::dialog_search_directories() const {
    std::vector<std::string> directories;
    for (auto library = libraries_.rbegin(); library != libraries_.rend(); ++library) {
        directories.push_back(std::filesystem::path(library->path).parent_path().string());
    }
    for (const char* variable : application_variables) {
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
            directories.push_back(std::string(value) + "/application");
        }
    }
    return directories;
}

std::string Host::find_plugin_file(const std::string& file_name) const {
    for (const auto& directory : dialog_search_directories()) {
        const std::filesystem::path path = std::filesystem::path(directory) / file_name;
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored) && std::ifstream(path, std::ios::binary)) {
            return path.string();
        }
    }
    return {};
}

int Host::fire(Dialog& dialog, const UF_STYLER_callback_info_t* callback, int reason, const char* item_id,
               void* client_data) {
    if (callback == nullptr) return UF_UI_CB_CONTINUE_DIALOG;
    UF_STYLER_item_value_type_t event{};
    event.reason = reason;
    event.item_id = item_id;
    if (const Item* item = dialog.find(item_id); item != nullptr) {
        event.subitem_index = item->selection;
        event.indicator = UF_STYLER_INTEGER_VALUE;
        event.value.integer = item->selection;
    }
    const int depth = session_depth_;
    int result = UF_UI_CB_CONTINUE_DIALOG;
    // A plug-in's callback should not throw; one that does leaves the dialog open, as a failed callback does.
    try {
        result = callback->callback(dialog.id(), client_data, &event);
    } catch (const std::exception& error) {
        write_syslog(dialog.file_name() + ": the callback of " + item_id + " threw: " + error.what());
    } catch (...) {
        write_syslog(dialog.file_name() + ": the callback of " + item_id + " threw an unknown exception");
    }
    flush_list_changes();
    dialog.release_spare_lines();
    check_session_balance(depth, item_id);
    return result;
}

int Host::read_dialog_file(const char* file_name, DialogDefinition& definition) {
    std::string text;
    const std::string found = find_plugin_file(file_name);
    if (found.empty() || !read_file(found, text)) {
        write_syslog(std::string("dialog file ") + file_name + " was not found");
        return status_dialog_not_found;
    }
    DialogFileError error;
    if (!parse_dialog_file(text, definition, error)) {
        write_syslog(found + ":" + std::to_string(error.line) + ": " + error.message);
        return status_dialog_file_invalid;
    }
    return 0;
}

int Host::read_callback_table(const char* file_name, const UF_STYLER_callback_info_t* callbacks, int count,
                              const DialogDefinition& definition, CallbackTable& table) {
    for (int i = 0; i < count && callbacks[i].type != UF_STYLER_NO_CB; ++i) {
        const UF_STYLER_callback_info_t& entry = callbacks[i];
        if (entry.object_id == nullptr) return status_bad_argument;
        const std::string id = entry.object_id;
        if (id != UF_STYLER_DIALOG_INDEX && std::none_of(definition.items.begin(), definition.items.end(),
                                                         [&](const ItemDefinition& item) { return item.id == id; })) {
            write_syslog(std::string(file_name) + ": the callback table names item " + id +
                         ", which the dialog file lacks");
            return status_dialog_callback_unknown_item;
        }
        table.push_back(entry);
    }
    return 0;
}

int Host::run_dialog(const char* file_name, UF_STYLER_callback_info_t* callbacks, int count, void* client_data,
                     int* response) {
    if (file_name == nullptr || callbacks == nullptr || count < 1) return status_bad_argument;
    if (fault_due("UF_STYLER_create_dialog")) return status_dialog_not_created;
    DialogDefinition definition;
    if (const int status = read_dialog_file(file_name, definition); status != 0) return status;
    CallbackTable table;
    if (const int status = read_callback_table(file_name, callbacks, count, definition, table); status != 0) {
        return status;
    }
    auto observer = [this](const Dialog& changed, const ItemChange& change) { item_changed(changed, change); };
    dialogs_.push_back(std::make_unique<Dialog>(next_dialog_id_++, file_name, std::move(definition), observer));
    Dialog& dialog = *dialogs_.back();
    ui().dialog_opened(dialog);
    const int result = fire(dialog, find_callback(table, UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB),
                            UF_STYLER_CONSTRUCTOR_CB, UF_STYLER_DIALOG_INDEX, client_data);
    const int ending = result == UF_UI_CB_EXIT_DIALOG ? UF_STYLER_RESPONSE_CLOSED : run_user_actions(dialog, table, client_data);
    if (response != nullptr) *response = ending;
    ui().dialog_closed(dialog, ending);
    dialogs_.pop_back();
    return 0;
}

int Host::run_user_actions(Dialog& dialog, const CallbackTable& table, void* client_data) {
    for (;;) {
        DialogAction action;
        if (!ui().next_action(dialog, action)) return UF_STYLER_RESPONSE_CANCEL;
        std::string why;
        if (!user_action_taken(dialog, action, why)) {
            ui().action_refused(action, why);
            continue;
        }
        if (const int ending = answer_user_action(dialog, action, table, client_data); ending != 0) return ending;
    }
}

bool Host::user_action_taken(Dialog& dialog, const DialogAction& action, std::string& why) {
    switch (action.kind) {
        case ActionKind::select: return dialog.user_select(action.item, action.index, why);
        case ActionKind::type: return dialog.user_type(action.item, action.text, why);
        case ActionKind::press: return dialog.user_press(action.item, action.index, why);
        case ActionKind::activate: return dialog.user_can_activate(action.item, why);
        case ActionKind::ok:
        case ActionKind::cancel: return true;
    }
    return true;
}

// Runs the callback a taken action calls for; the dialog's response when it ends the dialog, else 0.
int Host::answer_user_action(Dialog& dialog, const DialogAction& action, const CallbackTable& table,
                             void* client_data) {
    if (action.kind == ActionKind::type) return 0;
    if (action.kind == ActionKind::ok || action.kind == ActionKind::cancel) {
        const int type = action.kind == ActionKind::ok ? UF_STYLER_OK_CB : UF_STYLER_CANCEL_CB;
        const auto* callback = find_callback(table, UF_STYLER_DIALOG_INDEX, type);
        const int result = callback == nullptr ? UF_UI_CB_EXIT_DIALOG
                                               : fire(dialog, callback, type, UF_STYLER_DIALOG_INDEX, client_data);
        if (result != UF_UI_CB_EXIT_DIALOG) return 0;
        return action.kind == ActionKind::ok ? UF_STYLER_RESPONSE_OK : UF_STYLER_RESPONSE_CANCEL;
    }
    const std::string item_id = action.item;
    const int result = fire(dialog, find_callback(table, item_id, UF_STYLER_ACTIVATE_CB), UF_STYLER_ACTIVATE_CB,
                            item_id.c_str(), client_data);
    return result == UF_UI_CB_EXIT_DIALOG ? UF_STYLER_RESPONSE_CLOSED : 0;
}

int Host::load_library(const std::string& path, void*& handle, std::string& error) {
    if (fault_due("UF_load_library")) {
        error = "the library load was refused";
        return status_library_not_loaded;
    }
    // A library's constructors run inside dlopen and may already ask for files
    // from its folder (the launcher's splash picture does), so it counts as
    // loaded from the start. Loads its constructors make come and go above it.
    const std::size_t slot = libraries_.size();
    libraries_.push_back({path, nullptr});
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        libraries_.erase(libraries_.begin() + static_cast<std::ptrdiff_t>(slot));
        const char* reason = dlerror();
        error = reason == nullptr ? "unknown reason" : reason;
        return status_library_not_loaded;
    }
    libraries_[slot].handle = handle;
    return 0;
}

void Host::unload_library(void* handle) {
    const auto found = std::find_if(libraries_.begin(), libraries_.end(),
                                    [&](const LoadedLibrary& library) { return library.handle == handle; });
    if (found != libraries_.end()) libraries_.erase(found);
    dlclose(handle);
}

void* Host::find_loaded(const std::string& path) const {
    for (auto library = libraries_.rbegin(); library != libraries_.rend(); ++library) {
        if (library->path == path && library->handle != nullptr) return library->handle;
    }
    return nullptr;
}

bool Host::is_loaded(const std::string& path) const {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    dlclose(handle);
    return true;
}

const char* Host::translate_variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return nullptr;
    std::string& kept = variables_[name];
    kept = value;
    return kept.c_str();
}

const char* Host::release() const { return UGHOST_RELEASE; }

void Host::write_syslog(const std::string& text) {
    if (!syslog_file_.empty()) {
        std::ofstream log(syslog_file_, std::ios::binary | std::ios::app);
        log << text;
        if (text.empty() || text.back() != '\n') log << '\n';
    }
    if (front_end_ != nullptr) ui().syslog_written(cp1251_to_utf8(text));
}

void report_host_call_failure(const char* name, const char* what) noexcept {
    try {
        Host::instance().write_syslog(std::string(name) + ": " + what);
    } catch (...) {
        // The log itself failed: there is nowhere left to tell.
    }
}

UINT_PTR Host::set_timer(HWND window, UINT_PTR id, long period_ms) {
    kill_timer(window, id);
    timers_.push_back({window, id, period_ms, clock_ms_ + period_ms});
    return id == 0 ? 1 : id;
}

bool Host::kill_timer(HWND window, UINT_PTR id) {
    const auto found = std::find_if(timers_.begin(), timers_.end(),
                                    [&](const Timer& timer) { return timer.window == window && timer.id == id; });
    if (found == timers_.end()) return false;
    timers_.erase(found);
    return true;
}

const Timer* Host::next_timer(HWND window) const {
    const Timer* next = nullptr;
    for (const auto& timer : timers_) {
        if (timer.window == window && (next == nullptr || timer.due_ms < next->due_ms)) next = &timer;
    }
    return next;
}

void Host::rearm_timer(HWND window, UINT_PTR id) {
    for (auto& timer : timers_) {
        if (timer.window == window && timer.id == id) timer.due_ms = clock_ms_ + timer.period_ms;
    }
}

}  // namespace ughost

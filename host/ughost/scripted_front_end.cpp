#include "scripted_front_end.h"

namespace ughost {

ScriptedFrontEnd::ScriptedFrontEnd(HostControl& host, std::vector<ScriptLine> script, std::FILE* transcript,
                                   int error_fd)
    : transcript_(transcript_file(transcript)), player_(host, std::move(script), transcript_, error_fd) {}

void ScriptedFrontEnd::dialog_opened(const Dialog& dialog) { transcript_.dialog_opened(dialog); }

void ScriptedFrontEnd::dialog_closed(const Dialog& dialog, int response) { transcript_.dialog_closed(dialog, response); }

void ScriptedFrontEnd::item_changed(const Dialog& dialog, const ItemChange& change) {
    if (transcript_.wanted()) transcript_.item_changed(dialog, change);
}

void ScriptedFrontEnd::list_changes(const Dialog& dialog, const std::vector<ItemChange>& changes) {
    if (!transcript_.wanted()) return;
    for (const ItemChange& change : changes) transcript_.item_changed(dialog, change);
}

bool ScriptedFrontEnd::next_action(Dialog& dialog, DialogAction& action) {
    action = player_.take_dialog_action(dialog);
    return true;
}

void ScriptedFrontEnd::action_refused(const DialogAction&, const std::string& why) { player_.refuse(why); }

void ScriptedFrontEnd::show_message(const std::string& text) { transcript_.message_shown(text); }

BoxAnswer ScriptedFrontEnd::message_box(const MessageBoxRequest& request) {
    transcript_.message_box(request);
    return request.yes_no ? player_.take_box_answer() : BoxAnswer::ok;
}

int ScriptedFrontEnd::choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) {
    transcript_.choice_menu(title, default_item, items);
    return player_.take_menu_code(title);
}

NumberMenuAnswer ScriptedFrontEnd::number_menu(const std::string& title, const std::vector<std::string>& labels,
                                               const std::vector<double>& values) {
    transcript_.number_menu(title, labels, values);
    return player_.take_number_answer(title, values);
}

void ScriptedFrontEnd::listing_opened() { transcript_.listing_opened(); }

void ScriptedFrontEnd::listing_written(const std::string& text) {
    if (transcript_.wanted()) transcript_.listing_written(text);
}

void ScriptedFrontEnd::status_shown(const std::string& text) { transcript_.status_shown(text); }

void ScriptedFrontEnd::syslog_written(const std::string& text) { transcript_.syslog_written(text); }

void ScriptedFrontEnd::beep() { transcript_.beep(); }

void ScriptedFrontEnd::picture_shown(const std::string& image_file) { transcript_.picture_shown(image_file); }

void ScriptedFrontEnd::picture_closed(const std::string& image_file, long elapsed_ms) {
    transcript_.picture_closed(image_file, elapsed_ms);
}

// The scripted front-end does not wait: the host's clock moves, and the transcript says so.
void ScriptedFrontEnd::wait_for(long milliseconds) { transcript_.clock_moved(milliseconds); }

void ScriptedFrontEnd::output_written(int stream, const std::string& text) {
    if (transcript_.wanted()) transcript_.output_written(stream, text);
}

}  // namespace ughost

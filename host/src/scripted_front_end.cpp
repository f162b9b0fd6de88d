#include "scripted_front_end.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "host.h"

namespace ughost {
namespace {

const char* icon_name(Icon icon) {
    switch (icon) {
        case Icon::error: return "error";
        case Icon::question: return "question";
        case Icon::warning: return "warning";
        case Icon::information: return "information";
        default: return "plain";
    }
}

std::string quoted_list(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + quote(texts[i]);
    return out + "]";
}

bool is_directive(const ScriptLine& line) {
    return line.verb == "fail" || line.verb == "remove" || line.verb == "rename" || line.verb == "chmod";
}

int integer(const std::string& word) { return parse_integer(word).value_or(0); }

bool parse_number(const std::string& word, double& value) {
    const char* last = word.data() + word.size();
    const auto [end, error] = std::from_chars(word.data(), last, value);
    return error == std::errc{} && end == last;
}

}  // namespace

std::string format_real(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

ScriptedFrontEnd::ScriptedFrontEnd(std::vector<ScriptLine> script, std::FILE* transcript, int error_fd)
    : script_(std::move(script)), transcript_(transcript), error_fd_(error_fd) {}

// Each event reaches the file at once: a plug-in that crashes leaves the events before it.
void ScriptedFrontEnd::write(const std::string& line) {
    if (transcript_ == nullptr) return;
    std::fputs(line.c_str(), transcript_);
    std::fputc('\n', transcript_);
    std::fflush(transcript_);
}

void ScriptedFrontEnd::stop(const std::string& why) {
    Host::instance().ui();  // passes on what the plug-in printed before the failure
    write("script error: " + why);
    dprintf(error_fd_, "ughost: %s\n", why.c_str());
    std::_Exit(2);
}

void ScriptedFrontEnd::apply_directives() {
    while (next_ < script_.size() && is_directive(script_[next_])) {
        const ScriptLine& line = script_[next_++];
        write("> " + line.source);
        apply_directive(line);
    }
}

void ScriptedFrontEnd::apply_directive(const ScriptLine& line) {
    const auto& words = line.words;
    if (line.verb == "remove") {
        std::error_code ignored;
        std::filesystem::remove(words[0], ignored);
    } else if (line.verb == "rename") {
        std::error_code error;
        std::filesystem::rename(words[0], words[1], error);
        if (error) stop(directive_failed(line, error.message()));
    } else if (line.verb == "chmod") {
        const auto mode = static_cast<mode_t>(std::strtol(words[0].c_str(), nullptr, 8));
        if (::chmod(words[1].c_str(), mode) != 0) stop(directive_failed(line, std::strerror(errno)));
    } else {
        Host& host = Host::instance();
        // A second fault for a call whose first has not happened would silently replace it.
        if (host.fault_pending(words[0])) stop(fault_never_happened(words[0]));
        host.plan_fault(words[0], words.size() == 3 ? integer(words[2]) : 0);
        planned_faults_[words[0]] = &line;
    }
}

std::string ScriptedFrontEnd::directive_failed(const ScriptLine& line, const std::string& reason) const {
    return "script line " + std::to_string(line.number) + ": '" + line.source + "' failed: " + reason;
}

std::string ScriptedFrontEnd::fault_never_happened(const std::string& call) const {
    const ScriptLine& line = *planned_faults_.at(call);
    return "script line " + std::to_string(line.number) + ": '" + line.source + "' never took effect";
}

void ScriptedFrontEnd::start() { apply_directives(); }

int ScriptedFrontEnd::finish() {
    apply_directives();
    if (next_ < script_.size()) {
        const ScriptLine& line = script_[next_];
        stop("script line " + std::to_string(line.number) + ": '" + line.source + "' was never used");
    }
    for (const auto& [call, line] : planned_faults_) {
        if (Host::instance().fault_pending(call)) stop(fault_never_happened(call));
    }
    return 0;
}

const ScriptLine& ScriptedFrontEnd::take(std::initializer_list<const char*> verbs, const std::string& awaited) {
    apply_directives();
    if (next_ >= script_.size()) stop("the script ran out of actions while the host awaited " + awaited);
    const ScriptLine& line = script_[next_];
    for (const char* verb : verbs) {
        if (line.verb == verb) {
            ++next_;
            current_ = &line;
            write("> " + line.source);
            apply_directives();
            return line;
        }
    }
    stop("script line " + std::to_string(line.number) + ": '" + line.source + "' does not fit: the host awaits " +
         awaited);
}

void ScriptedFrontEnd::note_event(const std::string& line) { write(line); }

void ScriptedFrontEnd::dialog_opened(const Dialog& dialog) {
    write("dialog " + dialog.file_name() + " open " + quote(dialog.title()));
}

void ScriptedFrontEnd::dialog_closed(const Dialog& dialog, int response) {
    write("dialog " + dialog.file_name() + " closed response=" + std::to_string(response));
}

void ScriptedFrontEnd::item_changed(const Dialog& dialog, const ItemChange& change) {
    if (transcript_ == nullptr) return;  // a list of many lines costs nothing to describe unread
    const Item& item = *change.item;
    const std::string head = "item " + dialog.file_name() + " " + item.definition.id + " ";
    switch (change.what) {
        case Change::sensitive:
            write(head + "sensitive " + std::to_string(change.flag));
            break;
        case Change::button_sensitive:
            write(head + (change.index < 0 ? std::string("buttons") : "button " + std::to_string(change.index)) +
                  " sensitive " + std::to_string(change.flag));
            break;
        case Change::insert:
            write(head + "insert " + std::to_string(change.index) + " " + quote(item.lines[change.index]));
            break;
        case Change::remove:
            write(head + "delete " + (change.index < 0 ? std::string("all") : std::to_string(change.index)));
            break;
        case Change::select:
            write(head + "select " + std::to_string(change.index));
            break;
        case Change::text:
            write(head + "text " + quote(item.text));
            break;
        case Change::real:
            write(head + "real " + format_real(item.real));
            break;
        case Change::focus:
            write(head + "focus");
            break;
        case Change::entries:
            write(head + "entries " + std::to_string(item.lines.size()));
            for (std::size_t i = 0; i < item.lines.size(); ++i) {
                write(head + "entry " + std::to_string(i) + " " + quote(item.lines[i]));
            }
            break;
    }
}

bool ScriptedFrontEnd::next_action(Dialog& dialog, DialogAction& action) {
    const ScriptLine& line =
        take({"select", "type", "activate", "press", "ok", "cancel"}, "an action in dialog " + dialog.file_name());
    action = DialogAction{};
    if (line.verb == "select") {
        action.kind = ActionKind::select;
        action.item = line.words[0];
        action.index = integer(line.words[1]);
    } else if (line.verb == "type") {
        action.kind = ActionKind::type;
        action.item = line.words[0];
        action.text = line.words[1];
    } else if (line.verb == "activate") {
        action.kind = ActionKind::activate;
        action.item = line.words[0];
    } else if (line.verb == "press") {
        action.kind = ActionKind::press;
        action.item = line.words[0];
        action.index = line.words.size() == 2 ? integer(line.words[1]) : -1;
    } else {
        action.kind = line.verb == "ok" ? ActionKind::ok : ActionKind::cancel;
    }
    return true;
}

void ScriptedFrontEnd::action_refused(const DialogAction&, const std::string& why) {
    stop("script line " + std::to_string(current_->number) + ": '" + current_->source + "' cannot be done: " + why);
}

void ScriptedFrontEnd::show_message(const std::string& text) { write("message " + quote(text)); }

BoxAnswer ScriptedFrontEnd::message_box(const MessageBoxRequest& request) {
    std::string line = std::string("box ") + icon_name(request.icon) + " owner=" +
                       (request.owner.empty() ? "host" : request.owner) + " caption=" + quote(request.caption) +
                       " text=" + quote(request.text);
    if (!request.yes_no) {
        write(line + " -> ok");
        return BoxAnswer::ok;
    }
    write(line + (request.default_no ? " buttons=yes/NO" : " buttons=YES/no"));
    const ScriptLine& answer = take({"answer"}, "a yes or no to the message box");
    return answer.words[0] == "yes" ? BoxAnswer::yes : BoxAnswer::no;
}

int ScriptedFrontEnd::choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) {
    write("menu " + quote(title) + " default=" + std::to_string(default_item) + " items=" + quoted_list(items));
    const ScriptLine& answer = take({"menu"}, "an answer to the menu " + quote(title));
    return integer(answer.words[0]);
}

NumberMenuAnswer ScriptedFrontEnd::number_menu(const std::string& title, const std::vector<std::string>& labels,
                                               const std::vector<double>& values) {
    std::string line = "numbers " + quote(title) + " [";
    for (std::size_t i = 0; i < labels.size(); ++i) {
        line += (i ? ", " : "") + quote(labels[i]) + "=" + format_real(values[i]);
    }
    write(line + "]");
    const ScriptLine& answer = take({"numbers"}, "an answer to the number menu " + quote(title));
    NumberMenuAnswer result;
    result.code = integer(answer.words[0]);
    result.values = values;
    for (std::size_t i = 1; i < answer.words.size(); ++i) {
        double value = 0.0;
        if (!parse_number(answer.words[i], value)) {
            stop("script line " + std::to_string(answer.number) + ": '" + answer.words[i] + "' is not a number");
        }
        if (i - 1 < result.values.size()) result.values[i - 1] = value;
    }
    return result;
}

void ScriptedFrontEnd::listing_opened() { write("listing open"); }

void ScriptedFrontEnd::listing_written(const std::string& text) { write("listing " + quote(text)); }

void ScriptedFrontEnd::status_shown(const std::string& text) { write("status " + quote(text)); }

void ScriptedFrontEnd::syslog_written(const std::string& text) { write("syslog " + quote(text)); }

void ScriptedFrontEnd::beep() { write("beep"); }

// Pictures are named by file, not folder, so transcripts read the same on every machine.
void ScriptedFrontEnd::picture_shown(const std::string& image_file) {
    write("picture open " + quote(std::filesystem::path(image_file).filename().string()));
}

void ScriptedFrontEnd::picture_closed(const std::string& image_file, long elapsed_ms) {
    write("picture closed " + quote(std::filesystem::path(image_file).filename().string()) + " after " +
          std::to_string(elapsed_ms) + " ms");
}

void ScriptedFrontEnd::wait_for(long milliseconds) { write("clock +" + std::to_string(milliseconds) + " ms"); }

void ScriptedFrontEnd::output_written(int stream, const std::string& text) {
    write(std::string(stream == 2 ? "stderr " : "stdout ") + quote(text));
}

}  // namespace ughost

#include "script_player.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "host_text.h"

namespace ughost {
namespace {

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

ScriptPlayer::ScriptPlayer(HostControl& host, std::vector<ScriptLine> script, TranscriptWriter& transcript,
                           int error_fd)
    : host_(host), script_(std::move(script)), transcript_(transcript), error_fd_(error_fd) {}

void ScriptPlayer::stop(const std::string& why) {
    host_.ui();  // passes on what the plug-in printed before the failure
    transcript_.script_error(why);
    dprintf(error_fd_, "ughost: %s\n", why.c_str());
    std::_Exit(2);
}

void ScriptPlayer::apply_directives() {
    while (next_ < script_.size() && is_directive(script_[next_])) {
        const ScriptLine& line = script_[next_++];
        transcript_.action_taken(line.source);
        apply_directive(line);
    }
}

void ScriptPlayer::apply_directive(const ScriptLine& line) {
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
        // A second fault for a call whose first has not happened would silently replace it.
        if (host_.fault_pending(words[0])) stop(fault_never_happened(words[0]));
        host_.plan_fault(words[0], words.size() == 3 ? integer(words[2]) : 0);
        planned_faults_[words[0]] = &line;
    }
}

std::string ScriptPlayer::directive_failed(const ScriptLine& line, const std::string& reason) const {
    return "script line " + std::to_string(line.number) + ": '" + line.source + "' failed: " + reason;
}

std::string ScriptPlayer::fault_never_happened(const std::string& call) const {
    const ScriptLine& line = *planned_faults_.at(call);
    return "script line " + std::to_string(line.number) + ": '" + line.source + "' never took effect";
}

void ScriptPlayer::start() { apply_directives(); }

int ScriptPlayer::finish() {
    apply_directives();
    if (next_ < script_.size()) {
        const ScriptLine& line = script_[next_];
        stop("script line " + std::to_string(line.number) + ": '" + line.source + "' was never used");
    }
    for (const auto& [call, line] : planned_faults_) {
        if (host_.fault_pending(call)) stop(fault_never_happened(call));
    }
    return 0;
}

const ScriptLine& ScriptPlayer::take(std::initializer_list<const char*> verbs, const std::string& awaited) {
    apply_directives();
    if (next_ >= script_.size()) stop("the script ran out of actions while the host awaited " + awaited);
    const ScriptLine& line = script_[next_];
    for (const char* verb : verbs) {
        if (line.verb == verb) {
            ++next_;
            current_ = &line;
            transcript_.action_taken(line.source);
            apply_directives();
            return line;
        }
    }
    stop("script line " + std::to_string(line.number) + ": '" + line.source + "' does not fit: the host awaits " +
         awaited);
}

DialogAction ScriptPlayer::take_dialog_action(const Dialog& dialog) {
    const ScriptLine& line =
        take({"select", "type", "activate", "press", "ok", "cancel"}, "an action in dialog " + dialog.file_name());
    DialogAction action;
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
    return action;
}

BoxAnswer ScriptPlayer::take_box_answer() {
    const ScriptLine& answer = take({"answer"}, "a yes or no to the message box");
    return answer.words[0] == "yes" ? BoxAnswer::yes : BoxAnswer::no;
}

int ScriptPlayer::take_menu_code(const std::string& title) {
    const ScriptLine& answer = take({"menu"}, "an answer to the menu " + quote(title));
    return integer(answer.words[0]);
}

NumberMenuAnswer ScriptPlayer::take_number_answer(const std::string& title, const std::vector<double>& values) {
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

void ScriptPlayer::refuse(const std::string& why) {
    stop("script line " + std::to_string(current_->number) + ": '" + current_->source + "' cannot be done: " + why);
}

}  // namespace ughost

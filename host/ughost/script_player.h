// Plays a script of user actions (syntax in host/README.md) for a front-end:
// hands out the next action when the host awaits one, applies the directives
// around it, writes every line it takes to the transcript, and stops the run
// when the script does not fit. Both front-ends play scripts through it, so a
// script means the same to the headless host and to the windows.
//
//   ScriptPlayer player(host, script, transcript, error_fd);
//   player.start();                               // directives above the first action
//   const ScriptLine& line = player.take({"answer"}, "a yes or no to the message box");
//   player.finish();                              // nothing may be left over
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "front_end.h"
#include "host_control.h"
#include "script.h"
#include "transcript_writer.h"

namespace ughost {

class ScriptPlayer {
public:
    // Script errors go to the transcript and to error_fd, which is not the plug-ins' captured stderr.
    ScriptPlayer(HostControl& host, std::vector<ScriptLine> script, TranscriptWriter& transcript, int error_fd);

    // Applies the directives that stand before the first action.
    void start();
    // Fails the run when actions are left over or a planned fault never happened;
    // returns the exit status to use.
    int finish();
    // Stops the run at once: a script that does not fit is a failed run.
    [[noreturn]] void stop(const std::string& why);

    // The next action, which must have one of the given verbs.
    const ScriptLine& take(std::initializer_list<const char*> verbs, const std::string& awaited);
    // The next action in a dialog, as the host takes it.
    DialogAction take_dialog_action(const Dialog& dialog);
    // The answer to a Yes/No box.
    BoxAnswer take_box_answer();
    // The return code answering a choice menu.
    int take_menu_code(const std::string& title);
    // The answer to a number menu: the typed values replace the shown ones in order.
    NumberMenuAnswer take_number_answer(const std::string& title, const std::vector<double>& values);
    // The host could not take the action last handed out.
    [[noreturn]] void refuse(const std::string& why);

private:
    // Directives take effect as soon as the action above them is taken, before it runs.
    void apply_directives();
    void apply_directive(const ScriptLine& line);
    std::string directive_failed(const ScriptLine& line, const std::string& reason) const;
    std::string fault_never_happened(const std::string& call) const;

    HostControl& host_;
    std::vector<ScriptLine> script_;
    std::size_t next_ = 0;
    TranscriptWriter& transcript_;
    int error_fd_;
    const ScriptLine* current_ = nullptr;
    std::map<std::string, const ScriptLine*> planned_faults_;  // by call, the directive that planned it
};

}  // namespace ughost

// The one place where the host's events become transcript lines (format in
// host/README.md). The scripted front-end writes every event here; the desktop
// front-end writes the host's notes here for its log, and can write every event
// here to keep a transcript of its own.
//
//   TranscriptWriter transcript(transcript_file(stdout));
//   transcript.dialog_opened(dialog);      // dialog ratomir.dlg open "..."
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "front_end.h"

namespace ughost {

class TranscriptWriter final : public HostNotes {
public:
    // Takes one line at a time, without its line end.
    using LineSink = std::function<void(const std::string& line)>;

    // An empty sink writes nothing: the events are still taken, at little cost.
    explicit TranscriptWriter(LineSink sink) : sink_(std::move(sink)) {}

    // Whether anything is written: without a sink, callers need not describe events at all.
    bool wanted() const { return static_cast<bool>(sink_); }

    // The script's side.
    void action_taken(const std::string& script_line);
    void script_error(const std::string& why);

    void dialog_opened(const Dialog& dialog);
    void dialog_closed(const Dialog& dialog, int response);
    void item_changed(const Dialog& dialog, const ItemChange& change);

    void message_shown(const std::string& text);
    // The box as shown; the answer to a Yes/No box is the next action.
    void message_box(const MessageBoxRequest& request);
    void choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items);
    void number_menu(const std::string& title, const std::vector<std::string>& labels,
                     const std::vector<double>& values);

    void listing_opened();
    void listing_written(const std::string& text);
    void status_shown(const std::string& text);
    void syslog_written(const std::string& text);
    void beep();
    // Pictures are named by file, not folder, so transcripts read the same on every machine.
    void picture_shown(const std::string& image_file);
    void picture_closed(const std::string& image_file, long elapsed_ms);
    void clock_moved(long milliseconds);
    // stream: 1 standard output, 2 standard error.
    void output_written(int stream, const std::string& text);

    void plugin_loading(const std::string& name) override;
    void plugin_not_loaded(const std::string& name, const std::string& reason) override;
    void plugin_lacks_entry(const std::string& name, const std::string& entry) override;
    void entry_threw(const std::string& name, const std::string& what) override;
    void entry_threw_unknown(const std::string& name) override;
    void entry_left_sessions(int count) override;
    void entry_returned(int return_code) override;
    void unload_asked(int answer) override;
    void unload_answer_overruled() override;
    void plugin_unloaded(const std::string& name, bool still_loaded) override;
    void library_loaded(const std::string& path) override;
    void library_not_loaded(const std::string& path, const std::string& reason) override;
    void library_unloaded(const std::string& path, bool still_loaded) override;
    void callback_left_sessions(const std::string& item_id, int count) override;
    void picture_not_found(const std::string& image_file) override;
    void picture_closed_by_host() override;
    void timer_set(std::uintptr_t id, unsigned milliseconds) override;
    void timer_killed(std::uintptr_t id, bool was_set) override;

private:
    void write(const std::string& line);
    void item_line(const Dialog& dialog, const Item& item, const std::string& rest);

    LineSink sink_;
};

// A sink into an open file, flushed line by line: a plug-in that crashes leaves
// every event before the crash. Null writes nothing.
TranscriptWriter::LineSink transcript_file(std::FILE* file);

}  // namespace ughost

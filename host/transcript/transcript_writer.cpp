#include "transcript_writer.h"

#include <filesystem>

#include "host_text.h"

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

std::string quoted_file_name(const std::string& path) {
    return quote(std::filesystem::path(path).filename().string());
}

std::string index_or(int index, const char* all) { return index < 0 ? std::string(all) : std::to_string(index); }

}  // namespace

TranscriptWriter::LineSink transcript_file(std::FILE* file) {
    if (file == nullptr) return {};
    return [file](const std::string& line) {
        std::fputs(line.c_str(), file);
        std::fputc('\n', file);
        std::fflush(file);
    };
}

void TranscriptWriter::write(const std::string& line) {
    if (sink_) sink_(line);
}

void TranscriptWriter::action_taken(const std::string& script_line) { write("> " + script_line); }

void TranscriptWriter::script_error(const std::string& why) { write("script error: " + why); }

void TranscriptWriter::dialog_opened(const Dialog& dialog) {
    write("dialog " + dialog.file_name() + " open " + quote(dialog.title()));
}

void TranscriptWriter::dialog_closed(const Dialog& dialog, int response) {
    write("dialog " + dialog.file_name() + " closed response=" + std::to_string(response));
}

void TranscriptWriter::item_line(const Dialog& dialog, const Item& item, const std::string& rest) {
    write("item " + dialog.file_name() + " " + item.definition.id + " " + rest);
}

void TranscriptWriter::item_changed(const Dialog& dialog, const ItemChange& change) {
    if (!sink_) return;  // a list of many lines costs nothing to describe unread
    const Item& item = *change.item;
    const std::string flag = std::to_string(change.flag);
    switch (change.what) {
        case Change::sensitive: return item_line(dialog, item, "sensitive " + flag);
        case Change::button_sensitive:
            return item_line(dialog, item,
                             (change.index < 0 ? "buttons" : "button " + std::to_string(change.index)) +
                                 " sensitive " + flag);
        case Change::insert:
            return item_line(dialog, item,
                             "insert " + std::to_string(change.index) + " " +
                                 quote(item.lines[static_cast<std::size_t>(change.index)]));
        case Change::remove: return item_line(dialog, item, "delete " + index_or(change.index, "all"));
        case Change::select: return item_line(dialog, item, "select " + std::to_string(change.index));
        case Change::text: return item_line(dialog, item, "text " + quote(item.text));
        case Change::real: return item_line(dialog, item, "real " + format_real(item.real));
        case Change::focus: return item_line(dialog, item, "focus");
        case Change::entries:
            item_line(dialog, item, "entries " + std::to_string(item.lines.size()));
            for (std::size_t i = 0; i < item.lines.size(); ++i) {
                item_line(dialog, item, "entry " + std::to_string(i) + " " + quote(item.lines[i]));
            }
            return;
    }
}

void TranscriptWriter::message_shown(const std::string& text) { write("message " + quote(text)); }

void TranscriptWriter::message_box(const MessageBoxRequest& request) {
    const std::string box = std::string("box ") + icon_name(request.icon) + " owner=" +
                            (request.owner.empty() ? "host" : request.owner) + " caption=" + quote(request.caption) +
                            " text=" + quote(request.text);
    if (!request.yes_no) {
        write(box + " -> ok");
    } else {
        write(box + (request.default_no ? " buttons=yes/NO" : " buttons=YES/no"));
    }
}

void TranscriptWriter::choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) {
    write("menu " + quote(title) + " default=" + std::to_string(default_item) + " items=" + quoted_list(items));
}

void TranscriptWriter::number_menu(const std::string& title, const std::vector<std::string>& labels,
                                   const std::vector<double>& values) {
    std::string line = "numbers " + quote(title) + " [";
    for (std::size_t i = 0; i < labels.size(); ++i) {
        line += (i ? ", " : "") + quote(labels[i]) + "=" + format_real(values[i]);
    }
    write(line + "]");
}

void TranscriptWriter::listing_opened() { write("listing open"); }

void TranscriptWriter::listing_written(const std::string& text) { write("listing " + quote(text)); }

void TranscriptWriter::status_shown(const std::string& text) { write("status " + quote(text)); }

void TranscriptWriter::syslog_written(const std::string& text) { write("syslog " + quote(text)); }

void TranscriptWriter::beep() { write("beep"); }

void TranscriptWriter::picture_shown(const std::string& image_file) {
    write("picture open " + quoted_file_name(image_file));
}

void TranscriptWriter::picture_closed(const std::string& image_file, long elapsed_ms) {
    write("picture closed " + quoted_file_name(image_file) + " after " + std::to_string(elapsed_ms) + " ms");
}

void TranscriptWriter::clock_moved(long milliseconds) { write("clock +" + std::to_string(milliseconds) + " ms"); }

void TranscriptWriter::output_written(int stream, const std::string& text) {
    write(std::string(stream == 2 ? "stderr " : "stdout ") + quote(text));
}

void TranscriptWriter::plugin_loading(const std::string& name) { write("load " + name); }

void TranscriptWriter::plugin_not_loaded(const std::string& name, const std::string& reason) {
    write("error: cannot load " + name + ": " + reason);
}

void TranscriptWriter::plugin_lacks_entry(const std::string& name, const std::string& entry) {
    write("error: " + name + " lacks the required entry " + entry);
}

void TranscriptWriter::entry_threw(const std::string& name, const std::string& what) {
    write("error: ufusr of " + name + " threw: " + what);
}

void TranscriptWriter::entry_threw_unknown(const std::string& name) {
    write("error: ufusr of " + name + " threw an unknown exception");
}

void TranscriptWriter::entry_left_sessions(int count) {
    write("warning: ufusr returned with " + std::to_string(count) + " host session(s) open");
}

void TranscriptWriter::entry_returned(int return_code) {
    write("ufusr returned retcode=" + std::to_string(return_code));
}

void TranscriptWriter::unload_asked(int answer) { write("ufusr_ask_unload returned " + std::to_string(answer)); }

void TranscriptWriter::unload_answer_overruled() {
    write("warning: the host unloads every plug-in when its ufusr returns");
}

void TranscriptWriter::plugin_unloaded(const std::string& name, bool still_loaded) {
    write(still_loaded ? "warning: " + name + " is still loaded after its unload" : "unload " + name);
}

void TranscriptWriter::library_loaded(const std::string& path) { write("library " + path + " loaded"); }

void TranscriptWriter::library_not_loaded(const std::string& path, const std::string& reason) {
    write("library " + path + " not loaded: " + reason);
}

void TranscriptWriter::library_unloaded(const std::string& path, bool still_loaded) {
    write("library " + path + (still_loaded ? " still loaded" : " unloaded"));
}

void TranscriptWriter::callback_left_sessions(const std::string& item_id, int count) {
    write("warning the callback of " + item_id + " left " + std::to_string(count) + " host session(s) open");
}

void TranscriptWriter::picture_not_found(const std::string& image_file) {
    write("error: picture " + image_file + " was not found");
}

void TranscriptWriter::picture_closed_by_host() {
    write("picture window has no timer and can never close; closed by the host");
}

void TranscriptWriter::timer_set(std::uintptr_t id, unsigned milliseconds) {
    write("timer set " + std::to_string(id) + " " + std::to_string(milliseconds) + " ms");
}

void TranscriptWriter::timer_killed(std::uintptr_t id, bool was_set) {
    write("timer killed " + std::to_string(id) + (was_set ? "" : " (none was set)"));
}

}  // namespace ughost

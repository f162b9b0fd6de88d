// The main dialog: the tool rows, the command row, and the table behind them.
#include "content_hash.h"
#include "file_snapshot.h"
#include "kessup.h"
#include "record_dialog.h"

ToolLibrary tool_library;
std::string tool_library_path;
TableSync tool_library_sync;

namespace {

std::uint64_t rows_fingerprint() {
    ContentHash hash;
    hash.add(write_tool_library(tool_library));
    return hash.value();
}

class ToolTable : public EditorTable {
public:
    std::size_t size() const override { return tool_library.rows.size(); }
    void list_line(std::size_t row, std::string& line) const override { line = tool_list_line(tool_library.rows.at(row)); }
    std::string_view reference(std::size_t row) const override { return row_reference(tool_library, tool_library.rows.at(row)); }
    void remove(std::size_t row) override {
        tool_library.rows.erase(tool_library.rows.begin() + static_cast<std::ptrdiff_t>(row));
    }
    int load() override {
        std::string content;
        FileSnapshot snapshot;
        if (!table_store_detail::read_for_load(tool_library_path, content, snapshot)) {
            tool_library_sync.file = FileSnapshot{};
            table_store_detail::show_load_failure("tool_database", true);
            return -1;
        }
        if (repair_interrupted_save(tool_library_path, content)) {
            snapshot = snapshot_after_writing(tool_library_path, content);
        }
        tool_library = parse_tool_library(content);
        tool_library_sync.file = snapshot;
        tool_library_sync.rows = rows_fingerprint();
        LoadReport report;
        report.text = library_file_detail::text_of(content);
        if (!report.clean()) table_store_detail::show_load_report("tool_database.dat", report, true);
        return 0;
    }
    int save() override {
        bool written = false;
        const int result = table_store_detail::save_with(
            tool_library.rows.size(), tool_library_path, [](const ContentWriter& write) { return write(write_tool_library(tool_library)); },
            tool_library_sync, SaveFlag, written);
        if (written) {
            // What was written is now the file: every row is as it stands there.
            tool_library = parse_tool_library(write_tool_library(tool_library));
            tool_library_sync.rows = rows_fingerprint();
        }
        return result;
    }
};

ToolTable tool_rows;

}  // namespace

const Editor tool_editor = {
    .table = &tool_rows,
    .list_item = "LIST_TOOLS",
    .commands = {Command::edit, Command::remove, Command::create, Command::list, Command::load, Command::save,
                 Command::none},
    .reference_format = "TOOL_%04d",
    .record_dialog = open_tool_record_dialog,
    .listing = tool_listing,
};

std::string tool_list_line(const ToolRow& row) {
    std::string line;
    for (std::size_t c = 0; c < row.fields.size(); ++c) line += (c == 0 ? "" : " | ") + row.fields[c];
    return line;
}

bool tool_library_changed() { return rows_fingerprint() != tool_library_sync.rows; }

void tool_construct_cb(int dialog) { list_loaded_table(dialog, tool_editor); }

void tool_command_cb(int dialog) { dispatch_command(dialog, tool_editor); }

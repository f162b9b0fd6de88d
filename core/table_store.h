// Loading a table from its file and saving it back, with what the user is shown
// on the way: the load failure, the note on lines a load could not take as they
// stand, the save question, the questions when the file is not what this editor
// last read, the refusals and the count of rows written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "content_hash.h"
#include "file_snapshot.h"
#include "interrupted_save.h"
#include "library_file.h"

// What a table's file and rows were at its last load or save.
struct TableSync {
    FileSnapshot file;
    std::uint64_t rows = ContentHash().value();  // the fingerprint of the rows then
    // The last load could not take every line: a save would lose them, so it asks first.
    bool load_incomplete = false;
};

// A fingerprint of what a save would write of the rows.
template <class Record>
std::uint64_t rows_fingerprint(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    ContentHash hash;
    for (const Record& row : table) {
        for (const Column<Record>& column : format.columns) {
            if (column.kind == ColumnKind::text) {
                // The column reaches the field through a mutable row; nothing is written.
                const std::span<char> text = column.text(const_cast<Record&>(row));
                hash.add(std::string_view(text.data(), text.size()));
            } else if (column.kind == ColumnKind::number) {
                hash.add(row.*(column.number));
            }
        }
    }
    return hash.value();
}

namespace table_store_detail {
void show_load_failure(const char* table_name);
void show_load_report(const char* file_name, const LoadReport& report, bool saved_here);
// The notice show_load_report shows, as text.
std::string load_report_text(const char* file_name, const LoadReport& report, bool saved_here);
bool read_for_load(const std::string& path, std::string& content, FileSnapshot& snapshot);
// The save's questions and refusals, the replacement of the file, and its
// message, as save_table returns it; written tells whether the file now holds content().
int save_with(std::size_t rows, const std::string& path, const std::function<std::string()>& content,
              TableSync& sync, bool& written);
}  // namespace table_store_detail

// 0 when the file was read (the table now holds its rows), -1 when it cannot be
// read (the table keeps its rows). saved_here: the editor saves this table, so
// the notice tells what a save will do with the lines it could not take.
template <class Record>
int load_table(const TableFormat<Record>& format, RecordTable<Record>& table, const std::string& path,
               TableSync& sync, bool saved_here, void (*number_row)(Record&, std::int32_t) = nullptr) {
    std::string content;
    FileSnapshot snapshot;
    if (!table_store_detail::read_for_load(path, content, snapshot)) {
        sync.file = FileSnapshot{};
        table_store_detail::show_load_failure(format.table_name);
        return -1;
    }
    // A file a crash left half-written is put back first, if the user wants it.
    if (repair_interrupted_save(path, content)) snapshot = snapshot_after_writing(path, content);
    LoadReport report;
    read_table(content, format, table, report, number_row);
    sync.file = snapshot;
    sync.rows = rows_fingerprint(format, table);
    sync.load_incomplete = saved_here && !report.clean();
    if (!report.clean()) table_store_detail::show_load_report(format.file_name, report, saved_here);
    return 0;
}

// 0 when written or declined, -1 when saving is not allowed or the table is
// empty, -2 when the file cannot be written.
template <class Record>
int save_table(const TableFormat<Record>& format, const RecordTable<Record>& table, const std::string& path,
               TableSync& sync) {
    bool written = false;
    const int result = table_store_detail::save_with(
        table.size(), path, [&] { return write_table(format, table); }, sync, written);
    if (written) sync.rows = rows_fingerprint(format, table);
    return result;
}

// Whether the rows differ from what they were at the last load or save.
template <class Record>
bool unsaved_changes(const TableFormat<Record>& format, const RecordTable<Record>& table, const TableSync& sync) {
    return rows_fingerprint(format, table) != sync.rows;
}

// Loading a table from its file and saving it back, with what the user is shown
// on the way: the load failure, the note on lines a load could not take as they
// stand, the save question, the questions when the file is not what this editor
// last read, the refusals and the count of rows written.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "file_replace.h"
#include "file_snapshot.h"
#include "hash_beside.h"
#include "interrupted_save.h"
#include "library_file.h"
#include "rows_fingerprint.h"
#include "table_writer.h"

// What a table's file and rows were at its last load or save.
struct TableSync {
    FileSnapshot file;
    std::uint64_t rows = no_rows_fingerprint;  // the rows_fingerprint of the rows then
    std::uint64_t table_changes = 0;           // the table's changes() then
    // The last load could not take every line: a save would lose them, so it asks first.
    bool load_incomplete = false;
};

// How an editor loads a table.
struct LoadOptions {
    // The editor saves this table: its notice tells what a save will do with the
    // lines the load could not take, and the next save asks first.
    bool saved_here = true;
    // The load-failure message names the table; otherwise it says "the database".
    bool failure_names_table = false;
};

namespace table_store_detail {
void show_load_failure(const char* table_name, bool names_table);
void show_load_report(const char* file_name, const LoadReport& report, bool saved_here);
// The notice show_load_report shows, as text.
std::string load_report_text(const char* file_name, const LoadReport& report, bool saved_here);
bool read_for_load(const std::string& path, std::string& content, FileSnapshot& snapshot);
// The same, leaving the snapshot's content_hash to the caller.
bool read_for_load_leaving_hash(const std::string& path, std::string& content, FileSnapshot& snapshot);
// The same, handing the bytes to take in pieces as they are read.
bool read_pieces_for_load(const std::string& path, const FilePieceTaker& take, FileSnapshot& snapshot);
// The save's questions and refusals, the replacement of the file, and its
// message, as save_table returns it; written tells whether the file now holds
// content(), whose pass sets content_hash to the content_hash of what it handed out.
int save_with(std::size_t rows, const std::string& path, const ContentPieces& content,
              const std::uint64_t& content_hash, TableSync& sync, int save_flag, bool& written);
// The same for content that does not hash itself: it is hashed as it goes out.
int save_with(std::size_t rows, const std::string& path, const ContentPieces& content, TableSync& sync,
              int save_flag, bool& written);

// Reads the whole file, then the rows from it: the table keeps its rows until
// the file has been read. A file a crash left half-written is put back first,
// if the user wants it.
template <class Record>
bool read_whole_then_rows(const TableFormat<Record>& format, RecordTable<Record>& table, const std::string& path,
                          void (*number_row)(Record&, std::int32_t), LoadReport& report, FileSnapshot& snapshot,
                          std::uint64_t& fingerprint) {
    std::string content;
    if (!read_for_load_leaving_hash(path, content, snapshot)) return false;
    const bool repaired = repair_interrupted_save(path, content);
    if (repaired) snapshot = snapshot_after_writing(path, content);
    std::optional<HashBeside> hash;
    if (!repaired) hash.emplace(content);
    TableReader<Record> reader(format, table, report, content.size(), number_row);
    // Read a window at a time, each one's lines gone through while it is in the cache.
    constexpr std::size_t window = std::size_t{1} << 16;
    const std::string_view whole(content);
    for (std::size_t at = 0; at < whole.size(); at += window) reader.read(whole.substr(at, window));
    reader.finish();
    fingerprint = reader.fingerprint();
    if (hash) snapshot.content_hash = hash->value();
    return true;
}

// Reads the rows into an empty table as the file is read, so that the file is
// never held whole; a failed read leaves the table empty again.
template <class Record>
bool read_rows_while_reading(const TableFormat<Record>& format, RecordTable<Record>& table, const std::string& path,
                             void (*number_row)(Record&, std::int32_t), LoadReport& report, FileSnapshot& snapshot,
                             std::uint64_t& fingerprint) {
    std::optional<TableReader<Record>> reader;
    const auto take = [&](std::string_view piece, std::size_t file_size) {
        if (!reader) reader.emplace(format, table, report, file_size, number_row);
        reader->read(piece);
    };
    if (!read_pieces_for_load(path, take, snapshot)) {
        table.empty();
        return false;
    }
    if (!reader) reader.emplace(format, table, report, 0, number_row);
    reader->finish();
    fingerprint = reader->fingerprint();
    return true;
}

}  // namespace table_store_detail

// 0 when the file was read (the table now holds its rows), -1 when it cannot be
// read (the table keeps its rows).
template <class Record>
int load_table(const TableFormat<Record>& format, RecordTable<Record>& table, const std::string& path,
               TableSync& sync, LoadOptions options, void (*number_row)(Record&, std::int32_t) = nullptr) {
    using namespace table_store_detail;
    LoadReport report;
    FileSnapshot snapshot;
    std::uint64_t fingerprint = no_rows_fingerprint;
    // Rows that a failed read must leave as they were are kept until the whole
    // file has been read; an empty table is filled as the file is read. A save
    // cut short while the file was being written needs the whole file, which
    // is then read again.
    bool read = false;
    if (table.size() == 0) {
        read = read_rows_while_reading(format, table, path, number_row, report, snapshot, fingerprint);
        if (read && interrupted_save_left(path)) {
            table.empty();
            read = read_whole_then_rows(format, table, path, number_row, report, snapshot, fingerprint);
        }
    } else {
        read = read_whole_then_rows(format, table, path, number_row, report, snapshot, fingerprint);
    }
    if (!read) {
        sync.file = FileSnapshot{};
        show_load_failure(format.table_name, options.failure_names_table);
        return -1;
    }
    sync.file = snapshot;
    sync.rows = fingerprint;
    sync.table_changes = table.changes();
    sync.load_incomplete = options.saved_here && !report.clean();
    if (!report.clean()) show_load_report(format.file_name, report, options.saved_here);
    return 0;
}

// 0 when written or declined, -1 when saving is not allowed (save_flag -1) or
// the table is empty, -2 when the file cannot be written.
template <class Record>
int save_table(const TableFormat<Record>& format, const RecordTable<Record>& table, const std::string& path,
               TableSync& sync, int save_flag) {
    bool written = false;
    // Taken by the writer as it walks the rows; a pass that starts again takes them again.
    std::uint64_t fingerprint = no_rows_fingerprint;
    std::uint64_t content_hash = 0;
    const int result = table_store_detail::save_with(
        table.size(), path,
        [&](const ContentWriter& write) {
            return write_table_pieces(format, table, write, fingerprint, content_hash);
        },
        content_hash, sync, save_flag, written);
    if (written) {
        sync.rows = fingerprint;
        sync.table_changes = table.changes();
    }
    return result;
}

// Whether the rows differ from what they were at the last load or save. Rows
// no one could have changed since are not looked at: a large table costs its
// fingerprint only when it may have changed.
template <class Record>
bool unsaved_changes(const TableFormat<Record>& format, const RecordTable<Record>& table, const TableSync& sync) {
    if (table.changes() == sync.table_changes) return false;
    return rows_fingerprint(format, table) != sync.rows;
}

// A table with its file, as an editor holds it: the rows, the path the probe
// built, and what both were at the last load or save.
//
//   TableFile<CUTS> methods(cut_method_format, rows, path, {});
//   int load_methods() { return methods.load(); }
template <class Record>
class TableFile {
public:
    TableFile(const TableFormat<Record>& format, RecordTable<Record>& rows, std::string& path, LoadOptions options,
              void (*number_row)(Record&, std::int32_t) = nullptr)
        : format_(format), rows_(rows), path_(path), options_(options), number_row_(number_row) {}

    int load() { return load_table(format_, rows_, path_, sync_, options_, number_row_); }
    int save(int save_flag) { return save_table(format_, rows_, path_, sync_, save_flag); }
    bool unsaved_changes() const { return ::unsaved_changes(format_, rows_, sync_); }

private:
    const TableFormat<Record>& format_;
    RecordTable<Record>& rows_;
    std::string& path_;
    LoadOptions options_;
    void (*number_row_)(Record&, std::int32_t);
    TableSync sync_;
};

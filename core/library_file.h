// The line grammar of the library files, read and written in one place.
//
// A data line is a line without "#" whose first five characters hold "DATA":
// a lead-in up to the first "|", then the table's fields separated by "|". Any
// other line is ignored. The writer puts out the table's header, then one data
// line per row; every line ends in CR LF. The reader takes CR LF or LF, lines of
// any length, and a last line without a line end.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "format_text.h"
#include "record_table.h"
#include "rows_fingerprint.h"
#include "table_format.h"

// What a load could not take as it stands: the user is told, since the next
// save writes the table as it now stands.
struct LoadReport {
    // How the bytes look when they do not look like code page 1251 text with LF
    // or CR LF line ends: a file saved by another program, which loads as nothing.
    enum class Text { plain, utf8, utf16, cr_line_ends };

    std::vector<long> rejected_lines;      // data lines with too few or too many fields
    std::vector<long> unrecognised_lines;  // lines that are neither data, comment, FORMAT nor blank
    std::vector<long> cut_lines;           // lines with a value longer than its field, cut to fit
    std::vector<long> save_cut_lines;      // lines with a value the next save will cut
    Text text = Text::plain;
    bool clean() const {
        return rejected_lines.empty() && unrecognised_lines.empty() && cut_lines.empty() && save_cut_lines.empty() &&
               text == Text::plain;
    }
};

// Copies a text into a record's text field, cut to what the field holds.
void copy_text(std::span<char> field, std::string_view text);

namespace library_file_detail {

bool is_data_line(std::string_view line);
// A line the reader has no use for but that belongs in a library file: blank,
// a comment or the FORMAT line.
bool is_known_other_line(std::string_view line);
// How the file's bytes look (LoadReport::Text), and the bytes to read with a
// UTF-8 signature taken off.
LoadReport::Text text_of(std::string_view content);
std::string_view without_signature(std::string_view content);

// text_of, taken over the file in pieces of whole lines (the last one may lack
// its line end), as they are read.
class TextLook {
public:
    void take(std::string_view lines);
    LoadReport::Text result() const;

private:
    std::string start_;  // the first bytes: signatures, and NULs for UTF-16
    bool line_end_seen_ = false;
    bool carriage_return_seen_ = false;
    bool high_byte_seen_ = false;
    bool well_formed_utf8_ = true;
};
// How many characters of a text column a save keeps: the precision of its format.
std::size_t saved_width(const char* format);

enum class FieldFit { whole, cut_now, cut_at_save };

// Stores a field's text into a fixed text field, cut to what the field holds.
FieldFit store_text(std::span<char> field, std::string_view value, std::size_t saved);
// Copies a few bytes in place rather than through a call: most values a load
// stores are eight to sixteen characters long.
inline void copy_bytes(char* to, const char* from, std::size_t count) {
    if (count >= 8 && count <= 16) {
        std::uint64_t head;
        std::uint64_t tail;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + count - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + count - sizeof tail, &tail, sizeof tail);
    } else {
        std::memcpy(to, from, count);
    }
}

// The same for a field that holds only NULs and a value without one.
inline FieldFit store_new_text(std::span<char> field, std::string_view value, std::size_t saved) {
    const std::size_t kept = std::min(value.size(), field.size() - 1);
    copy_bytes(field.data(), value.data(), kept);
    if (kept < value.size()) return FieldFit::cut_now;
    if (kept > saved) return FieldFit::cut_at_save;
    return FieldFit::whole;
}

void append_with_crlf(std::string& out, std::string_view text);

// The number of line ends in the text: at most one row per line.
std::size_t line_count(std::string_view text);

// The places of the first most "|" in the line, in order, and how many there
// are, counted no further than most + 1: a data line has one before each field,
// so a line with more has too many fields whatever the rest holds.
std::size_t find_separators(std::string_view line, std::size_t* places, std::size_t most);

// How the reader fills one column's field of a row, found once for the table.
struct FieldStep {
    ColumnKind kind;
    std::size_t offset;  // the field's, from the record's start
    std::size_t size;    // a text field's width
    std::size_t saved;   // how many characters of a text a save keeps
};

// Appends a fixed text field up to its terminator, at most most characters ("%.Ns").
inline void append_text(std::string& out, const char* field, std::size_t most) {
    const void* end = std::memchr(field, '\0', most);
    out.append(field, end == nullptr ? most : static_cast<std::size_t>(static_cast<const char*>(end) - field));
}

template <class Record>
void append_number(std::string& out, const Column<Record>& column, double value) {
    if (column.precision >= 0) {
        append_fixed(out, value, column.precision);
    } else {
        out += format_text(column.format, value);
    }
}

// What the writer's text can take at most, for reserving it once. Pages the
// writer never reaches are never touched.
template <class Record>
std::size_t written_size_bound(const TableFormat<Record>& format, std::size_t rows) {
    // A hint, not a limit: a longer value only makes the text grow once more.
    constexpr std::size_t longest_fixed_number = 32;
    std::size_t line = 5 + 2;
    for (const Column<Record>& column : format.columns) {
        line += 1;
        const bool cut_text = column.kind == ColumnKind::text && column.precision >= 0;
        line += cut_text ? static_cast<std::size_t>(column.precision) : longest_fixed_number;
    }
    return 2 * std::strlen(format.header) + rows * line;
}

}  // namespace library_file_detail

// Reads the data lines of a library file into a table (which it empties
// first), taking the file's bytes in pieces as they are read, split anywhere,
// so that a large file need never be held whole:
//
//   TableReader<CUTS> reader(cut_method_format, table, report, file_size);
//   reader.read(piece);  ...  reader.finish();
template <class Record>
class TableReader {
public:
    // file_size: the whole file's, to size the table from its first piece.
    TableReader(const TableFormat<Record>& format, RecordTable<Record>& table, LoadReport& report,
                std::size_t file_size, void (*number_row)(Record&, std::int32_t) = nullptr)
        : format_(format), table_(table), report_(report), file_size_(file_size), number_row_(number_row),
          steps_(steps_of(format)), separators_(format.columns.size() + 1) {
        table_.clear();
        report_ = LoadReport{};
    }

    void read(std::string_view piece) {
        if (piece.empty()) return;
        if (line_number_ == 0 && partial_.empty()) make_room(piece);
        if (!partial_.empty()) {
            // The line the last piece began ends in this one.
            const std::size_t end = piece.find('\n');
            if (end == std::string_view::npos) {
                partial_.append(piece);
                return;
            }
            partial_.append(piece.substr(0, end + 1));
            read_lines(partial_);
            partial_.clear();
            piece.remove_prefix(end + 1);
        }
        const std::size_t last_end = piece.rfind('\n');
        if (last_end != std::string_view::npos) read_lines(piece.substr(0, last_end + 1));
        partial_.assign(piece.substr(last_end == std::string_view::npos ? 0 : last_end + 1));
    }

    // The file has ended: its last line needs no line end.
    void finish() {
        if (line_number_ == 0 && partial_.empty()) make_room(partial_);
        if (!partial_.empty()) read_lines(partial_);
        partial_.clear();
        fingerprint_rows(1);
        report_.text = look_.result();
    }

    // The rows_fingerprint of the rows read, taken as they were read.
    std::uint64_t fingerprint() const { return fingerprint_.value(); }

private:
    static std::vector<library_file_detail::FieldStep> steps_of(const TableFormat<Record>& format) {
        const std::vector<FieldPlace> places = field_places(format.columns);
        std::vector<library_file_detail::FieldStep> steps;
        steps.reserve(places.size());
        for (std::size_t c = 0; c < places.size(); ++c) {
            const Column<Record>& column = format.columns[c];
            const std::size_t saved = column.precision >= 0 ? static_cast<std::size_t>(column.precision)
                                                            : library_file_detail::saved_width(column.format);
            steps.push_back({places[c].kind, places[c].offset, places[c].size, saved});
        }
        return steps;
    }

    // Room for a row per line at once, and for the rows a user adds before the
    // next load: growing would copy every row (records with a virtual destructor
    // are copied, not moved). Room not yet used is address space, not memory.
    // A file read in pieces is counted from its first piece, but never past the
    // rows the file could hold: a data line has "DATA" and a separator per column.
    void make_room(std::string_view first_piece) {
        const std::size_t counted = library_file_detail::line_count(first_piece);
        const std::size_t lines = first_piece.empty() || first_piece.size() >= file_size_
                                      ? counted
                                      : (counted * file_size_ + first_piece.size() - 1) / first_piece.size();
        const std::size_t most_rows = file_size_ / (format_.columns.size() + 4) + 1;
        const std::size_t rows = std::min(lines, most_rows);
        table_.reserve(rows + rows / 8 + 16);
    }

    // The fingerprint of the rows read since the last call, in groups of that
    // many rows (the last few wait for the next call, unless it is one). Each
    // row's hash is a chain of multiplications: rows hashed side by side keep
    // the processor busy where a single chain would leave it waiting, and rows
    // hashed once their window's lines are read are back in the cache, no
    // longer on their way from the stores that built them.
    void fingerprint_rows(std::size_t group) {
        constexpr std::size_t side_by_side = 4;
        for (; hashed_ + group <= table_.size(); hashed_ += group) {
            const std::size_t rows = std::min(side_by_side, group);
            RowHash hashes[side_by_side];
            const char* records[side_by_side];
            for (std::size_t r = 0; r < rows; ++r) {
                records[r] = reinterpret_cast<const char*>(&std::as_const(table_).at(hashed_ + r));
            }
            for (const library_file_detail::FieldStep& step : steps_) {
                if (step.kind == ColumnKind::text) {
                    for (std::size_t r = 0; r < rows; ++r) {
                        hashes[r].text(std::span<const char>(records[r] + step.offset, step.size));
                    }
                } else if (step.kind == ColumnKind::number) {
                    for (std::size_t r = 0; r < rows; ++r) {
                        double number;
                        std::memcpy(&number, records[r] + step.offset, sizeof number);
                        hashes[r].number(number);
                    }
                }
            }
            for (std::size_t r = 0; r < rows; ++r) fingerprint_.add(hashes[r]);
        }
    }

    // Whole lines, the last one perhaps without its line end at the end of the file.
    void read_lines(std::string_view lines) {
        look_.take(lines);
        if (line_number_ == 0) lines = library_file_detail::without_signature(lines);
        const char* at = lines.data();
        const char* const end = at + lines.size();
        while (at != end) {
            const auto* line_end = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
            read_line(std::string_view(at, static_cast<std::size_t>((line_end == nullptr ? end : line_end) - at)));
            at = line_end == nullptr ? end : line_end + 1;
        }
        fingerprint_rows(4);
    }

    void read_line(std::string_view line) {
        using namespace library_file_detail;
        ++line_number_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!is_data_line(line)) {
            if (!is_known_other_line(line)) report_.unrecognised_lines.push_back(line_number_);
            return;
        }
        // A separator before each field, the first one after the lead-in.
        std::size_t* const separators = separators_.data();
        const std::size_t fields = steps_.size();
        if (find_separators(line, separators, fields) != fields) {
            report_.rejected_lines.push_back(line_number_);
            return;
        }
        separators[fields] = line.size();
        // A fresh row's text fields hold nothing but NULs: a value is copied in
        // without filling the rest, unless a NUL in the line must end it early.
        const bool holds_nul = std::memchr(line.data(), '\0', line.size()) != nullptr;
        Record& row = table_.append_new();
        char* const record = reinterpret_cast<char*>(&row);
        bool cut = false;
        bool cut_at_save = false;
        for (std::size_t c = 0; c < fields; ++c) {
            const FieldStep& step = steps_[c];
            const std::string_view value =
                line.substr(separators[c] + 1, separators[c + 1] - separators[c] - 1);
            if (step.kind == ColumnKind::text) {
                const std::span<char> field(record + step.offset, step.size);
                const FieldFit fit =
                    holds_nul ? store_text(field, value, step.saved) : store_new_text(field, value, step.saved);
                cut = cut || fit == FieldFit::cut_now;
                cut_at_save = cut_at_save || fit == FieldFit::cut_at_save;
            } else if (step.kind == ColumnKind::number) {
                const double number = read_number(value);
                std::memcpy(record + step.offset, &number, sizeof number);
            }
        }
        if (cut) report_.cut_lines.push_back(line_number_);
        if (cut_at_save) report_.save_cut_lines.push_back(line_number_);
        std::memcpy(row.tag, "DATA", 4);
        if (number_row_ != nullptr) number_row_(row, accepted_);
        ++accepted_;
    }

    const TableFormat<Record>& format_;
    RecordTable<Record>& table_;
    LoadReport& report_;
    std::size_t file_size_;
    void (*number_row_)(Record&, std::int32_t);
    std::vector<library_file_detail::FieldStep> steps_;
    std::vector<std::size_t> separators_;  // the current line's, and its end
    RowHashChain fingerprint_;
    std::size_t hashed_ = 0;  // the rows the fingerprint has taken
    library_file_detail::TextLook look_;
    std::string partial_;  // the start of a line whose end is still to come
    long line_number_ = 0;
    std::int32_t accepted_ = 0;
};

// Reads every data line of the file's bytes into the table (which it empties first).
template <class Record>
void read_table(std::string_view content, const TableFormat<Record>& format, RecordTable<Record>& table,
                LoadReport& report, void (*number_row)(Record&, std::int32_t) = nullptr) {
    TableReader<Record> reader(format, table, report, content.size(), number_row);
    reader.read(content);
    reader.finish();
}

// Appends one data line as the table's writer puts it out, without its line end.
template <class Record>
void append_data_line(std::string& out, const TableFormat<Record>& format, const Record& row) {
    using namespace library_file_detail;
    append_text(out, row.tag, 5);
    for (const Column<Record>& column : format.columns) {
        out += '|';
        switch (column.kind) {
            case ColumnKind::text: {
                // The column reaches the field through a mutable row; nothing is written.
                const std::span<char> text = column.text(const_cast<Record&>(row));
                if (column.precision >= 0) {
                    append_text(out, text.data(), static_cast<std::size_t>(column.precision));
                } else {
                    out += format_text(column.format, static_cast<const char*>(text.data()));
                }
                break;
            }
            case ColumnKind::number:
                if (column.written_empty == nullptr || !column.written_empty(row)) {
                    append_number(out, column, row.*(column.number));
                }
                break;
            case ColumnKind::derived:
                append_number(out, column, column.derive(row));
                break;
        }
    }
}

// One data line as the table's writer puts it out, without its line end.
template <class Record>
std::string data_line(const TableFormat<Record>& format, const Record& row) {
    std::string line;
    append_data_line(line, format, row);
    return line;
}

// The whole file as the table's writer puts it out.
template <class Record>
std::string write_table(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    std::string out;
    out.reserve(library_file_detail::written_size_bound(format, table.size()));
    library_file_detail::append_with_crlf(out, format.header);
    for (const Record& row : table) {
        append_data_line(out, format, row);
        out += "\r\n";
    }
    return out;
}

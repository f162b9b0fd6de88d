// The line grammar of the library files, read and written in one place.
//
// A data line is a line without "#" whose first five characters hold "DATA":
// a lead-in up to the first "|", then the table's fields separated by "|". Any
// other line is ignored. The writer puts out the table's header, then one data
// line per row; every line ends in CR LF. The reader takes CR LF or LF, lines of
// any length, and a last line without a line end.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "format_text.h"
#include "record_table.h"
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
// How many characters of a text column a save keeps: the precision of its format.
std::size_t saved_width(const char* format);

enum class FieldFit { whole, cut_now, cut_at_save };

// Stores a field's text into a fixed text field, cut to what the field holds.
FieldFit store_text(std::span<char> field, std::string_view value, std::size_t saved);

void append_with_crlf(std::string& out, std::string_view text);

// The number of line ends in the text: at most one row per line.
std::size_t line_count(std::string_view text);

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

// Reads every data line of the file's bytes into the table (which it empties first).
template <class Record>
void read_table(std::string_view content, const TableFormat<Record>& format, RecordTable<Record>& table,
                LoadReport& report, void (*number_row)(Record&, std::int32_t) = nullptr) {
    using namespace library_file_detail;
    table.empty();
    report = LoadReport{};
    report.text = text_of(content);
    std::string_view rest = without_signature(content);
    // Room for a row per line at once, and for the rows a user adds before the
    // next load: growing would copy every row (records with a virtual destructor
    // are copied, not moved). Room not yet used is address space, not memory.
    const std::size_t lines = line_count(rest);
    table.reserve(lines + lines / 8 + 16);
    long line_number = 0;
    std::int32_t accepted = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!is_data_line(line)) {
            if (!is_known_other_line(line)) report.unrecognised_lines.push_back(line_number);
            continue;
        }
        std::size_t separator = line.find('|');
        if (separator == std::string_view::npos) {
            report.rejected_lines.push_back(line_number);
            continue;
        }
        Record row;
        std::string_view fields = line.substr(separator + 1);
        bool rejected = false;
        bool cut = false;
        bool cut_at_save = false;
        const auto& columns = format.columns;
        for (std::size_t c = 0; c < columns.size() && !rejected; ++c) {
            std::string_view value;
            const std::size_t next = fields.find('|');
            const bool last = c + 1 == columns.size();
            if (last) {
                if (next != std::string_view::npos) rejected = true;
                value = fields;
            } else if (next == std::string_view::npos) {
                rejected = true;
            } else {
                value = fields.substr(0, next);
                fields.remove_prefix(next + 1);
            }
            if (rejected) break;
            const Column<Record>& column = columns[c];
            if (column.kind == ColumnKind::text) {
                const std::size_t saved = column.precision >= 0 ? static_cast<std::size_t>(column.precision)
                                                                : saved_width(column.format);
                const FieldFit fit = store_text(column.text(row), value, saved);
                cut = cut || fit == FieldFit::cut_now;
                cut_at_save = cut_at_save || fit == FieldFit::cut_at_save;
            } else if (column.kind == ColumnKind::number) {
                row.*(column.number) = read_number(value);
            }
        }
        if (rejected) {
            report.rejected_lines.push_back(line_number);
            continue;
        }
        if (cut) report.cut_lines.push_back(line_number);
        if (cut_at_save) report.save_cut_lines.push_back(line_number);
        store_text(std::span<char>(row.tag), "DATA", sizeof row.tag);
        if (number_row != nullptr) number_row(row, accepted);
        ++accepted;
        table.append(row);
    }
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

// The whole file as write_table puts it out, handed to write in pieces of about
// a megabyte, so that a large table is never held twice; false as soon as write
// refuses a piece.
template <class Record, class Write>
bool write_table_pieces(const TableFormat<Record>& format, const RecordTable<Record>& table, Write&& write) {
    constexpr std::size_t piece_size = std::size_t{1} << 20;
    std::string piece;
    piece.reserve(piece_size + library_file_detail::written_size_bound(format, 1));
    library_file_detail::append_with_crlf(piece, format.header);
    for (const Record& row : table) {
        append_data_line(piece, format, row);
        piece += "\r\n";
        if (piece.size() < piece_size) continue;
        if (!write(std::string_view(piece))) return false;
        piece.clear();
    }
    return write(std::string_view(piece));
}

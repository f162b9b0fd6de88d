// The writer a save runs: the table's data lines put straight into a buffer
// through a pointer, a megabyte at a time, with each row's fingerprint taken
// in the same pass. It writes the bytes write_table writes; a row with a value
// the integer number path cannot take is written by append_data_line.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "fixed_decimal.h"
#include "library_file.h"
#include "record_table.h"
#include "rows_fingerprint.h"
#include "table_format.h"

namespace table_writer_detail {

// How much of a row's tag a data line begins with.
constexpr std::size_t tag_width = 5;

// A fixed text field up to its terminator, at most most characters ("%.Ns"),
// taken eight bytes at a time: most values are a few words long, and a call to
// find the terminator and another to copy cost more than the words themselves.
// Whole words are copied, so up to seven bytes past the text's end are written
// (and then written over), though never past most, nor is any read past it.
static_assert(std::endian::native == std::endian::little, "the first NUL is found from a word's low byte");
inline char* put_text(char* out, const char* field, std::size_t most) {
    constexpr std::uint64_t low_bits = 0x0101010101010101ULL;
    constexpr std::uint64_t high_bits = 0x8080808080808080ULL;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= most; at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, field + at, sizeof word);
        std::memcpy(out + at, &word, sizeof word);
        // The lowest byte flagged is the first NUL: a false flag only ever
        // follows a true one.
        const std::uint64_t nul_bytes = (word - low_bits) & ~word & high_bits;
        if (nul_bytes != 0) return out + at + static_cast<std::size_t>(std::countr_zero(nul_bytes)) / 8;
    }
    for (; at < most && field[at] != '\0'; ++at) out[at] = field[at];
    return out + at;
}

}  // namespace table_writer_detail

template <class Record>
class DataLineWriter {
public:
    explicit DataLineWriter(const TableFormat<Record>& format) : format_(format) {
        longest_line_ = table_writer_detail::tag_width + 2;
        for (const Column<Record>& column : format.columns) {
            // put() writes no line of a format with any other column: the general
            // path sizes its own.
            if (column.precision < 0) plain_ = false;
            const bool text = column.kind == ColumnKind::text;
            const std::size_t longest_value = text && plain_ ? static_cast<std::size_t>(column.precision)
                                                             : fixed_decimal_longest;
            longest_line_ += 1 + longest_value;
        }
    }

    // The most put() writes of one line.
    std::size_t longest_line() const { return longest_line_; }

    // Writes the row's data line and its CR LF at out, with room for
    // longest_line() there, feeds hash the fields the fingerprint takes, and
    // returns the line's end; nullptr when a value needs the general formatting.
    char* put(char* out, const Record& row, RowHash& hash) const {
        using table_writer_detail::put_text;
        if (!plain_) return nullptr;
        out = put_text(out, row.tag, std::min(table_writer_detail::tag_width, sizeof row.tag));
        for (const Column<Record>& column : format_.columns) {
            *out++ = '|';
            switch (column.kind) {
                case ColumnKind::text: {
                    // The column reaches the field through a mutable row; nothing is written.
                    const std::span<const char> field = column.text(const_cast<Record&>(row));
                    hash.text(field);
                    // A field always holds its terminator, so it ends the text
                    // before the field does whatever the precision.
                    const std::size_t most = std::min(static_cast<std::size_t>(column.precision), field.size());
                    out = put_text(out, field.data(), most);
                    break;
                }
                case ColumnKind::number: {
                    const double& value = row.*(column.number);
                    hash.number(value);
                    if (column.written_empty != nullptr && column.written_empty(row)) break;
                    out = put_fixed_decimal(out, value, column.precision);
                    if (out == nullptr) return nullptr;
                    break;
                }
                case ColumnKind::derived:
                    out = put_fixed_decimal(out, column.derive(row), column.precision);
                    if (out == nullptr) return nullptr;
                    break;
            }
        }
        out[0] = '\r';
        out[1] = '\n';
        return out + 2;
    }

private:
    const TableFormat<Record>& format_;
    std::size_t longest_line_ = 0;
    bool plain_ = true;  // every column's format is "%.Ns" or "%.Nf"
};

// The whole file as write_table puts it out, handed to write in pieces of about
// a megabyte, so that a large table is never held twice, and the rows'
// rows_fingerprint into fingerprint; false as soon as write refuses a piece.
template <class Record, class Write>
bool write_table_pieces(const TableFormat<Record>& format, const RecordTable<Record>& table, Write&& write,
                        std::uint64_t& fingerprint) {
    constexpr std::size_t piece_size = std::size_t{1} << 20;
    const DataLineWriter<Record> writer(format);
    RowHashChain rows;
    std::string piece;
    library_file_detail::append_with_crlf(piece, format.header);
    std::size_t used = piece.size();
    piece.resize(std::max(used, piece_size) + writer.longest_line());
    for (const Record& row : table) {
        if (piece.size() - used < writer.longest_line()) piece.resize(used + writer.longest_line());
        RowHash hash;
        const char* const end = writer.put(piece.data() + used, row, hash);
        if (end != nullptr) {
            used = static_cast<std::size_t>(end - piece.data());
        } else {
            std::string line;
            append_data_line(line, format, row);
            line += "\r\n";
            if (piece.size() - used < line.size()) piece.resize(used + line.size());
            std::memcpy(piece.data() + used, line.data(), line.size());
            used += line.size();
            hash = row_hash(format, row);
        }
        rows.add(hash);
        if (used < piece_size) continue;
        if (!write(std::string_view(piece.data(), used))) return false;
        used = 0;
    }
    fingerprint = rows.value();
    return write(std::string_view(piece.data(), used));
}

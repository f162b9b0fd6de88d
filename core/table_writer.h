// The writer a save runs: the table's data lines put straight into a buffer
// through a pointer, a few thousand rows at a time, with each row's
// fingerprint taken in the same pass. It writes the bytes write_table writes; a
// row with a value the integer number path cannot take is written by
// append_data_line.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content_hash.h"
#include "fixed_decimal.h"
#include "library_file.h"
#include "paired_pieces.h"
#include "record_table.h"
#include "rows_fingerprint.h"
#include "table_format.h"

namespace table_writer_detail {

// How much of a row's tag a data line begins with.
constexpr std::size_t tag_width = 5;

// Room a line needs past its longest text: put_text copies whole words.
constexpr std::size_t word_overrun = sizeof(std::uint64_t) - 1;

// A fixed text field (width bytes) up to its terminator, at most most characters
// ("%.Ns"), taken eight bytes at a time: most values are a few words long, and
// a call to find the terminator and another to copy cost more than the words
// themselves. Whole words are read within the field and copied, so up to
// word_overrun bytes past the text's end are written (and then written over).
static_assert(std::endian::native == std::endian::little, "the first NUL is found from a word's low byte");
inline char* put_text(char* out, const char* field, std::size_t most, std::size_t width) {
    constexpr std::uint64_t low_bits = 0x0101010101010101ULL;
    constexpr std::uint64_t high_bits = 0x8080808080808080ULL;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= width; at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, field + at, sizeof word);
        std::memcpy(out + at, &word, sizeof word);
        // The lowest byte flagged is the first NUL: a false flag only ever
        // follows a true one.
        const std::uint64_t nul_bytes = (word - low_bits) & ~word & high_bits;
        if (nul_bytes != 0) {
            return out + std::min(at + static_cast<std::size_t>(std::countr_zero(nul_bytes)) / 8, most);
        }
        if (at + sizeof(std::uint64_t) >= most) return out + most;
    }
    for (; at < most && field[at] != '\0'; ++at) out[at] = field[at];
    return out + at;
}

// A text field of at least eight bytes put out as put_text puts it and fed to
// hash as RowHash::text feeds it, in one pass over its words: the words of the
// text are copied as they are hashed, and the words past its end only hashed.
// Up to word_overrun bytes past the text's end, and never past the field's
// width, are written.
inline char* put_hashed_text(char* out, const char* field, std::size_t most, std::size_t width, RowHash& hash) {
    constexpr std::uint64_t low_bits = 0x0101010101010101ULL;
    constexpr std::uint64_t high_bits = 0x8080808080808080ULL;
    // A field always holds its terminator, so one of its words has a NUL.
    std::size_t length = width;
    const auto take = [&](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, field + at, sizeof word);
        hash.text_word(word);
        if (length != width) return;
        std::memcpy(out + at, &word, sizeof word);
        const std::uint64_t nul_bytes = (word - low_bits) & ~word & high_bits;
        if (nul_bytes != 0) length = at + static_cast<std::size_t>(std::countr_zero(nul_bytes)) / 8;
    };
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= width; at += sizeof(std::uint64_t)) take(at);
    if (at != width) take(width - sizeof(std::uint64_t));
    return out + std::min(length, most);
}

}  // namespace table_writer_detail

// One column of a data line as the writer puts it out: where its field lies in
// the row and how it is written, found once for the table.
template <class Record>
struct WrittenColumn {
    ColumnKind kind = ColumnKind::text;
    std::size_t offset = 0;  // of a text or number field in the row
    std::size_t width = 0;   // a text field's, hashed whole
    std::size_t most = 0;    // the characters of a text field written at most
    FixedDecimalWriter put_number = nullptr;
    double (*derive)(const Record&) = nullptr;
    bool (*written_empty)(const Record&) = nullptr;
};

template <class Record>
class DataLineWriter {
public:
    explicit DataLineWriter(const TableFormat<Record>& format) {
        const std::vector<FieldPlace> places = field_places(format.columns);
        std::size_t longest_overrun = table_writer_detail::word_overrun;
        longest_line_ = table_writer_detail::tag_width + 2;
        for (std::size_t i = 0; i < format.columns.size(); ++i) {
            const Column<Record>& column = format.columns[i];
            WrittenColumn<Record> written{.kind = column.kind, .offset = places[i].offset, .width = places[i].size};
            if (column.kind == ColumnKind::text) {
                // A field always holds its terminator, so it ends the text
                // before the field does whatever the precision.
                written.most = std::min(static_cast<std::size_t>(std::max(column.precision, 0)), written.width);
            } else {
                written.put_number = fixed_decimal_writer(column.precision);
                written.derive = column.derive;
                written.written_empty = column.written_empty;
            }
            // put() writes no line of a format with any other column: the general
            // path sizes its own.
            if (column.precision < 0 || (column.kind != ColumnKind::text && written.put_number == nullptr)) {
                plain_ = false;
            }
            longest_line_ += 1 + (column.kind == ColumnKind::text ? written.most : fixed_decimal_longest);
            // A text may be copied up to its field's width.
            if (column.kind == ColumnKind::text) {
                longest_overrun = std::max(longest_overrun, written.width - written.most);
            }
            columns_.push_back(written);
        }
        longest_line_ += longest_overrun;
    }

    // The room put() needs for one line.
    std::size_t longest_line() const { return longest_line_; }

    // Writes the row's data line and its CR LF at out, with room for
    // longest_line() there, sets row_hash to the hash of the fields the
    // fingerprint takes, and returns the line's end; nullptr when a value needs
    // the general formatting.
    char* put(char* out, const Record& row, RowHash& row_hash) const {
        using table_writer_detail::put_hashed_text;
        using table_writer_detail::put_text;
        if (!plain_) return nullptr;
        // Held here, where no write through out can reach it, so it stays in a register.
        RowHash hash;
        const char* const fields = reinterpret_cast<const char*>(&row);
        out = put_text(out, row.tag, std::min(table_writer_detail::tag_width, sizeof row.tag), sizeof row.tag);
        for (const WrittenColumn<Record>& column : columns_) {
            *out++ = '|';
            switch (column.kind) {
                case ColumnKind::text:
                    if (column.width >= sizeof(std::uint64_t)) {
                        out = put_hashed_text(out, fields + column.offset, column.most, column.width, hash);
                        break;
                    }
                    hash.text(std::span<const char>(fields + column.offset, column.width));
                    out = put_text(out, fields + column.offset, column.most, column.width);
                    break;
                case ColumnKind::number: {
                    double value;
                    std::memcpy(&value, fields + column.offset, sizeof value);
                    hash.number(value);
                    if (column.written_empty != nullptr && column.written_empty(row)) break;
                    out = column.put_number(out, value);
                    if (out == nullptr) return nullptr;
                    break;
                }
                case ColumnKind::derived:
                    out = column.put_number(out, column.derive(row));
                    if (out == nullptr) return nullptr;
                    break;
            }
        }
        out[0] = '\r';
        out[1] = '\n';
        row_hash = hash;
        return out + 2;
    }

private:
    std::vector<WrittenColumn<Record>> columns_;
    std::size_t longest_line_ = 0;
    bool plain_ = true;  // every column's format is "%.Ns" or "%.Nf" with N the integer path takes
};

// The whole file as write_table puts it out, handed to write in pieces of a
// few thousand rows, so that a large table is never held twice, the rows'
// rows_fingerprint into fingerprint and the content's content_hash into
// content_hash; false, errno as write left it, as soon as write refuses a
// piece. The pieces are made two at a time, and one is written while the
// next is made.
template <class Record, class Write>
bool write_table_pieces(const TableFormat<Record>& format, const RecordTable<Record>& table, Write&& write,
                        std::uint64_t& fingerprint, std::uint64_t& content_hash) {
    constexpr std::size_t rows_per_piece = 8192;
    // Room for most pieces of most tables: room for every line at its longest
    // would be several times what the lines take.
    constexpr std::size_t first_room = std::size_t{1} << 20;
    const DataLineWriter<Record> writer(format);
    std::string header;
    library_file_detail::append_with_crlf(header, format.header);
    const auto make = [&](std::size_t index, MadePiece& piece) {
        const std::size_t first = index * rows_per_piece;
        const std::size_t rows = std::min(rows_per_piece, table.size() - first);
        const std::size_t least = std::max(first_room, header.size() + writer.longest_line());
        if (piece.text.size() < least) piece.text.resize(least);
        piece.row_hashes.resize(rows);
        std::size_t used = 0;
        if (index == 0) {
            std::memcpy(piece.text.data(), header.data(), header.size());
            used = header.size();
        }
        auto row = table.begin() + first;
        for (std::size_t i = 0; i < rows; ++i, ++row) {
            if (piece.text.size() - used < writer.longest_line()) {
                piece.text.resize(std::max(2 * piece.text.size(), used + writer.longest_line()));
            }
            RowHash row_hash;
            const char* const end = writer.put(piece.text.data() + used, *row, row_hash);
            if (end != nullptr) {
                used = static_cast<std::size_t>(end - piece.text.data());
            } else {
                std::string line;
                append_data_line(line, format, *row);
                line += "\r\n";
                if (piece.text.size() - used < line.size()) piece.text.resize(used + line.size());
                std::memcpy(piece.text.data() + used, line.data(), line.size());
                used += line.size();
                row_hash = ::row_hash(format, *row);
            }
            piece.row_hashes[i] = row_hash.value();
        }
        piece.used = used;
    };
    // The first piece holds the header, and so is never empty.
    const std::size_t pieces = std::max<std::size_t>(1, (table.size() + rows_per_piece - 1) / rows_per_piece);
    RowHashChain rows;
    ContentStreamHash content;
    const bool written = make_pieces_in_pairs(pieces, make, [&](MadePiece& piece) {
        for (const std::uint64_t row_hash : piece.row_hashes) rows.add(row_hash);
        const std::string_view bytes(piece.text.data(), piece.used);
        content.add(bytes);
        return write(bytes);
    });
    if (!written) return false;
    fingerprint = rows.value();
    content_hash = content.value();
    return true;
}

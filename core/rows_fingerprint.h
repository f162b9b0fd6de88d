// A fingerprint of what a save would write of a table's rows: each row's text
// fields whole and its stored numbers. It tells whether the rows still are
// what they were at the last load or save, so it lives in memory only.
//
// Each row is hashed on its own and the row hashes are then chained: the work
// on one row does not wait for the row before, so the processor overlaps rows.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

#include "record_table.h"
#include "table_format.h"

// The fingerprint of a table without rows.
constexpr std::uint64_t no_rows_fingerprint = 0xCBF29CE484222325ULL;

template <class Record>
class RowsFingerprint {
public:
    explicit RowsFingerprint(const TableFormat<Record>& format) : format_(format) {}

    void add(const Record& row) {
        std::uint64_t hash = row_seed;
        for (const Column<Record>& column : format_.columns) {
            if (column.kind == ColumnKind::text) {
                // The column reaches the field through a mutable row; nothing is written.
                hash = with_text(hash, column.text(const_cast<Record&>(row)));
            } else if (column.kind == ColumnKind::number) {
                std::uint64_t word;
                std::memcpy(&word, &(row.*(column.number)), sizeof word);
                hash = mixed(hash, word);
            }
        }
        value_ = mixed(value_, hash);
    }
    std::uint64_t value() const { return value_; }

private:
    static constexpr std::uint64_t row_seed = 0x243F6A8885A308D3ULL;

    static std::uint64_t mixed(std::uint64_t state, std::uint64_t word) {
        state = (state ^ word) * 0x9E3779B97F4A7C15ULL;
        return state ^ (state >> 29);
    }
    // A text field is hashed at its full, fixed width: fields of one column are
    // all as wide, so no length needs to go in, and a width that is no multiple
    // of eight is finished with the field's last eight bytes, read again in part.
    static std::uint64_t with_text(std::uint64_t state, std::span<const char> text) {
        std::uint64_t word;
        if (text.size() < sizeof word) {
            for (const char c : text) state = mixed(state, static_cast<unsigned char>(c));
            return state;
        }
        std::size_t at = 0;
        for (; at + sizeof word <= text.size(); at += sizeof word) {
            std::memcpy(&word, text.data() + at, sizeof word);
            state = mixed(state, word);
        }
        if (at == text.size()) return state;
        std::memcpy(&word, text.data() + text.size() - sizeof word, sizeof word);
        return mixed(state, word);
    }

    const TableFormat<Record>& format_;
    std::uint64_t value_ = no_rows_fingerprint;
};

template <class Record>
std::uint64_t rows_fingerprint(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    RowsFingerprint<Record> fingerprint(format);
    for (const Record& row : table) fingerprint.add(row);
    return fingerprint.value();
}

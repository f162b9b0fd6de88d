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

// One row's part of the fingerprint, fed its text fields and stored numbers
// in column order: the writer feeds it as it writes the row.
class RowHash {
public:
    // A text field is hashed at its full, fixed width: fields of one column are
    // all as wide, so no length needs to go in, and a width that is no multiple
    // of eight is finished with the field's last eight bytes, read again in part.
    void text(std::span<const char> field) {
        std::uint64_t word;
        if (field.size() < sizeof word) {
            for (const char c : field) state_ = mixed(state_, static_cast<unsigned char>(c));
            return;
        }
        std::size_t at = 0;
        for (; at + sizeof word <= field.size(); at += sizeof word) {
            std::memcpy(&word, field.data() + at, sizeof word);
            state_ = mixed(state_, word);
        }
        if (at == field.size()) return;
        std::memcpy(&word, field.data() + field.size() - sizeof word, sizeof word);
        state_ = mixed(state_, word);
    }
    void number(const double& value) {
        std::uint64_t word;
        std::memcpy(&word, &value, sizeof word);
        state_ = mixed(state_, word);
    }
    // One of the words text() takes of a field of at least eight bytes, for a
    // writer that reads them anyway.
    void text_word(std::uint64_t word) { state_ = mixed(state_, word); }
    std::uint64_t value() const { return state_; }

    static std::uint64_t mixed(std::uint64_t state, std::uint64_t word) {
        state = (state ^ word) * 0x9E3779B97F4A7C15ULL;
        return state ^ (state >> 29);
    }

private:
    std::uint64_t state_ = 0x243F6A8885A308D3ULL;
};

// The fingerprint of rows from their RowHash values, taken in the rows' order.
class RowHashChain {
public:
    void add(const RowHash& row) { add(row.value()); }
    // A row's RowHash by its value, kept since it was taken.
    void add(std::uint64_t row_hash) { value_ = RowHash::mixed(value_, row_hash); }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = no_rows_fingerprint;
};

// One row's RowHash as the fingerprint takes it.
template <class Record>
inline RowHash row_hash(const TableFormat<Record>& format, const Record& row) {
    RowHash hash;
    for (const Column<Record>& column : format.columns) {
        if (column.kind == ColumnKind::text) {
            // The column reaches the field through a mutable row; nothing is written.
            hash.text(column.text(const_cast<Record&>(row)));
        } else if (column.kind == ColumnKind::number) {
            hash.number(row.*(column.number));
        }
    }
    return hash;
}

template <class Record>
class RowsFingerprint {
public:
    explicit RowsFingerprint(const TableFormat<Record>& format) : format_(format) {}

    void add(const Record& row) { chain_.add(row_hash(format_, row)); }
    std::uint64_t value() const { return chain_.value(); }

private:
    const TableFormat<Record>& format_;
    RowHashChain chain_;
};

template <class Record>
std::uint64_t rows_fingerprint(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    RowsFingerprint<Record> fingerprint(format);
    for (const Record& row : table) fingerprint.add(row);
    return fingerprint.value();
}

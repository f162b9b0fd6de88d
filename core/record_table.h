// An ordered, growable table of rows: row i is the i-th data line read or the
// i-th row appended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

template <class Record>
class RecordTable {
public:
    std::size_t size() const { return rows_.size(); }
    bool has_row(long index) const { return index >= 0 && static_cast<std::size_t>(index) < rows_.size(); }

    // How often the rows may have changed: a table whose count is what it was
    // still holds the rows it held then. Handing out a row to change counts.
    std::uint64_t changes() const { return changes_; }

    // Destroys every row and gives the storage back.
    void empty() {
        ++changes_;
        std::vector<Record>().swap(rows_);
    }
    // Room for that many rows without growing: the loaders size the table from the file.
    void reserve(std::size_t rows) { rows_.reserve(rows); }
    void append(const Record& record) {
        ++changes_;
        rows_.push_back(record);
    }
    Record copy_of(std::size_t index) const { return rows_.at(index); }
    Record& at(std::size_t index) {
        ++changes_;
        return rows_.at(index);
    }
    const Record& at(std::size_t index) const { return rows_.at(index); }
    // Later rows move one place to the front, keeping their order.
    void remove(std::size_t index) {
        ++changes_;
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }

private:
    std::vector<Record> rows_;
    std::uint64_t changes_ = 0;
};

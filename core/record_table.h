// An ordered, growable table of rows: row i is the i-th data line read or the
// i-th row appended.
//
// The rows stay where they were stored; the table's order is a list of their
// places. Removing a row takes its place out of that list, so no later row is
// copied: records with a virtual destructor are copied member by member, a
// character at a time, which for a large table cost more than the rest of a
// Delete. The place a removed row leaves is taken by the next row appended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "huge_pages.h"

template <class Record>
class RecordTable {
public:
    // The rows in order, read-only.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Record;
        using difference_type = std::ptrdiff_t;
        using pointer = const Record*;
        using reference = const Record&;

        const_iterator() = default;
        const_iterator(const Record* slots, const std::uint32_t* place) : slots_(slots), place_(place) {}
        reference operator*() const { return slots_[*place_]; }
        pointer operator->() const { return &slots_[*place_]; }
        const_iterator& operator++() {
            ++place_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++place_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return place_ == other.place_; }
        // The row rows further on, for a part of the table taken up elsewhere.
        const_iterator operator+(std::size_t rows) const { return {slots_, place_ + rows}; }

    private:
        const Record* slots_ = nullptr;
        const std::uint32_t* place_ = nullptr;
    };

    std::size_t size() const { return order_.size(); }
    bool has_row(long index) const { return index >= 0 && static_cast<std::size_t>(index) < order_.size(); }

    // How often the rows may have changed: a table whose count is what it was
    // still holds the rows it held then. Handing out a row to change counts.
    std::uint64_t changes() const { return changes_; }

    // Destroys every row and gives the storage back.
    void empty() {
        ++changes_;
        give_back_storage();
    }
    // Forgets every row but leaves it in its place, to be destroyed when a new
    // row takes that place: a table loaded again fills the pages it already has
    // instead of having fresh ones cleared by the system, and letting the old
    // rows go costs no pass of its own over them.
    void clear() {
        ++changes_;
        order_.clear();
        free_slots_.clear();
        next_forgotten_ = 0;
        forgotten_end_ = slots_.size();
    }
    // Room for that many rows without growing: the loaders size the table from
    // the file. A table without rows gives its storage back rather than have
    // forgotten rows copied into more, or keep storage for far more rows.
    void reserve(std::size_t rows) {
        if (order_.empty() && (slots_.capacity() < rows || slots_.capacity() / 2 > rows)) give_back_storage();
        if (slots_.empty() && slots_.capacity() < rows) {
            // Fresh storage, which a load fills at once: in huge pages if it can.
            slots_.reserve(rows);
            prefer_huge_pages(slots_.data(), slots_.capacity() * sizeof(Record));
        }
        slots_.reserve(rows);
        order_.reserve(rows);
    }
    void append(const Record& record) {
        ++changes_;
        if (!take_unused_place()) {
            order_.push_back(static_cast<std::uint32_t>(slots_.size()));
            slots_.push_back(record);
            return;
        }
        slots_[order_.back()] = record;
    }
    // Appends a row as a record starts and hands it out to be filled: a loader
    // builds each row where it is stored instead of copying it there.
    Record& append_new() {
        ++changes_;
        if (!take_unused_place()) {
            order_.push_back(static_cast<std::uint32_t>(slots_.size()));
            return slots_.emplace_back();
        }
        Record* const row = &slots_[order_.back()];
        std::destroy_at(row);
        return *std::construct_at(row);
    }
    Record copy_of(std::size_t index) const { return at(index); }
    Record& at(std::size_t index) {
        ++changes_;
        return slots_[order_.at(index)];
    }
    const Record& at(std::size_t index) const { return slots_[order_.at(index)]; }
    // Later rows move one place to the front, keeping their order.
    void remove(std::size_t index) {
        ++changes_;
        free_slots_.push_back(order_.at(index));
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    const_iterator begin() const { return {slots_.data(), order_.data()}; }
    const_iterator end() const { return {slots_.data(), order_.data() + order_.size()}; }

private:
    void give_back_storage() {
        std::vector<Record>().swap(slots_);
        std::vector<std::uint32_t>().swap(order_);
        std::vector<std::uint32_t>().swap(free_slots_);
        next_forgotten_ = 0;
        forgotten_end_ = 0;
    }
    // Puts a place that holds no row at the end of the order, a forgotten
    // row's first, in storage order; false when every stored row is in use.
    bool take_unused_place() {
        if (next_forgotten_ != forgotten_end_) {
            order_.push_back(static_cast<std::uint32_t>(next_forgotten_++));
            return true;
        }
        if (free_slots_.empty()) return false;
        order_.push_back(free_slots_.back());
        free_slots_.pop_back();
        return true;
    }

    std::vector<Record> slots_;
    std::vector<std::uint32_t> order_;       // the place in slots_ of each row, in order
    std::vector<std::uint32_t> free_slots_;  // places of removed rows, for the next rows appended
    // Places of the rows clear() forgot that no new row has taken yet.
    std::size_t next_forgotten_ = 0;
    std::size_t forgotten_end_ = 0;
    std::uint64_t changes_ = 0;
};

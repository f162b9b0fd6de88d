// The table's order through removals and appends, and what a removal copies.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "record_table.h"
#include "records.h"

namespace {

// A record that counts how often rows are copied after they were stored.
class CountedRow {
public:
    explicit CountedRow(int id = 0) : id(id) {}
    virtual ~CountedRow() = default;
    CountedRow(const CountedRow& other) : id(other.id) { ++copies; }
    CountedRow& operator=(const CountedRow& other) {
        id = other.id;
        ++copies;
        return *this;
    }

    int id;
    static inline int copies = 0;
};

std::vector<int> ids(const RecordTable<CountedRow>& table) {
    std::vector<int> seen;
    for (const CountedRow& row : table) seen.push_back(row.id);
    return seen;
}

RecordTable<CountedRow> table_of(int rows) {
    RecordTable<CountedRow> table;
    table.reserve(static_cast<std::size_t>(rows));
    for (int id = 0; id < rows; ++id) table.append(CountedRow(id));
    return table;
}

TEST(RecordTable, RemovingARowKeepsTheOthersInOrderWithoutCopyingThem) {
    RecordTable<CountedRow> table = table_of(6);
    CountedRow::copies = 0;
    table.remove(0);
    table.remove(2);  // the row with id 3
    table.remove(3);  // the last one, id 5
    EXPECT_EQ(CountedRow::copies, 0);
    EXPECT_EQ(ids(table), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at(2).id, 4);
    EXPECT_TRUE(table.has_row(2));
    EXPECT_FALSE(table.has_row(3));
    EXPECT_FALSE(table.has_row(-1));
}

TEST(RecordTable, RowsAppendedAfterRemovalsComeLastWhereverTheyAreStored) {
    RecordTable<CountedRow> table = table_of(4);
    table.remove(1);
    table.remove(1);
    table.append(CountedRow(10));
    table.append(CountedRow(11));
    table.append(CountedRow(12));
    EXPECT_EQ(ids(table), (std::vector<int>{0, 3, 10, 11, 12}));
    // A row changed through its index is the one at that place in the order.
    table.at(2).id = 20;
    table.remove(0);
    EXPECT_EQ(ids(table), (std::vector<int>{3, 20, 11, 12}));
    EXPECT_EQ(table.copy_of(1).id, 20);
}

TEST(RecordTable, CopiesAreIndependentAndEmptyingForgetsEveryRow) {
    RecordTable<CountedRow> table = table_of(3);
    table.remove(0);
    RecordTable<CountedRow> copy = table;
    copy.append(CountedRow(7));
    copy.at(0).id = 9;
    EXPECT_EQ(ids(table), (std::vector<int>{1, 2}));
    EXPECT_EQ(ids(copy), (std::vector<int>{9, 2, 7}));
    table.empty();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_TRUE(ids(table).empty());
    table.append(CountedRow(5));
    EXPECT_EQ(ids(table), (std::vector<int>{5}));
}

TEST(RecordTable, AnIndexPastTheRowsIsRefused) {
    RecordTable<FEEDS> table;
    FEEDS row;
    table.append(row);
    table.remove(0);
    EXPECT_THROW(table.at(0), std::out_of_range);
    EXPECT_THROW(table.remove(0), std::out_of_range);
    EXPECT_THROW(static_cast<void>(table.copy_of(0)), std::out_of_range);
}

}  // namespace

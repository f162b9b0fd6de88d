// Generated library references, checked in-process against a table whose rows
// are exactly the draws the generator will make.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "command_set.h"
#include "format_text.h"
#include "taken_references.h"

namespace {

class ReferenceTable : public EditorTable {
public:
    explicit ReferenceTable(std::vector<std::string> references) : references_(std::move(references)) {}
    std::size_t size() const override { return references_.size(); }
    void list_line(std::size_t row, std::string& line) const override { line = references_[row]; }
    std::string_view reference(std::size_t row) const override { return references_[row]; }
    void remove(std::size_t row) override { references_.erase(references_.begin() + static_cast<long>(row)); }
    int load() override { return 0; }
    int save() override { return 0; }

private:
    std::vector<std::string> references_;
};

Editor editor_over(EditorTable& table) {
    return Editor{.table = &table, .list_item = "LIST", .reference_format = "TMC0_%04d"};
}

// The references the generator draws this second, in order.
std::vector<std::string> draws_this_second(std::time_t now, int count) {
    std::srand(static_cast<unsigned>(now));
    std::vector<std::string> draws;
    for (int i = 0; i < count; ++i) draws.push_back(format_text("TMC0_%04d", std::rand() % 32768));
    return draws;
}

TEST(NewLibref, NeverHandsOutAReferenceAnEarlierRowHolds) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t now = std::time(nullptr);
        const auto draws = draws_this_second(now, 3);
        // The first draw collides with the last row; the second with the first row.
        ReferenceTable table({draws[1], "TMC0_ZZZZ", draws[0]});
        const std::string reference = new_libref(editor_over(table));
        if (std::time(nullptr) != now) continue;  // the second turned: the draws were others
        EXPECT_NE(reference, draws[0]);
        EXPECT_NE(reference, draws[1]);
        EXPECT_EQ(reference.substr(0, 5), "TMC0_");
        return;
    }
    FAIL() << "the clock turned a second during every attempt";
}

TEST(NewLibref, TheFirstDrawIsKeptWhenNoRowHoldsIt) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t now = std::time(nullptr);
        const auto draws = draws_this_second(now, 1);
        ReferenceTable table({"TMC0_A", "TMC0_B"});
        const std::string reference = new_libref(editor_over(table));
        if (std::time(nullptr) != now) continue;
        EXPECT_EQ(reference, draws[0]);
        return;
    }
    FAIL() << "the clock turned a second during every attempt";
}

// With every number of the prefix taken, New handed out one the table held.
TEST(NewLibref, FindsAFreeReferenceWhenEveryDrawIsTaken) {
    std::vector<std::string> references;
    for (int number = 0; number < 100000; ++number) references.push_back(format_text("TMC0_%04d", number));
    ReferenceTable table(references);
    const std::string reference = new_libref(editor_over(table));
    EXPECT_EQ(std::count(references.begin(), references.end(), reference), 0) << reference;
    EXPECT_EQ(reference.substr(0, 5), "TMC0_");
}

// Every reference a row holds is found, twice-held ones and the empty one
// included; no other is, however many share a place.
TEST(TakenReferences, FindsExactlyTheReferencesTheRowsHold) {
    std::vector<std::string> references = {"", "FSDO_0001", "FSDO_0001", "fsdo_0002"};
    for (int number = 0; number < 5000; ++number) references.push_back(format_text("OPD0_%05d", 3 * number));
    ReferenceTable table(references);
    const TakenReferences taken(table);
    for (const std::string& reference : references) EXPECT_TRUE(taken.contains(reference)) << reference;
    for (int number = 0; number < 5000; ++number) {
        EXPECT_FALSE(taken.contains(format_text("OPD0_%05d", 3 * number + 1)));
    }
    EXPECT_FALSE(taken.contains("FSDO_0002"));
    EXPECT_FALSE(taken.contains("FSDO_000"));
    EXPECT_FALSE(taken.contains("FSDO_00011"));
    ReferenceTable none({});
    EXPECT_FALSE(TakenReferences(none).contains(""));
}

TEST(RemoveRow, RefusesIndicesOutsideTheTable) {
    ReferenceTable table({"A", "B", "C"});
    const Editor editor = editor_over(table);
    EXPECT_EQ(remove_row(editor, -1), -1);
    EXPECT_EQ(remove_row(editor, 3), -1);
    EXPECT_EQ(remove_row(editor, 0), 0);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table.reference(0), "B");
    EXPECT_EQ(table.reference(1), "C");
}

}  // namespace

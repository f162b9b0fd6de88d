// The host's list lines against a vector of strings doing the same: random
// inserts, removals, emptyings and refills, with lines longer than a block,
// empty lines, and enough removals to make the lines be written again.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "list_lines.h"

namespace {

using ughost::ListLines;

std::string random_line(std::mt19937& random) {
    const unsigned kind = random() % 300;
    if (kind == 0) return std::string((std::size_t{1} << 20) + random() % 100, static_cast<char>('a' + random() % 26));
    if (kind < 30) return "";
    return "line " + std::to_string(random()) + std::string(random() % 120, 'x');
}

TEST(ListLines, KeepWhatAVectorOfStringsKeepsThroughEveryChange) {
    std::mt19937 random(20261207);
    ListLines lines;
    std::vector<std::string> model;
    for (int step = 0; step < 8000; ++step) {
        const unsigned what = random() % 100;
        if (what < 45) {
            const std::string line = random_line(random);
            lines.push_back(line);
            model.push_back(line);
        } else if (what < 65) {
            const std::size_t at = random() % (model.size() + 1);
            const std::string line = random_line(random);
            lines.insert(at, line);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), line);
        } else if (what < 98) {
            if (model.empty()) continue;
            const std::size_t at = random() % model.size();
            lines.erase(at);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (what < 99) {
            lines.clear();
            model.clear();
        } else {
            lines.release_unused();
        }
        ASSERT_EQ(lines.size(), model.size()) << "step " << step;
        if (step % 97 == 0 || model.size() < 4) {
            ASSERT_TRUE(lines == model) << "step " << step;
        }
    }
    EXPECT_TRUE(lines == model);
    const ListLines copy(lines);
    EXPECT_TRUE(copy == model);
}

// A refill after an emptying writes into the room the old lines had, and the
// room a shorter refill leaves unused can be given back, lines kept.
TEST(ListLines, ARefillAfterAnEmptyingKeepsItsLinesWhenTheRestIsGivenBack) {
    ListLines lines;
    std::vector<std::string> model;
    for (int i = 0; i < 50000; ++i) lines.push_back("first fill " + std::to_string(i) + std::string(40, 'a'));
    lines.clear();
    EXPECT_TRUE(lines.empty());
    for (int i = 0; i < 1000; ++i) {
        const std::string line = "refill " + std::to_string(i);
        lines.push_back_written([&](std::string& text) { text += line; });
        model.push_back(line);
    }
    lines.release_unused();
    EXPECT_TRUE(lines == model);
    lines.insert_written(0, [](std::string& text) { text += "first"; });
    model.insert(model.begin(), "first");
    EXPECT_TRUE(lines == model);
    std::vector<std::string> seen;
    for (const std::string_view line : lines) seen.emplace_back(line);
    EXPECT_EQ(seen, model);
}

}  // namespace

// The reader against damaged files: sample files mutated at random (with a
// fixed seed, so a failure repeats) must never crash it, and whatever it takes
// from them must survive a save and a second load unchanged.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "host_run.h"
#include "library_file.h"
#include "table_formats.h"
#include "table_store.h"

namespace {

constexpr auto time_per_table = std::chrono::milliseconds(700);

std::string mutated(const std::string& original, std::mt19937& random) {
    std::string text = original;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int edit = 0; edit < edits && !text.empty(); ++edit) {
        const std::size_t at = random() % text.size();
        switch (random() % 6) {
            case 0: text[at] = static_cast<char>(random()); break;
            case 1: text.insert(at, 1, "|#\r\n\0 D"[random() % 7]); break;
            case 2: text.erase(at, 1 + random() % 40); break;
            case 3: text.insert(at, text.substr(random() % text.size(), random() % 300)); break;
            case 4: text.insert(at, std::string(random() % 400, static_cast<char>(random()))); break;
            case 5: text.insert(at, "\xEF\xBB\xBF\xFF\xFE\xC0\x80", random() % 7); break;
        }
    }
    return text;
}

template <class Record>
void fuzz(const TableFormat<Record>& format) {
    const std::string sample = sample_bytes(format.file_name);
    std::mt19937 random(20261207);
    long runs = 0;
    const auto deadline = std::chrono::steady_clock::now() + time_per_table;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string input = mutated(sample, random);
        RecordTable<Record> first;
        LoadReport report;
        read_table(input, format, first, report);
        ASSERT_LE(first.size(), static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n') + 1));
        RecordTable<Record> second;
        const std::string saved = write_table(format, first);
        read_table(saved, format, second, report);
        // A save never loses a row that was loaded.
        ASSERT_EQ(second.size(), first.size()) << "input:\n" << input;
        // What was cut to its field at the first load is cut once more by the
        // save; from then on the table holds still.
        RecordTable<Record> third;
        read_table(write_table(format, second), format, third, report);
        ASSERT_EQ(rows_fingerprint(format, second), rows_fingerprint(format, third)) << "input:\n" << input;
        ASSERT_TRUE(report.rejected_lines.empty() && report.unrecognised_lines.empty()) << "input:\n" << input;
        ++runs;
    }
    EXPECT_GT(runs, 100);
}

TEST(ReaderFuzz, FeedsSpeeds) { fuzz(feeds_format); }
TEST(ReaderFuzz, ToolMaterials) { fuzz(tool_material_format); }
TEST(ReaderFuzz, PartMaterials) { fuzz(part_material_format); }
TEST(ReaderFuzz, CutMethods) { fuzz(cut_method_format); }

}  // namespace

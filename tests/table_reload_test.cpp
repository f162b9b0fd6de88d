// Reading a table again over the rows it holds: the storage is kept, every row
// is built afresh, and what the reader finds of each line is what a plain
// scan finds.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "file_system.h"
#include "host_run.h"
#include "library_file.h"
#include "table_formats.h"

namespace {

std::string feeds_file(int rows, int first) {
    std::string text = "# FEEDS\r\n";
    for (int row = first; row < first + rows; ++row) {
        const std::string n = std::to_string(row);
        text += "DATA|FSDO_" + n + "|OPD0_" + n + "|MAT0_" + n + "|TMC0_" + n + "|0|" + n + ".5|" +
                (row % 3 == 0 ? "1.00|2.00" : "|") + "|0|" + n + "0.125|0|0." + n + "\r\n";
    }
    return text;
}

// The rows of a table as the writer puts them out.
std::string written(const RecordTable<FEEDS>& table) { return write_table(feeds_format, table); }

// What a fresh table reads of the text, written out, with the reader's fingerprint.
struct Reading {
    std::string file;
    std::uint64_t fingerprint = 0;
};

Reading read_into(RecordTable<FEEDS>& table, const std::string& text) {
    LoadReport report;
    TableReader<FEEDS> reader(feeds_format, table, report, text.size());
    reader.read(text);
    reader.finish();
    EXPECT_EQ(reader.fingerprint(), rows_fingerprint(feeds_format, table));
    return {written(table), reader.fingerprint()};
}

Reading fresh_reading(const std::string& text) {
    RecordTable<FEEDS> table;
    return read_into(table, text);
}

TEST(RecordTable, ARowAppendedNewStartsEmptyWhereverItIsStored) {
    RecordTable<CUTS> table;
    for (const char* reference : {"A", "B", "C"}) {
        CUTS row;
        std::strcpy(row.LIBRF, reference);
        std::strcpy(row.DESCRIPTION, "left behind");
        table.append(row);
    }
    table.remove(1);
    CUTS& in_freed_place = table.append_new();
    EXPECT_STREQ(in_freed_place.LIBRF, "");
    EXPECT_STREQ(in_freed_place.DESCRIPTION, "");
    std::strcpy(in_freed_place.LIBRF, "D");
    ASSERT_EQ(table.size(), 3u);
    EXPECT_STREQ(table.at(2).LIBRF, "D");

    // Rows forgotten by clear() give their places to new rows, built afresh or copied.
    table.clear();
    EXPECT_EQ(table.size(), 0u);
    for (const char* reference : {"E", "F"}) std::strcpy(table.append_new().LIBRF, reference);
    CUTS copied;
    std::strcpy(copied.LIBRF, "G");
    table.append(copied);
    std::strcpy(table.append_new().LIBRF, "H");
    table.remove(1);
    table.append(copied);
    std::string order;
    for (const CUTS& row : table) order += std::string(row.LIBRF) + (row.DESCRIPTION[0] == '\0' ? "" : "!");
    EXPECT_EQ(order, "EGHG");
}

// Deletes and News leave rows in other places than their order; a file read
// over them, shorter or longer than before, gives the rows a fresh table gets.
TEST(Reloading, ATableReadAgainHoldsWhatAFreshTableReads) {
    RecordTable<FEEDS> table;
    read_into(table, feeds_file(300, 0));
    for (int removed = 0; removed < 40; ++removed) table.remove(static_cast<std::size_t>(removed * 5));
    table.append(table.copy_of(7));
    table.append(table.copy_of(3));

    for (const std::string& text : {feeds_file(120, 1000), feeds_file(2000, 5000), feeds_file(0, 0),
                                    feeds_file(300, 0)}) {
        const Reading again = read_into(table, text);
        const Reading fresh = fresh_reading(text);
        EXPECT_EQ(again.file, fresh.file);
        EXPECT_EQ(again.fingerprint, fresh.fingerprint);
    }
}

// The reader's sweep for "|" against a plain scan, with the bytes one bit away
// from "|" ("}" and "l") beside it, where a sweep that lets a byte's carry
// reach the next would see separators that are not there.
TEST(Separators, TheSweepFindsWhatAPlainScanFinds) {
    std::mt19937 random(7);
    const std::string alphabet("|}l\xFC\0x|", 7);
    for (int round = 0; round < 20000; ++round) {
        std::string line(random() % 40, ' ');
        for (char& c : line) c = alphabet[random() % alphabet.size()];
        std::vector<std::size_t> expected;
        for (std::size_t at = 0; at < line.size(); ++at) {
            if (line[at] == '|') expected.push_back(at);
        }
        const std::size_t most = random() % 16;
        std::vector<std::size_t> places(most + 1, 0);
        const std::size_t found = library_file_detail::find_separators(line, places.data(), most);
        ASSERT_EQ(found, std::min(expected.size(), most + 1)) << line;
        for (std::size_t i = 0; i < std::min(found, most); ++i) ASSERT_EQ(places[i], expected[i]) << line;
    }
}

// The whole-file read grows past a size that was too small, stops at the end
// of one that was too large, and fails on a failed read.
TEST(WholeFileRead, ReadsToTheEndWhateverSizeWasExpected) {
    ScratchDirectory folder;
    std::string bytes(700000, '\0');
    for (std::size_t at = 0; at < bytes.size(); ++at) bytes[at] = static_cast<char>(at * 7 % 251);
    folder.write("feeds_speeds.dat", bytes);
    for (const std::size_t expected : {std::size_t{0}, std::size_t{1000}, bytes.size(), 2 * bytes.size()}) {
        const int fd = ::open(folder.file("feeds_speeds.dat").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        std::string content = "old";
        EXPECT_TRUE(file_system::read_all(fd, content, expected));
        ::close(fd);
        EXPECT_TRUE(content == bytes) << expected;
    }
    const int fd = ::open(folder.file("feeds_speeds.dat").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    file_system::fail_call(file_system::Call::read, 2, EIO);
    std::string content;
    const bool read = file_system::read_all(fd, content, bytes.size());
    const int error = errno;
    EXPECT_FALSE(read);
    EXPECT_EQ(error, EIO);
    file_system::clear_faults();
    ::close(fd);
}

}  // namespace

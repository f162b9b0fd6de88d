// What the snapshots do with each of the four tables, written once over the
// table formats: count its rows, make its spreadsheet file, and make the table
// file back from an edited spreadsheet.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "csv_table.h"
#include "library_file.h"

struct SnapshotTable {
    const char* file_name;   // e.g. "feeds_speeds.dat"
    std::string csv_name;    // e.g. "feeds_speeds.csv"
    // The rows a load takes from the file, and what the load would tell the user.
    std::size_t (*rows)(std::string_view content, LoadReport& report);
    std::string (*to_csv)(std::string_view content);
    // The table file the table's writer makes of a spreadsheet; false with the problem.
    bool (*from_csv)(std::string_view csv, std::string& content, std::size_t& rows, CsvProblem& problem);
};

const std::vector<SnapshotTable>& snapshot_tables();
// The table of a file name; null for the tool library, which has no spreadsheet.
const SnapshotTable* snapshot_table_of(const std::string& file_name);

// The data lines of a file, each as the reader sees it (no line end), with its line number.
struct NumberedLine {
    long number;
    std::string text;
};
std::vector<NumberedLine> data_lines(std::string_view content);

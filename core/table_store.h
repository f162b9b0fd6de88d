// Loading a table from its file and saving it back, with what the user is shown
// on the way: the load failure, the note on lines a load had to change, the save
// question, the refusals and the count of rows written.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include "interrupted_save.h"
#include "library_file.h"

namespace table_store_detail {
void show_load_failure(const char* table_name);
void show_load_report(const char* file_name, const LoadReport& report);
int save_with(std::size_t rows, const std::string& path, const std::function<std::string()>& content);
}  // namespace table_store_detail

// 0 when the file was read (the table now holds its rows), -1 when it cannot be
// opened (the table keeps its rows).
template <class Record>
int load_table(const TableFormat<Record>& format, RecordTable<Record>& table, const std::string& path,
               void (*number_row)(Record&, std::int32_t) = nullptr) {
    std::ifstream in;
    if (!path.empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        table_store_detail::show_load_failure(format.table_name);
        return -1;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    repair_interrupted_save(path, bytes);
    std::istringstream text(bytes);
    LoadReport report;
    read_table(text, format, table, report, number_row);
    if (!report.clean()) table_store_detail::show_load_report(format.file_name, report);
    return 0;
}

// 0 when written or declined, -1 when saving is not allowed or the table is
// empty, -2 when the file cannot be written.
template <class Record>
int save_table(const TableFormat<Record>& format, const RecordTable<Record>& table, const std::string& path) {
    return table_store_detail::save_with(table.size(), path, [&] { return write_table(format, table); });
}

#include "snapshot_tables.h"

#include "table_formats.h"

namespace {

template <class Format>
struct record_of_format;
template <class Record>
struct record_of_format<TableFormat<Record>> {
    using type = Record;
};

template <const auto& format>
std::size_t rows_of(std::string_view content, LoadReport& report) {
    using Record = typename record_of_format<std::remove_cvref_t<decltype(format)>>::type;
    RecordTable<Record> table;
    read_table(content, format, table, report);
    return table.size();
}

template <const auto& format>
std::string csv_of(std::string_view content) {
    using Record = typename record_of_format<std::remove_cvref_t<decltype(format)>>::type;
    RecordTable<Record> table;
    LoadReport report;
    read_table(content, format, table, report);
    return write_csv(format, table);
}

template <const auto& format>
bool table_of_csv(std::string_view csv, std::string& content, std::size_t& rows, CsvProblem& problem) {
    using Record = typename record_of_format<std::remove_cvref_t<decltype(format)>>::type;
    RecordTable<Record> table;
    if (!read_csv(csv, format, table, problem)) return false;
    content = write_table(format, table);
    rows = table.size();
    return true;
}

template <const auto& format>
SnapshotTable snapshot_table() {
    const std::string name = format.file_name;
    return {format.file_name, name.substr(0, name.rfind('.')) + ".csv", rows_of<format>, csv_of<format>,
            table_of_csv<format>};
}

}  // namespace

const std::vector<SnapshotTable>& snapshot_tables() {
    static const std::vector<SnapshotTable> files = {snapshot_table<feeds_format>(), snapshot_table<tool_material_format>(),
                                                 snapshot_table<part_material_format>(),
                                                 snapshot_table<cut_method_format>()};
    return files;
}

const SnapshotTable* snapshot_table_of(const std::string& file_name) {
    for (const SnapshotTable& file : snapshot_tables()) {
        if (file_name == file.file_name) return &file;
    }
    return nullptr;
}

std::vector<NumberedLine> data_lines(std::string_view content) {
    std::vector<NumberedLine> lines;
    std::string_view rest = library_file_detail::without_signature(content);
    long number = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (library_file_detail::is_data_line(line)) lines.push_back({number, std::string(line)});
    }
    return lines;
}

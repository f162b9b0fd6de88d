// A library table as a spreadsheet file (csv_cells.h gives the cell rules): a
// header row of the file's column names, then one row per table row. The
// columns are the table format's own, derived inch columns included so that
// the spreadsheet shows them; reading ignores those.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "csv_cells.h"
#include "library_file.h"
#include "value_refusal.h"

// Why a spreadsheet file cannot be taken back, and where.
struct CsvProblem {
    long line = 0;        // 0: the file as a whole
    std::string column;   // empty: the row as a whole
    std::string reason;   // code page 1251, for the user
};

namespace csv_table_detail {
std::string refusal_reason(TextRefusal refusal, std::size_t max_length);
std::string cell_count_reason(std::size_t expected, std::size_t found);
extern const char* const not_a_number_reason;
extern const char* const not_code_page_reason;
extern const char* const unterminated_quote_reason;
extern const char* const no_rows_reason;
// A header cell's text in code page 1251, for messages.
std::string column_name(const std::string& cell);
std::string unknown_column_reason(const std::string& name);
std::string missing_column_reason(const char* name);
}  // namespace csv_table_detail

template <class Record>
std::string write_csv(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    std::string out(csv_cells::signature);
    std::vector<std::string> cells;
    for (const Column<Record>& column : format.columns) cells.push_back(column.name);
    out += csv_cells::row(cells);
    for (const Record& stored : table) {
        Record row = stored;
        cells.clear();
        for (const Column<Record>& column : format.columns) {
            switch (column.kind) {
                case ColumnKind::text:
                    cells.push_back(csv_cells::text_cell(column.text(row).data()));
                    break;
                case ColumnKind::number:
                    cells.push_back(column.written_empty != nullptr && column.written_empty(row)
                                        ? std::string()
                                        : csv_cells::number_cell(format_text(column.format, row.*(column.number))));
                    break;
                case ColumnKind::derived:
                    cells.push_back(csv_cells::number_cell(format_text(column.format, column.derive(row))));
                    break;
            }
        }
        out += csv_cells::row(cells);
    }
    return out;
}

// The rows of a spreadsheet file; false, with the table untouched, when any
// cell is refused: a file is taken whole or not at all.
template <class Record>
bool read_csv(std::string_view content, const TableFormat<Record>& format, RecordTable<Record>& table,
              CsvProblem& problem) {
    using namespace csv_table_detail;
    std::vector<csv_cells::Row> rows;
    long bad_line = 0;
    if (!csv_cells::split_rows(content, rows, bad_line)) {
        problem = {bad_line, "", unterminated_quote_reason};
        return false;
    }
    if (rows.empty()) {
        problem = {0, "", no_rows_reason};
        return false;
    }
    // The header says which cell holds which column; a spreadsheet user may
    // have moved or dropped the derived columns.
    std::vector<const Column<Record>*> column_of_cell;
    for (const std::string& name : rows.front().cells) {
        const Column<Record>* found = nullptr;
        for (const Column<Record>& column : format.columns) {
            if (name == column.name) found = &column;
        }
        for (const Column<Record>* taken : column_of_cell) {
            if (found != nullptr && taken == found) found = nullptr;
        }
        if (found == nullptr) {
            problem = {rows.front().line, column_name(name), unknown_column_reason(column_name(name))};
            return false;
        }
        column_of_cell.push_back(found);
    }
    for (const Column<Record>& column : format.columns) {
        if (column.kind == ColumnKind::derived) continue;
        bool present = false;
        for (const Column<Record>* taken : column_of_cell) present = present || taken == &column;
        if (!present) {
            problem = {rows.front().line, column.name, missing_column_reason(column.name)};
            return false;
        }
    }
    RecordTable<Record> read;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const csv_cells::Row& cells = rows[r];
        if (cells.cells.size() != column_of_cell.size()) {
            problem = {cells.line, "", cell_count_reason(column_of_cell.size(), cells.cells.size())};
            return false;
        }
        Record row;
        library_file_detail::store_text(std::span<char>(row.tag), "DATA", sizeof row.tag);
        for (std::size_t c = 0; c < cells.cells.size(); ++c) {
            const Column<Record>& column = *column_of_cell[c];
            if (column.kind == ColumnKind::text) {
                std::string value;
                if (!csv_cells::cell_text(cells.cells[c], value)) {
                    problem = {cells.line, column.name, not_code_page_reason};
                    return false;
                }
                const std::span<char> field = column.text(row);
                const std::size_t room =
                    std::min(field.size() - 1, library_file_detail::saved_width(column.format));
                if (const TextRefusal refusal = text_refusal(value, room); refusal != TextRefusal::none) {
                    problem = {cells.line, column.name, refusal_reason(refusal, room)};
                    return false;
                }
                library_file_detail::store_text(field, value, room);
            } else if (column.kind == ColumnKind::number) {
                if (!csv_cells::cell_number(cells.cells[c], row.*(column.number))) {
                    problem = {cells.line, column.name, not_a_number_reason};
                    return false;
                }
            }
        }
        read.append(row);
    }
    table = read;
    return true;
}

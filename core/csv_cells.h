// The cells of a spreadsheet file as a spreadsheet in a Russian locale opens it
// with a double-click: UTF-8 with a signature, ";" between cells, numbers with a
// decimal comma, CR LF line ends. Reading takes back what a spreadsheet saves
// from it: with or without the signature, ";" or "," between cells, quoted
// cells or not, a decimal comma or point.
//
// Spreadsheets turn some texts into something else when they open a file:
// "0042" into 42, "12-03" into a date, "=A1" or "-x" into a formula that runs.
// Such a text is written with a leading "'", which keeps it text and makes no
// formula; a text that itself starts with "'" gets one more. Reading takes one
// leading "'" off every text cell, so every text comes back as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace csv_cells {

// A text cell from a code page 1251 value, quoted where it has to be.
std::string text_cell(std::string_view value);
// A number cell from a value as the library file's writer formats it ("2.540").
std::string number_cell(std::string_view formatted);
// One row: the cells joined by ";" and ended by CR LF.
std::string row(const std::vector<std::string>& cells);
// The signature that tells a spreadsheet the file is UTF-8.
constexpr std::string_view signature = "\xEF\xBB\xBF";

struct Row {
    long line;  // the file line the row starts on, from 1
    std::vector<std::string> cells;  // UTF-8, quotes taken off
};

// Splits a file into rows of cells. False with the line of an unterminated quote.
bool split_rows(std::string_view content, std::vector<Row>& rows, long& bad_line);

// The code page 1251 text of a text cell, its protecting "'" taken off; false
// when the cell holds a character the code page lacks.
bool cell_text(std::string_view cell, std::string& value);
// The number of a number cell, with a decimal comma or point and blanks between
// digit groups; an empty cell is 0. False when the cell is not a number.
bool cell_number(std::string_view cell, double& value);

}  // namespace csv_cells

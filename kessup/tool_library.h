// The tool library file, tool_database.dat, kept as it stands: its columns come
// from its FORMAT lines (each data row has the columns of the FORMAT above it),
// a line after a row that is neither blank, comment, FORMAT nor data continues
// that row, and every other line is kept byte for byte and in place. A save
// rewrites only the rows that were edited, drops the deleted ones and appends
// the new ones at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ToolRow {
    long id = -1;                      // its place among the pieces of the file; -1 for a new row
    std::size_t format = 0;            // index into ToolLibrary::formats
    std::vector<std::string> fields;   // the values after the lead-in, continuation lines joined
    bool edited = false;
};

struct ToolLibrary {
    // The column names of each FORMAT line; formats[0] stands for rows above the first FORMAT line.
    std::vector<std::vector<std::string>> formats;
    std::vector<ToolRow> rows;         // in file order, new rows last

    // The file's bytes, in order: kept text, or the place of a row (its original bytes kept too).
    struct Piece {
        std::string bytes;
        long row = -1;        // id of the row these bytes are; -1 kept text
        std::string lead_in;  // the row's text before its first "|"
        std::string line_end; // the row's line end
    };
    std::vector<Piece> pieces;
};

ToolLibrary parse_tool_library(std::string_view content);
std::string write_tool_library(const ToolLibrary& library);

// The name of a row's column c: from its FORMAT line, or "COLn" past its end.
std::string column_name(const ToolLibrary& library, const ToolRow& row, std::size_t c);
std::size_t column_count(const ToolLibrary& library, const ToolRow& row);
// The column named name in the row's format; -1 when there is none.
long column_index(const ToolLibrary& library, const ToolRow& row, const std::string& name);
// The row's reference: its LIBRF column, or its first field.
// A view of the row's own text.
std::string_view row_reference(const ToolLibrary& library, const ToolRow& row);

// A reference no row has, in the style of the last row whose reference ends in
// digits: the same prefix, the next number of that prefix, as many digits.
std::string free_tool_reference(const ToolLibrary& library);

// A new row under the last FORMAT, every field empty but its reference.
ToolRow new_tool_row(const ToolLibrary& library);

// Writing to the host's listing window: each text is one write, as the user's
// listing shows it.
#pragma once

#include <initializer_list>
#include <string>

#include "library_file.h"

// Opens the listing window and writes the host release line.
void listing_start();
void listing_write(const std::string& text);
void listing_write(std::initializer_list<const char*> texts);
// The keywords of part_materials.dat, as the listings that show that table explain them.
void listing_part_material_keywords();
// The state of a table in memory, between dashed lines: its count, whether it
// may be saved (0) or not (-1), and its file name.
void listing_state(std::size_t count, int save_flag, const std::string& path);

// Every row in the data-line form of its file.
template <class Record>
void listing_rows(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    std::string line;
    for (const Record& row : table) {
        line.clear();
        append_data_line(line, format, row);
        line += '\n';
        listing_write(line);
    }
}

// Finds the library directory and checks an editor's own table file. The paths
// are the directory value followed by the file names; nothing is put between,
// so the value ends with its separator.
#pragma once

#include <initializer_list>
#include <string>

struct LibraryPath {
    std::string* path;
    const char* file_name;
};

// 0 when the own file can be read, -1 when the directory variable is not set (the
// user is told), -2 when the own file cannot be read. Sets every path, and
// save_flag to 0 when the own file opens for appending (creating it where the
// folder allows), -1 when it does not. The other paths are set only when the own
// file can be read.
int probe_library(LibraryPath own, int& save_flag, std::initializer_list<LibraryPath> others = {});

// The base: the four library tables beside each other, and the tool library
// file in its own folder. The folders come from the same variables the editors
// and the launcher read.
#pragma once

#include <map>
#include <string>
#include <vector>

struct BaseFolders {
    std::string data;  // the tables' folder, with its separator
    std::string tool;  // the tool library's folder, with its separator
};

// A file name and its bytes, for every file of the base or of a snapshot.
using FileContents = std::map<std::string, std::string>;

extern const char* const tool_library_file;

// The five files, tables first, in the order reports list them.
const std::vector<std::string>& base_file_names();
std::string base_path(const BaseFolders& folders, const std::string& name);

// False, the user told which variable is missing, when a folder is not set.
bool find_base_folders(BaseFolders& folders);

// Reads the five files; false, the user told which file and why, when one cannot be read.
bool read_base(const BaseFolders& folders, FileContents& contents);

// Reads a file whole through the library files' own calls; false with error saying why.
bool read_whole_file(const std::string& path, std::string& content, std::string& error);

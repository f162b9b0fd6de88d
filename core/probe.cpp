#include "probe.h"

#include <fcntl.h>

#include <string>

#include "library_file_open.h"
#include "uf.h"

namespace {

constexpr const char* data_directory_variable = "UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR";

}  // namespace

int probe_library(LibraryPath own, int& save_flag, std::initializer_list<LibraryPath> others) {
    own.path->clear();
    for (const LibraryPath& other : others) other.path->clear();
    save_flag = 0;

    char* directory = nullptr;
    UF_translate_variable(data_directory_variable, &directory);
    // An empty value would put the library in whatever the current directory is.
    if (directory == nullptr || *directory == '\0') {
        uc1601("Переменная UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR - не установлена", 1);
        return -1;
    }
    *own.path = std::string(directory) + own.file_name;
    const bool readable = library_file_opens(*own.path, O_RDONLY);
    // Opening for appending creates the file, empty, where the directory allows it.
    if (!library_file_opens(*own.path, O_WRONLY | O_APPEND | O_CREAT)) save_flag = -1;
    if (!readable) return -2;
    for (const LibraryPath& other : others) *other.path = std::string(directory) + other.file_name;
    return 0;
}

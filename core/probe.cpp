#include "probe.h"

#include <fcntl.h>

#include <string>

#include "editor_profile.h"
#include "library_file_open.h"
#include "library_tables.h"
#include "uf.h"

namespace {

constexpr const char* data_directory_variable = "UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR";

std::string& path_of(LibraryTable table) {
    switch (table) {
        case LibraryTable::feeds: return feeds_path;
        case LibraryTable::tool_materials: return tool_material_path;
        case LibraryTable::part_materials: return part_material_path;
        case LibraryTable::cut_methods: return cut_method_path;
    }
    return feeds_path;
}

const char* file_of(LibraryTable table) {
    switch (table) {
        case LibraryTable::feeds: return feeds_format.file_name;
        case LibraryTable::tool_materials: return tool_material_format.file_name;
        case LibraryTable::part_materials: return part_material_format.file_name;
        case LibraryTable::cut_methods: return cut_method_format.file_name;
    }
    return "";
}

}  // namespace

int probe_data_directory() {
    feeds_path.clear();
    tool_material_path.clear();
    part_material_path.clear();
    cut_method_path.clear();
    SaveFlag = 0;

    char* directory = nullptr;
    UF_translate_variable(data_directory_variable, &directory);
    // An empty value would put the library in whatever the current directory is.
    if (directory == nullptr || *directory == '\0') {
        uc1601("Переменная UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR - не установлена", 1);
        return -1;
    }
    const LibraryTable own = active_editor->own_table;
    std::string& own_path = path_of(own);
    own_path = std::string(directory) + file_of(own);
    const bool readable = library_file_opens(own_path, O_RDONLY);
    // Opening for appending creates the file, empty, where the directory allows it.
    if (!library_file_opens(own_path, O_WRONLY | O_APPEND | O_CREAT)) SaveFlag = -1;
    if (!readable) return -2;

    if (active_editor->reads_other_tables) {
        for (const LibraryTable other :
             {LibraryTable::cut_methods, LibraryTable::tool_materials, LibraryTable::part_materials}) {
            path_of(other) = std::string(directory) + file_of(other);
        }
    }
    return 0;
}

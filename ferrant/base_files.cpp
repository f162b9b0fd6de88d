#include "base_files.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "file_system.h"
#include "format_text.h"
#include "library_file_open.h"
#include "table_formats.h"
#include "uf.h"
#include "windows.h"

const char* const tool_library_file = "tool_database.dat";

const std::vector<std::string>& base_file_names() {
    static const std::vector<std::string> names = {feeds_format.file_name, tool_material_format.file_name,
                                                   part_material_format.file_name, cut_method_format.file_name,
                                                   tool_library_file};
    return names;
}

std::string base_path(const BaseFolders& folders, const std::string& name) {
    return (name == tool_library_file ? folders.tool : folders.data) + name;
}

namespace {

// An empty value would put the base in whatever the current folder is.
bool folder_of(const char* variable, std::string& folder) {
    char* value = nullptr;
    UF_translate_variable(variable, &value);
    if (value == nullptr || *value == '\0') {
        uc1601(format_text("Переменная %s - не установлена", variable).c_str(), 1);
        return false;
    }
    folder = value;
    return true;
}

}  // namespace

bool find_base_folders(BaseFolders& folders) {
    return folder_of("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", folders.data) &&
           folder_of("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", folders.tool);
}

bool read_whole_file(const std::string& path, std::string& content, std::string& error) {
    const int fd = open_library_file(path, O_RDONLY, error);
    if (fd < 0) return false;
    const bool read = file_system::read_all(fd, content);
    if (!read) error = format_text("cannot read '%s': %s", path, std::strerror(errno));
    file_system::close(fd);
    return read;
}

bool read_base(const BaseFolders& folders, FileContents& contents) {
    for (const std::string& name : base_file_names()) {
        std::string error;
        if (!read_whole_file(base_path(folders, name), contents[name], error)) {
            if (!error.empty()) UF_print_syslog(error.c_str(), 0);
            const std::string text =
                format_text(" Невозможно прочитать файл %s\n Обратитесь к сист. администратору", base_path(folders, name));
            MessageBoxA(GetFocus(), text.c_str(), "Ошибка - чтения Базы", MB_ICONERROR);
            return false;
        }
    }
    return true;
}

// The environment and access report shown before the main menu.
#include <fcntl.h>

#include <string>
#include <vector>

#include "host_variable.h"
#include "korvane.h"
#include "library_file_open.h"
#include "uf.h"
#include "windows.h"

namespace {

constexpr const char* tool_directory_variable = "UGII_CAM_LIBRARY_TOOL_METRIC_DIR";
constexpr const char* data_directory_variable = "UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR";

struct ProbedFile {
    const char* name;
    bool in_tool_directory;  // else in the cutting-data directory
};

// In the order of the report and the system log.
constexpr ProbedFile probed_files[] = {
    {"tool_database.dat", true},    {"cut_methods.dat", false},    {"feeds_speeds.dat", false},
    {"part_materials.dat", false}, {"tool_materials.dat", false},
};

void show_variable_unset(const char* name) {
    const std::string message = std::string("Переменная ") + name + " - не установлена";
    uc1601(message.c_str(), 1);
}

}  // namespace

int check_environment() {
    const auto tool_directory = directory_variable(tool_directory_variable);
    if (!tool_directory) {
        show_variable_unset(tool_directory_variable);
        return -1;
    }
    const auto data_directory = directory_variable(data_directory_variable);
    if (!data_directory) {
        show_variable_unset(data_directory_variable);
        return -1;
    }

    std::string report = "\t\t r w\n";
    bool problem = false;
    std::vector<std::string> paths;
    for (const ProbedFile& file : probed_files) {
        const std::string path = (file.in_tool_directory ? *tool_directory : *data_directory) + file.name;
        const bool readable = library_file_opens(path, O_RDONLY);
        // A FIFO, a directory or a planted link counts as missing. Opening for appending writes nothing, but creates the file, empty, where the directory allows.
        const bool appendable = library_file_opens(path, O_WRONLY | O_APPEND | O_CREAT);
        report += file.name;
        report += readable ? "    + " : "    - ";
        report += appendable ? " + " : " - ";
        report += "\n";
        problem = problem || !readable || !appendable;
        paths.push_back(path);
    }
    if (problem) {
        MessageBeep(0);
        report += "\n r - режим чтения (наличия) \n w - записи (наличия) \n обратитесь к системному администратору.";
        MessageBoxA(GetFocus(), report.c_str(), "Проверка чтения-записи ->.", MB_ICONERROR);
    }
    for (const std::string& path : paths) UF_print_syslog(path.c_str(), 0);
    return 0;
}

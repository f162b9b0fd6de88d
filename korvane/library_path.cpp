#include "library_path.h"

namespace {

constexpr std::string_view separator = "/";
constexpr std::string_view library_suffix = ".so";

}  // namespace

std::string library_file_name(std::string_view stem) {
    std::string name(stem);
    name += library_suffix;
    return name;
}

std::string library_path(std::string_view directory, std::string_view file_name) {
    std::string path(directory);
    path += separator;
    path += "application";
    path += separator;
    path += file_name;
    return path;
}

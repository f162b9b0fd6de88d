#include "test_text.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "cp1251.h"

namespace {

constexpr const char* comma_locale = "ru_RU.UTF-8";
std::string locale_path;

}  // namespace

std::string crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string cp1251(const std::string& utf8) {
    const auto converted = ughost::utf8_to_cp1251(utf8);
    return converted ? *converted : std::string("<not cp1251>");
}

std::string ensure_decimal_comma_locale() {
    if (std::setlocale(LC_ALL, comma_locale) != nullptr) return comma_locale;
    const std::string directory = (std::filesystem::temp_directory_path() / "cdl-test-locales").string();
    std::filesystem::create_directories(directory);
    const std::string command =
        "localedef -i ru_RU -f UTF-8 " + directory + "/" + comma_locale + " >/dev/null 2>&1";
    if (!std::filesystem::exists(directory + "/" + comma_locale) && std::system(command.c_str()) != 0) return "";
    setenv("LOCPATH", directory.c_str(), 1);
    if (std::setlocale(LC_ALL, comma_locale) == nullptr) return "";
    locale_path = directory;
    return comma_locale;
}

std::string generated_locale_path() { return locale_path; }

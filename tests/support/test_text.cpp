#include "test_text.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "host_text.h"

namespace {

constexpr const char* comma_locale = "ru_RU.UTF-8";
std::string locale_path;

// Test programs run side by side (ctest -j) and may all want the locale at once:
// each generates it under a name of its own and renames it into place, so none
// ever sees a half-written one, and a rename that finds the locale there already
// leaves that one be.
bool generate_locale(const std::string& directory) {
    const std::string target = directory + "/" + comma_locale;
    if (std::filesystem::exists(target)) return true;
    const std::string own = target + ".tmp-" + std::to_string(getpid());
    const std::string command = "localedef -i ru_RU -f UTF-8 " + own + " >/dev/null 2>&1";
    const bool generated = std::system(command.c_str()) == 0;
    std::error_code ignored;
    if (generated) std::filesystem::rename(own, target, ignored);
    std::filesystem::remove_all(own, ignored);
    return std::filesystem::exists(target);
}

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
    if (!generate_locale(directory)) return "";
    setenv("LOCPATH", directory.c_str(), 1);
    if (std::setlocale(LC_ALL, comma_locale) == nullptr) return "";
    locale_path = directory;
    return comma_locale;
}

std::string generated_locale_path() { return locale_path; }

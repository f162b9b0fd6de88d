#include "library_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace library_file_detail {

bool is_data_line(std::string_view line) {
    if (line.find('#') != std::string_view::npos) return false;
    return line.substr(0, 5).find("DATA") != std::string_view::npos;
}

std::size_t saved_width(const char* format) {
    const char* dot = format == nullptr ? nullptr : std::strchr(format, '.');
    return dot == nullptr ? std::string_view::npos : static_cast<std::size_t>(std::atoi(dot + 1));
}

FieldFit store_text(std::span<char> field, std::string_view value, std::size_t saved) {
    // A value is stored up to an embedded NUL: past it the text would be lost anyway.
    const std::size_t length = std::min(value.find('\0'), value.size());
    const std::size_t room = field.size() - 1;
    const std::size_t kept = std::min(length, room);
    std::copy_n(value.data(), kept, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(kept), field.end(), '\0');
    if (kept < value.size()) return FieldFit::cut_now;
    if (kept > saved) return FieldFit::cut_at_save;
    return FieldFit::whole;
}

void append_with_crlf(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
}

}  // namespace library_file_detail

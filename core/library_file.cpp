#include "library_file.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstdint>
#include <cstring>

void copy_text(std::span<char> field, std::string_view text) {
    library_file_detail::store_text(field, text, field.size());
}

namespace library_file_detail {

namespace {

constexpr std::string_view utf8_signature = "\xEF\xBB\xBF";
// How much of a file's start tells UTF-16 from code page 1251.
constexpr std::size_t start_bytes = 4096;

bool starts_with_utf16_signature(std::string_view content) {
    return content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF");
}

// The place of the first byte outside ASCII, looked for a word at a time: most
// library files hold none but in their descriptions.
std::size_t first_high_byte(std::string_view content) {
    std::size_t at = 0;
    for (; at + 8 <= content.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, content.data() + at, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) break;
    }
    while (at < content.size() && static_cast<unsigned char>(content[at]) < 0x80) ++at;
    return at;
}

// The length of the well-formed UTF-8 sequence at the start of text, 0 if there is none.
std::size_t utf8_sequence(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0 || text.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// Whether text holds a byte outside ASCII, and whether every such byte starts
// a well-formed UTF-8 sequence: code page 1251 text with letters in it almost
// never does.
struct Utf8Scan {
    bool high_byte = false;
    bool well_formed = true;
};

Utf8Scan scan_utf8(std::string_view text) {
    Utf8Scan scan;
    std::size_t at = first_high_byte(text);
    if (at == text.size()) return scan;
    scan.high_byte = true;
    while (at < text.size()) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = utf8_sequence(text.substr(at));
        if (length == 0) {
            scan.well_formed = false;
            return scan;
        }
        at += length;
    }
    return scan;
}

// UTF-16 text of Latin letters is every other byte NUL; a single stray NUL in a
// code page 1251 file is only a damaged value.
bool mostly_nul(std::string_view content) {
    const std::string_view start = content.substr(0, start_bytes);
    return !start.empty() && static_cast<std::size_t>(std::count(start.begin(), start.end(), '\0')) * 8 >= start.size();
}

bool blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

bool is_data_line(std::string_view line) {
    if (line.find('#') != std::string_view::npos) return false;
    return line.substr(0, 5).find("DATA") != std::string_view::npos;
}

bool is_known_other_line(std::string_view line) {
    if (blank(line) || line.find('#') != std::string_view::npos) return true;
    const std::size_t start = line.find_first_not_of(" \t");
    return line.substr(start).starts_with("FORMAT");
}

LoadReport::Text text_of(std::string_view content) {
    TextLook look;
    look.take(content);
    return look.result();
}

void TextLook::take(std::string_view lines) {
    if (start_.size() < start_bytes) start_.append(lines.substr(0, start_bytes - start_.size()));
    if (!line_end_seen_) {
        line_end_seen_ = lines.find('\n') != std::string_view::npos;
        carriage_return_seen_ = carriage_return_seen_ || lines.find('\r') != std::string_view::npos;
    }
    // A sequence never spans pieces of whole lines, so each piece is scanned on its own.
    if (well_formed_utf8_) {
        const Utf8Scan scan = scan_utf8(lines);
        high_byte_seen_ = high_byte_seen_ || scan.high_byte;
        well_formed_utf8_ = scan.well_formed;
    }
}

LoadReport::Text TextLook::result() const {
    if (starts_with_utf16_signature(start_) || mostly_nul(start_)) return LoadReport::Text::utf16;
    if (start_.starts_with(utf8_signature) || (high_byte_seen_ && well_formed_utf8_)) return LoadReport::Text::utf8;
    if (!line_end_seen_ && carriage_return_seen_) return LoadReport::Text::cr_line_ends;
    return LoadReport::Text::plain;
}

std::string_view without_signature(std::string_view content) {
    if (content.starts_with(utf8_signature)) content.remove_prefix(utf8_signature.size());
    return content;
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

std::size_t line_count(std::string_view text) {
    std::size_t lines = 0;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while (at < end) {
        const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        ++lines;
        if (found == nullptr) break;
        at = static_cast<const char*>(found) + 1;
    }
    return lines;
}

std::size_t find_separators(std::string_view line, std::size_t* places, std::size_t most) {
    static_assert(std::endian::native == std::endian::little, "a word's first byte is its lowest");
    // Eight bytes at a time: a byte that is "|" becomes zero when the word is
    // xored with eight of them, and the sum below leaves the high bit of
    // exactly those bytes clear, without a carry from one byte to the next.
    constexpr std::uint64_t low_bits = 0x7F7F7F7F7F7F7F7FULL;
    constexpr std::uint64_t separators = 0x7C7C7C7C7C7C7C7CULL;
    const auto separators_in = [&](std::uint64_t word) {
        const std::uint64_t x = word ^ separators;
        return ~(((x & low_bits) + low_bits) | x | low_bits);
    };
    std::size_t found = 0;
    const auto take = [&](std::uint64_t marks, std::size_t at) {
        for (; marks != 0; marks &= marks - 1) {
            if (found == most) return false;
            places[found++] = at + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
        }
        return true;
    };
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= line.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, line.data() + at, sizeof word);
        if (!take(separators_in(word), at)) return most + 1;
    }
    if (at == line.size()) return found;
    // The last bytes, with the bytes past the line's end left unmarked.
    const std::size_t rest = line.size() - at;
    std::uint64_t word = 0;
    std::memcpy(&word, line.data() + at, rest);
    const std::uint64_t in_line = (std::uint64_t{1} << (8 * rest)) - 1;
    return take(separators_in(word) & in_line, at) ? found : most + 1;
}

void append_with_crlf(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
}

}  // namespace library_file_detail

// Code page 1251, which the plug-ins, the host interface and the library files
// speak, and UTF-8, which the host's screens and the spreadsheet files speak:
// one rule for both sides of the interface.
#include "code_page.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Unicode code points of the bytes 0x80..0xFF; 0 marks the one unassigned byte (0x98).
constexpr std::array<char32_t, 128> upper_half = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// A byte the code page leaves unassigned is shown as a private-use character of
// its own and turned back into the same byte, so library files keep every byte
// through the screen and back.
constexpr char32_t private_base = 0xF700;

bool is_private(char32_t code) { return code >= private_base + 0x80 && code <= private_base + 0xFF; }

void append_utf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. Nothing for a malformed
// sequence: a cut or stray byte, an overlong form (C0 80 would sneak in a NUL,
// C1 BC a '|'), a surrogate, or a code point past U+10FFFF.
std::optional<char32_t> next_code_point(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if ((byte & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    pos += 1 + extra;
    return code;
}

// The length of the text's leading run of ASCII, looked at a word at a time:
// the lines of a long list are ASCII but for a few.
std::size_t ascii_prefix(std::string_view text) {
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) break;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
    return at;
}

}  // namespace

bool is_ascii(std::string_view text) { return ascii_prefix(text) == text.size(); }

void cp1251_to_utf8(std::string_view text, std::string& out) {
    // Most texts are all or mostly ASCII: runs of it go across in one copy, and
    // an all-ASCII text takes exactly its own size (a list of a million lines
    // holds a million of these).
    std::size_t at = ascii_prefix(text);
    out.clear();
    out.append(text.data(), at);
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at++]);
        const char32_t code = upper_half[byte - 0x80];
        append_utf8(out, code != 0 ? code : private_base + byte);
        const std::size_t run = ascii_prefix(text.substr(at));
        out.append(text.data() + at, run);
        at += run;
    }
}

std::string cp1251_to_utf8(std::string_view text) {
    std::string out;
    cp1251_to_utf8(text, out);
    return out;
}

std::optional<std::string> utf8_to_cp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto code = next_code_point(text, pos);
        if (!code) return std::nullopt;
        if (*code < 0x80) {
            out += static_cast<char>(*code);
            continue;
        }
        if (is_private(*code) && upper_half[*code - private_base - 0x80] == 0) {
            out += static_cast<char>(*code - private_base);
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < upper_half.size(); ++i) {
            if (upper_half[i] == *code) {
                out += static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return out;
}
